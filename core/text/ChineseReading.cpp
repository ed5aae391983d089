#include "text/ChineseReading.h"

#include "text/EngineRun.h"

#include <tesseract/baseapi.h>

#include <algorithm>

namespace vellumix::ChineseReading {

namespace {

bool holdsChinese(const QString& text) {
    const QList<uint> characters = text.toUcs4();
    return std::any_of(characters.begin(), characters.end(),
                       [](uint c) { return QChar::script(c) == QChar::Script_Han; });
}

struct Readings {
    std::vector<RecognisedLine> lines; // one per line read, empty when none was found
    double sureness = 0;
};

// Reads each of `which` on its own, a little beyond its box.
bool readLines(EngineCache::Engines& engines, const QString& code, const QImage& prepared,
               const std::vector<RecognisedLine*>& which, Readings& readings,
               const CancellationToken& cancellation) {
    tesseract::TessBaseAPI& engine = engines.engine(code);
    EngineRun::setImage(engine, prepared);
    engine.SetPageSegMode(tesseract::PSM_SINGLE_LINE);
    for (const RecognisedLine* line : which) {
        const int margin = line->box.height() / 4 + 2;
        const QRect area = line->box.adjusted(-margin, -margin, margin, margin) & prepared.rect();
        engine.SetRectangle(area.x(), area.y(), area.width(), area.height());
        if (!EngineRun::recognize(engine, cancellation)) {
            return false;
        }
        const std::vector<RecognisedLine> found = EngineRun::lines(engine);
        RecognisedLine reading;
        if (found.size() == 1) {
            reading = found.front();
        }
        readings.sureness += double(reading.confidence) * double(reading.text.size());
        readings.lines.push_back(reading);
    }
    return true;
}

bool betterInChinese(const RecognisedLine& chinese, const RecognisedLine& english) {
    return holdsChinese(chinese.text) && chinese.confidence > english.confidence;
}

} // namespace

bool readAgain(EngineCache::Engines& engines, const QStringList& codes, const QImage& prepared,
               std::vector<RecognisedLine>& lines, const CancellationToken& cancellation) {
    std::vector<RecognisedLine*> weak;
    for (RecognisedLine& line : lines) {
        if (line.confidence < sureEnglish) {
            weak.push_back(&line);
        }
    }
    if (weak.empty() || codes.isEmpty()) {
        return true;
    }
    std::sort(weak.begin(), weak.end(), [](const RecognisedLine* a, const RecognisedLine* b) {
        return a->confidence < b->confidence;
    });
    const std::vector<RecognisedLine*> probed(
        weak.begin(), weak.begin() + std::min<qsizetype>(probedLines, qsizetype(weak.size())));
    Readings probe;
    if (!readLines(engines, codes.front(), prepared, probed, probe, cancellation)) {
        return false;
    }
    bool found = false;
    for (size_t i = 0; i < probed.size(); ++i) {
        found = found || betterInChinese(probe.lines[i], *probed[i]);
    }
    if (!found) {
        return true;
    }
    Readings best;
    best.sureness = -1;
    for (const QString& code : codes) {
        Readings readings;
        if (!readLines(engines, code, prepared, weak, readings, cancellation)) {
            return false;
        }
        if (readings.sureness > best.sureness) {
            best = std::move(readings);
        }
    }
    for (size_t i = 0; i < weak.size(); ++i) {
        if (betterInChinese(best.lines[i], *weak[i])) {
            weak[i]->text = best.lines[i].text;
            weak[i]->confidence = best.lines[i].confidence;
        }
    }
    return true;
}

} // namespace vellumix::ChineseReading
