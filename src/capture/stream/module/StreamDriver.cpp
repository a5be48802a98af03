#include "capture/stream/module/StreamDriver.h"

#include "capture/driver/CaptureConfig.h"
#include "capture/stream/StreamLocation.h"
#include "capture/stream/StreamTiming.h"
#include "capture/stream/module/StreamScaler.h"

extern "C"
{
#include <libavutil/frame.h>
}

StreamDriver::StreamDriver(CaptureConfig& config, StreamDriverTiming timing)
    : config_(config), timing_(timing)
{
}

StreamDriver::~StreamDriver()
{
    Close();
}

bool StreamDriver::Open()
{
    Close();
    settings_ = LoadStreamSettings(config_);
    if (settings_.Location.isEmpty())
    {
        // Nothing to show yet: connected without pictures, so that the Source dialog can set a location.
        lastError_.clear();
        std::lock_guard lock(stateMutex_);
        info_ = StreamInfo{};
        open_ = true;
        return true;
    }
    std::unique_ptr<StreamInput> input = StreamInput::Open(settings_, stop_, &lastError_);
    if (!input)
        return false;
    lastError_.clear();
    Start(std::move(input));
    return true;
}

void StreamDriver::Start(std::unique_ptr<StreamInput> input)
{
    {
        std::lock_guard lock(stateMutex_);
        info_ = input->Info();
        chosenSize_ = settings_.Size;
        open_ = true;
    }
    frames_.Clear();
    sinceOpen_.start();
    thread_ = std::thread(&StreamDriver::Run, this, std::move(input), settings_);
}

