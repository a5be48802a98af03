#include "capture/SystemCaptureDrivers.h"

#include "capture/scene/TestSceneDriver.h"
#include "capture/stream/StreamDriverEntry.h"
#include "capture/v4l2/V4l2DriverEntries.h"

SystemCaptureDrivers::SystemCaptureDrivers(const QString& appDirectory, QString videoFolder)
    : config_(appDirectory + QStringLiteral("/Vantu.Capture")), videoFolder_(std::move(videoFolder)),
      streamFirst_(StreamLocationSet(config_))
{
}

std::vector<CaptureDriverEntry> SystemCaptureDrivers::Enumerate()
{
    std::vector<CaptureDriverEntry> entries;
    if (streamFirst_)
        entries.push_back(StreamDriverEntry(config_));
    for (CaptureDriverEntry& camera : V4l2DriverEntries(config_, videoFolder_))
        entries.push_back(std::move(camera));
    entries.push_back(TestSceneDriverEntry(config_));
    if (!streamFirst_)
        entries.push_back(StreamDriverEntry(config_));
    return entries;
}
