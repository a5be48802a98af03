#include "support/FakeV4l2Device.h"

#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <poll.h>
#include <sys/mman.h>
#include <thread>

namespace
{
constexpr std::int64_t PageSize = 4096;

void CopyText(std::uint8_t* field, std::size_t size, const std::string& text)
{
    std::memset(field, 0, size);
    std::memcpy(field, text.data(), std::min(text.size(), size - 1));
}

// The nearest size the formats offer to the one asked for.
std::pair<std::uint32_t, std::uint32_t> NearestSize(const std::vector<const FakeV4l2Format*>& formats,
                                                    std::uint32_t width, std::uint32_t height)
{
    std::pair<std::uint32_t, std::uint32_t> best{0, 0};
    long long bestDistance = -1;
    for (const FakeV4l2Format* format : formats)
    {
        for (const v4l2_frmsizeenum& size : format->Sizes)
        {
            std::uint32_t w = size.discrete.width;
            std::uint32_t h = size.discrete.height;
            if (size.type != V4L2_FRMSIZE_TYPE_DISCRETE)
            {
                w = std::clamp(width, size.stepwise.min_width, size.stepwise.max_width);
                h = std::clamp(height, size.stepwise.min_height, size.stepwise.max_height);
            }
            const long long distance = std::llabs((long long)w - width) + std::llabs((long long)h - height);
            if (bestDistance < 0 || distance < bestDistance)
            {
                best = {w, h};
                bestDistance = distance;
            }
        }
    }
    return best;
}

bool FrameReady(const FakeV4l2Camera& camera)
{
    if (camera.Frames.empty())
        return false;
    if (!camera.Streaming)
        return true;
    return std::find(camera.Queued.begin(), camera.Queued.end(), true) != camera.Queued.end();
}
} // namespace

struct FakeV4l2::State
{
    std::mutex Mutex;
    std::condition_variable Changed;
    std::map<std::string, FakeV4l2Camera> Cameras;
    std::map<int, std::string> Fds;
    std::map<void*, std::string> Mapped;
    int NextFd = 100;

    FakeV4l2Camera* ByFd(int fd)
    {
        const auto found = Fds.find(fd);
        return found == Fds.end() ? nullptr : &Cameras.at(found->second);
    }

    int Ioctl(FakeV4l2Camera& camera, unsigned long request, void* argument);
    int SetFormat(FakeV4l2Camera& camera, v4l2_format& format, bool store);
    int Dequeue(FakeV4l2Camera& camera, v4l2_buffer& buffer);
};

int FakeV4l2::State::SetFormat(FakeV4l2Camera& camera, v4l2_format& format, bool store)
{
    auto& picture = format.fmt.pix;
    // The camera's own formats; libv4l2 converts to BGR24 from whichever offers the nearest size.
    std::vector<const FakeV4l2Format*> sources;
    for (const FakeV4l2Format& native : camera.Formats)
    {
        if (!native.Emulated && native.FourCc == picture.pixelformat)
            sources = {&native};
    }
    if (sources.empty())
    {
        if (!(picture.pixelformat == V4L2_PIX_FMT_BGR24 && camera.ConvertsToBgr24))
            picture.pixelformat = camera.Formats.empty() ? 0 : camera.Formats.front().FourCc;
        for (const FakeV4l2Format& native : camera.Formats)
        {
            if (!native.Emulated)
                sources.push_back(&native);
        }
    }
    if (sources.empty())
        return EINVAL;
    const auto [width, height] = NearestSize(sources, picture.width, picture.height);
    picture.width = width;
    picture.height = height;
    picture.field = V4L2_FIELD_NONE;
    picture.bytesperline = width * 3 + static_cast<std::uint32_t>(camera.ExtraBytesPerLine);
    picture.sizeimage = picture.bytesperline * height;
    if (store)
    {
        camera.Width = width;
        camera.Height = height;
        camera.BytesPerLine = picture.bytesperline;
        camera.PixelFormat = picture.pixelformat;
    }
    return 0;
}

int FakeV4l2::State::Dequeue(FakeV4l2Camera& camera, v4l2_buffer& buffer)
{
    if (!camera.Streaming)
        return EINVAL;
    if (!FrameReady(camera))
        return EAGAIN;
    FakeV4l2Frame frame = std::move(camera.Frames.front());
    camera.Frames.pop_front();
    if (frame.Errno != 0)
        return frame.Errno;
    const auto queued = std::find(camera.Queued.begin(), camera.Queued.end(), true);
    const auto index = static_cast<std::uint32_t>(queued - camera.Queued.begin());
    *queued = false;
    std::vector<std::uint8_t>& memory = camera.Buffers[index];
    const std::size_t used = std::min(frame.Bytes.size(), memory.size());
    std::copy_n(frame.Bytes.begin(), used, memory.begin());
    buffer.index = index;
    buffer.bytesused = static_cast<std::uint32_t>(used);
    buffer.flags = frame.Flags;
    buffer.length = static_cast<std::uint32_t>(memory.size());
    return 0;
}

