#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace vellumix {

// The small floating control of a running recording: a red dot, the elapsed
// time and Stop. Escape stops too. Kept beside the region, never over it.
class RecordingControlView final : public QWidget {
    Q_OBJECT
public:
    explicit RecordingControlView(QWidget* parent = nullptr);

    // Shows `seconds` as minutes and seconds.
    void setElapsed(double seconds);
    QString elapsedText() const;
    QPushButton* stopButton() const { return m_stop; }

    static inline const QSize size{220, 44};

signals:
    void stopRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* m_time;
    QPushButton* m_stop;
};

} // namespace vellumix
