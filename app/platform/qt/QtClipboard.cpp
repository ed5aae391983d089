#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace vellumix {

namespace {

const QString pngType = QStringLiteral("image/png");

// A clipboard that refused the data reads back without it.
bool holds(const QString& type) {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && data->hasFormat(type);
}

} // namespace

bool QtClipboard::setPng(const QByteArray& png) {
    auto* data = new QMimeData;
    data->setData(pngType, png);
    QGuiApplication::clipboard()->setMimeData(data);
    return holds(pngType);
}

bool QtClipboard::setText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    return holds(QStringLiteral("text/plain"));
}

QImage QtClipboard::image() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr) {
        return QImage();
    }
    if (data->hasFormat(pngType)) {
        return QImage::fromData(data->data(pngType), "PNG");
    }
    return data->hasImage() ? qvariant_cast<QImage>(data->imageData()) : QImage();
}

} // namespace vellumix
