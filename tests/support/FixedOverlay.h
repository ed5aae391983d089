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

    FixedOverlay(Kind kind, const ScrollPage& page, int frameRows);

    // The highest screen position plus the frame's rows: a footer makes the
    // page scroll further, so that its last row shows above the footer.
    int scrollHeight() const { return m_read.height() + footer(); }
    // Whether the bottom rows of a frame may show content that was not
    // captured with the frame before (it was under the footer or beside the
    // badge), so that a caret there would be new content.
    bool coversBottom() const { return footer() > 0 || m_kind == Kind::cornerBadge; }

    // What the screen shows at page row `top`, a caret blinking in the page
    // content at `caretRow` when given.
    QImage frame(int top, std::optional<int> caretRow = std::nullopt) const;
    // The document after the screen stopped at `top`.
    QImage document(int top) const;

private:
    // Rows of the footer at the bottom of every frame; 0 without one.
    int footer() const;
    void drawFixedParts(QImage& image, bool headerStuck) const;

    Kind m_kind;
    int m_rows;
    // The page with a header drawn into it where it reads.
    QImage m_read;
};

} // namespace vellumix::testing
