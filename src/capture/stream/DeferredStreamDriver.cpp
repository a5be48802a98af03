#include "capture/stream/DeferredStreamDriver.h"

#include "capture/driver/CaptureConfig.h"
#include "capture/stream/StreamLocation.h"
#include "capture/stream/StreamModule.h"
#include "capture/stream/StreamSettings.h"
#include "ui/MessageBox.h"

#include <QPromise>
#include <QThreadPool>

DeferredStreamDriver::DeferredStreamDriver(CaptureConfig& config, const StreamModuleFunctions* module,
                                           StreamModuleLoader load)
    : config_(config), load_(std::move(load)), module_(module)
{
    connect(&loading_, &QFutureWatcherBase::finished, this, &DeferredStreamDriver::OnModuleLoaded);
}

// The worker that loads the module holds only what it shares with the watcher; it may finish after
// this driver has gone.
DeferredStreamDriver::~DeferredStreamDriver()
{
    Close();
}

bool DeferredStreamDriver::Open()
{
    open_ = true;
    if (module_ != nullptr)
    {
        Attach();
        return true;
    }
    emit SourceStateChanged({SourceStatus::Connecting, SourceName(), {}, 0, 0});
    StartLoading();
    return true;
}

void DeferredStreamDriver::Close()
{
    open_ = false;
    attached_ = false;
    if (driver_)
        driver_->Close();
}

QSize DeferredStreamDriver::FrameSize() const
{
    if (!open_)
        return {};
    if (driver_)
        return driver_->FrameSize();
    const QSize chosen = LoadStreamSettings(config_).Size;
    if (!chosen.isEmpty())
        return chosen;
    const QSize remembered = LoadRememberedStreamSize(config_);
    return remembered.isEmpty() ? StreamDefaultSize : remembered;
}

bool DeferredStreamDriver::TakeFrame(DibFrame& front)
{
    return driver_ && driver_->TakeFrame(front);
}

void DeferredStreamDriver::HoldFramesUntilTaken(bool on)
{
    hold_ = on;
    if (driver_)
        driver_->HoldFramesUntilTaken(on);
}

void DeferredStreamDriver::ShowDialog(CaptureDriverDialog StreamModuleFunctions::*dialog, QWidget* parent,
                                      IMessageBox& messages)
{
    if (module_ == nullptr)
    {
        if (loading_.isRunning())
        {
            loading_.waitForFinished();
            OnModuleLoaded();
        }
        else
        {
            // The load failed before: the user asks again.
            loadError_.clear();
            module_ = load_(&loadError_);
            Attach();
        }
    }
    if (!MakeDriver())
    {
        messages.Show(QStringLiteral("The network camera and video file source cannot be used: ") + Failure(),
                      MsgBoxStyle::Exclamation, QStringLiteral("Network Camera or Video File"));
        return;
    }
    (module_->*dialog)(*driver_, parent, messages);
}

void DeferredStreamDriver::StartLoading()
{
    if (loading_.isRunning())
        return;
    auto promise = std::make_shared<QPromise<LoadResult>>();
    loading_.setFuture(promise->future());
    promise->start();
    QThreadPool::globalInstance()->start(
        [promise, load = load_]
        {
            LoadResult result;
            result.Module = load(&result.Error);
            promise->addResult(result);
            promise->finish();
        });
}

void DeferredStreamDriver::OnModuleLoaded()
{
    if (module_ == nullptr && loading_.isFinished())
    {
        module_ = loading_.result().Module;
        loadError_ = loading_.result().Error;
    }
    Attach();
}

void DeferredStreamDriver::Attach()
{
    if (!open_ || attached_)
        return;
    if (!MakeDriver())
    {
        emit SourceStateChanged({SourceStatus::Lost, SourceName(), Failure(), 0, 0});
        return;
    }
    attached_ = true;
    driver_->Open();
}

bool DeferredStreamDriver::MakeDriver()
{
    if (driver_ || module_ == nullptr)
        return driver_ != nullptr;
    driver_ = module_->CreateDriver(config_);
    if (!driver_)
        return false;
    // Passed on from the thread they are emitted in, as the module's driver emits them.
    connect(driver_.get(), &CaptureDriver::FrameReady, this, &CaptureDriver::FrameReady,
            Qt::DirectConnection);
    connect(driver_.get(), &CaptureDriver::ErrorOccurred, this, &CaptureDriver::ErrorOccurred,
            Qt::DirectConnection);
    connect(driver_.get(), &CaptureDriver::StatusChanged, this, &CaptureDriver::StatusChanged,
            Qt::DirectConnection);
    connect(driver_.get(), &CaptureDriver::SourceStateChanged, this, &CaptureDriver::SourceStateChanged,
            Qt::DirectConnection);
    driver_->HoldFramesUntilTaken(hold_);
    return true;
}

QString DeferredStreamDriver::SourceName() const
{
    const QString location = LoadStreamSettings(config_).Location;
    return location.isEmpty() ? StreamDriverName(location) : StreamSourceShortName(location);
}

QString DeferredStreamDriver::Failure() const
{
    if (module_ == nullptr)
        return loadError_;
    return QStringLiteral("the network camera and video file module made no driver");
}
