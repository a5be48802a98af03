#include "capture/window/CaptureWindow.h"

#include "capture/driver/CaptureConfig.h"
#include "capture/driver/CaptureDriver.h"
#include "capture/window/DibFile.h"
#include "capture/window/DibImage.h"
#include "capture/window/SourceStateOverlay.h"
#include "capture/window/VideoDisplayDialog.h"

#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

CaptureWindow::CaptureWindow(QWidget* parent) : QWidget(parent), overlay_(new SourceStateOverlay(this))
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

bool CaptureWindow::ConnectDriver(int index)
{
    std::vector<CaptureDriverEntry> drivers = EnumerateCaptureDrivers();
    if (index < 0 || static_cast<std::size_t>(index) >= drivers.size() || !drivers[index].Create)
        return false;
    if (driver_ && CaptureDriverKey(drivers[index]) == driverKey_)
        return true;
    std::unique_ptr<CaptureDriver> driver = drivers[index].Create();
    if (!driver)
        return false;
    connect(driver.get(), &CaptureDriver::FrameReady, this, &CaptureWindow::OnFrameReady);
    connect(driver.get(), &CaptureDriver::ErrorOccurred, this, &CaptureWindow::OnDriverError);
    connect(driver.get(), &CaptureDriver::StatusChanged, this, &CaptureWindow::OnDriverStatus);
    connect(driver.get(), &CaptureDriver::SourceStateChanged, this, &CaptureWindow::OnSourceState);
    opening_ = driver.get();
    stateReported_ = false;
    stateLog_.Reset();
    const SourceState previous = state_;
    const bool opened = driver->Open();
    opening_ = nullptr;
    if (!opened)
    {
        if (stateReported_)
            EnterState(previous);
        return false;
    }
    if (driver_)
        driver_->Close();
    driver_ = std::move(driver);
    driverKey_ = CaptureDriverKey(drivers[index]);
    dialogs_ = std::move(drivers[index]);
    current_ = DibFrame{};
    dropped_ = 0;
    taken_ = 0;
    holding_ = false;
    if (!stateReported_)
        EnterState({SourceStatus::Live, dialogs_.Name, {}, 0, 0});
    shownStale_ = true;
    update();
    return true;
}

int CaptureWindow::DriverIndex() const
{
    return driver_ ? FindCaptureDriver(EnumerateCaptureDrivers(), driverKey_) : -1;
}

QString CaptureWindow::DriverName() const
{
    if (!driver_)
        return {};
    const std::vector<CaptureDriverEntry> drivers = EnumerateCaptureDrivers();
    const int index = FindCaptureDriver(drivers, driverKey_);
    return index >= 0 ? drivers[static_cast<std::size_t>(index)].Name : dialogs_.Name;
}

QSize CaptureWindow::FrameSize() const
{
    return driver_ ? driver_->FrameSize() : QSize();
}

bool CaptureWindow::SaveDib(const QString& path, QString* error)
{
    if (!driver_)
    {
        *error = QStringLiteral("no video source is connected");
        return false;
    }
    return WriteDibFile(path, current_, error);
}

bool CaptureWindow::GrabFrame()
{
    if (!driver_)
        return false;
    if (preview_ || !holding_)
        HoldFrames(true);
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
    {
        HoldFrames(false);
        OnFrameReady();
    }
    else
        previewDelay_.stop();
    return true;
}

bool CaptureWindow::SetPreviewRate(int milliseconds)
{
    previewRateMs_ = std::clamp(milliseconds, 0, 60000);
    return Connected();
}

bool CaptureWindow::SetScale(bool on)
{
    scale_ = on;
    update();
    return Connected();
}

bool CaptureWindow::ShowSourceDialog()
{
    if (!HasSourceDialog())
        return false;
    dialogs_.SourceDialog(*driver_, window(), *messages_);
    return true;
}

bool CaptureWindow::ShowFormatDialog()
{
    if (!HasFormatDialog())
        return false;
    dialogs_.FormatDialog(*driver_, window(), *messages_);
    return true;
}

void CaptureWindow::OnFrameReady()
{
    if (!driver_)
        return;
    if (!preview_)
    {
        emit FrameWaiting();
        return;
    }
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
    const QSize previousSize(current_.Width, current_.Height);
    if (!driver_->TakeFrame(current_))
        return false;
    NoteTakenFrame(current_, previousSize);
    shownStale_ = true;
    update();
    if (onFrame_)
    {
        // A copy of the callback: the callback may install another one while it runs.
        const FrameCallback callback = onFrame_;
        callback(current_);
    }
    emit FrameHandedOut(current_);
    return true;
}

