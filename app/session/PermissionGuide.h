#pragma once

#include "platform/PermissionCheck.h"

#include <QObject>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>

namespace vellumix {

class PermissionGuideView;

// Explains, in a small window, what gives Vellumix the screen when a capture
// starts without it, and continues that capture once the permission check
// passes: on "Check Again", and whenever the user comes back to the app.
// An X11 session grants access with no per-app switch; a Wayland desktop
// asks the user when a capture starts, and "Check Again" lets it ask anew.
class PermissionGuide final : public QObject {
    Q_OBJECT
public:
    struct Texts {
        static const QString title;
        static const QString heading;
        static const QString explanation;
        static const QStringList steps;
        static const QString sessionNote;
        static const QString notActive;
        // Where the desktop asks the user (Wayland), instead of the steps
        // and the session note.
        static const QStringList desktopSteps;
        static const QString desktopNote;
    };
    static constexpr QSize windowSize{530, 560};

    explicit PermissionGuide(PermissionCheck& permission);
    ~PermissionGuide() override;

    // Shows the guide for a capture waiting for access. While the window is
    // open a second request only brings it forward; its action is dropped.
    void present(std::function<void()> resume);
    // Continues the waiting capture when access is granted (closing the
    // window; the capture runs in a later turn), or says what is missing.
    void check();
    // Abandons the waiting capture and closes the window.
    void cancel();

    bool isWaiting() const { return static_cast<bool>(m_resume); }
    const QStringList& steps() const {
        return m_permission.desktopAsks() ? Texts::desktopSteps : Texts::steps;
    }
    const QString& sessionNote() const {
        return m_permission.desktopAsks() ? Texts::desktopNote : Texts::sessionNote;
    }
    // The desktop's own way to grant access where it asks the user, as a
    // sentence; `otherwise` elsewhere.
    QString grantDetail(const QString& otherwise) const {
        return m_permission.desktopAsks() ? m_permission.howToGrant() + QLatin1Char('.')
                                          : otherwise;
    }
    // An extra line of help; empty until a check fails.
    const QString& detail() const { return m_detail; }
    // The guide window while open, else null.
    PermissionGuideView* window() const { return m_open ? m_window.get() : nullptr; }

signals:
    void detailChanged();

private:
    void setDetail(const QString& detail);
    void closeWindow();
    void windowClosed();

    PermissionCheck& m_permission;
    // Kept after closing (it may be the one handling its close event) and
    // replaced by the next `present`.
    std::unique_ptr<PermissionGuideView> m_window;
    bool m_open = false;
    // The user switched away from the app while a capture was waiting.
    bool m_leftApp = false;
    std::function<void()> m_resume;
    QString m_detail;
};

} // namespace vellumix
