#pragma once

#include <QWidget>

#include <chrono>

namespace vellumix {

// The short confirmation after a colour was picked: "Copied #3A7BFF" near the
// bottom of the screen under the pointer. It never takes the focus, lets
// clicks through and closes itself.
class ColorCopyToast final : public QWidget {
public:
    // Shows a toast for `hex` and returns it; it deletes itself once closed.
    static ColorCopyToast* show(const QString& hex);

    QString text() const { return m_text; }

    static constexpr std::chrono::milliseconds duration{1300};
    static constexpr QSize size{220, 48};
    // Above the bottom of the screen's available area, in points.
    static constexpr int bottomGap = 65;
    static constexpr int cornerRadius = 12;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    explicit ColorCopyToast(const QString& hex);

    QString m_text;
};

} // namespace vellumix
