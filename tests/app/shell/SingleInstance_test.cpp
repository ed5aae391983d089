#include "shell/SingleInstance.h"

#include "fakes/Awaited.h"
#include "fakes/WidgetTestApp.h"

#include <QFile>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtConcurrent>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace vellumix;

namespace {

// The second launch blocks while it hands over, so it runs on another thread
// and the first instance answers from this thread's event loop.
bool forwardFromAnotherLaunch(const QString& folder, const LaunchRequest& request) {
    QFuture<bool> done = QtConcurrent::run([folder, request] {
        SingleInstance second(folder);
        return !second.claim() && second.forward(request);
    });
    return awaited(done).result();
}

} // namespace

// The first launch claims over a socket left by a crashed instance.
TEST(SingleInstance, secondLaunchHandsItsCaptureFilesOrReopenToTheFirst) {
    QTemporaryDir folder;
    QFile stale(folder.filePath(QStringLiteral("vellumix.socket")));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    SingleInstance first(folder.path());
    ASSERT_TRUE(first.claim()) << first.error().toStdString();
    QSignalSpy received(&first, &SingleInstance::requestReceived);

    const LaunchRequest requests[] = {
        {false, {QStringLiteral("/tmp/a b.png"), QStringLiteral("/tmp/ü.jpg")}},
        {true, {}},
        {false, {}},
    };
    for (const LaunchRequest& request : requests) {
        EXPECT_TRUE(forwardFromAnotherLaunch(folder.path(), request));
        ASSERT_FALSE(received.isEmpty());
        EXPECT_EQ(received.takeFirst().at(0).value<LaunchRequest>(), request);
    }
    // A line from another program (or an older Vellumix) is refused.
    QLocalSocket socket;
    socket.connectToServer(folder.filePath(QStringLiteral("vellumix.socket")));
    socket.write("[\"/tmp/old-style.png\"]\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return socket.bytesAvailable() > 0; }, 5000));
    EXPECT_EQ(socket.read(1), "0");
    EXPECT_TRUE(received.isEmpty());
}

TEST(LaunchRequest, argumentsAskForACaptureFilesOrNothingAndBadOnesAreRefused) {
    const QDir current(QStringLiteral("/home/u/shots"));
    // Arguments, the request, the first line of the refusal or null.
    const std::tuple<QStringList, LaunchRequest, const char*> cases[] = {
        {{}, {}, nullptr},
        {{"--capture"}, {true, {}}, nullptr},
        {{"a.png", "/tmp/b.jpg"}, {false, {"/home/u/shots/a.png", "/tmp/b.jpg"}}, nullptr},
        {{"--", "--capture"}, {false, {"/home/u/shots/--capture"}}, nullptr},
        {{"--capture", "a.png"}, {}, "--capture opens no files."},
        {{"--captur"}, {}, "Unknown option --captur."},
    };
    for (const auto& [arguments, expected, error] : cases) {
        const std::string name = arguments.join(QLatin1Char(' ')).toStdString();
        try {
            const LaunchRequest request = LaunchRequest::fromArguments(arguments, current);
            EXPECT_EQ(error, nullptr) << name;
            EXPECT_EQ(request, expected) << name;
            EXPECT_EQ(LaunchRequest::decoded(request.encoded()), request) << name;
        } catch (const std::invalid_argument& refusal) {
            ASSERT_NE(error, nullptr) << name << ": " << refusal.what();
            EXPECT_EQ(QString::fromUtf8(refusal.what()),
                      QString::fromUtf8(error) + QLatin1Char('\n') + LaunchRequest::usage);
        }
    }
    for (const char* line :
         {"", "{}", "{\"capture\":1,\"files\":[]}", "{\"capture\":false,\"files\":[3]}"}) {
        EXPECT_EQ(LaunchRequest::decoded(line), std::nullopt) << line;
    }
}
