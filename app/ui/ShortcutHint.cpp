#include "ui/ShortcutHint.h"

#include "platform/WindowKind.h"
#include "ui/HintBubble.h"
#include "ui/HintDismissal.h"
#include "ui/HoverTracking.h"
#include "ui/KeyText.h"

#include <QEvent>
#include <QWidget>

namespace vellumix {

ShortcutHint::ShortcutHint(QWidget* control, const QString& text, HintDismissal& dismissal,
                           std::unique_ptr<HintDelay> delay)
    : QObject(control), m_control(control), m_text(keytext::shown(text)),
      m_delay(std::move(delay)) {
    new HoverTracking(control, [this](bool inside) { setHovered(inside); });
    control->installEventFilter(this);
    control->setAccessibleDescription(m_text);
    connect(&dismissal, &HintDismissal::dismissShortcutHints, this, [this] { setShown(false); });
}

ShortcutHint::~ShortcutHint() = default;

bool ShortcutHint::eventFilter(QObject*, QEvent* event) {
    // Seen alongside the control's own handling of the click.
    if (event->type() == QEvent::MouseButtonPress) {
        setShown(false);
    }
    return false;
}

void ShortcutHint::setHovered(bool hovered) {
    if (hovered == m_hovered) {
        return;
    }
    m_hovered = hovered;
    if (hovered) {
        m_delay->start(restDelay, [this] { setShown(true); });
    } else {
        m_delay->cancel();
        setShown(false);
    }
}

void ShortcutHint::setShown(bool shown) {
    m_visible = shown;
    if (!shown) {
        if (m_bubble) {
            m_bubble->hide();
        }
        return;
    }
    if (!m_bubble) {
        m_bubble = std::make_unique<HintBubble>(m_text, windowkind::compositorActive());
    }
    m_bubble->placeOver(m_control);
    m_bubble->show();
}

} // namespace vellumix
