#include "EditorTestSupport.h"
#include "editor/CanvasView.h"
#include "editor/ScreenshotEditor.h"
#include "editor/ToolFamily.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QWindow>

#include <functional>

namespace vellumix {
namespace {

using T = DrawingTool;

// An editor window with every service faked, made afresh for each row.
class KeyBench : public EditorTest {
public:
    using EditorTest::defaults;
    using EditorTest::document;

    KeyBench() {
        editor->toolbar()->recognizer = [](const QImage&, const CancellationToken&) {
            return QStringLiteral("text");
        };
        // A menu shortcut of the window on an editor chord: the editor's
        // key handler must keep the chord.
        auto* undoItem = new QAction(editor.get());
        undoItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
        editor->addAction(undoItem);
        QObject::connect(undoItem, &QAction::triggered, [] { ADD_FAILURE() << "menu took it"; });
        editor->resize(900, 600);
        editor->show();
        // Popups close when the application loses its last active window.
        editor->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    }
    void TestBody() override {}

    // Sends a key the way the window system does: to the open popup, else
    // the focus; ShortcutOverride, then the press, both through the
    // application's event filters.
    void press(QKeyCombination keys, bool repeat) {
        // What the setup opened has settled, as it has by the time a person
        // presses the next key.
        QApplication::processEvents();
        QWidget* target = QApplication::activePopupWidget();
        target = target ? target : QApplication::focusWidget();
        target = target ? target : editor->canvas();
        QKeyEvent override(QEvent::ShortcutOverride, keys.key(), keys.keyboardModifiers(),
                           QString(), repeat);
        QApplication::sendEvent(target, &override);
        QKeyEvent event(QEvent::KeyPress, keys.key(), keys.keyboardModifiers(), QString(), repeat);
        event.ignore();
        QApplication::sendEvent(target, &event);
        QApplication::processEvents();
    }
    // What the keys changed, in words: the tool unless the arrow, and what
    // differs from an untouched editor. Rows compare all of it, so that a key
    // doing one thing too many fails as well.
    QString changes() const {
        const std::optional<QString> popover = editor->toolbar()->expanded();
        QStringList asked;
        for (const FakeDialogs::Asked& question : dialogs.asked) {
            asked.append(question.kind);
        }
        const std::pair<bool, QString> facts[] = {
            {document->tool() != T::arrow, drawing_tool::rawValue(document->tool())},
            {popover.has_value(), popover.value_or(QString()) + QStringLiteral(" open")},
            {!document->state().marks.isEmpty(),
             QStringLiteral("%1 marks").arg(document->state().marks.size())},
            {document->selected().has_value(), QStringLiteral("selected")},
            {!asked.isEmpty(), QStringLiteral("asked ") + asked.join(QLatin1Char(' '))},
            {!clipboard.png.isEmpty(), QStringLiteral("copied")},
            {!pins.open.isEmpty(), QStringLiteral("%1 pins").arg(pins.open.size())},
            {editor->toolbar()->recognizingText(), QStringLiteral("recognizing")},
            {scrolls > 0, QStringLiteral("%1 scrolls").arg(scrolls)},
            {cancels > 0, QStringLiteral("%1 cancels").arg(cancels)},
            {completed > 0, QStringLiteral("%1 completed").arg(completed)},
        };
        QStringList out;
        for (const auto& [holds, fact] : facts) {
            if (holds) {
                out.append(fact);
            }
        }
        return out.join(QStringLiteral(", "));
    }

