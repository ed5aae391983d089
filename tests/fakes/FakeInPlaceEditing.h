#pragma once

#include "capture/CaptureRegion.h"
#include "session/InPlaceEditing.h"

#include <QList>
#include <QPointer>

namespace vellumix {

// An in-place editor without a window: keeps the document, region and
// actions of the editor it was asked to open, can be told to refuse, and
// records the colour toasts.
class FakeInPlaceEditing final : public InPlaceEditing {
public:
    bool show(EditorDocument& document, const CaptureRegion& shownRegion,
              const QImage& shownBackdrop, Actions shownActions) override {
        if (refuse) {
            return false;
        }
        open = &document;
        region = shownRegion;
        backdrop = shownBackdrop;
        actions = std::move(shownActions);
        return true;
    }
    void close() override { open = nullptr; }
    bool isOpen() const override { return open != nullptr; }
    void showColorCopied(const QString& hex) override { toasts.append(hex); }

    bool refuse = false;
    EditorDocument* open = nullptr;
    CaptureRegion region;
    QImage backdrop;
    Actions actions;
    QStringList toasts;
};

} // namespace vellumix
