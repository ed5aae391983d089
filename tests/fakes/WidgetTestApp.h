#pragma once

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace vellumix {

// As GuiTestApp, for test programs that show widgets: one QApplication for
// the whole program, offscreen unless a platform is chosen.
class WidgetTestApp final : public testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[16] = "vellumix-test";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

inline testing::Environment* const widgetTestApp =
    testing::AddGlobalTestEnvironment(new WidgetTestApp);

} // namespace vellumix
