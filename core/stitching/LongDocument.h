#pragma once

#include "imaging/DocumentError.h"
#include "imaging/ImageLimits.h"

#include <QByteArray>
#include <QImage>
#include <QVector>

#include <cstdint>
#include <functional>
#include <optional>

namespace vellumix {

// The tall image of a scrolling capture, kept as PNG-compressed strips so a
// capture thousands of rows tall stays small until it is assembled.
class LongDocument final {
public:
    static constexpr int64_t maximumHeight = ImageLimits::maximumSide;
    static constexpr int64_t maximumPixels = ImageLimits::maximumPixels;
    static constexpr int64_t defaultStorageLimit = 64 * 1024 * 1024;

    // `storageLimit` bounds the compressed bytes of all strips together.
    explicit LongDocument(int64_t storageLimit = defaultStorageLimit)
        : m_storageLimit(storageLimit) {}

    // Whether a document of this size is within maximumHeight and
    // maximumPixels.
    static bool fits(int64_t width, int64_t height) {
        return height <= maximumHeight && width * height <= maximumPixels;
    }

    int64_t width() const { return m_width; }
    int64_t height() const { return m_height; }
    int64_t compressedBytes() const { return m_compressedBytes; }

    // Adds the bottom `rows` rows of `frame` (all rows when absent) as a strip.
    // Throws DocumentError; on failure the document is unchanged.
    void append(const QImage& frame, std::optional<int64_t> rows = std::nullopt);

    // Takes the bottom `rows` rows away: rows that turned out to belong to a
    // footer that stays put on screen. Throws DocumentError(invalidFrame)
    // unless 1 <= rows < height, or render when the strip that is cut cannot
    // be coded again; on failure the document is unchanged.
    void removeBottomRows(int64_t rows);

    // Hands every strip to `visit`, top first, decoding one at a time.
    // Throws DocumentError(render) when a strip cannot be decoded.
    void forEachStrip(const std::function<void(const QImage&)>& visit) const;

    // The whole document, scaled down to at most `maximumWidth` pixels wide.
    QImage image(std::optional<int> maximumWidth = std::nullopt) const;

private:
    struct Chunk {
        QByteArray data;
        int64_t height;
    };

    QVector<Chunk> m_chunks;
    int64_t m_compressedBytes = 0;
    int64_t m_height = 0;
    int64_t m_width = 0;
    int64_t m_storageLimit;
};

} // namespace vellumix
