#include "recording/Mp4Writer.h"

#include "api/FileError.h"
#include "recording/RecordingError.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace vellumix {

namespace {

constexpr int ioBufferBytes = 64 * 1024;

QString avMessage(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QStringLiteral("The video encoder failed: %1.").arg(QString::fromUtf8(text));
}

void check(int code) {
    if (code < 0) {
        throw RecordingError(avMessage(code));
    }
}

template <typename T> T* made(T* object) {
    if (!object) {
        throw RecordingError(avMessage(AVERROR(ENOMEM)));
    }
    return object;
}

} // namespace

// The libraries' objects of one file. Bytes reach the file through our own
// writes, so a failure keeps its errno and the length of the file at the last
// whole fragment is known.
struct Mp4Writer::Muxer {
    int fd = -1;
    int ioError = 0;
    off_t written = 0;
    off_t wholeFragments = 0;
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    SwsContext* scaler = nullptr;
    AVFrame* rgba = nullptr;
    AVFrame* picture = nullptr;
    AVPacket* packet = nullptr;

    ~Muxer() {
        sws_freeContext(scaler);
        av_frame_free(&rgba);
        av_frame_free(&picture);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        if (format) {
            if (format->pb) {
                av_freep(&format->pb->buffer);
                avio_context_free(&format->pb);
            }
            avformat_free_context(format);
        }
        if (fd >= 0) {
            ::close(fd);
        }
    }

    static int writeBytes(void* opaque, uint8_t* data, int size) {
        auto* muxer = static_cast<Muxer*>(opaque);
        for (int done = 0; done < size;) {
            const ssize_t n = ::write(muxer->fd, data + done, size_t(size - done));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                muxer->ioError = errno;
                return AVERROR(errno);
            }
            done += int(n);
            muxer->written += n;
        }
        return size;
    }

    void openEncoder(QSize size, int fps) {
        const AVCodec* encoder = avcodec_find_encoder_by_name("libx264");
        encoder = encoder ? encoder : avcodec_find_encoder(AV_CODEC_ID_H264);
        if (!encoder) {
            throw RecordingError(QStringLiteral("No H.264 encoder is installed."));
        }
        codec = made(avcodec_alloc_context3(encoder));
        codec->width = size.width();
        codec->height = size.height();
        codec->time_base = AVRational{1, fps};
        codec->framerate = AVRational{fps, 1};
        codec->gop_size = fps * keyFrameSeconds;
        codec->pix_fmt = AV_PIX_FMT_YUV420P;
        codec->colorspace = AVCOL_SPC_BT709;
        codec->color_primaries = AVCOL_PRI_BT709;
        codec->color_trc = AVCOL_TRC_BT709;
        codec->color_range = AVCOL_RANGE_MPEG;
        if (format->oformat->flags & AVFMT_GLOBALHEADER) {
            codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        }
        AVDictionary* options = nullptr;
        av_dict_set(&options, "preset", encoderPreset, 0);
        av_dict_set_int(&options, "crf", quality, 0);
        const int opened = avcodec_open2(codec, encoder, &options);
        av_dict_free(&options);
        check(opened);
    }

    static AVFrame* frameOf(AVPixelFormat format, QSize size) {
        AVFrame* frame = made(av_frame_alloc());
        frame->format = format;
        frame->width = size.width();
        frame->height = size.height();
        if (const int made = av_frame_get_buffer(frame, 0); made < 0) {
            av_frame_free(&frame);
            check(made);
        }
        return frame;
    }

    // The scaler reads past the end of a row; frames it reads are padded.
    void convert(const QImage& image) {
        check(av_frame_make_writable(picture));
        for (int y = 0; y < rgba->height; ++y) {
            std::memcpy(rgba->data[0] + qsizetype(y) * rgba->linesize[0], image.constScanLine(y),
                        size_t(rgba->width) * 4);
        }
        sws_scale(scaler, rgba->data, rgba->linesize, 0, rgba->height, picture->data,
                  picture->linesize);
    }

    void openScaler(QSize size) {
        scaler = made(sws_getContext(size.width(), size.height(), AV_PIX_FMT_RGBA, size.width(),
                                     size.height(), AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr,
                                     nullptr, nullptr));
        const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
        sws_setColorspaceDetails(scaler, bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
        rgba = frameOf(AV_PIX_FMT_RGBA, size);
        picture = frameOf(AV_PIX_FMT_YUV420P, size);
        packet = made(av_packet_alloc());
    }

    void openFile(const QString& path, QSize size, int fps) {
        check(avformat_alloc_output_context2(&format, nullptr, "mp4", nullptr));
        auto* buffer = static_cast<unsigned char*>(made(av_malloc(ioBufferBytes)));
        format->pb =
            avio_alloc_context(buffer, ioBufferBytes, 1, this, nullptr, writeBytes, nullptr);
        if (!format->pb) {
            av_free(buffer);
            made<AVIOContext>(nullptr);
        }
        format->flags |= AVFMT_FLAG_CUSTOM_IO;
        openEncoder(size, fps);
        openScaler(size);
        stream = made(avformat_new_stream(format, nullptr));
        stream->time_base = codec->time_base;
        check(avcodec_parameters_from_context(stream->codecpar, codec));
        AVDictionary* options = nullptr;
        av_dict_set(&options, "movflags", fragmentFlags, 0);
        av_dict_set_int(&options, "frag_duration", fragmentMicroseconds, 0);
        const int written = avformat_write_header(format, &options);
        av_dict_free(&options);
        checkedFlush(path, written);
    }

    // Every muxer call ends here: the bytes it made go to the file at once, so
    // a crash loses only the fragment being built.
    void checkedFlush(const QString& path, int code) {
        if (code >= 0 && ioError == 0) {
            avio_flush(format->pb);
        }
        if (ioError != 0) {
            throw FileError(path, ioError);
        }
        check(code);
        wholeFragments = written;
    }
};

