#include "shell/ImageOpening.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vellumix;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes); // opened by the writer
    EXPECT_TRUE(image.save(&buffer, format));
    return bytes;
}

} // namespace

TEST(ImageOpening, contentDecidesAndImagesPastTheInclusiveLimitsAreRefused) {
    QTemporaryDir dir;
    QImage red(40, 30, QImage::Format_RGB32);
    red.fill(Qt::red);
    // The file's name, its bytes, whether it opens.
    const std::tuple<const char*, QByteArray, bool> cases[] = {
        {"png-named.jpg", encoded(red, "png"), true},
        {"jpeg-named.png", encoded(red, "jpeg"), true},
        {"gif-named.png", QByteArray("GIF89a\x01\x00\x01\x00\x00\x00\x00;", 14), false},
        {"bitmap.png", encoded(red, "bmp"), false},
        {"text.png", "not an image", false},
        {"wide.png", encoded(QImage(30001, 10, QImage::Format_Grayscale8), "png"), false},
        {"empty.png", QByteArray(), false},
    };
    for (const auto& [name, bytes, opens] : cases) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        writeFile(path, bytes);
        const std::optional<QImage> image = imageopening::readFile(path);
        ASSERT_EQ(image.has_value(), opens) << name;
        if (image) {
            EXPECT_EQ(image->size(), QSize(40, 30)) << name;
            EXPECT_EQ(image->format(), QImage::Format_RGBA8888_Premultiplied);
        }
    }
    EXPECT_FALSE(imageopening::readFile(dir.filePath(QStringLiteral("missing.png"))));
    // The limits are inclusive; wide.png is refused past the width.
    EXPECT_TRUE(imageopening::withinLimits(QSize(30000, 3000)));
    EXPECT_TRUE(imageopening::withinLimits(QSize(10000, 9000)));
    EXPECT_FALSE(imageopening::withinLimits(QSize(10000, 9001)));
    EXPECT_FALSE(imageopening::withinLimits(QSize(0, 10)));
}
