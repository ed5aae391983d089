// Shows the windows of patternLayout, filled with their patterns, for the
// tests under X, and prints "ready" once all of them are on the screen.

#include "WindowPattern.h"

#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>
#include <QtCore/qtestsupport_core.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

using vellumix::PatternWindowSpec;

class PatternWindow final : public QRasterWindow {
public:
    explicit PatternWindow(const PatternWindowSpec& spec)
        : m_image(vellumix::patternImage(spec.pixels.size(), spec.seed)) {
        setTitle(spec.title);
        if (!spec.framed) {
            setFlags(Qt::Window | Qt::FramelessWindowHint);
        }
        setGeometry(spec.pixels);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, m_image);
    }

private:
    QImage m_image;
};

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("PatternWindows"));
    std::vector<std::unique_ptr<PatternWindow>> windows;
    for (const PatternWindowSpec& spec : vellumix::patternLayout) {
        windows.push_back(std::make_unique<PatternWindow>(spec));
        windows.back()->show();
    }
    const bool exposed = QTest::qWaitFor(
        [&] {
            return std::all_of(windows.begin(), windows.end(),
                               [](const auto& window) { return window->isExposed(); });
        },
        60'000);
    for (const auto& window : windows) {
        window->raise();
    }
    std::printf(exposed ? "ready\n" : "not exposed\n");
    std::fflush(stdout);
    return app.exec();
}
