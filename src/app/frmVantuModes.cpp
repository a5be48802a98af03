// The main window's operating modes: what each mode shows and enables, and fine tuning.

#include "app/WindowScreens.h"
#include "app/frmVantu.h"
#include "capture/modAVICAP.h"
#include "detect/Sensitivity.h"
#include "ui/ChangeMeter.h"
#include "ui/StatusPanels.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <cmath>

void frmVantu::ChangeMode(Mode NewMode)
{
    Vars.CurrentMode = NewMode;
    Vars.PreviousActionText = ui.StatusBar1->Text(1);

    const ModeScreen screen = ScreenForMode(NewMode);
    if (NewMode == ModeView)
        InitfilSelections();
    ShowModeScreen(ui, screen);

    CaptureWindow* lwnd = Vars.CaptureWindowHandle;
    if (screen.RestartDetector)
        ui.picMeter->Reset();
    session_.ModeChanged(NewMode);
    // Monitoring grabs single frames, which ends the live picture; Preview brings it back.
    if (NewMode == ModePreview)
        capPreview(lwnd, True);
    if (screen.BrowserSize)
    {
        ui.picDetection->clear();
        browser_->PlaceWindow();
    }
    if (screen.SizeFromVideo)
        ResizeCaptureWindow(lwnd);
    if (screen.MeterVisible)
        PlaceTuningControls(ui);
}

void frmVantu::ToggleFineTune()
{
    if (!ui.framSens->isHidden())
    {
        SetTuningVisible(ui, false);
        ui.mnuFineTune->setChecked(false);
        ui.mnuDetections->setEnabled(true);
        ui.mnuMonitor->setEnabled(true);
        ui.mnuPreferences->setEnabled(true);
        ui.StatusBar1->SetText(1, Vars.PreviousActionText);
        ChangeMode(ModePreview);
        return;
    }
    {
        const QSignalBlocker programmatic(ui.sldSens);
        ui.sldSens->setValue(SliderFromSensitivity(Vars.Settings.Sensitivity));
    }
    ui.framSens->setTitle(SensitivityText(Vars.Settings.Sensitivity));
    PlaceTuningControls(ui);
    ChangeMode(ModeFineTune);
}

void frmVantu::sldSens_Scroll()
{
    Vars.Settings.Sensitivity = SensitivityFromSlider(ui.sldSens->value());
    ui.framSens->setTitle(SensitivityText(Vars.Settings.Sensitivity));
}
