#include "shell/MenuTable.h"

#include "ui/KeyText.h"

namespace vellumix::menutable {

namespace {

constexpr MenuItem separator{MenuAction::Separator, "", ""};

} // namespace

const QList<MenuDefinition>& menuBar() {
    static const QList<MenuDefinition> menus{
        {"Vellumix",
         {{MenuAction::About, "About Vellumix", ""},
          {MenuAction::Shortcuts, "Keyboard Shortcuts…", ""},
          separator,
          {MenuAction::Quit, "Quit Vellumix", "Ctrl+Q"}}},
        {"File",
         {{MenuAction::Capture, "Capture", "Ctrl+N"},
          {MenuAction::OpenImage, "Open Image…", "Ctrl+O"},
          {MenuAction::OpenFromClipboard, "Open from Clipboard", ""},
          separator,
          {MenuAction::SaveImage, "Save Image…", "Ctrl+S"},
          {MenuAction::CloseEditor, "Close", "Ctrl+W"}}},
        {"Edit",
         {{MenuAction::Undo, "Undo", "Ctrl+Z"},
          {MenuAction::Redo, "Redo", "Ctrl+Shift+Z"},
          {MenuAction::Cut, "Cut", "Ctrl+X"},
          {MenuAction::Copy, "Copy", "Ctrl+C"},
          {MenuAction::OpenFromClipboard, "Paste", "Ctrl+V"},
          {MenuAction::SelectAll, "Select All", "Ctrl+A"}}},
    };
    return menus;
}

const QList<MenuItem>& trayMenu() {
    static const QList<MenuItem> items{
        {MenuAction::Capture, "Capture", ""},
        {MenuAction::OpenFromClipboard, "Open from Clipboard", ""},
        {MenuAction::OpenImage, "Open Image…", ""},
        separator,
        {MenuAction::Shortcuts, "Keyboard Shortcuts…", ""},
        {MenuAction::About, "About Vellumix", ""},
        separator,
        {MenuAction::Quit, "Quit Vellumix", ""},
    };
    return items;
}

bool isEnabled(MenuAction action, const MenuState& state) {
    const bool idle = !state.busy && !state.running;
    switch (action) {
    case MenuAction::Quit:
    case MenuAction::Capture:
    case MenuAction::OpenImage:
        return idle;
    case MenuAction::OpenFromClipboard:
        return idle && state.clipboardHasImage;
    case MenuAction::SaveImage:
        return idle && state.hasEditor;
    default:
        return true;
    }
}

QString captureTitle(const QString& modifiers, const QString& key, const QString& error) {
    const QString shortcut =
        error.isEmpty() ? keytext::shown(modifiers + key) : QStringLiteral("Shortcut unavailable");
    return QStringLiteral("Capture    ") + shortcut;
}

} // namespace vellumix::menutable
