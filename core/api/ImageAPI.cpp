#include "api/ImageAPI.h"

#include "api/APIError.h"
#include "api/MarkReader.h"
#include "api/OutputFile.h"
#include "imaging/EditedImage.h"
#include "imaging/PngFastReader.h"

#include "imaging/DocumentError.h"

#include <QColorSpace>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QJsonArray>
#include <QtEndian>

#include <algorithm>
#include <cmath>

namespace vellumix::ImageAPI {

namespace {

// The decoder may allocate at most what the largest allowed image needs in
// the format it decodes to (eight bytes a pixel for 16-bit channels, never
// less than four), in its whole-megabyte unit rounded up; that also bounds
// what a header that lies about its size could make it allocate.
int allocationLimitMegabytes(const QImageReader& reader) {
    const qint64 bytesPerPixel =
        std::max(4, QImage::toPixelFormat(reader.imageFormat()).bitsPerPixel() / 8);
    return int((maximumPixels * bytesPerPixel + (1 << 20) - 1) / (1 << 20));
}

[[noreturn]] void invalidImage() {
    throw APIError(QStringLiteral("invalid_image"),
                   QStringLiteral("Invalid image or pixel limit exceeded"));
}

bool withinLimits(QSize size) {
    return size.width() >= 1 && size.height() >= 1 && size.width() <= maximumSide &&
           size.height() <= maximumSide && qint64(size.width()) * size.height() <= maximumPixels;
}

// A PNG file of the largest allowed image, even one that does not compress,
// is smaller than this; larger files go to Qt's reader, which refuses them.
constexpr qint64 largestPng = maximumPixels * 4 + (1 << 20);

// PNG files, most inputs, take the fast reader, tagged with the colour space
// Qt's reader would give them: their ICC profile's, else sRGB's when they
// say so, else none. Files that describe their colours by gamma and
// primaries alone are left to Qt's reader, which builds a colour space from
// those.
std::optional<QImage> loadPng(const QString& file) {
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly) || input.size() > largestPng) {
        return std::nullopt;
    }
    // The signature, then the header chunk with the size.
    const QByteArray head = input.peek(24);
    static constexpr char start[] = "\x89PNG\r\n\x1a\n\0\0\0\x0d"
                                    "IHDR";
    if (head.size() < 24 || !head.startsWith(QByteArrayView(start, sizeof start - 1))) {
        return std::nullopt;
    }
    if (!withinLimits(QSize(qFromBigEndian<qint32>(head.constData() + 16),
                            qFromBigEndian<qint32>(head.constData() + 20)))) {
        invalidImage();
    }
    PngColourChunks notes;
    std::optional<QImage> image;
    try {
        image = readPngFast(input.readAll(), &notes);
    } catch (const DocumentError&) {
        invalidImage();
    }
    if (!image) {
        return std::nullopt;
    }
    const QColorSpace profile =
        notes.iccProfile.isEmpty() ? QColorSpace() : QColorSpace::fromIccProfile(notes.iccProfile);
    if (!profile.isValid() && notes.gammaOrPrimaries && !notes.srgb) {
        return std::nullopt;
    }
    image->setColorSpace(profile.isValid() ? profile
                         : notes.srgb      ? QColorSpace(QColorSpace::SRgb)
                                           : QColorSpace());
    return image;
}

QJsonArray readMarkArray(const QJsonObject& args) {
    if (!args.contains(QLatin1String("marks"))) {
        return {};
    }
    const QJsonValue value = args.value(QLatin1String("marks"));
    const QJsonArray marks = value.toArray();
    if (!value.isArray() || !std::all_of(marks.begin(), marks.end(),
                                         [](const QJsonValue& m) { return m.isObject(); })) {
        throw APIError(QStringLiteral("invalid_arguments"),
                       QStringLiteral("marks must be an array of objects"));
    }
    if (marks.size() > maximumMarks) {
        throw APIError(QStringLiteral("limit"), QStringLiteral("At most 500 marks"));
    }
    return marks;
}

