#include "capture/v4l2/V4l2Driver.h"

#include "capture/driver/CaptureConfig.h"
#include "capture/v4l2/V4l2FormatQuery.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/mman.h>
#include <system_error>

namespace
{
QString FormatKey()
{
    return QStringLiteral("Format");
}
QString InputKey()
{
    return QStringLiteral("Input");
}

// Memory-mapped capture buffer number index, as the buffer requests name it.
v4l2_buffer MappedCaptureBuffer(std::uint32_t index)
{
    v4l2_buffer buffer{};
    buffer.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    buffer.memory = V4L2_MEMORY_MMAP;
    buffer.index = index;
    return buffer;
}
} // namespace

V4l2Driver::V4l2Driver(std::shared_ptr<const V4l2Api> api, V4l2DeviceInfo device, CaptureConfig& config)
    : api_(std::move(api)), device_(std::move(device)), config_(config), keyPrefix_(V4l2ConfigPrefix(device_))
{
    wantedFormat_ = ParseV4l2FormatChoice(config_.Value(keyPrefix_ + FormatKey()));
    bool ok = false;
    const int input = config_.Value(keyPrefix_ + InputKey()).toInt(&ok);
    wantedInput_ = ok && input >= 0 ? input : -1;
}

V4l2Driver::~V4l2Driver()
{
    Close();
}

bool V4l2Driver::Open()
{
    if (IsOpen())
        return true;
    openError_.clear();
    openErrno_ = 0;
    failed_ = false;
    if (OpenDevice() && SelectStoredInput() && SetFormat() && SetRate() && PrepareBuffers() && StartCapture())
        return true;
    Close();
    return false;
}

