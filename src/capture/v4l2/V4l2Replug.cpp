// An unplugged V4L2 camera: told as lost, looked for among the video nodes by its identity, and
// opened again when it is back.
#include "capture/v4l2/V4l2Driver.h"

#include <QFileInfo>
#include <QMetaObject>

void V4l2Driver::AwaitReplug()
{
    replugging_ = true;
    TellState(SourceStatus::Lost,
              QStringLiteral("the camera was unplugged; Vantu opens it again when it is back"));
    const QString folder = QFileInfo(device_.Path).absolutePath();
    for (;;)
    {
        {
            std::unique_lock lock(waitMutex_);
            if (wake_.wait_for(lock, ReplugScan, [this] { return stop_.load(); }))
                return;
        }
        for (const V4l2DeviceInfo& device : ListV4l2Devices(*api_, folder))
        {
            if (device.BusInfo != device_.BusInfo || device.Card != device_.Card)
                continue;
            // Dropped unread when the driver is destroyed first.
            QMetaObject::invokeMethod(
                this, [this, device] { Reopen(device); }, Qt::QueuedConnection);
            return;
        }
    }
}

void V4l2Driver::Reopen(const V4l2DeviceInfo& found)
{
    if (!replugging_)
        return; // closed since the camera was found
    Close();
    device_ = found;
    if (Open())
    {
        TellState(SourceStatus::Live);
        return;
    }
    // Found but not usable yet (still starting up): keep looking.
    stop_ = false;
    thread_ = std::thread([this] { AwaitReplug(); });
}

void V4l2Driver::TellState(SourceStatus status, const QString& reason)
{
    emit SourceStateChanged({status, device_.Card, reason, 0, 0});
}
