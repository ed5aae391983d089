#include "api/RequestEnvelope.h"

#include <QGuiApplication>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

using namespace vellumix;

namespace {

// Reads at most one byte past the request limit: enough to tell an oversized
// request from an allowed one without holding an unbounded input.
QByteArray readRequest() {
    QByteArray buffer(RequestEnvelope::maximumRequestBytes + 1, Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < buffer.size()) {
        const ssize_t n =
            ::read(STDIN_FILENO, buffer.data() + filled, size_t(buffer.size() - filled));
        if (n > 0) {
            filled += n;
        } else if (n == 0 || errno != EINTR) {
            break;
        }
    }
    buffer.truncate(filled);
    return buffer;
}

void writeAll(const QByteArray& bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n =
            ::write(STDOUT_FILENO, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno != EINTR) {
            return;
        }
    }
}

// Callers parse standard output and nothing may appear on standard error, not
// even a warning from Qt, a decoder or the font configuration.
void silenceStandardError() {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null >= 0) {
        ::dup2(null, STDERR_FILENO);
        ::close(null);
    }
}

} // namespace

int main() {
    silenceStandardError();
    // Text marks need fonts, hence a GUI application; the offscreen platform
    // lets the tool run without a display whatever the environment says.
    int argc = 3;
    char name[] = "VellumixEdit";
    char platformOption[] = "-platform";
    char platform[] = "offscreen";
    char* argv[] = {name, platformOption, platform, nullptr};
    QGuiApplication application(argc, argv);

    const QJsonObject response = RequestEnvelope::respond(readRequest());
    writeAll(RequestEnvelope::line(response));
    return RequestEnvelope::succeeded(response) ? 0 : 1;
}
