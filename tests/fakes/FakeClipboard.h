#pragma once

#include "editor/Clipboard.h"

namespace vellumix {

// A clipboard in memory that can be told to refuse data; counts every write.
class FakeClipboard final : public Clipboard {
public:
    bool refuse = false;
    QByteArray png;
    QString text;
    int writes = 0;

    bool setPng(const QByteArray& data) override {
        ++writes;
        if (refuse) {
            return false;
        }
        png = data;
        text.clear();
        return true;
    }
    bool setText(const QString& data) override {
        ++writes;
        if (refuse) {
            return false;
        }
        text = data;
        png.clear();
        return true;
    }
    QImage image() const override { return QImage::fromData(png, "PNG"); }
};

} // namespace vellumix
