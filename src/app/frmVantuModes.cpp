// The main window's operating modes: what each mode shows and enables, and fine tuning.

#include "app/ModeScreen.h"
#include "app/frmVantu.h"
#include "capture/modAVICAP.h"
#include "detect/Sensitivity.h"
#include "ui/ChangeMeter.h"
#include "ui/StatusPanels.h"
#include "ui/Twips.h"

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
    {
        InitfilSelections();
        if (unloaded_)
            return;
    }
    ApplyModeScreen(screen);

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
        resize(width(), TwipsToPixels(BrowserWindowHeightTwips));
        resize(TwipsToPixels(BrowserWindowWidthTwips), height());
        LayoutBrowser();
    }
    if (screen.SizeFromVideo)
        ResizeCaptureWindow(lwnd);
    if (screen.MeterVisible)
        PlaceTuningControls();
}

void frmVantu::ApplyModeScreen(const ModeScreen& s)
{
    // Common to every mode.
    ui.mnuPreferences->setEnabled(s.PreferencesEnabled);
    ui.mnuHide->setEnabled(s.HideEnabled);
    ui.mnuFileExit->setEnabled(s.ExitEnabled);
    ui.mnuLogFile->setEnabled(s.LogFileEnabled);
    ui.mPop[2]->setEnabled(false);
    ui.mPop[1]->setEnabled(true);
    ui.mnuDelete->setEnabled(false);
    ui.mnuDetection->menuAction()->setVisible(s.DetectionMenuVisible);
    ui.lblDetectionInfo->setVisible(s.DetectionInfoVisible);
    ui.picMeter->setVisible(s.MeterVisible);

    if (s.ActionText)
        ui.StatusBar1->SetText(1, *s.ActionText);
    ui.StatusBar1->SetText(2, s.ModeText);
    if (s.Picture)
        ShowStatusPicture(*s.Picture);
    if (s.LiveViewVisible)
        SetLiveViewVisible(*s.LiveViewVisible);
    if (s.BrowserVisible)
        SetBrowserVisible(*s.BrowserVisible);

    const auto set = [](const std::optional<bool>& value, QAction* item, void (QAction::*setter)(bool))
    {
        if (value)
            (item->*setter)(*value);
    };
    set(s.PreviewChecked, ui.mnuPreview, &QAction::setChecked);
    set(s.MonitorChecked, ui.mnuMonitor, &QAction::setChecked);
    set(s.MonitorEnabled, ui.mnuMonitor, &QAction::setEnabled);
    set(s.DetectionsChecked, ui.mnuDetections, &QAction::setChecked);
    set(s.DetectionsEnabled, ui.mnuDetections, &QAction::setEnabled);
    set(s.FineTuneChecked, ui.mnuFineTune, &QAction::setChecked);
    set(s.FineTuneEnabled, ui.mnuFineTune, &QAction::setEnabled);
}

void frmVantu::ShowStatusPicture(StatusPicture picture)
{
    switch (picture)
    {
    case StatusPicture::Initial:
        ui.imgStatus->setPixmap(ui.imgStatInital);
        break;
    case StatusPicture::Preview:
        ui.imgStatus->setPixmap(ui.imgStatPreview);
        break;
    case StatusPicture::Monitor:
        ui.imgStatus->setPixmap(ui.imgStatMonitor);
        break;
    case StatusPicture::Tune:
        ui.imgStatus->setPixmap(ui.imgStatTune);
        break;
    }
}

void frmVantu::SetLiveViewVisible(bool visible)
{
    ui.imgStatus->setVisible(visible);
    ui.Frame1->setVisible(visible);
}

void frmVantu::SetBrowserVisible(bool visible)
{
    ui.filDetections->setVisible(visible);
    ui.picDetection->setVisible(visible);
}

void frmVantu::ToggleFineTune()
{
    if (!ui.framSens->isHidden())
    {
        SetTuningVisible(false);
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
    PlaceTuningControls();
    ChangeMode(ModeFineTune);
}

void frmVantu::PlaceTuningControls()
{
    ui.framSens->setGeometry(ui.framSens->x(), ui.Frame1->y(), ui.framSens->width(), ui.Frame1->height());
    // The slider takes the frame's height less room for the frame's caption and border.
    ui.sldSens->resize(ui.sldSens->width(), static_cast<int>(std::lround(ui.framSens->height() * 0.88)));

    // The meter spans the slider's groove, so that its threshold line lies level with the handle.
    constexpr int MeterWidth = 14;
    constexpr int Gap = 2;
    const int handle = ui.sldSens->style()->pixelMetric(QStyle::PM_SliderLength, nullptr, ui.sldSens);
    const QRect slider(ui.framSens->pos() + ui.sldSens->pos(), ui.sldSens->size());
    const QRect meter(ui.framSens->x() - Gap - MeterWidth, slider.top() + handle / 2, MeterWidth,
                      slider.height() - handle);
    ui.picMeter->setGeometry(meter);

    const int labelRight = meter.left() - Gap;
    for (QLabel* end : {ui.lblLessSensitive, ui.lblMoreSensitive})
        end->adjustSize();
    ui.lblLessSensitive->move(labelRight - ui.lblLessSensitive->width(), meter.top());
    ui.lblMoreSensitive->move(labelRight - ui.lblMoreSensitive->width(),
                              meter.bottom() + 1 - ui.lblMoreSensitive->height());
}

void frmVantu::SetTuningVisible(bool visible)
{
    for (QWidget* control : {static_cast<QWidget*>(ui.framSens), static_cast<QWidget*>(ui.lblLessSensitive),
                             static_cast<QWidget*>(ui.lblMoreSensitive)})
        control->setVisible(visible);
}

void frmVantu::sldSens_Scroll()
{
    Vars.Settings.Sensitivity = SensitivityFromSlider(ui.sldSens->value());
    ui.framSens->setTitle(SensitivityText(Vars.Settings.Sensitivity));
}
