#include "EditorTestSupport.h"
#include "editor/CanvasView.h"
#include "editor/ScreenshotEditor.h"
#include "editor/ToolFamily.h"
#include "editor/ToolOptions.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <functional>

namespace vellumix {
namespace {

// Public, so that the table's rows can set up and check.
class EditorKeysTest : public EditorTest {
public:
    using EditorTest::clipboard;
    using EditorTest::defaults;
    using EditorTest::dialogs;
    using EditorTest::pins;

    void SetUp() override {
        dialogs = {};
        clipboard = {};
        pins = {};
        scrolls = 0;
        cancels = 0;
        defaults.remove(QStringLiteral("editor.variant.形状"));
        document = makeDocument();
        editor = std::make_unique<ScreenshotEditor>(*document, services(), actions());
        editor->toolbar()->recognizer = [](const QImage&, const CancellationToken&) {
            return QStringLiteral("text");
        };
        editor->resize(900, 600);
        editor->show();
        // Popups close when the application loses its last active window.
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    }
    void TearDown() override {
        editor.reset();
        document.reset();
    }
    EditorActions actions() {
        return {true, [this] { ++scrolls; },
                [this] {
                    ++cancels;
                }};
    }

    // Sends a key the way the window system does: to the open popup, else
    // the canvas; ShortcutOverride, then the press, both through the
    // application's event filters.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool repeat = false,
               QWidget* target = nullptr) {
        if (target == nullptr) {
            target = QApplication::activePopupWidget();
        }
        if (target == nullptr) {
            target = editor->canvas();
        }
        QKeyEvent override(QEvent::ShortcutOverride, key, modifiers, QString(), repeat);
        QApplication::sendEvent(target, &override);
        QKeyEvent event(QEvent::KeyPress, key, modifiers, QString(), repeat);
        event.ignore();
        QApplication::sendEvent(target, &event);
        QApplication::processEvents();
    }
    void addSelectedMark() {
        document->commit(mark(DrawingTool::rectangle, {{10, 10}, {60, 40}}));
        document->setSelected(0);
    }
    std::optional<QString> expanded() { return editor->toolbar()->expanded(); }