int FakeV4l2::State::Ioctl(FakeV4l2Camera& camera, unsigned long request, void* argument)
{
    ++camera.Calls[request];
    if (camera.Unplugged)
        return ENODEV;
    if (const auto failure = camera.Failures.find(request); failure != camera.Failures.end())
        return failure->second;

    switch (request)
    {
    case VIDIOC_QUERYCAP:
    {
        auto& caps = *static_cast<v4l2_capability*>(argument);
        caps = {};
        CopyText(caps.driver, sizeof caps.driver, "fake");
        CopyText(caps.card, sizeof caps.card, camera.Card);
        CopyText(caps.bus_info, sizeof caps.bus_info, camera.BusInfo);
        caps.version = camera.Version;
        caps.capabilities = camera.Capabilities;
        caps.device_caps = camera.DeviceCaps;
        return 0;
    }
    case VIDIOC_ENUM_FMT:
    {
        auto& description = *static_cast<v4l2_fmtdesc*>(argument);
        if (description.index >= camera.Formats.size())
            return EINVAL;
        const FakeV4l2Format& format = camera.Formats[description.index];
        description.pixelformat = format.FourCc;
        description.flags = format.Emulated ? V4L2_FMT_FLAG_EMULATED : 0;
        CopyText(description.description, sizeof description.description, format.Description);
        return 0;
    }
    case VIDIOC_ENUM_FRAMESIZES:
    {
        auto& entry = *static_cast<v4l2_frmsizeenum*>(argument);
        for (const FakeV4l2Format& format : camera.Formats)
        {
            if (format.FourCc != entry.pixel_format || entry.index >= format.Sizes.size())
                continue;
            const std::uint32_t index = entry.index;
            entry = format.Sizes[index];
            entry.index = index;
            entry.pixel_format = format.FourCc;
            return 0;
        }
        return EINVAL;
    }
    case VIDIOC_ENUM_FRAMEINTERVALS:
    {
        auto& entry = *static_cast<v4l2_frmivalenum*>(argument);
        if (entry.index >= camera.Intervals.size())
            return EINVAL;
        const v4l2_frmivalenum asked = entry;
        entry = camera.Intervals[asked.index];
        entry.index = asked.index;
        entry.pixel_format = asked.pixel_format;
        entry.width = asked.width;
        entry.height = asked.height;
        return 0;
    }
    case VIDIOC_TRY_FMT:
        return SetFormat(camera, *static_cast<v4l2_format*>(argument), false);
    case VIDIOC_S_FMT:
        if (camera.RefusedWidth != 0 &&
            static_cast<v4l2_format*>(argument)->fmt.pix.width == camera.RefusedWidth)
            return EINVAL;
        return SetFormat(camera, *static_cast<v4l2_format*>(argument), true);
    case VIDIOC_G_PARM:
    case VIDIOC_S_PARM:
    {
        if (!camera.HasRateSetting)
            return ENOTTY;
        auto& parameters = *static_cast<v4l2_streamparm*>(argument);
        if (request == VIDIOC_S_PARM)
            camera.Interval = parameters.parm.capture.timeperframe;
        parameters.parm.capture.capability = V4L2_CAP_TIMEPERFRAME;
        parameters.parm.capture.timeperframe = camera.Interval;
        return 0;
    }
    case VIDIOC_ENUMINPUT:
    {
        auto& input = *static_cast<v4l2_input*>(argument);
        if (input.index >= camera.Inputs.size())
            return EINVAL;
        CopyText(input.name, sizeof input.name, camera.Inputs[input.index]);
        input.type = V4L2_INPUT_TYPE_CAMERA;
        return 0;
    }
    case VIDIOC_G_INPUT:
        *static_cast<int*>(argument) = camera.Input;
        return 0;
    case VIDIOC_S_INPUT:
    {
        const int index = *static_cast<int*>(argument);
        if (index < 0 || static_cast<std::size_t>(index) >= camera.Inputs.size())
            return EINVAL;
        camera.Input = index;
        return 0;
    }
    case VIDIOC_QUERYCTRL:
    {
        auto& query = *static_cast<v4l2_queryctrl*>(argument);
        const bool next = (query.id & V4L2_CTRL_FLAG_NEXT_CTRL) != 0;
        const std::uint32_t id = query.id & ~(V4L2_CTRL_FLAG_NEXT_CTRL | V4L2_CTRL_FLAG_NEXT_COMPOUND);
        const FakeV4l2Control* found = nullptr;
        for (const FakeV4l2Control& control : camera.Controls)
        {
            if (next ? control.Query.id > id && (found == nullptr || control.Query.id < found->Query.id)
                     : control.Query.id == id)
                found = &control;
        }
        if (found == nullptr)
            return EINVAL;
        query = found->Query;
        return 0;
    }
    case VIDIOC_QUERYMENU:
    {
        auto& item = *static_cast<v4l2_querymenu*>(argument);
        for (const FakeV4l2Control& control : camera.Controls)
        {
            if (control.Query.id != item.id)
                continue;
            for (const v4l2_querymenu& entry : control.Menu)
            {
                if (entry.index == item.index)
                {
                    item = entry;
                    return 0;
                }
            }
        }
        return EINVAL;
    }
    case VIDIOC_G_CTRL:
    case VIDIOC_S_CTRL:
    {
        auto& value = *static_cast<v4l2_control*>(argument);
        const auto control = std::find_if(camera.Controls.begin(), camera.Controls.end(),
                                          [&](const auto& c) { return c.Query.id == value.id; });
        if (control == camera.Controls.end())
            return EINVAL;
        if (request == VIDIOC_G_CTRL)
        {
            value.value = control->Value;
            return 0;
        }
        if (control->Query.flags & V4L2_CTRL_FLAG_READ_ONLY)
            return EACCES;
        if (value.value < control->Query.minimum || value.value > control->Query.maximum)
            return ERANGE;
        control->Value = value.value;
        if (camera.OnSetControl)
            camera.OnSetControl(camera, value.id, value.value);
        return 0;
    }
    case VIDIOC_REQBUFS:
    {
        auto& buffers = *static_cast<v4l2_requestbuffers*>(argument);
        if (camera.Streaming)
            return EBUSY;
        const std::uint32_t count =
            buffers.count == 0 ? 0 : (camera.BuffersGranted != 0 ? camera.BuffersGranted : buffers.count);
        camera.Buffers.assign(count, std::vector<std::uint8_t>(camera.BytesPerLine * camera.Height));
        camera.Queued.assign(count, false);
        buffers.count = count;
        return 0;
    }
    case VIDIOC_QUERYBUF:
    case VIDIOC_QBUF:
    {
        auto& buffer = *static_cast<v4l2_buffer*>(argument);
        if (buffer.index >= camera.Buffers.size())
            return EINVAL;
        buffer.length = static_cast<std::uint32_t>(camera.Buffers[buffer.index].size());
        buffer.m.offset = buffer.index * PageSize;
        if (request == VIDIOC_QBUF)
            camera.Queued[buffer.index] = true;
        return 0;
    }
    case VIDIOC_DQBUF:
        return Dequeue(camera, *static_cast<v4l2_buffer*>(argument));
    case VIDIOC_STREAMON:
        camera.Streaming = true;
        return 0;
    case VIDIOC_STREAMOFF:
        camera.Streaming = false;
        std::fill(camera.Queued.begin(), camera.Queued.end(), false);
        return 0;
    default:
        return ENOTTY;
    }
}

