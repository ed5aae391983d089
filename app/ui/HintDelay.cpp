#include "ui/HintDelay.h"

namespace vellumix {

TimerHintDelay::TimerHintDelay() {
    m_timer.setSingleShot(true);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { m_fired(); });
}

void TimerHintDelay::start(std::chrono::milliseconds delay, std::function<void()> fired) {
    m_fired = std::move(fired);
    m_timer.start(delay);
}

} // namespace vellumix
