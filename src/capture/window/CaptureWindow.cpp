#include "capture/window/CaptureWindow.h"

#include "capture/driver/CaptureDriver.h"
#include "capture/driver/CaptureDriverList.h"
#include "capture/window/DibFile.h"
#include "capture/window/DibImage.h"
#include "capture/window/VideoDisplayDialog.h"

#include <QMessageBox>
#include <QPainter>
#include <algorithm>
#include <cstring>

namespace
{
template <typename Callback> void Install(Callback& slot, void* lParam)
{
    slot = lParam != nullptr ? *static_cast<const Callback*>(lParam) : Callback{};
}

// Copies as much of record as the caller's size allows.
bool CopyRecord(const void* record, std::size_t recordSize, void* out, std::size_t outSize)
{
    if (out == nullptr)
        return false;
    std::memcpy(out, record, std::min(recordSize, outSize));
    return true;
}
} // namespace

CaptureWindow::CaptureWindow(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    previewDelay_.setSingleShot(true);
    connect(&previewDelay_, &QTimer::timeout, this, &CaptureWindow::OnFrameReady);
}

CaptureWindow::~CaptureWindow()
{
    if (driver_)
        driver_->Close();
}

std::intptr_t CaptureWindow::Request(unsigned message, std::uintptr_t wParam, void* lParam)
{
    switch (message)
    {
    case WM_CAP_SET_CALLBACK_ERRORA:
        Install(onError_, lParam);
        return 1;
    case WM_CAP_SET_CALLBACK_STATUSA:
        Install(onStatus_, lParam);
        return 1;
    case WM_CAP_SET_CALLBACK_YIELD:
        Install(onYield_, lParam);
        return 1;
    case WM_CAP_SET_CALLBACK_FRAME:
        Install(onFrame_, lParam);
        return 1;
    case WM_CAP_SET_CALLBACK_VIDEOSTREAM:
        Install(onVideoStream_, lParam);
        return 1;
    case WM_CAP_SET_CALLBACK_WAVESTREAM:
        Install(onWaveStream_, lParam);
        return 1;
    case WM_CAP_SET_CALLBACK_CAPCONTROL:
        Install(onCapControl_, lParam);
        return 1;
    case WM_CAP_DRIVER_CONNECT:
        return DriverConnect(static_cast<int>(wParam));
    case WM_CAP_DRIVER_GET_CAPS:
        return FillDriverCaps(lParam, wParam);
    case WM_CAP_GET_STATUS:
        return FillStatus(lParam, wParam);
    case WM_CAP_FILE_SAVEDIBA:
        return SaveDib(static_cast<const char*>(lParam));
    case WM_CAP_GRAB_FRAME:
        return GrabFrame();
    case WM_CAP_SET_PREVIEW:
        return SetPreview(wParam != 0);
    case WM_CAP_SET_PREVIEWRATE:
        previewRateMs_ = static_cast<int>(std::min<std::uintptr_t>(wParam, 60000));
        return driver_ != nullptr;
    case WM_CAP_SET_SCALE:
        scale_ = wParam != 0;
        update();
        return driver_ != nullptr;
    case WM_CAP_DLG_VIDEOSOURCE:
        if (!driver_ || !driver_->HasSourceDialog())
            return 0;
        driver_->ShowSourceDialog(window());
        return 1;
    case WM_CAP_DLG_VIDEOFORMAT:
        if (!driver_ || !driver_->HasFormatDialog())
            return 0;
        driver_->ShowFormatDialog(window());
        return 1;
    case WM_CAP_DLG_VIDEODISPLAY:
        if (!driver_)
            return 0;
        ShowDisplayDialog();
        return 1;
    case WM_CAP_DLG_VIDEOCOMPRESSION:
        if (!driver_)
            return 0;
        ShowCompressionDialog();
        return 1;
    default:
        return 0;
    }
}

bool CaptureWindow::DriverConnect(int index)
{
    if (driver_ && index == driverIndex_)
        return true;
    std::vector<CaptureDriverEntry> drivers = EnumerateCaptureDrivers();
    if (index < 0 || static_cast<std::size_t>(index) >= drivers.size() || !drivers[index].Create)
        return false;
    std::unique_ptr<CaptureDriver> driver = drivers[index].Create();
    if (!driver)
        return false;
    connect(driver.get(), &CaptureDriver::FrameReady, this, &CaptureWindow::OnFrameReady);
    connect(driver.get(), &CaptureDriver::ErrorOccurred, this, &CaptureWindow::OnDriverError);
    connect(driver.get(), &CaptureDriver::StatusChanged, this, &CaptureWindow::OnDriverStatus);
    if (!driver->Open())
        return false;
    if (driver_)
        driver_->Close();
    driver_ = std::move(driver);
    driverIndex_ = index;
    current_ = DibFrame{};
    shownStale_ = true;
    update();
    return true;
}