    std::unique_ptr<EditorDocument> document;
    std::unique_ptr<ScreenshotEditor> editor;
    int scrolls = 0;
    int cancels = 0;
};

struct KeyCase {
    const char* name;
    std::function<void(EditorKeysTest&)> setup;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool repeat;
    std::function<void(EditorKeysTest&)> check;
};

using T = DrawingTool;
const auto none = [](EditorKeysTest&) {
};
const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;

TEST_F(EditorKeysTest, everyChordOfTheKeyMapThroughTheFilter) {
    const auto open = [](const char* id) {
        return [id](EditorKeysTest& t) {
            t.editor->toolbar()->activateFamily(*ToolFamily::withId(QString::fromUtf8(id)));
        };
    };
    const auto tool = [](T expected, std::optional<QString> popover = std::nullopt) {
        return [=](EditorKeysTest& t) {
            EXPECT_EQ(t.document->tool(), expected);
            EXPECT_EQ(t.expanded(), popover);
        };
    };
    const std::vector<KeyCase> cases = {
        {"A with the arrow opens its options",
         none,
         Qt::Key_A,
         {},
         false,
         tool(T::arrow, QStringLiteral("Arrows & lines"))},
        {"R switches to the remembered shape and closes the popover",
         open("Arrows & lines"),
         Qt::Key_R,
         {},
         false,
         tool(T::rectangle)},
        {"a stored ellipse makes R select it",
         [](EditorKeysTest& t) {
             t.defaults.setValue(QStringLiteral("editor.variant.形状"), QStringLiteral("ellipse"));
         },
         Qt::Key_R,
         {},
         false,
         tool(T::ellipse)},
        {"an unknown stored variant selects the first",
         [](EditorKeysTest& t) {
             t.defaults.setValue(QStringLiteral("editor.variant.形状"), QStringLiteral("arrow"));
         },
         Qt::Key_R,
         {},
         false,
         tool(T::rectangle)},
        {"C with crop active closes popovers",
         [](EditorKeysTest& t) {
             t.document->setTool(T::crop);
             t.editor->toolbar()->activateFamily(*ToolFamily::withId(QStringLiteral("Shapes")));
             t.document->setTool(T::crop);
         },
         Qt::Key_C,
         {},
         false,
         tool(T::crop)},
        {"each family key selects its family", none, Qt::Key_M, {}, false, tool(T::pixelate)},
        {"a held R repeats without effect", none, Qt::Key_R, {}, true, tool(T::arrow)},
        {"P closes the popover and pins",
         open("Shapes"),
         Qt::Key_P,
         {},
         false,
         [](EditorKeysTest& t) {
             EXPECT_EQ(t.pins.open.size(), 1);
             EXPECT_EQ(t.expanded(), std::nullopt);
         }},
        {"O opens recognition",
         none,
         Qt::Key_O,
         {},
         false,
         [](EditorKeysTest& t) {
             EXPECT_TRUE(t.editor->toolbar()->recognizingText());
             EXPECT_EQ(t.expanded(), std::nullopt);
         }},
        {"Backspace deletes the selected mark",
         &EditorKeysTest::addSelectedMark,
         Qt::Key_Backspace,
         {},
         false,
         [](EditorKeysTest& t) {
             EXPECT_TRUE(t.document->state().marks.isEmpty());
         }},
        {"Delete deletes it too",
         &EditorKeysTest::addSelectedMark,
         Qt::Key_Delete,
         {},
         false,
         [](EditorKeysTest& t) {
             EXPECT_TRUE(t.document->state().marks.isEmpty());
         }},
        {"Escape closes the popover first",
         [](EditorKeysTest& t) {
             t.addSelectedMark();
             t.editor->toolbar()->activateFamily(*ToolFamily::withId(QStringLiteral("Shapes")));
         },
         Qt::Key_Escape,
         {},
         false,
         [](EditorKeysTest& t) {
             EXPECT_EQ(t.expanded(), std::nullopt);
             EXPECT_EQ(t.document->selected(), 0);
         }},
        {"Escape then clears the selection",
         &EditorKeysTest::addSelectedMark,
         Qt::Key_Escape,
         {},
         false,
         [](EditorKeysTest& t) {
             EXPECT_EQ(t.document->selected(), std::nullopt);
             EXPECT_EQ(t.cancels, 0);
         }},
        {"Escape then cancels",
         none,
         Qt::Key_Escape,
         {},
         false,
         [](EditorKeysTest& t) {
             EXPECT_EQ(t.cancels, 1);
         }},
        {"Ctrl+S saves in the current format", none, Qt::Key_S, ctrl, false,
         [](EditorKeysTest& t) {
             ASSERT_EQ(t.dialogs.asked.size(), 1);
             EXPECT_EQ(t.dialogs.asked[0].kind, QStringLiteral("save"));
         }},
        {"Ctrl+Shift+L scrolls before annotating", none, Qt::Key_L, ctrlShift, false,
         [](EditorKeysTest& t) {
             EXPECT_EQ(t.scrolls, 1);
         }},
        {"Ctrl+Shift+L after the first annotation does nothing", &EditorKeysTest::addSelectedMark,
         Qt::Key_L, ctrlShift, false,
         [](EditorKeysTest& t) {
             EXPECT_EQ(t.scrolls, 0);
         }},
        {"Ctrl+C copies", none, Qt::Key_C, ctrl, false,
         [](EditorKeysTest& t) {
             EXPECT_FALSE(t.clipboard.png.isEmpty());
         }},
        {"Ctrl+Z undoes", &EditorKeysTest::addSelectedMark, Qt::Key_Z, ctrl, false,
         [](EditorKeysTest& t) {
             EXPECT_TRUE(t.document->state().marks.isEmpty());
         }},
        {"Ctrl+Shift+Z redoes",
         [](EditorKeysTest& t) {
             t.addSelectedMark();
             t.document->undo();
         },
         Qt::Key_Z, ctrlShift, false,
         [](EditorKeysTest& t) {
             EXPECT_EQ(t.document->state().marks.size(), 1);
         }},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        c.setup(*this);
        press(c.key, c.modifiers, c.repeat);
        c.check(*this);
    }
}

TEST_F(EditorKeysTest, everyChordHasOneRowAndReadsAsOnThisSystem) {
    QSet<int> seen;
    for (const EditorChord& chord : EditorKeyMap::chords()) {
        EXPECT_FALSE(seen.contains(chord.keys.toCombined())) << chord.shown.toStdString();
        seen.insert(chord.keys.toCombined());
    }
    EXPECT_EQ(EditorKeyMap::chordOf(EditorCommand::redo).shown, QStringLiteral("Ctrl+Shift+Z"));
    EXPECT_EQ(EditorKeyMap::chordOf(EditorCommand::deleteSelected).shown,
              QStringLiteral("Backspace"));
}

TEST_F(EditorKeysTest, menuShortcutsOfTheWindowNeverStealAnEditorChord) {
    auto* action = new QAction(editor.get());
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    editor->addAction(action);
    int triggered = 0;
    QObject::connect(action, &QAction::triggered, [&] { ++triggered; });
    addSelectedMark();
    press(Qt::Key_Z, ctrl);
    EXPECT_EQ(triggered, 0);
    EXPECT_TRUE(document->state().marks.isEmpty());
}

TEST_F(EditorKeysTest, keysPassOnWhileTypingOrRecognizing) {
    auto* field = new QLineEdit(editor.get());
    field->show();
    field->setFocus();
    press(Qt::Key_R, {}, false, field);
    EXPECT_EQ(document->tool(), T::arrow);
    delete field;

    // A menu opened from the window's menu bar keeps Escape to itself.
    QMenu menu(editor.get());
    menu.addAction(QStringLiteral("About"));
    menu.popup(editor->mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    press(Qt::Key_Escape);
    EXPECT_EQ(cancels, 0);
    menu.close();

    editor->toolbar()->openRecognition();
    press(Qt::Key_R);
    EXPECT_EQ(document->tool(), T::arrow);
}

} // namespace
} // namespace vellumix
