#pragma once

#include "capture/driver/CaptureDriver.h"
#include "capture/driver/LatestFrame.h"
#include "capture/stream/StreamSettings.h"
#include "capture/stream/module/StreamInput.h"

#include <QElapsedTimer>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

class CaptureConfig;
class StreamScaler;

// How a stream driver spends time: the pauses before reconnecting to a network source and the pace
// at which a file plays.
struct StreamDriverTiming
{
    // What the reconnection notices call a second: the pauses are 1, 2, 4 ... of them.
    std::chrono::milliseconds ReconnectSecond{1000};
    // A file plays at the rate it was recorded; otherwise as fast as it decodes.
    bool PaceFiles = true;
};

// The driver for network cameras (RTSP, HTTP and the other network sources FFmpeg reads) and local
// video files. Opening reads the location from the capture settings and opens the source and its
// decoder at once, so that the frame size is known; a thread of its own then decodes, converts and
// publishes the newest picture. A network source that drops is reconnected after a growing pause; a
// file plays once at its own rate and then stops delivering frames. Without a location it opens
// without pictures until its Source dialog sets one.
class StreamDriver final : public CaptureDriver
{
    Q_OBJECT

public:
    // The numbers of StatusChanged notices.
    enum Notice
    {
        NoticeReconnecting = 1,
        NoticeReconnected = 2,
        NoticeEndOfFile = 3,
        NoticeSizeChanged = 4,
    };
    // The numbers of ErrorOccurred failures.
    enum Failure
    {
        FailureDecoder = 1,
        FailurePicture = 2,
    };

    // config must outlive the driver.
    explicit StreamDriver(CaptureConfig& config, StreamDriverTiming timing = {});
    ~StreamDriver() override;

    bool Open() override;
    void Close() override;
    QSize FrameSize() const override;
    bool TakeFrame(DibFrame& front) override;

    // Why the last Open() failed, in plain words.
    QString LastError() const { return lastError_; }

    // The location, transport and size in use.
    StreamSettings Settings() const { return settings_; }
    // What the source offers, and the size chosen for its frames (empty for the source's own).
    StreamInfo Info() const;
    QSize ChosenSize() const;

    // Opens source as a candidate for ApplySource, so that a location can be tried before it is
    // taken. Null, with a plain description in error, when it cannot be used.
    std::unique_ptr<StreamInput> OpenSource(const StreamSettings& source, QString* error);
    // Takes the location and transport of source and keeps them for the next start. With opened (the
    // candidate OpenSource gave for it) the driver switches to that source at its own size. False,
    // with a plain description in error, when the settings could not be kept (they are used anyway).
    bool ApplySource(const StreamSettings& source, std::unique_ptr<StreamInput> opened, QString* error);
    // Scales the frames to size from now on (an empty size: the source's own) and keeps it for the
    // next start; false as ApplySource.
    bool ApplySize(QSize size, QString* error);

private:
    enum class PlayEnd
    {
        Stopped,  // Close() was called
        Ended,    // the source has no more frames
        Lost,     // a network source failed
        Unusable, // a picture cannot be shown: the source cannot go on
    };

    void Start(std::unique_ptr<StreamInput> input);
    void Run(std::unique_ptr<StreamInput> input, StreamSettings settings);
    PlayEnd Play(StreamInput& input, StreamScaler& scaler, const QString& name, QString* reason,
                 int* attempt);
    void NoteSourceSize(QSize size, const QString& name);
    // Takes the codec and rate of a reconnected source.
    void SetInfo(const StreamInfo& info);
    // Waits for the time given; false when Close() interrupted the wait.
    bool WaitFor(std::chrono::milliseconds time);
    bool SaveSettings(QString* error);

    CaptureConfig& config_;
    const StreamDriverTiming timing_;
    StreamSettings settings_;
    QString lastError_;

    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::mutex waitMutex_;
    std::condition_variable wake_;
    LatestFrame frames_;
    QElapsedTimer sinceOpen_;

    // Shared by the decoding thread and the user-interface thread.
    mutable std::mutex stateMutex_;
    bool open_ = false;
    StreamInfo info_;
    QSize chosenSize_;
};
