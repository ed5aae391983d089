#include "api/RequestEnvelope.h"

#include "FuzzApplication.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

using namespace vellumix;

namespace {

// The request decides everything but where files are: an absolute "input"
// always names a small fixed image and an absolute "output" always lands in
// a private folder, keeping only its extension.
struct Sandbox {
    QTemporaryDir folder;
    QString source = folder.filePath(QStringLiteral("source.png"));
    QString outputs = folder.filePath(QStringLiteral("out"));

    Sandbox() {
        QImage image(64, 48, QImage::Format_RGBA8888_Premultiplied);
        image.fill(QColor(40, 120, 200));
        if (!image.save(source, "PNG") || !QDir().mkpath(outputs)) {
            std::abort();
        }
    }

    QJsonObject pinned(QJsonObject args) const {
        static const QRegularExpression plainSuffix(QStringLiteral("^[A-Za-z0-9]{0,8}$"));
        if (isAbsolutePath(args.value(QLatin1String("input")))) {
            args[QStringLiteral("input")] = source;
        }
        const QJsonValue output = args.value(QLatin1String("output"));
        if (isAbsolutePath(output)) {
            QString suffix = QFileInfo(output.toString()).suffix();
            if (!plainSuffix.match(suffix).hasMatch()) {
                suffix = QStringLiteral("png");
            }
            args[QStringLiteral("output")] = outputs + QStringLiteral("/out.") + suffix;
        }
        return args;
    }

    static bool isAbsolutePath(const QJsonValue& value) {
        return value.isString() && value.toString().startsWith(QLatin1Char('/'));
    }

    // Every call leaves at most the output itself, never a temporary.
    void checkAndClear() const {
        QDir dir(outputs);
        const QStringList left = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
        if (left.size() > 1 ||
            (left.size() == 1 && !left.first().startsWith(QLatin1String("out.")))) {
            std::abort();
        }
        for (const QString& name : left) {
            dir.remove(name);
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ensureApplication();
    static const Sandbox sandbox;
    const QByteArray request(reinterpret_cast<const char*>(data), qsizetype(size));
    const QJsonObject response = RequestEnvelope::respond(
        request, [](const QJsonObject& args) { return ImageAPI::apply(sandbox.pinned(args)); });
    const QByteArray line = RequestEnvelope::line(response);
    // The line is one JSON object that reads back to exactly the response.
    if (line.count('\n') != 1 || !line.endsWith('\n') ||
        QJsonDocument::fromJson(line).object() != response) {
        std::abort();
    }
    sandbox.checkAndClear();
    return 0;
}
