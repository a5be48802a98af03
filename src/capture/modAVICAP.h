#pragma once

// One wrapper per capture request. Each carries out its request on the capture window and returns the
// program's boolean: True (-1) when the window carried it out, False (0) when it did not or for a
// null window.

#include "capture/avicap.h"
#include "common/Flag.h"

#include <QString>

Flag capSetCallbackOnError(CaptureWindow* lwnd, const CAPERRORCALLBACK& callback);
Flag capSetCallbackOnStatus(CaptureWindow* lwnd, const CAPSTATUSCALLBACK& callback);
Flag capSetCallbackOnYield(CaptureWindow* lwnd, const CAPOTHERCALLBACK& callback);
Flag capSetCallbackOnFrame(CaptureWindow* lwnd, const CAPVIDEOCALLBACK& callback);
Flag capSetCallbackOnVideoStream(CaptureWindow* lwnd, const CAPOTHERCALLBACK& callback);
Flag capSetCallbackOnWaveStream(CaptureWindow* lwnd, const CAPOTHERCALLBACK& callback);
Flag capSetCallbackOnCapControl(CaptureWindow* lwnd, const CAPOTHERCALLBACK& callback);
Flag capDriverConnect(CaptureWindow* lwnd, int driverIndex);
Flag capDriverGetCaps(CaptureWindow* lwnd, CAPDRIVERCAPS* caps, std::size_t size);
// error (when given) says why the file could not be written.
Flag capFileSaveDIB(CaptureWindow* lwnd, const QString& fileName, QString* error = nullptr);
Flag capDlgVideoFormat(CaptureWindow* lwnd);
Flag capDlgVideoSource(CaptureWindow* lwnd);
Flag capDlgVideoDisplay(CaptureWindow* lwnd);
Flag capDlgVideoCompression(CaptureWindow* lwnd);
Flag capPreview(CaptureWindow* lwnd, Flag on);
Flag capPreviewRate(CaptureWindow* lwnd, int milliseconds);
Flag capPreviewScale(CaptureWindow* lwnd, Flag on);
Flag capGetStatus(CaptureWindow* lwnd, CAPSTATUS* status, std::size_t size);
Flag capGrabFrame(CaptureWindow* lwnd);
