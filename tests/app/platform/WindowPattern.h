#pragma once

#include "support/PatternImage.h"

#include <QList>
#include <QRect>
#include <QString>

namespace vellumix {

// A test window: its title, where it lies on the X screen (device pixels of
// the root window, client area), the seed of its pattern and whether the
// window manager decorates it.
struct PatternWindowSpec {
    QString title;
    QRect pixels;
    int seed = 0;
    bool framed = false;
};

// The pattern windows every test under X starts with, in root-window pixels
// on the two 1920 × 1080 monitors LEFT and RIGHT. Raised in this order, so
// "Framed" ends up front-most.
inline const QList<PatternWindowSpec> patternLayout = {
    {QStringLiteral("Alpha"), QRect(100, 100, 400, 300), 0x20, false},
    {QStringLiteral("Beta"), QRect(2100, 200, 300, 300), 0x40, false},
    {QStringLiteral("Gamma"), QRect(600, 500, 300, 200), 0x60, false},
    {QStringLiteral("Delta"), QRect(700, 550, 300, 200), 0x80, false},
    {QStringLiteral("Framed"), QRect(1200, 300, 300, 200), 0xa0, true},
};

} // namespace vellumix
