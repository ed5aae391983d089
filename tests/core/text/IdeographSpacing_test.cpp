#include "text/IdeographSpacing.h"

#include <gtest/gtest.h>

using namespace vellumix;

TEST(IdeographSpacing, spacesBetweenIdeographsAreRemoved) {
    EXPECT_EQ(IdeographSpacing::withoutSpacesBetweenIdeographs(
                  QStringLiteral("打开 文件 并 保存 为 图 片")),
              QStringLiteral("打开文件并保存为图片"));
    EXPECT_EQ(IdeographSpacing::withoutSpacesBetweenIdeographs(QStringLiteral("設定  檔案 。")),
              QStringLiteral("設定檔案。"));
    // A character outside the Basic Multilingual Plane (U+20000) counts too.
    EXPECT_EQ(IdeographSpacing::withoutSpacesBetweenIdeographs(QString::fromUcs4(U"\U00020000 字")),
              QString::fromUcs4(U"\U00020000字"));
}

TEST(IdeographSpacing, spacesBesideOtherCharactersStay) {
    EXPECT_EQ(IdeographSpacing::withoutSpacesBetweenIdeographs(
                  QStringLiteral("Vellumix 设置 and 2 个 files")),
              QStringLiteral("Vellumix 设置 and 2 个 files"));
    EXPECT_EQ(IdeographSpacing::withoutSpacesBetweenIdeographs(QStringLiteral(" 文 ")),
              QStringLiteral(" 文 "));
    EXPECT_EQ(IdeographSpacing::withoutSpacesBetweenIdeographs(QStringLiteral("Save as PNG")),
              QStringLiteral("Save as PNG"));
    EXPECT_EQ(IdeographSpacing::withoutSpacesBetweenIdeographs(QString()), QString());
}
