#include "common/ScreenshotLike.h"

#include <QGuiApplication>

#include <cstdio>

// Writes a screenshot-like PNG: make-screenshot <file> [width height].
int main(int argc, char** argv) {
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: %s <file.png> [width height]\n", argv[0]);
        return 2;
    }
    const int width = argc == 4 ? std::atoi(argv[2]) : 3840;
    const int height = argc == 4 ? std::atoi(argv[3]) : 2160;
    QGuiApplication application(argc, argv);
    const QImage image = vellumix::bench::makeScreenshotLike(width, height);
    return image.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
