#include "monitor/MonitorSession.h"

#include "capture/driver/DibFrame.h"
#include "capture/stream/StreamModule.h"
#include "common/ByteSum.h"
#include "common/Options.h"
#include "common/SettingsRecord.h"
#include "monitor/DibPixels.h"
#include "notify/EmailDispatch.h"
#include "notify/NotifySound.h"
#include "store/DetectionStore.h"
#include "ui/DateText.h"
#include "ui/MousePointer.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

MonitorSession::MonitorSession(Ports ports, QObject* parent)
    : QObject(parent), ports_(std::move(ports)), boxes_(ports_.Messages, *this),
      pictures_({ports_.Settings, ports_.Options, boxes_, ports_.SaveFrame,
                 [this](const QString& path, const QString& text)
                 {
                     if (text.isEmpty())
                         NotifyEmail(path);
                     else
                         dispatch_->NotifyEvent(path, text);
                 },
                 [this](const QString& text) { emit NoticeRaised(text); }}),
      detection_(ports_.Settings, ports_.Options, MakeDetectionServices()),
      events_(ports_.Options.EventGapSeconds),
      rest_(ports_.Options, ports_.Clock, ports_.Pointer, ports_.WriteLog),
      clips_({ports_.Settings, ports_.Options, StreamModuleFile(),
              [this](QString* error) { return pictures_.RoomOnDisk(error); },
              [this](const QString& text) { emit NoticeRaised(text); }})
{
    // A tick grabs the frame waiting, then the timer rests until the capture window has the next one
    // (FrameWaiting): a source between frames, or one that stopped, then costs no wake-ups every 10 ms.
    grabTimer_.setObjectName(QStringLiteral("GrabTimer"));
    grabTimer_.setInterval(10);
    grabTimer_.setTimerType(Qt::PreciseTimer);
    connect(&grabTimer_, &QTimer::timeout, this, &MonitorSession::GrabTimer_Timer);
    internetTimer_.setObjectName(QStringLiteral("InternetTimer"));
    internetTimer_.setInterval(1000);
    connect(&internetTimer_, &QTimer::timeout, this, &MonitorSession::InternetTimer_Timer);
    eventTimer_.setObjectName(QStringLiteral("EventTimer"));
    eventTimer_.setSingleShot(true);
    connect(&eventTimer_, &QTimer::timeout, this, &MonitorSession::EventTimer_Timer);
    connect(&pictures_, &PictureKeeper::PictureDone, this, &MonitorSession::ReleaseEventStart);

    dispatch_ = new EmailDispatch({ports_.Settings, ports_.Connection, ports_.Mail, boxes_, ports_.Clock,
                                   ports_.Pointer, internetTimer_, ports_.WriteLog,
                                   [this] { SetPhase(MonitorPhase::Emailing); },
                                   [this]
                                   {
                                       if (phase_ == MonitorPhase::Emailing)
                                           SetPhase(MonitorPhase::Monitoring);
                                   }},
                                  this);
}

MonitorSession::~MonitorSession() = default;

DetectionServices MonitorSession::MakeDetectionServices()
{
    return {ports_.Clock,
            ports_.WriteLog,
            [this](std::int32_t storedFileCount) { return pictures_.NextPath(storedFileCount); },
            [this] { NotifySound(); },
            [this](const QString& imageFile) { MailPicture(imageFile); },
            [this](QString* error) { return CountStoredImages(error); },
            [this](const QString& path, QString* error) { return pictures_.Save(path, error); },
            [this](std::int32_t count) { emit DetectionCounted(count); },
            [this](const QString& text) { emit NoticeRaised(text); },
            [this](int count) { return pictures_.DeleteOldest(count); },
            [this](QString* error) { return pictures_.RoomOnDisk(error); }};
}

void MonitorSession::ModeChanged(Mode mode)
{
    const bool wasMonitoring = phase_ == MonitorPhase::Monitoring;
    mode_ = mode;
    grabTimer_.stop();
    rest_.Reset();
    // The phase follows the action text the mode's screen shows (Monitor keeps the one before), without
    // a report: the window shows the mode's screen itself.
    if (mode == ModeFineTune)
        phase_ = MonitorPhase::Tuning;
    else if (mode != ModeMonitor)
        phase_ = MonitorPhase::Idle;
    if (mode == ModeFineTune || mode == ModeMonitor)
    {
        // The hourglass stays until the detector has its baseline.
        ports_.Pointer.SetPointer(PointerShape::Hourglass);
        detector_.FrameCount = 0;
        pixels_.FrameCount = 0;
        LoadMask();
    }
    if (mode == ModeMonitor)
    {
        framesAnalysed_ = 0;
        droppedBeforeMonitor_ = ports_.DroppedFrames();
        ports_.WriteLog(QStringLiteral("Entered Monitor Mode: ") + NowText(ports_.Clock));
        if (!stopped_)
            grabTimer_.start();
    }
    if (mode != ModeMonitor)
    {
        clips_.Stop();
        eventTimer_.stop();
        FinishEvent(events_.End());
    }
    if (mode == ModePreview && wasMonitoring)
        ports_.WriteLog(QStringLiteral("Exited Monitor Mode: ") + NowText(ports_.Clock));
}

