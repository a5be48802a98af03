#pragma once

#include "common/Options.h"
#include "detect/DetectionHandler.h"
#include "detect/DetectionMask.h"
#include "detect/FrameDetector.h"
#include "detect/PixelDetector.h"
#include "monitor/ClipRecording.h"
#include "monitor/EventTracker.h"
#include "monitor/Mode.h"
#include "monitor/MonitorPhase.h"
#include "monitor/MonitorRest.h"
#include "monitor/PictureKeeper.h"
#include "monitor/SessionBoxes.h"
#include "store/StoredImageTally.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <optional>

class EmailDispatch;
class IClock;
class IMousePointer;
class INetworkConnection;
class ISoundPlayer;
class MailComponent;
struct DibFrame;
struct SettingsRecord;

// The way from frame to detection, without widgets: the grab timer, the change detector, the
// detection's picture, log line, sound and e-mail, the count of stored images and the counts of
// frames analysed and dropped. The main window tells it the mode and shows what it reports.
class MonitorSession final : public QObject
{
    Q_OBJECT

public:
    struct Ports
    {
        const SettingsRecord& Settings;
        // The options beyond the classic behaviour; read as they are at each use.
        const ProgramOptions& Options;
        IClock& Clock;
        // Where the boxes of the monitoring path are shown, one at a time.
        IMessageBox& Messages;
        IMousePointer& Pointer;
        ISoundPlayer& Sound;
        MailComponent& Mail;
        INetworkConnection& Connection;
        // Appends one line to the log (the writer puts the ">" in front).
        std::function<void(const QString& text)> WriteLog;
        // Asks the capture window for the newest frame, which arrives in FrameCallback before it returns.
        std::function<void()> GrabFrame;
        // Saves the frame handed out last as a bitmap file; false, with the reason, when it could not.
        std::function<bool(const QString& path, QString* error)> SaveFrame;
        // Frames the source dropped since it was connected.
        std::function<std::uint64_t()> DroppedFrames;
    };

    explicit MonitorSession(Ports ports, QObject* parent = nullptr);
    ~MonitorSession() override;

    // The mode the main window entered: the detector starts a new baseline in Fine Tune and Monitor,
    // Monitor starts grabbing and is logged, and Preview after monitoring logs its end.
    void ModeChanged(Mode mode);
    // Stops grabbing and mailing for good: the program ends.
    void Stop();

    // Each frame the capture window hands out. Frames are analysed in Fine Tune and Monitor mode.
    void FrameCallback(const DibFrame& frame);
    // A frame waits to be grabbed: the grab timer runs again if a tick found none.
    void FrameWaiting();
    void GrabTimer_Timer();
    void InternetTimer_Timer();

    void Detection();
    // Ends the event going on when no detection came for the gap.
    void EventTimer_Timer();
    void NotifySound();
    void NotifyEmail(const QString& ImageFile);

    // Counts the images in the image folder, making the folder with its parents when it is missing.
    // A folder that cannot be made or read pauses saving: empty, with the reason, and the user is told
    // once, in a box and in the live view, until the folder works again. Pictures are never written
    // anywhere else.
    std::optional<std::int32_t> CountStoredImages(QString* error = nullptr);
    bool SavingPaused() const { return pausedFolder_.has_value(); }
    // Replaces the file system's free space, for tests.
    void UseFreeSpace(FreeSpaceQuery freeBytes) { pictures_.UseFreeSpace(std::move(freeBytes)); }

    // The boxes of the monitoring path; the log writer shows its boxes through them too.
    IMessageBox& Boxes() { return boxes_; }

    MonitorPhase Phase() const { return phase_; }
    const DetectorState& Detector() const { return detector_; }
    // The moving-pixels detector, whose changed cells can be shown over the picture.
    const PixelDetectorState& Pixels() const { return pixels_; }
    // The parts of the picture watched, read from the options' mask file when Fine Tune or Monitor
    // begins or the file named changes; painting it takes effect at the next frame.
    DetectionMask& Mask() { return mask_; }
    std::int32_t DetectionCount() const { return detection_.DetectionCount(); }
    std::int32_t StoredFileCount() const { return storedFileCount_; }
    // Frames analysed, and frames the source dropped, since Monitor mode began.
    std::uint64_t FramesAnalysed() const { return framesAnalysed_; }
    std::uint64_t FramesDropped() const;
    const EmailDispatch& Mail() const { return *dispatch_; }
    const QTimer& GrabTimer() const { return grabTimer_; }
    // The event going on in Monitor mode, if any.
    const std::optional<DetectionEvent>& CurrentEvent() const { return events_.Current(); }
    // Whether Monitor mode rests now (outside the schedule, or with alerts paused).
    MonitorRest& Rest() { return rest_; }

signals:
    void PhaseChanged(MonitorPhase phase);
    // A frame was compared with the one before: the change in sensitivity units, and whether it counted.
    void ChangeMeasured(double change, bool detected);
    // The number of detections counted in Monitor mode so far.
    void DetectionCounted(std::int32_t count);
    // Something the user should know that needs no answer.
    void NoticeRaised(const QString& text);
    // A detection in Monitor mode started an event, or added to the one going on (with its picture
    // saved, if any); an event ended when no detection came for the gap, or when monitoring ended. A
    // start whose picture is still being encoded is announced once the picture is in the folder, and
    // the event's detections until then are in that announcement.
    void EventStarted(const DetectionEvent& event);
    void EventGrew(const DetectionEvent& event);
    void EventEnded(const DetectionEvent& event);

private:
    DetectionServices MakeDetectionServices();
    void SetPhase(MonitorPhase phase);
    void PauseSaving(const QString& folder, const QString& reason);
    void FinishEvent(const std::optional<DetectionEvent>& event);
    // Announces the event whose start waited for its first picture, once that picture is written or
    // failed; the announcement carries the picture only when it is there to be read.
    void ReleaseEventStart(const QString& path, bool written);
    // Reads the mask the options name. One that cannot be read is told once and the whole picture is
    // watched.
    void LoadMask();
    // The byte sum of the frame's watched pixels.
    std::uint64_t WatchedByteSum(const DibFrame& frame);
    // Mails a detection's picture: each one, or the first of each event, as the options say.
    void MailPicture(const QString& imageFile);

    Ports ports_;
    SessionBoxes boxes_;
    QTimer grabTimer_;
    QTimer internetTimer_;
    QTimer eventTimer_;
    Mode mode_ = ModePreview;
    MonitorPhase phase_ = MonitorPhase::Idle;
    DetectorState detector_;
    PixelDetectorState pixels_;
    DetectMethod method_ = DetectMethod::Sum;
    DetectionMask mask_;
    QString maskPath_;
    // The mask file last told as unreadable.
    QString toldMask_;
    WatchedSpans spans_;
    PictureKeeper pictures_;
    DetectionHandler detection_;
    EventTracker events_;
    // An event's start waits to be announced while its first picture is being encoded, so that those
    // told of it can read the picture.
    std::optional<DetectionEvent> startHeld_;
    MonitorRest rest_;
    EmailDispatch* dispatch_ = nullptr;
    ClipRecording clips_;
    StoredImageTally storedImages_;
    std::int32_t storedFileCount_ = 0;
    // The image folder that could not be used, while saving pauses.
    std::optional<QString> pausedFolder_;
    // The last event whose mail went out.
    std::int32_t mailedEvent_ = 0;
    std::uint64_t framesAnalysed_ = 0;
    std::uint64_t droppedBeforeMonitor_ = 0;
    bool stopped_ = false;
};
