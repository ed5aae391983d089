#include "selection/WindowsOutcome.h"

#include "imaging/CaptureSelectionImage.h"
#include "imaging/DocumentError.h"
#include "selection/RegionOutcome.h"

namespace vellumix {

namespace {

QImage windowPixels(const FrozenDisplay& frozen, const WindowCandidate& window,
                    WindowSource& source, bool ownPixels) {
    if (ownPixels) {
        return source.windowImage(window.window.id);
    }
    const double s = frozen.display.scale;
    const QRect pixels = integralRect(QRectF(window.rect.x() * s, window.rect.y() * s,
                                             window.rect.width() * s, window.rect.height() * s));
    return frozen.image.copy(pixels.intersected(frozen.image.rect()));
}

} // namespace

CaptureChoice resolveWindowsOutcome(const FrozenDisplay& frozen,
                                    const QList<WindowCandidate>& windows, WindowSource& source) {
    const double scale = frozen.display.scale;
    double pixels = 0;
    for (const WindowCandidate& window : windows) {
        pixels += window.rect.width() * window.rect.height() * scale * scale;
    }
    if (pixels > double(maximumWindowPixels)) {
        return FailedChoice{std::make_exception_ptr(DocumentError(DocumentError::Kind::render))};
    }
    try {
        const bool ownPixels = source.capturesCoveredWindows();
        QVector<CaptureSelectionImage::CompositionPart> parts;
        // The list runs front-most first; later parts cover earlier ones, so
        // it is laid back to front and front windows stay in front.
        for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
            parts.append({windowPixels(frozen, *it, source, ownPixels), it->rect});
        }
        return WindowsChoice{CaptureSelectionImage::compose(parts, scale), scale};
    } catch (...) {
        return FailedChoice{std::current_exception()};
    }
}

} // namespace vellumix
