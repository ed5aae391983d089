#pragma once

#include <QGuiApplication>

namespace vellumix::fuzz {

// Text drawing needs Qt's font database and so a GUI application; the
// offscreen platform needs no display. It lives until the process ends.
// Decoder warnings about malformed input are expected here and dropped.
inline void ensureApplication() {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static int argc = 3;
    static char name[] = "fuzz";
    static char option[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, option, platform, nullptr};
    static QGuiApplication application(argc, argv);
}

} // namespace vellumix::fuzz
