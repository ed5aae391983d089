#include "selection/SelectionController.h"
#include "support/PatternImage.h"

#include "capture/CaptureError.h"
#include "fakes/Awaited.h"
#include "fakes/FakePlatform.h"
#include "fakes/MemoryDefaults.h"
#include "fakes/WidgetTestApp.h"
#include "imaging/DocumentError.h"
#include "selection/LastRegionRecord.h"
#include "selection/WindowsOutcome.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include <gtest/gtest.h>

namespace vellumix {
namespace {

WindowInfo window(quint32 id, const QRectF& frame, qint64 pid = 4242, int layer = 0,
                  const QString& app = QStringLiteral("App")) {
    return WindowInfo{id, QStringLiteral("W%1").arg(id), app, pid, frame, layer};
}

// LEFT is 1000 × 300 points at scale 1 with the pointer over the overlap of
// windows 1 (front) and 2; RIGHT is 200 × 150 points at scale 2.
class SelectionControllerTest : public testing::Test {
public:
    SelectionControllerTest() {
        const QRectF leftFrame(0, 0, 1000, 300);
        left = fakeDisplay("LEFT", leftFrame, 1, leftFrame);
        right = fakeDisplay("RIGHT", QRectF(1000, 0, 200, 150), 2, leftFrame);
        platform.displays.list = {left, right};
        platform.displays.mouse = QPointF(120, 100);
        platform.screen.screens[left.id] = patternImage(QSize(1000, 300));
        platform.screen.screens[right.id] = patternImage(QSize(400, 300)).mirrored(true, true);
        platform.windows.list = {
            window(1, QRectF(40, 40, 120, 100)),
            window(2, QRectF(100, 80, 150, 120)),
            window(3, QRectF(300, 40, 100, 100), QCoreApplication::applicationPid()),
            window(4, QRectF(300, 40, 100, 100), 4242, 24),
            window(5, QRectF(300, 40, 100, 100), 0, 0, QString()),
            window(6, QRectF(300, 40, 79, 100)),
            window(7, QRectF(950, 10, 100, 100)),
            window(8, QRectF(1050, 20, 100, 90)),
        };
        for (quint32 i = 0; i < 9; ++i) {
            platform.windows.list.append(window(10 + i, QRectF(i * 110, 200, 100, 100)));
        }
    }

    void open() {
        auto begun = controller.begin([this](CaptureChoice choice) {
            viewsAtDelivery = controller.views().size();
            choices.append(std::move(choice));
        });
        awaited(begun).waitForFinished();
        ASSERT_EQ(controller.views().size(), 2);
        mouse(leftView(), QEvent::MouseMove, QPointF(120, 100));
    }
    SelectionView& leftView() { return *controller.views()[1]; }
    SelectionView& rightView() { return *controller.views()[0]; }

    // A left-button event; moves carry the buttons `held`.
    static void mouse(SelectionView& view, QEvent::Type type, QPointF at,
                      Qt::KeyboardModifiers modifiers = {}, Qt::MouseButtons held = {}) {
        QMouseEvent event(type, at, at, type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : held, modifiers);
        QCoreApplication::sendEvent(&view, &event);
    }
    static void drag(SelectionView& view, QPointF from, QPointF to) {
        mouse(view, QEvent::MouseButtonPress, from);
        mouse(view, QEvent::MouseMove, to, {}, Qt::LeftButton);
        mouse(view, QEvent::MouseButtonRelease, to);
    }
    static void click(SelectionView& view, QPointF at, Qt::KeyboardModifiers modifiers = {}) {
        mouse(view, QEvent::MouseMove, at);
        mouse(view, QEvent::MouseButtonPress, at, modifiers);
        mouse(view, QEvent::MouseButtonRelease, at, modifiers);
    }
    static void key(SelectionView& view, int key, Qt::KeyboardModifiers modifiers = {},
                    bool autoRepeat = false) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, QString(), autoRepeat);
        QCoreApplication::sendEvent(&view, &event);
    }
    static QImage rendered(SelectionView& view) {
        const double scale = view.frozen().display.scale;
        QImage image(view.size() * scale, QImage::Format_RGB32);
        image.setDevicePixelRatio(scale);
        view.render(&image);
        return image;
    }

    template <typename T> const T* only() {
        return choices.size() == 1 ? std::get_if<T>(&choices.front()) : nullptr;
    }

    MemoryDefaults defaults;
    FakePlatform platform;
    DisplayInfo left, right;
    SelectionController controller{platform.services(), defaults};
    QList<CaptureChoice> choices;
    qsizetype viewsAtDelivery = -1;
};

