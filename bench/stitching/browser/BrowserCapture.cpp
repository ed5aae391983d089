// Scrolls a browser window with the mouse wheel and stitches what the screen
// grab of the app sees, twice: the whole page area, with whatever stays put on
// it, and the scrolled column alone. The page tells its scroll position in the
// window title (run.sh injects the script), which is the truth every seam and
// the document are checked against.
//   bench_stitching_browser NAME WINDOW X,Y,W,H COLUMN_X,Y,W,H FRAMES [DUMP_DIR]
// The first rectangle is the page area in root pixels, the second the column
// within it.
#include "BrowserTruth.h"

#include "platform/x11/X11Connection.h"
#include "platform/x11/X11ScreenSource.h"
#include "stitching/ScrollStitcher.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QProcess>
#include <QThread>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace vellumix {
namespace {

// Wheel notches between frames, repeated: 120 to 360 rows in Chromium, below
// half of a 900-row window as the capture asks.
constexpr int kNotches[] = {1, 2, 1, 3, 2, 1, 2};
constexpr int kNotchRows = 120;

QRect rectArgument(const QString& text) {
    const QStringList parts = text.split(',');
    if (parts.size() != 4) {
        throw std::invalid_argument("a rectangle is X,Y,W,H");
    }
    return {parts[0].toInt(), parts[1].toInt(), parts[2].toInt(), parts[3].toInt()};
}

class BrowserWindow final {
public:
    BrowserWindow(xcb_window_t window, const QRect& area)
        : m_connection(X11Connection::open()), m_window(window), m_area(area) {
        if (!m_connection) {
            throw std::runtime_error("no X server");
        }
        m_title = m_connection->atom("_NET_WM_NAME");
        m_utf8 = m_connection->atom("UTF8_STRING");
        m_screen = std::make_unique<X11ScreenSource>(X11Connection::open());
    }

    // The page's scroll position as its title tells it ("y ROWS ...").
    int scrollTop() const {
        const QByteArray title = m_connection->property(m_window, m_title, m_utf8);
        const QList<QByteArray> words = title.split(' ');
        return words.size() > 1 && words[0] == "y" ? words[1].toInt() : -1;
    }

    void wheelDown(int notches) const {
        if (notches == 0) {
            return;
        }
        QProcess::execute("xdotool",
                          {"click", "--repeat", QString::number(notches), "--delay", "30", "5"});
    }

    // Waits until the scroll position and the pixels stay the same for a
    // moment: Chromium paints a scrolled page in more than one pass.
    // `expected`: where the wheel should have taken the page, which the
    // title tells once Chromium has handled every notch; at the page's end
    // it never does, and a loaded machine handles the notches one by one.
    std::pair<int, QImage> settled(int expected) {
        int top = scrollTop();
        for (int i = 0; i < 60 && top != expected; ++i) {
            QThread::msleep(50);
            top = scrollTop();
        }
        QImage frame = m_screen->grabRootPixels(m_area);
        for (int i = 0; i < 40; ++i) {
            QThread::msleep(60);
            const int nextTop = scrollTop();
            QImage next = m_screen->grabRootPixels(m_area);
            if (nextTop == top && next == frame) {
                break;
            }
            top = nextTop;
            frame = std::move(next);
        }
        return {top, frame};
    }

private:
    std::unique_ptr<X11Connection> m_connection;
    xcb_window_t m_window;
    QRect m_area;
    xcb_atom_t m_title = 0;
    xcb_atom_t m_utf8 = 0;
    std::unique_ptr<X11ScreenSource> m_screen;
};

int run(const QStringList& args) {
    const QString name = args[1];
    const auto window = xcb_window_t(args[2].toULong());
    const QRect area = rectArgument(args[3]);
    const QRect column = rectArgument(args[4]);
    const int frames = args[5].toInt();
    const QString dump = args.size() > 6 ? args[6] : QString();
    BrowserWindow browser(window, area);
    BrowserTruth whole(name, column);
    BrowserTruth alone(name + " column", QRect(QPoint(), column.size()));
    int lastTop = -1;
    for (int i = 0; i <= frames; ++i) {
        const int notches = i > 0 ? kNotches[i % std::size(kNotches)] : 0;
        browser.wheelDown(notches);
        const auto [top, frame] = browser.settled(std::max(0, lastTop) + notches * kNotchRows);
        lastTop = top;
        if (!dump.isEmpty()) {
            frame.save(QStringLiteral("%1/%2-%3-%4.png")
                           .arg(dump, name)
                           .arg(i, 3, 10, QChar('0'))
                           .arg(top));
        }
        whole.accept(frame, top);
        alone.accept(frame.copy(column), top);
    }
    std::printf("%-24s fixed parts %3d/%-3d appended, column alone %3d/%-3d (%.0f %%), wrong seams "
                "%d/%d, document rows off the page %d, rows of sidebar slices %d\n",
                qPrintable(name), whole.appended(), whole.moved(), alone.appended(), alone.moved(),
                100.0 * whole.appended() / std::max(1, alone.appended()), whole.wrongSeams(),
                alone.wrongSeams(), whole.rowsOffThePage(), whole.sideRowsNotBlank());
    return whole.wrongSeams() + alone.wrongSeams() > 0 || whole.rowsOffThePage() > 0 ? 1 : 0;
}

} // namespace
} // namespace vellumix

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 6) {
        std::fprintf(stderr, "usage: bench_stitching_browser NAME WINDOW X,Y,W,H COLUMN_X,Y,W,H "
                             "FRAMES [DUMP_DIR]\n");
        return 2;
    }
    try {
        return vellumix::run(args);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_stitching_browser: %s\n", e.what());
        return 2;
    }
}
