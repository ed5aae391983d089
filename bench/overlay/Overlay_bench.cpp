// The selection overlay under a real X server (bench/overlay/run.sh).
//
// Freeze: from begin() until every display's overlay is on the screen,
// dimmed, and the parts of it: the grab of one display, making the frozen
// pictures, and showing prepared views until their pixels are on the screen.
// The screen's root is a flat grey (run.sh), so a probe pixel per display
// tells when its overlay is there.
//
// Pointer motion over a 3840 × 2160 frozen display: each move repaints what
// it changes (the loupe, and the highlight and label when the hovered window
// changes); the peer repaints the whole view on every move.

#include "ScreenshotLike.h"
#include "platform/Platform.h"
#include "platform/WindowKind.h"
#include "prefs/SettingsDefaults.h"
#include "selection/SelectionController.h"
#include "selection/SelectionWindow.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QThread>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <optional>

namespace vellumix {
namespace {

Platform& platform() {
    static const std::unique_ptr<Platform> instance = Platform::create();
    return *instance;
}

PlatformServices services() {
    return platform().services();
}

// Polls every millisecond (so at most that late), leaving the processor to
// the worker threads and the X server meanwhile.
bool waitFor(const std::function<bool()>& done) {
    const QDeadlineTimer deadline(10000);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents();
        QThread::usleep(1000);
    }
    return true;
}

// A pixel well inside each display, away from the panel, note and loupe.
QList<QPoint> probes() {
    QList<QPoint> points;
    for (const DisplayInfo& display : services().displays.displays()) {
        const QRect pixels = display.pixelRect();
        points.append(pixels.topLeft() + QPoint(pixels.width() * 3 / 4, pixels.height() * 3 / 4));
    }
    return points;
}

// The root is grey 0x80; dimmed it reads about 0x4d.
bool allDimmed(const QList<QPoint>& points, bool dimmed) {
    for (const QPoint& point : points) {
        const QImage pixel = services().screen.grabRegion(DisplayInfo(), QRect(point, QSize(1, 1)));
        if ((qRed(pixel.pixel(0, 0)) < 0x70) != dimmed) {
            return false;
        }
    }
    return true;
}

// Processor time the X server has used so far (ms), when run.sh names its
// process in VELLUMIX_XSERVER_PID; the server does much of the work of a
// freeze (reading the framebuffer, copying the overlays' pixels in).
std::optional<double> xServerCpuMs() {
    if (qEnvironmentVariableIsEmpty("VELLUMIX_XSERVER_PID")) {
        return std::nullopt;
    }
    QFile stat(QStringLiteral("/proc/%1/stat").arg(qEnvironmentVariable("VELLUMIX_XSERVER_PID")));
    if (!stat.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    // utime and stime are the 14th and 15th fields, after the parenthesised name.
    const QList<QByteArray> fields = stat.readAll().split(')').last().simplified().split(' ');
    if (fields.size() < 13) {
        return std::nullopt;
    }
    return (fields[11].toDouble() + fields[12].toDouble()) * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

void BM_FreezeToOnScreen(benchmark::State& state) {
    QTemporaryDir dir;
    SettingsDefaults defaults(dir.filePath("defaults.ini"));
    SelectionController controller(services(), defaults);
    const QList<QPoint> points = probes();
    std::vector<double> shownMs;
    const std::optional<double> serverBefore = xServerCpuMs();
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        QFuture<void> begun = controller.begin([](CaptureChoice) {});
        if (!waitFor([&] { return begun.isFinished(); })) {
            state.SkipWithError("the overlay did not open");
            return;
        }
        shownMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (!waitFor([&] { return allDimmed(points, true); })) {
            state.SkipWithError("the overlay did not show");
            return;
        }
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(controller.views().last(), &escape);
        waitFor([&] { return allDimmed(points, false); });
    }
    // Of that, until begin() had frozen every display and shown the views.
    std::sort(shownMs.begin(), shownMs.end());
    state.counters["frozenAndShown_medianMs"] = shownMs[shownMs.size() / 2];
    // The server's time includes hiding each overlay again.
    if (const std::optional<double> serverAfter = xServerCpuMs(); serverBefore && serverAfter) {
        state.counters["xServerCpuPerFreeze_ms"] =
            (*serverAfter - *serverBefore) / double(state.iterations());
    }
    state.counters["displays"] = double(points.size());
}
BENCHMARK(BM_FreezeToOnScreen)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MeasureProcessCPUTime()
    ->Iterations(21);

QImage grabWhole(const DisplayInfo& display) {
    return services().screen.grabRegion(display, QRect(QPoint(0, 0), display.pixelRect().size()));
}

void BM_GrabOneDisplay(benchmark::State& state) {
    const DisplayInfo display = services().displays.displays().first();
    for (auto _ : state) {
        benchmark::DoNotOptimize(grabWhole(display).constBits());
    }
    state.counters["pixels"] = double(display.pixelRect().width()) * display.pixelRect().height();
}
BENCHMARK(BM_GrabOneDisplay)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PrepareFrozenDisplay(benchmark::State& state) {
    const DisplayInfo display = services().displays.displays().first();
    const QImage grab = grabWhole(display);
    for (auto _ : state) {
        benchmark::DoNotOptimize(FrozenDisplay::prepare(display, grab).dimmed.constBits());
    }
}
BENCHMARK(BM_PrepareFrozenDisplay)->Unit(benchmark::kMillisecond)->UseRealTime();

// Views made from pictures frozen beforehand: mapping, first paint and the
// trip to the screen; with `reused`, the same windows shown again, which
// spares the window and its backing store.
void showPreparedViews(benchmark::State& state, bool reused) {
    QList<FrozenDisplay> frozen;
    for (const DisplayInfo& display : services().displays.displays()) {
        frozen.append(FrozenDisplay::prepare(display, grabWhole(display)));
    }
    const QList<QPoint> points = probes();
    QList<SelectionWindow*> windows;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        if (windows.isEmpty()) {
            for (const FrozenDisplay& display : frozen) {
                windows.append(new SelectionWindow(display.display, services().overlays));
            }
        }
        for (qsizetype i = 0; i < windows.size(); ++i) {
            windows[i]->open(new SelectionView(frozen[i], {}, QPointF(10, 10)));
        }
        waitFor([&] { return allDimmed(points, true); });
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        for (SelectionWindow* window : windows) {
            window->close();
        }
        if (!reused) {
            qDeleteAll(windows);
            windows.clear();
        }
        waitFor([&] { return allDimmed(points, false); });
    }
    qDeleteAll(windows);
}
void BM_ShowPreparedViews(benchmark::State& state) {
    showPreparedViews(state, false);
}
void BM_ShowReusedViews(benchmark::State& state) {
    showPreparedViews(state, true);
}
BENCHMARK(BM_ShowPreparedViews)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(21);
BENCHMARK(BM_ShowReusedViews)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(21);

// One view over the largest display with six windows; the pointer walks
// across them in steps of 7 points, as a hand moves.
void pointerMotion(benchmark::State& state, bool wholeView, bool dragging) {
    DisplayInfo display = services().displays.displays().first();
    const QSize size = display.pixelRect().size();
    FrozenDisplay frozen = FrozenDisplay::prepare(
        display, bench::makeScreenshotLike(size.width(), size.height())
                     .convertToFormat(QImage::Format_RGBA8888_Premultiplied));
    QList<WindowCandidate> windows;
    for (int i = 0; i < 6; ++i) {
        WindowInfo info{quint32(i + 1), QStringLiteral("Window %1").arg(i), "App", 1, {}, 0};
        windows.append({info, QRectF(200 + i * 450, 300 + (i % 2) * 200, 900, 700)});
    }
    SelectionWindow window(display, services().overlays);
    auto* view = new SelectionView(frozen, windows, QPointF(100, 600));
    window.open(view);
    waitFor([&] { return window.windowHandle()->isExposed(); });
    QCoreApplication::processEvents();
    const QPointF start(100, 600);
    if (dragging) {
        QMouseEvent press(QEvent::MouseButtonPress, start, start, Qt::LeftButton, Qt::LeftButton,
                          {});
        QCoreApplication::sendEvent(view, &press);
    }
    int step = 0;
    for (auto _ : state) {
        const double x = 100 + (step % 500) * 7;
        const QPointF at(x, 600 + (step % 500) * 2);
        ++step;
        QMouseEvent move(QEvent::MouseMove, at, at, Qt::NoButton,
                         dragging ? Qt::LeftButton : Qt::NoButton, {});
        QCoreApplication::sendEvent(view, &move);
        if (wholeView) {
            view->update();
        }
        QCoreApplication::processEvents();
    }
    state.counters["width"] = size.width();
    state.counters["height"] = size.height();
}

void BM_PointerMove(benchmark::State& state) {
    pointerMotion(state, false, false);
}
void BM_PointerMoveWholeViewRepaint(benchmark::State& state) {
    pointerMotion(state, true, false);
}
void BM_DragMove(benchmark::State& state) {
    pointerMotion(state, false, true);
}
BENCHMARK(BM_PointerMove)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(500);
BENCHMARK(BM_PointerMoveWholeViewRepaint)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(500);
BENCHMARK(BM_DragMove)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(500);

} // namespace
} // namespace vellumix
