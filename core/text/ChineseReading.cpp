#include "text/ChineseReading.h"

#include "text/EngineRun.h"
#include "text/ScriptInk.h"

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <algorithm>
#include <map>
#include <memory>

namespace vellumix::ChineseReading {

namespace {

bool holdsChinese(const QString& text) {
    const QList<uint> characters = text.toUcs4();
    return std::any_of(characters.begin(), characters.end(),
                       [](uint c) { return QChar::script(c) == QChar::Script_Han; });
}

// One model's readings, one per line read: empty when it found no single line.
using Readings = std::vector<RecognisedLine>;

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
        readings.push_back(found.size() == 1 ? found.front() : RecognisedLine());
    }
    return true;
}

bool betterInChinese(const RecognisedLine& chinese, const RecognisedLine& english) {
    return holdsChinese(chinese.text) && chinese.confidence > english.confidence;
}

// The model whose forms match the ink of `lines` (indices into each model's
// readings) best, or, where the ink cannot tell, the one surest over them
// (confidence weighted by length).
size_t rightScript(const QImage& prepared, const std::vector<Readings>& readings,
                   const std::vector<size_t>& lines) {
    std::vector<double> ink(readings.size(), 0);
    std::vector<double> sureness(readings.size(), 0);
    bool told = false;
    for (size_t m = 0; m < readings.size(); ++m) {
        for (const size_t i : lines) {
            const RecognisedLine& line = readings[m][i];
            const RecognisedLine& first = readings.front()[i];
            sureness[m] += double(line.confidence) * double(line.text.size());
            if (m > 0 && holdsChinese(line.text) && holdsChinese(first.text)) {
                const std::optional<double> lead =
                    ScriptInk::lead(prepared, first.box, line.text, first.text);
                told = told || lead.has_value();
                ink[m] += lead.value_or(0);
            }
        }
    }
    const std::vector<double>& by = told ? ink : sureness;
    return size_t(std::max_element(by.begin(), by.end()) - by.begin());
}

// Gives each of `weak` the reading of the right script for its block where
// that holds Chinese and beats English. One script per block: the ink of a
// single line tells little.
void adoptPerBlock(const QImage& prepared, const std::vector<Readings>& readings,
                   const std::vector<RecognisedLine*>& weak) {
    std::map<int, std::vector<size_t>> blocks;
    for (size_t i = 0; i < weak.size(); ++i) {
        blocks[weak[i]->block].push_back(i);
    }
    for (const auto& [block, members] : blocks) {
        const Readings& best = readings[rightScript(prepared, readings, members)];
        for (const size_t i : members) {
            if (betterInChinese(best[i], *weak[i])) {
                weak[i]->text = best[i].text;
                weak[i]->confidence = best[i].confidence;
            }
        }
    }
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
        found = found || betterInChinese(probe[i], *probed[i]);
    }
    if (!found) {
        return true;
    }
    std::vector<Readings> readings(size_t(codes.size()));
    for (qsizetype c = 0; c < codes.size(); ++c) {
        if (!readLines(engines, codes[c], prepared, weak, readings[size_t(c)], cancellation)) {
            return false;
        }
    }
    adoptPerBlock(prepared, readings, weak);
    return true;
}

} // namespace vellumix::ChineseReading
