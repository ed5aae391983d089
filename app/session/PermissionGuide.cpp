#include "session/PermissionGuide.h"

#include "session/PermissionGuideView.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include <utility>

namespace vellumix {

const QString PermissionGuide::Texts::title = QStringLiteral("Screen Recording Access");
const QString PermissionGuide::Texts::heading = QStringLiteral("Allow Screen Recording");
const QString PermissionGuide::Texts::explanation =
    QStringLiteral("Vellumix needs access to capture the area you select. Screenshots stay on "
                   "your computer.");
const QStringList PermissionGuide::Texts::steps = {
    QStringLiteral("Save your work and log out."),
    QStringLiteral("At the login screen, choose a session that runs on Xorg (X11)."),
    QStringLiteral("Log in, start Vellumix and capture again."),
};
const QString PermissionGuide::Texts::sessionNote =
    QStringLiteral("Vellumix reads the screen in X11 sessions, and in Wayland sessions through "
                   "the desktop's screen sharing. Started as an X11 app under Wayland, it sees "
                   "only other X11 apps.");
const QStringList PermissionGuide::Texts::desktopSteps = {
    QStringLiteral("Choose Check Again."),
    QStringLiteral("When the desktop asks to share your screen, choose the screen and allow it. "
                   "Where it offers to remember the choice, let it."),
    QStringLiteral("Vellumix continues the capture and does not ask again while the desktop "
                   "keeps your choice."),
};
const QString PermissionGuide::Texts::desktopNote =
    QStringLiteral("In a Wayland session the desktop decides which apps may record the screen, "
                   "and asks you first.");
const QString PermissionGuide::Texts::notActive =
    QStringLiteral("Access is not active yet. This session does not let Vellumix read the screen: "
                   "log in to an X11 session and start Vellumix there.");

PermissionGuide::PermissionGuide(PermissionCheck& permission) : m_permission(permission) {
    // Coming back to the app from wherever the user went to change the
    // session's setup is when access may have appeared. The guide's own
    // window activating the app is no return.
    connect(
        qGuiApp, &QGuiApplication::applicationStateChanged, this,
        [this](Qt::ApplicationState state) {
            if (state != Qt::ApplicationActive) {
                m_leftApp = isWaiting();
            } else if (std::exchange(m_leftApp, false) && isWaiting()) {
                check();
            }
        },
        Qt::QueuedConnection);
}

PermissionGuide::~PermissionGuide() = default;

void PermissionGuide::present(std::function<void()> resume) {
    if (!m_open) {
        m_resume = std::move(resume);
        m_leftApp = false;
        setDetail(QString());
        m_window = std::make_unique<PermissionGuideView>(*this);
        m_open = true;
        connect(m_window.get(), &PermissionGuideView::closed, this, &PermissionGuide::windowClosed);
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            m_window->move(screen->availableGeometry().center() - m_window->rect().center());
        }
        // Access may have come meanwhile (the session's X server changed its
        // mind, or a test grants it): continue without a click.
        QTimer::singleShot(0, this, [this] {
            if (isWaiting() && m_permission.screenRecordingGranted()) {
                check();
            }
        });
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void PermissionGuide::check() {
    if (!isWaiting()) {
        return;
    }
    m_permission.askAgain();
    if (!m_permission.screenRecordingGranted()) {
        setDetail(grantDetail(Texts::notActive));
        return;
    }
    std::function<void()> resume = std::exchange(m_resume, nullptr);
    closeWindow();
    QTimer::singleShot(0, this, std::move(resume));
}

void PermissionGuide::cancel() {
    m_resume = nullptr;
    closeWindow();
}

void PermissionGuide::setDetail(const QString& detail) {
    if (detail != m_detail) {
        m_detail = detail;
        emit detailChanged();
    }
}

void PermissionGuide::closeWindow() {
    if (m_open) {
        m_window->close();
    }
}

void PermissionGuide::windowClosed() {
    m_resume = nullptr;
    m_open = false;
}

} // namespace vellumix