    int scrolls = 0;
    int cancels = 0;
    std::unique_ptr<ScreenshotEditor> editor =
        std::make_unique<ScreenshotEditor>(*document, services(),
                                           EditorActions{true, [this] { ++cancels; }, nullptr,
                                                         [this] {
                                                             ++scrolls;
                                                         }});
    std::unique_ptr<QMenu> menu;
};

using Prepare = std::function<void(KeyBench&)>;

Prepare openFamily(const char* id) {
    return [id](KeyBench& t) {
        t.editor->toolbar()->activateFamily(*ToolFamily::withId(QString::fromUtf8(id)));
    };
}
Prepare storedShape(const char* variant) {
    return [variant](KeyBench& t) {
        t.defaults.setValue(QStringLiteral("editor.variant.形状"), QString::fromUtf8(variant));
    };
}
Prepare selectedMark(Prepare then = [](KeyBench&) {}) {
    return [then](KeyBench& t) {
        t.document->commit(ImageMark(T::rectangle, {{10, 10}, {60, 40}}, Qt::red, 4, QString()));
        t.document->setSelected(0);
        then(t);
    };
}

TEST(EditorKeys, everyChordOfTheKeyMapThroughTheFilter) {
    // What, the set-up, the keys and what they change; a held R repeats.
    const std::tuple<const char*, Prepare, QKeyCombination, const char*> cases[] = {
        {"A with the arrow opens its options", {}, Qt::Key_A, "Arrows & lines open"},
        {"R switches to the remembered shape and closes the popover", openFamily("Arrows & lines"),
         Qt::Key_R, "rectangle"},
        {"a stored ellipse makes R select it", storedShape("ellipse"), Qt::Key_R, "ellipse"},
        {"an unknown stored variant selects the first", storedShape("arrow"), Qt::Key_R,
         "rectangle"},
        {"C with crop active closes popovers",
         [](KeyBench& t) {
             openFamily("Shapes")(t);
             t.document->setTool(T::crop);
         },
         Qt::Key_C, "crop"},
        {"each family key selects its family", {}, Qt::Key_M, "pixelate"},
        {"P closes the popover and pins", openFamily("Shapes"), Qt::Key_P,
         "rectangle, 1 pins, 1 completed"},
        {"O closes the popover and opens recognition", openFamily("Shapes"), Qt::Key_O,
         "rectangle, recognizing"},
        {"Backspace deletes the selected mark", selectedMark(), Qt::Key_Backspace, ""},
        {"Delete deletes it too", selectedMark(), Qt::Key_Delete, ""},
        {"Escape closes the popover first", selectedMark(openFamily("Shapes")), Qt::Key_Escape,
         "1 marks, selected"},
        {"Escape then clears the selection", selectedMark(), Qt::Key_Escape, "1 marks"},
        {"Escape then cancels", {}, Qt::Key_Escape, "1 cancels"},
        {"Ctrl+S saves in the current format", {}, Qt::CTRL | Qt::Key_S, "asked save"},
        {"Ctrl+Shift+L scrolls before annotating", nullptr, Qt::CTRL | Qt::SHIFT | Qt::Key_L,
         "1 scrolls"},
        {"Ctrl+Shift+L after the first annotation does nothing", selectedMark(),
         Qt::CTRL | Qt::SHIFT | Qt::Key_L, "1 marks, selected"},
        {"Ctrl+C copies", {}, Qt::CTRL | Qt::Key_C, "copied, 1 completed"},
        {"Ctrl+Z undoes, not the window's menu", selectedMark(), Qt::CTRL | Qt::Key_Z, ""},
        {"Ctrl+Shift+Z redoes", selectedMark([](KeyBench& t) { t.document->undo(); }),
         Qt::CTRL | Qt::SHIFT | Qt::Key_Z, "1 marks"},
        {"a menu of the window's menu bar keeps Escape",
         [](KeyBench& t) {
             t.menu = std::make_unique<QMenu>(t.editor.get());
             t.menu->addAction(QStringLiteral("About"));
             t.menu->popup(t.editor->mapToGlobal(QPoint(10, 10)));
             ASSERT_TRUE(QTest::qWaitForWindowExposed(t.menu.get()));
         },
         Qt::Key_Escape, ""},
        {"keys pass on while typing",
         [](KeyBench& t) {
             auto* field = new QLineEdit(t.editor.get());
             field->show();
             field->setFocus();
         },
         Qt::Key_R, ""},
        {"keys pass on while recognizing",
         [](KeyBench& t) { t.editor->toolbar()->openRecognition(); }, Qt::Key_R, "recognizing"},
    };
    for (const auto& [name, setup, keys, changes] : cases) {
        SCOPED_TRACE(name);
        KeyBench bench;
        if (setup) {
            setup(bench);
        }
        bench.press(keys, false);
        EXPECT_EQ(bench.changes(), QString::fromUtf8(changes));
    }
    KeyBench held;
    held.press(Qt::Key_R, true);
    EXPECT_EQ(held.changes(), QString()) << "a held R repeats without effect";
}

// Today's way out must stay the only one: a key pressed while the mouse
// draws may end nothing, and Escape then drops only the mark being drawn.
TEST(EditorKeys, escapeDuringADragCancelsOnlyThatDrag) {
    KeyBench bench;
    bench.document->commit(ImageMark(T::rectangle, {{10, 10}, {60, 40}}, Qt::red, 4, QString()));
    bench.document->setTool(T::rectangle);
    QWindow* window = bench.editor->windowHandle();
    const QPoint from = bench.editor->canvas()->mapTo(bench.editor.get(), QPoint(100, 60));
    const QPoint to = from + QPoint(60, 30);
    QTest::mousePress(window, Qt::LeftButton, {}, from);
    QTest::mouseMove(window, to);
    bench.press(Qt::Key_Escape, false);
    bench.press(Qt::Key_R, false);
    QTest::mouseRelease(window, Qt::LeftButton, {}, to);
    EXPECT_EQ(bench.changes(), QStringLiteral("rectangle, 1 marks"));
    bench.press(Qt::Key_Escape, false);
    EXPECT_EQ(bench.changes(), QStringLiteral("rectangle, 1 marks, 1 cancels"));
}

TEST(EditorKeyMap, everyChordHasOneRowAndEveryFamilyAKey) {
    QSet<int> seen;
    QSet<const ToolFamily*> families;
    for (const EditorChord& chord : EditorKeyMap::chords()) {
        seen.insert(chord.keys.toCombined());
        if (chord.command == EditorCommand::family && chord.family != nullptr) {
            families.insert(chord.family);
        }
    }
    EXPECT_EQ(seen.size(), EditorKeyMap::chords().size());
    EXPECT_EQ(families.size(), ToolFamily::families().size());
}

} // namespace
} // namespace vellumix
