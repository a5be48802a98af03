// The capture thread of V4l2Driver: waits for pictures, hands each to the user-interface thread and
// reports a camera that stops.
#include "capture/v4l2/V4l2Driver.h"

#include "capture/v4l2/V4l2FrameCopy.h"

#include <algorithm>
#include <cerrno>
#include <linux/videodev2.h>
#include <poll.h>

void V4l2Driver::CaptureLoop()
{
    while (!stop_)
    {
        short revents = 0;
        const int ready = api_->Poll(fd_, POLLIN, PollTimeoutMs, &revents);
        int error = 0;
        if (ready < 0)
            error = errno == EINTR ? 0 : errno;
        else if (ready == 0)
            error = DeviceGone() ? ENODEV : 0;
        else
            error = streaming_ ? TakeStreamedFrame(revents) : TakeReadFrame(revents);
        if (error == ENODEV)
        {
            AwaitReplug();
            return;
        }
        if (error != 0)
        {
            ReportFailure(error, QStringLiteral("The camera \"%1\" stopped delivering pictures: %2")
                                     .arg(device_.Card, qt_error_string(error)));
            return;
        }
    }
}

namespace
{
// A wait that ended with an error condition and then no picture: the device has failed.
int NothingReady(short revents)
{
    return (revents & (POLLERR | POLLHUP | POLLNVAL)) ? EIO : 0;
}
} // namespace

int V4l2Driver::TakeStreamedFrame(short revents)
{
    v4l2_buffer buffer{};
    buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    buffer.memory = V4L2_MEMORY_MMAP;
    if (V4l2Ioctl(*api_, fd_, VIDIOC_DQBUF, &buffer) < 0)
        return errno == EAGAIN ? NothingReady(revents) : errno;
    if (buffer.index >= buffers_.size())
        return EIO;
    const MappedBuffer& mapped = buffers_[buffer.index];
    if (!(buffer.flags & V4L2_BUF_FLAG_ERROR))
        Deliver(static_cast<const std::uint8_t*>(mapped.Start),
                std::min<std::size_t>(buffer.bytesused, mapped.Length));
    return V4l2Ioctl(*api_, fd_, VIDIOC_QBUF, &buffer) < 0 ? errno : 0;
}

int V4l2Driver::TakeReadFrame(short revents)
{
    const std::ptrdiff_t count = api_->Read(fd_, readBuffer_.data(), readBuffer_.size());
    if (count < 0)
        return errno == EAGAIN || errno == EINTR ? NothingReady(revents) : errno;
    // The end of a camera's stream: it has gone away.
    if (count == 0)
        return EIO;
    Deliver(readBuffer_.data(), std::min(static_cast<std::size_t>(count), readBuffer_.size()));
    return 0;
}

bool V4l2Driver::DeviceGone() const
{
    v4l2_capability caps{};
    return V4l2Ioctl(*api_, fd_, VIDIOC_QUERYCAP, &caps) < 0 && errno == ENODEV;
}

void V4l2Driver::Deliver(const std::uint8_t* data, std::size_t size)
{
    DibFrame& frame = latest_.Back();
    // A cut-off picture is dropped; the next one follows.
    if (!CopyBgr24ToDib(data, size, width_, height_, bytesPerLine_, frame))
        return;
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started_);
    frame.TimeCaptured = static_cast<std::uint32_t>(elapsed.count());
    latest_.Publish();
    emit FrameReady();
}

void V4l2Driver::ReportFailure(int error, const QString& text)
{
    if (!failed_.exchange(true))
        emit ErrorOccurred(error, text);
}
