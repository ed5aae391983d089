#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace vellumix {

class PermissionGuide;

// The permission guide's window: what is missing, how to get it on Linux,
// and the buttons that abandon the capture or check again.
class PermissionGuideView final : public QWidget {
    Q_OBJECT
public:
    explicit PermissionGuideView(PermissionGuide& guide);

    QLabel* detailLabel() const { return m_detail; }
    QPushButton* cancelButton() const { return m_cancel; }
    QPushButton* checkButton() const { return m_check; }

signals:
    // The window was closed, by its buttons or by the window manager.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* symbol();
    QLayout* stepRows();
    QLayout* buttonRow();
    void showDetail();

    PermissionGuide& m_guide;
    QLabel* m_detail;
    QPushButton* m_cancel;
    QPushButton* m_check;
};

} // namespace vellumix
