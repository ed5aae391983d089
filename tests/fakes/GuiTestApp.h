#pragma once

#include <QEventLoop>
#include <QFuture>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace vellumix {

// One QGuiApplication for a whole test program, made before the first test
// and destroyed after the last, so that tests may show windows and run
// main-thread continuations. Without a platform chosen it runs offscreen.
class GuiTestApp final : public testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        m_app = std::make_unique<QGuiApplication>(m_argc, m_argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[16] = "vellumix-test";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QGuiApplication> m_app;
};

inline testing::Environment* const guiTestApp = testing::AddGlobalTestEnvironment(new GuiTestApp);

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