QString chosenFormat(const QJsonObject& args, const QString& output) {
    const QJsonValue format = args.value(QLatin1String("format"));
    return (format.isString() ? format.toString() : QFileInfo(output).suffix()).toLower();
}

} // namespace

// A NUL would cut the name the file system sees and a lone surrogate would
// be replaced on encoding: either way another file than the one named.
QString path(const QJsonObject& args, const QString& key) {
    const QJsonValue value = args.value(key);
    const QString text = value.toString();
    if (!value.isString() || !text.startsWith(QLatin1Char('/')) || text.contains(QChar(0)) ||
        !text.isValidUtf16()) {
        throw APIError(QStringLiteral("invalid_arguments"), key + " must be an absolute path");
    }
    return text;
}

QImage load(const QString& file) {
    if (const std::optional<QImage> png = loadPng(file)) {
        return *png;
    }
    QImageReader reader(file);
    reader.setAutoTransform(false);
    if (!withinLimits(reader.size())) {
        invalidImage();
    }
    QImageReader::setAllocationLimit(allocationLimitMegabytes(reader));
    QImage image = reader.read();
    if (image.isNull() || !withinLimits(image.size())) {
        invalidImage();
    }
    return image;
}

QRectF rect(const QJsonValue& value) {
    const QJsonArray array = value.toArray();
    const bool numbers = value.isArray() && array.size() == 4 &&
                         std::all_of(array.begin(), array.end(), [](const QJsonValue& v) {
                             return v.isDouble() && std::isfinite(v.toDouble());
                         });
    if (!numbers || array[0].toDouble() < 0 || array[1].toDouble() < 0 ||
        array[2].toDouble() <= 0 || array[3].toDouble() <= 0) {
        throw APIError(QStringLiteral("invalid_arguments"),
                       QStringLiteral("rect/crop must be [x,y,width,height]"));
    }
    return {array[0].toDouble(), array[1].toDouble(), array[2].toDouble(), array[3].toDouble()};
}

QJsonObject save(const QImage& image, const QJsonObject& args) {
    const QString output = path(args, QStringLiteral("output"));
    const bool overwrite = args.value(QLatin1String("overwrite")) == QJsonValue(true);
    if (!overwrite && QFileInfo::exists(output)) {
        throw APIError(QStringLiteral("file_exists"),
                       QStringLiteral("Output exists; explicitly set overwrite=true"));
    }
    const QString format = chosenFormat(args, output);
    QByteArray bytes;
    if (format == QLatin1String("png")) {
        bytes = EditedImage::png(image);
    } else if (format == QLatin1String("jpg") || format == QLatin1String("jpeg")) {
        bytes = EditedImage::jpeg(image, jpegQuality);
    } else {
        throw APIError(QStringLiteral("invalid_arguments"),
                       QStringLiteral("format must be png or jpg"));
    }
    OutputFile::write(output, bytes, overwrite);
    return {{QStringLiteral("format"), format},
            {QStringLiteral("height"), image.height()},
            {QStringLiteral("path"), output},
            {QStringLiteral("width"), image.width()}};
}

namespace {

// The source is out of use once drawn, so its memory serves the encoder.
QImage rendered(const QJsonObject& args) {
    const QImage source = load(path(args, QStringLiteral("input")));
    const QJsonArray markObjects = readMarkArray(args);
    QVector<ImageMark> marks;
    marks.reserve(markObjects.size());
    for (const QJsonValue& mark : markObjects) {
        marks.append(MarkReader::read(mark.toObject(), source, marks));
    }
    std::optional<QRectF> crop;
    if (args.contains(QLatin1String("crop"))) {
        crop = rect(args.value(QLatin1String("crop")));
    }
    return EditedImage::render(source, marks, crop);
}

} // namespace

QJsonObject apply(const QJsonObject& args) {
    return save(rendered(args), args);
}

} // namespace vellumix::ImageAPI
