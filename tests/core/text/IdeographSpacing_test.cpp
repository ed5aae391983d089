#include "text/IdeographSpacing.h"

#include <gtest/gtest.h>

using namespace vellumix;

TEST(IdeographSpacing, onlySpacesBetweenTwoIdeographsAreRemoved) {
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("打开 文件 并 保存 为 图 片"), QStringLiteral("打开文件并保存为图片")},
        {QStringLiteral("設定  檔案 。"), QStringLiteral("設定檔案。")},
        // A character outside the Basic Multilingual Plane (U+20000) counts too.
        {QString::fromUcs4(U"\U00020000 字"), QString::fromUcs4(U"\U00020000字")},
        {QStringLiteral("Vellumix 设置 and 2 个 files"),
         QStringLiteral("Vellumix 设置 and 2 个 files")},
        {QStringLiteral(" 文 "), QStringLiteral(" 文 ")},
        {QString(), QString()},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(IdeographSpacing::withoutSpacesBetweenIdeographs(text), expected)
            << text.toStdString();
    }
}

TEST(IdeographSpacing, asciiMarksAfterIdeographsBecomeFullWidthOthersStay) {
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("謝謝, 收到了 !"), QStringLiteral("謝謝，收到了！")},
        {QStringLiteral("现在安装吗 ?"), QStringLiteral("现在安装吗？")},
        {QStringLiteral("注意: 文件"), QStringLiteral("注意：文件")},
        {QStringLiteral("Version 4.12, Settings: on!"),
         QStringLiteral("Version 4.12, Settings: on!")},
        {QStringLiteral("版本 4.12, 已"), QStringLiteral("版本 4.12, 已")},
        {QStringLiteral("?"), QStringLiteral("?")},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(IdeographSpacing::withoutSpacesBetweenIdeographs(
                      IdeographSpacing::withFullWidthPunctuation(text)),
                  expected)
            << text.toStdString();
    }
}
