#include "capture/Processor.h"
#include "support/FixedOverlay.h"
#include "support/ScrollPage.h"

#include <QColorSpace>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <random>
#include <vector>

namespace vellumix {
namespace {

using testing::FixedOverlay;
using testing::ScrollPage;
using Layout = ScrollPage::Layout;

constexpr int kFrameWidth = 400;
constexpr int kFrameHeight = 300;
const int64_t kLargestOffset = VerticalMatcher::largestOffset(kFrameHeight);

// Pixel for pixel, whatever the layout and colour-space tag of either image.
bool samePixels(QImage a, QImage b) {
    constexpr auto format = QImage::Format_RGBA8888_Premultiplied;
    a.setColorSpace(QColorSpace());
    b.setColorSpace(QColorSpace());
    return a.convertToFormat(format) == b.convertToFormat(format);
}

// What the simulated user does next: how likely in a hundred, how far (up
// when negative), and whether a caret blinks in the next frame.
struct Move {
    int chance;
    int shortest;
    int longest;
    bool caret;
};
const Move kMoves[] = {
    {62, 1, kFrameHeight / 2 - 1, false},
    {10, 0, 0, false},
    {12, 1, kFrameHeight / 2 - 1, true},
    {8, -int(kLargestOffset), -1, false},
    {8, int(kLargestOffset) + 1, 2 * kFrameHeight, false},
};

struct Tally {
    int pages = 0;
    int moved = 0;
    int appended = 0;
    int wrongSeams = 0;
    // Refusals of a frame within the search range on pages built to have
    // nothing but unique overlaps.
    int falseRefusals = 0;
};

// How the frames of a page differ from the page itself.
struct Conditions {
    // Each frame is rendered anew, every channel off by up to this many levels.
    int noise = 0;
    // Every overlap within the search range is unique on the page.
    bool uniqueOverlaps = false;
};

// What the processor answers when it matches whole frames only and appends
// their bottom rows, as it did before it looked for parts that stay put.
class PlainStitching {
public:
    void follow(const QImage& frame, const ProcessingResult& result) {
        const FrameSignature signature(frame);
        const MatchDecision decision = m_previous ? VerticalMatcher().match(*m_previous, signature)
                                                  : MatchDecision::append(frame.height());
        if (decision.kind() == MatchDecision::Kind::append) {
            m_document.append(frame, decision.rows());
            m_previous = signature;
        }
        EXPECT_EQ(result.paused, decision.kind() == MatchDecision::Kind::reject);
        EXPECT_EQ(result.height, m_document.height());
        if (result.paused) {
            EXPECT_EQ(result.message, decision.message());
        }
    }

    const LongDocument& document() const { return m_document; }

private:
    std::optional<FrameSignature> m_previous;
    LongDocument m_document;
};

// Scrolls through one page the way a person does and checks every answer
// against the truth: the page position of each frame is known, so a frame
// that adds rows must add exactly the rows scrolled since the last frame that
// added rows, and every refusal must be one the movement explains.
class ScrollSimulation {
public:
    ScrollSimulation(const ScrollPage& page, uint32_t seed, Tally& tally,
                     std::optional<FixedOverlay> overlay = std::nullopt,
                     PlainStitching* reference = nullptr, Conditions conditions = {})
        : m_rng(seed), m_tally(tally),
          m_screen(overlay.value_or(FixedOverlay(FixedOverlay::Kind::none, page, kFrameHeight))),
          m_reference(reference), m_conditions(conditions), m_noiseSeed(seed) {}

    void run() {
        ++m_tally.pages;
        ASSERT_EQ(feed(shown(0)).height, kFrameHeight);
        m_lastTop = 0;
        // A person gives up after a few refusals without progress.
        int refusalsSinceProgress = 0;
        while (m_lastTop + kFrameHeight < m_screen.scrollHeight() && refusalsSinceProgress < 8 &&
               !m_wrongSeam) {
            const int lastTop = m_lastTop;
            const bool refused = moveOnce();
            if (::testing::Test::HasFatalFailure()) {
                return;
            }
            refusalsSinceProgress = m_lastTop != lastTop ? 0 : refusalsSinceProgress + refused;
            if (refused) {
                recover();
            }
        }
    }

    int64_t capturedHeight() const { return m_lastTop + kFrameHeight; }
    Processor& processor() { return m_processor; }

private:
    QImage shown(int top, std::optional<int> caretRow = std::nullopt) {
        QImage frame = m_screen.frame(top, caretRow);
        if (m_conditions.noise > 0) {
            ScrollPage::addNoise(frame, ++m_noiseSeed, m_conditions.noise);
        }
        return frame;
    }

    ProcessingResult feed(const QImage& frame) {
        ProcessingResult result = m_processor.accept(frame).result();
        if (m_reference) {
            m_reference->follow(frame, result);
        }
        return result;
    }

    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_rng); }

    const Move& pickMove() {
        int roll = between(0, 99);
        for (const Move& move : kMoves) {
            if ((roll -= move.chance) < 0) {
                return move;
            }
        }
        return kMoves[0];
    }

