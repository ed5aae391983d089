#include "BridgeFixture.h"

#include <QProcess>
#include <QRegularExpression>

namespace vellumix {
namespace {

using ClientTest = BridgeTest;

// The client prints one response line and exits 0 only when the operation
// succeeded; its own failures come in the same shape.
TEST_F(ClientTest, printsTheResponseLineAndExitsByTheOutcome) {
    QTemporaryDir elsewhere;
    // What, the data home, the arguments, the answer's code.
    const std::tuple<const char*, QString, QStringList, const char*> cases[] = {
        {"answered", home.path(), {"displays.list", "{}"}, "ok"},
        {"refused", home.path(), {"screen.erase"}, "unknown_operation"},
        {"arguments not an object", home.path(), {"windows.list", "[1]"}, "invalid_arguments"},
        {"no queue", elsewhere.path(), {"displays.list"}, "client_failed"},
        {"nobody serving", home.path(), {"--timeout", "0.2", "displays.list"}, "client_failed"},
    };
    for (const auto& [what, dataHome, arguments, expected] : cases) {
        SCOPED_TRACE(what);
        if (QLatin1String(what) == QLatin1String("nobody serving")) {
            bridge.reset();
        }
        QProcess client;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", dataHome);
        client.setProcessEnvironment(environment);
        client.start(VELLUMIX_REQUEST_CLIENT, arguments);
        ASSERT_TRUE(client.waitForStarted());
        QSignalSpy finished(&client, &QProcess::finished);
        ASSERT_TRUE(finished.wait(30000));
        const QByteArray line = client.readAllStandardOutput();
        EXPECT_TRUE(line.endsWith("}\n")) << line.toStdString();
        EXPECT_EQ(code(QJsonDocument::fromJson(line).object()), expected);
        EXPECT_EQ(client.exitCode(), QLatin1String(expected) == QLatin1String("ok") ? 0 : 1);
    }
    EXPECT_TRUE(QDir(requests()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_TRUE(QDir(responses()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

// The help lists every operation the app answers, one line each.
TEST_F(ClientTest, helpListsTheOperationsTheAppKnows) {
    QProcess client;
    client.start(VELLUMIX_REQUEST_CLIENT, {"--help"});
    ASSERT_TRUE(client.waitForFinished(30000));
    const QRegularExpression line(R"(^  ([a-z.]+) +\{.*\}$)", QRegularExpression::MultilineOption);
    QStringList listed;
    for (const QRegularExpressionMatch& match : line.globalMatch(client.readAllStandardOutput())) {
        listed.append(match.captured(1));
        EXPECT_NE(code(ask(listed.last())), "unknown_operation") << listed.last().toStdString();
    }
    EXPECT_EQ(listed.size(), 13);
}

} // namespace
} // namespace vellumix
