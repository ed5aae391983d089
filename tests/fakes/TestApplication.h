#pragma once

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <memory>

namespace vellumix {

// One application object for a whole test program, made before the first
// test and destroyed after the last, so that tests may show windows and run
// main-thread continuations. Without a platform chosen it runs offscreen.
template <typename Application> class TestApplication final : public testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        m_app = std::make_unique<Application>(m_argc, m_argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[16] = "vellumix-test";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<Application> m_app;
};

} // namespace vellumix