    // One movement and one frame; answers whether the frame was refused.
    bool moveOnce() {
        const Move& move = pickMove();
        m_screenTop = std::clamp(m_screenTop + between(move.shortest, move.longest), 0,
                                 m_screen.scrollHeight() - kFrameHeight);
        const int scrolled = m_screenTop - m_lastTop;
        m_tally.moved += scrolled != 0;
        m_caret =
            move.caret && scrolled >= 0 && scrolled < kFrameHeight - 1 && !m_screen.coversBottom();
        std::optional<int> caretRow;
        if (m_caret) {
            // Only in rows that were already captured, so the page stays the truth.
            const int overlap = kFrameHeight - scrolled;
            caretRow = between(0, overlap - 1);
        }
        const ProcessingResult result = feed(shown(m_screenTop, caretRow));
        check(result, scrolled);
        return result.paused;
    }

    void check(const ProcessingResult& result, int scrolled) {
        const QString message = result.message;
        if (!result.paused && result.height != capturedHeight()) {
            ++m_tally.appended;
            if (result.height != m_screenTop + kFrameHeight) {
                ++m_tally.wrongSeams;
                m_wrongSeam = true;
                ADD_FAILURE() << "wrong seam at page row " << m_screenTop << ": "
                              << message.toStdString();
                return;
            }
            EXPECT_EQ(message, QStringLiteral("Added %1 pixels · Scroll down by less than half a "
                                              "screen")
                                   .arg(scrolled));
            // Frames are narrower than a preview: it shows every row, a held
            // footer too.
            ASSERT_TRUE(result.preview);
            EXPECT_EQ(result.preview->height(), result.height);
            m_lastTop = m_screenTop;
            m_lastHadCaret = m_caret;
            return;
        }
        ASSERT_EQ(result.height, capturedHeight());
        EXPECT_FALSE(result.preview) << "no rows were added";
        if (!result.paused) {
            EXPECT_EQ(message, "No changes · Keep scrolling down");
            return;
        }
        EXPECT_NE(scrolled, 0) << "an unmoved frame was refused: " << message.toStdString();
        // Two blinks, one in each frame, are two changed rows: too many for
        // an overlap under 200 rows.
        const bool twoBlinks = m_caret && m_lastHadCaret;
        if (m_conditions.uniqueOverlaps && scrolled > 0 && scrolled <= kLargestOffset &&
            !twoBlinks) {
            ++m_tally.falseRefusals;
            ADD_FAILURE() << "refused a scroll of " << scrolled << " at page row " << m_screenTop
                          << ": " << message.toStdString();
        } else if (scrolled > kLargestOffset) {
            // Beyond the search the true seam cannot be seen; a stray match
            // upward may be the closest thing found.
            EXPECT_TRUE(message == VerticalMatcher::noOverlapMessage ||
                        message == VerticalMatcher::repetitiveMessage ||
                        message == VerticalMatcher::reverseMessage)
                << message.toStdString();
        } else if (scrolled < 0) {
            // Under a part that stays put the content moves in fewer rows
            // than the frame's, whose search may not reach as far back; and
            // above the point where a header sticks, it stands where it did
            // not before, so that no offset of the whole frames fits.
            EXPECT_TRUE(message == VerticalMatcher::reverseMessage ||
                        message == VerticalMatcher::repetitiveMessage ||
                        (m_screen.kind() != FixedOverlay::Kind::none &&
                         message == VerticalMatcher::noOverlapMessage))
                << message.toStdString();
        } else if (twoBlinks) {
            EXPECT_TRUE(message == VerticalMatcher::overlapChangedMessage ||
                        message == VerticalMatcher::repetitiveMessage)
                << message.toStdString();
        } else {
            EXPECT_EQ(message, VerticalMatcher::repetitiveMessage) << "scrolled " << scrolled;
        }
    }

    // What the refusal messages ask for: back to the last captured position,
    // which must be taken as no change, and on from there.
    void recover() {
        m_screenTop = m_lastTop;
        const ProcessingResult result = feed(shown(m_screenTop));
        EXPECT_FALSE(result.paused) << result.message.toStdString();
        EXPECT_EQ(result.message, "No changes · Keep scrolling down");
    }

    std::mt19937 m_rng;
    Tally& m_tally;
    FixedOverlay m_screen;
    PlainStitching* m_reference;
    Conditions m_conditions;
    uint32_t m_noiseSeed;
    Processor m_processor;
    bool m_wrongSeam = false;
    int m_screenTop = 0;
    int m_lastTop = 0;
    bool m_caret = false;
    bool m_lastHadCaret = false;
};

// The document is the page, every channel within `noise` levels of it.
void expectDocumentIsThePage(ScrollSimulation& simulation, const ScrollPage& page, int noise) {
    const QImage document =
        simulation.processor().image().result().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(document.size(), QSize(page.width(), int(simulation.capturedHeight())));
    for (int y = 0; y < document.height(); ++y) {
        const auto* shown = reinterpret_cast<const QRgb*>(document.constScanLine(y));
        const auto* truth = reinterpret_cast<const QRgb*>(page.image().constScanLine(y));
        for (int x = 0; x < document.width(); ++x) {
            const QRgb a = shown[x];
            const QRgb b = truth[x];
            ASSERT_LE(std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                std::abs(qBlue(a) - qBlue(b))}),
                      noise)
                << "document pixel (" << x << ", " << y << ")";
        }
    }
}