FakeV4l2::FakeV4l2() : state_(std::make_shared<State>()) {}

FakeV4l2Camera& FakeV4l2::AddCamera(const std::string& path, const std::string& card)
{
    FakeV4l2Camera& camera = state_->Cameras[path];
    camera.Card = card;
    camera.Formats = {
        {V4L2_PIX_FMT_YUYV, "YUYV 4:2:2", false, {DiscreteSize(320, 240), DiscreteSize(640, 480)}},
        {V4L2_PIX_FMT_MJPEG, "Motion-JPEG", false, {DiscreteSize(1280, 720)}},
        {V4L2_PIX_FMT_BGR24, "BGR24 (emulated)", true, {DiscreteSize(640, 480)}}};
    camera.Intervals = {DiscreteInterval(1, 30), DiscreteInterval(1, 15)};
    return camera;
}

std::shared_ptr<const V4l2Api> FakeV4l2::Api() const
{
    auto api = std::make_shared<V4l2Api>();
    const std::shared_ptr<State> state = state_;
    // Each call works out its answer under the lock and sets errno after it.
    const auto answer = [](int error, int result)
    {
        if (error != 0)
        {
            errno = error;
            return -1;
        }
        return result;
    };
    api->Open = [state, answer](const char* path, int)
    {
        int error = 0;
        int fd = -1;
        {
            std::lock_guard lock(state->Mutex);
            const auto camera = state->Cameras.find(path);
            if (camera == state->Cameras.end())
                error = ENOENT;
            else if (camera->second.OpenErrno != 0)
                error = camera->second.OpenErrno;
            else
            {
                fd = state->NextFd++;
                state->Fds[fd] = path;
                ++camera->second.OpenFds;
            }
        }
        return answer(error, fd);
    };
    api->Close = [state, answer](int fd)
    {
        int error = 0;
        {
            std::lock_guard lock(state->Mutex);
            FakeV4l2Camera* camera = state->ByFd(fd);
            if (camera == nullptr)
                error = EBADF;
            else
            {
                --camera->OpenFds;
                state->Fds.erase(fd);
            }
        }
        return answer(error, 0);
    };
    api->Ioctl = [state, answer](int fd, unsigned long request, void* argument)
    {
        int error = 0;
        {
            std::lock_guard lock(state->Mutex);
            FakeV4l2Camera* camera = state->ByFd(fd);
            error = camera == nullptr ? EBADF : state->Ioctl(*camera, request, argument);
        }
        state->Changed.notify_all();
        return answer(error, 0);
    };
    api->Mmap = [state](void*, std::size_t length, int, int, int fd, std::int64_t offset) -> void*
    {
        int error = 0;
        void* start = MAP_FAILED;
        {
            std::lock_guard lock(state->Mutex);
            FakeV4l2Camera* camera = state->ByFd(fd);
            const std::int64_t index = offset / PageSize;
            if (camera == nullptr)
                error = EBADF;
            else if (camera->MmapErrno != 0)
                error = camera->MmapErrno;
            else if (index < 0 || static_cast<std::size_t>(index) >= camera->Buffers.size() ||
                     length != camera->Buffers[index].size())
                error = EINVAL;
            else
            {
                start = camera->Buffers[index].data();
                ++camera->MappedBuffers;
                state->Mapped[start] = state->Fds.at(fd);
            }
        }
        if (error != 0)
            errno = error;
        return start;
    };
    api->Munmap = [state, answer](void* start, std::size_t)
    {
        int error = 0;
        {
            std::lock_guard lock(state->Mutex);
            const auto mapped = state->Mapped.find(start);
            if (mapped == state->Mapped.end())
                error = EINVAL;
            else
            {
                --state->Cameras.at(mapped->second).MappedBuffers;
                state->Mapped.erase(mapped);
            }
        }
        return answer(error, 0);
    };
    api->Read = [state](int fd, void* buffer, std::size_t size) -> std::ptrdiff_t
    {
        int error = 0;
        std::size_t count = 0;
        {
            std::lock_guard lock(state->Mutex);
            FakeV4l2Camera* camera = state->ByFd(fd);
            if (camera == nullptr)
                error = EBADF;
            else if (camera->Unplugged)
                error = ENODEV;
            else if (camera->Frames.empty())
                error = EAGAIN;
            else
            {
                FakeV4l2Frame frame = std::move(camera->Frames.front());
                camera->Frames.pop_front();
                error = frame.Errno;
                count = std::min(size, frame.Bytes.size());
                std::copy_n(frame.Bytes.begin(), count, static_cast<std::uint8_t*>(buffer));
            }
        }
        state->Changed.notify_all();
        if (error != 0)
        {
            errno = error;
            return -1;
        }
        return static_cast<std::ptrdiff_t>(count);
    };
    api->Poll = [state](int fd, short, int timeoutMs, short* revents)
    {
        std::unique_lock lock(state->Mutex);
        *revents = 0;
        FakeV4l2Camera* camera = state->ByFd(fd);
        if (camera == nullptr)
        {
            *revents = POLLNVAL;
            return 1;
        }
        const auto loud = [camera] { return camera->Unplugged && !camera->SilentUnplug; };
        state->Changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                [&] { return loud() || FrameReady(*camera); });
        if (loud())
            *revents = POLLERR | POLLHUP;
        else if (FrameReady(*camera))
            *revents = POLLIN;
        return *revents != 0 ? 1 : 0;
    };
    return api;
}

