#pragma once

#include "capture/driver/CaptureDriver.h"
#include "capture/driver/LatestFrame.h"
#include "capture/v4l2/V4l2Api.h"
#include "capture/v4l2/V4l2Controls.h"
#include "capture/v4l2/V4l2Devices.h"
#include "capture/v4l2/V4l2Formats.h"
#include "capture/v4l2/V4l2Inputs.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class CaptureConfig;

// A V4L2 camera through libv4l2, which converts whatever the camera sends (YUYV, MJPEG, ...) into
// BGR24 pictures. Captures on a thread of its own. The chosen format and input are kept in the capture
// settings per camera and used at the next start. A camera that is unplugged is looked for again, by
// its bus and its name, among the video nodes of its folder, and opened again when it is back.
class V4l2Driver final : public CaptureDriver
{
public:
    // How long the capture thread waits for a picture before it looks at its stop flag again: a
    // close never waits longer.
    static constexpr int PollTimeoutMs = 40;
    static constexpr unsigned BufferCount = 4;
    // How often the nodes are looked through for an unplugged camera.
    static constexpr std::chrono::milliseconds ReplugScan{1000};

    // config must outlive the driver.
    V4l2Driver(std::shared_ptr<const V4l2Api> api, V4l2DeviceInfo device, CaptureConfig& config);
    ~V4l2Driver() override;

    bool Open() override;
    void Close() override;
    QSize FrameSize() const override;
    bool TakeFrame(DibFrame& front) override;

    const V4l2DeviceInfo& Device() const { return device_; }
    bool IsOpen() const { return fd_ >= 0; }
    // Why the last Open failed, in words; empty after one that succeeded.
    QString OpenError() const { return openError_; }

    // The camera's formats as found by the last Open, and the one in use.
    const std::vector<V4l2PixelFormat>& Formats() const { return formats_; }
    V4l2FormatChoice Format() const { return chosen_; }
    // Switches to another format, restarting the camera only when it differs from the one in use, and
    // keeps it for the next start. When the camera refuses it the previous format is restored. False
    // with a plain description in error when the format could not be used or not be saved.
    bool ApplyFormat(const V4l2FormatChoice& choice, QString* error);

    const std::vector<V4l2Input>& Inputs() const { return inputs_; }
    // The index of the input in use; -1 for a device without inputs.
    int CurrentInput() const { return currentInput_; }
    // Switches the input (restarting the camera) and keeps it for the next start; as ApplyFormat.
    bool SelectInput(int index, QString* error);

    // The device's controls with their values now; empty while closed.
    std::vector<V4l2Control> Controls() const;
    bool SetControl(std::uint32_t id, std::int32_t value, QString* error);

private:
    struct MappedBuffer
    {
        void* Start = nullptr;
        std::size_t Length = 0;
    };

    // The opening steps, in order. Each one that fails describes why in openError_ and returns false.
    bool OpenDevice();
    bool SelectStoredInput();
    bool SetFormat();
    bool SetRate();
    bool PrepareBuffers();
    bool StartCapture();
    bool StepFailed(const QString& what, int error);
    // S_PARM with the chosen interval. 0, or the errno value of the failure.
    int RequestInterval();
    // Closes and opens again with other wishes; when that fails, opens with the previous ones again.
    bool Restart(const std::optional<V4l2FormatChoice>& format, int input, QString* error);
    bool Save(const QString& key, const QString& value, QString* error);

    void CaptureLoop();
    // One picture from the device. 0, or the errno value of a failure that ends the capture.
    int TakeStreamedFrame(short revents);
    int TakeReadFrame(short revents);
    bool DeviceGone() const;
    void Deliver(const std::uint8_t* data, std::size_t size);
    // Reports a failure that stops the camera, once per start.
    void ReportFailure(int error, const QString& text);
    // Capture thread: the camera was unplugged; looks for it until it is back or the driver closes.
    void AwaitReplug();
    // User-interface thread: opens the camera found again at its (maybe new) node.
    void Reopen(const V4l2DeviceInfo& found);
    void TellState(SourceStatus status, const QString& reason = {});

    std::shared_ptr<const V4l2Api> api_;
    V4l2DeviceInfo device_;
    CaptureConfig& config_;
    QString keyPrefix_;

    // What the user asked for; the format may be adjusted to what the camera offers when it opens.
    std::optional<V4l2FormatChoice> wantedFormat_;
    int wantedInput_ = -1;

    int fd_ = -1;
    int openErrno_ = 0;
    QString openError_;
    bool streaming_ = false;
    bool streamOn_ = false;
    std::vector<V4l2Input> inputs_;
    int currentInput_ = -1;
    std::vector<V4l2PixelFormat> formats_;
    V4l2FormatChoice chosen_;
    int width_ = 0;
    int height_ = 0;
    int bytesPerLine_ = 0;
    std::size_t imageSize_ = 0;
    std::vector<MappedBuffer> buffers_;
    std::vector<std::uint8_t> readBuffer_;

    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> failed_{false};
    // Set by the capture thread while it looks for the unplugged camera; cleared by Close().
    std::atomic<bool> replugging_{false};
    std::mutex waitMutex_;
    std::condition_variable wake_;
    std::chrono::steady_clock::time_point started_;
    LatestFrame latest_;
};