void StreamDriver::Close()
{
    {
        std::lock_guard lock(waitMutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
    stop_ = false;
    frames_.Clear();
    std::lock_guard lock(stateMutex_);
    open_ = false;
}

QSize StreamDriver::FrameSize() const
{
    std::lock_guard lock(stateMutex_);
    if (!open_)
        return {};
    return chosenSize_.isEmpty() ? info_.Size : chosenSize_;
}

bool StreamDriver::TakeFrame(DibFrame& front)
{
    return frames_.Take(front);
}

bool StreamDriver::WaitFor(std::chrono::milliseconds time)
{
    std::unique_lock lock(waitMutex_);
    return !wake_.wait_for(lock, time, [this] { return stop_.load(); });
}

void StreamDriver::Run(std::unique_ptr<StreamInput> input, const StreamSettings settings)
{
    const QString name = StreamSourceShortName(settings.Location);
    StreamScaler scaler;
    int attempt = 0;
    QString reason;
    for (;;)
    {
        if (!input)
        {
            const int delay = StreamReconnectDelaySeconds(attempt);
            const QString why = reason.endsWith(QChar('.')) ? reason : reason + QChar('.');
            emit StatusChanged(NoticeReconnecting,
                               (attempt == 0
                                    ? QStringLiteral("Lost the connection to %1: %2 Reconnecting in %3 s.")
                                    : QStringLiteral("Could not reconnect to %1: %2 Trying again in %3 s."))
                                   .arg(name, why)
                                   .arg(delay));
            ++attempt;
            if (!WaitFor(delay * timing_.ReconnectSecond))
                return;
            StreamOpenFailure failure = StreamOpenFailure::Unreachable;
            input = StreamInput::Open(settings, stop_, &reason, &failure);
            if (stop_.load())
                return;
            if (!input)
            {
                if (failure == StreamOpenFailure::NoDecoder)
                {
                    emit ErrorOccurred(FailureDecoder, reason);
                    return;
                }
                continue;
            }
            SetInfo(input->Info());
            emit StatusChanged(NoticeReconnected, QStringLiteral("Connected to %1 again.").arg(name));
        }

        reason.clear();
        switch (Play(*input, scaler, name, &reason, &attempt))
        {
        case PlayEnd::Stopped:
            return;
        case PlayEnd::Unusable:
            emit ErrorOccurred(FailurePicture, reason);
            return;
        case PlayEnd::Ended:
            if (!input->IsNetwork())
            {
                const QString why = reason.isEmpty() ? QString() : QStringLiteral(" (") + reason + QChar(')');
                emit StatusChanged(NoticeEndOfFile, QStringLiteral("End of file: %1%2.").arg(name, why));
                return;
            }
            if (reason.isEmpty())
                reason = QStringLiteral("the stream ended");
            break;
        case PlayEnd::Lost:
            break;
        }
        input.reset();
    }
}

StreamDriver::PlayEnd StreamDriver::Play(StreamInput& input, StreamScaler& scaler, const QString& name,
                                         QString* reason, int* attempt)
{
    using namespace std::chrono;
    StreamPacer pacer(input.Info().FramesPerSecond);
    for (;;)
    {
        switch (input.Next(reason))
        {
        case StreamInput::Result::Stopped:
            return PlayEnd::Stopped;
        case StreamInput::Result::End:
            return PlayEnd::Ended;
        case StreamInput::Result::Failed:
            return PlayEnd::Lost;
        case StreamInput::Result::Frame:
            break;
        }
        const AVFrame& picture = input.Frame();
        QSize chosen;
        {
            std::lock_guard lock(stateMutex_);
            chosen = chosenSize_;
        }
        DibFrame& back = frames_.Back();
        if (!scaler.Convert(picture, chosen, back, reason))
            return PlayEnd::Unusable;
        NoteSourceSize(QSize(picture.width, picture.height), name);
        if (!input.IsNetwork() && timing_.PaceFiles)
        {
            // A file is shown at the rate it was recorded, not as fast as it decodes.
            const auto now = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
            const std::int64_t wait = pacer.WaitBefore(input.FrameSeconds(), now);
            if (wait > 0 && !WaitFor(milliseconds(wait)))
                return PlayEnd::Stopped;
        }
        back.TimeCaptured = static_cast<std::uint32_t>(sinceOpen_.elapsed());
        frames_.Publish();
        emit FrameReady();
        *attempt = 0;
    }
}

void StreamDriver::NoteSourceSize(QSize size, const QString& name)
{
    {
        std::lock_guard lock(stateMutex_);
        if (info_.Size == size)
            return;
        info_.Size = size;
    }
    emit StatusChanged(NoticeSizeChanged, QStringLiteral("The video from %1 is now %2 x %3 pixels.")
                                              .arg(name)
                                              .arg(size.width())
                                              .arg(size.height()));
}

void StreamDriver::SetInfo(const StreamInfo& info)
{
    // The size is taken from the pictures themselves (NoteSourceSize), which announces a change.
    std::lock_guard lock(stateMutex_);
    info_.Codec = info.Codec;
    info_.FramesPerSecond = info.FramesPerSecond;
}

StreamInfo StreamDriver::Info() const
{
    std::lock_guard lock(stateMutex_);
    return info_;
}

QSize StreamDriver::ChosenSize() const
{
    std::lock_guard lock(stateMutex_);
    return chosenSize_;
}

std::unique_ptr<StreamInput> StreamDriver::OpenSource(const StreamSettings& source, QString* error)
{
    return StreamInput::Open(source, stop_, error);
}

bool StreamDriver::ApplySource(const StreamSettings& source, std::unique_ptr<StreamInput> opened,
                               QString* error)
{
    settings_.Location = source.Location;
    settings_.Transport = source.Transport;
    if (opened)
    {
        // Another source: its own size until a size is chosen for it.
        settings_.Size = QSize();
        Close();
        Start(std::move(opened));
    }
    return SaveSettings(error);
}

bool StreamDriver::ApplySize(QSize size, QString* error)
{
    settings_.Size = size;
    {
        std::lock_guard lock(stateMutex_);
        chosenSize_ = size;
    }
    return SaveSettings(error);
}

bool StreamDriver::SaveSettings(QString* error)
{
    QString saveError;
    if (SaveStreamSettings(config_, settings_, &saveError))
        return true;
    *error = QStringLiteral("Vantu uses the new settings now but could not save them for the next start: ") +
             saveError;
    return false;
}
