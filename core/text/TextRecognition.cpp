#include "text/TextRecognition.h"

#include "text/ChineseReading.h"
#include "text/EngineCache.h"
#include "text/EngineRun.h"
#include "text/RecognitionImage.h"
#include "text/RecognitionLanguages.h"
#include "text/TableRows.h"
#include "text/TextRecognitionError.h"
#include "text/UnreadInk.h"

#include <tesseract/baseapi.h>

#include <optional>

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

const QString kEnglish = QStringLiteral("en-US");
const QStringList kChinese = {QStringLiteral("zh-Hans"), QStringLiteral("zh-Hant")};

// The recognised text, or nothing when the engine stopped early. The English
// model reads the image alone, and ChineseReading the lines it is unsure of;
// without English, the first Chinese model reads it all.
std::optional<QString> read(EngineCache::Engines& engines, const QImage& prepared,
                            PageSegmentation mode, const CancellationToken& cancellation) {
    QStringList chinese;
    for (const QString& code : kChinese) {
        if (engines.languages().contains(code)) {
            chinese << code;
        }
    }
    const bool english = engines.languages().contains(kEnglish) || chinese.isEmpty();
    tesseract::TessBaseAPI& first = engines.engine(english ? kEnglish : chinese.front());
    EngineRun::setImage(first, prepared);
    first.SetPageSegMode(engineMode(mode));
    if (!EngineRun::recognize(first, cancellation)) {
        return std::nullopt;
    }
    std::vector<RecognisedLine> lines = EngineRun::lines(first);
    if (!UnreadInk::readAgain(first, prepared, lines, cancellation)) {
        return std::nullopt;
    }
    if (english && !ChineseReading::readAgain(engines, chinese, prepared, lines, cancellation)) {
        return std::nullopt;
    }
    UnreadInk::dropUnsure(lines);
    return TableRows::readingOrder(lines).join(QLatin1Char('\n'));
}

} // namespace

QString recognize(const QImage& image, const CancellationToken& cancellation,
                  const RecognitionOptions& options) {
    cancellation.throwIfCancelled();
    if (image.isNull()) {
        throw TextRecognitionError(TextRecognitionError::Kind::invalidImage);
    }
    const QImage prepared = RecognitionImage::prepare(image, options);
    EngineCache::Kept engines = EngineCache::take(RecognitionLanguages::tessdataDirectory());
    const std::optional<QString> text =
        read(*engines, prepared, options.pageSegmentation, cancellation);
    EngineCache::giveBack(std::move(engines));
    cancellation.throwIfCancelled();
    if (!text) {
        throw TextRecognitionError(TextRecognitionError::Kind::recognitionFailed);
    }
    return *text;
}

} // namespace vellumix::TextRecognition
