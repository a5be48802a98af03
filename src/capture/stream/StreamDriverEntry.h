#pragma once

#include "capture/driver/CaptureDriverList.h"

class CaptureConfig;

// The network camera / video file driver as an installed driver. Its name tells the source set in
// config ("Network camera: <host>", "Video file: <file name>", or "Network camera or video file" while
// none is set; never a password). Connecting it loads the source's module on a worker thread; a driver with
// no location yet opens without pictures, so that its Source dialog can set one. config must outlive the
// drivers it creates. The module is the program's own, or the one at modulePath when that is given.
CaptureDriverEntry StreamDriverEntry(CaptureConfig& config, const QString& modulePath = {});

// True when a location is set.
bool StreamLocationSet(const CaptureConfig& config);
