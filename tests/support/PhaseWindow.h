#pragma once

#include "support/DecodedRecording.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QRasterWindow>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

namespace vellumix {

// A window that shows the next phase of the pattern every `phaseMs`.
class PhaseWindow final : public QRasterWindow {
public:
    static constexpr int phaseMs = 400;

    explicit PhaseWindow(const QRect& pixels) {
        setTitle(QStringLiteral("Phases"));
        setGeometry(pixels);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (phase() != m_shown) {
                update();
            }
        });
        m_timer.start(10);
    }

    // Phases count from the first paint.
    int phase() const { return m_clock.isValid() ? int(m_clock.elapsed() / phaseMs) : 0; }

protected:
    void paintEvent(QPaintEvent*) override {
        if (!m_clock.isValid()) {
            m_clock.start();
        }
        m_shown = phase();
        QPainter(this).drawImage(0, 0, pattern(size(), m_shown));
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    int m_shown = -1;
};

// The phase from `first` to `last` that `frame` shows best, and its PSNR;
// the pixels of `hidden` are left out.
inline std::pair<int, double> bestPhase(const QImage& frame, int first, int last,
                                        const QRect& hidden = QRect()) {
    std::pair<int, double> best{first, 0};
    for (int phase = first; phase <= last; ++phase) {
        const QImage expected = pattern(frame.size(), phase);
        QImage shown = frame;
        if (!hidden.isEmpty()) {
            QPainter(&shown).drawImage(hidden.topLeft(), expected.copy(hidden));
        }
        best = std::max(best, std::pair{phase, psnr(shown, expected)},
                        [](const auto& a, const auto& b) { return a.second < b.second; });
    }
    return best;
}

// Checks a recording of `window` at `fps` for `seconds`: the frame count
// within 3 % of fps × seconds, each frame one phase whole (but for `hidden`)
// and the phases only moving on from `first`, the one shown at the start.
inline void expectPhases(const QList<DecodedFrame>& frames, const PhaseWindow& window, int fps,
                         double seconds, const QRect& hidden = QRect(), int first = 0) {
    EXPECT_NEAR(frames.size(), fps * seconds, fps * seconds * 0.03);
    int previous = first;
    for (const DecodedFrame& frame : frames) {
        const auto [best, match] = bestPhase(frame.image, previous, window.phase(), hidden);
        EXPECT_GE(match, 35) << "at " << frame.at;
        previous = best;
    }
    EXPECT_GE(previous, first + int(seconds * 1000 / PhaseWindow::phaseMs) - 2);
}

// Whether a pointer lies in `box` of `frame`, whose pattern phase is the one
// it shows best elsewhere: some pixel there is far from the pattern's.
inline bool showsPointer(const QImage& frame, const PhaseWindow& window, const QRect& box) {
    const QImage expected = pattern(frame.size(), bestPhase(frame, 0, window.phase(), box).first);
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            const QRgb p = frame.pixel(x, y), q = expected.pixel(x, y);
            if (std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q))}) > 100) {
                return true;
            }
        }
    }
    return false;
}

} // namespace vellumix
