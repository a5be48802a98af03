#include "capture/modAVICAP.h"

#include "capture/window/CaptureWindow.h"

#include <algorithm>
#include <cstring>

namespace
{
// True for a window that carried out the request.
template <typename Request> Flag Ask(CaptureWindow* lwnd, Request request)
{
    return ToFlag(lwnd != nullptr && request(*lwnd));
}

// Installs callback on the window with set.
template <typename Callback>
Flag Install(CaptureWindow* lwnd, void (CaptureWindow::*set)(Callback), Callback callback)
{
    if (lwnd == nullptr)
        return False;
    (lwnd->*set)(std::move(callback));
    return True;
}

// A driver's error or status notice, handed to a callback in the capture layer's 8-bit text.
CaptureWindow::NoticeCallback NoticeTo(CaptureWindow* lwnd, const CAPERRORCALLBACK& callback)
{
    if (!callback)
        return {};
    return [lwnd, callback](int number, const QString& text)
    { callback(lwnd, number, text.toUtf8().constData()); };
}

// The window raises no yield, stream or capture-control events, so installing or clearing a callback
// for them changes nothing.
Flag NoEvents(CaptureWindow* lwnd)
{
    return ToFlag(lwnd != nullptr);
}

// Fills the caller's record, as much of it as size allows, with what make reads from a window with
// a connected driver.
template <typename Record, typename Make>
Flag FillRecord(CaptureWindow* lwnd, Record* out, std::size_t size, Make make)
{
    if (lwnd == nullptr || !lwnd->Connected() || out == nullptr)
        return False;
    const Record record = make(*lwnd);
    std::memcpy(out, &record, std::min(sizeof record, size));
    return True;
}
} // namespace

Flag capSetCallbackOnError(CaptureWindow* lwnd, const CAPERRORCALLBACK& callback)
{
    return Install(lwnd, &CaptureWindow::SetErrorCallback, NoticeTo(lwnd, callback));
}

Flag capSetCallbackOnStatus(CaptureWindow* lwnd, const CAPSTATUSCALLBACK& callback)
{
    return Install(lwnd, &CaptureWindow::SetStatusCallback, NoticeTo(lwnd, callback));
}

Flag capSetCallbackOnYield(CaptureWindow* lwnd, const CAPOTHERCALLBACK&)
{
    return NoEvents(lwnd);
}

Flag capSetCallbackOnFrame(CaptureWindow* lwnd, const CAPVIDEOCALLBACK& callback)
{
    CaptureWindow::FrameCallback deliver;
    if (callback)
        deliver = [lwnd, callback](DibFrame& frame)
        {
            VIDEOHDR header{};
            header.lpData = frame.Bits.data();
            header.dwBufferLength = static_cast<std::uint32_t>(frame.Bits.size());
            header.dwBytesUsed = static_cast<std::uint32_t>(frame.BytesUsed());
            header.dwTimeCaptured = frame.TimeCaptured;
            header.dwFlags = VHDR_DONE | VHDR_KEYFRAME;
            callback(lwnd, &header);
        };
    return Install(lwnd, &CaptureWindow::SetFrameCallback, std::move(deliver));
}

Flag capSetCallbackOnVideoStream(CaptureWindow* lwnd, const CAPOTHERCALLBACK&)
{
    return NoEvents(lwnd);
}

Flag capSetCallbackOnWaveStream(CaptureWindow* lwnd, const CAPOTHERCALLBACK&)
{
    return NoEvents(lwnd);
}

Flag capSetCallbackOnCapControl(CaptureWindow* lwnd, const CAPOTHERCALLBACK&)
{
    return NoEvents(lwnd);
}

Flag capDriverConnect(CaptureWindow* lwnd, int driverIndex)
{
    return Ask(lwnd, [&](CaptureWindow& window) { return window.ConnectDriver(driverIndex); });
}

Flag capDriverGetCaps(CaptureWindow* lwnd, CAPDRIVERCAPS* caps, std::size_t size)
{
    return FillRecord(lwnd, caps, size,
                      [](const CaptureWindow& window)
                      {
                          CAPDRIVERCAPS record{};
                          record.wDeviceIndex = static_cast<std::uint32_t>(window.DriverIndex());
                          record.fHasDlgVideoSource = window.HasSourceDialog();
                          record.fHasDlgVideoFormat = window.HasFormatDialog();
                          record.fHasDlgVideoDisplay = 1;
                          record.fCaptureInitialized = 1;
                          return record;
                      });
}

Flag capFileSaveDIB(CaptureWindow* lwnd, const QString& fileName, QString* error)
{
    QString ignored;
    return Ask(lwnd,
               [&](CaptureWindow& window) { return window.SaveDib(fileName, error ? error : &ignored); });
}

Flag capDlgVideoFormat(CaptureWindow* lwnd)
{
    return Ask(lwnd, [](CaptureWindow& window) { return window.ShowFormatDialog(); });
}

Flag capDlgVideoSource(CaptureWindow* lwnd)
{
    return Ask(lwnd, [](CaptureWindow& window) { return window.ShowSourceDialog(); });
}

Flag capDlgVideoDisplay(CaptureWindow* lwnd)
{
    return Ask(lwnd, [](CaptureWindow& window) { return window.ShowDisplayDialog(); });
}

Flag capDlgVideoCompression(CaptureWindow* lwnd)
{
    return Ask(lwnd, [](CaptureWindow& window) { return window.ShowCompressionDialog(); });
}

Flag capPreview(CaptureWindow* lwnd, Flag on)
{
    return Ask(lwnd, [&](CaptureWindow& window) { return window.SetPreview(IsTrue(on)); });
}

Flag capPreviewRate(CaptureWindow* lwnd, int milliseconds)
{
    return Ask(lwnd, [&](CaptureWindow& window) { return window.SetPreviewRate(milliseconds); });
}

Flag capPreviewScale(CaptureWindow* lwnd, Flag on)
{
    return Ask(lwnd, [&](CaptureWindow& window) { return window.SetScale(IsTrue(on)); });
}

Flag capGetStatus(CaptureWindow* lwnd, CAPSTATUS* status, std::size_t size)
{
    return FillRecord(lwnd, status, size,
                      [](const CaptureWindow& window)
                      {
                          CAPSTATUS record{};
                          const QSize frame = window.FrameSize();
                          record.uiImageWidth = static_cast<std::uint32_t>(std::max(frame.width(), 0));
                          record.uiImageHeight = static_cast<std::uint32_t>(std::max(frame.height(), 0));
                          record.fLiveWindow = window.Previewing();
                          record.fScale = window.Scaling();
                          record.dwCurrentVideoFrame =
                              static_cast<std::uint32_t>(window.CurrentFrame().Sequence);
                          record.dwCurrentVideoFramesDropped =
                              static_cast<std::uint32_t>(window.DroppedFrames());
                          return record;
                      });
}

Flag capGrabFrame(CaptureWindow* lwnd)
{
    return Ask(lwnd, [](CaptureWindow& window) { return window.GrabFrame(); });
}
