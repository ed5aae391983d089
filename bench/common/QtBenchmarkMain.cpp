#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>

// Google Benchmark's main with a QApplication around it (the app's widgets
// need one, and it serves image-only benchmarks as well); without a display
// the offscreen platform is used.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
