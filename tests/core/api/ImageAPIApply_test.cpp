#include "api/ImageAPI.h"

#include "imaging/DocumentError.h"

#include "ApiTestSupport.h"

using namespace vellumix;
using namespace vellumix::test;

namespace {

QByteArray repeatedMarks(const QByteArray& mark, int count) {
    return "\"marks\":[" + QByteArrayList(count, mark).join(',') + ']';
}

QImage decoded(const ApiFolder& folder, const QString& name) {
    return QImage(folder.file(name)).convertToFormat(QImage::Format_RGBA8888_Premultiplied);
}

// Every request reads and writes in a folder of its own.
class ImageAPIApply : public testing::Test {
protected:
    ApiFolder folder;
};

} // namespace

// Marks are counted before any is read; a refused request writes nothing.
TEST_F(ImageAPIApply, refusesBadMarkListsAndFormatsBeforeWriting) {
    const QByteArray rectangle = R"({"tool":"rectangle","points":[[1,1],[20,20]]})";
    EXPECT_EQ(ImageAPI::apply(folder.request("ok.png", repeatedMarks(rectangle, 500)))["width"],
              80);
    const QString marks = "marks must be an array of objects", format = "format must be png or jpg";
    const std::tuple<const char*, QByteArray, const char*, QString> cases[] = {
        {"out.png", R"("marks":{})", "invalid_arguments", marks},
        {"out.png", R"("marks":[{},[]])", "invalid_arguments", marks},
        {"out.png", repeatedMarks("{}", 501), "limit", "At most 500 marks"},
        {"noextension", {}, "invalid_arguments", format},
        {"out.gif", {}, "invalid_arguments", format},
        {"out.png.", {}, "invalid_arguments", format},
        {"out.png", R"("format":"webp")", "invalid_arguments", format},
    };
    for (const auto& [output, json, code, message] : cases) {
        expectAPIError([&] { ImageAPI::apply(folder.request(output, json)); }, code, message);
    }
    EXPECT_EQ(folder.entries(), QStringList({"in.png", "ok.png"}));
}

// The input is read first, then the marks, the crop and the output; a
// refused request writes nothing.
TEST_F(ImageAPIApply, reportsTheFirstBadArgumentInReadingOrder) {
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

TEST_F(ImageAPIApply, formatFieldWinsOverTheExtensionAndIsReportedLowerCase) {
    const QJsonObject png = ImageAPI::apply(folder.request("shot.jpg", R"("format":"PNG")"));
    EXPECT_EQ(png["format"], "png");
    EXPECT_TRUE(folder.readBytes("shot.jpg").startsWith("\x89PNG\r\n"));
    const QJsonObject jpeg = ImageAPI::apply(folder.request("photo.JPEG", R"("format":7)"));
    EXPECT_EQ(jpeg["format"], "jpeg");
    EXPECT_TRUE(folder.readBytes("photo.JPEG").startsWith("\xFF\xD8\xFF"));
    EXPECT_EQ(ImageAPI::apply(folder.request("x.Jpg"))["format"], "jpg");
}

// How a crop is widened to whole pixels and refused outside the image is the
// rendering's test; here, that the request's crop reaches it.
TEST_F(ImageAPIApply, cropsTheOutput) {
    EXPECT_EQ(ImageAPI::apply(folder.request("a.png", R"("crop":[10,10,21,20])"))["width"], 21);
    EXPECT_EQ(decoded(folder, "a.png"), ApiFolder::checkerboard(80, 60).copy(10, 10, 21, 20));
}

// An empty mark list writes the source unchanged; the result's fields are
// the command-line tool's test to read.
TEST_F(ImageAPIApply, keepsAnExistingOutputUnlessOverwriteIsTrue) {
    folder.writeBytes("out.gif", "keep me");
    for (const char* overwrite :
         {"", R"("overwrite":false)", R"("overwrite":"true")", R"("overwrite":1)"}) {
        expectAPIError([&] { ImageAPI::apply(folder.request("out.gif", overwrite)); },
                       "file_exists", "Output exists; explicitly set overwrite=true");
    }
    EXPECT_EQ(folder.readBytes("out.gif"), "keep me");
    ImageAPI::apply(folder.request("out.gif", R"("overwrite":true,"format":"png","marks":[])"));
    EXPECT_EQ(decoded(folder, "out.gif"), ApiFolder::checkerboard(80, 60));
    EXPECT_EQ(folder.entries(), QStringList({"in.png", "out.gif"}));
}

TEST_F(ImageAPIApply, pixelateBlursEarlierMarksButNotLaterOnes) {
    ImageAPI::apply(folder.request(
        "out.png", R"("marks":[{"tool":"cover","points":[[0,0],[80,60]],"color":[0,0,1]},)"
                   R"({"tool":"pixelate","points":[[0,0],[40,60]],"thickness":10},)"
                   R"({"tool":"cover","points":[[0,0],[10,10]],"color":[0,1,0]}])"));
    const QImage out = decoded(folder, "out.png");
    EXPECT_EQ(out.pixelColor(5, 5), QColor(0, 255, 0));
    EXPECT_EQ(out.pixelColor(20, 30), QColor(0, 0, 255));
    EXPECT_EQ(out.pixelColor(60, 30), QColor(0, 0, 255));
}
