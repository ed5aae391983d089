#include "api/ImageAPI.h"

#include "ApiTestSupport.h"

#include <QColorSpace>
#include <QImageReader>

using namespace vellumix;
using namespace vellumix::test;

namespace {

const QString invalidImage = QStringLiteral("Invalid image or pixel limit exceeded");

// One bit per pixel keeps limit-sized sources a few megabytes in memory and
// a few kilobytes on disk.
QString writeBlankImage(const ApiFolder& folder, int width, int height) {
    QImage image(width, height, QImage::Format_Mono);
    image.fill(0);
    return folder.writeImage(QStringLiteral("%1x%2.png").arg(width).arg(height), image);
}

} // namespace

// Decoded at eight bytes a pixel, twice what an 8-bit image needs.
TEST(ImageAPILoad, loadsASixteenBitImageAtTheAreaLimit) {
    ApiFolder folder;
    QImage deep(30000, 3000, QImage::Format_RGBX64);
    deep.fill(QColor(10, 200, 30));
    const QString file = folder.writeImage(QStringLiteral("deep.png"), deep);
    deep = QImage();
    const QImage image = ImageAPI::load(file);
    EXPECT_EQ(image.size(), QSize(30000, 3000));
    EXPECT_EQ(image.pixelColor(29999, 2999).rgb(), qRgb(10, 200, 30));
}

TEST(ImageAPILoad, refusesUnreadableFilesAndImagesPastTheLimitsFromTheirHeader) {
    ApiFolder folder;
    const QString files[] = {
        folder.file("missing.png"),
        folder.writeBytes("empty.png", {}),
        folder.writeBytes("text.png", "not an image"),
        folder.writeBytes("header-only.png", folder.readBytes("in.png").left(40)),
        writeBlankImage(folder, 30000, 3001),
        writeBlankImage(folder, 30001, 1),
        writeBlankImage(folder, 1, 30001),
    };
    for (const QString& file : files) {
        expectAPIError([&] { ImageAPI::load(file); }, "invalid_image", invalidImage);
    }
}

// A NUL or a lone surrogate would make the file system see another name.
TEST(ImageAPIPath, acceptsOnlyStringsStartingWithASlash) {
    QJsonObject args = object(R"({"a":"/x/../y","b":"x/y","c":5,"d":null,"e":""})");
    args["f"] = QStringLiteral("/x.png") + QChar(0) + QStringLiteral(".jpg");
    args["g"] = QStringLiteral("/y") + QChar(0xd800) + QStringLiteral(".png");
    EXPECT_EQ(ImageAPI::path(args, "a"), "/x/../y");
    for (const char* key : {"b", "c", "d", "e", "f", "g", "missing"}) {
        expectAPIError([&] { ImageAPI::path(args, key); }, "invalid_arguments",
                       QString::fromLatin1(key) + " must be an absolute path");
    }
}

TEST(ImageAPIRect, readsFourFiniteNumbersWithPositiveSize) {
    EXPECT_EQ(ImageAPI::rect(object(R"({"r":[0,1.5,2,3]})")["r"]), QRectF(0, 1.5, 2, 3));
    const char* bad[] = {R"({"r":[0,0,0,10]})", R"({"r":[0,0,10,-1]})", R"({"r":[-1,0,5,5]})",
                         R"({"r":[0,0,5]})",    R"({"r":[0,0,5,5,5]})", R"({"r":[0,"0",5,5]})",
                         R"({"r":null})",       R"({"r":"0,0,5,5"})",   R"({})"};
    for (const char* json : bad) {
        expectAPIError([&] { ImageAPI::rect(object(json)["r"]); }, "invalid_arguments",
                       "rect/crop must be [x,y,width,height]");
    }
}

// PNG files take the fast reader, whatever their name; they must come out as
// Qt's reader gives them, colour space included, whether the file names an
// ICC profile, gamma and primaries (from ImageMagick), or nothing.
TEST(ImageAPILoad, pngFilesKeepTheColourSpaceQtsReaderGives) {
    ApiFolder folder;
    const QImage checkerboard = ApiFolder::checkerboard(9, 7);
    QStringList files = {
        QStringLiteral(VELLUMIX_SOURCE_DIR "/tests/core/imaging/png-corpus/im-rgb-q95.png")};
    for (const QColorSpace& space :
         {QColorSpace(), QColorSpace(QColorSpace::SRgb), QColorSpace(QColorSpace::DisplayP3)}) {
        QImage image = checkerboard;
        image.setColorSpace(space);
        files.append(folder.writeImage(QString::number(files.size()) + ".jpg", image));
    }
    for (const QString& file : files) {
        const QImage expected = QImageReader(file).read();
        const QImage loaded = ImageAPI::load(file);
        EXPECT_EQ(loaded.colorSpace(), expected.colorSpace()) << file.toStdString();
        EXPECT_EQ(loaded.convertToFormat(QImage::Format_ARGB32),
                  expected.convertToFormat(QImage::Format_ARGB32));
    }
}
