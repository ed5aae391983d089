#include "support/FixedOverlay.h"

#include <QPainter>

namespace vellumix::testing {

namespace {

constexpr int kHeaderRows = 40;
constexpr int kFooterRows = 36;
constexpr int kSidebarColumns = 64;
constexpr int kBadgeSize = 40;
constexpr int kBadgeInset = 12;
// Where the header that sticks on scroll sits on the page.
constexpr int kStuckHeaderTop = 60;
constexpr int kStuckHeaderRows = 32;

// A dark bar with a logo and menu entries.
void drawHeader(QPainter& painter, int width, int y, int rows) {
    painter.fillRect(0, y, width, rows, QColor(40, 44, 52));
    painter.fillRect(12, y + 8, 60, rows - 16, QColor(220, 120, 40));
    for (int x = 110; x + 40 < width; x += 56) {
        painter.fillRect(x, y + rows / 2 - 3, 40, 6, QColor(200, 204, 210));
    }
}

} // namespace

FixedOverlay::FixedOverlay(Kind kind, const ScrollPage& page, int frameRows)
    : m_kind(kind), m_rows(frameRows), m_read(page.image()) {
    QPainter painter(&m_read);
    if (kind == Kind::header || kind == Kind::headerAndFooter) {
        drawHeader(painter, m_read.width(), 0, kHeaderRows);
    } else if (kind == Kind::headerStuckOnScroll) {
        drawHeader(painter, m_read.width(), kStuckHeaderTop, kStuckHeaderRows);
    }
}

int FixedOverlay::footer() const {
    return m_kind == Kind::footer || m_kind == Kind::headerAndFooter ? kFooterRows : 0;
}

QImage FixedOverlay::frame(int top, std::optional<int> caretRow) const {
    QImage frame = m_read.copy(0, top, m_read.width(), m_rows);
    if (caretRow) {
        QPainter(&frame).fillRect(24, *caretRow, 36, 1, Qt::black);
    }
    drawFixedParts(frame, top > kStuckHeaderTop);
    return frame;
}

QImage FixedOverlay::document(int top) const {
    QImage document = m_read.copy(0, 0, m_read.width(), top + m_rows);
    drawFixedParts(document, false);
    return document;
}

// Over a frame or a document: the header at the top (again, in a document),
// a sidebar whose entries fill the first screen, a badge and a footer at the
// bottom.
void FixedOverlay::drawFixedParts(QImage& image, bool headerStuck) const {
    QPainter painter(&image);
    const int width = image.width();
    const int bottom = image.height();
    if (m_kind == Kind::header || m_kind == Kind::headerAndFooter) {
        drawHeader(painter, width, 0, kHeaderRows);
    } else if (m_kind == Kind::headerStuckOnScroll && headerStuck) {
        drawHeader(painter, width, 0, kStuckHeaderRows);
    } else if (m_kind == Kind::leftSidebar || m_kind == Kind::rightSidebar) {
        // A table of contents, unevenly spaced so that no scroll brings the
        // entries in step.
        const int left = m_kind == Kind::leftSidebar ? 0 : width - kSidebarColumns;
        painter.fillRect(left, 0, kSidebarColumns, bottom, QColor(236, 240, 246));
        for (int y = 10, entry = 0; y + 3 < m_rows; y += 11 + (entry * 5) % 9, ++entry) {
            painter.fillRect(left + 6, y, 14 + (y * 7) % 40, 3, QColor(70, 80, 100));
        }
    } else if (m_kind == Kind::cornerBadge) {
        // A round chat button with an icon.
        const QPoint at(width - kBadgeInset - kBadgeSize, bottom - kBadgeInset - kBadgeSize);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(30, 110, 230));
        painter.drawEllipse(QRect(at, QSize(kBadgeSize, kBadgeSize)));
        painter.fillRect(at.x() + 12, at.y() + 13, 16, 12, Qt::white);
    }
    if (footer() > 0) {
        // A cookie bar: two lines of text and a button.
        const int y = bottom - kFooterRows;
        painter.fillRect(0, y, width, kFooterRows, QColor(250, 236, 200));
        painter.fillRect(10, y + 9, width / 2, 4, QColor(80, 70, 60));
        painter.fillRect(10, y + 21, width / 3, 4, QColor(80, 70, 60));
        painter.fillRect(width - 90, y + 8, 70, kFooterRows - 16, QColor(30, 90, 200));
    }
}

} // namespace vellumix::testing
