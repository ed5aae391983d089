#include "text/TextRecognition.h"

#include "text/EngineCache.h"
#include "text/IdeographSpacing.h"
#include "text/RecognitionImage.h"
#include "text/RecognitionLanguages.h"
#include "text/TextRecognitionError.h"

#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

#include <memory>

namespace vellumix::TextRecognition {

namespace {

struct Segmentation {
    PageSegmentation mode;
    tesseract::PageSegMode engineMode;
};

constexpr Segmentation kSegmentations[] = {
    {PageSegmentation::automatic, tesseract::PSM_AUTO},
    {PageSegmentation::sparseText, tesseract::PSM_SPARSE_TEXT},
    {PageSegmentation::singleBlock, tesseract::PSM_SINGLE_BLOCK},
};

tesseract::PageSegMode engineMode(PageSegmentation mode) {
    for (const Segmentation& row : kSegmentations) {
        if (row.mode == mode) {
            return row.engineMode;
        }
    }
    return tesseract::PSM_AUTO;
}

// The engine polls this between words; raising the token ends Recognize().
bool engineShouldCancel(void* token, int) {
    return static_cast<const CancellationToken*>(token)->isCancelled();
}

// Returns false when the engine stopped before the end of the page.
bool run(tesseract::TessBaseAPI& engine, const QImage& prepared, PageSegmentation mode,
         const CancellationToken& cancellation) {
    // Loading language data, which a new engine has just done, cannot be
    // interrupted: the token is looked at once it is over.
    if (cancellation.isCancelled()) {
        return false;
    }
    engine.SetPageSegMode(engineMode(mode));
    engine.SetImage(prepared.constBits(), prepared.width(), prepared.height(), prepared.depth() / 8,
                    static_cast<int>(prepared.bytesPerLine()));
    // The prepared image has no resolution of its own; without one the engine
    // warns and guesses. 96, 192 and 300 read the benchmark's images alike.
    engine.SetSourceResolution(300);
    tesseract::ETEXT_DESC monitor;
    monitor.cancel = &engineShouldCancel;
    monitor.cancel_this = const_cast<CancellationToken*>(&cancellation);
    return engine.Recognize(&monitor) == 0;
}

QString recognisedLines(tesseract::TessBaseAPI& engine) {
    const std::unique_ptr<tesseract::ResultIterator> iterator(engine.GetIterator());
    if (!iterator) {
        return {};
    }
    QStringList lines;
    do {
        const std::unique_ptr<char[]> text(iterator->GetUTF8Text(tesseract::RIL_TEXTLINE));
        if (!text) {
            continue;
        }
        // The engine ends every line with a line feed, and a paragraph's last
        // line with two; lines of nothing but spaces are layout debris.
        const QString string = QString::fromUtf8(text.get());
        qsizetype end = string.size();
        while (end > 0 && string.at(end - 1) == QLatin1Char('\n')) {
            --end;
        }
        const QString line = IdeographSpacing::withoutSpacesBetweenIdeographs(string.left(end));
        if (!line.trimmed().isEmpty()) {
            lines << line;
        }
    } while (iterator->Next(tesseract::RIL_TEXTLINE));
    return lines.join(QLatin1Char('\n'));
}

} // namespace

QString recognize(const QImage& image, const CancellationToken& cancellation,
                  const RecognitionOptions& options) {
    cancellation.throwIfCancelled();
    if (image.isNull()) {
        throw TextRecognitionError(TextRecognitionError::Kind::invalidImage);
    }
    const QImage prepared = RecognitionImage::prepare(image, options);
    const QString directory = RecognitionLanguages::tessdataDirectory();
    EngineCache::Engine engine = EngineCache::take(directory);
    const bool finished = run(*engine, prepared, options.pageSegmentation, cancellation);
    const QString text = finished ? recognisedLines(*engine) : QString();
    EngineCache::giveBack(std::move(engine), directory);
    cancellation.throwIfCancelled();
    if (!finished) {
        throw TextRecognitionError(TextRecognitionError::Kind::recognitionFailed);
    }
    return text;
}

} // namespace vellumix::TextRecognition
