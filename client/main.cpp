// vellumix-request: one automation request to the running Vellumix.
//   vellumix-request [--timeout SECONDS] OPERATION [ARGUMENTS]
// ARGUMENTS is a JSON object ("-" reads it from standard input). Prints the
// response line, {"ok":true,"result":...} or {"ok":false,"error":{...}}, and
// exits with 0 when the operation succeeded and 1 otherwise. Failures of the
// client itself are printed the same way.

#include "RequestClient.h"
#include "api/JsonWriter.h"

#include <QFile>
#include <QJsonDocument>
#include <QStringList>

#include <cstdio>
#include <unistd.h>

using namespace vellumix;

namespace {

constexpr double defaultTimeoutSeconds = 30;

const char usage[] = "usage: vellumix-request [--timeout SECONDS] OPERATION [ARGUMENTS]\n"
                     "  ARGUMENTS: a JSON object, or - to read it from standard input\n";

// One line per operation of the running app, with the arguments it takes.
const char operations[] =
    "operations (points are display-local, top-left origin):\n"
    "  permissions.status  {}\n"
    "  displays.list       {}\n"
    "  windows.list        {\"titleContains\":\"Editor\"}\n"
    "  capture.region      {\"display\":ID,\"rect\":[0,0,400,300],\"output\":\"/tmp/shot.png\"}\n"
    "  pin                 {\"input\":\"/tmp/shot.png\"}\n"
    "  pin.close           {\"pinId\":\"ID\"}\n"
    "  scroll.start        {\"display\":ID,\"rect\":[0,0,400,300]}\n"
    "  scroll.sample       {\"sessionId\":\"ID\"}\n"
    "  scroll.finish       {\"sessionId\":\"ID\",\"output\":\"/tmp/long.png\"}\n"
    "  scroll.cancel       {\"sessionId\":\"ID\"}\n"
    "  record.start        {\"display\":ID,\"rect\":[0,0,400,300],\"output\":\"/tmp/take.mp4\"}\n"
    "  record.stop         {\"recordingId\":\"ID\"}\n"
    "  record.cancel       {\"recordingId\":\"ID\"}\n"
    "capture.region and scroll.finish also take \"format\" (\"png\" or \"jpeg\") and\n"
    "\"overwrite\" (true to replace an existing file). record.start also takes\n"
    "\"format\" (\"mp4\" or \"gif\"), \"fps\" (30 unless given) and \"pointer\" (false\n"
    "leaves the pointer out); a recording never replaces a file.\n"
    "example: vellumix-request capture.region \\\n"
    "  '{\"display\":2947141570,\"rect\":[0,0,400,300],\"output\":\"/tmp/shot.png\"}'\n";

struct Command {
    QString operation;
    QJsonObject arguments;
    double timeoutSeconds = defaultTimeoutSeconds;
};

int fail(const QString& code, const QString& message) {
    const QJsonObject error{{QStringLiteral("code"), code}, {QStringLiteral("message"), message}};
    const QByteArray line = JsonWriter::write(
        QJsonObject{{QStringLiteral("ok"), false}, {QStringLiteral("error"), error}});
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    return 1;
}

std::optional<Command> parse(QStringList arguments) {
    Command command;
    if (arguments.size() >= 2 && arguments[0] == QLatin1String("--timeout")) {
        bool ok = false;
        command.timeoutSeconds = arguments[1].toDouble(&ok);
        if (!ok || !(command.timeoutSeconds > 0)) {
            return std::nullopt;
        }
        arguments = arguments.mid(2);
    }
    if (arguments.isEmpty() || arguments.size() > 2 || arguments[0].startsWith(QLatin1Char('-'))) {
        return std::nullopt;
    }
    command.operation = arguments[0];
    QByteArray text = arguments.value(1, QStringLiteral("{}")).toUtf8();
    if (text == "-") {
        QFile input;
        if (!input.open(stdin, QIODevice::ReadOnly)) {
            return std::nullopt;
        }
        text = input.readAll();
    }
    const QJsonDocument document = QJsonDocument::fromJson(text);
    if (!document.isObject()) {
        return std::nullopt;
    }
    command.arguments = document.object();
    return command;
}

} // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    if (arguments.value(0) == QLatin1String("--help")) {
        std::fputs(usage, stdout);
        std::fputs(operations, stdout);
        return 0;
    }
    const std::optional<Command> command = parse(arguments);
    if (!command) {
        std::fputs(usage, stderr);
        return fail(QStringLiteral("invalid_arguments"),
                    QStringLiteral("Give an operation and its arguments as one JSON object"));
    }
    QByteArray response;
    try {
        RequestClient client(QueueFolders::open(QueueFolders::defaultRoot(),
                                                QueueFolders::Use::existing, ::getuid()));
        response = client.send(command->operation, command->arguments,
                               std::chrono::milliseconds(qint64(command->timeoutSeconds * 1000)));
    } catch (const std::exception& error) {
        return fail(QStringLiteral("client_failed"), QString::fromUtf8(error.what()));
    }
    std::fwrite(response.constData(), 1, size_t(response.size()), stdout);
    std::fputc('\n', stdout);
    const QJsonDocument answer = QJsonDocument::fromJson(response);
    return answer.object().value(QLatin1String("ok")) == QJsonValue(true) ? 0 : 1;
}
