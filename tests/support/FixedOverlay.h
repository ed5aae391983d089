#pragma once

#include "support/ScrollPage.h"

#include <QImage>

#include <optional>

namespace vellumix::testing {

// What stays put on screen over a ScrollPage while it scrolls (a sticky
// header or footer, a sidebar, a badge, a header that sticks once scrolled
// past), and the document a capture of it should make: the page as it
// reads, each fixed part once.
class FixedOverlay final {
public:
    enum class Kind {
        none,
        header,
        footer,
        headerAndFooter,
        leftSidebar,
        rightSidebar,
        cornerBadge,
        headerStuckOnScroll
    };

    static constexpr int headerRows = 40;
    static constexpr int footerRows = 36;
    static constexpr int sidebarColumns = 64;
    static constexpr int badgeSize = 40;
    static constexpr int badgeInset = 12;
    // Where the header that sticks on scroll sits on the page.
    static constexpr int stuckHeaderTop = 60;
    static constexpr int stuckHeaderRows = 32;

    FixedOverlay() = default;
    FixedOverlay(Kind kind, const ScrollPage& page, int frameRows);

    Kind kind() const { return m_kind; }

    // The highest screen position plus the frame's rows: a footer makes the
    // page scroll further, so that its last row shows above the footer.
    int scrollHeight() const;
    // Whether the bottom rows of a frame may show content that was not
    // captured with the frame before (it was under the footer or beside the
    // badge), so that a caret there would be new content.
    bool coversBottom() const;

    // What the screen shows at page row `top`, a caret blinking in the page
    // content at `caretRow` when given.
    QImage frame(int top, std::optional<int> caretRow = std::nullopt) const;
    // The document after the screen stopped at `top`.
    QImage document(int top) const;

private:
    // Rows of the footer at the bottom of every frame; 0 without one.
    int footer() const;
    void drawHeader(QImage& image, int y, int rows) const;
    void drawFooter(QImage& image) const;
    void drawSidebar(QImage& image) const;
    void drawBadge(QImage& image, int y) const;
    int sidebarLeft() const;
    QRgb sidebarBackground() const;

    Kind m_kind = Kind::none;
    const ScrollPage* m_page = nullptr;
    int m_rows = 0;
    // The page with a header drawn into it where it reads.
    QImage m_read;
};

} // namespace vellumix::testing