void CaptureWindow::OnDriverError(int number, const QString& text)
{
    if (onError_)
    {
        const NoticeCallback callback = onError_;
        callback(number, text);
    }
}

void CaptureWindow::OnDriverStatus(int number, const QString& text)
{
    if (onStatus_)
    {
        const NoticeCallback callback = onStatus_;
        callback(number, text);
    }
}

void CaptureWindow::OnSourceState(const SourceState& state)
{
    CaptureDriver* from = qobject_cast<CaptureDriver*>(sender());
    if (from != nullptr && from != driver_.get() && from != opening_)
        return; // a report of a driver replaced since, still on its way
    stateReported_ = true;
    EnterState(state);
}

void CaptureWindow::EnterState(const SourceState& state)
{
    if (state == state_)
        return;
    state_ = state;
    overlay_->ShowState(state);
    const QString entry = stateLog_.Enter(state);
    if (!entry.isEmpty())
        emit SourceLogEntry(entry);
}

void CaptureWindow::HoldFrames(bool on)
{
    // Grabbing frames one by one (monitoring) analyses each: a file then waits for every grab. The
    // live preview shows the newest and lets a file play at its pace.
    holding_ = on;
    driver_->HoldFramesUntilTaken(on);
}

void CaptureWindow::NoteTakenFrame(const DibFrame& frame, QSize previousSize)
{
    // Sequence numbers count from 1, and start again at 1 when the source restarts: only a gap counts.
    if (frame.Sequence > taken_ + 1)
        dropped_ += frame.Sequence - taken_ - 1;
    taken_ = frame.Sequence;
    const QSize size(frame.Width, frame.Height);
    if (size != previousSize)
        emit FrameSizeChanged(size);
}

bool CaptureWindow::ShowDisplayDialog()
{
    if (!driver_)
        return false;
    VideoDisplayDialog dialog(scale_, keepAspectRatio_, window());
    if (dialog.exec() == QDialog::Accepted)
    {
        scale_ = dialog.ScaleToWindow();
        keepAspectRatio_ = dialog.KeepAspectRatio();
        update();
        SaveDisplayOptions();
    }
    return true;
}

namespace
{
constexpr char ScaleKey[] = "display/scale";
constexpr char KeepAspectRatioKey[] = "display/keepaspectratio";
} // namespace

void CaptureWindow::RestoreDisplayOptions()
{
    const CaptureConfig* config = InstalledCaptureConfig();
    if (config == nullptr)
        return;
    const QString scale = config->Value(QString::fromLatin1(ScaleKey));
    const QString keep = config->Value(QString::fromLatin1(KeepAspectRatioKey));
    if (!scale.isEmpty())
        scale_ = scale == QLatin1String("1");
    if (!keep.isEmpty())
        keepAspectRatio_ = keep == QLatin1String("1");
    update();
}

void CaptureWindow::SaveDisplayOptions()
{
    CaptureConfig* config = InstalledCaptureConfig();
    QString error;
    if (config == nullptr ||
        (config->SetValue(QString::fromLatin1(ScaleKey), scale_ ? QStringLiteral("1") : QStringLiteral("0"),
                          &error) &&
         config->SetValue(QString::fromLatin1(KeepAspectRatioKey),
                          keepAspectRatio_ ? QStringLiteral("1") : QStringLiteral("0"), &error)))
        return;
    messages_->Show(
        QStringLiteral("Vantu uses the new display options now but could not keep them for the next "
                       "start: ") +
            error,
        MsgBoxStyle::Exclamation, QStringLiteral("Video Display"));
}

void CaptureWindow::RememberDriver()
{
    CaptureConfig* config = InstalledCaptureConfig();
    QString error;
    if (!driver_ || config == nullptr ||
        config->SetValue(QString::fromLatin1(ChosenDriverKey), driverKey_, &error))
        return;
    messages_->Show(
        QStringLiteral("Vantu uses the chosen video source now but could not keep it for the next "
                       "start: ") +
            error,
        MsgBoxStyle::Exclamation, QStringLiteral("Video Source"));
}

bool CaptureWindow::ShowCompressionDialog()
{
    if (!driver_)
        return false;
    messages_->Show(
        QStringLiteral("Vantu saves every detection as an uncompressed bitmap (.Bmp) that any image "
                       "viewer opens, so there is no compression to set up."),
        MsgBoxStyle::Information, QStringLiteral("Video Compression"));
    return true;
}

