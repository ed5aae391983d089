#include "api/APIError.h"
#include "api/ImageAPI.h"

#include "FuzzApplication.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

using namespace vellumix;

// Any bytes as an image file: loading either fails with the image error or
// yields an image within the pixel limits.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ensureApplication();
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("input"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::abort();
    }
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();
    try {
        const QImage image = ImageAPI::load(path);
        const qint64 pixels = qint64(image.width()) * image.height();
        if (image.isNull() || image.width() > ImageAPI::maximumSide ||
            image.height() > ImageAPI::maximumSide || pixels > ImageAPI::maximumPixels) {
            std::abort();
        }
    } catch (const APIError& error) {
        if (error.code() != QLatin1String("invalid_image")) {
            std::abort();
        }
    }
    return 0;
}
