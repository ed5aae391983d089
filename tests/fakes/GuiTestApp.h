#pragma once

#include "fakes/Awaited.h"

#include <QGuiApplication>

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

} // namespace vellumix
