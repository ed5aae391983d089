// What the capture session tells the user, kept apart from its logic so that
// the wording can be read and changed in one place.
#include "session/CaptureSession.h"

namespace vellumix {

const QString CaptureSession::Texts::ready = QStringLiteral("Ready");
const QString CaptureSession::Texts::readyDetail =
    QStringLiteral("Native capture · Images stay on your computer");
const QString CaptureSession::Texts::startDetail =
    QStringLiteral("Select a region, then annotate, copy, or save.");
const QString CaptureSession::Texts::permissionStatus =
    QStringLiteral("Screen recording access required");
const QString CaptureSession::Texts::permissionDetail =
    QStringLiteral("Log in to an X11 (Xorg) session so Vellumix can read the screen, then try "
                   "again.");
const QString CaptureSession::Texts::selecting = QStringLiteral("Select a region");
const QString CaptureSession::Texts::canceled = QStringLiteral("Selection canceled");
const QString CaptureSession::Texts::copied = QStringLiteral("Copied ");
const QString CaptureSession::Texts::colorFailed = QStringLiteral("Could not copy the color.");
const QString CaptureSession::Texts::failure = QStringLiteral("Could not complete the action");
const QString CaptureSession::Texts::captureComplete =
    QStringLiteral("Capture complete · Ready to edit or save");
const QString CaptureSession::Texts::finished = QStringLiteral(
    "Capture stopped · Only the confirmed region is saved, not necessarily the full page.");
const QString CaptureSession::Texts::timeLimit =
    QStringLiteral("The 10-minute session limit was reached. Save and start a new capture.");
const QString CaptureSession::Texts::stoppedPrefix = QStringLiteral("Capture stopped · ");
const QString CaptureSession::Texts::sleeping =
    QStringLiteral("The system is going to sleep. Capture stopped.");
const QString CaptureSession::Texts::inactive = QStringLiteral(
    "Your system session became inactive. Capture stopped; you can save the captured portion.");
const QString CaptureSession::Texts::startFailed =
    QStringLiteral("Could not start scrolling capture");
const QString CaptureSession::Texts::scrolling = QStringLiteral("Capturing scrolling region");
const QString CaptureSession::Texts::scrollingDetail =
    QStringLiteral("Scroll down slowly, then click Finish.");
const QString CaptureSession::Texts::capturing = QStringLiteral("Capturing");
const QString CaptureSession::Texts::paused =
    QStringLiteral("Paused · Scroll back to the last captured position");
const QString CaptureSession::Texts::resumeDetail =
    QStringLiteral("Return near the last captured position, then sample a frame or continue "
                   "scrolling slowly.");
const QString CaptureSession::Texts::stopped = QStringLiteral("Stopped");
const QString CaptureSession::Texts::editorFailed = QStringLiteral("Could not open the editor: ");
const QString CaptureSession::Texts::saveQuestion = QStringLiteral("Save your changes?");
const QString CaptureSession::Texts::saveDetail =
    QStringLiteral("This opened image has unsaved edits. Save a copy before continuing?");
const QString CaptureSession::Texts::captureSaveDetail =
    QStringLiteral("This capture has unsaved edits. Save a copy before continuing?");
const QStringList CaptureSession::Texts::saveButtons = {
    QStringLiteral("Save…"), QStringLiteral("Discard"), QStringLiteral("Cancel")};

} // namespace vellumix