void CaptureWindow::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (current_.Empty() || current_.Bits.size() < current_.BytesUsed())
    {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    const QRectF target = PictureRect();
    // Black only where the picture leaves room: filling the whole window first would write every
    // pixel twice.
    const QRect covered(
        QPoint(static_cast<int>(std::ceil(target.left())), static_cast<int>(std::ceil(target.top()))),
        QPoint(static_cast<int>(std::floor(target.right())) - 1,
               static_cast<int>(std::floor(target.bottom())) - 1));
    for (const QRect& bar : event->region() - QRegion(covered))
        painter.fillRect(bar, Qt::black);
    if (PaintFrameDirectly(painter, event->region(), covered, target))
    {
        shown_ = QImage();
        return;
    }
    // A frame is converted for the screen when it is drawn, not when it arrives: a hidden live view
    // costs nothing, and frames that arrive between two paints are never converted.
    if (shownStale_ || shown_.isNull())
    {
        DibToImage(current_, shown_);
        shownStale_ = false;
    }
    painter.drawImage(target, shown_);
}

bool CaptureWindow::PaintFrameDirectly(QPainter& painter, const QRegion& region, const QRect& covered,
                                       const QRectF& target) const
{
    QPaintDevice* device = painter.paintEngine() != nullptr ? painter.paintEngine()->paintDevice() : nullptr;
    if (device == nullptr || device->devType() != QInternal::Image)
        return false;
    auto* image = static_cast<QImage*>(device);
    const QTransform toDevice = painter.deviceTransform();
    if ((image->format() != QImage::Format_RGB32 && image->format() != QImage::Format_ARGB32_Premultiplied) ||
        image->devicePixelRatio() != 1.0 || toDevice.type() > QTransform::TxTranslate ||
        toDevice.dx() != std::round(toDevice.dx()) || toDevice.dy() != std::round(toDevice.dy()))
        return false;
    const QPoint offset(static_cast<int>(toDevice.dx()), static_cast<int>(toDevice.dy()));
    const QRect inImage = QRect(QPoint(0, 0), image->size()).translated(-offset);
    const QRect picture = target.toRect();
    const bool ownSize =
        QRectF(picture) == target && picture.size() == QSize(current_.Width, current_.Height);
    for (const QRect& rect : region)
    {
        const QRect part = rect & covered & inImage;
        if (part.isEmpty())
            continue;
        if (ownSize)
        {
            const auto frameRow = [&](int y)
            { return current_.TopDownRow(y - picture.top()) + 3 * (part.left() - picture.left()); };
            for (int y = part.top(); y <= part.bottom(); ++y)
            {
                if (y < part.bottom())
                    PrefetchBytes(frameRow(y + 1), 3 * static_cast<std::size_t>(part.width()));
                BgrToRgb32(frameRow(y),
                           reinterpret_cast<QRgb*>(image->scanLine(y + offset.y())) + part.left() +
                               offset.x(),
                           part.width());
            }
            continue;
        }
        // Scaled: each window pixel shows the frame pixel under its centre, converted on the way, so
        // that the frame is neither converted whole nor copied a second time.
        std::vector<int> columns(static_cast<std::size_t>(part.width()));
        for (int x = 0; x < part.width(); ++x)
            columns[static_cast<std::size_t>(x)] =
                3 * SourcePixel(part.left() + x, target.left(), target.width(), current_.Width);
        const RowSampler sampler(std::move(columns));
        const auto frameRow = [&](int y)
        { return current_.TopDownRow(SourcePixel(y, target.top(), target.height(), current_.Height)); };
        for (int y = part.top(); y <= part.bottom(); ++y)
        {
            if (y < part.bottom())
                sampler.Prefetch(frameRow(y + 1));
            sampler.Sample(frameRow(y), current_.Bits.data() + current_.Bits.size(),
                           reinterpret_cast<QRgb*>(image->scanLine(y + offset.y())) + part.left() +
                               offset.x());
        }
    }
    return true;
}

int CaptureWindow::SourcePixel(int shown, double start, double length, int pixels)
{
    const auto pixel = static_cast<int>(std::floor((shown + 0.5 - start) * pixels / length));
    return std::clamp(pixel, 0, pixels - 1);
}

QRectF CaptureWindow::PictureRect() const
{
    QRectF target(0, 0, current_.Width, current_.Height);
    if (scale_)
    {
        QSizeF size(current_.Width, current_.Height);
        size.scale(QSizeF(width(), height()), keepAspectRatio_ ? Qt::KeepAspectRatio : Qt::IgnoreAspectRatio);
        target = QRectF(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    }
    return target;
}