Mp4Writer::Mp4Writer(const QString& path, QSize size, int fps)
    : m_path(path), m_size(size.width() & ~1, size.height() & ~1), m_fps(fps) {
    // The libraries' own notes would go to standard error on every file.
    static std::once_flag quiet;
    std::call_once(quiet, [] { av_log_set_level(AV_LOG_ERROR); });
    if (m_size.isEmpty()) {
        throw RecordingError(QStringLiteral("A video needs at least 2 × 2 pixels."));
    }
    auto muxer = std::make_unique<Muxer>();
    muxer->fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (muxer->fd < 0) {
        throw FileError(path, errno);
    }
    try {
        muxer->openFile(path, m_size, fps);
    } catch (...) {
        muxer.reset();
        QFile::remove(path);
        throw;
    }
    m_muxer = std::move(muxer);
}

Mp4Writer::~Mp4Writer() = default;

void Mp4Writer::write(const QImage& frame, qint64 step) {
    if (m_failure) {
        return;
    }
    try {
        Muxer& muxer = *m_muxer;
        muxer.convert(frame);
        // Steps only go forward, whatever a caller's clock did.
        m_lastStep = std::max(step, m_lastStep + 1);
        muxer.picture->pts = m_lastStep;
        check(avcodec_send_frame(muxer.codec, muxer.picture));
        encode(false);
    } catch (...) {
        fail();
        throw;
    }
}

void Mp4Writer::encode(bool last) {
    Muxer& muxer = *m_muxer;
    if (last) {
        check(avcodec_send_frame(muxer.codec, nullptr));
    }
    for (;;) {
        const int received = avcodec_receive_packet(muxer.codec, muxer.packet);
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) {
            return;
        }
        check(received);
        // A fragment goes out when a packet would make it too long: then
        // the file holds every frame before this one.
        const qint64 step = muxer.packet->pts;
        const off_t before = muxer.wholeFragments;
        av_packet_rescale_ts(muxer.packet, muxer.codec->time_base, muxer.stream->time_base);
        muxer.packet->stream_index = muxer.stream->index;
        const int written = av_write_frame(muxer.format, muxer.packet);
        av_packet_unref(muxer.packet);
        muxer.checkedFlush(m_path, written);
        if (muxer.wholeFragments > before) {
            m_storedFrames = m_packets;
            m_storedSteps = step;
        }
        ++m_packets;
    }
}

// Keeps the first failure and cuts the file back to its last whole fragment,
// which every player reads to its end.
void Mp4Writer::fail() {
    if (!m_failure) {
        m_failure = std::current_exception();
    }
    if (m_muxer && ::ftruncate(m_muxer->fd, m_muxer->wholeFragments) != 0) {
        m_muxer->ioError = errno;
    }
}

WrittenRecording Mp4Writer::finish() {
    if (!m_failure) {
        try {
            encode(true);
            m_muxer->checkedFlush(m_path, av_write_trailer(m_muxer->format));
            m_storedFrames = m_packets;
            m_storedSteps = m_lastStep + 1;
        } catch (...) {
            fail();
        }
    }
    m_muxer.reset();
    return {m_path, QFileInfo(m_path).size(), m_storedFrames, double(m_storedSteps) / m_fps,
            failureMessage()};
}

QString Mp4Writer::failureMessage() const {
    try {
        if (m_failure) {
            std::rethrow_exception(m_failure);
        }
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    }
    return {};
}

void Mp4Writer::discard() {
    m_muxer.reset();
    QFile::remove(m_path);
}

} // namespace vellumix