TEST_F(SelectionControllerTest, beginFreezesEveryDisplayAndOffersOnlyCapturableWindows) {
    open();
    EXPECT_EQ(platform.screen.recorded().size(), 2);
    EXPECT_EQ(leftView().frozen().image, platform.screen.screens[left.id]);
    EXPECT_EQ(rightView().frozen().image, platform.screen.screens[right.id]);
    QList<quint32> ids;
    for (const WindowCandidate& candidate : leftView().candidates()) {
        ids.append(candidate.window.id);
    }
    // Own, other layer, no application, too small, across two displays: never.
    EXPECT_EQ(ids, (QList<quint32>{1, 2, 10, 11, 12, 13, 14, 15, 16, 17, 18}));
    ASSERT_EQ(rightView().candidates().size(), 1);
    EXPECT_EQ(rightView().candidates()[0].rect, QRectF(50, 20, 100, 90));
    EXPECT_EQ(leftView().hovered()->window.id, 1u);
}

TEST_F(SelectionControllerTest, viewShowsDimmedPictureUndimmedHoverPanelLabelAndLoupe) {
    open();
    const QImage shown = rendered(leftView());
    const QImage& frozen = leftView().frozen().image;
    auto dimmedBy = [&](QPoint at, double keep) {
        const QRgb actual = shown.pixel(at), original = frozen.pixel(at);
        return std::abs(qRed(actual) - qRed(original) * keep) <= 1.5 &&
               std::abs(qGreen(actual) - qGreen(original) * keep) <= 1.5 &&
               std::abs(qBlue(actual) - qBlue(original) * keep) <= 1.5;
    };
    EXPECT_TRUE(dimmedBy(QPoint(900, 150), 1 - FrozenDisplay::dimming));
    EXPECT_TRUE(dimmedBy(QPoint(60, 120), 1.0)) << "the hovered window is not dimmed";
    EXPECT_EQ(shown.pixel(41, 120), SelectionView::highlightColor.rgb()) << "outline";
    EXPECT_TRUE(dimmedBy(QPoint(30, 200), 0.6 * 0.16)) << "hint panel";
    EXPECT_TRUE(dimmedBy(QPoint(30, 62), 0.6 * 0.15)) << "window label";
    // The loupe stands at (144, 14); its 8-point cells show the pixels around
    // the pointer's pixel (120, 100) as they are.
    EXPECT_EQ(shown.pixel(165 + 5 * 8 + 4, 23 + 5 * 8 + 4), frozen.pixel(120, 100));
    EXPECT_EQ(shown.pixel(165 + 4, 23 + 4), frozen.pixel(115, 95));

    // At scale 2 every device pixel is drawn from its own frozen pixel.
    const QImage scaled = rendered(rightView());
    const QRgb original = rightView().frozen().image.pixel(397, 5);
    EXPECT_NEAR(qGreen(scaled.pixel(397, 5)), qGreen(original) * 0.6, 1.5);
}

