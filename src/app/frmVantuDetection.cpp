// The main window's side of motion detection: frames in, detections out.

#include "app/ModeScreen.h"
#include "app/frmVantu.h"
#include "capture/modAVICAP.h"
#include "capture/window/CaptureWindow.h"
#include "detect/ByteSum.h"
#include "notify/NotifySound.h"
#include "ui/ChangeMeter.h"
#include "ui/MousePointer.h"
#include "ui/StatusPanels.h"

#include <QGroupBox>
#include <QTimer>
#include <algorithm>

void frmVantu::GrabTimer_Timer()
{
    // A tick grabs the frame waiting, then the timer rests until the capture window has the next one
    // waiting (CaptureWindow_FrameWaiting): a source between frames, or one that stopped, then costs
    // no wake-ups every 10 ms. It rests before the grab, so that frames arriving while a detection
    // shows a message box start it again.
    ui.GrabTimer->stop();
    capGrabFrame(Vars.CaptureWindowHandle);
}

void frmVantu::CaptureWindow_FrameWaiting()
{
    if (Vars.CurrentMode == ModeMonitor && !ui.GrabTimer->isActive())
        ui.GrabTimer->start();
}

namespace
{
// The sum of the frame's bytes: the one its source worked out, when the window hands out that frame;
// else the bytes are summed where the driver left them.
std::int64_t FrameByteSum(const CaptureWindow* window, const VIDEOHDR& header)
{
    if (window != nullptr)
    {
        const DibFrame& frame = window->CurrentFrame();
        if (frame.KnownByteSum && frame.Bits.data() == header.lpData &&
            frame.BytesUsed() == header.dwBytesUsed)
            return static_cast<std::int64_t>(*frame.KnownByteSum);
    }
    return static_cast<std::int64_t>(ByteSum(header.lpData, header.dwBytesUsed));
}
} // namespace

std::intptr_t frmVantu::FrameCallback(CaptureWindow* window, VIDEOHDR* header)
{
    if (Vars.CurrentMode == ModePreview || Vars.CurrentMode == ModeView)
        return 0;

    if (Vars.CurrentMode == ModeMonitor)
        ++framesAnalysed_;
    const std::int64_t byteSum = FrameByteSum(window, *header);
    const DetectorStep step = StepDetector(detector_, byteSum, Vars.Settings.Sensitivity);
    if (step.Restarted)
        ui.StatusBar1->SetText(1, QStringLiteral("Initializing..."));
    if (step.BaselineComplete)
    {
        if (Vars.CurrentMode == ModeMonitor)
        {
            ui.StatusBar1->SetText(1, MonitoringText);
            ShowStatusPicture(StatusPicture::Monitor);
        }
        else if (Vars.CurrentMode == ModeFineTune)
        {
            ui.StatusBar1->SetText(1, QStringLiteral("Tuning..."));
            ShowStatusPicture(StatusPicture::Tune);
            SetTuningVisible(true);
        }
        platform_.Pointer.SetPointer(PointerShape::Default);
    }
    if (step.Compared)
        ui.picMeter->ShowChange(step.Change, Vars.Settings.Sensitivity, step.Detected);
    if (step.Detected)
    {
        Detection();
        // Frames that arrived while a message box inside the detection was open have compared and
        // stored their own sums; this frame's sum is the reference for the next one.
        detector_.LastFrameSum = byteSum;
    }
    return 0;
}

QString frmVantu::MonitorFiguresText() const
{
    if (Vars.CurrentMode != ModeMonitor)
        return {};
    CAPSTATUS status{};
    capGetStatus(Vars.CaptureWindowHandle, &status, sizeof status);
    const std::uint32_t dropped = status.dwCurrentVideoFramesDropped -
                                  std::min(status.dwCurrentVideoFramesDropped, droppedBeforeMonitor_);
    return QStringLiteral("Since Monitor began: %1 frames analysed, %2 dropped")
        .arg(framesAnalysed_)
        .arg(dropped);
}

DetectionServices frmVantu::MakeDetectionServices()
{
    return {platform_.Clock,
            log_,
            [this] { NotifySound(); },
            [this](const QString& imageFile) { NotifyEmail(imageFile); },
            [this]
            {
                InitfilSelections();
                return !unloaded_;
            },
            [this](const QString& path, QString* error)
            { return IsTrue(capFileSaveDIB(Vars.CaptureWindowHandle, path, error)); },
            [this](std::int32_t count)
            { ui.StatusBar1->SetText(3, QStringLiteral("Detections: ") + QString::number(count)); },
            [this](const QString& text) { notice_->ShowText(text); }};
}

void frmVantu::Detection()
{
    detection_.Handle(Vars.CurrentMode == ModeMonitor, storedFileCount_);
}

void frmVantu::NotifySound()
{
    PlayNotifySound(Vars.Settings.NotifyFile, platform_.Sound);
}

void frmVantu::NotifyEmail(const QString& ImageFile)
{
    dispatch_->NotifyEmail(ImageFile);
}

void frmVantu::InternetTimer_Timer()
{
    dispatch_->InternetTimer_Timer();
}
