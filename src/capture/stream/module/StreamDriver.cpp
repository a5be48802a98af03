#include "capture/stream/module/StreamDriver.h"

#include "capture/driver/CaptureConfig.h"
#include "capture/stream/StreamLocation.h"
#include "capture/stream/StreamTiming.h"
#include "capture/stream/module/StreamInput.h"
#include "capture/stream/module/StreamScaler.h"

#include <QtDebug>

extern "C"
{
#include <libavutil/frame.h>
}

namespace
{
// The work of one decoding thread: open the source (again and again for a network camera that cannot
// be reached), play it, and tell the driver what happens through the session.
class Playback
{
public:
    Playback(std::shared_ptr<StreamSession> session, StreamSettings settings, StreamDriverTiming timing,
             StreamResolver resolver)
        : session_(std::move(session)), settings_(std::move(settings)), timing_(timing),
          resolver_(std::move(resolver)), name_(StreamSourceShortName(settings_.Location)),
          network_(IsNetworkStreamLocation(settings_.Location))
    {
    }

    void Run()
    {
        RunUntilStopped();
        session_->MarkFinished();
    }

private:
    enum class PlayEnd
    {
        Stopped,  // the driver closed
        Ended,    // the source has no more frames
        Lost,     // a network source failed
        Unusable, // a picture cannot be shown: the source cannot go on
    };

    void RunUntilStopped();
    std::unique_ptr<StreamInput> OpenInput(bool* retry);
    PlayEnd Play(StreamInput& input);
    void NoteSourceSize(QSize size);
    void TellState(SourceStatus status, const QString& reason = {}, int nextTry = 0);

    template <typename Tell> void TellDriver(Tell tell) { session_->TellDriver(tell); }

