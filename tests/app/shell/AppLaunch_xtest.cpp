// The Vellumix program itself under a real X server and window manager
// without a tray: it shows its editor window, opens files, hands a second
// launch's file to the first, answers Ctrl+W and Ctrl+Q, and leaves a copied
// image on the clipboard for other programs.

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Runs a helper program to its end and answers what it printed.
QByteArray run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(10000);
    return process.readAllStandardOutput();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString visibleEditorWindow() {
    return QString::fromLatin1(run("xdotool", {"search", "--onlyvisible", "--name", "^Vellumix$"}))
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
        .value(0);
}

class AppLaunchTest : public ::testing::Test {
public:
    AppLaunchTest() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"}) {
            environment.insert(QString::fromLatin1(name), home.filePath(QString::fromLatin1(name)));
        }
        // The program's own leaks are the unit tests' business; here system
        // libraries' allocations at exit must not change its exit status.
        environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        m_environment = environment;
    }

    QString image(const char* name, QColor colour) {
        QImage picture(120, 80, QImage::Format_RGB32);
        picture.fill(colour);
        const QString path = home.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(picture.save(path, "PNG"));
        return path;
    }
    void launch(QProcess& process, const QStringList& files) {
        process.setProcessEnvironment(m_environment);
        process.start(QStringLiteral(VELLUMIX_APP), files);
        ASSERT_TRUE(process.waitForStarted());
    }
    void keys(const QString& window, const QString& chord) {
        run("xdotool", {"windowactivate", "--sync", window, "key", chord});
    }
    QImage clipboardImage() {
        return QImage::fromData(run("xclip", {"-selection", "clipboard", "-t", "image/png", "-o"}),
                                "PNG");
    }

    QTemporaryDir home;
    QProcess first;

private:
    QProcessEnvironment m_environment;
};

TEST_F(AppLaunchTest, windowOpensFilesTakesASecondLaunchsFileAndAnswersItsKeys) {
    launch(first, {image("orange.png", QColor(255, 160, 0))});
    QString window;
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !(window = visibleEditorWindow()).isEmpty(); }, 15000));

    // Restarted with its thread limit, the program keeps its name and argv[0].
    const QString proc = QStringLiteral("/proc/%1/").arg(first.processId());
    EXPECT_EQ(readFile(proc + "comm"), "Vellumix\n");
    EXPECT_TRUE(readFile(proc + "cmdline").startsWith(QByteArray(VELLUMIX_APP) + '\0'));

    // A second launch hands its file over and ends at once.
    QProcess second;
    launch(second, {image("blue.png", QColor(0, 80, 255))});
    ASSERT_TRUE(second.waitForFinished(15000));
    EXPECT_EQ(second.exitCode(), 0);

    // What the editor shows now is the forwarded image: its copy reaches
    // another X client.
    QImage copied;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            keys(window, QStringLiteral("ctrl+c"));
            copied = clipboardImage();
            return !copied.isNull() && copied.pixelColor(60, 40) == QColor(0, 80, 255);
        },
        15000));
    EXPECT_EQ(copied.size(), QSize(120, 80));

    keys(window, QStringLiteral("ctrl+w"));
    EXPECT_TRUE(QTest::qWaitFor([] { return visibleEditorWindow().isEmpty(); }, 15000));

    // A file given to the hidden app brings its window back.
    QProcess third;
    launch(third, {image("green.png", QColor(0, 160, 60))});
    ASSERT_TRUE(third.waitForFinished(15000));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !(window = visibleEditorWindow()).isEmpty(); }, 15000));
    keys(window, QStringLiteral("ctrl+q"));
    ASSERT_TRUE(first.waitForFinished(15000));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0);
}

} // namespace
