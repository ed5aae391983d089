// A window that shows a tall generated page and scrolls it with the mouse
// wheel, for the scrolling-capture tests under X.
//   vellumix-scroll-page X,Y,W,H ROWS-PER-NOTCH

#include "support/ScrollPage.h"

#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>
#include <QWheelEvent>

#include <cstdio>

namespace {

class ScrollPageWindow final : public QRasterWindow {
public:
    ScrollPageWindow(const QRect& geometry, int rowsPerNotch)
        : m_page({.width = geometry.width(), .height = 3000, .seed = 1}), m_step(rowsPerNotch) {
        setFlags(Qt::Window | Qt::FramelessWindowHint);
        setTitle(QStringLiteral("Scroll page"));
        setGeometry(geometry);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, m_page.frame(m_top, height()));
    }
    void wheelEvent(QWheelEvent* event) override {
        const int notches = -event->angleDelta().y() / 120;
        m_top = std::clamp(m_top + notches * m_step, 0, m_page.height() - height());
        update();
    }

private:
    vellumix::testing::ScrollPage m_page;
    int m_step;
    int m_top = 0;
};

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList numbers = app.arguments().value(1).split(',');
    if (numbers.size() != 4) {
        std::fprintf(stderr, "usage: vellumix-scroll-page X,Y,W,H ROWS-PER-NOTCH\n");
        return 2;
    }
    ScrollPageWindow window(
        QRect(numbers[0].toInt(), numbers[1].toInt(), numbers[2].toInt(), numbers[3].toInt()),
        app.arguments().value(2).toInt());
    window.show();
    return app.exec();
}
