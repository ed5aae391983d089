// A scrolling capture as the user runs it, timed: the real session, platform
// and panel sample a region of 1,600 × 1,000 points at scale 2 while another
// process, this program started with --page, shows a tall page that xdotool
// scrolls by the wheel. Reports the frames actually sampled per second, the
// main thread's processor time per step and its longest single event.
//   bench_session_loop SECONDS           (bench/session/run.sh gives the server)
//   bench_session_loop --page W H NOTCH  (the page window)

#include "SessionHelpers.h"
#include "platform/Platform.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtDialogs.h"
#include "prefs/SettingsDefaults.h"
#include "session/CaptureSession.h"
#include "support/ScrollPage.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QRasterWindow>
#include <QTemporaryDir>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace vellumix {
namespace {

constexpr int pageRows = 10000;
constexpr int notchRows = 100;
constexpr int notchMilliseconds = 150;
const QRectF regionPoints(0, 40, 1600, 1000);

class PageWindow final : public QRasterWindow {
public:
    explicit PageWindow(QSize size, int notch)
        : m_page({.width = size.width(), .height = pageRows, .seed = 3}), m_notch(notch) {
        setFlags(Qt::Window | Qt::FramelessWindowHint);
        setTitle(QStringLiteral("Scroll page"));
        setGeometry(QRect(QPoint(0, 0), size));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(0, 0, m_page.frame(m_top, height()));
    }
    void wheelEvent(QWheelEvent* event) override {
        m_top = std::clamp(m_top - event->angleDelta().y() / 120 * m_notch, 0,
                           m_page.height() - height());
        update();
    }

private:
    testing::ScrollPage m_page;
    int m_notch;
    int m_top = 0;
};

double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

// The main thread's processor time for every event it handles at the
// outermost level: on a shared machine wall time also counts the moments the
// thread waited for a core.
class TimedApplication final : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        if (m_depth++ > 0) {
            const bool handled = QApplication::notify(receiver, event);
            --m_depth;
            return handled;
        }
        const double start = threadSeconds();
        const bool handled = QApplication::notify(receiver, event);
        const double ms = (threadSeconds() - start) * 1000;
        --m_depth;
        longest = std::max(longest, ms);
        over8 += ms > 8 ? 1 : 0;
        return handled;
    }

    double longest = 0;
    int over8 = 0;

private:
    int m_depth = 0;
};

class CountingScreen final : public ScreenSource {
public:
    explicit CountingScreen(ScreenSource& inner) : m_inner(inner) {}
    QImage grabRegion(const DisplayInfo& display, const QRect& pixels) override {
        ++grabs;
        return m_inner.grabRegion(display, pixels);
    }
    std::atomic<int> grabs = 0;

private:
    ScreenSource& m_inner;
};

class NoInPlace final : public InPlaceEditing {
public:
    bool show(EditorDocument&, const CaptureRegion&, const QImage&, Actions shown) override {
        actions = std::move(shown);
        open = true;
        return true;
    }
    void close() override { open = false; }
    bool isOpen() const override { return open; }
    void showColorCopied(const QString&) override {}
    Actions actions;
    bool open = false;
};

using bench::NoPins;
using bench::waitFor;

void drag(QWidget* view, QPointF from, QPointF to) {
    for (auto [type, at] :
         {std::pair{QEvent::MouseButtonPress, from}, std::pair{QEvent::MouseMove, (from + to) / 2},
          std::pair{QEvent::MouseButtonRelease, to}}) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, at, Qt::LeftButton, held, {});
        QCoreApplication::sendEvent(view, &event);
    }
}

int runPage(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList a = app.arguments();
    PageWindow window(QSize(a.value(2).toInt(), a.value(3).toInt()), a.value(4).toInt());
    window.show();
    return app.exec();
}

int fail(const char* what) {
    std::fprintf(stderr, "bench_session_loop: %s\n", what);
    return 1;
}

