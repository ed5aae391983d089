#include "shell/EditorWindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

namespace vellumix {

EditorWindow::EditorWindow(std::function<bool()> shouldClose, QWidget* parent)
    : QMainWindow(parent), m_shouldClose(std::move(shouldClose)) {
    setWindowTitle(QStringLiteral("Vellumix"));
    setMinimumSize(minimumContentSize);
    resize(initialSize);
    setContent(nullptr);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), initialSize);
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void EditorWindow::setContent(QWidget* content) {
    QWidget* old = takeCentralWidget();
    setCentralWidget(content ? content : new QWidget);
    if (old) {
        old->deleteLater();
    }
}

void EditorWindow::closeEvent(QCloseEvent* event) {
    // The window is kept for the next document; closing only hides it.
    event->ignore();
    if (m_shouldClose()) {
        hide();
    }
}

} // namespace vellumix
