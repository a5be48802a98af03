#include "capture/stream/module/ClipWriter.h"

#include <QFile>
#include <deque>

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace
{
// A clip's time stamps count milliseconds from its first frame.
constexpr AVRational Milliseconds{1, 1000};

QString ErrorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

struct FrameFree
{
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;

// A frame kept for the next clip, in the encoder's 4:2:0 form: half the bytes of the bitmap.
struct KeptFrame
{
    FramePtr Picture;
    std::int64_t Milliseconds = 0;
    std::size_t Bytes = 0;
};

// H.264 where FFmpeg has an encoder for it, else MPEG-4 Visual, which FFmpeg always carries.
const AVCodec* ClipCodec()
{
    if (const AVCodec* h264 = avcodec_find_encoder(AV_CODEC_ID_H264))
        return h264;
    return avcodec_find_encoder(AV_CODEC_ID_MPEG4);
}

class ClipWriter final : public ClipRecorder
{
public:
    explicit ClipWriter(std::size_t bufferBytes) : bufferBytes_(bufferBytes), codec_(ClipCodec()) {}
    ~ClipWriter() override
    {
        QString ignored;
        Stop(&ignored);
        sws_freeContext(scaler_);
    }

    QString EncoderName() const override
    {
        return codec_ != nullptr ? QString::fromLatin1(codec_->name) : QString();
    }

    void SetPreMilliseconds(std::int64_t milliseconds) override { preMilliseconds_ = milliseconds; }

    void Frame(const std::uint8_t* bits, int width, int height, int stride,
               std::int64_t milliseconds) override
    {
        if (width != sourceWidth_ || height != sourceHeight_)
        {
            // Another size: the kept frames are of no use, and a clip goes on without the new ones.
            if (Recording())
                return;
            kept_.clear();
            keptBytes_ = 0;
            sourceWidth_ = width;
            sourceHeight_ = height;
            // 4:2:0 pictures have even sides: an odd source loses its last column or its top row.
            width_ = width & ~1;
            height_ = height & ~1;
        }
        FramePtr picture = Convert(bits, stride);
        if (!picture)
            return;
        if (Recording())
        {
            Encode(picture.get(), milliseconds);
            return;
        }
        const std::size_t bytes =
            static_cast<std::size_t>(av_image_get_buffer_size(AV_PIX_FMT_YUV420P, width_, height_, 1));
        kept_.push_back({std::move(picture), milliseconds, bytes});
        keptBytes_ += bytes;
        while (!kept_.empty() &&
               (keptBytes_ > bufferBytes_ || milliseconds - kept_.front().Milliseconds > preMilliseconds_))
        {
            keptBytes_ -= kept_.front().Bytes;
            kept_.pop_front();
        }
    }

    bool Start(const QString& path, std::int64_t fromMilliseconds, QString* error) override
    {
        QString ignored;
        Stop(&ignored);
        if (codec_ == nullptr)
        {
            *error = QStringLiteral("FFmpeg has no video encoder for clips");
            return false;
        }
        if (width_ <= 0 || height_ <= 0)
        {
            *error = QStringLiteral("no picture has come from the source yet");
            return false;
        }
        if (!Open(path, error))
        {
            Close();
            return false;
        }
        for (KeptFrame& frame : kept_)
            if (frame.Milliseconds >= fromMilliseconds)
                Encode(frame.Picture.get(), frame.Milliseconds);
        kept_.clear();
        keptBytes_ = 0;
        return true;
    }

    bool Stop(QString* error) override
    {
        if (!Recording())
            return true;
        if (failure_.isEmpty())
            Send(nullptr);
        if (const int result = av_write_trailer(muxer_); result < 0 && failure_.isEmpty())
            failure_ = ErrorText(result);
        const QString failure = failure_;
        Close();
        *error = failure;
        return failure.isEmpty();
    }

    bool Recording() const override { return muxer_ != nullptr; }

private:
    FramePtr Convert(const std::uint8_t* bits, int stride)
    {
        scaler_ = sws_getCachedContext(scaler_, width_, height_, AV_PIX_FMT_BGR24, width_, height_,
                                       AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr);
        FramePtr picture(av_frame_alloc());
        if (scaler_ == nullptr || !picture)
            return {};
        picture->format = AV_PIX_FMT_YUV420P;
        picture->width = width_;
        picture->height = height_;
        if (av_frame_get_buffer(picture.get(), 0) < 0)
            return {};
        // The rows are bottom-up: the picture's first row is the last one in memory.
        const std::uint8_t* top = bits + static_cast<std::ptrdiff_t>(height_ - 1) * stride;
        const int topStride = -stride;
        sws_scale(scaler_, &top, &topStride, 0, height_, picture->data, picture->linesize);
        return picture;
    }

    bool Open(const QString& path, QString* error)
    {
        const QByteArray name = QFile::encodeName(path);
        int result = avformat_alloc_output_context2(&muxer_, nullptr, "matroska", name.constData());
        if (result < 0 || muxer_ == nullptr)
        {
            *error = ErrorText(result);
            return false;
        }
        encoder_ = avcodec_alloc_context3(codec_);
        if (encoder_ == nullptr)
        {
            *error = QStringLiteral("not enough memory for the encoder");
            return false;
        }
        encoder_->width = width_;
        encoder_->height = height_;
        encoder_->pix_fmt = AV_PIX_FMT_YUV420P;
        encoder_->time_base = Milliseconds;
        encoder_->framerate = RateOfKeptFrames();
        encoder_->gop_size = 50;
        // One thread: the encoder shares the machine with the program's own work, and each frame is
        // written as soon as it is encoded.
        encoder_->thread_count = 1;
        if ((muxer_->oformat->flags & AVFMT_GLOBALHEADER) != 0)
            encoder_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        AVDictionary* options = nullptr;
        if (codec_->id == AV_CODEC_ID_H264)
        {
            av_dict_set(&options, "preset", "ultrafast", 0);
            av_dict_set(&options, "tune", "zerolatency", 0);
            av_dict_set(&options, "crf", "26", 0);
        }
        else
        {
            encoder_->flags |= AV_CODEC_FLAG_QSCALE;
            encoder_->global_quality = FF_QP2LAMBDA * 5;
        }
        result = avcodec_open2(encoder_, codec_, &options);
        av_dict_free(&options);
        if (result < 0)
        {
            *error = QStringLiteral("the encoder %1 could not be started: %2")
                         .arg(EncoderName(), ErrorText(result));
            return false;
        }
        AVStream* stream = avformat_new_stream(muxer_, nullptr);
        if (stream == nullptr || avcodec_parameters_from_context(stream->codecpar, encoder_) < 0)
        {
            *error = QStringLiteral("not enough memory for the clip");
            return false;
        }
        stream->time_base = Milliseconds;
        stream->avg_frame_rate = encoder_->framerate;
        result = avio_open(&muxer_->pb, name.constData(), AVIO_FLAG_WRITE);
        if (result < 0)
        {
            *error = ErrorText(result);
            return false;
        }
        // Clusters of at most a second, each written out when it is complete: a crash or a power cut
        // loses at most the last second.
        av_dict_set(&options, "cluster_time_limit", "1000", 0);
        muxer_->flush_packets = 1;
        result = avformat_write_header(muxer_, &options);
        av_dict_free(&options);
        if (result < 0)
        {
            *error = ErrorText(result);
            return false;
        }
        packet_ = av_packet_alloc();
        if (packet_ == nullptr)
        {
            *error = QStringLiteral("not enough memory for the clip");
            return false;
        }
        first_ = -1;
        last_ = -1;
        failure_.clear();
        return true;
    }

    // The frame rate the kept frames show, for the file's header; 25 frames a second without them.
    AVRational RateOfKeptFrames() const
    {
        if (kept_.size() < 2 || kept_.back().Milliseconds <= kept_.front().Milliseconds)
            return {25, 1};
        const std::int64_t span = kept_.back().Milliseconds - kept_.front().Milliseconds;
        return av_d2q(static_cast<double>(kept_.size() - 1) * 1000.0 / static_cast<double>(span), 1000);
    }

    void Encode(AVFrame* picture, std::int64_t milliseconds)
    {
        if (!failure_.isEmpty())
            return;
        if (first_ < 0)
            first_ = milliseconds;
        // Time stamps must grow: a frame of the same time as the one before is left out.
        const std::int64_t pts = milliseconds - first_;
        if (pts <= last_)
            return;
        last_ = pts;
        picture->pts = pts;
        Send(picture);
    }

    void Send(AVFrame* picture)
    {
        int result = avcodec_send_frame(encoder_, picture);
        while (result >= 0)
        {
            result = avcodec_receive_packet(encoder_, packet_);
            if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
                return;
            if (result < 0)
                break;
            av_packet_rescale_ts(packet_, encoder_->time_base, muxer_->streams[0]->time_base);
            packet_->stream_index = 0;
            result = av_interleaved_write_frame(muxer_, packet_);
        }
        if (failure_.isEmpty())
            failure_ = ErrorText(result);
    }

    void Close()
    {
        av_packet_free(&packet_);
        avcodec_free_context(&encoder_);
        if (muxer_ != nullptr)
        {
            if (muxer_->pb != nullptr)
                avio_closep(&muxer_->pb);
            avformat_free_context(muxer_);
        }
        muxer_ = nullptr;
    }

    const std::size_t bufferBytes_;
    const AVCodec* codec_;
    std::int64_t preMilliseconds_ = 0;
    int sourceWidth_ = 0;
    int sourceHeight_ = 0;
    // The clip's size: the source's, made even.
    int width_ = 0;
    int height_ = 0;
    SwsContext* scaler_ = nullptr;
    std::deque<KeptFrame> kept_;
    std::size_t keptBytes_ = 0;

    AVFormatContext* muxer_ = nullptr;
    AVCodecContext* encoder_ = nullptr;
    AVPacket* packet_ = nullptr;
    std::int64_t first_ = -1;
    std::int64_t last_ = -1;
    QString failure_;
};
} // namespace

std::unique_ptr<ClipRecorder> CreateClipWriter(std::size_t bufferBytes)
{
    // The encoder reports its statistics at the end of every clip; a program watching a room has no
    // reader for them, so only warnings and errors reach the terminal.
    av_log_set_level(AV_LOG_WARNING);
    return std::make_unique<ClipWriter>(bufferBytes);
}
