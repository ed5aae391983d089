#include "text/EngineRun.h"

#include "text/IdeographSpacing.h"

#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

#include <memory>

namespace vellumix::EngineRun {

namespace {

// The engine polls this between words; raising the token ends Recognize().
bool engineShouldCancel(void* token, int) {
    return static_cast<const CancellationToken*>(token)->isCancelled();
}

// The words of the line `line` is at, with where each lies across it. Lines
// of nothing but spaces, which are layout debris, have none.
std::vector<IdeographSpacing::Word> words(const tesseract::ResultIterator& line) {
    std::vector<IdeographSpacing::Word> found;
    tesseract::ResultIterator word(line);
    do {
        const std::unique_ptr<char[]> text(word.GetUTF8Text(tesseract::RIL_WORD));
        int left = 0, top = 0, right = 0, bottom = 0;
        if (text && word.BoundingBox(tesseract::RIL_WORD, &left, &top, &right, &bottom)) {
            const QString trimmed = QString::fromUtf8(text.get()).trimmed();
            if (!trimmed.isEmpty()) {
                found.push_back({IdeographSpacing::withFullWidthPunctuation(trimmed), left, right});
            }
        }
    } while (!word.IsAtFinalElement(tesseract::RIL_TEXTLINE, tesseract::RIL_WORD) &&
             word.Next(tesseract::RIL_WORD));
    return found;
}

} // namespace

void setImage(tesseract::TessBaseAPI& engine, const QImage& prepared) {
    engine.SetImage(prepared.constBits(), prepared.width(), prepared.height(), prepared.depth() / 8,
                    static_cast<int>(prepared.bytesPerLine()));
    // The prepared image has no resolution of its own; without one the engine
    // warns and guesses. 96, 192 and 300 read the benchmark's images alike.
    engine.SetSourceResolution(300);
}

bool recognize(tesseract::TessBaseAPI& engine, const CancellationToken& cancellation) {
    // Loading language data, which a new engine may just have done, cannot be
    // interrupted: the token is looked at once it is over.
    if (cancellation.isCancelled()) {
        return false;
    }
    tesseract::ETEXT_DESC monitor;
    monitor.cancel = &engineShouldCancel;
    monitor.cancel_this = const_cast<CancellationToken*>(&cancellation);
    return engine.Recognize(&monitor) == 0;
}

std::vector<RecognisedLine> lines(tesseract::TessBaseAPI& engine) {
    std::vector<RecognisedLine> found;
    const std::unique_ptr<tesseract::ResultIterator> iterator(engine.GetIterator());
    if (!iterator) {
        return found;
    }
    int block = -1;
    do {
        if (iterator->IsAtBeginningOf(tesseract::RIL_BLOCK)) {
            ++block;
        }
        int left = 0, top = 0, right = 0, bottom = 0;
        if (!iterator->BoundingBox(tesseract::RIL_TEXTLINE, &left, &top, &right, &bottom)) {
            continue;
        }
        RecognisedLine line;
        line.text = IdeographSpacing::withFullWidthPunctuation(
            IdeographSpacing::joined(words(*iterator), bottom - top));
        if (line.text.trimmed().isEmpty()) {
            continue;
        }
        line.box = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
        int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        if (iterator->Baseline(tesseract::RIL_TEXTLINE, &x1, &y1, &x2, &y2)) {
            line.baseline = (y1 + y2) / 2;
        } else {
            line.baseline = bottom;
        }
        line.confidence = iterator->Confidence(tesseract::RIL_TEXTLINE);
        line.block = block;
        found.push_back(line);
    } while (iterator->Next(tesseract::RIL_TEXTLINE));
    return found;
}

} // namespace vellumix::EngineRun
