#include "support/StreamClipWriter.h"

#include <algorithm>
#include <cmath>

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
}

namespace
{
QString ErrorText(const char* what, int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromLatin1(what) + QStringLiteral(": ") + QString::fromUtf8(text);
}

std::uint8_t Clamp(double value)
{
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

// BT.601 YCbCr of a colour, in full range (JPEG) or limited range (video).
void ToYuv(const QColor& colour, bool fullRange, std::uint8_t* y, std::uint8_t* cb, std::uint8_t* cr)
{
    const double r = colour.red();
    const double g = colour.green();
    const double b = colour.blue();
    const double luma = 0.299 * r + 0.587 * g + 0.114 * b;
    const double blue = (b - luma) / 1.772;
    const double red = (r - luma) / 1.402;
    if (fullRange)
    {
        *y = Clamp(luma);
        *cb = Clamp(128 + blue);
        *cr = Clamp(128 + red);
        return;
    }
    *y = Clamp(16 + luma * 219 / 255);
    *cb = Clamp(128 + blue * 224 / 255);
    *cr = Clamp(128 + red * 224 / 255);
}

void Paint(AVFrame* frame, const StreamClipPart& part, bool fullRange)
{
    std::uint8_t top[3];
    std::uint8_t bottom[3];
    ToYuv(part.Top, fullRange, &top[0], &top[1], &top[2]);
    ToYuv(part.Bottom, fullRange, &bottom[0], &bottom[1], &bottom[2]);
    const int split = StreamClipSplitRow(frame->height);
    for (int y = 0; y < frame->height; ++y)
        std::fill_n(frame->data[0] + y * frame->linesize[0], frame->width, y < split ? top[0] : bottom[0]);
    for (int y = 0; y < (frame->height + 1) / 2; ++y)
    {
        const std::uint8_t* colour = y * 2 < split ? top : bottom;
        std::fill_n(frame->data[1] + y * frame->linesize[1], (frame->width + 1) / 2, colour[1]);
        std::fill_n(frame->data[2] + y * frame->linesize[2], (frame->width + 1) / 2, colour[2]);
    }
}

class ClipWriter
{
public:
    ~ClipWriter()
    {
        av_packet_free(&packet_);
        av_frame_free(&frame_);
        avcodec_free_context(&encoder_);
        if (output_ != nullptr && !(output_->oformat->flags & AVFMT_NOFILE))
            avio_closep(&output_->pb);
        avformat_free_context(output_);
    }

    bool Write(const QString& path, const StreamClip& clip, QString* error)
    {
        const QByteArray file = path.toUtf8();
        const QByteArray container = clip.Container.toUtf8();
        int result =
            avformat_alloc_output_context2(&output_, nullptr, container.constData(), file.constData());
        if (result < 0)
            return Fail(error, "no container", result);
        stream_ = avformat_new_stream(output_, nullptr);
        packet_ = av_packet_alloc();
        if (stream_ == nullptr || packet_ == nullptr)
            return Fail(error, "out of memory", AVERROR(ENOMEM));
        std::int64_t pts = 0;
        for (std::size_t i = 0; i < clip.Parts.size(); ++i)
        {
            if (!OpenEncoder(clip, clip.Parts[i], error))
                return false;
            if (i == 0)
            {
                avcodec_parameters_from_context(stream_->codecpar, encoder_);
                stream_->time_base = encoder_->time_base;
                if ((result = avio_open(&output_->pb, file.constData(), AVIO_FLAG_WRITE)) < 0)
                    return Fail(error, "cannot create the file", result);
                if ((result = avformat_write_header(output_, nullptr)) < 0)
                    return Fail(error, "cannot write the header", result);
            }
            for (int n = 0; n < clip.Parts[i].Frames; ++n)
            {
                if ((result = av_frame_make_writable(frame_)) < 0)
                    return Fail(error, "frame not writable", result);
                Paint(frame_, clip.Parts[i], clip.Codec == StreamClipCodec::Mjpeg);
                frame_->pts = pts;
                pts += clip.TicksPerFrame;
                frame_->quality = encoder_->global_quality;
                if (!Encode(frame_, error))
                    return false;
            }
            if (!Encode(nullptr, error))
                return false;
            avcodec_free_context(&encoder_);
            av_frame_free(&frame_);
        }
        if ((result = av_write_trailer(output_)) < 0)
            return Fail(error, "cannot finish the file", result);
        return true;
    }

private:
    bool OpenEncoder(const StreamClip& clip, const StreamClipPart& part, QString* error)
    {
        const bool mjpeg = clip.Codec == StreamClipCodec::Mjpeg;
        const AVCodec* codec = avcodec_find_encoder(mjpeg ? AV_CODEC_ID_MJPEG : AV_CODEC_ID_MPEG4);
        if (codec == nullptr)
            return Fail(error, "no encoder", AVERROR_ENCODER_NOT_FOUND);
        encoder_ = avcodec_alloc_context3(codec);
        frame_ = av_frame_alloc();
        if (encoder_ == nullptr || frame_ == nullptr)
            return Fail(error, "out of memory", AVERROR(ENOMEM));
        encoder_->width = part.Size.width();
        encoder_->height = part.Size.height();
        encoder_->time_base = AVRational{1, clip.FramesPerSecond};
        encoder_->framerate = AVRational{clip.FramesPerSecond, 1};
        encoder_->pix_fmt = mjpeg ? AV_PIX_FMT_YUVJ420P : AV_PIX_FMT_YUV420P;
        encoder_->color_range = mjpeg ? AVCOL_RANGE_JPEG : AVCOL_RANGE_MPEG;
        encoder_->gop_size = 10;
        encoder_->flags |= AV_CODEC_FLAG_QSCALE;
        encoder_->global_quality = FF_QP2LAMBDA * 2;
        if (output_->oformat->flags & AVFMT_GLOBALHEADER)
            encoder_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        int result = avcodec_open2(encoder_, codec, nullptr);
        if (result < 0)
            return Fail(error, "cannot open the encoder", result);
        frame_->format = encoder_->pix_fmt;
        frame_->width = encoder_->width;
        frame_->height = encoder_->height;
        frame_->color_range = encoder_->color_range;
        if ((result = av_frame_get_buffer(frame_, 0)) < 0)
            return Fail(error, "no frame buffer", result);
        return true;
    }

    bool Encode(const AVFrame* frame, QString* error)
    {
        int result = avcodec_send_frame(encoder_, frame);
        if (result < 0)
            return Fail(error, "cannot encode", result);
        while ((result = avcodec_receive_packet(encoder_, packet_)) == 0)
        {
            av_packet_rescale_ts(packet_, encoder_->time_base, stream_->time_base);
            packet_->stream_index = stream_->index;
            if ((result = av_interleaved_write_frame(output_, packet_)) < 0)
                return Fail(error, "cannot write a packet", result);
        }
        if (result != AVERROR(EAGAIN) && result != AVERROR_EOF)
            return Fail(error, "cannot encode", result);
        return true;
    }

    static bool Fail(QString* error, const char* what, int code)
    {
        *error = ErrorText(what, code);
        return false;
    }

    AVFormatContext* output_ = nullptr;
    AVStream* stream_ = nullptr;
    AVCodecContext* encoder_ = nullptr;
    AVFrame* frame_ = nullptr;
    AVPacket* packet_ = nullptr;
};
} // namespace

int StreamClipSplitRow(int height)
{
    return (height / 2) & ~1;
}

bool WriteStreamClip(const QString& path, const StreamClip& clip, QString* error)
{
    ClipWriter writer;
    return writer.Write(path, clip, error);
}
