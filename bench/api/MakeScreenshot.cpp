#include "common/ScreenshotCorpus.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>

// Writes a screenshot-like PNG, or every image of the screenshot corpus into
// a folder as <name>.png:
//   make-screenshot <file> [width height]
//   make-screenshot --corpus <folder>
int main(int argc, char** argv) {
    const bool corpus = argc == 3 && std::strcmp(argv[1], "--corpus") == 0;
    if (!corpus && argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: %s <file.png> [width height] | --corpus <folder>\n", argv[0]);
        return 2;
    }
    QGuiApplication application(argc, argv);
    if (corpus) {
        const QDir folder(QString::fromLocal8Bit(argv[2]));
        for (const vellumix::bench::CorpusImage& image : vellumix::bench::corpusImages) {
            const QString file = folder.filePath(QString::fromLatin1(image.name) + ".png");
            if (!image.make().save(file, "PNG")) {
                return 1;
            }
        }
        return 0;
    }
    const int width = argc == 4 ? std::atoi(argv[2]) : 3840;
    const int height = argc == 4 ? std::atoi(argv[3]) : 2160;
    const QImage image = vellumix::bench::makeScreenshotLike(width, height);
    return image.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
