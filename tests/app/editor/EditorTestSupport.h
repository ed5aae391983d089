#pragma once

#include "editor/EditorDocument.h"
#include "fakes/FakeClipboard.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakePins.h"
#include "fakes/WidgetTestApp.h"
#include "prefs/SettingsDefaults.h"

#include <QColorSpace>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace vellumix {

// A document on a plain white source with every service faked and the
// defaults in a temporary file.
class EditorTest : public testing::Test {
protected:
    std::unique_ptr<EditorDocument> makeDocument(QSize size = QSize(200, 100)) {
        QImage source(size, QImage::Format_RGBA8888_Premultiplied);
        source.fill(Qt::white);
        auto document = std::make_unique<EditorDocument>(source, 2.0, true, false, services());
        document->onComplete = [this] {
            ++completed;
        };
        return document;
    }
    EditorServices services() { return {defaults, dialogs, clipboard, pins}; }

    // Whether two images show the same pixels, whatever their format.
    static bool samePixels(const QImage& a, const QImage& b) {
        const auto plain = [](const QImage& image) {
            QImage converted = image.convertToFormat(QImage::Format_ARGB32);
            converted.setColorSpace(QColorSpace::SRgb);
            return converted;
        };
        return plain(a) == plain(b);
    }

    static ImageMark mark(DrawingTool tool, QVector<QPointF> points, QString text = QString()) {
        return ImageMark(tool, std::move(points), QColor(Qt::red), 4, std::move(text));
    }

    QTemporaryDir dir;
    SettingsDefaults defaults{dir.filePath(QStringLiteral("defaults.ini"))};
    FakeDialogs dialogs;
    FakeClipboard clipboard;
    FakePins pins;
    int completed = 0;
    std::unique_ptr<EditorDocument> document = makeDocument();
};

} // namespace vellumix
