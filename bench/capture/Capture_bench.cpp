// Grabs of a 1,600 × 1,000 region and of a whole display through the
// platform's screen source (MIT-SHM on X11, the portal's cast on Wayland),
// through Qt's QScreen::grabWindow (plain GetImage; X11 only) brought to the
// same image format, and through the capture service with its checks and
// worker thread. Needs a display server: bench/capture/run.sh provides an X
// server, bench/capture/wayland.sh a Wayland session.

#include "capture/CaptureService.h"
#include "platform/Platform.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <benchmark/benchmark.h>

#include <ctime>

namespace vellumix {
namespace {

const QRect regionPixels(100, 100, 1600, 1000);

Platform& platform() {
    static const std::unique_ptr<Platform> instance = Platform::create();
    return *instance;
}

// The display of most pixels: the whole screen when run.sh has joined the
// monitors, the scale-2 output in the Wayland session of wayland.sh.
DisplayInfo largestDisplay() {
    DisplayInfo best;
    const auto pixels = [](const DisplayInfo& display) {
        return qint64(display.pixelRect().width()) * display.pixelRect().height();
    };
    for (const DisplayInfo& display : platform().services().displays.displays()) {
        if (pixels(display) > pixels(best)) {
            best = display;
        }
    }
    return best;
}

double processCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

QScreen* screenOf(const DisplayInfo& display) {
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen->name() == display.name) {
            return screen;
        }
    }
    return QGuiApplication::primaryScreen();
}

void reportPixels(benchmark::State& state, QSize size) {
    state.SetItemsProcessed(state.iterations() * qint64(size.width()) * size.height());
    state.counters["width"] = size.width();
    state.counters["height"] = size.height();
}

void screenSourceGrab(benchmark::State& state, bool whole) {
    const DisplayInfo display = largestDisplay();
    const QRect pixels = whole ? QRect(QPoint(0, 0), display.pixelRect().size()) : regionPixels;
    ScreenSource& screen = platform().services().screen;
    // The first grab of a size sets up the shared memory segment.
    screen.grabRegion(display, pixels);
    for (auto _ : state) {
        const QImage image = screen.grabRegion(display, pixels);
        benchmark::DoNotOptimize(image.constBits());
    }
    reportPixels(state, pixels.size());
}

void qtGrabWindow(benchmark::State& state, bool whole) {
    const DisplayInfo display = largestDisplay();
    QScreen* screen = screenOf(display);
    const QRect rect = whole ? QRect(QPoint(0, 0), screen->size()) : regionPixels;
    screen->grabWindow(0, rect.x(), rect.y(), rect.width(), rect.height());
    for (auto _ : state) {
        const QImage image = screen->grabWindow(0, rect.x(), rect.y(), rect.width(), rect.height())
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGBA8888_Premultiplied);
        benchmark::DoNotOptimize(image.constBits());
    }
    reportPixels(state, rect.size());
}

void BM_RegionScreenSource(benchmark::State& state) {
    screenSourceGrab(state, false);
}
void BM_RegionQtGrabWindow(benchmark::State& state) {
    qtGrabWindow(state, false);
}
void BM_WholeDisplayScreenSource(benchmark::State& state) {
    screenSourceGrab(state, true);
}
void BM_WholeDisplayQtGrabWindow(benchmark::State& state) {
    qtGrabWindow(state, true);
}

// The frame's last step runs on this thread, so wait in its event loop.
QImage awaitFrame(QFuture<QImage> frame) {
    QEventLoop loop;
    QFutureWatcher<QImage> watcher;
    QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(frame);
    if (!frame.isFinished()) {
        loop.exec();
    }
    return frame.result();
}

// One frame() of the capture service from call to result, and how long of it
// the main thread was busy: the call itself (checks, dispatch) plus the
// continuation that hands the image back.
void captureServiceFrame(benchmark::State& state, bool whole) {
    const DisplayInfo display = largestDisplay();
    const QRectF rect = whole ? QRectF(QPointF(0, 0), display.size())
                              : QRectF(QRectF(regionPixels).topLeft() / display.scale,
                                       QRectF(regionPixels).size() / display.scale);
    QFuture<std::shared_ptr<CaptureService>> created = CaptureService::create(
        CaptureRegion{display.id, rect, display.scale}, platform().services());
    const std::shared_ptr<CaptureService> service = created.result();
    awaitFrame(service->frame());
    qint64 mainThreadNs = 0;
    const double cpuBefore = processCpuMs();
    for (auto _ : state) {
        QElapsedTimer call;
        call.start();
        QFuture<QImage> frame = service->frame();
        mainThreadNs += call.nsecsElapsed();
        benchmark::DoNotOptimize(awaitFrame(frame).constBits());
    }
    state.counters["mainThreadCall_ms"] =
        benchmark::Counter(double(mainThreadNs) / 1e6 / double(state.iterations()));
    // All threads of the process, the platform's own (PipeWire's) included.
    state.counters["cpuPerFrame_ms"] =
        benchmark::Counter((processCpuMs() - cpuBefore) / double(state.iterations()));
    reportPixels(state, service->outputSize());
}

void BM_RegionCaptureService(benchmark::State& state) {
    captureServiceFrame(state, false);
}
void BM_WholeDisplayCaptureService(benchmark::State& state) {
    captureServiceFrame(state, true);
}

BENCHMARK(BM_RegionScreenSource)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RegionQtGrabWindow)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RegionCaptureService)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WholeDisplayScreenSource)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WholeDisplayQtGrabWindow)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WholeDisplayCaptureService)->Unit(benchmark::kMillisecond)->UseRealTime();

// The check that runs before every frame: one round trip to the X server.
void BM_PermissionCheck(benchmark::State& state) {
    const PermissionCheck& permission = platform().services().permission;
    for (auto _ : state) {
        benchmark::DoNotOptimize(permission.screenRecordingGranted());
    }
}
BENCHMARK(BM_PermissionCheck)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
} // namespace vellumix
