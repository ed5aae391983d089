#include "text/IdeographSpacing.h"

#include <QList>

namespace vellumix::IdeographSpacing {

namespace {

// Full-width marks take a whole cell with their ink to one side, so they
// always seem far from the next word; no space ever follows or precedes one.
bool isCjkPunctuation(char32_t c) {
    return (c >= 0x3000 && c <= 0x303F) || (c >= 0xFF00 && c <= 0xFF0F) ||
           (c >= 0xFF1A && c <= 0xFF20);
}

bool isIdeographic(char32_t c) {
    return QChar::script(c) == QChar::Script_Han || (c >= 0x3000 && c <= 0x303F) ||
           (c >= 0xFF00 && c <= 0xFFEF);
}

constexpr std::pair<char32_t, char32_t> kFullWidth[] = {
    {U',', U'\uFF0C'}, {U'!', U'\uFF01'}, {U'?', U'\uFF1F'}, {U':', U'\uFF1A'}, {U';', U'\uFF1B'},
};

bool isFullWidthMark(char32_t c) {
    for (const auto& [ascii, wide] : kFullWidth) {
        if (c == wide) {
            return true;
        }
    }
    return false;
}

char32_t fullWidth(char32_t c) {
    for (const auto& [ascii, wide] : kFullWidth) {
        if (c == ascii) {
            return wide;
        }
    }
    return 0;
}

char32_t lastCharacter(const QString& text) {
    const qsizetype n = text.size();
    if (n >= 2 && text[n - 1].isLowSurrogate() && text[n - 2].isHighSurrogate()) {
        return QChar::surrogateToUcs4(text[n - 2], text[n - 1]);
    }
    return text[n - 1].unicode();
}

} // namespace

QString withFullWidthPunctuation(const QString& line) {
    QList<uint> kept;
    for (const uint c : line.toUcs4()) {
        qsizetype before = kept.size();
        while (before > 0 && kept[before - 1] == ' ') {
            --before;
        }
        const char32_t wide = fullWidth(c);
        const bool afterHan = before > 0 && QChar::script(kept[before - 1]) == QChar::Script_Han;
        const bool afterMark = before > 0 && isFullWidthMark(kept[before - 1]);
        if ((wide && afterHan) || (afterMark && QChar::script(c) == QChar::Script_Han)) {
            kept.resize(before); // no space before the mark, nor after it
        }
        kept << (wide && afterHan ? wide : c);
    }
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(kept.constData()), kept.size());
}

QString joined(const std::vector<Word>& words, int lineHeight) {
    QString line;
    for (size_t i = 0; i < words.size(); ++i) {
        const QString& word = words[i].text;
        if (i > 0 && !word.isEmpty() && !line.isEmpty()) {
            const char32_t before = lastCharacter(line);
            const char32_t after = word.toUcs4().front();
            const bool ideographs = isIdeographic(before) && isIdeographic(after);
            const bool mark = isCjkPunctuation(before) || isCjkPunctuation(after);
            const int gap = words[i].left - words[i - 1].right;
            if (!ideographs || (!mark && gap >= wideGap * lineHeight)) {
                line += QLatin1Char(' ');
            }
        }
        line += word;
    }
    return line;
}

} // namespace vellumix::IdeographSpacing
