#include "editor/CompactToolbar.h"

#include "editor/SymbolIcon.h"
#include "editor/ToolFamily.h"
#include "editor/ToolOptions.h"
#include "ui/ShortcutHint.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

namespace vellumix {

namespace {
using C = EditorCommand;
} // namespace

CompactToolbar::CompactToolbar(EditorDocument& document, EditorServices services,
                               EditorActions actions, HintDismissal& hints, QWidget* parent)
    : QFrame(parent), m_document(document), m_services(services), m_actions(std::move(actions)),
      m_hints(hints) {
    setObjectName(QStringLiteral("compactToolbar"));
    setStyleSheet(QStringLiteral("#compactToolbar { background: palette(window);"
                                 " border: 1px solid rgba(0, 0, 0, 40); border-radius: %1px; }"
                                 "#compactToolbar QToolButton:checked {"
                                 " background: rgba(0, 122, 255, 31); border: none;"
                                 " border-radius: 8px; }")
                      .arg(cornerRadius));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(padding, padding, padding, padding);
    row->setSpacing(spacing);
    addFamilyButtons();
    m_recognize = addButton(QStringLiteral("text.viewfinder"), QStringLiteral("Recognize Text"),
                            EditorKeyMap::hint(QStringLiteral("Recognize Text"), C::recognizeText));
    connect(m_recognize, &QToolButton::clicked, this, &CompactToolbar::openRecognition);
    m_undo = addButton(QStringLiteral("arrow.uturn.backward"), QStringLiteral("Undo"),
                       QStringLiteral("Undo ") + EditorKeyMap::chordOf(C::undo).shown);
    connect(m_undo, &QToolButton::clicked, &m_document, &EditorDocument::undo);
    m_redo = addButton(QStringLiteral("arrow.uturn.forward"), QStringLiteral("Redo"),
                       QStringLiteral("Redo ") + EditorKeyMap::chordOf(C::redo).shown);
    connect(m_redo, &QToolButton::clicked, &m_document, &EditorDocument::redo);
    if (m_actions.canScroll) {
        m_scroll = addButton(QStringLiteral("rectangle.expand.vertical"),
                             QStringLiteral("Scrolling capture"),
                             EditorKeyMap::hint(QStringLiteral("Scrolling capture"), C::scroll) +
                                 QStringLiteral(" · Before annotating"));
        connect(m_scroll, &QToolButton::clicked, this, [this] { m_actions.scroll(); });
    }
    addSaveButton();
    QToolButton* copy = addButton(QStringLiteral("square.on.square"), QStringLiteral("Copy image"),
                                  EditorKeyMap::hint(QStringLiteral("Copy image"), C::copy));
    connect(copy, &QToolButton::clicked, &m_document, &EditorDocument::copy);
    QToolButton* cancel =
        addButton(QStringLiteral("xmark"), QStringLiteral("Cancel capture"),
                  EditorKeyMap::hint(QStringLiteral("Cancel capture"), C::escape));
    connect(cancel, &QToolButton::clicked, this, [this] { m_actions.finish(); });
    for (const auto signal : {&EditorDocument::stateChanged, &EditorDocument::selectedChanged}) {
        connect(&m_document, signal, this, &CompactToolbar::refresh);
    }
    connect(&m_document, &EditorDocument::toolChanged, this, &CompactToolbar::refresh);
    refresh();
}

CompactToolbar::~CompactToolbar() {
    delete m_panel;
    delete m_options;
}

QToolButton* CompactToolbar::addButton(const QString& symbol, const QString& name,
                                       const QString& hint) {
    auto* button = new QToolButton(this);
    button->setIcon(SymbolIcon::icon(symbol));
    button->setIconSize(QSize(22, 22));
    button->setFixedHeight(buttonHeight);
    button->setMinimumWidth(buttonHeight);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAccessibleName(name);
    button->setProperty("symbol", symbol);
    new ShortcutHint(button, hint, m_hints);
    layout()->addWidget(button);
    return button;
}

void CompactToolbar::addFamilyButtons() {
    for (const ToolFamily& family : ToolFamily::families()) {
        QToolButton* button =
            addButton(family.variants.front().symbol, family.id,
                      family.id + QStringLiteral(" · ") + EditorKeyMap::chordOf(family).shown);
        button->setCheckable(true);
        connect(button, &QToolButton::clicked, this, [this, &family] { activateFamily(family); });
        m_familyButtons.append(button);
    }
}

void CompactToolbar::addSaveButton() {
    QToolButton* save =
        addButton(QStringLiteral("square.and.arrow.down"), QStringLiteral("Save image"),
                  EditorKeyMap::hint(QStringLiteral("Save image"), EditorCommand::save));
    save->setPopupMode(QToolButton::MenuButtonPopup);
    save->setMinimumWidth(buttonHeight + 14);
    auto* menu = new QMenu(save);
    menu->addAction(QStringLiteral("Save as PNG…"), this,
                    [this] { saveAs(QStringLiteral("png")); });
    menu->addAction(QStringLiteral("Save as JPG…"), this,
                    [this] { saveAs(QStringLiteral("jpg")); });
    menu->addAction(QStringLiteral("Save last format ") +
                        EditorKeyMap::chordOf(EditorCommand::save).shown,
                    &m_document, &EditorDocument::save);
    save->setMenu(menu);
    connect(save, &QToolButton::clicked, &m_document, &EditorDocument::save);
}

void CompactToolbar::saveAs(const QString& format) {
    m_document.setFormat(format);
    m_document.save();
}

DrawingTool CompactToolbar::activeTool() const {
    const std::optional<ImageMark> mark = m_document.activeMark();
    return mark ? mark->tool : m_document.tool();
}

void CompactToolbar::refresh() {
    const DrawingTool active = activeTool();
    const QVector<ToolFamily>& families = ToolFamily::families();
    for (int i = 0; i < families.size(); ++i) {
        const ToolFamily& family = families[i];
        const bool current = family.contains(active);
        const ToolVariant& shown =
            current ? family.variantOf(active) : family.variant(m_services.defaults);
        m_familyButtons[i]->setIcon(SymbolIcon::icon(shown.symbol));
        m_familyButtons[i]->setChecked(current);
    }
    m_undo->setEnabled(!m_document.history().isEmpty());
    m_redo->setEnabled(!m_document.future().isEmpty());
    if (m_scroll != nullptr) {
        m_scroll->setEnabled(!m_document.hasEdits());
    }
}

QAbstractButton* CompactToolbar::button(const QString& name) const {
    for (QToolButton* button : findChildren<QToolButton*>(Qt::FindDirectChildrenOnly)) {
        if (button->accessibleName() == name) {
            return button;
        }
    }
    return nullptr;
}

std::optional<QString> CompactToolbar::expanded() const {
    if (m_options == nullptr || !m_options->isVisible()) {
        return std::nullopt;
    }
    return m_options->family().id;
}

void CompactToolbar::activateFamily(const ToolFamily& family) {
    if (!family.contains(activeTool())) {
        m_document.setTool(family.variant(m_services.defaults).tool);
        m_document.setSelected(std::nullopt);
    }
    openOptions(family);
}

void CompactToolbar::openOptions(const ToolFamily& family) {
    closePopovers();
    if (family.variants.front().tool == DrawingTool::crop) {
        return;
    }
    m_options = new ToolOptions(m_document, m_services.defaults, family, this);
    const int index = int(&family - ToolFamily::families().data());
    const QWidget* anchor = m_familyButtons[index];
    m_options->move(anchor->mapToGlobal(QPoint(0, anchor->height() + 4)));
    m_options->show();
}

void CompactToolbar::closePopovers() {
    if (m_options != nullptr) {
        m_options->close();
    }
}

void CompactToolbar::openRecognition() {
    closePopovers();
    delete m_panel;
    m_panel = new TextRecognitionPanel(m_document, m_services.clipboard, recognizer,
                                       [this] { m_panel->close(); });
    // A popup closes on a click elsewhere too; either way the panel goes and
    // its recognition is cancelled.
    m_panel->setParent(this, Qt::Popup);
    m_panel->setAttribute(Qt::WA_DeleteOnClose);
    m_panel->adjustSize();
    m_panel->move(m_recognize->mapToGlobal(QPoint(0, m_recognize->height() + 4)));
    m_panel->show();
}

bool CompactToolbar::handleKey(const EditorChord& chord, bool autoRepeat) {
    if (recognizingText()) {
        return false;
    }
    if (!(chord.once && autoRepeat)) {
        run(chord);
    }
    return true;
}

void CompactToolbar::run(const EditorChord& chord) {
    switch (chord.command) {
    case EditorCommand::family:
        keyFamily(*chord.family);
        break;
    case EditorCommand::pin:
        closePopovers();
        m_document.pin();
        break;
    case EditorCommand::recognizeText:
        openRecognition();
        break;
    case EditorCommand::deleteSelected:
        m_document.deleteSelected();
        break;
    case EditorCommand::escape:
        escape();
        break;
    case EditorCommand::save:
        closePopovers();
        // After the key event has been delivered: saving may open a dialog.
        QTimer::singleShot(0, &m_document, &EditorDocument::save);
        break;
    case EditorCommand::scroll:
        if (m_actions.canScroll && !m_document.hasEdits()) {
            closePopovers();
            m_actions.scroll();
        }
        break;
    case EditorCommand::copy:
        m_document.copy();
        break;
    case EditorCommand::undo:
        m_document.undo();
        break;
    case EditorCommand::redo:
        m_document.redo();
        break;
    }
}

void CompactToolbar::keyFamily(const ToolFamily& family) {
    if (family.contains(activeTool())) {
        openOptions(family);
        return;
    }
    m_document.setTool(family.variant(m_services.defaults).tool);
    m_document.setSelected(std::nullopt);
    closePopovers();
}

void CompactToolbar::escape() {
    if (expanded()) {
        closePopovers();
    } else if (m_document.selected()) {
        m_document.setSelected(std::nullopt);
    } else {
        m_actions.finish();
    }
}

} // namespace vellumix
