#pragma once

#include "ui/HintDelay.h"

#include <QObject>
#include <QPointer>

#include <chrono>
#include <memory>

class QWidget;

namespace vellumix {

class HintBubble;
class HintDismissal;

// A hint bubble for a control: shown once the pointer has rested on the
// control for `restDelay`, hidden when the pointer leaves, on a click, and
// when its window's `dismissal` says so. Keys in the text read as on this
// system ("Undo ⌘Z" shows "Undo Ctrl+Z"). Owned by the control:
//     new ShortcutHint(button, QStringLiteral("Arrow (A)"), dismissal);
class ShortcutHint final : public QObject {
public:
    static constexpr std::chrono::milliseconds restDelay{500};

    ShortcutHint(QWidget* control, const QString& text, HintDismissal& dismissal,
                 std::unique_ptr<HintDelay> delay = std::make_unique<TimerHintDelay>());
    ~ShortcutHint() override;

    bool isHovered() const { return m_hovered; }
    bool isShown() const { return m_visible; }
    // The bubble while shown, else null.
    const HintBubble* bubble() const { return m_visible ? m_bubble.get() : nullptr; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setHovered(bool hovered);
    void setShown(bool shown);

    QWidget* m_control;
    QString m_text;
    std::unique_ptr<HintDelay> m_delay;
    std::unique_ptr<HintBubble> m_bubble;
    bool m_hovered = false;
    bool m_visible = false;
};

} // namespace vellumix
