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

ToolRun edit(const QByteArray& request, bool endInput = true) {
    QProcess process;
    process.start(QStringLiteral(VELLUMIX_BINARY_DIR "/tool/VellumixEdit"), {});
    process.write(request);
    if (endInput) {
        process.closeWriteChannel();
    }
    process.waitForFinished(60000);
    return {process.readAllStandardOutput(), process.readAllStandardError(),
            process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1};
}

QByteArray failure(const char* code, const QByteArray& message) {
    return R"({"error":{"code":")" + QByteArray(code) + R"(","message":")" + message +
           R"("},"ok":false})" + '\n';
}

const QByteArray notAnObject = failure("invalid_arguments", "Expected JSON object");

// A request whose only problem is its relative input, padded with spaces.
QByteArray paddedRequest(qsizetype size) {
    QByteArray request = R"({"input":"in.png")";
    request.append(size - request.size() - 1, ' ');
    return request + '}';
}

QByteArray request(const QString& input, const QString& output, const QByteArray& rest = {}) {
    return R"({"input":")" + input.toUtf8() + R"(","output":")" + output.toUtf8() + '"' + rest +
           '}';
}

} // namespace

// Every failure is one line on standard output and exit code 1; warnings of
// Qt or a decoder never reach standard error.
TEST(VellumixEdit, failuresAreOneLineOnStandardOutputWithExitCodeOne) {
    QTemporaryDir dir;
    QFile broken(dir.filePath("broken.png"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write(QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(64, '\x07'));
    broken.close();
    // Input, line, whether the input ends: without its end the tool answers
    // only if it stops reading by itself.
    const std::tuple<QByteArray, QByteArray, bool> cases[] = {
        {"[]", notAnObject, true},
        {QByteArray(3 << 20, ' '), notAnObject, false},
        {paddedRequest(2'000'001), notAnObject, true},
        {paddedRequest(2'000'000), failure("invalid_arguments", "input must be an absolute path"),
         true},
        {"", failure("edit_failed", "value expected at offset 0"), true},
        {request(broken.fileName(), "/x.png"),
         failure("invalid_image", "Invalid image or pixel limit exceeded"), true},
    };
    for (const auto& [input, line, ends] : cases) {
        const ToolRun run = edit(input, ends);
        EXPECT_EQ(run.out, line) << input.left(80).constData();
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.exitCode, 1);
    }
}

TEST(VellumixEdit, writesTheImageAndASortedResultWithEscapedSlashes) {
    QTemporaryDir dir;
    QImage source(800, 600, QImage::Format_RGB32);
    source.fill(Qt::darkCyan);
    source.save(dir.filePath("in.png"));
    const QString output = dir.filePath("out.png");
    const ToolRun run = edit(request(dir.filePath("in.png"), output,
                                     R"(,"marks":[{"tool":"text","points":[[5,5]],"text":"Hi"}])"));
    QByteArray escaped = output.toUtf8();
    escaped.replace("/", "\\/");
    EXPECT_EQ(run.out, R"({"ok":true,"result":{"format":"png","height":600,"path":")" + escaped +
                           R"(","width":800}})" + '\n');
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(QImage(output).size(), QSize(800, 600));
}