bool CaptureWindow::FillDriverCaps(void* record, std::size_t size) const
{
    if (!driver_)
        return false;
    CAPDRIVERCAPS caps{};
    caps.wDeviceIndex = static_cast<std::uint32_t>(driverIndex_);
    caps.fHasDlgVideoSource = driver_->HasSourceDialog();
    caps.fHasDlgVideoFormat = driver_->HasFormatDialog();
    caps.fHasDlgVideoDisplay = 1;
    caps.fCaptureInitialized = 1;
    return CopyRecord(&caps, sizeof caps, record, size);
}

bool CaptureWindow::FillStatus(void* record, std::size_t size) const
{
    if (!driver_)
        return false;
    CAPSTATUS status{};
    const QSize frame = driver_->FrameSize();
    status.uiImageWidth = static_cast<std::uint32_t>(std::max(frame.width(), 0));
    status.uiImageHeight = static_cast<std::uint32_t>(std::max(frame.height(), 0));
    status.fLiveWindow = preview_;
    status.fScale = scale_;
    status.dwCurrentVideoFrame = static_cast<std::uint32_t>(current_.Sequence);
    return CopyRecord(&status, sizeof status, record, size);
}

bool CaptureWindow::SaveDib(const char* path)
{
    if (path == nullptr || !driver_)
        return false;
    QString error;
    return WriteDibFile(QString::fromUtf8(path), current_, &error);
}

bool CaptureWindow::GrabFrame()
{
    if (!driver_)
        return false;
    preview_ = false; // a single-frame grab ends the live preview
    previewDelay_.stop();
    return DeliverFrame();
}

bool CaptureWindow::SetPreview(bool on)
{
    if (!driver_)
        return false;
    preview_ = on;
    if (on)
        OnFrameReady();
    else
        previewDelay_.stop();
    return true;
}

void CaptureWindow::OnFrameReady()
{
    if (!preview_ || !driver_)
        return;
    if (sinceLastPreview_.isValid() && previewRateMs_ > 0)
    {
        const qint64 wait = previewRateMs_ - sinceLastPreview_.elapsed();
        if (wait > 0)
        {
            if (!previewDelay_.isActive())
                previewDelay_.start(static_cast<int>(wait));
            return;
        }
    }
    if (DeliverFrame())
        sinceLastPreview_.start();
}

bool CaptureWindow::DeliverFrame()
{
    if (!driver_->TakeFrame(current_))
        return false;
    shownStale_ = true;
    update();
    if (onFrame_)
    {
        VIDEOHDR header{};
        header.lpData = current_.Bits.data();
        header.dwBufferLength = static_cast<std::uint32_t>(current_.Bits.size());
        header.dwBytesUsed = static_cast<std::uint32_t>(current_.BytesUsed());
        header.dwTimeCaptured = current_.TimeCaptured;
        header.dwFlags = VHDR_DONE | VHDR_KEYFRAME;
        // A copy of the callback: the callback may install another one while it runs.
        const CAPVIDEOCALLBACK callback = onFrame_;
        callback(this, &header);
    }
    return true;
}

void CaptureWindow::OnDriverError(int number, const QString& text)
{
    if (onError_)
    {
        const CAPERRORCALLBACK callback = onError_;
        callback(this, number, text.toUtf8().constData());
    }
}

void CaptureWindow::OnDriverStatus(int number, const QString& text)
{
    if (onStatus_)
    {
        const CAPSTATUSCALLBACK callback = onStatus_;
        callback(this, number, text.toUtf8().constData());
    }
}

void CaptureWindow::ShowDisplayDialog()
{
    VideoDisplayDialog dialog(scale_, keepAspectRatio_, window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    scale_ = dialog.ScaleToWindow();
    keepAspectRatio_ = dialog.KeepAspectRatio();
    update();
}

void CaptureWindow::ShowCompressionDialog()
{
    QMessageBox::information(
        window(), QStringLiteral("Video Compression"),
        QStringLiteral("Vantu saves every detection as an uncompressed bitmap (.Bmp) that "
                       "any image viewer opens, so there is no compression to set up."));
}

void CaptureWindow::paintEvent(QPaintEvent*)
{
    // A frame is converted for the screen when it is drawn, not when it arrives: a hidden live view
    // costs nothing, and frames that arrive between two paints are never converted.
    if (shownStale_)
    {
        DibToImage(current_, shown_);
        shownStale_ = false;
    }
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (shown_.isNull())
        return;

    QRectF target(0, 0, shown_.width(), shown_.height());
    if (scale_)
    {
        QSizeF size(shown_.width(), shown_.height());
        size.scale(QSizeF(width(), height()), keepAspectRatio_ ? Qt::KeepAspectRatio : Qt::IgnoreAspectRatio);
        target = QRectF(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    }
    painter.drawImage(target, shown_);
}