void MonitorSession::Stop()
{
    stopped_ = true;
    clips_.Stop();
    grabTimer_.stop();
    internetTimer_.stop();
    eventTimer_.stop();
}

void MonitorSession::SetPhase(MonitorPhase phase)
{
    phase_ = phase;
    emit PhaseChanged(phase);
}

void MonitorSession::FrameCallback(const DibFrame& frame)
{
    if (stopped_ || (mode_ != ModeFineTune && mode_ != ModeMonitor))
        return;
    // Resting, nothing is compared; watching again starts with a new baseline.
    if (mode_ == ModeMonitor && rest_.Rests())
    {
        detector_.FrameCount = 0;
        pixels_.FrameCount = 0;
        return;
    }
    if (mode_ == ModeMonitor)
        ++framesAnalysed_;
    if (ports_.Options.MaskPath != maskPath_)
        LoadMask();
    if (ports_.Options.Method != method_)
    {
        // Another method starts with a baseline of its own.
        method_ = ports_.Options.Method;
        detector_.FrameCount = 0;
        pixels_.FrameCount = 0;
    }
    const PictureKeeper::FrameInHand inHand(pictures_, frame);
    if (mode_ == ModeMonitor)
        clips_.Frame(frame);
    const DetectorStep step =
        method_ == DetectMethod::Pixels
            ? StepPixelDetector(pixels_, PixelsOf(frame), ports_.Settings.Sensitivity, mask_)
            : StepDetector(detector_, static_cast<std::int64_t>(WatchedByteSum(frame)),
                           ports_.Settings.Sensitivity);
    if (step.Restarted)
        SetPhase(MonitorPhase::Initializing);
    if (step.BaselineComplete)
    {
        SetPhase(mode_ == ModeMonitor ? MonitorPhase::Monitoring : MonitorPhase::Tuning);
        ports_.Pointer.SetPointer(PointerShape::Default);
    }
    if (step.Compared)
        emit ChangeMeasured(step.Change, step.Detected);
    if (step.Detected)
        Detection();
}

std::uint64_t MonitorSession::WatchedByteSum(const DibFrame& frame)
{
    // The sum its source worked out while writing the rows, else the bytes summed here.
    if (mask_.IsEmpty())
        return frame.KnownByteSum ? *frame.KnownByteSum : ByteSum(frame.Bits.data(), frame.BytesUsed());
    if (spans_.Width != frame.Width || spans_.Height != frame.Height || spans_.MaskVersion != mask_.Version())
        spans_ = SpansForMask(mask_, frame.Width, frame.Height);
    return MaskedByteSum(PixelsOf(frame), spans_);
}

void MonitorSession::LoadMask()
{
    maskPath_ = ports_.Options.MaskPath;
    mask_.Clear();
    if (maskPath_.isEmpty())
        return;
    QString error;
    if (mask_.Load(maskPath_, &error))
    {
        toldMask_.clear();
        return;
    }
    if (toldMask_ == maskPath_)
        return;
    toldMask_ = maskPath_;
    emit NoticeRaised(QStringLiteral("The mask %1 could not be read (%2). The whole picture is watched.")
                          .arg(QDir::toNativeSeparators(maskPath_), error));
}

void MonitorSession::FrameWaiting()
{
    if (mode_ == ModeMonitor && !stopped_ && !grabTimer_.isActive())
        grabTimer_.start();
}

void MonitorSession::GrabTimer_Timer()
{
    // The timer rests before the grab, so that a frame arriving while the detection is handled starts
    // it again.
    grabTimer_.stop();
    ports_.GrabFrame();
}

void MonitorSession::InternetTimer_Timer()
{
    dispatch_->InternetTimer_Timer();
}

