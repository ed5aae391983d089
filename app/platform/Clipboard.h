#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace vellumix {

// The desktop clipboard. Each setter replaces whatever it held and answers
// whether the clipboard took the data. Main thread only.
class Clipboard {
public:
    virtual ~Clipboard() = default;

    // Encoded PNG bytes, offered to other programs as "image/png".
    virtual bool setPng(const QByteArray& png) = 0;
    virtual bool setText(const QString& text) = 0;
    // The image the clipboard holds now; null when it holds none.
    virtual QImage image() const = 0;
};

} // namespace vellumix
