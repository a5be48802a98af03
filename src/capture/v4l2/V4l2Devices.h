#pragma once

#include "capture/v4l2/V4l2Api.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// One video capture node and what it says about itself.
struct V4l2DeviceInfo
{
    QString Path;
    // The device's own name ("card"), shown as the driver's description.
    QString Card;
    QString BusInfo;
    // The kernel driver's version as "major.minor.patch".
    QString Version;
    // The capabilities of this node (device_caps when the device reports them separately).
    std::uint32_t Capabilities = 0;
};

// Asks an open node what it is; nothing when it does not answer.
std::optional<V4l2DeviceInfo> QueryV4l2Device(const V4l2Api& api, int fd, const QString& path);

// The video nodes ("video0", "video1", ...) in folder that can capture video, in numeric order. A missing
// or unreadable folder gives an empty list; nodes that cannot be opened are left out.
std::vector<V4l2DeviceInfo> ListV4l2Devices(const V4l2Api& api, const QString& folder);

// The start of the capture settings keys that belong to this camera: stable across reboots and plugging
// it into the same port, and free of characters the settings file cannot hold in a key.
QString V4l2ConfigPrefix(const V4l2DeviceInfo& device);
