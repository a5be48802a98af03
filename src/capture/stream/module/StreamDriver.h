#pragma once

#include "capture/driver/CaptureDriver.h"
#include "capture/driver/LatestFrame.h"
#include "capture/stream/StreamSettings.h"
#include "capture/stream/module/StreamResolver.h"
#include "capture/stream/module/StreamSession.h"

#include <chrono>
#include <memory>
#include <thread>

class CaptureConfig;

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
// video files. Opening reads the location from the capture settings and hands the rest to a thread of
// its own, which looks up the camera's name, opens the source and its decoder, then decodes, converts
// and publishes the newest picture; the user-interface thread never waits for the source. The thread
// tells each change of state. A network source that cannot be reached, at the start or later, is tried
// again after a growing pause for as long as the driver is open; a file plays once at its own rate and
// then stops delivering frames. Without a location it opens without pictures until its Source dialog
// sets one.
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
        FailurePicture = 2,
    };

    // The longest time Close() waits for the decoding thread; a thread that takes longer is left to
    // finish on its own.
    static constexpr std::chrono::milliseconds CloseWait{30};
    // The picture size assumed before a source's first picture when none is remembered for it.
    static constexpr QSize DefaultSize = StreamDefaultSize;

    // config must outlive the driver.
    explicit StreamDriver(CaptureConfig& config, StreamDriverTiming timing = {},
                          StreamResolver resolver = &ResolveStreamHost);
    ~StreamDriver() override;

    bool Open() override;
    void Close() override;
    // Before the first picture of a source: the size remembered from its last run, or DefaultSize.
    QSize FrameSize() const override;
    bool TakeFrame(DibFrame& front) override;
    void HoldFramesUntilTaken(bool on) override;

    // The location, transport and size in use.
    StreamSettings Settings() const { return settings_; }
    // What the source offers, and the size chosen for its frames (empty for the source's own).
    StreamInfo Info() const;
    QSize ChosenSize() const;

    // Takes the location and transport of source, keeps them for the next start and opens that source
    // in place of the current one; the same source is opened again at once unless it is live. False,
    // with a plain description in error, when the settings could not be kept (they are used anyway).
    bool ApplySource(const StreamSettings& source, QString* error);
    // Scales the frames to size from now on (an empty size: the source's own) and keeps it for the
    // next start; false as ApplySource.
    bool ApplySize(QSize size, QString* error);

private:
    void Start();
    // Keeps the source's state, and its picture size for the next start once it is live.
    void FollowState(const SourceState& state);
    bool SaveSettings(QString* error);

    CaptureConfig& config_;
    const StreamDriverTiming timing_;
    const StreamResolver resolver_;
    StreamSettings settings_;
    bool open_ = false;
    bool hold_ = false;
    SourceStatus status_ = SourceStatus::Connecting;
    // The picture size of the source in its last run, from the capture settings.
    QSize remembered_;

    std::shared_ptr<StreamSession> session_;
    std::thread thread_;
};
