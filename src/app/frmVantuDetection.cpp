// The main window's side of monitoring: the session that turns frames into detections, and what the
// window shows of it.

#include "app/WindowScreens.h"
#include "app/frmVantu.h"
#include "capture/modAVICAP.h"
#include "ui/ChangeMeter.h"
#include "ui/Notice.h"
#include "ui/StatusPanels.h"

#include <QGroupBox>

MonitorSession::Ports frmVantu::MonitorPorts()
{
    return {Vars.Settings,
            options_,
            platform_.Clock,
            platform_.Messages,
            platform_.Pointer,
            platform_.Sound,
            platform_.Mail,
            platform_.Connection,
            [this](const QString& text) { WriteLogEntry(text); },
            [this] { capGrabFrame(Vars.CaptureWindowHandle); },
            [this](const QString& path, QString* error)
            { return IsTrue(capFileSaveDIB(Vars.CaptureWindowHandle, path, error)); },
            [this]
            {
                CAPSTATUS status{};
                capGetStatus(Vars.CaptureWindowHandle, &status, sizeof status);
                return static_cast<std::uint64_t>(status.dwCurrentVideoFramesDropped);
            }};
}

void frmVantu::ConnectSession()
{
    connect(&session_, &MonitorSession::PhaseChanged, this, &frmVantu::ShowPhase);
    connect(&session_, &MonitorSession::ChangeMeasured, this,
            [this](double change, bool detected)
            { ui.picMeter->ShowChange(change, Vars.Settings.Sensitivity, detected); });
    connect(&session_, &MonitorSession::DetectionCounted, this,
            [this](std::int32_t count)
            { ui.StatusBar1->SetText(3, QStringLiteral("Detections: ") + QString::number(count)); });
    connect(&session_, &MonitorSession::NoticeRaised, this,
            [this](const QString& text) { notice_->ShowText(text); });
}

void frmVantu::ShowPhase(MonitorPhase phase)
{
    if (phase == MonitorPhase::Idle)
        return;
    ui.StatusBar1->SetText(1, PhaseText(phase));
    if (phase == MonitorPhase::Monitoring)
        ShowStatusPicture(ui, StatusPicture::Monitor);
    if (phase == MonitorPhase::Tuning)
    {
        ShowStatusPicture(ui, StatusPicture::Tune);
        SetTuningVisible(ui, true);
        ResizeCaptureWindow(Vars.CaptureWindowHandle); // room for the tuning column
    }
}

QString frmVantu::MonitorFiguresText() const
{
    if (Vars.CurrentMode != ModeMonitor)
        return {};
    return QStringLiteral("Since Monitor began: %1 frames analysed, %2 dropped")
        .arg(session_.FramesAnalysed())
        .arg(session_.FramesDropped());
}
