#include "text/IdeographSpacing.h"

#include <QList>

namespace vellumix::IdeographSpacing {

namespace {

bool isIdeographic(char32_t c) {
    return QChar::script(c) == QChar::Script_Han || (c >= 0x3000 && c <= 0x303F) ||
           (c >= 0xFF00 && c <= 0xFFEF);
}

} // namespace

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
