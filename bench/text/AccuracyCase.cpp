#include "AccuracyCase.h"

#include <QFont>
#include <QPainter>
#include <QStringList>

namespace vellumix {

namespace {

struct Theme {
    QColor background;
    QColor text;
    QColor separator;
};

const Theme kLight{QColor(0xf5, 0xf5, 0xf7), QColor(0x1d, 0x1d, 0x1f), QColor(0xd2, 0xd2, 0xd7)};
const Theme kDark{QColor(0x1e, 0x1e, 0x1e), QColor(0xe5, 0xe5, 0xe7), QColor(0x3a, 0x3a, 0x3c)};

struct UiLine {
    int pixelSize;
    const char* text;
};

// Menu bars, list rows, status texts: the kind of line a screenshot holds.
const UiLine kUiLines[] = {
    {13, "File      Edit      View      Window      Help"},
    {11, "Last modified: 12 March 2024, 09:41"},
    {12, "Downloads - 24 items, 3.2 GB available"},
    {14, "Search settings and preferences"},
    {15, "Invoice #2087 was sent to billing@example.com"},
    {16, "Connected to Wi-Fi network Office-5G"},
    {13, "Show hidden files (Ctrl+H)"},
    {12, "Version 4.18.2 (build 7731)"},
};

QImage canvas(int width, int height, qreal scale, const QColor& fill) {
    QImage image(qRound(width * scale), qRound(height * scale),
                 QImage::Format_RGBA8888_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(fill);
    return image;
}

QFont font(const QString& family, int pixelSize) {
    QFont f(family);
    f.setPixelSize(pixelSize);
    return f;
}

// Draws the UI lines from `top` down at `left`; returns the reference text.
QString drawUiLines(QPainter& painter, const Theme& theme, int left, int top, int width) {
    QStringList reference;
    int y = top;
    for (const UiLine& line : kUiLines) {
        painter.setFont(font(QStringLiteral("Helvetica"), line.pixelSize));
        painter.setPen(theme.text);
        y += line.pixelSize * 2;
        painter.drawText(left, y, QString::fromUtf8(line.text));
        painter.setPen(theme.separator);
        painter.drawLine(left, y + line.pixelSize / 2 + 2, left + width,
                         y + line.pixelSize / 2 + 2);
        reference << QString::fromUtf8(line.text);
    }
    return reference.join(QLatin1Char('\n'));
}

AccuracyCase uiCase(const QString& name, const Theme& theme, qreal scale) {
    QImage image = canvas(420, 320, scale, theme.background);
    QPainter painter(&image);
    const QString reference = drawUiLines(painter, theme, 16, 0, 388);
    painter.end();
    return {name, image, reference};
}

// A dark sidebar beside a light content pane, as in many file managers.
AccuracyCase mixedThemeCase(qreal scale) {
    QImage image = canvas(560, 320, scale, kLight.background);
    QPainter painter(&image);
    painter.fillRect(QRect(0, 0, 150, 320), kDark.background);
    const char* sidebar[] = {"Favourites", "Desktop", "Documents", "Pictures", "Music"};
    QStringList reference;
    painter.setFont(font(QStringLiteral("Helvetica"), 13));
    painter.setPen(kDark.text);
    int y = 10;
    for (const char* entry : sidebar) {
        y += 26;
        painter.drawText(14, y, QString::fromUtf8(entry));
        reference << QString::fromUtf8(entry);
    }
    reference << drawUiLines(painter, kLight, 170, 0, 370);
    painter.end();
    return {QStringLiteral("mixed-theme-%1x").arg(scale), image, reference.join('\n')};
}

struct Control {
    QRect frame;
    QColor fill;
    QColor text;
    int pixelSize;
    const char* label;
};

// Filled buttons, a badge and grey secondary labels: low contrast and colour
// behind the text, where plain binarisation loses letters.
const Control kControls[] = {
    {QRect(16, 14, 90, 28), QColor(0x0a, 0x84, 0xff), Qt::white, 13, "Save"},
    {QRect(116, 14, 90, 28), QColor(0xe5, 0xe5, 0xea), QColor(0x1d, 0x1d, 0x1f), 13, "Cancel"},
    {QRect(216, 16, 120, 24), QColor(0xff, 0x3b, 0x30), Qt::white, 12, "3 updates"},
    {QRect(16, 56, 380, 20), Qt::white, QColor(0x8e, 0x8e, 0x93), 11,
     "Changes are saved automatically every 5 minutes"},
    {QRect(16, 84, 380, 20), Qt::white, QColor(0x6e, 0x6e, 0x73), 12,
     "Storage: 41.7 GB of 256 GB used"},
    {QRect(16, 112, 200, 26), QColor(0x34, 0xc7, 0x59), Qt::white, 14, "Sync complete"},
};

AccuracyCase controlsCase(qreal scale) {
    QImage image = canvas(420, 150, scale, Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QStringList reference;
    for (const Control& control : kControls) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(control.fill);
        painter.drawRoundedRect(control.frame, 6, 6);
        painter.setPen(control.text);
        painter.setFont(font(QStringLiteral("Helvetica"), control.pixelSize));
        painter.drawText(control.frame, Qt::AlignCenter, QString::fromUtf8(control.label));
        reference << QString::fromUtf8(control.label);
    }
    painter.end();
    return {QStringLiteral("controls-%1x").arg(scale), image, reference.join('\n')};
}

const char* kLeftColumn[] = {
    "Screenshots are stored in",
    "the Pictures folder unless",
    "you choose another place",
    "in the settings window.",
};
const char* kRightColumn[] = {
    "Press the shortcut again",
    "to capture the last region",
    "or hold Shift to select",
    "several windows at once.",
};

AccuracyCase columnsCase() {
    QImage image = canvas(520, 140, 1, Qt::white);
    QPainter painter(&image);
    painter.setFont(font(QStringLiteral("Helvetica"), 14));
    painter.setPen(kLight.text);
    QStringList reference;
    for (int i = 0; i < 4; ++i) {
        painter.drawText(20, 34 + i * 22, QString::fromUtf8(kLeftColumn[i]));
        painter.drawText(280, 34 + i * 22, QString::fromUtf8(kRightColumn[i]));
        reference << QString::fromUtf8(kLeftColumn[i]);
    }
    for (const char* line : kRightColumn) {
        reference << QString::fromUtf8(line);
    }
    painter.end();
    return {QStringLiteral("two-columns-1x"), image, reference.join('\n')};
}

AccuracyCase chineseCase() {
    const QString text = QStringLiteral("打开文件并保存为图片");
    QImage image = canvas(260, 48, 1, Qt::white);
    QPainter painter(&image);
    painter.setFont(font(QStringLiteral("WenQuanYi Micro Hei"), 16));
    painter.setPen(kLight.text);
    painter.drawText(16, 30, text);
    painter.end();
    return {QStringLiteral("chinese-1x"), image, text};
}

} // namespace

std::vector<AccuracyCase> accuracyCases() {
    return {
        uiCase(QStringLiteral("ui-light-1x"), kLight, 1),
        uiCase(QStringLiteral("ui-light-2x"), kLight, 2),
        uiCase(QStringLiteral("ui-dark-1x"), kDark, 1),
        uiCase(QStringLiteral("ui-dark-2x"), kDark, 2),
        controlsCase(1),
        controlsCase(2),
        columnsCase(),
        chineseCase(),
        mixedThemeCase(1),
        mixedThemeCase(2),
    };
}

} // namespace vellumix
