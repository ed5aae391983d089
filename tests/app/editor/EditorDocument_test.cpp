#include "EditorTestSupport.h"

#include "editor/EditorPreferences.h"

#include <QDir>
#include <QImageReader>

namespace vellumix {
namespace {

using Tool = DrawingTool;

TEST_F(EditorTest, undoAndRedoWalkTheHistoryAndANewCommitEmptiesRedo) {
    for (int i = 0; i < 3; ++i) {
        document->commit(mark(Tool::line, {{10.0 * i, 10}, {50, 50}}));
    }
    document->setSelected(0);
    document->undo();
    EXPECT_EQ(document->state().marks.size(), 2);
    EXPECT_EQ(document->selected(), std::nullopt);
    document->redo();
    EXPECT_EQ(document->state().marks.size(), 3);
    EXPECT_EQ(document->state().marks[2].points[0], QPointF(20, 10));
    document->undo();
    document->commit(mark(Tool::line, {{0, 0}, {9, 9}}));
    EXPECT_TRUE(document->future().isEmpty());
    EXPECT_EQ(document->history().size(), 3);
}

TEST_F(EditorTest, cropsBelowEightPixelsChangeNothingAndKeepRedo) {
    document->commit(mark(Tool::crop, {{10, 10}, {150, 90}}));
    document->undo();
    ASSERT_EQ(document->future().size(), 1);
    document->commit(mark(Tool::crop, {{0, 0}, {5, 50}}));
    EXPECT_EQ(document->state().crop, std::nullopt);
    EXPECT_TRUE(document->history().isEmpty());
    EXPECT_EQ(document->future().size(), 1);

    document->redo();
    document->commit(mark(Tool::crop, {{20, 20}, {120.4, 120}}));
    EXPECT_EQ(document->state().crop, QRectF(20, 20, 101, 70)) << "clipped to the crop before";
    document->commit(mark(Tool::crop, {{0, 0}, {30, 200}}));
    EXPECT_EQ(document->state().crop, QRectF(20, 20, 10, 70));
    EXPECT_TRUE(document->state().marks.isEmpty());
}

TEST_F(EditorTest, pixelationBakesOnlyTheMarksBeneathIt) {
    document->commit(mark(Tool::pixelate, {{10, 10}, {60, 10.9}}));
    EXPECT_TRUE(document->history().isEmpty()) << "one pixel high";

    ImageMark red = mark(Tool::cover, {{0, 0}, {100, 100}});
    document->commit(red);
    document->commit(mark(Tool::pixelate, {{60.5, 30}, {10, 70}}));
    const ImageMark& baked = document->state().marks[1];
    ASSERT_TRUE(baked.bitmap.has_value());
    EXPECT_EQ(baked.points, (QVector<QPointF>{{10, 30}, {61, 70}}));
    EXPECT_EQ(baked.bitmap->pixelColor(0, 0), QColor(Qt::red));

    ImageMark green = mark(Tool::cover, {{0, 0}, {100, 100}});
    green.color = Qt::green;
    document->commit(green);
    document->setSelected(0);
    document->deleteSelected();
    document->setSelected(0);
    document->replaceSelected(document->state().marks[0].translated(1, 0));
    EXPECT_EQ(document->state().marks[0].bitmap->pixelColor(0, 0), QColor(Qt::white))
        << "the green cover lies above it";
}

TEST_F(EditorTest, changeVariantConvertsThePointsOfTheActiveMark) {
    // From, its points, to, the points after.
    using Points = QVector<QPointF>;
    const std::tuple<Tool, Points, Tool, Points> cases[] = {
        {Tool::arrow, {{0, 0}, {100, 0}}, Tool::curvedArrow, {{0, 0}, {100, 0}, {50, 20}}},
        {Tool::text, {{10, 10}}, Tool::callout, {{10, 10}, {100, 100}}},
        {Tool::curvedArrow, {{0, 0}, {9, 9}, {4, 1}}, Tool::line, {{0, 0}, {9, 9}}},
        {Tool::line, {{1, 2}, {9, 9}}, Tool::text, {{1, 2}}},
        {Tool::line, {{1, 2}, {9, 9}}, Tool::rectangle, {{1, 2}, {9, 9}}},
    };
    for (const auto& [from, points, to, expected] : cases) {
        document = makeDocument(QSize(100, 100));
        document->commit(mark(from, points, QStringLiteral("note")));
        document->setSelected(0);
        document->changeVariant(to);
        EXPECT_EQ(document->state().marks[0].tool, to);
        EXPECT_EQ(document->state().marks[0].points, expected) << int(from) << int(to);
        EXPECT_EQ(document->selected(), 0);
    }
}

TEST_F(EditorTest, editedStepTextMustBeANumberFromOneTo999) {
    const char* const refused[] = {"0", "1000", "abc", "1.5", "-3", "99999999999999999999999999"};
    const std::pair<const char*, const char*> accepted[] = {
        {"+7", "+7"}, {"007", "007"}, {" 12\n", "12"}};
    document->commit(mark(Tool::step, {{20, 20}}, QStringLiteral("1")));
    document->setSelected(0);
    for (const char* answer : refused) {
        dialogs.textAnswers.push_back(QString::fromLatin1(answer));
        document->editSelectedText();
        EXPECT_EQ(document->message(), QStringLiteral("The step number must be between 1 and 999"));
        EXPECT_EQ(document->state().marks[0].text, QStringLiteral("1")) << answer;
    }
    for (const auto& [answer, stored] : accepted) {
        dialogs.textAnswers.push_back(QString::fromLatin1(answer));
        document->editSelectedText();
        EXPECT_EQ(document->state().marks[0].text, QString::fromLatin1(stored));
    }
    EXPECT_EQ(dialogs.asked.back().title, QStringLiteral("Edit text / number"));
    EXPECT_EQ(dialogs.asked.back().initial, QStringLiteral("007"));
}

TEST_F(EditorTest, promptTextTakesOneTo200UserPerceivedCharacters) {
    const QString accent = QStringLiteral("e\u0301");
    const std::pair<QString, std::optional<QString>> cases[] = {
        {QStringLiteral("  \n\t "), std::nullopt},
        {QString(201, QLatin1Char('x')), std::nullopt},
        {QStringLiteral("\n") + accent.repeated(200) + QStringLiteral(" "), accent.repeated(200)},
    };
    for (const auto& [typed, expected] : cases) {
        document->setMessage(QString());
        dialogs.textAnswers.push_back(typed);
        EXPECT_EQ(document->promptText(QStringLiteral("Add text"), QString()), expected);
        EXPECT_EQ(document->message(),
                  expected ? QString() : QStringLiteral("Enter 1–200 characters"));
    }
}

TEST_F(EditorTest, storedStyleIsTakenOnlyWhenTheEditorCouldHaveWrittenIt) {
    const auto style = [](const EditorDocument& d) {
        return std::tuple(d.fontSize(), d.thickness(), d.format(), d.color());
    };
    const QColor defaultColor = makeDocument()->color();
    defaults.setValue(EditorPreferences::fontSizeKey, 80);
    defaults.setValue(EditorPreferences::thicknessKey, 4);
    defaults.setValue(EditorPreferences::formatKey, QStringLiteral("PNG"));
    defaults.setValue(EditorPreferences::colorKey, QVariantList{1, 0, 2});
    auto ignored = makeDocument();
    EXPECT_EQ(style(*ignored), std::tuple(24.0, 3.0, QStringLiteral("png"), defaultColor));

    ignored->changeFontSize(72);
    ignored->setThickness(10);
    ignored->setFormat(QStringLiteral("jpg"));
    ignored->setColor(QColor::fromRgbF(1, 0, 0));
    EXPECT_EQ(style(*makeDocument()),
              std::tuple(72.0, 10.0, QStringLiteral("jpg"), QColor(Qt::red)));
}

TEST_F(EditorTest, colorsMatchWithinTwoThousandthsPerComponent) {
    document->setColor(QColor::fromRgbF(0.5f, 0.5f, 0.5f));
    EXPECT_TRUE(document->matchesColor(QColor::fromRgbF(0.501f, 0.5f, 0.5f)));
    EXPECT_FALSE(document->matchesColor(QColor::fromRgbF(0.503f, 0.5f, 0.5f)));
    EXPECT_FALSE(document->matchesColor(QColor::fromRgbF(1.5f, 0.5f, 0.5f)));
    EXPECT_FALSE(document->matchesColor(QColor()));
}

TEST_F(EditorTest, copyAndPinHandOverThePictureOrLeaveEverything) {
    document->commit(mark(Tool::cover, {{0, 0}, {50, 50}}));
    clipboard.refuse = true;
    document->copy();
    EXPECT_EQ(document->message(),
              QStringLiteral("Copy failed: Could not render or save the image. Check available "
                             "memory and disk space."));
    EXPECT_EQ(completed, 0);
    EXPECT_TRUE(document->unsavedChanges());

    clipboard.refuse = false;
    document->copy();
    EXPECT_EQ(document->message(), QStringLiteral("Image copied"));
    EXPECT_EQ(completed, 1);
    EXPECT_TRUE(samePixels(clipboard.image(), document->output()));

    document->commit(mark(Tool::crop, {{10, 10}, {60, 40}}));
    document->pin();
    ASSERT_EQ(pins.open.size(), 1);
    EXPECT_EQ(pins.open.begin().value().size(), QSize(50, 30));
    EXPECT_EQ(pins.scales, QList<double>{2.0});
    EXPECT_EQ(document->message(), QStringLiteral("Pinned to screen · Drag the title bar to move"));
    EXPECT_EQ(completed, 2);
}

TEST_F(EditorTest, saveWritesTheChosenFileOrKeepsTheUnsavedState) {
    document->commit(mark(Tool::cover, {{0, 0}, {50, 50}}));
    EXPECT_FALSE(document->save()) << "cancelled";
    EXPECT_EQ(document->message(), QStringLiteral("Drag to annotate · Ctrl+Z to undo"));

    // A folder in the way: the write fails.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken.png")));
    dialogs.fileAnswers.push_back(dir.filePath(QStringLiteral("taken.png")));
    EXPECT_FALSE(document->save());
    EXPECT_TRUE(document->message().startsWith(QStringLiteral("Save failed: ")));
    EXPECT_TRUE(document->unsavedChanges());
    EXPECT_EQ(completed, 0);

    document->setFormat(QStringLiteral("jpg"));
    const QString path = dir.filePath(QStringLiteral("shot.jpg"));
    dialogs.fileAnswers.push_back(path);
    EXPECT_TRUE(document->save());
    EXPECT_EQ(dialogs.asked.back().initial, QStringLiteral("Capture.jpg"));
    EXPECT_EQ(dialogs.asked.back().choices.front(), QStringLiteral("jpg"));
    EXPECT_EQ(document->message(), QStringLiteral("Saved: shot.jpg"));
    EXPECT_FALSE(document->unsavedChanges());
    EXPECT_EQ(completed, 1);
    EXPECT_EQ(QImageReader(path).format(), QByteArray("jpeg"));
    EXPECT_EQ(QImage(path).size(), QSize(200, 100));
}

} // namespace
} // namespace vellumix
