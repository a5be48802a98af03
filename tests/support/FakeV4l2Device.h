#pragma once

#include "capture/v4l2/V4l2Api.h"

#include <QString>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <linux/videodev2.h>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// One picture the fake camera hands out, or a failure it answers with once instead.
struct FakeV4l2Frame
{
    std::vector<std::uint8_t> Bytes;
    std::uint32_t Flags = 0;
    // When not 0, DQBUF (or read) fails once with this errno value instead of delivering.
    int Errno = 0;
};

struct FakeV4l2Format
{
    std::uint32_t FourCc = 0;
    std::string Description;
    bool Emulated = false;
    // Discrete entries, or a single stepwise or continuous one.
    std::vector<v4l2_frmsizeenum> Sizes;
};

struct FakeV4l2Control
{
    v4l2_queryctrl Query{};
    std::vector<v4l2_querymenu> Menu;
    std::int32_t Value = 0;
};

// What a fake camera answers, and what the driver did to it. Behaves like a camera behind libv4l2: a
// request for BGR24 is granted at the nearest size the camera offers.
struct FakeV4l2Camera
{
    std::string Card = "Fake Camera";
    std::string BusInfo = "usb-0000:00:14.0-1";
    std::uint32_t Version = (6u << 16) | (1u << 8) | 27u;
    std::uint32_t Capabilities =
        V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING | V4L2_CAP_READWRITE | V4L2_CAP_DEVICE_CAPS;
    std::uint32_t DeviceCaps = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING | V4L2_CAP_READWRITE;
    std::vector<FakeV4l2Format> Formats;
    // The intervals offered at every size: discrete entries or a single stepwise or continuous one.
    std::vector<v4l2_frmivalenum> Intervals;
    std::vector<std::string> Inputs;
    std::vector<FakeV4l2Control> Controls;
    // Runs after S_CTRL stored a value (a camera greying out the manual white balance, say).
    std::function<void(FakeV4l2Camera&, std::uint32_t id, std::int32_t value)> OnSetControl;
    bool HasRateSetting = true;
    // Whether a request for BGR24 is granted (a libv4l2 that cannot convert answers with the native format).
    bool ConvertsToBgr24 = true;
    int ExtraBytesPerLine = 0;
    // S_FMT for a picture this wide fails with EINVAL (a size the camera lists but will not deliver).
    std::uint32_t RefusedWidth = 0;
    // Buffers granted on REQBUFS; 0 grants as many as asked for.
    std::uint32_t BuffersGranted = 0;
    // Request -> errno: that ioctl fails every time.
    std::map<unsigned long, int> Failures;
    int OpenErrno = 0;
    int MmapErrno = 0;

    // State.
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    std::uint32_t BytesPerLine = 0;
    std::uint32_t PixelFormat = 0;
    v4l2_fract Interval{1, 30};
    int Input = 0;
    bool Streaming = false;
    bool Unplugged = false;
    // An unplugged camera that still lets waits time out quietly instead of signalling an error.
    bool SilentUnplug = false;
    std::deque<FakeV4l2Frame> Frames;
    std::vector<std::vector<std::uint8_t>> Buffers;
    std::vector<bool> Queued;

    // Bookkeeping for the tests.
    std::map<unsigned long, int> Calls;
    int OpenFds = 0;
    int MappedBuffers = 0;
};

// Where the tests put their one camera.
inline const std::string FakeCameraPath = "/dev/video0";

// A set of fake cameras by path, and the device table that reaches them. The table stays usable after
// the FakeV4l2 object is gone.
class FakeV4l2
{
public:
    FakeV4l2();

    // A camera offering YUYV at 320x240 and 640x480 and MJPEG at 1280x720, each at 30 and 15 frames
    // per second.
    FakeV4l2Camera& AddCamera(const std::string& path, const std::string& card = "Fake Camera");
    std::shared_ptr<const V4l2Api> Api() const;

    // Access to a camera. While a driver captures, use the calls below, which lock.
    FakeV4l2Camera& Camera(const std::string& path);
    void QueueFrame(const std::string& path, FakeV4l2Frame frame);
    void Unplug(const std::string& path, bool silently = false);
    int Calls(const std::string& path, unsigned long request);
    // From now on the ioctl fails with error every time.
    void FailIoctl(const std::string& path, unsigned long request, int error);
    // Whether the camera took every frame queued so far off its queue.
    bool FramesTaken(const std::string& path);

    struct State;

private:
    std::shared_ptr<State> state_;
};

// Picture rows in BGR24 from the top down, each pixel's bytes a function of its place and seed.
std::vector<std::uint8_t> Bgr24Pattern(int width, int height, int bytesPerLine, int seed);
std::uint8_t PatternByte(int x, int y, int channel, int seed);

// Processes events until condition holds or timeoutMs passed; whether it held.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);

// Helpers that describe a camera.
v4l2_frmsizeenum DiscreteSize(std::uint32_t width, std::uint32_t height);
v4l2_frmsizeenum StepwiseSize(std::uint32_t minWidth, std::uint32_t maxWidth, std::uint32_t stepWidth,
                              std::uint32_t minHeight, std::uint32_t maxHeight, std::uint32_t stepHeight);
v4l2_frmivalenum DiscreteInterval(std::uint32_t numerator, std::uint32_t denominator);
FakeV4l2Control IntegerControl(std::uint32_t id, const char* name, std::int32_t minimum, std::int32_t maximum,
                               std::int32_t step, std::int32_t value, std::int32_t defaultValue,
                               std::uint32_t flags = 0);
FakeV4l2Control TypedControl(std::uint32_t id, std::uint32_t type, const char* name, std::int32_t value,
                             std::int32_t defaultValue, std::uint32_t flags = 0);
FakeV4l2Control MenuControl(std::uint32_t id, const char* name, const std::vector<std::string>& entries,
                            std::int32_t value, std::int32_t defaultValue);
