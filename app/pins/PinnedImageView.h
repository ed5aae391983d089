#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class QSlider;

namespace vellumix {

class Clipboard;

// The content of a pin window: the image above a bar with an opacity slider
// (30 % to 100 %) and a Copy button that puts the image on the clipboard as
// PNG. A failed copy shows its reason under the bar.
class PinnedImageView final : public QWidget {
    Q_OBJECT
public:
    PinnedImageView(QImage image, QSizeF initialSize, Clipboard& clipboard,
                    std::function<void(double)> opacityChanged, QWidget* parent = nullptr);

    double opacity() const;
    QSlider* opacitySlider() const { return m_slider; }
    QPushButton* copyButton() const { return m_copy; }
    // The failure shown under the bar; empty when there is none.
    QString error() const;

    void copy();

    static constexpr int controlBarHeight = 48;
    static constexpr double minimumOpacity = 0.3;

protected:
    // Escape closes the pin.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* makeControlBar();
    void showError(const QString& text);

    QImage m_image;
    Clipboard& m_clipboard;
    std::function<void(double)> m_opacityChanged;
    QSlider* m_slider = nullptr;
    QPushButton* m_copy = nullptr;
    QLabel* m_error = nullptr;
};

} // namespace vellumix