    std::shared_ptr<StreamSession> session_;
    const StreamSettings settings_;
    const StreamDriverTiming timing_;
    const StreamResolver resolver_;
    const QString name_;
    const bool network_;
    StreamScaler scaler_;
    // Failed attempts in a row (the pauses grow with it); 0 while pictures arrive.
    int failures_ = 0;
    bool connected_ = false;
    QString reason_;
};

void Playback::RunUntilStopped()
{
    std::unique_ptr<StreamInput> input;
    for (;;)
    {
        if (!input)
        {
            if (failures_ > 0)
            {
                const int delay = StreamReconnectDelaySeconds(failures_ - 1);
                const QString why = reason_.endsWith(QChar('.')) ? reason_ : reason_ + QChar('.');
                const QString notice =
                    !connected_      ? QStringLiteral("Could not connect to %1: %2 Trying again in %3 s.")
                    : failures_ == 1 ? QStringLiteral("Lost the connection to %1: %2 Reconnecting in %3 s.")
                                     : QStringLiteral("Could not reconnect to %1: %2 Trying again in %3 s.");
                TellDriver(
                    [&](StreamDriver& driver) {
                        emit driver.StatusChanged(StreamDriver::NoticeReconnecting,
                                                  notice.arg(name_, why).arg(delay));
                    });
                TellState(SourceStatus::Lost, reason_, delay);
                if (!session_->WaitFor(delay * timing_.ReconnectSecond))
                    return;
            }
            TellState(SourceStatus::Connecting);
            bool retry = false;
            input = OpenInput(&retry);
            if (session_->Stop.load())
                return;
            if (!input)
            {
                if (!retry)
                {
                    TellState(SourceStatus::Lost, reason_);
                    return;
                }
                ++failures_;
                continue;
            }
            {
                std::lock_guard lock(session_->StateMutex);
                const QSize size = session_->Info.Size;
                session_->Info = input->Info();
                // A source opened again keeps the size of its last picture until a picture of
                // another size announces the change.
                if (connected_)
                    session_->Info.Size = size;
            }
            if (failures_ > 0 && connected_)
                TellDriver(
                    [&](StreamDriver& driver)
                    {
                        emit driver.StatusChanged(StreamDriver::NoticeReconnected,
                                                  QStringLiteral("Connected to %1 again.").arg(name_));
                    });
            connected_ = true;
            TellState(SourceStatus::Live);
        }

        reason_.clear();
        switch (Play(*input))
        {
        case PlayEnd::Stopped:
            return;
        case PlayEnd::Unusable:
            TellDriver([&](StreamDriver& driver)
                       { emit driver.ErrorOccurred(StreamDriver::FailurePicture, reason_); });
            return;
        case PlayEnd::Ended:
            if (!input->IsNetwork())
            {
                const QString why =
                    reason_.isEmpty() ? QString() : QStringLiteral(" (") + reason_ + QChar(')');
                TellDriver(
                    [&](StreamDriver& driver)
                    {
                        emit driver.StatusChanged(StreamDriver::NoticeEndOfFile,
                                                  QStringLiteral("End of file: %1%2.").arg(name_, why));
                    });
                TellState(SourceStatus::Ended, reason_);
                return;
            }
            if (reason_.isEmpty())
                reason_ = QStringLiteral("the stream ended");
            break;
        case PlayEnd::Lost:
            break;
        }
        ++failures_;
        input.reset();
    }
}

std::unique_ptr<StreamInput> Playback::OpenInput(bool* retry)
{
    // A network camera that cannot be reached now may be back later; a file or a video that cannot
    // be decoded stays so until the user chooses another.
    *retry = network_;
    const QString host = StreamLocationHost(settings_.Location);
    if (!host.isEmpty() && resolver_ && !resolver_(host, &reason_))
        return nullptr;
    StreamOpenFailure failure = StreamOpenFailure::Unreachable;
    std::unique_ptr<StreamInput> input = StreamInput::Open(settings_, session_->Stop, &reason_, &failure);
    if (failure == StreamOpenFailure::NoDecoder)
        *retry = false;
    return input;
}

Playback::PlayEnd Playback::Play(StreamInput& input)
{
    using namespace std::chrono;
    StreamPacer pacer(input.Info().FramesPerSecond);
    for (;;)
    {
        switch (input.Next(&reason_))
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
            std::lock_guard lock(session_->StateMutex);
            chosen = session_->ChosenSize;
        }
        DibFrame& back = session_->Frames.Back();
        if (!scaler_.Convert(picture, chosen, back, &reason_))
            return PlayEnd::Unusable;
        NoteSourceSize(QSize(picture.width, picture.height));
        if (!input.IsNetwork() && timing_.PaceFiles)
        {
            // A file is shown at the rate it was recorded, not as fast as it decodes.
            const auto now = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
            const std::int64_t wait = pacer.WaitBefore(input.FrameSeconds(), now);
            if (wait > 0 && !session_->WaitFor(milliseconds(wait)))
                return PlayEnd::Stopped;
        }
        if (!input.IsNetwork() && session_->HoldFrames.load() &&
            !session_->Frames.WaitUntilTaken(session_->Stop))
            return PlayEnd::Stopped;
        back.TimeCaptured = static_cast<std::uint32_t>(session_->SinceOpen.elapsed());
        session_->Frames.Publish();
        TellDriver([](StreamDriver& driver) { emit driver.FrameReady(); });
        failures_ = 0;
    }
}

void Playback::NoteSourceSize(QSize size)
{
    {
        std::lock_guard lock(session_->StateMutex);
        if (session_->Info.Size == size)
            return;
        session_->Info.Size = size;
    }
    const QString notice = QStringLiteral("The video from %1 is now %2 x %3 pixels.")
                               .arg(name_)
                               .arg(size.width())
                               .arg(size.height());
    TellDriver([&](StreamDriver& driver)
               { emit driver.StatusChanged(StreamDriver::NoticeSizeChanged, notice); });
}

void Playback::TellState(SourceStatus status, const QString& reason, int nextTry)
{
    const SourceState state{status, name_, reason, failures_, nextTry};
    TellDriver([&](StreamDriver& driver) { emit driver.SourceStateChanged(state); });
}
} // namespace

StreamDriver::StreamDriver(CaptureConfig& config, StreamDriverTiming timing, StreamResolver resolver)
    : config_(config), timing_(timing), resolver_(std::move(resolver)),
      session_(std::make_shared<StreamSession>(this))
{
    connect(this, &CaptureDriver::SourceStateChanged, this, &StreamDriver::FollowState);
}

