#pragma once

#include "platform/Clipboard.h"

namespace vellumix {

// The application's QClipboard. On X11 the app owns what it copies, so the
// data lasts as long as the app runs.
class QtClipboard final : public Clipboard {
public:
    bool setPng(const QByteArray& png) override;
    bool setText(const QString& text) override;
    QImage image() const override;
};

} // namespace vellumix
