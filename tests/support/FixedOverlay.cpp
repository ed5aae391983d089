#include "support/FixedOverlay.h"

#include <QPainter>

namespace vellumix::testing {

FixedOverlay::FixedOverlay(Kind kind, const ScrollPage& page, int frameRows)
    : m_kind(kind), m_page(&page), m_rows(frameRows), m_read(page.image()) {
    if (kind == Kind::header || kind == Kind::headerAndFooter) {
        drawHeader(m_read, 0, headerRows);
    } else if (kind == Kind::headerStuckOnScroll) {
        drawHeader(m_read, stuckHeaderTop, stuckHeaderRows);
    }
}

int FixedOverlay::footer() const {
    return m_kind == Kind::footer || m_kind == Kind::headerAndFooter ? footerRows : 0;
}

int FixedOverlay::scrollHeight() const {
    return m_page->height() + footer();
}

bool FixedOverlay::coversBottom() const {
    return footer() > 0 || m_kind == Kind::cornerBadge;
}

QImage FixedOverlay::frame(int top, std::optional<int> caretRow) const {
    if (m_kind == Kind::none) {
        return caretRow ? m_page->frameWithCaret(top, m_rows, *caretRow)
                        : m_page->frame(top, m_rows);
    }
    QImage frame(m_read.width(), m_rows, m_read.format());
    QPainter painter(&frame);
    painter.drawImage(0, 0, m_read, 0, top, m_read.width(), m_rows - footer());
    if (caretRow) {
        painter.fillRect(24, *caretRow, 36, 1, Qt::black);
    }
    painter.end();
    if (m_kind == Kind::header || m_kind == Kind::headerAndFooter) {
        drawHeader(frame, 0, headerRows);
    } else if (m_kind == Kind::headerStuckOnScroll && top > stuckHeaderTop) {
        drawHeader(frame, 0, stuckHeaderRows);
    } else if (m_kind == Kind::leftSidebar || m_kind == Kind::rightSidebar) {
        drawSidebar(frame);
    } else if (m_kind == Kind::cornerBadge) {
        drawBadge(frame, m_rows - badgeInset - badgeSize);
    }
    if (footer() > 0) {
        drawFooter(frame);
    }
    return frame;
}

QImage FixedOverlay::document(int top) const {
    const int height = top + m_rows;
    QImage document = m_read.copy(0, 0, m_read.width(), height);
    if (footer() > 0) {
        drawFooter(document);
    } else if (m_kind == Kind::leftSidebar || m_kind == Kind::rightSidebar) {
        drawSidebar(document);
        QPainter(&document).fillRect(sidebarLeft(), m_rows, sidebarColumns, height - m_rows,
                                     QColor(sidebarBackground()));
    } else if (m_kind == Kind::cornerBadge) {
        drawBadge(document, height - badgeInset - badgeSize);
    }
    return document;
}

// A dark bar with a logo and menu entries.
void FixedOverlay::drawHeader(QImage& image, int y, int rows) const {
    QPainter painter(&image);
    painter.fillRect(0, y, image.width(), rows, QColor(40, 44, 52));
    painter.fillRect(12, y + 8, 60, rows - 16, QColor(220, 120, 40));
    for (int x = 110; x + 40 < image.width(); x += 56) {
        painter.fillRect(x, y + rows / 2 - 3, 40, 6, QColor(200, 204, 210));
    }
}

// A cookie bar across the bottom: two lines of text and a button.
void FixedOverlay::drawFooter(QImage& image) const {
    const int y = image.height() - footerRows;
    QPainter painter(&image);
    painter.fillRect(0, y, image.width(), footerRows, QColor(250, 236, 200));
    painter.fillRect(10, y + 9, image.width() / 2, 4, QColor(80, 70, 60));
    painter.fillRect(10, y + 21, image.width() / 3, 4, QColor(80, 70, 60));
    painter.fillRect(image.width() - 90, y + 8, 70, footerRows - 16, QColor(30, 90, 200));
}

int FixedOverlay::sidebarLeft() const {
    return m_kind == Kind::leftSidebar ? 0 : m_read.width() - sidebarColumns;
}

QRgb FixedOverlay::sidebarBackground() const {
    return qRgb(236, 240, 246);
}

// A table of contents: entries of different lengths on a light background,
// as tall as the screen.
void FixedOverlay::drawSidebar(QImage& image) const {
    const int left = sidebarLeft();
    QPainter painter(&image);
    painter.fillRect(left, 0, sidebarColumns, m_rows, QColor(sidebarBackground()));
    // Uneven spacing, so that no scroll brings the entries in step.
    for (int y = 10, entry = 0; y + 3 < m_rows; y += 11 + (entry * 5) % 9, ++entry) {
        painter.fillRect(left + 6, y, 14 + (y * 7) % 40, 3, QColor(70, 80, 100));
    }
}

// A round chat button with an icon.
void FixedOverlay::drawBadge(QImage& image, int y) const {
    const int x = image.width() - badgeInset - badgeSize;
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(30, 110, 230));
    painter.drawEllipse(x, y, badgeSize, badgeSize);
    painter.fillRect(x + 12, y + 13, 16, 12, Qt::white);
}

} // namespace vellumix::testing
