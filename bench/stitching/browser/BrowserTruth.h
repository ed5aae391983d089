#pragma once

#include "stitching/ScrollStitcher.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <vector>

namespace vellumix {

// One capture of a scrolled browser page and its check against the page's
// own scroll positions: a frame that adds rows must add exactly the rows the
// page scrolled since the last frame added, and the document must show, in
// the scrolled column, what the page shows at every row.
class BrowserTruth final {
public:
    // `column`: where the scrolled column lies in the frames; what is beside
    // it stays put (a sidebar), what is above or below it too (a band).
    BrowserTruth(const QString& name, const QRect& column) : m_name(name), m_column(column) {}

    // `top`: the page's scroll position when the frame was taken.
    void accept(const QImage& frame, int top);

    int appended() const { return m_appended; }
    int moved() const { return m_moved; }
    int wrongSeams() const { return m_wrongSeams; }
    // Rows of the document whose scrolled column differs from the page's.
    int rowsOffThePage() const;
    // Rows below the first screen whose columns beside the scrolled one
    // differ from the row above: slices of a sidebar repeated in the
    // document instead of its background.
    int sideRowsNotBlank() const;

private:
    const QImage* frameShowing(int pageRow, int& frameRow) const;

    QString m_name;
    QRect m_column;
    ScrollStitcher m_stitcher;
    std::vector<std::pair<int, QImage>> m_frames;
    int64_t m_height = 0;
    int m_appended = 0;
    int m_moved = 0;
    int m_wrongSeams = 0;
};

} // namespace vellumix
