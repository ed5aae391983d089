#pragma once

#include <QWidget>

namespace vellumix {

// The small dark bubble of a hint: white text on near-black, rounded, in a
// floating window that takes neither focus nor clicks. With a compositor it
// is translucent; without one it is opaque and shaped by a mask.
class HintBubble final : public QWidget {
public:
    static constexpr int cornerRadius = 7;
    static constexpr QMargins padding{10, 7, 10, 7};
    // How far above the control's top edge the bubble's top sits.
    static constexpr int lift = 38;

    HintBubble(const QString& text, bool translucent);

    // Places the bubble centred over `control`, lifted above its top edge.
    void placeOver(const QWidget* control);
    QString text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    bool m_translucent;
};

} // namespace vellumix
