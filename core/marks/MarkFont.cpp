#include "marks/MarkFont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QRawFont>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <optional>

namespace vellumix {

namespace {
// Sizes below a pixel carry no readable text and would make the scale
// factor degenerate.
constexpr double minimumPixelSize = 1;

// Fields of the OS/2 table that every version of it has.
constexpr qsizetype weightClassOffset = 4;
constexpr qsizetype selectionOffset = 62;
constexpr qsizetype typoAscenderOffset = 68;
constexpr qsizetype typoDescenderOffset = 70;
constexpr quint16 italicOrObliqueBits = 1 | 1 << 9;
constexpr quint16 semiBoldWeightClass = 600;

// Ascent and descent as fractions of the em.
struct EmMetrics {
    double ascent = 0;
    double descent = 0;
};

// The metrics of the face Qt opens for font, unless that face lacks the
// table or is not the upright face of the weight asked for: a foundry may
// hold only some faces of a family (say, its italics), and Qt then opens one
// of those.
std::optional<EmMetrics> typographicMetrics(const QFont& font, bool bold) {
    const QRawFont raw = QRawFont::fromFont(font);
    const QByteArray table = raw.fontTable("OS/2");
    if (table.size() < typoDescenderOffset + 2 || raw.unitsPerEm() <= 0) {
        return std::nullopt;
    }
    const auto* bytes = reinterpret_cast<const uchar*>(table.constData());
    const bool upright =
        (qFromBigEndian<quint16>(bytes + selectionOffset) & italicOrObliqueBits) == 0;
    const bool isBold = qFromBigEndian<quint16>(bytes + weightClassOffset) >= semiBoldWeightClass;
    if (!upright || isBold != bold) {
        return std::nullopt;
    }
    const EmMetrics metrics{qFromBigEndian<qint16>(bytes + typoAscenderOffset) / raw.unitsPerEm(),
                            -qFromBigEndian<qint16>(bytes + typoDescenderOffset) /
                                raw.unitsPerEm()};
    if (metrics.ascent <= 0 || metrics.descent < 0) {
        return std::nullopt;
    }
    return metrics;
}

// The face mark text is drawn with, and its typographic metrics when it has
// them.
struct MarkFace {
    QString family;
    std::optional<EmMetrics> metrics;
};

// Qt resolves "Helvetica" to one foundry of its substitute family, which may
// be a Type 1 file: such a file has no OS/2 table, so its only metrics are
// clipping heights, far taller than the font's own line. Another foundry of
// the same family often ships the OpenType file with the table; that face is
// preferred, being the same design.
MarkFace resolveFace(bool bold) {
    QFont font(QStringLiteral("Helvetica"));
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    const QString resolved = QFontInfo(font).family();
    const QString plain = resolved.section(QStringLiteral(" ["), 0, 0);
    QStringList candidates{resolved};
    for (const QString& family : QFontDatabase::families()) {
        if (family != resolved &&
            (family == plain || family.startsWith(plain + QStringLiteral(" [")))) {
            candidates.append(family);
        }
    }
    for (const QString& family : candidates) {
        font.setFamily(family);
        if (const auto metrics = typographicMetrics(font, bold)) {
            return {family, metrics};
        }
    }
    return {QStringLiteral("Helvetica"), std::nullopt};
}

const MarkFace& markFace(bool bold) {
    static const MarkFace regular = resolveFace(false);
    static const MarkFace boldFace = resolveFace(true);
    return bold ? boldFace : regular;
}
} // namespace

MarkFont::MarkFont(double pixelSize, bool bold) {
    const MarkFace& face = markFace(bold);
    const double size =
        std::isfinite(pixelSize) ? std::max(pixelSize, minimumPixelSize) : minimumPixelSize;
    const int wholeSize = std::max(1, static_cast<int>(std::lround(size)));
    m_scale = size / wholeSize;
    m_font.setFamily(face.family);
    m_font.setPixelSize(wholeSize);
    m_font.setHintingPreference(QFont::PreferNoHinting);
    if (bold) {
        m_font.setWeight(QFont::Bold);
    }
    if (face.metrics) {
        m_ascent = face.metrics->ascent * size;
        m_descent = face.metrics->descent * size;
    } else {
        const QFontMetricsF metrics(m_font);
        m_ascent = metrics.ascent() * m_scale;
        m_descent = metrics.descent() * m_scale;
    }
}

double MarkFont::width(const QString& line) const {
    return QFontMetricsF(m_font).horizontalAdvance(line) * m_scale;
}

void MarkFont::draw(QPainter& painter, QPointF baseline, const QString& line) const {
    painter.save();
    painter.translate(baseline);
    painter.scale(m_scale, m_scale);
    painter.setFont(m_font);
    painter.drawText(QPointF(0, 0), line);
    painter.restore();
}

} // namespace vellumix
