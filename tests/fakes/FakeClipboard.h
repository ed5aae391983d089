#pragma once

#include "platform/Clipboard.h"

namespace vellumix {

// A clipboard in memory that can be told to refuse data.
class FakeClipboard final : public Clipboard {
public:
    bool refuse = false;
    QByteArray png;
    QString text;

    bool setPng(const QByteArray& data) override { return take(data, {}); }
    bool setText(const QString& data) override { return take({}, data); }
    QImage image() const override { return QImage::fromData(png, "PNG"); }

private:
    bool take(const QByteArray& newPng, const QString& newText) {
        if (!refuse) {
            png = newPng;
            text = newText;
        }
        return !refuse;
    }
};

} // namespace vellumix
