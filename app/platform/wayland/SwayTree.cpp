#include "platform/wayland/SwayTree.h"

#include <QJsonArray>

namespace vellumix {

namespace {

bool isWindow(const QJsonObject& node) {
    return node.contains(QLatin1String("pid")) &&
           (node.contains(QLatin1String("app_id")) ||
            node.contains(QLatin1String("window_properties")));
}

WindowInfo windowOf(const QJsonObject& node) {
    const QJsonObject rect = node.value(QLatin1String("rect")).toObject();
    WindowInfo window;
    window.id = quint32(node.value(QLatin1String("id")).toInteger());
    window.title = node.value(QLatin1String("name")).toString();
    window.appName = node.value(QLatin1String("app_id")).toString();
    if (window.appName.isEmpty()) {
        window.appName = node.value(QLatin1String("window_properties"))
                             .toObject()
                             .value(QLatin1String("class"))
                             .toString();
    }
    window.pid = node.value(QLatin1String("pid")).toInteger();
    window.frame =
        QRectF(rect.value(QLatin1String("x")).toDouble(), rect.value(QLatin1String("y")).toDouble(),
               rect.value(QLatin1String("width")).toDouble(),
               rect.value(QLatin1String("height")).toDouble());
    return window;
}

// `key`'s children ordered as the node's "focus" list says, most recent first.
QList<QJsonObject> byFocus(const QJsonObject& node, QLatin1String key) {
    QList<QJsonObject> children;
    for (const QJsonValue child : node.value(key).toArray()) {
        children.append(child.toObject());
    }
    QList<qint64> focus;
    for (const QJsonValue id : node.value(QLatin1String("focus")).toArray()) {
        focus.append(id.toInteger());
    }
    const auto rank = [&focus](const QJsonObject& child) {
        const qsizetype at = focus.indexOf(child.value(QLatin1String("id")).toInteger());
        return at < 0 ? focus.size() : at;
    };
    std::stable_sort(
        children.begin(), children.end(),
        [&rank](const QJsonObject& a, const QJsonObject& b) { return rank(a) < rank(b); });
    return children;
}

void collect(const QJsonObject& node, bool floating, QList<WindowInfo>& floatingWindows,
             QList<WindowInfo>& tiledWindows) {
    if (isWindow(node)) {
        if (node.value(QLatin1String("visible")).toBool()) {
            (floating ? floatingWindows : tiledWindows).append(windowOf(node));
        }
        return;
    }
    for (const QJsonObject& child : byFocus(node, QLatin1String("floating_nodes"))) {
        collect(child, true, floatingWindows, tiledWindows);
    }
    for (const QJsonObject& child : byFocus(node, QLatin1String("nodes"))) {
        collect(child, floating, floatingWindows, tiledWindows);
    }
}

} // namespace

QList<WindowInfo> swayWindows(const QJsonObject& tree) {
    QList<WindowInfo> floatingWindows;
    QList<WindowInfo> tiledWindows;
    collect(tree, false, floatingWindows, tiledWindows);
    return floatingWindows + tiledWindows;
}

} // namespace vellumix
