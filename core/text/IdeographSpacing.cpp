#include "text/IdeographSpacing.h"

#include <QList>

namespace vellumix::IdeographSpacing {

namespace {

bool isIdeographic(char32_t c) {
    return QChar::script(c) == QChar::Script_Han || (c >= 0x3000 && c <= 0x303F) ||
           (c >= 0xFF00 && c <= 0xFFEF);
}

constexpr std::pair<char32_t, char32_t> kFullWidth[] = {
    {U',', U'\uFF0C'}, {U'!', U'\uFF01'}, {U'?', U'\uFF1F'}, {U':', U'\uFF1A'}, {U';', U'\uFF1B'},
};

char32_t fullWidth(char32_t c) {
    for (const auto& [ascii, wide] : kFullWidth) {
        if (c == ascii) {
            return wide;
        }
    }
    return 0;
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
        if (wide && before > 0 && QChar::script(kept[before - 1]) == QChar::Script_Han) {
            kept.resize(before);
            kept << wide;
        } else {
            kept << c;
        }
    }
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(kept.constData()), kept.size());
}

QString withoutSpacesBetweenIdeographs(const QString& line) {
    const QList<uint> characters = line.toUcs4();
    QList<uint> kept;
    kept.reserve(characters.size());
    for (qsizetype i = 0; i < characters.size(); ++i) {
        if (characters[i] == ' ' && !kept.isEmpty() && isIdeographic(kept.back())) {
            qsizetype next = i;
            while (next < characters.size() && characters[next] == ' ') {
                ++next;
            }
            if (next < characters.size() && isIdeographic(characters[next])) {
                i = next - 1;
                continue;
            }
        }
        kept << characters[i];
    }
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(kept.constData()), kept.size());
}

} // namespace vellumix::IdeographSpacing
