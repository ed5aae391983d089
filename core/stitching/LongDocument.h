#pragma once

#include "imaging/DocumentError.h"
#include "imaging/ImageLimits.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QVector>

#include <cstdint>
#include <functional>
#include <optional>

namespace vellumix {

// The tall image of a scrolling capture, kept as PNG-compressed strips so a
// capture thousands of rows tall stays small until it is assembled.
class LongDocument {
public:
    static constexpr int64_t maximumHeight = ImageLimits::maximumSide;
    static constexpr int64_t maximumPixels = ImageLimits::maximumPixels;
    static constexpr int64_t defaultStorageLimit = 64 * 1024 * 1024;

    LongDocument() = default;

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

    // Writes the full-size image, replacing any file at `path`, through a
    // hidden temporary in the same folder that never outlives the call.
    // Throws DocumentError (invalidFrame when empty, render when the image or
    // the temporary cannot be made), or std::filesystem::filesystem_error
    // when the temporary cannot be moved into place.
    void savePNG(const QString& path) const;

    // Test seam: lets tests reach the storage limit without 64 MiB of strips.
    void setStorageLimitForTesting(int64_t bytes) { m_storageLimit = bytes; }
    // Test seam: counts `rows` rows as already captured, without strips, so the
    // pixel limit can be reached without encoding 90 megapixels. Only the
    // limit checks see them; assembly leaves them transparent at the bottom.
    void addRowsForTesting(int64_t rows) { m_height += rows; }

private:
    struct Chunk {
        QByteArray data;
        int64_t height;
    };

    QVector<Chunk> m_chunks;
    int64_t m_compressedBytes = 0;
    int64_t m_height = 0;
    int64_t m_width = 0;
    int64_t m_storageLimit = defaultStorageLimit;
};

} // namespace vellumix
