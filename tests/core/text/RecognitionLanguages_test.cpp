#include "text/RecognitionLanguages.h"

#include "ScopedEnvironment.h"

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

TEST(RecognitionLanguages, preferredLanguagesFollowPreferenceOrderNotSupportedOrder) {
    EXPECT_EQ(RecognitionLanguages::preferredLanguages({"zh-Hant", "en-US"}),
              QStringList({"en-US", "zh-Hant"}));
    EXPECT_EQ(RecognitionLanguages::preferredLanguages({"zh-Hant", "zh-Hans", "en-US"}),
              QStringList({"en-US", "zh-Hans", "zh-Hant"}));
}

TEST(RecognitionLanguages, preferredLanguagesSkipUnsupportedAndUnknownCodes) {
    EXPECT_EQ(RecognitionLanguages::preferredLanguages({"fr-FR", "zh-Hans", "en"}),
              QStringList({"zh-Hans"}));
    EXPECT_TRUE(RecognitionLanguages::preferredLanguages({"de-DE"}).isEmpty());
    EXPECT_TRUE(RecognitionLanguages::preferredLanguages({}).isEmpty());
}

TEST(RecognitionLanguages, engineLanguagesNameTheDataFilesInTheGivenOrder) {
    EXPECT_EQ(RecognitionLanguages::engineLanguages({"en-US", "zh-Hans", "zh-Hant"}),
              QStringLiteral("eng+chi_sim+chi_tra"));
    EXPECT_EQ(RecognitionLanguages::engineLanguages({"zh-Hant"}), QStringLiteral("chi_tra"));
    EXPECT_EQ(RecognitionLanguages::engineLanguages({}), QString());
}

TEST(RecognitionLanguages, supportedLanguagesAreThoseWithAnInstalledDataFile) {
    QTemporaryDir tessdata;
    touch(tessdata.filePath("chi_tra.traineddata"));
    touch(tessdata.filePath("eng.traineddata"));
    touch(tessdata.filePath("fra.traineddata"));
    // A folder with a data file's name is not data.
    ASSERT_TRUE(QDir(tessdata.path()).mkdir("chi_sim.traineddata"));
    EXPECT_EQ(RecognitionLanguages::supportedLanguages(tessdata.path()),
              QStringList({"en-US", "zh-Hant"}));

    QTemporaryDir empty;
    EXPECT_TRUE(RecognitionLanguages::supportedLanguages(empty.path()).isEmpty());
    EXPECT_TRUE(RecognitionLanguages::supportedLanguages(empty.filePath("missing")).isEmpty());
}

TEST(RecognitionLanguages, installedEngineLanguagesNameTheInstalledOnesElseTheEngineDefault) {
    QTemporaryDir tessdata;
    touch(tessdata.filePath("chi_tra.traineddata"));
    touch(tessdata.filePath("chi_sim.traineddata"));
    EXPECT_EQ(RecognitionLanguages::installedEngineLanguages(tessdata.path()),
              QByteArray("chi_sim+chi_tra"));
    QTemporaryDir empty;
    EXPECT_EQ(RecognitionLanguages::installedEngineLanguages(empty.path()), QByteArray("eng"));
}

TEST(RecognitionLanguages, tessdataDirectoryIsTessdataPrefixWhenSetElseThePackageFolder) {
    {
        const ScopedEnvironment prefix("TESSDATA_PREFIX", QByteArray("/opt/tessdata"));
        EXPECT_EQ(RecognitionLanguages::tessdataDirectory(), QStringLiteral("/opt/tessdata"));
    }
    const QString packageFolder =
        QString::fromLatin1(RecognitionLanguages::packageTessdataDirectory);
    {
        const ScopedEnvironment prefix("TESSDATA_PREFIX", QByteArray());
        EXPECT_EQ(RecognitionLanguages::tessdataDirectory(), packageFolder);
    }
    const ScopedEnvironment prefix("TESSDATA_PREFIX", std::nullopt);
    EXPECT_EQ(RecognitionLanguages::tessdataDirectory(), packageFolder);
}
