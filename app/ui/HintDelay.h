#pragma once

#include <QTimer>

#include <chrono>
#include <functional>

namespace vellumix {

// A restartable one-shot wait, so that tests can run a hint's delay by hand.
class HintDelay {
public:
    virtual ~HintDelay() = default;
    // Calls `fired` once after `delay` unless `cancel` or `start` comes first.
    virtual void start(std::chrono::milliseconds delay, std::function<void()> fired) = 0;
    virtual void cancel() = 0;
};

// The delay of the running app: a single-shot QTimer.
class TimerHintDelay final : public HintDelay {
public:
    TimerHintDelay();
    void start(std::chrono::milliseconds delay, std::function<void()> fired) override;
    void cancel() override { m_timer.stop(); }

private:
    QTimer m_timer;
    std::function<void()> m_fired;
};

} // namespace vellumix
