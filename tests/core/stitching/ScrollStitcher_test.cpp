#include "stitching/ScrollStitcher.h"

#include "core/imaging/ExpectError.h"
#include "support/FixedOverlay.h"
#include "support/ScrollPage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <random>
#include <vector>

namespace vellumix {
namespace {

using testing::FixedOverlay;
using testing::ScrollPage;
using Kind = FixedOverlay::Kind;
using Layout = ScrollPage::Layout;

// Pages keep ScrollPage's width of 400 pixels, narrower than the preview.
constexpr int kFrameHeight = 300;
const int64_t kLargestOffset = VerticalMatcher::largestOffset(kFrameHeight);
const QString kNoChanges = QStringLiteral("No changes · Keep scrolling down");

QString added(int rows) {
    return QStringLiteral("Added %1 pixels · Scroll down by less than half a screen").arg(rows);
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

// A page to scroll through, and how what the screen shows differs from it.
struct Case {
    ScrollPage::Options page;
    Kind overlay = Kind::none;
    // Each frame is rendered anew, every channel off by up to this many levels.
    int noise = 0;
    // Every overlap within the search range is unique on the page.
    bool uniqueOverlaps = false;
};

struct Tally {
    int pages = 0;
    int moved = 0;
    int appended = 0;

    double appendedShare() const { return double(appended - pages) / double(moved); }
};

// Scrolls through one page the way a person does and checks every answer
// against the truth: the page position of each frame is known, so a frame
// that adds rows must add exactly the rows scrolled since the last frame that
// added rows, and every refusal must be one the movement explains.
class ScrollSimulation {
public:
    ScrollSimulation(const Case& c, Tally& tally)
        : m_case(c), m_page(c.page), m_screen(c.overlay, m_page, kFrameHeight),
          m_rng(c.page.seed * 7919u + uint32_t(c.page.layout) * 31u + uint32_t(c.overlay)),
          m_noiseSeed(c.page.seed), m_tally(tally) {}

    void run() {
        ++m_tally.pages;
        const ProcessingResult first = m_stitcher.accept(shown(0));
        ASSERT_EQ(first.height, kFrameHeight);
        m_preview = first.preview.value_or(QImage());
        // A person gives up after a few refusals without progress; the
        // first wrong answer ends the page, as it may never let it end.
        int refusalsSinceProgress = 0;
        while (capturedHeight() < m_screen.scrollHeight() && refusalsSinceProgress < 8) {
            const int lastTop = m_lastTop;
            const bool refused = moveOnce();
            if (::testing::Test::HasFailure()) {
                return;
            }
            refusalsSinceProgress = m_lastTop != lastTop ? 0 : refusalsSinceProgress + refused;
            if (refused) {
                recover();
            }
        }
    }

    // The document reads as the page does, each fixed part once, every
    // channel within the noise of it; the preview of frames narrower than
    // it is the document itself.
    void checkDocument() {
        const QImage image = m_stitcher.image();
        EXPECT_EQ(m_preview, image);
        const QImage document = image.convertToFormat(QImage::Format_RGB32);
        const QImage truth = m_screen.document(m_lastTop).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(document.size(), truth.size());
        // Rows of RGB32 have no padding: byte i is a channel of pixel i / 4.
        const uchar* a = document.constBits();
        const uchar* b = truth.constBits();
        qsizetype worst = 0;
        for (qsizetype i = 0; i < document.sizeInBytes(); ++i) {
            worst = std::abs(a[i] - b[i]) > std::abs(a[worst] - b[worst]) ? i : worst;
        }
        EXPECT_LE(std::abs(a[worst] - b[worst]), m_case.noise)
            << "document pixel (" << worst / 4 % document.width() << ", "
            << worst / 4 / document.width() << ")";
    }

    int capturedHeight() const { return m_lastTop + kFrameHeight; }

private:
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_rng); }