int runLoop(TimedApplication& app, int seconds) {
    std::unique_ptr<Platform> platform = Platform::create();
    PlatformServices real = platform->services();
    CountingScreen screen(real.screen);
    const PlatformServices services{real.displays,   screen,       real.windows,
                                    real.permission, real.hotKeys, real.systemEvents,
                                    real.withdrawal, real.overlays};
    QTemporaryDir dir;
    SettingsDefaults defaults(dir.filePath("defaults.ini"));
    QtDialogs dialogs;
    QtClipboard clipboard;
    NoPins pins;
    NoInPlace inPlace;
    SteadyClock clock;
    CaptureSession session(
        {services, EditorServices{defaults, dialogs, clipboard, pins}, inPlace, clock});

    const DisplayInfo display = services.displays.displays().value(0);
    const QRect pagePixels(0, 0, int((regionPoints.right() + 50) * display.scale),
                           int(display.frame.height() * display.scale));
    QProcess page;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_SCALE_FACTOR"));
    page.setProcessEnvironment(environment);
    page.start(app.applicationFilePath(),
               {"--page", QString::number(pagePixels.width()), QString::number(pagePixels.height()),
                QString::number(notchRows)});
    const auto pageShown = [&] {
        for (const WindowInfo& window : services.windows.windows()) {
            if (window.title == QLatin1String("Scroll page")) {
                return true;
            }
        }
        return false;
    };
    if (!waitFor(pageShown)) {
        return fail("the page did not appear");
    }
    const QDeadlineTimer painted(1000);
    waitFor([&] { return painted.hasExpired(); });
    session.start();
    if (!waitFor([&] { return !session.selector().views().isEmpty(); })) {
        return fail("no overlay");
    }
    drag(session.selector().views().front(), regionPoints.topLeft(), regionPoints.bottomRight());
    if (!waitFor([&] { return inPlace.open && !session.busy(); })) {
        return fail("no first frame");
    }
    inPlace.actions.scroll();
    if (!waitFor([&] { return session.running(); })) {
        return fail("scrolling did not start");
    }
    int pauses = 0;
    QObject::connect(&session, &CaptureSession::changed, [&, was = false]() mutable {
        pauses += session.paused() && !was ? 1 : 0;
        was = session.paused();
    });
    const QPoint pointer = (regionPoints.center() * display.scale).toPoint();
    QProcess wheel;
    const double cpuStart = threadSeconds();
    const int grabsStart = screen.grabs;
    app.longest = 0;
    app.over8 = 0;
    QElapsedTimer wall;
    wall.start();
    wheel.start("xdotool",
                {"mousemove", QString::number(pointer.x()), QString::number(pointer.y()), "click",
                 "--repeat", QString::number(seconds * 1000 / notchMilliseconds), "--delay",
                 QString::number(notchMilliseconds), "5"});
    // Blocks in the event loop, so that the thread's processor time is the
    // capture's alone.
    QEventLoop scrolled;
    QObject::connect(&wheel, &QProcess::finished, &scrolled, &QEventLoop::quit);
    scrolled.exec();
    const double elapsed = wall.nsecsElapsed() / 1e9;
    const double cpu = threadSeconds() - cpuStart;
    const int steps = screen.grabs - grabsStart;
    const double longest = app.longest;
    const int over8 = app.over8;
    QElapsedTimer assembly;
    assembly.start();
    session.stop(CaptureSession::Texts::finished);
    waitFor([&] { return session.editor() != nullptr && !session.busy(); });

    std::printf("region %.0f x %.0f points at scale %.0f, %d rows per notch every %d ms\n",
                regionPoints.width(), regionPoints.height(), display.scale, notchRows,
                notchMilliseconds);
    std::printf("frames sampled: %d in %.2f s = %.2f per second (period %.0f ms)\n", steps, elapsed,
                steps / elapsed, 1000 * elapsed / std::max(1, steps));
    std::printf("main thread: %.2f ms processor time per step; longest event %.1f ms, "
                "%d over 8 ms\n",
                1000 * cpu / std::max(1, steps), longest, over8);
    std::printf("captured %lld rows, %d pauses; assembly and editor %.0f ms\n",
                qlonglong(session.height()), pauses, assembly.nsecsElapsed() / 1e6);
    page.kill();
    page.waitForFinished();
    return 0;
}

} // namespace
} // namespace vellumix

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--page") == 0) {
        return vellumix::runPage(argc, argv);
    }
    vellumix::TimedApplication app(argc, argv);
    return vellumix::runLoop(app, argc > 1 ? std::atoi(argv[1]) : 10);
}
