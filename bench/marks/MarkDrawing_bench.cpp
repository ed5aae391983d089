// Cost of drawing marks and of the geometry queries the editor makes on every
// pointer move.
#include "marks/ImageMark.h"

#include <QGuiApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

using namespace vellumix;

namespace {

ImageMark sampleMark(DrawingTool tool, int i) {
    const double x = 40 + (i * 97) % 1700;
    const double y = 40 + (i * 53) % 900;
    const QVector<QPointF> points = {{x, y}, {x + 120, y + 80}, {x + 30, y + 140}};
    const QString text = tool == DrawingTool::step ? QString::number(i)
                                                   : QStringLiteral("A note that wraps onto lines");
    return ImageMark(tool, points, QColor(230, 60, 50), 4, text);
}

QVector<ImageMark> mixedMarks(int count) {
    QVector<ImageMark> marks;
    for (int i = 0; i < count; ++i) {
        const auto tool = drawing_tool::allCases[1 + i % 12];
        marks.append(sampleMark(tool, i));
    }
    return marks;
}

void drawMixedMarks(benchmark::State& state) {
    const QVector<ImageMark> marks = mixedMarks(int(state.range(0)));
    QImage image(1920, 1080, QImage::Format_RGBA8888_Premultiplied);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        for (const ImageMark& mark : marks) {
            mark.draw(painter);
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(drawMixedMarks)->Arg(12)->Arg(500)->Unit(benchmark::kMillisecond);

void drawOneTool(benchmark::State& state) {
    const auto tool = drawing_tool::allCases[size_t(state.range(0))];
    const ImageMark mark = sampleMark(tool, 1);
    QImage image(400, 300, QImage::Format_RGBA8888_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (auto _ : state) {
        mark.draw(painter);
    }
    state.SetLabel(drawing_tool::rawValue(tool).toStdString());
}
BENCHMARK(drawOneTool)->DenseRange(1, 12)->Unit(benchmark::kMicrosecond);

void hitTestMixedMarks(benchmark::State& state) {
    const QVector<ImageMark> marks = mixedMarks(500);
    for (auto _ : state) {
        int hits = 0;
        for (const ImageMark& mark : marks) {
            hits += mark.hitTest(QPointF(500, 400), 4);
        }
        benchmark::DoNotOptimize(hits);
    }
}
BENCHMARK(hitTestMixedMarks)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