void MonitorSession::Detection()
{
    if (mode_ != ModeMonitor)
    {
        detection_.Handle(false);
        return;
    }
    events_.SetGapSeconds(ports_.Options.EventGapSeconds);
    const EventTracker::Step step = events_.Detected(ports_.Clock.Now());
    FinishEvent(step.Ended);
    clips_.Detected(ports_.Clock.Now());
    const DetectionResult result = detection_.Handle(true, events_.Current()->FirstPicture.has_value());
    if (result.ImageFile)
        events_.PictureSaved(*result.ImageFile);
    if (step.Started && result.ImageFile && pictures_.Pending(*result.ImageFile))
        startHeld_ = *events_.Current();
    else if (step.Started)
        emit EventStarted(*events_.Current());
    else if (!startHeld_)
        emit EventGrew(*events_.Current());
    eventTimer_.start(events_.GapSeconds() * 1000);
}

void MonitorSession::EventTimer_Timer()
{
    FinishEvent(events_.EndIfQuiet(ports_.Clock.Now()));
    // A clock that has not yet reached the gap (it was set back) checks again later.
    if (events_.Current())
        eventTimer_.start(events_.GapSeconds() * 1000);
}

void MonitorSession::ReleaseEventStart(const QString& path, bool written)
{
    if (!startHeld_ || startHeld_->FirstPicture != path)
        return;
    DetectionEvent event = events_.Current() && events_.Current()->Number == startHeld_->Number
                               ? *events_.Current()
                               : *startHeld_;
    if (!written)
        event.FirstPicture.reset();
    startHeld_.reset();
    emit EventStarted(event);
}

void MonitorSession::FinishEvent(const std::optional<DetectionEvent>& event)
{
    if (!event)
        return;
    // An event that ends before its picture is written is announced without waiting any longer.
    if (startHeld_)
        ReleaseEventStart(*startHeld_->FirstPicture, QFileInfo::exists(*startHeld_->FirstPicture));
    if (ports_.Options.LogEvents)
        ports_.WriteLog(EventLogLine(*event));
    emit EventEnded(*event);
}

void MonitorSession::NotifySound()
{
    PlayNotifySound(ports_.Settings.NotifyFile, ports_.Sound);
}

void MonitorSession::MailPicture(const QString& imageFile)
{
    if (ports_.Options.Mail == EventMail::PerDetection || mode_ != ModeMonitor || !events_.Current())
    {
        pictures_.MailWhenWritten(imageFile, {});
        return;
    }
    const DetectionEvent& event = *events_.Current();
    if (event.Number == mailedEvent_)
        return;
    mailedEvent_ = event.Number;
    pictures_.MailWhenWritten(imageFile, EventMailText(event));
}

void MonitorSession::NotifyEmail(const QString& ImageFile)
{
    dispatch_->NotifyEmail(ImageFile);
}

std::optional<std::int32_t> MonitorSession::CountStoredImages(QString* error)
{
    const QString folder = ports_.Settings.ImageDirectory;
    QString reason;
    std::int32_t count = MakeFolder(folder, &reason) ? storedImages_.Count(folder, &reason) : -1;
    if (count < 0)
    {
        PauseSaving(folder, reason);
        if (error != nullptr)
            *error = reason;
        return std::nullopt;
    }
    if (pausedFolder_)
    {
        pausedFolder_.reset();
        emit NoticeRaised(
            QStringLiteral("Pictures are saved again in %1.").arg(QDir::toNativeSeparators(folder)));
    }
    // Pictures still being written count: their names are taken, and the limit holds them.
    count += pictures_.PendingCount();
    storedFileCount_ = count;
    return count;
}

void MonitorSession::PauseSaving(const QString& folder, const QString& reason)
{
    // Told once for each folder that fails, not at every detection.
    if (pausedFolder_ == folder)
        return;
    pausedFolder_ = folder;
    const QString shown = QDir::toNativeSeparators(folder);
    boxes_.Show(QStringLiteral("Vantu cannot keep its pictures in the folder \"%1\": %2.\r\rPictures are not "
                               "saved until the folder can be used again; the folder is set on the Detection "
                               "tab of View, Preferences.")
                    .arg(shown, reason),
                MsgBoxStyle::Exclamation, {});
    emit NoticeRaised(
        QStringLiteral("Pictures are not saved: the folder %1 cannot be used (%2).").arg(shown, reason));
}

std::uint64_t MonitorSession::FramesDropped() const
{
    const std::uint64_t dropped = ports_.DroppedFrames();
    return dropped - std::min(dropped, droppedBeforeMonitor_);
}
