#pragma once

// A video clip with motion for the benchmark programs: the test scene (a person walking through a
// room with a ticking clock) with a little sensor noise, encoded as MPEG-4 in an AVI file with
// FFmpeg's own libraries, as a camera recording would be.

#include "capture/driver/DibFrame.h"
#include "capture/scene/TestSceneRenderer.h"

#include <QSize>
#include <QString>
#include <QTime>
#include <cstdint>

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libswscale/swscale.h>
}

class MotionClipWriter
{
public:
    ~MotionClipWriter()
    {
        av_packet_free(&packet_);
        av_frame_free(&picture_);
        avcodec_free_context(&encoder_);
        sws_freeContext(convert_);
        if (output_ != nullptr && output_->pb != nullptr)
            avio_closep(&output_->pb);
        avformat_free_context(output_);
    }

    // Writes frames frames of size at framesPerSecond to path. False, with the reason in error, when
    // it could not be written.
    bool Write(const QString& path, QSize size, int framesPerSecond, int frames, QString* error)
    {
        const QByteArray file = path.toUtf8();
        if (!Check(avformat_alloc_output_context2(&output_, nullptr, "avi", file.constData()), "no container",
                   error) ||
            !OpenEncoder(size, framesPerSecond, error))
            return false;
        stream_ = avformat_new_stream(output_, nullptr);
        packet_ = av_packet_alloc();
        if (stream_ == nullptr || packet_ == nullptr)
            return Check(AVERROR(ENOMEM), "out of memory", error);
        avcodec_parameters_from_context(stream_->codecpar, encoder_);
        stream_->time_base = encoder_->time_base;
        if (!Check(avio_open(&output_->pb, file.constData(), AVIO_FLAG_WRITE), "cannot create the file",
                   error) ||
            !Check(avformat_write_header(output_, nullptr), "cannot write the header", error))
            return false;

        const TestSceneRenderer scene(size, framesPerSecond);
        DibFrame frame;
        std::uint32_t noise = 12345;
        for (int n = 0; n < frames; ++n)
        {
            scene.Render(static_cast<std::uint64_t>(n), QTime(10, 10, 0).addMSecs(n * 1000 / framesPerSecond),
                         frame);
            if (!Check(av_frame_make_writable(picture_), "frame not writable", error))
                return false;
            // The frame's rows are bottom-up: start at the top row and step backwards.
            const std::uint8_t* source[1] = {frame.TopDownRow(0)};
            const int sourceStride[1] = {-frame.Stride()};
            sws_scale(convert_, source, sourceStride, 0, size.height(), picture_->data, picture_->linesize);
            for (int y = 0; y < size.height(); ++y)
            {
                std::uint8_t* row =
                    picture_->data[0] + static_cast<std::ptrdiff_t>(y) * picture_->linesize[0];
                for (int x = 0; x < size.width(); ++x)
                {
                    noise = noise * 1664525u + 1013904223u;
                    row[x] = static_cast<std::uint8_t>(
                        std::clamp(row[x] + static_cast<int>(noise >> 29) - 3, 16, 235));
                }
            }
            picture_->pts = n;
            if (!Encode(picture_, error))
                return false;
        }
        return Encode(nullptr, error) && Check(av_write_trailer(output_), "cannot finish the file", error);
    }

private:
    bool OpenEncoder(QSize size, int framesPerSecond, QString* error)
    {
        const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
        if (codec == nullptr)
            return Check(AVERROR_ENCODER_NOT_FOUND, "no MPEG-4 encoder", error);
        encoder_ = avcodec_alloc_context3(codec);
        picture_ = av_frame_alloc();
        if (encoder_ == nullptr || picture_ == nullptr)
            return Check(AVERROR(ENOMEM), "out of memory", error);
        encoder_->width = size.width();
        encoder_->height = size.height();
        encoder_->time_base = AVRational{1, framesPerSecond};
        encoder_->framerate = AVRational{framesPerSecond, 1};
        encoder_->pix_fmt = AV_PIX_FMT_YUV420P;
        encoder_->gop_size = 5 * framesPerSecond;
        encoder_->max_b_frames = 0;
        encoder_->bit_rate = static_cast<std::int64_t>(size.width()) * size.height() * framesPerSecond / 4;
        if (output_->oformat->flags & AVFMT_GLOBALHEADER)
            encoder_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (!Check(avcodec_open2(encoder_, codec, nullptr), "cannot open the encoder", error))
            return false;
        picture_->format = encoder_->pix_fmt;
        picture_->width = size.width();
        picture_->height = size.height();
        convert_ = sws_getContext(size.width(), size.height(), AV_PIX_FMT_BGR24, size.width(), size.height(),
                                  AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr);
        if (convert_ == nullptr)
            return Check(AVERROR(EINVAL), "no colour conversion", error);
        return Check(av_frame_get_buffer(picture_, 0), "no frame buffer", error);
    }

    bool Encode(const AVFrame* picture, QString* error)
    {
        int result = avcodec_send_frame(encoder_, picture);
        if (!Check(result, "cannot encode", error))
            return false;
        while ((result = avcodec_receive_packet(encoder_, packet_)) == 0)
        {
            av_packet_rescale_ts(packet_, encoder_->time_base, stream_->time_base);
            packet_->stream_index = stream_->index;
            if (!Check(av_interleaved_write_frame(output_, packet_), "cannot write a packet", error))
                return false;
        }
        return result == AVERROR(EAGAIN) || result == AVERROR_EOF || Check(result, "cannot encode", error);
    }

    static bool Check(int result, const char* what, QString* error)
    {
        if (result >= 0)
            return true;
        char text[AV_ERROR_MAX_STRING_SIZE] = {};
        av_strerror(result, text, sizeof text);
        *error = QString::fromLatin1(what) + QStringLiteral(": ") + QString::fromUtf8(text);
        return false;
    }

    AVFormatContext* output_ = nullptr;
    AVStream* stream_ = nullptr;
    AVCodecContext* encoder_ = nullptr;
    AVFrame* picture_ = nullptr;
    AVPacket* packet_ = nullptr;
    SwsContext* convert_ = nullptr;
};
