#include "pins/PinnedImages.h"

#include "fakes/FakeClipboard.h"
#include "fakes/WidgetTestApp.h"
#include "pins/PinImageArea.h"
#include "pins/PinnedImageView.h"
#include "platform/qt/PlacedOverlays.h"

#include <QApplication>
#include <QPushButton>
#include <QSlider>
#include <QUuid>

#include <gtest/gtest.h>

namespace vellumix {
namespace {

QImage twoColourImage(QSize size) {
    QImage image(size, QImage::Format_RGBA8888_Premultiplied);
    image.fill(QColor(20, 20, 220));
    image.setPixel(1, 1, qRgb(200, 30, 30));
    return image;
}

TEST(PinnedImagesTest, pinsOpenAtTheirSizesAndCloseOnceById) {
    FakeClipboard clipboard;
    PlacedOverlays overlays;
    PinnedImages pins(clipboard, overlays);
    const QString first = pins.show(twoColourImage(QSize(100, 50)), 1);
    const QString second = pins.show(twoColourImage(QSize(400, 300)), 2);
    EXPECT_EQ(first, QUuid(first).toString(QUuid::WithoutBraces).toUpper());
    ASSERT_EQ(pins.windows().size(), 2);
    EXPECT_EQ(pins.windows()[0]->size(), QSize(220, 160)) << "the smallest pin window";
    EXPECT_EQ(pins.windows()[1]->size(), QSize(220, 198)) << "200 × 150 points";

    EXPECT_TRUE(pins.close(first));
    EXPECT_FALSE(pins.close(first));
    EXPECT_EQ(pins.windows().size(), 1);
    QApplication::processEvents();
    EXPECT_TRUE(pins.close(second));
    EXPECT_TRUE(pins.windows().isEmpty());
}

TEST(PinnedImagesTest, imageKeepsItsSizeUntilTheWindowGrowsPastItsFirstWidth) {
    // Area, the image's first size, its pixels, where it is drawn.
    const std::tuple<QSizeF, QSizeF, QSizeF, QRectF> cases[] = {
        // A narrow image sits centred in the narrowest window.
        {{220, 50}, {100, 50}, {100, 50}, {60, 0, 100, 50}},
        // Twice the first width: the frame doubles, the height limits.
        {{440, 50}, {100, 50}, {100, 50}, {170, 0, 100, 50}},
        {{440, 100}, {100, 50}, {100, 50}, {120, 0, 200, 100}},
        // Narrower than at first: capped at the area, aspect kept.
        {{150, 845}, {1267.5, 845}, {6000, 4000}, {0, 372.5, 150, 100}},
        {{1267.5, 845}, {1267.5, 845}, {6000, 4000}, {0, 0, 1267.5, 845}},
    };
    for (const auto& [area, initial, image, expected] : cases) {
        EXPECT_EQ(PinImageArea::imageRect(area, initial, image), expected) << area.width();
    }
}

TEST(PinnedImagesTest, sliderSetsOpacityAndCopyPutsThePngOnTheClipboard) {
    FakeClipboard clipboard;
    std::vector<double> opacities;
    const QImage image = twoColourImage(QSize(64, 32));
    PinnedImageView view(image, QSizeF(64, 32), clipboard,
                         [&](double opacity) { opacities.push_back(opacity); });
    view.opacitySlider()->setValue(view.opacitySlider()->minimum());
    EXPECT_EQ(opacities, std::vector<double>{0.3});
    EXPECT_EQ(view.opacity(), 0.3);

    clipboard.refuse = true;
    view.copyButton()->click();
    EXPECT_EQ(view.error(), QStringLiteral("Could not write to the clipboard"));
    EXPECT_EQ(view.copyButton()->text(), QStringLiteral("Copy"));
    clipboard.refuse = false;
    view.copyButton()->click();
    EXPECT_EQ(view.error(), QString());
    EXPECT_EQ(view.copyButton()->text(), QStringLiteral("Copied"));
    EXPECT_EQ(clipboard.image().convertToFormat(image.format()), image);
}

} // namespace
} // namespace vellumix