    QImage shown(int top, std::optional<int> caretRow = std::nullopt) {
        QImage frame = m_screen.frame(top, caretRow);
        if (m_case.noise > 0) {
            ScrollPage::addNoise(frame, ++m_noiseSeed, m_case.noise);
        }
        return frame;
    }

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
        // Only in rows that were already captured, so the page stays the truth.
        const std::optional<int> caretRow =
            m_caret ? std::optional(between(0, kFrameHeight - scrolled - 1)) : std::nullopt;
        const ProcessingResult result = m_stitcher.accept(shown(m_screenTop, caretRow));
        check(result, scrolled);
        return result.paused;
    }

    void check(const ProcessingResult& result, int scrolled) {
        const QString message = result.message;
        if (!result.paused && result.height != capturedHeight()) {
            ++m_tally.appended;
            if (result.height != m_screenTop + kFrameHeight) {
                ADD_FAILURE() << "wrong seam at page row " << m_screenTop << ": "
                              << message.toStdString();
                return;
            }
            EXPECT_EQ(message, added(scrolled));
            // Frames are narrower than a preview: it shows every row, a held
            // footer too.
            ASSERT_TRUE(result.preview);
            EXPECT_EQ(result.preview->height(), result.height);
            m_preview = *result.preview;
            m_lastTop = m_screenTop;
            m_lastHadCaret = m_caret;
            return;
        }
        ASSERT_EQ(result.height, capturedHeight());
        EXPECT_FALSE(result.preview) << "no rows were added";
        if (!result.paused) {
            EXPECT_EQ(message, kNoChanges);
            return;
        }
        EXPECT_NE(scrolled, 0) << "an unmoved frame was refused: " << message.toStdString();
        EXPECT_TRUE(explainedRefusals(scrolled).contains(message))
            << "refused a scroll of " << scrolled << " at page row " << m_screenTop << ": "
            << message.toStdString();
    }

    // The refusals the movement explains.
    QStringList explainedRefusals(int scrolled) const {
        if (scrolled > kLargestOffset) {
            // Beyond the search the true seam cannot be seen; a stray match
            // upward may be the closest thing found.
            return {VerticalMatcher::noOverlapMessage, VerticalMatcher::repetitiveMessage,
                    VerticalMatcher::reverseMessage};
        }
        if (scrolled < 0) {
            // Under a part that stays put the content moves in fewer rows
            // than the frame's, whose search may not reach as far back; and
            // above the point where a header sticks, it stands where it did
            // not before, so that no offset of the whole frames fits.
            QStringList back = {VerticalMatcher::reverseMessage,
                                VerticalMatcher::repetitiveMessage};
            if (m_case.overlay != Kind::none) {
                back.append(VerticalMatcher::noOverlapMessage);
            }
            return back;
        }
        // Two blinks, one in each frame, are two changed rows: too many for
        // an overlap under 200 rows.
        if (m_caret && m_lastHadCaret) {
            return {VerticalMatcher::overlapChangedMessage, VerticalMatcher::repetitiveMessage};
        }
        // Where every overlap in reach is unique nothing explains a refusal.
        return m_case.uniqueOverlaps ? QStringList()
                                     : QStringList{VerticalMatcher::repetitiveMessage};
    }

    // What the refusal messages ask for: back to the last captured position,
    // which must be taken as no change, and on from there.
    void recover() {
        m_screenTop = m_lastTop;
        const ProcessingResult result = m_stitcher.accept(shown(m_screenTop));
        EXPECT_FALSE(result.paused) << result.message.toStdString();
        EXPECT_EQ(result.message, kNoChanges);
    }

    const Case m_case;
    const ScrollPage m_page;
    const FixedOverlay m_screen;
    std::mt19937 m_rng;
    uint32_t m_noiseSeed;
    Tally& m_tally;
    ScrollStitcher m_stitcher;
    QImage m_preview;
    int m_screenTop = 0;
    int m_lastTop = 0;
    bool m_caret = false;
    bool m_lastHadCaret = false;
};

