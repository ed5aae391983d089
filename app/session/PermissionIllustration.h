#pragma once

#include <QWidget>

class QPainter;

namespace vellumix {

// A picture, not a control, of the choice that gives Vellumix the screen:
// an X11 session picked at the login screen. One accessibility element that
// says what it shows and that it is only an example.
class PermissionIllustration final : public QWidget {
public:
    static const QString caption;
    static const QString rowTitle;
    static const QString sessionName;
    static const QString accessibilityLabel;

    PermissionIllustration();
    QSize sizeHint() const override { return QSize(474, 150); }

    // The app's viewfinder mark: four corner brackets in `rect`.
    static void drawViewfinder(QPainter& painter, const QRectF& rect, const QColor& color,
                               qreal lineWidth);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal drawHeader(QPainter& painter, qreal top);
    qreal drawTitleRow(QPainter& painter, qreal top);
    void drawSessionRow(QPainter& painter, qreal top);
};

} // namespace vellumix
