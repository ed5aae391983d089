#include "api/ImageAPI.h"

#include "api/FileError.h"
#include "imaging/DocumentError.h"

#include "ApiTestSupport.h"

#include <QImageReader>

using namespace vellumix;
using namespace vellumix::test;

namespace {

const QByteArray rectangle = R"({"tool":"rectangle","points":[[1,1],[20,20]]})";

QByteArray repeatedMarks(const QByteArray& mark, int count) {
    QByteArray marks = "\"marks\":[" + mark;
    for (int i = 1; i < count; ++i) {
        marks += ',' + mark;
    }
    return marks + ']';
}

QImage decoded(const ApiFolder& folder, const QString& name) {
    return QImage(folder.file(name)).convertToFormat(QImage::Format_RGBA8888_Premultiplied);
}

} // namespace

TEST(ImageAPIApply, writesTheSourceUnchangedWithoutMarksOrWithAnEmptyList) {
    ApiFolder folder;
    const QJsonObject result = ImageAPI::apply(folder.request("a.png"));
    EXPECT_EQ(
        result,
        QJsonObject(
            {{"format", "png"}, {"height", 60}, {"path", folder.file("a.png")}, {"width", 80}}));
    ImageAPI::apply(folder.request("b.png", R"("marks":[])"));
    EXPECT_EQ(decoded(folder, "a.png"), ApiFolder::checkerboard(80, 60));
    EXPECT_EQ(decoded(folder, "b.png"), ApiFolder::checkerboard(80, 60));
}

// The name the file system would see is not the one given: nothing is
// written, and a later request for the shorter name still finds it free.
TEST(ImageAPIApply, refusesPathsWithANulOrALoneSurrogate) {
    ApiFolder folder;
    const QString nul = folder.file("x.png") + QChar(0) + QStringLiteral(".jpg");
    const QString surrogate = folder.file("y") + QChar(0xd800) + QStringLiteral(".png");
    for (const QString& bad : {nul, surrogate}) {
        QJsonObject output = folder.request("out.png");
        output["output"] = bad;
        expectAPIError([&] { ImageAPI::apply(output); }, "invalid_arguments",
                       "output must be an absolute path");
        QJsonObject input = folder.request("out.png");
        input["input"] = bad;
        expectAPIError([&] { ImageAPI::apply(input); }, "invalid_arguments",
                       "input must be an absolute path");
    }
    EXPECT_EQ(folder.entries(), QStringList({"in.png"}));
}

TEST(ImageAPIApply, refusesMarksThatAreNotAnArrayOfObjects) {
    ApiFolder folder;
    for (const char* marks : {R"("marks":null)", R"("marks":{})", R"("marks":[{},[]])"}) {
        expectAPIError([&] { ImageAPI::apply(folder.request("out.png", marks)); },
                       "invalid_arguments", "marks must be an array of objects");
    }
}

TEST(ImageAPIApply, acceptsFiveHundredMarksAndRefusesMoreBeforeReadingAny) {
    ApiFolder folder;
    EXPECT_EQ(ImageAPI::apply(folder.request("out.png", repeatedMarks(rectangle, 500)))["width"],
              80);
    expectAPIError([&] { ImageAPI::apply(folder.request("x.png", repeatedMarks("{}", 501))); },
                   "limit", "At most 500 marks");
}

// The input is read first, then the marks, the crop and the output; a
// refused request writes nothing.
TEST(ImageAPIApply, reportsTheFirstBadArgumentInReadingOrder) {
    ApiFolder folder;
    QJsonObject args = object(R"({"input":"in.png","marks":5,"crop":null,"output":"o"})");
    expectAPIError([&] { ImageAPI::apply(args); }, "invalid_arguments",
                   "input must be an absolute path");
    args["input"] = folder.file("missing.png");
    expectAPIError([&] { ImageAPI::apply(args); }, "invalid_image",
                   "Invalid image or pixel limit exceeded");
    args["input"] = folder.file("in.png");
    expectAPIError([&] { ImageAPI::apply(args); }, "invalid_arguments",
                   "marks must be an array of objects");
    args["marks"] = object(R"({"m":[{"tool":"pen","points":[[1,1]]}]})")["m"];
    expectAPIError([&] { ImageAPI::apply(args); }, "invalid_arguments", "Tool requires two points");
    args.remove("marks");
    expectAPIError([&] { ImageAPI::apply(args); }, "invalid_arguments",
                   "rect/crop must be [x,y,width,height]");
    args.remove("crop");
    expectAPIError([&] { ImageAPI::apply(args); }, "invalid_arguments",
                   "output must be an absolute path");
    EXPECT_EQ(folder.entries(), QStringList({"in.png"}));
}

