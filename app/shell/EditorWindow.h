#pragma once

#include <QMainWindow>

#include <functional>

namespace vellumix {

// The reusable editor window: made once, then shown and hidden as documents
// come and go. Closing only hides it, and only when `shouldClose` agrees.
class EditorWindow final : public QMainWindow {
    Q_OBJECT
public:
    static constexpr QSize initialSize{1080, 720};
    static constexpr QSize minimumContentSize{980, 560};

    explicit EditorWindow(std::function<bool()> shouldClose, QWidget* parent = nullptr);

    // Shows `content` (owned from then on) in place of the previous one; null
    // shows an empty window.
    void setContent(QWidget* content);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::function<bool()> m_shouldClose;
};

} // namespace vellumix
