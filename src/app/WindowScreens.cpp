#include "app/WindowScreens.h"

#include "app/frmVantuUi.h"
#include "ui/ChangeMeter.h"
#include "ui/StatusPanels.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <algorithm>
#include <cmath>

namespace
{
void SetLiveViewVisible(frmVantuUi& ui, bool visible)
{
    ui.imgStatus->setVisible(visible);
    ui.Frame1->setVisible(visible);
}

void SetBrowserVisible(frmVantuUi& ui, bool visible)
{
    ui.filDetections->setVisible(visible);
    ui.picDetection->setVisible(visible);
}

} // namespace

void ShowModeScreen(frmVantuUi& ui, const ModeScreen& s)
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
        ShowStatusPicture(ui, *s.Picture);
    if (s.LiveViewVisible)
        SetLiveViewVisible(ui, *s.LiveViewVisible);
    if (s.BrowserVisible)
        SetBrowserVisible(ui, *s.BrowserVisible);

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

void ShowStatusPicture(frmVantuUi& ui, StatusPicture picture)
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

namespace
{
constexpr int MeterWidth = 14;
constexpr int Gap = 2;

int WidestEndLabel(const frmVantuUi& ui)
{
    int widest = std::max(ui.lblLessSensitive->sizeHint().width(), ui.lblMoreSensitive->sizeHint().width());
    for (QWidget* control : MaskControls(ui))
        if (control != ui.lblMaskHint)
            widest = std::max(widest, control->sizeHint().width());
    return widest;
}

// Stacks the mask's controls in the middle of the room between the labels of the slider's ends.
void PlaceMaskControls(frmVantuUi& ui, int left)
{
    const std::vector<QWidget*> controls = MaskControls(ui);
    if (controls.empty())
        return;
    const int width = WidestEndLabel(ui);
    int height = 0;
    for (QWidget* control : controls)
    {
        const int tall =
            control->hasHeightForWidth() ? control->heightForWidth(width) : control->sizeHint().height();
        control->resize(width, tall);
        height += tall + Gap;
    }
    const int top = ui.lblLessSensitive->geometry().bottom() + 1;
    const int bottom = ui.lblMoreSensitive->y();
    int y = top + std::max(0, (bottom - top - height) / 2);
    for (QWidget* control : controls)
    {
        control->move(left, y);
        y += control->height() + Gap;
    }
}
} // namespace

std::vector<QWidget*> MaskControls(const frmVantuUi& ui)
{
    std::vector<QWidget*> controls;
    for (QWidget* control : {static_cast<QWidget*>(ui.lblMaskHint), static_cast<QWidget*>(ui.chkShowChanges),
                             static_cast<QWidget*>(ui.cmdClearMask)})
        if (control != nullptr)
            controls.push_back(control);
    return controls;
}

int TuningColumnWidth(const frmVantuUi& ui)
{
    if (ui.framSens->isHidden())
        return 0;
    return Gap + MeterWidth + Gap + ui.framSens->width() + Gap + WidestEndLabel(ui) + Gap;
}

void PlaceTuningControls(frmVantuUi& ui)
{
    const QRect live = ui.Frame1->geometry();
    if (ui.framSens->isHidden())
    {
        // Monitoring, or tuning before the baseline: the meter stands in the gap between the status
        // picture and the live view.
        const int left = ui.imgStatus->geometry().right() + 1 + 1;
        ui.picMeter->setGeometry(left, ui.imgStatus->y(), std::max(3, live.left() - 1 - left),
                                 ui.imgStatus->height());
        return;
    }
    // The tuning column right of the live view: the meter, the slider's frame and the labels of the
    // slider's ends, so that nothing covers the status picture or the picture.
    ui.framSens->setGeometry(live.right() + 1 + Gap + MeterWidth + Gap, live.top(), ui.framSens->width(),
                             live.height());
    // The slider takes the frame's height less room for the frame's caption and border.
    ui.sldSens->resize(ui.sldSens->width(), static_cast<int>(std::lround(ui.framSens->height() * 0.88)));

    // The meter spans the slider's groove, so that its threshold line lies level with the handle.
    const int handle = ui.sldSens->style()->pixelMetric(QStyle::PM_SliderLength, nullptr, ui.sldSens);
    const QRect slider(ui.framSens->pos() + ui.sldSens->pos(), ui.sldSens->size());
    const QRect meter(live.right() + 1 + Gap, slider.top() + handle / 2, MeterWidth,
                      slider.height() - handle);
    ui.picMeter->setGeometry(meter);

    const int labelLeft = ui.framSens->geometry().right() + 1 + Gap;
    for (QLabel* end : {ui.lblLessSensitive, ui.lblMoreSensitive})
        end->adjustSize();
    ui.lblLessSensitive->move(labelLeft, meter.top());
    ui.lblMoreSensitive->move(labelLeft, meter.bottom() + 1 - ui.lblMoreSensitive->height());
    PlaceMaskControls(ui, labelLeft);
}

void SetTuningVisible(frmVantuUi& ui, bool visible)
{
    for (QWidget* control : {static_cast<QWidget*>(ui.framSens), static_cast<QWidget*>(ui.lblLessSensitive),
                             static_cast<QWidget*>(ui.lblMoreSensitive)})
        control->setVisible(visible);
    for (QWidget* control : MaskControls(ui))
        control->setVisible(visible);
    PlaceTuningControls(ui);
}
