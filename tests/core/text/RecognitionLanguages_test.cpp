#include "text/RecognitionLanguages.h"

#include "support/ScopedEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vellumix;

namespace {

void touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

} // namespace

// Preference order, not the order given; unsupported and unknown codes are
// skipped. The engine names their data files in that order.
TEST(RecognitionLanguages, preferredLanguagesAreTheSupportedOnesInPreferenceOrder) {
    const std::tuple<QStringList, QStringList, QString> cases[] = {
        {{"zh-Hant", "en-US"}, {"en-US", "zh-Hant"}, "eng+chi_tra"},
        {{"zh-Hant", "zh-Hans", "en-US"}, {"en-US", "zh-Hans", "zh-Hant"}, "eng+chi_sim+chi_tra"},
        {{"fr-FR", "zh-Hans", "en"}, {"zh-Hans"}, "chi_sim"},
        {{"de-DE"}, {}, {}},
        {{}, {}, {}},
    };
    for (const auto& [supported, expected, engine] : cases) {
        const QStringList preferred = RecognitionLanguages::preferredLanguages(supported);
        EXPECT_EQ(preferred, expected) << supported.join(' ').toStdString();
        EXPECT_EQ(RecognitionLanguages::engineLanguages(preferred), engine);
    }
}

TEST(RecognitionLanguages, installedLanguagesAreThoseWithADataFileElseTheEngineDefault) {
    QTemporaryDir tessdata;
    touch(tessdata.filePath("chi_tra.traineddata"));
    touch(tessdata.filePath("chi_sim.traineddata"));
    touch(tessdata.filePath("fra.traineddata"));
    // A folder with a data file's name is not data.
    ASSERT_TRUE(QDir(tessdata.path()).mkdir("eng.traineddata"));
    EXPECT_EQ(RecognitionLanguages::supportedLanguages(tessdata.path()),
              QStringList({"zh-Hans", "zh-Hant"}));
    EXPECT_EQ(RecognitionLanguages::installedEngineLanguages(tessdata.path()),
              QByteArray("chi_sim+chi_tra"));

    QTemporaryDir empty;
    EXPECT_TRUE(RecognitionLanguages::supportedLanguages(empty.path()).isEmpty());
    EXPECT_TRUE(RecognitionLanguages::supportedLanguages(empty.filePath("missing")).isEmpty());
    EXPECT_EQ(RecognitionLanguages::installedEngineLanguages(empty.path()), QByteArray("eng"));
}

TEST(RecognitionLanguages, tessdataDirectoryIsTessdataPrefixWhenSetElseThePackageFolder) {
    const QString packageFolder =
        QString::fromLatin1(RecognitionLanguages::packageTessdataDirectory);
    const std::pair<std::optional<QByteArray>, QString> cases[] = {
        {QByteArray("/opt/tessdata"), QStringLiteral("/opt/tessdata")},
        {QByteArray(), packageFolder},
        {std::nullopt, packageFolder}};
    for (const auto& [value, expected] : cases) {
        const ScopedEnvironment prefix("TESSDATA_PREFIX", value);
        EXPECT_EQ(RecognitionLanguages::tessdataDirectory(), expected);
    }
}