// Pages where nothing stays put: ordinary ones, one with a band of table rows
// taller than the frame, one with a blank band two thirds of a frame tall,
// and everyday ones whose frames are rendered anew each time, through a small
// even noise, with a caret blinking now and then. Every answer and the
// document are those of whole-frame matching, byte for byte. On the everyday
// pages every overlap in reach is unique, so each frame within reach is
// stitched at its true seam, and a jump beyond it is refused rather than
// stitched at a wrong one.
TEST(ScrollCapture, everyAcceptedFrameContinuesThePageAtItsTrueSeam) {
    struct Case {
        ScrollPage::Options page;
        Conditions conditions;
    };
    std::vector<Case> cases = {
        {{.width = kFrameWidth, .height = 2400, .seed = 67, .bandTop = 1500, .bandHeight = 500},
         {}},
        {{.width = kFrameWidth,
          .height = 2400,
          .seed = 71,
          .bandTop = 1200,
          .bandHeight = 200,
          .bandStriped = false},
         {}},
    };
    for (const uint32_t seed : {11u, 23u, 37u, 41u, 59u}) {
        cases.push_back({{.width = kFrameWidth, .height = 2400, .seed = seed}, {}});
    }
    for (const Layout layout : {Layout::table, Layout::list, Layout::code, Layout::article}) {
        for (const uint32_t seed : {3u, 17u}) {
            cases.push_back({{.width = kFrameWidth, .height = 2400, .seed = seed, .layout = layout},
                             {2, true}});
        }
    }
    Tally tally;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "seed " << c.page.seed << ", layout " << int(c.page.layout));
        const ScrollPage page(c.page);
        PlainStitching reference;
        ScrollSimulation simulation(page, c.page.seed * 7919u + uint32_t(c.page.layout), tally,
                                    std::nullopt, c.conditions.noise ? nullptr : &reference,
                                    c.conditions);
        simulation.run();
        expectDocumentIsThePage(simulation, page, c.conditions.noise);
        const LongDocument document = simulation.processor().document().result();
        if (c.conditions.noise == 0) {
            EXPECT_EQ(document.compressedBytes(), reference.document().compressedBytes());
            EXPECT_TRUE(samePixels(document.image(), reference.document().image()));
        }
        if (c.page.bandHeight == 0) {
            EXPECT_EQ(simulation.capturedHeight(), page.height());
        } else if (c.page.bandStriped) {
            // Nothing in the stripes tells one scroll position from another.
            EXPECT_LT(simulation.capturedHeight(), c.page.bandTop + c.page.bandHeight);
        }
    }
    EXPECT_EQ(tally.wrongSeams, 0);
    EXPECT_EQ(tally.falseRefusals, 0);
}

double appendedShare(const Tally& tally) {
    return double(tally.appended - tally.pages) / double(tally.moved);
}

// Pages with a part that stays put on screen read in the document as they do
// on screen: the header once at the top, the content in order, the footer or
// badge once at the bottom, the sidebar once beside the first screen. The
// frames that moved are appended about as often as on the same pages with
// nothing fixed.
TEST(ScrollCapture, pagesWithPartsThatStayPutReadAsThePage) {
    const std::vector<ScrollPage> pages = {
        ScrollPage({.width = kFrameWidth, .height = 2400, .seed = 13}),
        ScrollPage({.width = kFrameWidth, .height = 2400, .seed = 29})};
    Tally plain;
    for (const ScrollPage& page : pages) {
        ScrollSimulation(page, page.height() * 31u, plain).run();
    }
    using Kind = FixedOverlay::Kind;
    const std::pair<Kind, const char*> kinds[] = {
        {Kind::header, "sticky header"},
        {Kind::footer, "sticky footer"},
        {Kind::headerAndFooter, "both"},
        {Kind::leftSidebar, "left sidebar"},
        {Kind::rightSidebar, "right sidebar"},
        {Kind::cornerBadge, "corner badge"},
        {Kind::headerStuckOnScroll, "header sticking on scroll"}};
    for (const auto& [kind, name] : kinds) {
        SCOPED_TRACE(name);
        Tally tally;
        for (const ScrollPage& page : pages) {
            const FixedOverlay overlay(kind, page, kFrameHeight);
            ScrollSimulation simulation(page, page.height() * 31u, tally, overlay);
            simulation.run();
            if (::testing::Test::HasFatalFailure()) {
                return;
            }
            const QImage document = simulation.processor().image().result();
            EXPECT_EQ(document.height(), simulation.capturedHeight());
            EXPECT_TRUE(samePixels(
                document, overlay.document(int(simulation.capturedHeight()) - kFrameHeight)));
        }
        EXPECT_EQ(tally.wrongSeams, 0);
        EXPECT_GE(appendedShare(tally), 0.9 * appendedShare(plain));
    }
}

} // namespace
} // namespace vellumix