FakeV4l2Camera& FakeV4l2::Camera(const std::string& path)
{
    return state_->Cameras.at(path);
}

void FakeV4l2::QueueFrame(const std::string& path, FakeV4l2Frame frame)
{
    {
        std::lock_guard lock(state_->Mutex);
        state_->Cameras.at(path).Frames.push_back(std::move(frame));
    }
    state_->Changed.notify_all();
}

void FakeV4l2::Unplug(const std::string& path, bool silently)
{
    {
        std::lock_guard lock(state_->Mutex);
        FakeV4l2Camera& camera = state_->Cameras.at(path);
        camera.Unplugged = true;
        camera.SilentUnplug = silently;
    }
    state_->Changed.notify_all();
}

int FakeV4l2::Calls(const std::string& path, unsigned long request)
{
    std::lock_guard lock(state_->Mutex);
    return state_->Cameras.at(path).Calls[request];
}

void FakeV4l2::FailIoctl(const std::string& path, unsigned long request, int error)
{
    std::lock_guard lock(state_->Mutex);
    state_->Cameras.at(path).Failures[request] = error;
}

bool FakeV4l2::FramesTaken(const std::string& path)
{
    std::lock_guard lock(state_->Mutex);
    return state_->Cameras.at(path).Frames.empty();
}

