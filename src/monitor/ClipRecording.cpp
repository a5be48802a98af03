#include "monitor/ClipRecording.h"

#include "capture/driver/DibFrame.h"
#include "capture/stream/StreamModule.h"
#include "common/Options.h"
#include "common/SettingsRecord.h"

#include <QFileInfo>

namespace
{
// Frames on their way to the worker at most; a worker that falls behind loses frames, not memory.
constexpr int MaxInFlight = 3;
} // namespace

QString ClipName(const QDateTime& when)
{
    return QStringLiteral("Event_") + when.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")) +
           QStringLiteral(".mkv");
}

ClipRecording::ClipRecording(Ports ports, QObject* parent)
    : QObject(parent), ports_(std::move(ports)), worker_(std::make_unique<QObject>())
{
    worker_->moveToThread(&thread_);
    thread_.setObjectName(QStringLiteral("ClipRecording"));
    thread_.start();
}

ClipRecording::~ClipRecording()
{
    Stop();
    // The worker ends after what it was handed before this: the clip is finished and closed.
    QMetaObject::invokeMethod(
        worker_.get(),
        [this]
        {
            recorder_.reset();
            QThread::currentThread()->quit();
        },
        Qt::QueuedConnection);
    thread_.wait();
}

void ClipRecording::Frame(const DibFrame& frame)
{
    if (!ports_.Options.Clips)
    {
        Stop();
        return;
    }
    if (frame.Empty() || frame.Bits.size() < frame.BytesUsed())
        return;
    running_ = true;
    lastFrameMs_ = frame.TimeCaptured;
    if (unavailable_.load() || inFlight_.load() >= MaxInFlight)
        return;
    ++inFlight_;
    std::vector<std::uint8_t> bits(frame.Bits.begin(),
                                   frame.Bits.begin() + static_cast<std::ptrdiff_t>(frame.BytesUsed()));
    QMetaObject::invokeMethod(
        worker_.get(),
        [this, bits = std::move(bits), width = frame.Width, height = frame.Height, ms = lastFrameMs_,
         preMs = std::int64_t{ports_.Options.PreSeconds} * 1000]
        {
            --inFlight_;
            TakeFrame(bits, width, height, ms, preMs);
        },
        Qt::QueuedConnection);
}

void ClipRecording::Detected(const QDateTime& when)
{
    if (!ports_.Options.Clips || !running_)
        return;
    QString error;
    if (!ports_.RoomOnDisk(&error))
        return;
    QString folder = ports_.Settings.ImageDirectory;
    QString path = folder + ClipName(when);
    for (int copy = 2; QFileInfo::exists(path); ++copy)
        path = folder + ClipName(when).replace(QStringLiteral(".mkv"), QStringLiteral("_%1.mkv").arg(copy));
    QMetaObject::invokeMethod(
        worker_.get(),
        [this, path, ms = lastFrameMs_, preMs = std::int64_t{ports_.Options.PreSeconds} * 1000,
         postMs = std::int64_t{ports_.Options.PostSeconds} * 1000] { StartClip(path, ms, preMs, postMs); },
        Qt::QueuedConnection);
}

void ClipRecording::Stop()
{
    if (!running_)
        return;
    running_ = false;
    QMetaObject::invokeMethod(
        worker_.get(),
        [this]
        {
            FinishClip();
            recorder_.reset();
        },
        Qt::QueuedConnection);
}

void ClipRecording::WaitForWorker()
{
    QMetaObject::invokeMethod(
        worker_.get(), [] {}, Qt::BlockingQueuedConnection);
}

bool ClipRecording::LoadRecorder()
{
    if (recorder_)
        return true;
    if (loadFailed_)
        return false;
    QString error;
    const StreamModuleFunctions* module = LoadStreamModule(ports_.ModuleFile, &error);
    if (module != nullptr)
        recorder_ = module->CreateClipRecorder(BufferBytes);
    if (!recorder_)
    {
        loadFailed_ = true;
        unavailable_ = true;
        Tell(QStringLiteral("Event clips cannot be recorded: %1.").arg(error));
        return false;
    }
    return true;
}

void ClipRecording::TakeFrame(const std::vector<std::uint8_t>& bits, int width, int height,
                              std::int64_t milliseconds, std::int64_t preMs)
{
    if (!LoadRecorder())
        return;
    recorder_->SetPreMilliseconds(preMs);
    recorder_->Frame(bits.data(), width, height, DibFrame::StrideFor(width), milliseconds);
    if (recorder_->Recording() && milliseconds >= stopAtMs_)
        FinishClip();
}

void ClipRecording::StartClip(const QString& path, std::int64_t milliseconds, std::int64_t preMs,
                              std::int64_t postMs)
{
    if (!LoadRecorder())
        return;
    stopAtMs_ = milliseconds + postMs;
    if (recorder_->Recording())
        return; // the clip going on takes this detection in
    QString error;
    if (!recorder_->Start(path, milliseconds - preMs, &error))
    {
        Tell(QStringLiteral("The clip could not be recorded to %1: %2").arg(path, error));
        return;
    }
    clipPath_ = path;
}

void ClipRecording::FinishClip()
{
    if (!recorder_ || !recorder_->Recording())
        return;
    if (QString error; !recorder_->Stop(&error))
        Tell(QStringLiteral("The clip %1 could not be written in full: %2").arg(clipPath_, error));
}

void ClipRecording::Tell(const QString& text)
{
    QMetaObject::invokeMethod(
        this, [this, text] { ports_.Notice(text); }, Qt::QueuedConnection);
}
