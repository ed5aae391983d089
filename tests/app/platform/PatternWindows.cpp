// Shows windows filled with known patterns at known places, for the tests of
// the X11 services, and prints "ready" once all of them are on the screen.
//   vellumix-pattern-windows TITLE:X,Y,W,H:SEED[:framed] ...
// Windows are raised in argument order, so the last one is the front-most.

#include "WindowPattern.h"

#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

using vellumix::PatternWindowSpec;

class PatternWindow final : public QRasterWindow {
public:
    explicit PatternWindow(const PatternWindowSpec& spec)
        : m_image(vellumix::patternImage(spec.seed, spec.pixels.size())) {
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

std::optional<PatternWindowSpec> parse(const QString& argument) {
    const QStringList parts = argument.split(':');
    const QStringList numbers = parts.value(1).split(',');
    if (parts.size() < 3 || numbers.size() != 4) {
        return std::nullopt;
    }
    PatternWindowSpec spec;
    spec.title = parts[0];
    spec.pixels =
        QRect(numbers[0].toInt(), numbers[1].toInt(), numbers[2].toInt(), numbers[3].toInt());
    spec.seed = parts[2].toInt(nullptr, 0);
    spec.framed = parts.value(3) == QLatin1String("framed");
    return spec;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("PatternWindows"));
    std::vector<std::unique_ptr<PatternWindow>> windows;
    for (const QString& argument : app.arguments().mid(1)) {
        const std::optional<PatternWindowSpec> spec = parse(argument);
        if (!spec) {
            std::fprintf(stderr, "bad window: %s\n", qPrintable(argument));
            return 2;
        }
        windows.push_back(std::make_unique<PatternWindow>(*spec));
        windows.back()->show();
    }
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (const auto& window : windows) {
            if (!window->isExposed()) {
                return;
            }
        }
        poll.stop();
        for (const auto& window : windows) {
            window->raise();
        }
        std::printf("ready\n");
        std::fflush(stdout);
    });
    poll.start(20);
    return app.exec();
}