TEST_F(SelectionControllerTest, partialRepaintsAfterMovesAndADragLeaveNoStalePixels) {
    open();
    SelectionView& view = leftView();
    QCoreApplication::processEvents();
    for (const QPointF at : {QPointF(130, 110), QPointF(300, 120), QPointF(700, 40),
                             QPointF(55, 250), QPointF(980, 290)}) {
        mouse(view, QEvent::MouseMove, at);
        QCoreApplication::processEvents();
    }
    mouse(view, QEvent::MouseButtonPress, QPointF(600, 20));
    for (const QPointF at : {QPointF(700, 120), QPointF(650, 60), QPointF(900, 200)}) {
        mouse(view, QEvent::MouseMove, at, {}, Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    // The offscreen platform's screen shows what the repaints left in the
    // window's backing store.
    const QImage onScreen = view.screen()
                                ->grabWindow(view.window()->winId())
                                .toImage()
                                .convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(onScreen, rendered(view));
}

TEST_F(SelectionControllerTest, refusedActionsLeaveANoteAndTheOverlayOpen) {
    struct Case {
        const char* name;
        std::function<void(SelectionControllerTest&)> act;
        QString note;
        // A drag too small stays drawn; one released off the display does not.
        std::optional<QRectF> drawn = std::nullopt;
    };
    const Case cases[] = {
        {"released off the display",
         [](auto& t) { drag(t.leftView(), QPointF(500, 100), QPointF(1010, 120)); },
         SelectionView::withinOneDisplay},
        {"60 × 200", [](auto& t) { drag(t.leftView(), QPointF(500, 50), QPointF(560, 250)); },
         SelectionView::tooSmall, QRectF(500, 50, 60, 200)},
        {"no last region", [](auto& t) { key(t.leftView(), Qt::Key_R); },
         SelectionView::noLastRegion},
        {"second display",
         [](auto& t) {
             click(t.leftView(), QPointF(60, 60), Qt::ShiftModifier);
             click(t.rightView(), QPointF(60, 60), Qt::ShiftModifier);
         },
         SelectionView::sameDisplay},
        {"ninth window",
         [](auto& t) {
             for (int i = 0; i < 9; ++i) {
                 click(t.leftView(), QPointF(i * 110 + 50, 250), Qt::ShiftModifier);
             }
         },
         SelectionView::tooManyWindows},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open();
        c.act(*this);
        const bool onRight = c.note == SelectionView::sameDisplay;
        EXPECT_EQ((onRight ? rightView() : leftView()).note(), c.note);
        EXPECT_TRUE(choices.isEmpty());
        EXPECT_EQ(leftView().selection(), c.drawn);
    }
}

TEST_F(SelectionControllerTest, modifiedOrRepeatedKeysDoNothingAndEscapeCancelsAfterHiding) {
    open();
    key(leftView(), Qt::Key_F, Qt::ControlModifier);
    key(leftView(), Qt::Key_C, Qt::AltModifier);
    key(leftView(), Qt::Key_F, {}, true);
    key(leftView(), Qt::Key_Return); // nothing chosen
    key(leftView(), Qt::Key_Space);  // toggles only with Shift
    EXPECT_TRUE(choices.isEmpty());
    EXPECT_TRUE(leftView().chosen().isEmpty());
    key(leftView(), Qt::Key_Escape);
    EXPECT_NE(only<CancelChoice>(), nullptr);
    EXPECT_EQ(viewsAtDelivery, 0);
}

TEST_F(SelectionControllerTest, theSecondDisplaysLastRegionIsRestoredThere) {
    LastRegionRecord(defaults, lastRegionKey).store(right, QRectF(10, 20, 100, 90), false);
    open();
    // Keys act on the display the pointer entered last.
    QEnterEvent enter(QPointF(50, 50), QPointF(50, 50), QPointF(1050, 50));
    QCoreApplication::sendEvent(&rightView(), &enter);
    key(rightView(), Qt::Key_R);
    const RegionChoice* last = only<RegionChoice>();
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->region, (CaptureRegion{right.id, QRectF(10, 20, 100, 90), 2}));
    EXPECT_EQ(last->image, platform.screen.screens[right.id].copy(20, 40, 200, 180));
}

TEST_F(SelectionControllerTest, shiftClickedWindowsAreComposedFrontOverBack) {
    platform.windows.coveredWindows = true; // a compositor keeps each window's pixels
    QImage back(150, 120, QImage::Format_RGBA8888_Premultiplied), front = back;
    back.fill(Qt::red);
    front.fill(Qt::blue);
    platform.windows.images = {{1, front}, {2, back}};
    open();
    click(leftView(), QPointF(60, 60), Qt::ShiftModifier);
    // A press and release under 4 points apart is a click.
    mouse(leftView(), QEvent::MouseButtonPress, QPointF(200, 150), Qt::ShiftModifier);
    mouse(leftView(), QEvent::MouseButtonRelease, QPointF(202, 152), Qt::ShiftModifier);
    EXPECT_TRUE(leftView().note().startsWith("2 windows selected"));
    key(leftView(), Qt::Key_Space, Qt::ShiftModifier); // toggles 2 out again...
    key(leftView(), Qt::Key_Space, Qt::ShiftModifier); // ...and in
    key(leftView(), Qt::Key_Enter);
    const WindowsChoice* picked = only<WindowsChoice>();
    ASSERT_NE(picked, nullptr);
    EXPECT_EQ(platform.windows.requested, (QList<quint32>{2, 1}));
    ASSERT_EQ(picked->image.size(), QSize(210, 160));
    EXPECT_EQ(picked->image.pixel(100, 70), QColor(Qt::blue).rgb()) << "overlap shows the front";
    EXPECT_EQ(picked->image.pixel(200, 150), QColor(Qt::red).rgb());
}

TEST_F(SelectionControllerTest, pixelLimitsAndGrabFailuresFail) {
    platform.displays.list[1].frame.setSize(QSizeF(5000, 4501)); // × 4 > 90 M
    auto tooLarge = awaited(controller.begin([](CaptureChoice) {}));
    EXPECT_THROW(tooLarge.waitForFinished(), DocumentError);

    platform.displays.list = {left};
    platform.screen.failure = QStringLiteral("The screen could not be read.");
    auto grabFailed = awaited(controller.begin([](CaptureChoice) {}));
    EXPECT_THROW(grabFailed.waitForFinished(), PlatformError);
    EXPECT_TRUE(controller.views().isEmpty());

    platform.displays.list = {};
    EXPECT_THROW(awaited(controller.begin([](CaptureChoice) {})).waitForFinished(), CaptureError);

    // Two windows of 100 × 100 points at scale 50 are 50 M pixels each.
    FrozenDisplay frozen{right, QImage(), QImage()};
    frozen.display.scale = 50;
    const WindowCandidate w{window(1, QRectF()), QRectF(0, 0, 100, 100)};
    const CaptureChoice windows = resolveWindowsOutcome(frozen, {w, w}, platform.windows);
    ASSERT_TRUE(std::holds_alternative<FailedChoice>(windows));
    EXPECT_EQ(std::get<FailedChoice>(windows).description(),
              DocumentError(DocumentError::Kind::render).what());
    EXPECT_TRUE(platform.windows.requested.isEmpty());
}

} // namespace
} // namespace vellumix
