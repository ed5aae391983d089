#include "text/TextContrast.h"

#include "text/FlatAreas.h"
#include "text/TextMarks.h"

#include <algorithm>
#include <vector>

namespace vellumix::TextContrast {

namespace {

// A faint mark's contrast is raised at most to this share of its ground's
// typical text, so secondary text turns dark and hairlines stay light.
constexpr double kRaisedShare = 0.5;
// Where two grounds meet along a vertical edge at least this long (a sidebar
// beside its pane), a black rule is left: the engine takes it for a column
// separator, which whitening both grounds would hide. Even a faintly tinted
// sidebar counts.
constexpr int kColumnEdge = 96;
// The smaller text is the one this share of the text's pixels lie in.
constexpr double kSmallTextShare = 0.15;
constexpr double kDistinctColumns = 8;
void drawColumnEdges(const FlatAreas& areas, const TextMarks& marks, QImage& grey) {
    const int w = areas.width();
    const int h = areas.height();
    const auto edgeAt = [&](int x, int y) {
        const qsizetype i = qsizetype(y) * w + x;
        const int left = areas.areaAt(i - 1);
        const int right = areas.areaAt(i);
        return left != right && marks.isGround(left) && marks.isGround(right) &&
               colorDistance(areas.areas()[size_t(left)].color,
                             areas.areas()[size_t(right)].color) > kDistinctColumns;
    };
    for (int x = 1; x < w; ++x) {
        int start = 0;
        for (int y = 0; y <= h; ++y) {
            if (y < h && edgeAt(x, y)) {
                continue;
            }
            if (y - start >= kColumnEdge) {
                for (int edge = start; edge < y; ++edge) {
                    grey.scanLine(edge)[x] = 0;
                }
            }
            start = y + 1;
        }
    }
}

void put(QImage& grey, qsizetype index, double value) {
    grey.scanLine(int(index / grey.width()))[index % grey.width()] =
        uchar(std::clamp(value, 0.0, 255.0) + 0.5);
}

// Each pixel of `mark` by how far it lies from its ground towards its ink.
void paintMark(const QImage& image, const TextMarks& marks, const TextMark& mark, QRgb ground,
               double typicalContrast, QImage& grey) {
    const double scale = std::max(mark.contrast, kRaisedShare * typicalContrast);
    const double direction[3] = {(qRed(mark.ink) - qRed(ground)) / mark.contrast,
                                 (qGreen(mark.ink) - qGreen(ground)) / mark.contrast,
                                 (qBlue(mark.ink) - qBlue(ground)) / mark.contrast};
    for (qsizetype p = mark.begin; p < mark.end; ++p) {
        const QRgb color = pixelAt(image, marks.pixelIndex(p));
        const double along = (qRed(color) - qRed(ground)) * direction[0] +
                             (qGreen(color) - qGreen(ground)) * direction[1] +
                             (qBlue(color) - qBlue(ground)) * direction[2];
        put(grey, marks.pixelIndex(p), 255.0 * (1.0 - along / scale));
    }
}

QImage paint(const QImage& image, const FlatAreas& areas, const TextMarks& marks, int textHeight) {
    QImage grey(image.size(), QImage::Format_Grayscale8);
    grey.fill(255);
    const std::vector<double> typical = marks.typicalContrasts();
    const std::vector<bool> controls = marks.controlMarks(textHeight);
    for (size_t m = 0; m < marks.marks().size(); ++m) {
        const TextMark& mark = marks.marks()[m];
        if (mark.ground < 0) {
            // Nothing flat around it, as in a photo: plain brightness.
            for (qsizetype p = mark.begin; p < mark.end; ++p) {
                put(grey, marks.pixelIndex(p), qGray(pixelAt(image, marks.pixelIndex(p))));
            }
        } else if (mark.isText() && !controls[m]) {
            paintMark(image, marks, mark, areas.areas()[size_t(mark.ground)].color,
                      typical[size_t(mark.ground)], grey);
        }
    }
    drawColumnEdges(areas, marks, grey);
    return grey;
}

} // namespace

Result darkOnLight(const QImage& image) {
    const FlatAreas areas(image);
    if (!areas.isFlat()) {
        return {image.convertToFormat(QImage::Format_Grayscale8), 0};
    }
    const TextMarks marks(image, areas);
    const int textHeight = marks.typicalHeight();
    return {paint(image, areas, marks, textHeight), textHeight,
            marks.typicalHeight(kSmallTextShare)};
}

} // namespace vellumix::TextContrast
