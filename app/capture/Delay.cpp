#include "capture/Delay.h"

#include <QCoreApplication>
#include <QPromise>
#include <QTimer>

#include <memory>

namespace vellumix {

QFuture<void> delay(int milliseconds) {
    auto promise = std::make_shared<QPromise<void>>();
    promise->start();
    QTimer::singleShot(milliseconds, QCoreApplication::instance(),
                       [promise] { promise->finish(); });
    return promise->future();
}

} // namespace vellumix
