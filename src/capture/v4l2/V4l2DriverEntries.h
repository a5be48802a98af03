#pragma once

#include "capture/driver/CaptureDriverList.h"
#include "capture/v4l2/V4l2Api.h"

#include <QString>
#include <memory>
#include <vector>

class CaptureConfig;

// One installed-driver entry per V4L2 camera found in folder (the video nodes of /dev on a real
// machine), named by the camera's own name, with the kernel driver's version. The drivers the entries
// create read and keep their format and input in config, which must outlive them.
std::vector<CaptureDriverEntry> V4l2DriverEntries(CaptureConfig& config,
                                                  const QString& folder = QStringLiteral("/dev"),
                                                  std::shared_ptr<const V4l2Api> api = RealV4l2Api());
