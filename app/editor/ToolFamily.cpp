#include "editor/ToolFamily.h"

#include "prefs/Defaults.h"

#include <algorithm>

namespace vellumix {

namespace {

using T = DrawingTool;

QVector<ToolFamily> makeFamilies() {
    const auto s = [](const char* text) {
        return QString::fromUtf8(text);
    };
    return {
        {s("Shapes"),
         {{T::rectangle, s("square"), s("Rectangle")}, {T::ellipse, s("circle"), s("Ellipse")}},
         s("形状")},
        {s("Arrows & lines"),
         {{T::line, s("line.diagonal"), s("Line")},
          {T::arrow, s("arrow.up.right"), s("Arrow")},
          {T::curvedArrow, s("arrow.turn.up.right"), s("Curved arrow")}},
         s("箭头与线条")},
        {s("Text"),
         {{T::text, s("textformat"), s("Text")}, {T::callout, s("text.bubble"), s("Callout")}},
         s("文字")},
        {s("Pen"), {{T::pen, s("pencil.tip"), s("Pen")}}, s("画笔")},
        {s("Steps"), {{T::step, s("1.circle"), s("Step number")}}, s("步骤")},
        {s("Highlight"), {{T::highlight, s("highlighter"), s("Highlight")}}, s("高亮")},
        {s("Redact"),
         {{T::pixelate, s("square.grid.3x3"), s("Pixelate")},
          {T::cover, s("rectangle.fill"), s("Solid cover")}},
         s("遮挡")},
        {s("Crop"), {{T::crop, s("crop"), s("Crop")}}, s("裁剪")},
    };
}

} // namespace

bool ToolFamily::contains(DrawingTool tool) const {
    return std::any_of(variants.begin(), variants.end(),
                       [tool](const ToolVariant& v) { return v.tool == tool; });
}

const ToolVariant& ToolFamily::variant(const Defaults& defaults) const {
    const std::optional<DrawingTool> stored =
        drawing_tool::fromRawValue(defaults.value(storageKey()).toString());
    return stored && contains(*stored) ? variantOf(*stored) : variants.front();
}

void ToolFamily::remember(Defaults& defaults, DrawingTool tool) const {
    defaults.setValue(storageKey(), drawing_tool::rawValue(tool));
}

const ToolVariant& ToolFamily::variantOf(DrawingTool tool) const {
    const auto found = std::find_if(variants.begin(), variants.end(),
                                    [tool](const ToolVariant& v) { return v.tool == tool; });
    return found != variants.end() ? *found : variants.front();
}

const QVector<ToolFamily>& ToolFamily::families() {
    static const QVector<ToolFamily> all = makeFamilies();
    return all;
}

const ToolFamily* ToolFamily::of(DrawingTool tool) {
    for (const ToolFamily& family : families()) {
        if (family.contains(tool)) {
            return &family;
        }
    }
    return nullptr;
}

const ToolFamily* ToolFamily::withId(const QString& id) {
    for (const ToolFamily& family : families()) {
        if (family.id == id) {
            return &family;
        }
    }
    return nullptr;
}

} // namespace vellumix
