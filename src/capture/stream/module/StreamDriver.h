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
    explicit StreamDriver(CaptureConfig& config);
    ~StreamDriver() override;

    bool Open() override;
    void Close() override;
    QSize FrameSize() const override;
    bool TakeFrame(DibFrame& front) override;

    bool HasSourceDialog() const override { return true; }
    bool HasFormatDialog() const override { return true; }
    void ShowSourceDialog(QWidget* parent) override;
    void ShowFormatDialog(QWidget* parent) override;

    // Why the last Open() failed, in plain words.
    QString LastError() const { return lastError_; }

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
    void SaveSettings(QWidget* parent);

    CaptureConfig& config_;
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
