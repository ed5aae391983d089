#pragma once

#include "marks/DrawingTool.h"

#include <QString>
#include <QVector>

namespace vellumix {

class Defaults;

// One entry of a tool family: the tool, the symbol its button shows and the
// label its hint reads.
struct ToolVariant {
    DrawingTool tool;
    QString symbol;
    QString label;
};

// A toolbar button: related tools behind one button, whose options popover
// switches between them. The family remembers the variant last chosen. Its
// key is in the editor's key map.
struct ToolFamily {
    QString id;
    QVector<ToolVariant> variants;
    // Ends the defaults key of the remembered variant; stored values keep
    // these suffixes so that a user's choices survive.
    QString storedSuffix;

    bool contains(DrawingTool tool) const;
    QString storageKey() const { return QStringLiteral("editor.variant.") + storedSuffix; }
    // The remembered variant; the first one when none or an unknown one is
    // stored.
    const ToolVariant& variant(const Defaults& defaults) const;
    void remember(Defaults& defaults, DrawingTool tool) const;
    const ToolVariant& variantOf(DrawingTool tool) const;

    // Every family in toolbar order.
    static const QVector<ToolFamily>& families();
    // The family holding `tool`; null for select.
    static const ToolFamily* of(DrawingTool tool);
    static const ToolFamily* withId(const QString& id);
};

} // namespace vellumix