StreamDriver::~StreamDriver()
{
    Close();
    session_->Release();
}

bool StreamDriver::Open()
{
    Close();
    settings_ = LoadStreamSettings(config_);
    remembered_ = LoadRememberedStreamSize(config_);
    Start();
    return true;
}

void StreamDriver::Start()
{
    open_ = true;
    if (settings_.Location.isEmpty())
    {
        // Nothing to show yet: connected without pictures, so that the Source dialog can set a location.
        emit SourceStateChanged({SourceStatus::Lost, StreamDriverName(settings_.Location),
                                 QStringLiteral("no network camera address or video file is set"), 0, 0});
        return;
    }
    {
        std::lock_guard lock(session_->StateMutex);
        session_->ChosenSize = settings_.Size;
    }
    session_->SinceOpen.start();
    emit SourceStateChanged({SourceStatus::Connecting, StreamSourceShortName(settings_.Location), {}, 0, 0});
    auto playback = std::make_shared<Playback>(session_, settings_, timing_, resolver_);
    thread_ = std::thread([playback] { playback->Run(); });
}

void StreamDriver::Close()
{
    session_->RequestStop();
    if (thread_.joinable())
    {
        if (session_->WaitFinished(CloseWait))
            thread_.join();
        else
        {
            // Stuck where stopping cannot reach (a name lookup): the thread ends on its own later and
            // holds all it uses.
            session_->Release();
            thread_.detach();
        }
    }
    session_->Release();
    session_ = std::make_shared<StreamSession>(this);
    session_->HoldFrames = hold_;
    open_ = false;
}

QSize StreamDriver::FrameSize() const
{
    if (!open_)
        return {};
    std::lock_guard lock(session_->StateMutex);
    if (!session_->ChosenSize.isEmpty())
        return session_->ChosenSize;
    if (!session_->Info.Size.isEmpty())
        return session_->Info.Size;
    return remembered_.isEmpty() ? DefaultSize : remembered_;
}

void StreamDriver::HoldFramesUntilTaken(bool on)
{
    hold_ = on;
    session_->HoldFrames = on;
}

bool StreamDriver::TakeFrame(DibFrame& front)
{
    return session_->Frames.Take(front);
}

StreamInfo StreamDriver::Info() const
{
    std::lock_guard lock(session_->StateMutex);
    return session_->Info;
}

QSize StreamDriver::ChosenSize() const
{
    std::lock_guard lock(session_->StateMutex);
    return session_->ChosenSize;
}

bool StreamDriver::ApplySource(const StreamSettings& source, QString* error)
{
    const bool changed = source.Location != settings_.Location || source.Transport != settings_.Transport;
    settings_.Location = source.Location;
    settings_.Transport = source.Transport;
    if (changed)
    {
        // Another source: its own size until a size is chosen for it.
        settings_.Size = QSize();
        remembered_ = QSize();
    }
    const bool saved = SaveSettings(error);
    // The same source again while it gives no picture: the user wants it tried now, not after the pause.
    if (changed || !open_ || status_ != SourceStatus::Live)
    {
        Close();
        Start();
    }
    return saved;
}

bool StreamDriver::ApplySize(QSize size, QString* error)
{
    settings_.Size = size;
    {
        std::lock_guard lock(session_->StateMutex);
        session_->ChosenSize = size;
    }
    return SaveSettings(error);
}

void StreamDriver::FollowState(const SourceState& state)
{
    status_ = state.Status;
    QSize size;
    {
        std::lock_guard lock(session_->StateMutex);
        size = session_->Info.Size;
    }
    if (state.Status != SourceStatus::Live || size.isEmpty() || size == remembered_)
        return;
    remembered_ = size;
    QString error;
    if (!config_.SetValue(QString::fromLatin1(StreamPictureKey), FormatStreamSize(size), &error))
        qWarning().noquote() << "Vantu could not remember the picture size of the video source:" << error;
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
