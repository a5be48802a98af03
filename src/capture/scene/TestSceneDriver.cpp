#include "capture/scene/TestSceneDriver.h"

#include "capture/driver/CaptureConfig.h"
#include "capture/scene/TestSceneFormatDialog.h"
#include "capture/scene/TestSceneRenderer.h"

#include <QMetaObject>
#include <QTime>
#include <algorithm>
#include <chrono>
#include <exception>

TestSceneDriver::TestSceneDriver(CaptureConfig& config) : config_(config) {}

TestSceneDriver::~TestSceneDriver()
{
    Close();
}

bool TestSceneDriver::Open()
{
    if (open_)
        return true;
    format_ = ParseTestSceneFormat(config_.Value(TestSceneFormatKey));
    return Start();
}

bool TestSceneDriver::Start()
{
    // Out of memory for the room's picture, or no thread to draw on: the scene cannot run.
    try
    {
        renderer_ = std::make_unique<TestSceneRenderer>(format_.Size, format_.FramesPerSecond);
        if (renderer_->IsValid())
        {
            latest_.Clear();
            stop_ = false;
            thread_ = std::thread(&TestSceneDriver::Run, this);
            open_ = true;
        }
    }
    catch (const std::exception&)
    {
        open_ = false;
    }
    if (!open_)
        renderer_.reset();
    return open_;
}

void TestSceneDriver::Close()
{
    if (thread_.joinable())
    {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    renderer_.reset();
    open_ = false;
}

QSize TestSceneDriver::FrameSize() const
{
    return open_ ? format_.Size : QSize();
}

bool TestSceneDriver::TakeFrame(DibFrame& front)
{
    return open_ && latest_.Take(front);
}

TestSceneFormat TestSceneDriver::Format() const
{
    return open_ ? format_ : ParseTestSceneFormat(config_.Value(TestSceneFormatKey));
}

bool TestSceneDriver::ApplyFormat(const TestSceneFormat& format, QString* error)
{
    if (ParseTestSceneFormat(TestSceneFormatText(format)) != format)
    {
        if (error != nullptr)
            *error = QStringLiteral("The test scene does not offer %1 x %2 pixels at %3 frames a second.")
                         .arg(format.Size.width())
                         .arg(format.Size.height())
                         .arg(format.FramesPerSecond);
        return false;
    }
    QString saveError;
    const bool saved = config_.SetValue(TestSceneFormatKey, TestSceneFormatText(format), &saveError);
    if (!saved && error != nullptr)
        *error = QStringLiteral("The new format is used now, but it could not be kept for the next start: %1")
                     .arg(saveError);
    if (open_ && format != format_)
    {
        Close();
        format_ = format;
        if (!Start())
        {
            // Told after the Format dialog's handler has returned, as the other drivers' failures
            // arrive from their threads.
            const QString text = QStringLiteral("The test scene could not start again at %1 x %2 pixels.")
                                     .arg(format.Size.width())
                                     .arg(format.Size.height());
            QMetaObject::invokeMethod(
                this, [this, text] { emit ErrorOccurred(ErrorRestartFailed, text); }, Qt::QueuedConnection);
        }
    }
    return saved;
}

void TestSceneDriver::Run()
{
    try
    {
        Produce();
    }
    catch (const std::exception& failure)
    {
        emit ErrorOccurred(ErrorRenderFailed,
                           QStringLiteral("The test scene stopped drawing its pictures: %1")
                               .arg(QString::fromLocal8Bit(failure.what())));
    }
}

// Draws frame after frame on a fixed schedule from the start. Each frame is numbered by its place in
// the schedule, so the scene keeps real time; a frame that took too long makes the thread skip the
// moments it missed instead of catching up with a burst of frames.
void TestSceneDriver::Produce()
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    const double rate = renderer_->FramesPerSecond();
    const auto due = [&](std::uint64_t frame)
    {
        return start + std::chrono::duration_cast<Clock::duration>(
                           std::chrono::duration<double>(static_cast<double>(frame) / rate));
    };

    std::uint64_t frame = 0;
    std::unique_lock lock(mutex_);
    while (!stop_)
    {
        lock.unlock();
        DibFrame& back = latest_.Back();
        renderer_->Render(frame, QTime::currentTime(), back);
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
        back.TimeCaptured = static_cast<std::uint32_t>(elapsed.count());
        latest_.Publish();
        emit FrameReady();

        const std::chrono::duration<double> sinceStart = Clock::now() - start;
        const auto current = static_cast<std::uint64_t>(sinceStart.count() * rate);
        frame = std::max(frame + 1, current + 1);
        lock.lock();
        wake_.wait_until(lock, due(frame), [this] { return stop_; });
    }
}

CaptureDriverEntry TestSceneDriverEntry(CaptureConfig& config)
{
    return {QStringLiteral("Test scene"),
            QStringLiteral("1.0"),
            [&config] { return std::make_unique<TestSceneDriver>(config); },
            {},
            DialogFor(&ShowTestSceneFormatDialog),
            QStringLiteral("scene")};
}