std::uint8_t PatternByte(int x, int y, int channel, int seed)
{
    return static_cast<std::uint8_t>((x * 7 + y * 13 + channel * 5 + seed * 31) & 0xff);
}

std::vector<std::uint8_t> Bgr24Pattern(int width, int height, int bytesPerLine, int seed)
{
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(bytesPerLine) * height, 0xEE);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                bytes[static_cast<std::size_t>(y) * bytesPerLine + x * 3 + c] = PatternByte(x, y, c, seed);
    return bytes;
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition())
    {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        QCoreApplication::processEvents();
        std::this_thread::yield();
    }
    return true;
}

v4l2_frmsizeenum DiscreteSize(std::uint32_t width, std::uint32_t height)
{
    v4l2_frmsizeenum size{};
    size.type = V4L2_FRMSIZE_TYPE_DISCRETE;
    size.discrete = {width, height};
    return size;
}

v4l2_frmsizeenum StepwiseSize(std::uint32_t minWidth, std::uint32_t maxWidth, std::uint32_t stepWidth,
                              std::uint32_t minHeight, std::uint32_t maxHeight, std::uint32_t stepHeight)
{
    v4l2_frmsizeenum size{};
    size.type = stepWidth == 1 && stepHeight == 1 ? V4L2_FRMSIZE_TYPE_CONTINUOUS : V4L2_FRMSIZE_TYPE_STEPWISE;
    size.stepwise = {minWidth, maxWidth, stepWidth, minHeight, maxHeight, stepHeight};
    return size;
}

v4l2_frmivalenum DiscreteInterval(std::uint32_t numerator, std::uint32_t denominator)
{
    v4l2_frmivalenum interval{};
    interval.type = V4L2_FRMIVAL_TYPE_DISCRETE;
    interval.discrete = {numerator, denominator};
    return interval;
}

FakeV4l2Control IntegerControl(std::uint32_t id, const char* name, std::int32_t minimum, std::int32_t maximum,
                               std::int32_t step, std::int32_t value, std::int32_t defaultValue,
                               std::uint32_t flags)
{
    FakeV4l2Control control = TypedControl(id, V4L2_CTRL_TYPE_INTEGER, name, value, defaultValue, flags);
    control.Query.minimum = minimum;
    control.Query.maximum = maximum;
    control.Query.step = step;
    return control;
}

FakeV4l2Control TypedControl(std::uint32_t id, std::uint32_t type, const char* name, std::int32_t value,
                             std::int32_t defaultValue, std::uint32_t flags)
{
    FakeV4l2Control control;
    control.Query.id = id;
    control.Query.type = type;
    CopyText(control.Query.name, sizeof control.Query.name, name);
    control.Query.minimum = 0;
    control.Query.maximum = type == V4L2_CTRL_TYPE_BOOLEAN ? 1 : 0;
    control.Query.step = 1;
    control.Query.default_value = defaultValue;
    control.Query.flags = flags;
    control.Value = value;
    return control;
}

FakeV4l2Control MenuControl(std::uint32_t id, const char* name, const std::vector<std::string>& entries,
                            std::int32_t value, std::int32_t defaultValue)
{
    FakeV4l2Control control = TypedControl(id, V4L2_CTRL_TYPE_MENU, name, value, defaultValue);
    control.Query.maximum = static_cast<std::int32_t>(entries.size()) - 1;
    for (std::size_t i = 0; i < entries.size(); ++i)
    {
        v4l2_querymenu item{};
        item.id = id;
        item.index = static_cast<std::uint32_t>(i);
        CopyText(item.name, sizeof item.name, entries[i]);
        control.Menu.push_back(item);
    }
    return control;
}
