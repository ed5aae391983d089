#include "recording/Mp4Writer.h"
#include "recording/Recorder.h"
#include "recording/RecordingFormat.h"
#include "support/DecodedRecording.h"

#include "fakes/FakeClock.h"
#include "fakes/FakePlatform.h"
#include "fakes/GuiTestApp.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <csignal>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vellumix {
namespace {

struct Take {
    const char* format;
    QSize size;
    int fps;
    int steps;
    int stepsPerPhase;
    // The encoder stalls until the last frame: the queue fills and the
    // frames after are dropped.
    bool hurried = false;
};

// Holds up the writer it wraps until told to go on.
class StalledWriter final : public FrameWriter {
public:
    explicit StalledWriter(std::unique_ptr<FrameWriter> writer) : m_writer(std::move(writer)) {}
    void write(const QImage& frame, qint64 step) override {
        while (stalled) {
            QThread::msleep(1);
        }
        m_writer->write(frame, step);
    }
    WrittenRecording finish() override { return m_writer->finish(); }
    void discard() override { m_writer->discard(); }

    std::atomic<bool> stalled = true;

private:
    std::unique_ptr<FrameWriter> m_writer;
};

class RecorderTest : public testing::Test {
protected:
    // Records `take` into `path`, `fault` striking before each step's frame,
    // and checks every frame of the file against the pattern it was made from.
    RecordingResult record(const Take& take, const QString& path,
                           const std::function<void(int step)>& fault = {}) {
        const QRectF frame(QPointF(0, 0), take.size);
        const DisplayInfo display = fakeDisplay("REC", frame, 1.0, frame);
        fakes.displays.list = {display};
        fakes.screen.screens.insert(display.id, pattern(take.size, 0));
        auto writer = std::make_unique<StalledWriter>(
            RecordingFormat::find(take.format)->writer(path, take.size, take.fps));
        writer->stalled = take.hurried;
        StalledWriter& stalled = *writer;
        Recorder recorder(display, QRect(QPoint(0, 0), take.size), take.fps, std::move(writer),
                          fakes.displays, fakes.screen, clock);
        const double start = clock.time;
        awaited(recorder.start());
        for (int step = 1; step < take.steps && !recorder.ended(); ++step) {
            clock.time = start + (step + 0.5) / take.fps;
            fakes.screen.screens.insert(display.id, pattern(take.size, step / take.stepsPerPhase));
            if (fault) {
                fault(step);
            }
            while (!take.hurried && recorder.queuedFrames() > 0) {
                QThread::msleep(1);
            }
            awaited(recorder.tick());
        }
        stalled.stalled = false;
        const RecordingResult result = awaited(recorder.stop()).result();
        const QList<DecodedFrame> frames =
            isGif(take) ? decodeGif(result.file.path) : decodeMp4(result.file.path, take.fps);
        EXPECT_EQ(frames.size(), result.file.frames);
        expectPattern(take, frames, result.file.seconds);
        return result;
    }
    static bool isGif(const Take& take) {
        return QLatin1String(take.format) == QLatin1String("gif");
    }
    // `frames` show the pattern; a GIF's delays add up to `seconds`.
    static void expectPattern(const Take& take, const QList<DecodedFrame>& frames, double seconds) {
        const bool gif = isGif(take);
        ASSERT_FALSE(frames.isEmpty());
        const QSize size = gif ? take.size : QSize(take.size.width() & ~1, take.size.height() & ~1);
        qint64 shown = 0;
        for (const DecodedFrame& frame : frames) {
            const qint64 step = gif ? std::llround(frame.at * take.fps / 100.0) : frame.at;
            const QImage expected =
                pattern(take.size, int(step / take.stepsPerPhase)).copy(QRect(QPoint(0, 0), size));
            ASSERT_EQ(frame.image.size(), size);
            // Exact colours for a GIF whose palette holds every colour.
            EXPECT_GE(psnr(frame.image, expected), gif ? 99 : 35) << "at " << frame.at;
            shown += frame.length;
        }
        if (gif) {
            EXPECT_EQ(shown, std::llround(seconds * 100));
        }
    }

