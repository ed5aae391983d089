#include "EditorTestSupport.h"
#include "editor/CanvasView.h"
#include "editor/InPlaceLayout.h"
#include "editor/ScreenshotEditor.h"
#include "editor/ToolFamily.h"
#include "editor/ToolOptions.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>

namespace vellumix {
namespace {

using T = DrawingTool;

class ToolbarTest : public EditorTest {
protected:
    QStringList optionNames(const char* family) {
        ToolOptions options(*document, defaults, *ToolFamily::withId(QString::fromUtf8(family)),
                            nullptr);
        QStringList names;
        for (const QWidget* child : options.findChildren<QWidget*>()) {
            if (!child->accessibleName().isEmpty()) {
                names.append(child->accessibleName());
            }
        }
        return names;
    }
};

// When a family's popover closes the key tests walk through the same
// activation.
TEST_F(ToolbarTest, familyButtonActivatesTheRememberedVariantAndOpensItsOptions) {
    ScreenshotEditor editor(*document, services(), {});
    defaults.setValue(QStringLiteral("editor.variant.箭头与线条"), QStringLiteral("curvedArrow"));
    document->setTool(T::rectangle);
    editor.toolbar()->button(QStringLiteral("Arrows & lines"))->click();
    EXPECT_EQ(document->tool(), T::curvedArrow);
    EXPECT_EQ(editor.toolbar()->expanded(), QStringLiteral("Arrows & lines"));
    EXPECT_TRUE(editor.toolbar()->button(QStringLiteral("Arrows & lines"))->isChecked());
    EXPECT_EQ(editor.toolbar()->button(QStringLiteral("Scrolling capture")), nullptr);
}

TEST_F(ToolbarTest, popoverOffersWhatTheActiveToolUsesAndTheSelectedMarksOwnFontSize) {
    const QStringList swatches = {"#007aff", "#ff3b30", "#34c759", "#000000", "#ffffff"};
    const QStringList widths = {"Width 3", "Width 6", "Width 10"};
    const QStringList corners = {"Square corners", "Rounded corners"};
    const std::tuple<T, const char*, QStringList> cases[] = {
        {T::arrow, "Arrows & lines",
         QStringList{"Line", "Arrow", "Curved arrow"} + swatches + widths},
        {T::rectangle, "Shapes", QStringList{"Rectangle", "Ellipse"} + swatches + widths + corners},
        {T::highlight, "Highlight", swatches + widths + corners},
        {T::cover, "Redact", QStringList{"Pixelate", "Solid cover"} + swatches},
        {T::text, "Text", QStringList{"Text", "Callout"} + swatches + QStringList{"Font size"}},
    };
    for (const auto& [tool, family, names] : cases) {
        SCOPED_TRACE(family);
        document->setTool(tool);
        EXPECT_EQ(optionNames(family), names);
    }
    // A selected text mark adds its own size to those offered, and its actions.
    ImageMark sized = mark(T::text, {{20, 20}}, QStringLiteral("Hi"));
    sized.fontSize = 30;
    document->commit(sized);
    document->setSelected(0);
    const ToolFamily& text = *ToolFamily::withId(QStringLiteral("Text"));
    EXPECT_EQ(ToolOptions(*document, defaults, text, nullptr).offeredFontSizes(),
              (QVector<double>{16, 20, 24, 30, 32, 48}));
    const QStringList names = optionNames("Text");
    EXPECT_EQ(names.mid(names.size() - 2),
              (QStringList{"Edit text", "Delete annotation · Backspace"}));
}

TEST_F(ToolbarTest, swatchOfTheDocumentsColourIsRingedAndWidthReachesTheSelectedMark) {
    document->setTool(T::rectangle);
    document->changeColor(ToolOptions::swatches[1]);
    document->commit(mark(T::rectangle, {{10, 10}, {60, 60}}));
    document->setSelected(0);
    ToolOptions options(*document, defaults, *ToolFamily::withId(QStringLiteral("Shapes")),
                        nullptr);
    QStringList ringed;
    QAbstractButton* widest = nullptr;
    for (QAbstractButton* button : options.findChildren<QAbstractButton*>()) {
        if (button->property("matches").toBool()) {
            ringed.append(button->accessibleName());
        }
        if (button->accessibleName() == QStringLiteral("Width 10")) {
            widest = button;
        }
    }
    EXPECT_EQ(ringed, QStringList{QStringLiteral("#ff3b30")});
    ASSERT_NE(widest, nullptr);
    widest->click();
    EXPECT_EQ(document->thickness(), 10);
    EXPECT_EQ(document->state().marks[0].thickness, 10);
}

TEST_F(ToolbarTest, fitWidthShowsANarrowPictureAtOnePointPerPixelAndZoomScalesIt) {
    ScreenshotEditor editor(*document, services(), {});
    editor.resize(1000, 700);
    editor.show();
    EXPECT_EQ(editor.canvas()->scale(), 1);
    document->setZoom(2);
    EXPECT_EQ(editor.canvas()->scale(), 2);
    EXPECT_EQ(editor.zoomPicker()->currentText(), QStringLiteral("200%"));
    EXPECT_EQ(editor.sizeLabel()->text(), QStringLiteral("200 × 100"));
    EXPECT_DOUBLE_EQ(ScreenshotEditor::canvasScale(1080, 2000, 0.5), 0.25);
    // A wide picture fits without a horizontal scroller, whether or not it
    // is tall enough to bring a vertical one.
    for (const QSize size : {QSize(3000, 200), QSize(3000, 4000)}) {
        const std::unique_ptr<EditorDocument> wide = makeDocument(size);
        ScreenshotEditor fitted(*wide, services(), {});
        fitted.resize(1000, 700);
        fitted.show();
        // The canvas's size reaches the scroll area through two layouts, a
        // turn of the event loop each; one more turn to spare.
        for (int turn = 0; turn < 3; ++turn) {
            QApplication::processEvents();
        }
        EXPECT_EQ(fitted.findChild<QScrollArea*>()->horizontalScrollBar()->maximum(), 0)
            << size.height();
    }
}

TEST(InPlaceLayoutTest, toolbarGoesBelowThenAboveThenOverTheRegion) {
    const QSizeF screen(1920, 1080);
    const std::pair<QRectF, QPointF> cases[] = {
        {QRectF(500, 300, 400, 695), QPointF(700, 1037)}, // 85 points of room below
        {QRectF(500, 300, 400, 696), QPointF(700, 212)},  // 84: above
        {QRectF(500, 131, 400, 900), QPointF(700, 43)},   // top 131 below the screen's top
        {QRectF(500, 130, 400, 900), QPointF(700, 1038)}, // 130: over the region
        {QRectF(0, 100, 100, 100), QPointF(382, 242)},    // kept off the left edge
        {QRectF(1850, 100, 70, 100), QPointF(1538, 242)}, // and the right one
    };
    for (const auto& [region, toolbar] : cases) {
        EXPECT_EQ(InPlaceLayout::toolbarCenter(region, screen), toolbar) << region.top();
    }
    EXPECT_EQ(InPlaceLayout::toolbarWidth(QSizeF(600, 400)), 576);
    EXPECT_EQ(InPlaceLayout::buttonsCenter(QRectF(500, 48, 400, 300), screen), QPointF(858, 23));
    EXPECT_EQ(InPlaceLayout::buttonsCenter(QRectF(0, 47, 20, 300), screen), QPointF(48, 72));
    EXPECT_EQ(InPlaceLayout::captionCenter(QPointF(700, 60)), QPointF(700, 20));
    const auto dims = InPlaceLayout::dimming(QRectF(100, 200, 300, 400), screen);
    EXPECT_EQ(dims[1], QRectF(0, 600, 1920, 480));
    EXPECT_EQ(dims[3], QRectF(400, 200, 1520, 400));
}

TEST(InPlaceLayoutTest, onlyFailuresAndTheLengthRefusalGetACaption) {
    EXPECT_TRUE(InPlaceLayout::showsCaption(QStringLiteral("Save failed: The disk is full.")));
    EXPECT_TRUE(InPlaceLayout::showsCaption(QStringLiteral("Enter 1–200 characters")));
    for (const char* quiet : {"Image copied", "Drag to annotate · Ctrl+Z to undo",
                              "The step number must be between 1 and 999"}) {
        EXPECT_FALSE(InPlaceLayout::showsCaption(QString::fromUtf8(quiet))) << quiet;
    }
}

} // namespace
} // namespace vellumix
