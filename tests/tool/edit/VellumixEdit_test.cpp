#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ToolRun {
    QByteArray out;
    QByteArray err;
    int exitCode;
};

ToolRun edit(const QByteArray& request) {
    QProcess process;
    process.start(QStringLiteral(VELLUMIX_BINARY_DIR "/tool/VellumixEdit"), {});
    process.write(request);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    return {process.readAllStandardOutput(), process.readAllStandardError(),
            process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1};
}

void expectLine(const QByteArray& request, const QByteArray& line, int exitCode) {
    const ToolRun run = edit(request);
    EXPECT_EQ(run.out, line + '\n');
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.exitCode, exitCode);
}

const QByteArray notAnObject =
    R"({"error":{"code":"invalid_arguments","message":"Expected JSON object"},"ok":false})";

// A request whose only problem is its relative input, padded with spaces.
QByteArray paddedRequest(qsizetype size) {
    QByteArray request = R"({"input":"in.png")";
    request.append(size - request.size() - 1, ' ');
    return request + '}';
}

} // namespace

TEST(VellumixEdit, emptyObjectReportsTheMissingInput) {
    expectLine(
        "{}\n",
        R"({"error":{"code":"invalid_arguments","message":"input must be an absolute path"},)"
        R"("ok":false})",
        1);
}

TEST(VellumixEdit, refusesArraysAndRequestsPastTwoMillionBytes) {
    expectLine("[]", notAnObject, 1);
    expectLine(paddedRequest(2'000'001), notAnObject, 1);
    expectLine(
        paddedRequest(2'000'000),
        R"({"error":{"code":"invalid_arguments","message":"input must be an absolute path"},)"
        R"("ok":false})",
        1);
}

TEST(VellumixEdit, stopsReadingAnEndlessRequestAtTheLimit) {
    QProcess process;
    process.start(QStringLiteral(VELLUMIX_BINARY_DIR "/tool/VellumixEdit"), {});
    const QByteArray chunk(1 << 20, ' ');
    for (int i = 0; i < 3; ++i) {
        process.write(chunk);
    }
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.readAllStandardOutput(), notAnObject + '\n');
    EXPECT_EQ(process.exitCode(), 1);
}

TEST(VellumixEdit, syntaxErrorsScalarsAndDeepNestingAreEditFailures) {
    for (const QByteArray& request : {QByteArray(), QByteArray("42"), QByteArray("{\"a\":}")}) {
        const ToolRun run = edit(request);
        EXPECT_TRUE(run.out.startsWith(R"({"error":{"code":"edit_failed","message":")"))
            << run.out.constData();
        EXPECT_TRUE(run.out.endsWith("\"},\"ok\":false}\n")) << run.out.constData();
        EXPECT_EQ(run.out.count('\n'), 1);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.exitCode, 1);
    }
}

TEST(VellumixEdit, writesTheImageAndASortedResultWithEscapedSlashes) {
    QTemporaryDir dir;
    QImage source(800, 600, QImage::Format_RGB32);
    source.fill(Qt::darkCyan);
    source.save(dir.filePath("in.png"));
    const QByteArray output = dir.filePath("out.png").toUtf8();
    const QByteArray request = R"({"input":")" + dir.filePath("in.png").toUtf8() +
                               R"(","output":")" + output +
                               R"(","marks":[{"tool":"text","points":[[5,5]],"text":"Hi"}]})";
    QByteArray escaped = output;
    escaped.replace("/", "\\/");
    expectLine(request,
               R"({"ok":true,"result":{"format":"png","height":600,"path":")" + escaped +
                   R"(","width":800}})",
               0);
    EXPECT_EQ(QImage(QString::fromUtf8(output)).size(), QSize(800, 600));
    expectLine(request,
               R"({"error":{"code":"file_exists","message":"Output exists; explicitly set )"
               R"(overwrite=true"},"ok":false})",
               1);
}

TEST(VellumixEdit, unreadableImagesAndWriteFailuresSayNothingOnStandardError) {
    QTemporaryDir dir;
    QFile broken(dir.filePath("broken.png"));
    broken.open(QIODevice::WriteOnly);
    broken.write(QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(64, '\x07'));
    broken.close();
    expectLine(R"({"input":")" + broken.fileName().toUtf8() + R"(","output":"/x.png"})",
               R"({"error":{"code":"invalid_image","message":"Invalid image or pixel limit )"
               R"(exceeded"},"ok":false})",
               1);
    QImage(4, 4, QImage::Format_RGB32).save(dir.filePath("in.png"));
    const ToolRun run = edit(R"({"input":")" + dir.filePath("in.png").toUtf8() + R"(","output":")" +
                             dir.filePath("no/such/dir.png").toUtf8() + "\"}");
    EXPECT_TRUE(run.out.startsWith(R"({"error":{"code":"edit_failed","message":")"));
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.exitCode, 1);
}
