#pragma once

#include "platform/PlatformServices.h"
#include "session/RecordingControlView.h"
#include "session/ScreenRecordings.h"
#include "support/DecodedRecording.h"

#include <QTest>

#include <gtest/gtest.h>

namespace vellumix {

// The control of a recording of `pixels` (display-local, at scale 1), shown
// where and as the app shows it, so a test can check the recording leaves it
// out while the screen has it.
class ShownRecordingControl {
public:
    ShownRecordingControl(const PlatformServices& services, const DisplayInfo& display,
                          const QRect& pixels)
        : m_services(services), m_display(display) {
        const CaptureRegion region{display.id, QRectF(pixels)};
        const std::optional<QRect> frame =
            ScreenRecordings::controlFrame(region, services.displays.displays());
        EXPECT_TRUE(frame.has_value());
        m_view.setGeometry(frame.value_or(QRect()));
        m_view.setElapsed(0);
        m_services.overlays.showFloating(&m_view);
    }
    ~ShownRecordingControl() { m_services.overlays.hide(&m_view); }

    // The screen shows the control at its place within a few seconds.
    bool shows() {
        const QImage drawn = m_view.grab().toImage();
        const QRect local = m_view.geometry().translated(-m_display.frame.topLeft().toPoint());
        return QTest::qWaitFor(
            [&] { return psnr(m_services.screen.grabRegion(m_display, local), drawn) > 30; },
            10'000);
    }

private:
    const PlatformServices m_services;
    const DisplayInfo m_display;
    RecordingControlView m_view;
};

} // namespace vellumix
