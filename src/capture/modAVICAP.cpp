#include "capture/modAVICAP.h"

namespace
{
Flag Send(CaptureWindow* lwnd, unsigned message, std::uintptr_t wParam = 0, void* lParam = nullptr)
{
    return ToFlag(capSendMessage(lwnd, message, wParam, lParam) != 0);
}

// A set callback installs it; an empty one removes the installed callback.
template <typename Callback> Flag SetCallback(CaptureWindow* lwnd, unsigned message, const Callback& callback)
{
    return Send(lwnd, message, 0, callback ? const_cast<Callback*>(&callback) : nullptr);
}

std::uintptr_t OnOff(Flag on)
{
    return static_cast<std::uintptr_t>(static_cast<std::intptr_t>(on));
}
} // namespace

Flag capSetCallbackOnError(CaptureWindow* lwnd, const CAPERRORCALLBACK& callback)
{
    return SetCallback(lwnd, WM_CAP_SET_CALLBACK_ERRORA, callback);
}

Flag capSetCallbackOnStatus(CaptureWindow* lwnd, const CAPSTATUSCALLBACK& callback)
{
    return SetCallback(lwnd, WM_CAP_SET_CALLBACK_STATUSA, callback);
}

Flag capSetCallbackOnYield(CaptureWindow* lwnd, const CAPOTHERCALLBACK& callback)
{
    return SetCallback(lwnd, WM_CAP_SET_CALLBACK_YIELD, callback);
}

Flag capSetCallbackOnFrame(CaptureWindow* lwnd, const CAPVIDEOCALLBACK& callback)
{
    return SetCallback(lwnd, WM_CAP_SET_CALLBACK_FRAME, callback);
}

Flag capSetCallbackOnVideoStream(CaptureWindow* lwnd, const CAPOTHERCALLBACK& callback)
{
    return SetCallback(lwnd, WM_CAP_SET_CALLBACK_VIDEOSTREAM, callback);
}

Flag capSetCallbackOnWaveStream(CaptureWindow* lwnd, const CAPOTHERCALLBACK& callback)
{
    return SetCallback(lwnd, WM_CAP_SET_CALLBACK_WAVESTREAM, callback);
}

Flag capSetCallbackOnCapControl(CaptureWindow* lwnd, const CAPOTHERCALLBACK& callback)
{
    return SetCallback(lwnd, WM_CAP_SET_CALLBACK_CAPCONTROL, callback);
}

Flag capDriverConnect(CaptureWindow* lwnd, int driverIndex)
{
    return Send(lwnd, WM_CAP_DRIVER_CONNECT, static_cast<std::uintptr_t>(driverIndex));
}

Flag capDriverGetCaps(CaptureWindow* lwnd, CAPDRIVERCAPS* caps, std::size_t size)
{
    return Send(lwnd, WM_CAP_DRIVER_GET_CAPS, size, caps);
}

Flag capFileSaveDIB(CaptureWindow* lwnd, const QString& fileName)
{
    QByteArray name = fileName.toUtf8();
    return Send(lwnd, WM_CAP_FILE_SAVEDIBA, 0, name.data());
}

Flag capDlgVideoFormat(CaptureWindow* lwnd)
{
    return Send(lwnd, WM_CAP_DLG_VIDEOFORMAT);
}
Flag capDlgVideoSource(CaptureWindow* lwnd)
{
    return Send(lwnd, WM_CAP_DLG_VIDEOSOURCE);
}
Flag capDlgVideoDisplay(CaptureWindow* lwnd)
{
    return Send(lwnd, WM_CAP_DLG_VIDEODISPLAY);
}
Flag capDlgVideoCompression(CaptureWindow* lwnd)
{
    return Send(lwnd, WM_CAP_DLG_VIDEOCOMPRESSION);
}
Flag capPreview(CaptureWindow* lwnd, Flag on)
{
    return Send(lwnd, WM_CAP_SET_PREVIEW, OnOff(on));
}

Flag capPreviewRate(CaptureWindow* lwnd, int milliseconds)
{
    return Send(lwnd, WM_CAP_SET_PREVIEWRATE, static_cast<std::uintptr_t>(std::max(milliseconds, 0)));
}

Flag capPreviewScale(CaptureWindow* lwnd, Flag on)
{
    return Send(lwnd, WM_CAP_SET_SCALE, OnOff(on));
}

Flag capGetStatus(CaptureWindow* lwnd, CAPSTATUS* status, std::size_t size)
{
    return Send(lwnd, WM_CAP_GET_STATUS, size, status);
}

Flag capGrabFrame(CaptureWindow* lwnd)
{
    return Send(lwnd, WM_CAP_GRAB_FRAME);
}
