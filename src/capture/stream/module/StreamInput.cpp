#include "capture/stream/module/StreamInput.h"

#include "capture/stream/StreamLocation.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <thread>

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/error.h>
}

namespace
{
using Clock = std::chrono::steady_clock;

// Schemes whose "timeout" option is the socket timeout in microseconds (for others, such as rtmp, the
// same name means something else).
bool HasSocketTimeout(const QString& location)
{
    static const char* const schemes[] = {"rtsp://", "rtsps://", "http://", "https://", "tcp://", "udp://"};
    for (const char* scheme : schemes)
        if (location.startsWith(QLatin1String(scheme), Qt::CaseInsensitive))
            return true;
    return false;
}

bool IsRtsp(const QString& location)
{
    return location.startsWith(QLatin1String("rtsp://"), Qt::CaseInsensitive) ||
           location.startsWith(QLatin1String("rtsps://"), Qt::CaseInsensitive);
}

AVDictionary* OpenOptions(const StreamSettings& settings, bool network)
{
    AVDictionary* options = nullptr;
    if (!network)
        return options;
    const QByteArray micros = QByteArray::number(
        static_cast<qint64>(std::chrono::microseconds(StreamInput::NetworkTimeout).count()));
    av_dict_set(&options, "rw_timeout", micros.constData(), 0);
    if (HasSocketTimeout(settings.Location))
        av_dict_set(&options, "timeout", micros.constData(), 0);
    if (IsRtsp(settings.Location))
    {
        av_dict_set(&options, "rtsp_transport", settings.Transport == StreamTransport::Udp ? "udp" : "tcp",
                    0);
        av_dict_set(&options, "allowed_media_types", "video", 0);
    }
    return options;
}

// "what (reason)." as one sentence.
QString Described(const QString& what, const QString& reason)
{
    return (reason.isEmpty() ? what : what + QStringLiteral(" (") + reason + QChar(')')) + QChar('.');
}
} // namespace

StreamInput::StreamInput(const std::atomic<bool>& stop, bool network) : stop_(stop), network_(network) {}

StreamInput::~StreamInput()
{
    av_frame_free(&frame_);
    av_packet_free(&packet_);
    avcodec_free_context(&decoder_);
    avformat_close_input(&format_);
}

std::unique_ptr<StreamInput> StreamInput::Open(const StreamSettings& settings, const std::atomic<bool>& stop,
                                               QString* error, StreamOpenFailure* failure)
{
    if (failure != nullptr)
        *failure = StreamOpenFailure::Unreachable;
    if (settings.Location.trimmed().isEmpty())
    {
        *error = QStringLiteral("No network camera address or video file is set.");
        return nullptr;
    }
    std::unique_ptr<StreamInput> input(new StreamInput(stop, IsNetworkStreamLocation(settings.Location)));
    input->packet_ = av_packet_alloc();
    input->frame_ = av_frame_alloc();
    if (input->packet_ == nullptr || input->frame_ == nullptr)
    {
        *error = QStringLiteral("There is not enough memory to play the video.");
        return nullptr;
    }
    // Opening as a whole, the first picture included, gets one timeout.
    input->openLimit_ = input->network_ ? Clock::now() + NetworkTimeout : Clock::time_point::max();
    input->StartDeadline();
    if (!input->OpenContainer(settings, error))
        return nullptr;
    if (!input->OpenDecoder(error))
    {
        if (failure != nullptr)
            *failure = StreamOpenFailure::NoDecoder;
        return nullptr;
    }
    if (input->info_.Size.isEmpty())
    {
        // The container did not say how large the pictures are: decode the first one to learn it.
        if (input->Next(error) != Result::Frame)
        {
            *error = Described(QStringLiteral("No picture could be decoded from ") +
                                   RedactStreamLocation(settings.Location),
                               *error);
            return nullptr;
        }
        input->info_.Size = QSize(input->frame_->width, input->frame_->height);
        if (!input->CheckSize(error))
            return nullptr;
        input->framePending_ = true;
    }
    input->openLimit_ = Clock::time_point::max();
    return input;
}

