#pragma once

#include <QEventLoop>
#include <QFuture>
#include <QFutureWatcher>
#include <QTimer>

namespace vellumix {

// Runs the event loop until `future` finishes (at most ten seconds), so that
// continuations on the main thread can run, and returns it.
template <typename T> QFuture<T> awaited(QFuture<T> future) {
    if (!future.isFinished()) {
        QEventLoop loop;
        QFutureWatcher<T> watcher;
        QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
        watcher.setFuture(future);
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        if (!future.isFinished()) {
            loop.exec();
        }
    }
    return future;
}

} // namespace vellumix
