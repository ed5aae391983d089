#include "EditorTestSupport.h"

#include "editor/CanvasView.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>

namespace vellumix {
namespace {

using Tool = DrawingTool;

class CanvasTest : public EditorTest {
protected:
    void open(double scale = 1, QSize size = QSize(200, 100)) {
        document = makeDocument(size);
        canvas = std::make_unique<CanvasView>(*document);
        canvas->setScale(scale);
    }

    void send(QEvent::Type type, QPointF at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, canvas->mapToGlobal(at), Qt::LeftButton, held, modifiers);
        QApplication::sendEvent(canvas.get(), &event);
    }
    void press(QPointF at) { send(QEvent::MouseButtonPress, at); }
    // A press at `from`, moves half-way and to `to`, and the release there.
    void drag(QPointF from, QPointF to, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        send(QEvent::MouseButtonPress, from, modifiers);
        send(QEvent::MouseMove, (from + to) / 2);
        send(QEvent::MouseMove, to);
        send(QEvent::MouseButtonRelease, to);
    }
    void click(QPointF at) {
        press(at);
        send(QEvent::MouseButtonRelease, at);
    }
    QImage shown() { return canvas->grab().toImage(); }
    const QVector<ImageMark>& marks() { return document->state().marks; }

    // A canvas at scale 1 on the fixture's document until a test opens another.
    std::unique_ptr<CanvasView> canvas = std::make_unique<CanvasView>(*document);
};

TEST_F(CanvasTest, marksOnTheCanvasLookAsInTheExportedImage) {
    const std::pair<Tool, QVector<QPointF>> drawn[] = {
        {Tool::rectangle, {{20, 20}, {120, 80}}},
        {Tool::curvedArrow, {{30, 90}, {180, 10}}},
        {Tool::highlight, {{100, 30}, {190, 60}}},
    };
    for (const auto& [tool, points] : drawn) {
        document->setTool(tool);
        drag(points[0], points[1]);
    }
    document->setTool(Tool::step);
    click(QPointF(160, 80));
    ASSERT_EQ(marks().size(), 4);
    EXPECT_EQ(marks()[1].points.size(), 3) << "the curve got its control point";
    EXPECT_TRUE(samePixels(shown(), document->output()));
}

TEST_F(CanvasTest, pressReachStaysTheSameOnScreenAtEveryZoom) {
    // Zoom, image pixels off the line's edge, whether the press selects it.
    const std::tuple<double, double, bool> cases[] = {
        {2, 2.5, true}, {2, 4.5, false}, {0.5, 11, true}, {0.5, 15, false}};
    for (const auto& [scale, away, selects] : cases) {
        open(scale);
        document->commit(mark(Tool::line, {{20, 50}, {180, 50}}));
        press(QPointF(100, 50 + 2 + away) * scale);
        EXPECT_EQ(document->selected().has_value(), selects) << scale << " " << away;
    }
}

TEST_F(CanvasTest, pressSelectsTheTopmostMarkAndAltPressDrawsOverIt) {
    document->commit(mark(Tool::cover, {{10, 10}, {90, 90}}));
    document->commit(mark(Tool::cover, {{50, 10}, {150, 90}}));
    click(QPointF(70, 50));
    EXPECT_EQ(document->selected(), 1);
    drag(QPointF(70, 50), QPointF(110, 70), Qt::AltModifier);
    EXPECT_EQ(marks().size(), 3);
    EXPECT_EQ(marks()[2].tool, Tool::arrow);

    document->setTool(Tool::select);
    drag(QPointF(170, 20), QPointF(190, 90));
    EXPECT_EQ(document->tool(), Tool::arrow);
    EXPECT_EQ(marks().back().points, (QVector<QPointF>{{170, 20}, {190, 90}}));
}

TEST_F(CanvasTest, aDragCountsWhenItGoesPastTwoPixels) {
    // Tool, end of the drag, pointer moves on the way, whether a mark results.
    const std::tuple<Tool, QPointF, int, bool> cases[] = {{Tool::rectangle, {22, 20}, 1, false},
                                                          {Tool::rectangle, {23, 20}, 1, true},
                                                          {Tool::pen, {60, 60}, 0, false},
                                                          {Tool::pen, {60, 60}, 1, true}};
    for (const auto& [tool, to, moves, committed] : cases) {
        open();
        document->setTool(tool);
        press(QPointF(20, 20));
        for (int i = 0; i < moves; ++i) {
            send(QEvent::MouseMove, to);
        }
        send(QEvent::MouseButtonRelease, to);
        EXPECT_EQ(marks().size(), committed ? 1 : 0) << int(tool) << " " << moves;
    }
}

TEST_F(CanvasTest, calloutHandlesReshapeAndTheBubbleStaysInside) {
    open(1, QSize(400, 300));
    document->setTool(Tool::callout);
    dialogs.textAnswers.push_back(QStringLiteral("Look here"));
    drag(QPointF(390, 290), QPointF(100, 100));
    ASSERT_EQ(marks().size(), 1);
    const QRectF bubble = marks()[0].bubbleRect();
    EXPECT_TRUE(QRectF(0, 0, 400, 300).contains(bubble)) << bubble.x() << " " << bubble.y();
    EXPECT_EQ(dialogs.asked.back().title, QStringLiteral("Add callout"));

    document->setSelected(0);
    drag(QPointF(100, 100), QPointF(120, 130));
    EXPECT_EQ(marks()[0].points[1], QPointF(120, 130));
    EXPECT_EQ(marks()[0].points[0], bubble.topLeft()) << "only the target moved";
    drag(bubble.center(), bubble.center() + QPointF(-10, -5));
    EXPECT_EQ(marks()[0].points[0], bubble.topLeft() + QPointF(-10, -5));
    EXPECT_EQ(marks()[0].points[1], QPointF(110, 125));
    EXPECT_EQ(document->history().size(), 3);

    dialogs.textAnswers.push_back(QStringLiteral("Here"));
    send(QEvent::MouseButtonDblClick, bubble.center());
    EXPECT_EQ(marks()[0].text, QStringLiteral("Here"));
    EXPECT_EQ(dialogs.asked.back().initial, QStringLiteral("Look here"));
    drag(QPointF(10, 280), QPointF(60, 290), Qt::AltModifier);
    EXPECT_EQ(marks().size(), 1) << "cancelled prompt";
}

TEST_F(CanvasTest, stepsCountOnFromTheLargestAndStopAt999) {
    document->commit(mark(Tool::step, {{10, 10}}, QStringLiteral("1")));
    document->commit(mark(Tool::step, {{30, 10}}, QStringLiteral("7")));
    document->commit(mark(Tool::step, {{50, 10}}, QStringLiteral("no")));
    document->setTool(Tool::step);
    click(QPointF(100, 60));
    EXPECT_EQ(marks().back().text, QStringLiteral("8"));

    document->commit(mark(Tool::step, {{70, 10}}, QStringLiteral("99999999999999999999999")));
    click(QPointF(150, 60));
    EXPECT_EQ(marks().size(), 5) << "no step past 999";
    EXPECT_EQ(document->message(), QStringLiteral("The step number must be between 1 and 999"));

    while (!marks().isEmpty()) {
        document->setSelected(0);
        document->deleteSelected();
    }
    click(QPointF(100, 60));
    EXPECT_EQ(marks().back().text, QStringLiteral("1"));
}

TEST_F(CanvasTest, cropDragShowsADashedFrameAndTheCanvasTakesTheCropsSize) {
    document->commit(mark(Tool::line, {{0, 0}, {200, 100}}));
    document->setTool(Tool::crop);
    press(QPointF(40, 20));
    send(QEvent::MouseMove, QPointF(140, 70));
    // The frame's top edge: dashes of six pixels with gaps of four.
    const QImage frame = shown().convertToFormat(QImage::Format_ARGB32);
    const auto* row = reinterpret_cast<const QRgb*>(frame.constScanLine(20));
    EXPECT_EQ(std::count(row + 40, row + 140, CanvasView::accent.rgb()), 60);
    send(QEvent::MouseButtonRelease, QPointF(140, 70));
    EXPECT_EQ(document->state().crop, QRectF(40, 20, 100, 50));
    EXPECT_EQ(canvas->size(), QSize(100, 50));
    EXPECT_EQ(canvas->imagePoint(QPointF(-5, 500)), QPointF(40, 70));
}

// Repaints while a mark moves cover only part of the canvas; piecing them
// together must give the same picture as painting everything afresh.
TEST_F(CanvasTest, partialRepaintsWhileDraggingLeaveNoTrace) {
    open(1.5, QSize(400, 300));
    for (int i = 0; i < 12; ++i) {
        document->commit(mark(Tool::arrow, {{20.0 + 30 * i, 20}, {60.0 + 25 * i, 280}}));
    }
    document->commit(mark(Tool::ellipse, {{100, 100}, {200, 180}}));
    struct Recorder : QObject {
        QList<QRegion> painted;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) {
                painted.append(static_cast<QPaintEvent*>(event)->region());
            }
            return false;
        }
    } recorder;
    canvas->show();
    QApplication::processEvents();
    canvas->installEventFilter(&recorder);
    QImage pieced = shown();

    press(QPointF(150, 210));
    ASSERT_EQ(document->selected(), 12);
    QApplication::processEvents();
    for (int step = 1; step <= 10; ++step) {
        send(QEvent::MouseMove, QPointF(150 + 17 * step, 210 - 9 * step));
        QApplication::processEvents();
    }
    ASSERT_GE(recorder.painted.size(), 5);
    EXPECT_LT(recorder.painted.back().boundingRect().width(), canvas->width());
    // Rendering paints too; those must not grow the list being read.
    canvas->removeEventFilter(&recorder);
    for (const QRegion& region : recorder.painted) {
        canvas->render(&pieced, region.boundingRect().topLeft(), region);
    }
    EXPECT_TRUE(samePixels(pieced, shown()));

    // Layers kept across selections, down the stack and up again, show what
    // new ones would.
    const auto matchesFresh = [&] {
        CanvasView fresh(*document);
        fresh.setScale(1.5);
        return samePixels(shown(), fresh.grab().toImage());
    };
    send(QEvent::MouseButtonRelease, QPointF(320, 120));
    QApplication::processEvents();
    press(QPointF(58, 80) * 1.5); // on the second arrow
    ASSERT_EQ(document->selected(), 1);
    EXPECT_TRUE(matchesFresh());
    document->setSelected(std::nullopt);
    EXPECT_TRUE(matchesFresh());
}

} // namespace
} // namespace vellumix
