#pragma once

#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakePins.h"
#include "fakes/MemoryDefaults.h"
#include "platform/Platform.h"
#include "platform/qt/QtClipboard.h"
#include "session/CaptureSession.h"
#include "session/QtInPlaceEditing.h"

#include <QClipboard>
#include <QColorSpace>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace vellumix {

// The capture session over the platform of the desktop the test runs in, with
// the real clipboard and in-place editor, and fakes for the rest.
struct LiveSession {
    std::unique_ptr<Platform> platform = Platform::create();
    MemoryDefaults defaults;
    FakeDialogs dialogs;
    QtClipboard clipboard;
    FakePins pins;
    FakeClock clock;
    QtInPlaceEditing inPlace{EditorServices{defaults, dialogs, clipboard, pins},
                             platform->services().overlays};
    std::unique_ptr<CaptureSession> session =
        std::make_unique<CaptureSession>(CaptureSession::Services{
            platform->services(), EditorServices{defaults, dialogs, clipboard, pins}, inPlace,
            clock});
    QTemporaryDir folder; // the test's screenshots

    // Keeps the screenshots of a failed test for a look, and gives the
    // clipboard back: it holds a copy for as long as the app runs, which
    // would count as lost when the test ends.
    void end(bool failed) {
        folder.setAutoRemove(!failed);
        if (failed) {
            std::fprintf(stderr, "Images kept in %s\n", qPrintable(folder.path()));
        }
        QGuiApplication::clipboard()->clear();
        QTest::qWait(100);
    }
};

// Pixels alone: the app's PNGs name their colour space, screenshots do not.
inline QImage pixels(QImage image) {
    image.setColorSpace(QColorSpace());
    return image.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
}

// Writes `line` to the FIFO of a session's input helper, then lets the
// compositor pass the input on for `milliseconds`.
inline bool sendInput(const QString& fifo, const QString& line, int milliseconds) {
    QFile input(fifo);
    const bool sent = input.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
                      input.write(line.toUtf8() + '\n') > 0;
    QTest::qWait(milliseconds);
    return sent;
}

// The Wayland clipboard's data of `type` once a copy has reached it, else
// nothing. The app serves the data: its event loop runs meanwhile.
inline QByteArray pasted(const QString& type) {
    QByteArray data;
    const bool copied = QTest::qWaitFor([&] {
        QProcess paste;
        paste.start(QStringLiteral("wl-paste"), {QStringLiteral("-n"), QStringLiteral("-t"), type});
        const bool ended = QTest::qWaitFor([&] { return paste.state() == QProcess::NotRunning; });
        data = paste.readAllStandardOutput();
        return ended && !data.isEmpty();
    });
    return copied ? data : QByteArray();
}

} // namespace vellumix
