#pragma once

// What the benchmarks that run a whole capture session share: pins that show
// nothing, and a wait that keeps the event loop turning.

#include "pins/PinService.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>

#include <functional>

namespace vellumix::bench {

class NoPins final : public PinService {
public:
    QString show(const QImage&, double) override { return QString(); }
    bool close(const QString&) override { return false; }
};

inline bool waitFor(const std::function<bool()>& done, int ms = 20000) {
    const QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return done();
}

} // namespace vellumix::bench