TEST(ImageAPIApply, cropsTheOutputAndWritesNothingForACropOutsideTheImage) {
    ApiFolder folder;
    const QJsonObject widened =
        ImageAPI::apply(folder.request("a.png", R"("crop":[10.4,10.6,20.0,19.8])"));
    EXPECT_EQ(widened["width"], 21);
    EXPECT_EQ(decoded(folder, "a.png"), ApiFolder::checkerboard(80, 60).copy(10, 10, 21, 21));
    EXPECT_THROW(ImageAPI::apply(folder.request("c.png", R"("crop":[90,0,10,10])")), DocumentError);
    EXPECT_FALSE(QFile::exists(folder.file("c.png")));
}

TEST(ImageAPIApply, formatFieldWinsOverTheExtensionAndIsReportedLowerCase) {
    ApiFolder folder;
    const QJsonObject png = ImageAPI::apply(folder.request("shot.jpg", R"("format":"PNG")"));
    EXPECT_EQ(png["format"], "png");
    EXPECT_TRUE(folder.readBytes("shot.jpg").startsWith("\x89PNG\r\n"));
    const QJsonObject jpeg = ImageAPI::apply(folder.request("photo.JPEG", R"("format":7)"));
    EXPECT_EQ(jpeg["format"], "jpeg");
    EXPECT_TRUE(folder.readBytes("photo.JPEG").startsWith("\xFF\xD8\xFF"));
    QImageReader reader(folder.file("photo.JPEG"));
    EXPECT_EQ(reader.format(), "jpeg");
    EXPECT_EQ(reader.size(), QSize(80, 60));
    EXPECT_EQ(ImageAPI::apply(folder.request("x.Jpg"))["format"], "jpg");
}

TEST(ImageAPIApply, refusesFormatsOtherThanPngAndJpeg) {
    ApiFolder folder;
    for (const char* output : {"noextension", "out.gif", "out.png."}) {
        expectAPIError([&] { ImageAPI::apply(folder.request(output)); }, "invalid_arguments",
                       "format must be png or jpg");
    }
    expectAPIError([&] { ImageAPI::apply(folder.request("out.png", R"("format":"webp")")); },
                   "invalid_arguments", "format must be png or jpg");
    EXPECT_EQ(folder.entries(), QStringList({"in.png"}));
}

TEST(ImageAPIApply, keepsAnExistingOutputUnlessOverwriteIsTrue) {
    ApiFolder folder;
    folder.writeBytes("out.gif", "keep me");
    for (const char* overwrite :
         {"", R"("overwrite":false)", R"("overwrite":"true")", R"("overwrite":1)"}) {
        expectAPIError([&] { ImageAPI::apply(folder.request("out.gif", overwrite)); },
                       "file_exists", "Output exists; explicitly set overwrite=true");
    }
    EXPECT_EQ(folder.readBytes("out.gif"), "keep me");
    ImageAPI::apply(folder.request("out.gif", R"("overwrite":true,"format":"png")"));
    EXPECT_EQ(decoded(folder, "out.gif"), ApiFolder::checkerboard(80, 60));
    EXPECT_EQ(folder.entries(), QStringList({"in.png", "out.gif"}));
}

TEST(ImageAPIApply, pixelateBlursEarlierMarksButNotLaterOnes) {
    ApiFolder folder;
    ImageAPI::apply(folder.request(
        "out.png", R"("marks":[{"tool":"cover","points":[[0,0],[80,60]],"color":[0,0,1]},)"
                   R"({"tool":"pixelate","points":[[0,0],[40,60]],"thickness":10},)"
                   R"({"tool":"cover","points":[[0,0],[10,10]],"color":[0,1,0]}])"));
    const QImage out = decoded(folder, "out.png");
    EXPECT_EQ(out.pixelColor(5, 5), QColor(0, 255, 0));
    EXPECT_EQ(out.pixelColor(20, 30), QColor(0, 0, 255));
    EXPECT_EQ(out.pixelColor(60, 30), QColor(0, 0, 255));
}
