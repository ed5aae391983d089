#pragma once

// What the benchmarks that run a whole capture session share: pins that show
// nothing, and a wait that keeps the event loop turning.

#include "pins/PinService.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>

#include <functional>

namespace vellumix::bench {

class NoPins final : public PinService {
public:
    QString show(const QImage&, double) override { return QString(); }
    bool close(const QString&) override { return false; }
};

// Polls every millisecond, leaving the processor meanwhile to the threads
// and processes being timed.
inline bool waitFor(const std::function<bool()>& done, int ms = 20000) {
    const QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents();
        QThread::usleep(1000);
    }
    return done();
}

} // namespace vellumix::bench
