// The editor on a 3,840 × 2,160 capture holding 200 marks: one frame of a
// mark being dragged (the partial repaint the canvas asks for, against
// repainting the whole canvas and against rendering the picture from
// scratch), undo and redo of one step, and copying the capture.
#include "ScreenshotLike.h"
#include "editor/CanvasView.h"
#include "editor/EditorDocument.h"
#include "imaging/EditedImage.h"
#include "pins/PinService.h"
#include "platform/Dialogs.h"
#include "platform/qt/QtClipboard.h"
#include "prefs/SettingsDefaults.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vellumix;

namespace {

class NoDialogs final : public Dialogs {
public:
    int alert(const Alert&) override { return -1; }
    std::optional<QString> savePanel(const QString&, const QStringList&) override { return {}; }
    std::optional<QString> openPanel(const QStringList&) override { return {}; }
    void about(const QString&, const QString&) override {}
    std::optional<QString> textPrompt(const QString&, const QString&) override { return {}; }
};

class NoPins final : public PinService {
public:
    QString show(const QImage&, double) override { return {}; }
    bool close(const QString&) override { return false; }
};

constexpr QSize captureSize(3840, 2160);
constexpr int markCount = 200;
// The dragged mark: a rectangle in the middle, pressed on its left edge.
// The samples below leave that point free.
const QPointF dragStart(1800, 1100);

ImageMark sampleMark(int i) {
    const DrawingTool tool = drawing_tool::allCases[1 + i % 12];
    const double x = 60 + (i * 397) % 3500;
    const double y = 60 + (i * 211) % 1900;
    QVector<QPointF> points = {{x, y}, {x + 180, y + 110}, {x + 40, y + 160}};
    if (tool == DrawingTool::text || tool == DrawingTool::step) {
        points.resize(1);
    }
    const QString text = tool == DrawingTool::step ? QString::number(i % 999 + 1)
                                                   : QStringLiteral("A note that wraps onto lines");
    return ImageMark(tool, points, QColor(230, 60, 50), 4, text);
}

// One editor with its services, its document filled with marks and a canvas
// shown at one image pixel per view point.
struct Editor {
    Editor()
        : defaults(folder.filePath(QStringLiteral("defaults.ini"))),
          document(bench::makeScreenshotLike(captureSize.width(), captureSize.height()), 1, true,
                   false, {defaults, dialogs, clipboard, pins}),
          canvas(document) {
        // Beneath all others, so a drag repaints layers on both sides of it.
        document.commit(ImageMark(DrawingTool::rectangle,
                                  {dragStart, dragStart + QPointF(300, 200)}, Qt::blue, 6,
                                  QString()));
        for (int i = 0; i < markCount - 1; ++i) {
            document.commit(sampleMark(i));
        }
        canvas.show();
        QApplication::processEvents();
    }

    void send(QEvent::Type type, QPointF at) {
        QMouseEvent event(type, at, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&canvas, &event);
    }

    QTemporaryDir folder;
    SettingsDefaults defaults;
    NoDialogs dialogs;
    QtClipboard clipboard;
    NoPins pins;
    EditorDocument document;
    CanvasView canvas;
};

Editor& editor() {
    static Editor* shared = new Editor;
    return *shared;
}

int paints = 0;
struct PaintCounter : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// One pointer move of a drag and the repaint it causes.
void canvasDragFrame(benchmark::State& state) {
    Editor& e = editor();
    e.send(QEvent::MouseButtonPress, dragStart);
    QApplication::processEvents();
    if (e.document.selected() != 0) {
        state.SkipWithError("the press did not pick the rectangle");
        return;
    }
    PaintCounter counter;
    e.canvas.installEventFilter(&counter);
    paints = 0;
    int step = 0;
    for (auto _ : state) {
        ++step;
        e.send(QEvent::MouseMove, dragStart + QPointF(3 * (step % 100), 2 * (step % 100)));
        QApplication::processEvents();
    }
    e.send(QEvent::MouseButtonRelease, dragStart);
    e.document.undo();
    QApplication::processEvents();
    state.counters["paints"] = benchmark::Counter(paints, benchmark::Counter::kAvgIterations);
}
BENCHMARK(canvasDragFrame)->Unit(benchmark::kMillisecond)->MinTime(2);

// The same frame when the whole canvas is repainted from its layers.
void canvasWholeRepaint(benchmark::State& state) {
    Editor& e = editor();
    e.send(QEvent::MouseButtonPress, dragStart);
    int step = 0;
    for (auto _ : state) {
        ++step;
        e.send(QEvent::MouseMove, dragStart + QPointF(3 * (step % 100), 2 * (step % 100)));
        e.canvas.repaint();
    }
    e.send(QEvent::MouseButtonRelease, dragStart);
    e.document.undo();
    QApplication::processEvents();
}
BENCHMARK(canvasWholeRepaint)->Unit(benchmark::kMillisecond)->MinTime(2);

// A press that selects a mark: its layers are made anew, once per selection.
void canvasSelectFrame(benchmark::State& state) {
    Editor& e = editor();
    for (auto _ : state) {
        e.send(QEvent::MouseButtonPress, dragStart);
        QApplication::processEvents();
        state.PauseTiming();
        e.send(QEvent::MouseButtonRelease, dragStart);
        e.document.setSelected(std::nullopt);
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(canvasSelectFrame)->Unit(benchmark::kMillisecond)->MinTime(2);

// Without kept layers every frame would draw the source and all marks.
void pictureFromScratch(benchmark::State& state) {
    Editor& e = editor();
    for (auto _ : state) {
        benchmark::DoNotOptimize(e.document.output());
    }
}
BENCHMARK(pictureFromScratch)->Unit(benchmark::kMillisecond)->MinTime(2);

void undoRedoOneStep(benchmark::State& state) {
    Editor& e = editor();
    for (auto _ : state) {
        e.document.undo();
        e.document.redo();
    }
    state.SetLabel("undo + redo");
}
BENCHMARK(undoRedoOneStep)->Unit(benchmark::kMicrosecond)->MinTime(1);

// Undo as the user sees it: the step and the canvas showing its result.
void undoWithRepaint(benchmark::State& state) {
    Editor& e = editor();
    for (auto _ : state) {
        e.document.undo();
        e.canvas.repaint();
        e.document.redo();
        e.canvas.repaint();
    }
    state.SetLabel("undo + repaint + redo + repaint");
}
BENCHMARK(undoWithRepaint)->Unit(benchmark::kMillisecond)->MinTime(2);

void copyCapture(benchmark::State& state) {
    Editor& e = editor();
    for (auto _ : state) {
        e.document.copy();
    }
    state.SetLabel(e.document.message().toStdString());
}
BENCHMARK(copyCapture)->Unit(benchmark::kMillisecond)->MinTime(3);

void copyPngEncodeOnly(benchmark::State& state) {
    Editor& e = editor();
    const QImage picture = e.document.output();
    for (auto _ : state) {
        benchmark::DoNotOptimize(EditedImage::png(picture));
    }
}
BENCHMARK(copyPngEncodeOnly)->Unit(benchmark::kMillisecond)->MinTime(3);

} // namespace
