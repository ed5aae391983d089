#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;
class QScrollArea;

namespace vellumix {

class CaptureSession;

// The content of the scrolling-capture panel: the stitched result growing in
// a live preview, the captured height, a dot that is green while capturing
// and orange while paused, the session's detail line, and Resume and Finish.
// Everything shown is read from the session on each of its changes.
class CaptureControlsView final : public QWidget {
public:
    explicit CaptureControlsView(CaptureSession& session, QWidget* parent = nullptr);

    struct Texts {
        static const QString title, capturing, paused, showFull, showDetail, follow, resume, finish;
    };
    static const QColor capturingColor;
    static const QColor pausedColor;
    static constexpr int cornerRadius = 16;

    // What a test reads and clicks.
    QLabel* heightLabel() const { return m_height; }
    QLabel* hintLabel() const { return m_hint; }
    QLabel* detailLabel() const { return m_detail; }
    QPushButton* resumeButton() const { return m_resume; }
    QPushButton* finishButton() const { return m_finish; }
    QPushButton* overviewButton() const { return m_overviewButton; }
    QCheckBox* followBox() const { return m_follow; }
    QScrollArea* detailArea() const { return m_scroll; }
    QColor dotColor() const;

    // Shows nothing at all while `on`, keeping its place: a grab of the
    // screen beneath it then sees what it covers. A click meanwhile goes to
    // the button it hid there once it shows again.
    void setSeeThrough(bool on);
    bool seeThrough() const { return m_isSeeThrough; }

    // Hands the panel to the window manager, which moves it with the
    // pointer; tests put in their own to see when a move starts.
    std::function<void()> startMove;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void build();
    QLayout* header();
    QLayout* controls();
    void refresh();
    void showPicture();
    void setOverview(bool on);
    void scrollToLatest();
    void clickWhatWasHidden();

    CaptureSession& m_session;
    bool m_translucent;
    bool m_overview = false;
    bool m_isSeeThrough = false;
    QList<QPointer<QWidget>> m_seeThrough; // the parts it hid
    std::optional<QPointF> m_pressedAt;    // of a press on the background not yet a move
    std::optional<QPoint> m_clickedWhileSeeThrough;
    qint64 m_shownHeight = -1;
    QWidget* m_dot = nullptr;
    QLabel* m_height = nullptr;
    QScrollArea* m_scroll = nullptr;
    QLabel* m_picture = nullptr;
    QLabel* m_whole = nullptr;
    QLabel* m_hint = nullptr;
    QLabel* m_detail = nullptr;
    QPushButton* m_overviewButton = nullptr;
    QCheckBox* m_follow = nullptr;
    QPushButton* m_resume = nullptr;
    QPushButton* m_finish = nullptr;
};

} // namespace vellumix
