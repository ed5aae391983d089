#include "shell/ShortcutSettings.h"

#include "editor/EditorKeyMap.h"
#include "editor/ToolFamily.h"
#include "shell/GlobalCaptureShortcut.h"
#include "ui/KeyText.h"
#include "ui/TextStyle.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace vellumix {

namespace {

using C = EditorCommand;

// A chord of the editor's key map: a family's key, else a command's first.
struct Key {
    EditorCommand command;
    const char* family = nullptr;
};

constexpr Key family(const char* id) {
    return {C::family, id};
}

const struct {
    QList<Key> keys;
    const char* action;
} bindingLines[] = {
    {{family("Shapes"), family("Arrows & lines"), family("Text")}, "Shapes / Arrows / Text"},
    {{family("Pen"), family("Steps"), family("Highlight")}, "Brush / Steps / Highlight"},
    {{family("Redact"), family("Crop"), {C::pin}}, "Redact / Crop / Pin"},
    {{{C::recognizeText}}, "Recognize text"},
    {{{C::scroll}}, "Start scrolling capture"},
    {{{C::copy}, {C::save}}, "Copy / Save"},
    {{{C::undo}, {C::redo}}, "Undo / Redo"},
    {{{C::deleteSelected}, {C::escape}}, "Delete / Dismiss"},
};

QString shown(const Key& key) {
    if (key.family == nullptr) {
        return EditorKeyMap::chordOf(key.command).shown;
    }
    return EditorKeyMap::chordOf(*ToolFamily::withId(QString::fromUtf8(key.family))).shown;
}

} // namespace

QList<ShortcutSettings::Binding> ShortcutSettings::editorBindings() {
    QList<Binding> bindings;
    for (const auto& row : bindingLines) {
        QStringList keys;
        for (const Key& key : row.keys) {
            keys.append(shown(key));
        }
        bindings.append({keys.join(QStringLiteral(" / ")), QString::fromUtf8(row.action)});
    }
    return bindings;
}

ShortcutSettings::ShortcutSettings(GlobalCaptureShortcut& shortcut)
    : m_shortcut(shortcut), m_modifiers(new QComboBox), m_keys(new QComboBox),
      m_error(textstyle::label(QString(), textstyle::Style::caption)),
      m_desktopSteps(textstyle::label(QString(), textstyle::Style::caption)) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Keyboard Shortcuts"));

    auto* column = new QVBoxLayout(this);
    column->setSpacing(18);
    column->setContentsMargins(26, 26, 26, 26);
    column->addWidget(
        textstyle::label(QStringLiteral("Keyboard Shortcuts"), textstyle::Style::title));
    column->addWidget(
        textstyle::label(QStringLiteral("Capture from any app"), textstyle::Style::headline));
    column->addLayout(pickerRow());
    m_error->setStyleSheet(QStringLiteral("color: #d70015;"));
    m_error->setWordWrap(true);
    column->addWidget(m_error);
    m_desktopSteps->setWordWrap(true);
    m_desktopSteps->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(m_desktopSteps);
    auto* divider = new QFrame;
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);
    column->addWidget(divider);
    column->addWidget(
        textstyle::label(QStringLiteral("While editing"), textstyle::Style::headline));
    column->addLayout(bindingRows());
    QLabel* note = textstyle::label(
        keytext::shown(QStringLiteral("Press a tool key again for options. Tool keys stay inactive "
                                      "while typing. ⌥-drag draws over existing annotations.")),
        textstyle::Style::secondaryCaption);
    note->setWordWrap(true);
    column->addWidget(note);
    column->addStretch();

    connect(&m_shortcut, &GlobalCaptureShortcut::changed, this, &ShortcutSettings::refresh);
    refresh();
}

QLayout* ShortcutSettings::pickerRow() {
    for (const GlobalCaptureShortcut::ModifierPair& pair : GlobalCaptureShortcut::modifierPairs) {
        // The pickers name the pairs as "⌘ ⇧" would read here: Ctrl+Shift.
        const QString stored = QString::fromUtf8(pair.stored);
        m_modifiers->addItem(keytext::shown(QString(stored).insert(1, QLatin1Char(' '))), stored);
    }
    for (const GlobalCaptureShortcut::KeyCode& code : GlobalCaptureShortcut::keyCodes) {
        m_keys->addItem(QLatin1String(code.name), QLatin1String(code.name));
    }
    m_modifiers->setAccessibleName(QStringLiteral("Modifiers"));
    m_keys->setAccessibleName(QStringLiteral("Key"));
    connect(m_modifiers, &QComboBox::currentIndexChanged, this, [this] {
        m_shortcut.registerShortcut(m_shortcut.key(), m_modifiers->currentData().toString());
    });
    connect(m_keys, &QComboBox::currentIndexChanged, this, [this] {
        m_shortcut.registerShortcut(m_keys->currentData().toString(), m_shortcut.modifiers());
    });
    auto* row = new QHBoxLayout;
    row->addWidget(m_modifiers);
    row->addWidget(m_keys);
    row->addStretch();
    return row;
}

QLayout* ShortcutSettings::bindingRows() {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(8);
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPixelSize(textstyle::font(textstyle::Style::callout).pixelSize());
    const QList<Binding> bindings = editorBindings();
    for (qsizetype row = 0; row < bindings.size(); ++row) {
        QLabel* keys = textstyle::label(bindings[row].keys, textstyle::Style::callout);
        keys->setFont(mono);
        grid->addWidget(keys, int(row), 0);
        grid->addWidget(textstyle::label(bindings[row].action, textstyle::Style::callout), int(row),
                        1);
    }
    grid->setColumnStretch(1, 1);
    return grid;
}

void ShortcutSettings::refresh() {
    const QSignalBlocker modifiersBlocked(m_modifiers);
    const QSignalBlocker keysBlocked(m_keys);
    m_modifiers->setCurrentIndex(m_modifiers->findData(m_shortcut.modifiers()));
    m_keys->setCurrentIndex(m_keys->findData(m_shortcut.key()));
    m_error->setText(m_shortcut.error());
    m_error->setVisible(!m_shortcut.error().isEmpty());
    m_desktopSteps->setText(m_shortcut.desktopSteps());
    m_desktopSteps->setVisible(!m_shortcut.desktopSteps().isEmpty());
    // The desktop's steps take room the fixed size does not leave.
    setFixedSize(windowSize.width(),
                 std::max(windowSize.height(), layout()->totalHeightForWidth(windowSize.width())));
}

} // namespace vellumix
