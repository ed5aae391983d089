#include "shell/MenuTable.h"

#include "ui/KeyText.h"

namespace vellumix {

QString menutable::captureTitle(const QString& modifiers, const QString& key,
                                const QString& error) {
    const QString shortcut =
        error.isEmpty() ? keytext::shown(modifiers + key) : QStringLiteral("Shortcut unavailable");
    return QStringLiteral("Capture    ") + shortcut;
}

} // namespace vellumix
