#pragma once

#include "capture/driver/CaptureDriver.h"
#include "capture/driver/CaptureDriverList.h"
#include "capture/driver/LatestFrame.h"
#include "capture/scene/TestSceneFormat.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

class CaptureConfig;
class TestSceneRenderer;

// "Test scene": a built-in camera that shows a room with a clock in which a person walks in and out
// every few seconds, so that the program can be tried, and shows detections, without a camera. The
// frames are drawn on a thread of the driver's own at the chosen frame rate.
class TestSceneDriver final : public CaptureDriver
{
    Q_OBJECT

public:
    // Error numbers reported through ErrorOccurred.
    static constexpr int ErrorRenderFailed = 1;
    static constexpr int ErrorRestartFailed = 2;

    // config keeps the chosen format; it must outlive the driver.
    explicit TestSceneDriver(CaptureConfig& config);
    ~TestSceneDriver() override;

    // Starts drawing in the stored format (640x480 at 30 frames a second when none or an unknown
    // one is stored).
    bool Open() override;
    void Close() override;
    QSize FrameSize() const override;
    bool TakeFrame(DibFrame& front) override;

    // The format in use while open, otherwise the stored one.
    TestSceneFormat Format() const;
    // Switches to format (restarting the frames at once when the driver is open) and stores it for
    // the next start. False, with a plain description in error, when format is not one the scene
    // offers (nothing changes then) or when it could not be stored (it is used for this run anyway).
    bool ApplyFormat(const TestSceneFormat& format, QString* error);

private:
    bool Start();
    void Run();
    void Produce();

    CaptureConfig& config_;
    TestSceneFormat format_;
    bool open_ = false;

    // Used by the drawing thread only while it runs.
    std::unique_ptr<TestSceneRenderer> renderer_;
    LatestFrame latest_;

    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
};

// The installed-driver entry of the test scene, named "Test scene", version "1.0".
CaptureDriverEntry TestSceneDriverEntry(CaptureConfig& config);
