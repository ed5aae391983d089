#include "ui/KeyText.h"

#include <QStringList>

namespace vellumix::keytext {

namespace {

struct Modifier {
    QChar symbol;
    const char* name;
};

// In the order a shown chord names them; ⌘ and ⌃ are both Ctrl.
constexpr Modifier modifiers[] = {
    {QChar(0x2318), "Ctrl"}, // ⌘
    {QChar(0x2303), "Ctrl"}, // ⌃
    {QChar(0x2325), "Alt"},  // ⌥
    {QChar(0x21E7), "Shift"} // ⇧
};

bool isModifier(QChar c) {
    for (const Modifier& m : modifiers) {
        if (m.symbol == c) {
            return true;
        }
    }
    return false;
}

// One chord: modifier symbols (a space may separate them) and the key that
// follows, if any.
QString chordText(const QString& symbols, const QString& key) {
    QStringList names;
    for (const Modifier& m : modifiers) {
        const QString name = QString::fromLatin1(m.name);
        if (symbols.contains(m.symbol) && !names.contains(name)) {
            names.append(name);
        }
    }
    if (!key.isEmpty()) {
        names.append(key);
    }
    return names.join(QLatin1Char('+'));
}

} // namespace

QString shown(const QString& text) {
    QString out;
    for (qsizetype i = 0; i < text.size();) {
        if (!isModifier(text[i])) {
            out += text[i++];
            continue;
        }
        QString symbols;
        while (i < text.size() &&
               (isModifier(text[i]) ||
                (text[i] == QLatin1Char(' ') && i + 1 < text.size() && isModifier(text[i + 1])))) {
            symbols += text[i++];
        }
        QString key;
        if (i < text.size() && text[i].isLetterOrNumber()) {
            key = text[i++].toUpper();
        }
        out += chordText(symbols, key);
    }
    return out;
}

} // namespace vellumix::keytext
