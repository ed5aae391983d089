#pragma once

#include <QFile>
#include <QImage>
#include <QList>

#include <cmath>

#include <gif_lib.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace vellumix {

// A screen that changes at known phases: a muted background and a bar that
// moves, each phase in colours of its own, all from a small set a GIF palette
// holds exactly.
inline QImage pattern(QSize size, int phase) {
    static const QRgb colours[] = {0x406080, 0x80a040, 0xc08060, 0x30a0a0, 0xa050a0, 0xd0c070};
    QImage image(size, QImage::Format_RGB32);
    image.fill(colours[phase % 6]);
    const int bar = size.width() / 4 & ~1;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = (phase * bar / 2 & ~1) % size.width(); x < size.width() && bar > 0; ++x) {
            image.setPixel(x, y, colours[(phase + 3) % 6]);
        }
    }
    return image.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
}

inline double psnr(const QImage& decoded, const QImage& expected) {
    const QImage a = decoded.convertToFormat(QImage::Format_RGB32);
    const QImage b = expected.convertToFormat(QImage::Format_RGB32);
    double squares = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            for (const int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)}) {
                squares += d * d;
            }
        }
    }
    const double mse = squares / (3.0 * a.width() * a.height());
    return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

// A frame read back from a recording: `at` is when it shows, in frame steps
// for a video and in hundredths of a second for a GIF, where `length` is how
// long it shows.
struct DecodedFrame {
    QImage image;
    qint64 at;
    qint64 length = 0;
};

// Every frame of an MP4 that decodes, in the BT.709 video range the writer
// uses; a file cut short gives the frames before the cut.
inline QList<DecodedFrame> decodeMp4(const QString& path, int fps) {
    QList<DecodedFrame> frames;
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, QFile::encodeName(path).constData(), nullptr, nullptr) < 0) {
        return frames;
    }
    const AVCodec* decoder =
        avformat_find_stream_info(format, nullptr) >= 0 && format->nb_streams > 0
            ? avcodec_find_decoder(format->streams[0]->codecpar->codec_id)
            : nullptr;
    if (decoder == nullptr) {
        avformat_close_input(&format);
        return frames;
    }
    const AVStream* stream = format->streams[0];
    AVCodecContext* codec = avcodec_alloc_context3(decoder);
    avcodec_parameters_to_context(codec, stream->codecpar);
    avcodec_open2(codec, codec->codec, nullptr);
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    const auto receive = [&] {
        while (avcodec_receive_frame(codec, frame) == 0) {
            // Scalers write past a row's end: a padded frame takes the pixels.
            AVFrame* rgba = av_frame_alloc();
            rgba->format = AV_PIX_FMT_RGBA;
            rgba->width = frame->width;
            rgba->height = frame->height;
            av_frame_get_buffer(rgba, 0);
            SwsContext* scaler = sws_getContext(
                frame->width, frame->height, AVPixelFormat(frame->format), frame->width,
                frame->height, AV_PIX_FMT_RGBA, SWS_BILINEAR, nullptr, nullptr, nullptr);
            const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
            sws_setColorspaceDetails(scaler, bt709, 0, bt709, 1, 0, 1 << 16, 1 << 16);
            sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, rgba->data,
                      rgba->linesize);
            sws_freeContext(scaler);
            const QImage image(rgba->data[0], rgba->width, rgba->height, rgba->linesize[0],
                               QImage::Format_RGBA8888_Premultiplied);
            // A player starts at the first frame's time, which reordered
            // frames move past zero.
            const qint64 at =
                frame->best_effort_timestamp - std::max<qint64>(0, stream->start_time);
            frames.append({image.convertToFormat(QImage::Format_RGB32),
                           av_rescale_q(at, stream->time_base, AVRational{1, fps})});
            av_frame_free(&rgba);
        }
    };
    while (av_read_frame(format, packet) >= 0) {
        avcodec_send_packet(codec, packet);
        av_packet_unref(packet);
        receive();
    }
    avcodec_send_packet(codec, nullptr);
    receive();
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&codec);
    avformat_close_input(&format);
    return frames;
}

// Every frame of a GIF as it shows, drawn over the ones before.
inline QList<DecodedFrame> decodeGif(const QString& path) {
    QList<DecodedFrame> frames;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(QFile::encodeName(path).constData(), &error);
    if (!gif || DGifSlurp(gif) != GIF_OK) {
        DGifCloseFile(gif, &error);
        return frames;
    }
    QImage canvas(gif->SWidth, gif->SHeight, QImage::Format_RGB32);
    qint64 at = 0;
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& saved = gif->SavedImages[i];
        GraphicsControlBlock control{};
        DGifSavedExtensionToGCB(gif, i, &control);
        const GifImageDesc& desc = saved.ImageDesc;
        const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
        for (int y = 0; y < desc.Height; ++y) {
            for (int x = 0; x < desc.Width; ++x) {
                const int index = saved.RasterBits[y * desc.Width + x];
                if (index != control.TransparentColor) {
                    const GifColorType c = map->Colors[index];
                    canvas.setPixel(desc.Left + x, desc.Top + y, qRgb(c.Red, c.Green, c.Blue));
                }
            }
        }
        frames.append({canvas.copy(), at, control.DelayTime});
        at += control.DelayTime;
    }
    DGifCloseFile(gif, &error);
    return frames;
}

} // namespace vellumix
