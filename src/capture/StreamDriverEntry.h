#pragma once

#include "capture/CaptureDriverList.h"

class CaptureConfig;
class QWidget;

// The network camera / video file driver as an installed driver. Its name tells the source set in
// config ("Network camera: <host>", "Video file: <file name>", or "Network camera or video file" while
// none is set; never a password); its version is FFmpeg's. config must outlive the drivers it creates.
CaptureDriverEntry StreamDriverEntry(CaptureConfig& config);

// True when a location is set, so that the driver can open.
bool StreamLocationSet(const CaptureConfig& config);

// Shows the driver's Source dialog without an open driver, so that a location can be set before the
// driver is first connected (the driver does not open without one). OK tries the source and saves the
// settings. True when settings were saved.
bool EditStreamSource(CaptureConfig& config, QWidget* parent);
