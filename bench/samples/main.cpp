// Writes sample images of the system's looks into the folder given as the
// only argument, so a person can judge them.
#include "MarkSamples.h"
#include "imaging/EditedImage.h"
#include "imaging/StylePreview.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <exception>
#include <functional>

namespace {

struct SampleWriter {
    const char* fileName;
    std::function<QImage()> render;
};

QImage stylePreview() {
    return vellumix::StylePreview::make().picture;
}

// The preview as an editor shows it, its demonstration marks drawn over it.
QImage stylePreviewMarked() {
    const vellumix::StylePreview::Sample sample = vellumix::StylePreview::make();
    return vellumix::EditedImage::render(sample.picture, sample.marks);
}

const SampleWriter writers[] = {
    {"marks.png", vellumix::samples::markSheet},
    {"style-preview.png", stylePreview},
    {"style-preview-marked.png", stylePreviewMarked},
};

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vellumix-samples OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    int status = 0;
    for (const SampleWriter& writer : writers) {
        const QString path = folder.filePath(QString::fromLatin1(writer.fileName));
        try {
            if (!writer.render().save(path, "PNG")) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                status = 1;
            }
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s: %s\n", writer.fileName, error.what());
            status = 1;
        }
    }
    return status;
}