void V4l2Driver::Close()
{
    {
        std::lock_guard lock(waitMutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
    replugging_ = false;
    // After an unplug these calls fail: the device is gone and there is nothing left to give back.
    if (streamOn_)
    {
        int type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        V4l2Ioctl(*api_, fd_, VIDIOC_STREAMOFF, &type);
        streamOn_ = false;
    }
    for (const MappedBuffer& buffer : buffers_)
        api_->Munmap(buffer.Start, buffer.Length);
    if (fd_ >= 0 && streaming_)
    {
        v4l2_requestbuffers release{};
        release.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        release.memory = V4L2_MEMORY_MMAP;
        V4l2Ioctl(*api_, fd_, VIDIOC_REQBUFS, &release);
    }
    buffers_.clear();
    readBuffer_ = {};
    if (fd_ >= 0)
        api_->Close(fd_);
    fd_ = -1;
    width_ = 0;
    height_ = 0;
}

QSize V4l2Driver::FrameSize() const
{
    return IsOpen() ? QSize(width_, height_) : QSize();
}

bool V4l2Driver::TakeFrame(DibFrame& front)
{
    return latest_.Take(front);
}

bool V4l2Driver::StepFailed(const QString& what, int error)
{
    openErrno_ = error;
    openError_ =
        error != 0
            ? QStringLiteral("The camera \"%1\" %2: %3").arg(device_.Card, what, qt_error_string(error))
            : QStringLiteral("The camera \"%1\" %2.").arg(device_.Card, what);
    return false;
}

bool V4l2Driver::OpenDevice()
{
    fd_ = api_->Open(device_.Path.toLocal8Bit().constData(), O_RDWR | O_NONBLOCK);
    if (fd_ < 0)
    {
        const int error = errno;
        fd_ = -1;
        return StepFailed(QStringLiteral("could not be opened"), error);
    }
    const std::optional<V4l2DeviceInfo> info = QueryV4l2Device(*api_, fd_, device_.Path);
    if (!info)
        return StepFailed(QStringLiteral("does not answer"), errno);
    if (!(info->Capabilities & V4L2_CAP_VIDEO_CAPTURE))
        return StepFailed(QStringLiteral("cannot capture video"), 0);
    streaming_ = (info->Capabilities & V4L2_CAP_STREAMING) != 0;
    if (!streaming_ && !(info->Capabilities & V4L2_CAP_READWRITE))
        return StepFailed(QStringLiteral("offers no way to read its pictures"), 0);
    return true;
}

bool V4l2Driver::SelectStoredInput()
{
    inputs_ = QueryV4l2Inputs(*api_, fd_);
    currentInput_ = -1;
    if (inputs_.empty())
        return true;
    int index = 0;
    const bool known = V4l2Ioctl(*api_, fd_, VIDIOC_G_INPUT, &index) == 0 && index >= 0 &&
                       static_cast<std::size_t>(index) < inputs_.size();
    currentInput_ = known ? index : 0;
    const bool wanted = wantedInput_ >= 0 && static_cast<std::size_t>(wantedInput_) < inputs_.size();
    if (!wanted || (known && index == wantedInput_))
        return true;
    index = wantedInput_;
    if (V4l2Ioctl(*api_, fd_, VIDIOC_S_INPUT, &index) < 0)
    {
        const int error = errno;
        return StepFailed(
            QStringLiteral("could not switch to the input \"%1\"").arg(inputs_[wantedInput_].Name), error);
    }
    currentInput_ = wantedInput_;
    return true;
}

bool V4l2Driver::SetFormat()
{
    formats_ = QueryV4l2Formats(*api_, fd_);
    const std::optional<V4l2FormatChoice> choice = ChooseV4l2Format(formats_, wantedFormat_);
    if (!choice)
        return StepFailed(QStringLiteral("offers no picture format that Vantu can use"), 0);
    chosen_ = *choice;
    // Telling libv4l2 the rate first lets it convert from a camera format that can deliver that rate.
    RequestInterval();

    v4l2_format format{};
    format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    format.fmt.pix.width = static_cast<std::uint32_t>(chosen_.Width);
    format.fmt.pix.height = static_cast<std::uint32_t>(chosen_.Height);
    format.fmt.pix.pixelformat = V4L2_PIX_FMT_BGR24;
    format.fmt.pix.field = V4L2_FIELD_ANY;
    if (V4l2Ioctl(*api_, fd_, VIDIOC_S_FMT, &format) < 0)
    {
        const int error = errno;
        return StepFailed(QStringLiteral("refused the format %1").arg(V4l2FormatChoiceText(chosen_)), error);
    }
    const v4l2_pix_format& picture = format.fmt.pix;
    if (picture.pixelformat != V4L2_PIX_FMT_BGR24)
        return StepFailed(QStringLiteral("cannot deliver its pictures in a form that Vantu can show"), 0);
    if (picture.width == 0 || picture.height == 0 || picture.width > V4l2MaxDimension ||
        picture.height > V4l2MaxDimension)
        return StepFailed(QStringLiteral("reported a picture size that cannot be used"), 0);
    width_ = static_cast<int>(picture.width);
    height_ = static_cast<int>(picture.height);
    const std::uint32_t rowBytes = picture.width * 3;
    // A row length the device got wrong is replaced by the tight one rather than trusted.
    bytesPerLine_ = static_cast<int>(picture.bytesperline >= rowBytes && picture.bytesperline <= rowBytes * 4
                                         ? picture.bytesperline
                                         : rowBytes);
    imageSize_ = static_cast<std::size_t>(bytesPerLine_) * static_cast<std::size_t>(height_);
    return true;
}

int V4l2Driver::RequestInterval()
{
    v4l2_streamparm parameters{};
    parameters.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (V4l2Ioctl(*api_, fd_, VIDIOC_G_PARM, &parameters) < 0)
        return errno;
    if (!(parameters.parm.capture.capability & V4L2_CAP_TIMEPERFRAME))
        return 0;
    parameters.parm.capture.timeperframe = {chosen_.Interval.Numerator, chosen_.Interval.Denominator};
    return V4l2Ioctl(*api_, fd_, VIDIOC_S_PARM, &parameters) < 0 ? errno : 0;
}

bool V4l2Driver::SetRate()
{
    if (!chosen_.Interval.Valid())
        return true;
    const int error = RequestInterval();
    // A device without a rate setting (ENOTTY, EINVAL) keeps its own rate.
    if (error == 0 || error == ENOTTY || error == EINVAL)
        return true;
    return StepFailed(QStringLiteral("refused the frame rate"), error);
}

bool V4l2Driver::PrepareBuffers()
{
    if (!streaming_)
    {
        readBuffer_.assign(imageSize_, 0);
        return true;
    }
    const QString what = QStringLiteral("could not set up its picture buffers");
    v4l2_requestbuffers request{};
    request.count = BufferCount;
    request.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    request.memory = V4L2_MEMORY_MMAP;
    if (V4l2Ioctl(*api_, fd_, VIDIOC_REQBUFS, &request) < 0)
        return StepFailed(what, errno);
    // Fewer than two buffers cannot stream; far more than asked for is not a sane answer.
    if (request.count < 2 || request.count > 8 * BufferCount)
        return StepFailed(what, ENOMEM);
    for (std::uint32_t index = 0; index < request.count; ++index)
    {
        v4l2_buffer buffer = MappedCaptureBuffer(index);
        if (V4l2Ioctl(*api_, fd_, VIDIOC_QUERYBUF, &buffer) < 0)
            return StepFailed(what, errno);
        void* start =
            api_->Mmap(nullptr, buffer.length, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, buffer.m.offset);
        if (start == MAP_FAILED)
            return StepFailed(what, errno);
        buffers_.push_back({start, buffer.length});
    }
    for (std::uint32_t index = 0; index < request.count; ++index)
    {
        v4l2_buffer buffer = MappedCaptureBuffer(index);
        if (V4l2Ioctl(*api_, fd_, VIDIOC_QBUF, &buffer) < 0)
            return StepFailed(what, errno);
    }
    return true;
}

bool V4l2Driver::StartCapture()
{
    if (streaming_)
    {
        int type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        if (V4l2Ioctl(*api_, fd_, VIDIOC_STREAMON, &type) < 0)
            return StepFailed(QStringLiteral("could not start sending pictures"), errno);
        streamOn_ = true;
    }
    latest_.Clear();
    stop_ = false;
    started_ = std::chrono::steady_clock::now();
    try
    {
        thread_ = std::thread([this] { CaptureLoop(); });
    }
    catch (const std::system_error& failure)
    {
        return StepFailed(QStringLiteral("could not start its capture thread"), failure.code().value());
    }
    return true;
}

bool V4l2Driver::Restart(const std::optional<V4l2FormatChoice>& format, int input, QString* error)
{
    const std::optional<V4l2FormatChoice> previousFormat = wantedFormat_;
    const int previousInput = wantedInput_;
    wantedFormat_ = format;
    wantedInput_ = input;
    if (!IsOpen())
        return true;
    Close();
    if (Open())
        return true;
    *error = openError_;
    wantedFormat_ = previousFormat;
    wantedInput_ = previousInput;
    if (!Open())
    {
        // Queued, so that a receiver that ends the program does not pull the driver away under this call.
        QMetaObject::invokeMethod(
            this,
            [this, number = openErrno_ != 0 ? openErrno_ : EIO, text = openError_]
            { ReportFailure(number, text); },
            Qt::QueuedConnection);
    }
    return false;
}

bool V4l2Driver::Save(const QString& key, const QString& value, QString* error)
{
    QString saveError;
    if (config_.SetValue(keyPrefix_ + key, value, &saveError))
        return true;
    *error =
        QStringLiteral("The camera uses the new setting, but it could not be kept for the next start: %1")
            .arg(saveError);
    return false;
}

bool V4l2Driver::ApplyFormat(const V4l2FormatChoice& choice, QString* error)
{
    if (!(IsOpen() && choice == chosen_) && !Restart(choice, wantedInput_, error))
        return false;
    return Save(FormatKey(), V4l2FormatChoiceText(choice), error);
}

bool V4l2Driver::SelectInput(int index, QString* error)
{
    if (index < 0 || static_cast<std::size_t>(index) >= inputs_.size())
    {
        *error = QStringLiteral("The camera \"%1\" has no input number %2.").arg(device_.Card).arg(index + 1);
        return false;
    }
    if (!(IsOpen() && index == currentInput_) && !Restart(wantedFormat_, index, error))
        return false;
    return Save(InputKey(), QString::number(index), error);
}

std::vector<V4l2Control> V4l2Driver::Controls() const
{
    return IsOpen() ? QueryV4l2Controls(*api_, fd_) : std::vector<V4l2Control>{};
}

bool V4l2Driver::SetControl(std::uint32_t id, std::int32_t value, QString* error)
{
    const int failure = IsOpen() ? SetV4l2Control(*api_, fd_, id, value) : ENODEV;
    if (failure == 0)
        return true;
    *error = QStringLiteral("The camera \"%1\" did not take the setting: %2")
                 .arg(device_.Card, qt_error_string(failure));
    return false;
}
