#include <QGuiApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Text marks and the font database they use need a QGuiApplication; one
// exists for the whole run of this program.
class GuiEnvironment final : public ::testing::Environment {
public:
    void SetUp() override { m_app = std::make_unique<QGuiApplication>(m_argc, m_argv); }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[16] = "test_core_api";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QGuiApplication> m_app;
};

const ::testing::Environment* const guiEnvironment =
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

} // namespace
