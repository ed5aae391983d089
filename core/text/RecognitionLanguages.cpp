#include "text/RecognitionLanguages.h"

#include <QDir>
#include <QFileInfo>
#include <QtGlobal>

namespace vellumix::RecognitionLanguages {

namespace {

const Language* findLanguage(const QString& code) {
    for (const Language& language : preferenceList) {
        if (code == QLatin1String(language.code)) {
            return &language;
        }
    }
    return nullptr;
}

} // namespace

QString tessdataDirectory() {
    const QString prefix = qEnvironmentVariable("TESSDATA_PREFIX");
    return prefix.isEmpty() ? QString::fromLatin1(packageTessdataDirectory) : prefix;
}

QStringList supportedLanguages(const QString& tessdataDirectory) {
    const QDir directory(tessdataDirectory);
    QStringList supported;
    for (const Language& language : preferenceList) {
        const QFileInfo data(directory.filePath(QLatin1String(language.traineddata) +
                                                QLatin1String(".traineddata")));
        if (data.isFile() && data.isReadable()) {
            supported << QLatin1String(language.code);
        }
    }
    return supported;
}

QStringList preferredLanguages(const QStringList& supported) {
    QStringList preferred;
    for (const Language& language : preferenceList) {
        if (supported.contains(QLatin1String(language.code))) {
            preferred << QLatin1String(language.code);
        }
    }
    return preferred;
}

QString engineLanguages(const QStringList& codes) {
    QStringList names;
    for (const QString& code : codes) {
        if (const Language* language = findLanguage(code)) {
            names << QLatin1String(language->traineddata);
        }
    }
    return names.join(QLatin1Char('+'));
}

QByteArray installedEngineLanguages(const QString& tessdataDirectory) {
    const QString languages =
        engineLanguages(preferredLanguages(supportedLanguages(tessdataDirectory)));
    // With no language named, the engine's Init() loads no model at all yet
    // reports success, and Recognize() then crashes; naming its default makes
    // Init() fail cleanly when that is missing too.
    return languages.isEmpty() ? QByteArrayLiteral("eng") : languages.toUtf8();
}

} // namespace vellumix::RecognitionLanguages
