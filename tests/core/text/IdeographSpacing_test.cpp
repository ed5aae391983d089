#include "text/IdeographSpacing.h"

#include <gtest/gtest.h>

using namespace vellumix;

// Words of a line 20 pixels tall; ideographs 20 or more pixels apart stand
// apart, as menu titles do.
TEST(IdeographSpacing, wordsAreJoinedWithSpacesSaveBetweenCloseIdeographs) {
    using Words = std::vector<IdeographSpacing::Word>;
    const std::pair<Words, QString> cases[] = {
        {{{"文件", 0, 30}, {"编辑", 50, 80}, {"视图", 100, 130}}, QStringLiteral("文件 编辑 视图")},
        {{{"打开", 0, 30}, {"文件", 48, 78}}, QStringLiteral("打开文件")},
        {{{"Open", 0, 40}, {"file", 43, 70}}, QStringLiteral("Open file")},
        {{{"打开", 0, 30}, {"PDF", 33, 60}, {"文件", 63, 93}}, QStringLiteral("打开 PDF 文件")},
        {{{"可用。", 0, 45}, {"現在", 70, 100}}, QStringLiteral("可用。現在")},
    };
    for (const auto& [words, expected] : cases) {
        EXPECT_EQ(IdeographSpacing::joined(words, 20), expected) << expected.toStdString();
    }
}

TEST(IdeographSpacing, asciiMarksAfterIdeographsBecomeFullWidthOthersStay) {
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("謝謝, 收到了 !"), QStringLiteral("謝謝，收到了！")},
        {QStringLiteral("现在安装吗 ?"), QStringLiteral("现在安装吗？")},
        {QStringLiteral("注意: 文件"), QStringLiteral("注意：文件")},
        {QStringLiteral("謝謝 , 收到"), QStringLiteral("謝謝，收到")},
        {QStringLiteral("Version 4.12, Settings: on!"),
         QStringLiteral("Version 4.12, Settings: on!")},
        {QStringLiteral("版本 4.12, 已"), QStringLiteral("版本 4.12, 已")},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(IdeographSpacing::withFullWidthPunctuation(text), expected) << text.toStdString();
    }
}
