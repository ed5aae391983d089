#include "platform/wayland/WaylandWindowSource.h"

#include "platform/PlatformError.h"
#include "platform/wayland/SwayTree.h"

#include <QJsonDocument>
#include <QLocalSocket>
#include <QtEndian>

namespace vellumix {

namespace {

constexpr int ipcMilliseconds = 2'000;
constexpr quint32 getTree = 4;
const QByteArray ipcMagic("i3-ipc");

QJsonObject askSway(const QString& socketPath, quint32 type) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(ipcMilliseconds)) {
        throw PlatformError(
            QStringLiteral("sway did not answer on its socket: %1").arg(socket.errorString()));
    }
    QByteArray request = ipcMagic;
    request.append(8, '\0');
    qToLittleEndian<quint32>(0, request.data() + ipcMagic.size());
    qToLittleEndian<quint32>(type, request.data() + ipcMagic.size() + 4);
    socket.write(request);
    const qsizetype headerSize = ipcMagic.size() + 8;
    QByteArray answer;
    while (answer.size() < headerSize ||
           answer.size() < headerSize + qFromLittleEndian<quint32>(answer.constData() + 6)) {
        if (!socket.waitForReadyRead(ipcMilliseconds)) {
            throw PlatformError(QStringLiteral("sway did not send its window list"));
        }
        answer.append(socket.readAll());
    }
    return QJsonDocument::fromJson(answer.mid(headerSize)).object();
}

} // namespace

WaylandWindowSource::WaylandWindowSource(QString swaySocket, const DisplaySource& displays,
                                         ScreenSource& screen)
    : m_swaySocket(std::move(swaySocket)), m_displays(displays), m_screen(screen) {}

QList<WindowInfo> WaylandWindowSource::windows() const {
    if (m_swaySocket.isEmpty()) {
        throw PlatformError(QStringLiteral(
            "Wayland does not let applications list windows, and this desktop offers no "
            "other way to list them"));
    }
    return swayWindows(askSway(m_swaySocket, getTree));
}

QImage WaylandWindowSource::windowImage(quint32 id) {
    for (const WindowInfo& window : windows()) {
        if (window.id != id) {
            continue;
        }
        for (const DisplayInfo& display : m_displays.displays()) {
            const QRectF local =
                window.frame.intersected(display.frame).translated(-display.frame.topLeft());
            if (local.contains(window.frame.center() - display.frame.topLeft())) {
                const QRect pixels =
                    QRectF(local.topLeft() * display.scale, local.size() * display.scale)
                        .toAlignedRect()
                        .intersected(QRect(QPoint(0, 0), display.pixelRect().size()));
                return m_screen.grabRegion(display, pixels);
            }
        }
    }
    throw PlatformError(QStringLiteral("The window is no longer on a screen"));
}

} // namespace vellumix
