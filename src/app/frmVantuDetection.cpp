// The main window's side of motion detection: frames in, detections out.

#include "app/ModeScreen.h"
#include "app/frmVantu.h"
#include "capture/modAVICAP.h"
#include "detect/ByteSum.h"
#include "detect/DetectionOutcome.h"
#include "store/DetectionStore.h"
#include "ui/DateText.h"
#include "ui/MousePointer.h"
#include "ui/StatusPanels.h"

#include <QGroupBox>

void frmVantu::GrabTimer_Timer()
{
    capGrabFrame(Vars.CaptureWindowHandle);
}

std::intptr_t frmVantu::FrameCallback(CaptureWindow*, VIDEOHDR* header)
{
    if (Vars.CurrentMode == ModePreview || Vars.CurrentMode == ModeView)
        return 0;

    // The frame is summed where the driver left it.
    const auto byteSum = static_cast<std::int64_t>(ByteSum(header->lpData, header->dwBytesUsed));
    const DetectorStep step = StepDetector(Detector, byteSum, Vars.Settings.Sensitivity);
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
            ui.framSens->show();
        }
        platform_.Pointer.SetPointer(PointerShape::Default);
    }
    if (step.Detected)
    {
        Detection();
        // Frames that arrived while a message box inside the detection was open have compared and
        // stored their own sums; this frame's sum is the reference for the next one.
        Detector.LastFrameSum = byteSum;
    }
    return 0;
}

void frmVantu::Detection()
{
    const SettingsRecord& s = Vars.Settings;
    if (IsTrue(s.SoundNotify))
        NotifySound();
    if (Vars.CurrentMode != ModeMonitor)
        return;

    const std::optional<QString> path = NextImagePath(s.ImageDirectory, StoredFileCount);
    QString message = QStringLiteral("Detection: ") + NowText(platform_.Clock) + QStringLiteral(" : ");

    switch (DecideDetection(StoredFileCount, s.MaxFiles, s.SaveImage))
    {
    case DetectionAction::WriteImage:
        InitfilSelections();
        if (unloaded_)
            return;
        if (!path)
            message += NoFreeNameOutcome;
        else if (IsTrue(capFileSaveDIB(Vars.CaptureWindowHandle, *path)))
        {
            message += *path + QStringLiteral(" written.");
            if (IsTrue(s.EmailNotify))
                NotifyEmail(*path);
        }
        else
            message += SaveFailedOutcome;
        break;
    case DetectionAction::SaveDisabled:
        message += SaveDisabledOutcome;
        break;
    case DetectionAction::LimitReached:
        message += LimitReachedOutcome;
        break;
    }

    ++DetectionCount;
    ui.StatusBar1->SetText(3, QStringLiteral("Detections: ") + QString::number(DetectionCount));
    WriteLogEntry(message);
}

void frmVantu::NotifySound() {}

void frmVantu::NotifyEmail(const QString&) {}
