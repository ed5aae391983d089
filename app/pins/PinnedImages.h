#pragma once

#include "pins/PinService.h"

#include <QList>
#include <QObject>
#include <QSizeF>

class QWidget;

namespace vellumix {

class Clipboard;
class OverlaySurfaces;

// The open pin windows: titled, resizable utility windows above normal
// windows, on every desktop, each showing one image at its on-screen size
// (shrunk to fit the screen) with an opacity slider and a Copy button. The
// app makes one for its whole run.
class PinnedImages final : public QObject, public PinService {
    Q_OBJECT
public:
    PinnedImages(Clipboard& clipboard, OverlaySurfaces& overlays, QObject* parent = nullptr);
    ~PinnedImages() override;

    QString show(const QImage& image, double sourceScale) override;
    bool close(const QString& id) override;

    // Open pin windows, oldest first.
    QList<QWidget*> windows() const;

    static inline const QString title = QStringLiteral("Pinned image · Vellumix");
    static inline const QString idPrefix = QStringLiteral("Vellumix.pinned.");
    static constexpr QSizeF minimumSize{220, 160};
    // Room kept free around a pin on its screen, and the room assumed
    // without a screen.
    static constexpr QSizeF screenMargin{40, 100};
    static constexpr QSizeF fallbackAvailable{960, 700};

private:
    Clipboard& m_clipboard;
    OverlaySurfaces& m_overlays;
    QList<QWidget*> m_windows;
};

} // namespace vellumix