// Runs `c` and checks what the capture made of it.
void capture(const Case& c, Tally& tally) {
    SCOPED_TRACE(::testing::Message() << "seed " << c.page.seed << ", layout " << int(c.page.layout)
                                      << ", overlay " << int(c.overlay));
    ScrollSimulation simulation(c, tally);
    simulation.run();
    if (::testing::Test::HasFatalFailure()) {
        return;
    }
    simulation.checkDocument();
    if (c.overlay == Kind::none && c.page.bandHeight == 0) {
        EXPECT_EQ(simulation.capturedHeight(), c.page.height);
    } else if (c.page.bandHeight > 0 && c.page.bandStriped) {
        // Nothing in the stripes tells one scroll position from another.
        EXPECT_LT(simulation.capturedHeight(), c.page.bandTop + c.page.bandHeight);
    }
}

// Pages where nothing stays put: ordinary ones, one with a band of table rows
// taller than the frame, one with a blank band two thirds of a frame tall,
// and everyday ones whose frames are rendered anew each time, through a small
// even noise, with a caret blinking now and then. On the everyday pages every
// overlap in reach is unique, so each frame within reach is stitched at its
// true seam, and a jump beyond it is refused rather than stitched at a wrong
// one.
TEST(ScrollStitcher, everyAcceptedFrameContinuesThePageAtItsTrueSeam) {
    std::vector<Case> cases = {
        {{.height = 2400, .seed = 67, .bandTop = 1500, .bandHeight = 500}},
        {{.height = 2400, .seed = 71, .bandTop = 1200, .bandHeight = 200, .bandStriped = false}},
    };
    for (const uint32_t seed : {11u, 23u, 37u, 41u, 59u}) {
        cases.push_back({{.height = 2400, .seed = seed}});
    }
    for (const Layout layout : {Layout::table, Layout::list, Layout::code, Layout::article}) {
        for (const uint32_t seed : {3u, 17u}) {
            cases.push_back(
                {{.height = 2400, .seed = seed, .layout = layout}, Kind::none, 2, true});
        }
    }
    // Every wrong seam and every unexplained refusal fails in the simulation.
    Tally tally;
    for (const Case& c : cases) {
        capture(c, tally);
    }
}

// Pages with a part that stays put on screen read in the document as they do
// on screen: the header once at the top, the content in order, the footer or
// badge once at the bottom, the sidebar once beside the first screen. The
// frames that moved are appended about as often as on the same pages with
// nothing fixed.
TEST(ScrollStitcher, pagesWithPartsThatStayPutReadAsThePage) {
    const Kind kinds[] = {
        Kind::none,        Kind::header,       Kind::footer,      Kind::headerAndFooter,
        Kind::leftSidebar, Kind::rightSidebar, Kind::cornerBadge, Kind::headerStuckOnScroll};
    std::vector<Tally> tallies(std::size(kinds));
    for (size_t k = 0; k < std::size(kinds); ++k) {
        for (const uint32_t seed : {13u, 29u}) {
            capture({{.height = 2400, .seed = seed}, kinds[k]}, tallies[k]);
        }
        EXPECT_GE(tallies[k].appendedShare(), 0.9 * tallies[0].appendedShare()) << int(kinds[k]);
    }
}

// A narrow frame almost as tall as the limit: its own rows, then one 20 rows
// further that would pass 30,000 rows, then one 10 rows further that fits,
// which only continues the document if the failure changed nothing.
TEST(ScrollStitcher, anAppendPastTheHeightLimitFailsAndChangesNothing) {
    std::mt19937 rng(5);
    QImage tall(8, 30100, QImage::Format_RGB32);
    for (int y = 0; y < tall.height(); ++y) {
        const int level = std::uniform_int_distribution<int>(0, 255)(rng);
        auto* line = reinterpret_cast<QRgb*>(tall.scanLine(y));
        std::fill_n(line, tall.width(), qRgb(level, 255 - level, level / 2));
    }
    ScrollStitcher stitcher;
    EXPECT_EQ(stitcher.accept(tall.copy(0, 0, 8, 29990)).height, 29990);
    test::expectError(DocumentError::Kind::limit,
                      [&] { stitcher.accept(tall.copy(0, 20, 8, 29990)); });
    const ProcessingResult fits = stitcher.accept(tall.copy(0, 10, 8, 29990));
    EXPECT_EQ(fits.message, added(10));
    EXPECT_EQ(fits.height, 30000);
}

} // namespace
} // namespace vellumix