bool StreamInput::OpenContainer(const StreamSettings& settings, QString* error)
{
    const QString shown = RedactStreamLocation(settings.Location);
    format_ = avformat_alloc_context();
    if (format_ == nullptr)
    {
        *error = QStringLiteral("There is not enough memory to play the video.");
        return false;
    }
    format_->interrupt_callback.callback = &StreamInput::Interrupted;
    format_->interrupt_callback.opaque = this;
    AVDictionary* options = OpenOptions(settings, network_);
    const QByteArray location = settings.Location.trimmed().toUtf8();
    int result = avformat_open_input(&format_, location.constData(), nullptr, &options);
    av_dict_free(&options);
    if (result < 0)
    {
        // avformat_open_input frees the context when it fails.
        *error = Described(QStringLiteral("Vantu could not open ") + shown, ErrorText(result));
        return false;
    }
    result = avformat_find_stream_info(format_, nullptr);
    if (result < 0)
    {
        *error = Described(QStringLiteral("Vantu could not read the video in ") + shown, ErrorText(result));
        return false;
    }
    streamIndex_ = av_find_best_stream(format_, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (streamIndex_ < 0 || (format_->streams[streamIndex_]->disposition & AV_DISPOSITION_ATTACHED_PIC) != 0)
    {
        *error = shown + QStringLiteral(" contains no video.");
        return false;
    }
    return true;
}

bool StreamInput::OpenDecoder(QString* error)
{
    AVStream* stream = format_->streams[streamIndex_];
    const AVCodecParameters* parameters = stream->codecpar;
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get(parameters->codec_id);
    info_.Codec =
        descriptor == nullptr
            ? QStringLiteral("unknown")
            : QString::fromUtf8(descriptor->long_name != nullptr ? descriptor->long_name : descriptor->name);
    const AVRational rate = av_guess_frame_rate(format_, stream, nullptr);
    info_.FramesPerSecond = rate.num > 0 && rate.den > 0 ? av_q2d(rate) : 0;
    if (parameters->width > 0 && parameters->height > 0)
        info_.Size = QSize(parameters->width, parameters->height);
    if (!CheckSize(error))
        return false;

    const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
    if (codec == nullptr)
    {
        *error = QStringLiteral("Vantu has no decoder for %1 video.").arg(info_.Codec);
        return false;
    }
    decoder_ = avcodec_alloc_context3(codec);
    if (decoder_ == nullptr)
    {
        *error = QStringLiteral("There is not enough memory to decode the video.");
        return false;
    }
    int result = avcodec_parameters_to_context(decoder_, parameters);
    if (result >= 0)
    {
        decoder_->pkt_timebase = stream->time_base;
        // One thread decodes pictures up to full HD faster than a camera sends them; more would only
        // add their synchronisation, and frame threads a frame of delay each. Larger pictures get the
        // threads FFmpeg chooses for the machine.
        const bool large = static_cast<std::int64_t>(parameters->width) * parameters->height > 1920 * 1080;
        decoder_->thread_count = large ? 0 : 1;
        result = avcodec_open2(decoder_, codec, nullptr);
    }
    if (result < 0)
    {
        *error = Described(QStringLiteral("Vantu could not start the %1 decoder").arg(info_.Codec),
                           ErrorText(result));
        return false;
    }
    return true;
}

bool StreamInput::CheckSize(QString* error) const
{
    if (info_.Size.width() <= StreamMaxSide && info_.Size.height() <= StreamMaxSide)
        return true;
    *error = QStringLiteral("The video is %1 x %2 pixels; Vantu shows videos up to %3 x %3.")
                 .arg(info_.Size.width())
                 .arg(info_.Size.height())
                 .arg(StreamMaxSide);
    return false;
}

int StreamInput::Interrupted(void* opaque)
{
    const auto* self = static_cast<const StreamInput*>(opaque);
    return self->stop_.load() || Clock::now() > self->deadline_ ? 1 : 0;
}

void StreamInput::StartDeadline()
{
    deadline_ = network_ ? std::min(Clock::now() + NetworkTimeout, openLimit_) : Clock::time_point::max();
}

QString StreamInput::ErrorText(int code) const
{
    if (code == AVERROR_EXIT && !stop_.load() && network_)
        return QStringLiteral("no answer within %1 seconds")
            .arg(std::chrono::duration_cast<std::chrono::seconds>(NetworkTimeout).count());
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

StreamInput::Result StreamInput::Next(QString* error)
{
    if (framePending_)
    {
        framePending_ = false;
        return Result::Frame;
    }
    while (!stop_.load())
    {
        const int received = avcodec_receive_frame(decoder_, frame_);
        if (received == 0)
        {
            if ((frame_->flags & AV_FRAME_FLAG_CORRUPT) != 0 || frame_->decode_error_flags != 0)
                continue;
            return Result::Frame;
        }
        if (received == AVERROR_EOF || draining_)
        {
            *error = endReason_;
            return Result::End;
        }
        // EAGAIN asks for more input; any other error concerns one damaged picture, which is skipped.
        bool ended = false;
        if (!ReadPacket(error, &ended))
            return stop_.load() ? Result::Stopped : Result::Failed;
        if (ended)
        {
            draining_ = true;
            if (avcodec_send_packet(decoder_, nullptr) < 0)
            {
                *error = endReason_;
                return Result::End;
            }
        }
    }
    return Result::Stopped;
}

bool StreamInput::ReadPacket(QString* error, bool* ended)
{
    StartDeadline();
    for (;;)
    {
        int result = av_read_frame(format_, packet_);
        if (stop_.load())
        {
            av_packet_unref(packet_);
            return false;
        }
        if (result == AVERROR(EAGAIN))
        {
            if (Clock::now() <= deadline_)
            {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                continue;
            }
            result = AVERROR_EXIT;
        }
        if (result < 0)
        {
            // A file that cannot be read further ends there; a network source that fails is lost.
            if (network_ && result != AVERROR_EOF)
            {
                *error = ErrorText(result);
                return false;
            }
            if (result != AVERROR_EOF)
                endReason_ = ErrorText(result);
            *ended = true;
            return true;
        }
        const bool video = packet_->stream_index == streamIndex_;
        // A packet the decoder rejects is damaged: it is skipped, and decoding goes on with the next.
        if (video)
            avcodec_send_packet(decoder_, packet_);
        av_packet_unref(packet_);
        if (video)
            return true;
    }
}

double StreamInput::FrameSeconds() const
{
    const std::int64_t timestamp = frame_->best_effort_timestamp;
    if (timestamp == AV_NOPTS_VALUE)
        return std::numeric_limits<double>::quiet_NaN();
    const AVStream* stream = format_->streams[streamIndex_];
    const std::int64_t start = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
    return static_cast<double>(timestamp - start) * av_q2d(stream->time_base);
}
