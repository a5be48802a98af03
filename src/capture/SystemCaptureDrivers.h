#pragma once

#include "capture/driver/CaptureConfig.h"
#include "capture/driver/CaptureDriverList.h"

// The video sources of this machine, in driver-index order: the network camera or video file when a
// location is set for it, every V4L2 camera, the built-in test scene, and the network camera or video
// file when no location is set yet (so that it can be chosen and set up). A machine with a webcam
// therefore starts with the webcam, one set up for a network camera with that camera, and one with
// neither with the test scene. The place of the network source is decided once, when the list is
// made, so that the driver indexes stay the same for the whole run even when a location is set later.
class SystemCaptureDrivers final : public CaptureDriverList
{
public:
    // Keeps the capture settings in "Vantu.Capture" in appDirectory. videoFolder is where the V4L2
    // device nodes are.
    explicit SystemCaptureDrivers(const QString& appDirectory, QString videoFolder = QStringLiteral("/dev"));

    std::vector<CaptureDriverEntry> Enumerate() override;

    CaptureConfig& Config() { return config_; }
    CaptureConfig* Settings() override { return &config_; }

private:
    CaptureConfig config_;
    QString videoFolder_;
    bool streamFirst_;
};
