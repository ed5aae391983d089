#pragma once

#include <QFont>
#include <QRectF>
#include <QStringList>

class QPainter;

// The overlay's texts: the panel of key hints at the bottom left, the note
// line, and the label naming the window under the pointer. Geometry is in the
// view's points, top-left origin.
namespace vellumix::hintpanel {

inline const QStringList lines = {
    QStringLiteral("Hold Shift to capture multiple windows"),
    QStringLiteral("Press F to select fullscreen"),
    QStringLiteral("Press C to copy color, V to record the screen"),
    QStringLiteral("Press R to reselect the last region"),
};
inline const QString defaultNote = QStringLiteral(
    "Drag a region · Click a window · Tab cycles overlapping windows · Esc to cancel");
// The note while V has the overlay choose what to record.
inline const QString recordNote = QStringLiteral(
    "Record: drag a region · Click a window · F for the whole display · V to capture instead");
// Longer window names are cut to this many characters.
inline constexpr int labelCharacters = 70;

QRectF panelRect(QSizeF bounds);
// Where the note line stands: the default hint at the top, a note above the
// panel.
QRectF noteRect(QSizeF bounds, bool isDefault);
QRectF labelRect(QSizeF bounds);

// The last line is gray when there is no last region to reselect.
void paintPanel(QPainter& painter, QSizeF bounds, bool hasLastRegion);
// `note` empty paints the default hint.
void paintNote(QPainter& painter, QSizeF bounds, const QString& note);
void paintLabel(QPainter& painter, QSizeF bounds, const QString& name);

// The system font at medium weight, `size` points high.
QFont font(int size);

} // namespace vellumix::hintpanel