    FakePlatform fakes;
    FakeClock clock;
    QTemporaryDir folder;
};

TEST_F(RecorderTest, framesDecodeAsThePatternAtTheirTimes) {
    const Take takes[] = {
        {"mp4", QSize(320, 240), 30, 90, 7},     {"mp4", QSize(201, 99), 10, 30, 4},
        {"gif", QSize(160, 120), 10, 30, 3},     {"gif", QSize(97, 61), 25, 40, 10},
        {"mp4", QSize(64, 48), 60, 60, 1, true},
    };
    for (const Take& take : takes) {
        SCOPED_TRACE(testing::Message() << take.format << " " << take.size.width());
        const QString path = folder.filePath(QStringLiteral("take-%1.").arg(&take - takes)) +
                             QLatin1String(take.format);
        const RecordingResult result = record(take, path);
        EXPECT_EQ(result.message, QString());
        EXPECT_EQ(result.file.bytes, QFileInfo(path).size());
        if (take.hurried) {
            EXPECT_GT(result.droppedFrames, 0);
            EXPECT_EQ(result.file.frames + result.droppedFrames, take.steps);
        } else {
            EXPECT_EQ(result.droppedFrames, 0);
            EXPECT_DOUBLE_EQ(result.file.seconds, double(take.steps) / take.fps);
            // A GIF holds a frame for each phase of the pattern, an MP4 about one per step.
            const int phases = (take.steps + take.stepsPerPhase - 1) / take.stepsPerPhase;
            EXPECT_NEAR(result.file.frames, isGif(take) ? phases : take.steps,
                        isGif(take) ? 0 : take.steps * 0.03);
        }
    }
}

TEST_F(RecorderTest, aRecordingThatMustEndKeepsAWholeFileUpToThatPointAndSaysWhy) {
    const Take take{"mp4", QSize(320, 240), 30, 600, 5};
    struct Fault {
        const char* format;
        int step; // when the fault strikes
        std::function<void()> strike;
        QString message;
    };
    const Fault faults[] = {
        {"mp4", 70, [this] { fakes.displays.list.clear(); }, Recorder::displayMessage},
        {"gif", 20, [this] { fakes.displays.list.clear(); }, Recorder::displayMessage},
        {"mp4", 45, [this] { fakes.screen.failure = "The X server went away."; },
         "The X server went away."},
        {"mp4", 50, [this] { clock.time += Recorder::maximumSeconds; }, Recorder::limitMessage},
        // Past its 16 KiB the disk refuses the next fragment.
        {"mp4", -1, {}, "No space left on device"},
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.message.toStdString());
        fakes.screen.failure.clear();
        const bool fullDisk = fault.step < 0;
        const QString where = folder.filePath(fullDisk ? "small" : "large");
        QDir().mkpath(where);
        // A file system of a few pages, gone when the row ends.
        const QByteArray mountPoint = QFile::encodeName(where);
        const bool mounted =
            fullDisk && ::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=16k") == 0;
        const auto unmount = qScopeGuard([&] {
            if (mounted) {
                ::umount2(mountPoint.constData(), MNT_DETACH);
            }
        });
        if (fullDisk && !mounted) {
            GTEST_SKIP() << "mounting a small tmpfs was refused: " << strerror(errno);
        }
        Take faulty = take;
        faulty.format = fault.format;
        faulty.stepsPerPhase = fullDisk ? 1 : take.stepsPerPhase;
        const RecordingResult result =
            record(faulty, where + QStringLiteral("/cut-%1.").arg(fault.step) + fault.format,
                   [&](int step) { step == fault.step ? fault.strike() : void(); });
        EXPECT_TRUE(result.message.contains(fault.message)) << result.message.toStdString();
        EXPECT_GT(result.file.frames, 0);
        EXPECT_LT(result.file.seconds, double(take.steps) / take.fps);
    }
}

// The writer of a child process killed mid-recording leaves every fragment it
// finished.
TEST_F(RecorderTest, aKilledRecordingPlaysUpToItsLastFragment) {
    const Take take{"mp4", QSize(160, 120), 30, 0, 5};
    const QString path = folder.filePath("killed.mp4");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        Mp4Writer writer(path, take.size, take.fps);
        for (int step = 0; step < 100'000; ++step) {
            writer.write(pattern(take.size, step / take.stepsPerPhase), step);
        }
        ::_exit(0);
    }
    for (int wait = 0; wait < 2000 && QFileInfo(path).size() < 60'000; ++wait) {
        ::usleep(10'000);
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    const QList<DecodedFrame> frames = decodeMp4(path, take.fps);
    ASSERT_GE(frames.size(), take.fps);
    expectPattern(take, frames, 0);
}

} // namespace
} // namespace vellumix
