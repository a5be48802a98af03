#include "app/frmVantu.h"

#include "app/CaptureLayout.h"
#include "app/ModeScreen.h"
#include "app/frmAbout.h"
#include "capture/CaptureWindow.h"
#include "capture/frmSelect.h"
#include "capture/modAVICAP.h"
#include "detect/ByteSum.h"
#include "detect/DetectionOutcome.h"
#include "detect/Sensitivity.h"
#include "settings/AnsiText.h"
#include "settings/frmPreferences.h"
#include "store/DetectionStore.h"
#include "ui/AppDirectory.h"
#include "ui/DateText.h"
#include "ui/MessageBox.h"
#include "ui/MousePointer.h"
#include "ui/StatusPanels.h"
#include "ui/Twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <cmath>

namespace
{
const QString Monitoring = QStringLiteral("Monitoring...");
}

frmVantu::frmVantu(const VantuPlatform& platform, QWidget* parent)
    : QMainWindow(parent), CommonDialog1(platform.Messages, this), platform_(platform),
      settingsFile_(platform.AppDirectory.Path(), platform.Messages),
      log_(platform.AppDirectory.Path(), Vars.Settings, platform.Messages, [this] { SaveSettings(); }),
      videoErrors_{platform.Messages, [this] { close(); }}
{
    ui.Setup(this);
    ConnectHandlers();
}

frmVantu::~frmVantu() = default;

void frmVantu::ConnectHandlers()
{
    connect(ui.GrabTimer, &QTimer::timeout, this, &frmVantu::GrabTimer_Timer);
    connect(ui.mnuFileExit, &QAction::triggered, this, &frmVantu::mnuFileExit_Click);
    connect(ui.mnuPreferences, &QAction::triggered, this, &frmVantu::mnuPreferences_Click);
    connect(ui.mnuPreview, &QAction::triggered, this, [this] { ChangeMode(ModePreview); });
    connect(ui.mnuMonitor, &QAction::triggered, this, [this] { ChangeMode(ModeMonitor); });
    connect(ui.mnuDetections, &QAction::triggered, this, [this] { ChangeMode(ModeView); });
    connect(ui.mnuFineTune, &QAction::triggered, this, &frmVantu::ToggleFineTune);
    connect(ui.mnuHelpIndex, &QAction::triggered, this, &frmVantu::mnuHelpIndex_Click);
    connect(ui.mnuAbout, &QAction::triggered, this, &frmVantu::mnuAbout_Click);
    connect(ui.mnuDetection, &QMenu::aboutToShow, this, &frmVantu::mnuDetection_Click);
    connect(ui.mnuSelectAll, &QAction::triggered, this, &frmVantu::mnuSelectAll_Click);
    connect(ui.mnuDelete, &QAction::triggered, this, &frmVantu::mnuDelete_Click);
    connect(ui.filDetections, &QListWidget::currentRowChanged, this, &frmVantu::filDetections_Click);
    connect(ui.sldSens, &QSlider::valueChanged, this, &frmVantu::sldSens_Scroll);
    ui.filDetections->viewport()->installEventFilter(this);
}

// ---- Start-up -------------------------------------------------------------------------------------

void frmVantu::Form_Load()
{
    settingsFile_.LoadSettings(Vars.Settings);
    InitfilSelections();
    if (unloaded_)
        return;
    ChangeMode(ModePreview);
    StartCapture();
    if (unloaded_)
        return;
    platform_.Pointer.SetCustomIcon(ui.Image1);
    CommonDialog1.HelpFile = platform_.AppDirectory.File(QStringLiteral("Vantu10.Hlp"));
}

void frmVantu::StartCapture()
{
    ui.StatusBar1->SetText(1, QStringLiteral("Initializing..."));
    char name[100] = {};
    char version[100] = {};
    capGetDriverDescriptionA(0, name, sizeof name, version, sizeof version);
    CaptureWindow* lwnd = capCreateCaptureWindowA(name, WS_CHILD | WS_VISIBLE, 4, 12, 160, 120, ui.Frame1, 0);
    Vars.CaptureWindowHandle = lwnd;
    Vars.Settings.DeviceName = DecodeAnsi(QByteArrayView(name, sizeof name));

    capSetCallbackOnStatus(lwnd, CaptureStatusCallback);
    capSetCallbackOnError(lwnd, [this](CaptureWindow* window, std::int32_t number, const char* text)
                          { return CaptureErrorCallback(videoErrors_, window, number, text); });
    if (!IsTrue(capDriverConnect(lwnd, 0)))
        return;

    CAPDRIVERCAPS caps{};
    capDriverGetCaps(lwnd, &caps, sizeof caps);
    // The preferences dialog loads, hidden, to show which of the driver's dialogs are missing.
    if (caps.fHasDlgVideoSource == 0 || caps.fHasDlgVideoFormat == 0 || caps.fHasDlgVideoDisplay == 0)
        LoadPreferences();

    capPreviewScale(lwnd, True);
    capPreviewRate(lwnd, 1);
    capPreview(lwnd, True);
    ResizeCaptureWindow(lwnd);
    if (!ui.StatusBar1->Text(1).startsWith(QStringLiteral("Error")))
        ui.StatusBar1->SetText(1, QStringLiteral("Previewing..."));
}

void frmVantu::ResizeCaptureWindow(CaptureWindow* lwnd)
{
    CAPSTATUS status{};
    capGetStatus(lwnd, &status, sizeof status);
    if (lwnd != nullptr)
        lwnd->resize(static_cast<int>(status.uiImageWidth), static_cast<int>(status.uiImageHeight));

    const CaptureLayout layout =
        LayoutForVideo(status.uiImageWidth, status.uiImageHeight, static_cast<float>(ui.Frame1->x()),
                       static_cast<float>(ui.Frame1->y()));
    ui.Frame1->resize(static_cast<int>(std::lround(layout.FrameWidth)),
                      static_cast<int>(std::lround(layout.FrameHeight)));
    ui.imgStatus->resize(ui.imgStatus->width(), static_cast<int>(std::lround(layout.StatusPictureHeight)));
    resize(TwipsToPixels(layout.WindowWidthTwips), height());
    resize(width(), TwipsToPixels(layout.WindowHeightTwips));
}

// ---- Operating modes ------------------------------------------------------------------------------

void frmVantu::ChangeMode(std::int16_t NewMode)
{
    Vars.CurrentMode = NewMode;
    Vars.PreviousActionText = ui.StatusBar1->Text(1);
    ui.GrabTimer->stop();

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
    {
        platform_.Pointer.SetPointer(PointerShape::Hourglass);
        Detector.FrameCount = 0;
        capSetCallbackOnFrame(lwnd, [this](CaptureWindow* window, VIDEOHDR* header)
                              { return FrameCallback(window, header); });
    }
    if (NewMode == ModeMonitor)
        WriteLogEntry(QStringLiteral("Entered Monitor Mode: ") + NowText(platform_.Clock));
    if (NewMode == ModePreview)
    {
        if (Vars.PreviousActionText == Monitoring)
            WriteLogEntry(QStringLiteral("Exited Monitor Mode: ") + NowText(platform_.Clock));
        // Monitoring grabs single frames, which ends the live picture; Preview brings it back.
        capPreview(lwnd, True);
    }
    if (screen.BrowserSize)
    {
        ui.picDetection->clear();
        resize(width(), TwipsToPixels(3615));
        resize(TwipsToPixels(5025), height());
    }
    if (screen.SizeFromVideo)
        ResizeCaptureWindow(lwnd);
    if (screen.GrabTimerEnabled)
        ui.GrabTimer->start();
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
        ui.framSens->hide();
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
    ui.framSens->setGeometry(ui.framSens->x(), ui.Frame1->y(), ui.framSens->width(), ui.Frame1->height());
    // The slider takes the frame's height less room for the frame's caption and border.
    ui.sldSens->resize(ui.sldSens->width(), static_cast<int>(std::lround(ui.framSens->height() * 0.88)));
    ChangeMode(ModeFineTune);
}

void frmVantu::sldSens_Scroll()
{
    Vars.Settings.Sensitivity = SensitivityFromSlider(ui.sldSens->value());
    ui.framSens->setTitle(SensitivityText(Vars.Settings.Sensitivity));
}

// ---- Frames and detections ------------------------------------------------------------------------

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
            ui.StatusBar1->SetText(1, Monitoring);
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

// ---- Detection store and browser ------------------------------------------------------------------

void frmVantu::InitfilSelections()
{
    if (!EnsureDetectionsFolder(platform_.AppDirectory.Path()))
    {
        ShowInvalidPathAndUnload();
        return;
    }
    StoredFileCount = 0;
    QString error;
    const QStringList names = ListStoredImages(Vars.Settings.ImageDirectory, &error);
    if (!error.isEmpty())
    {
        ShowInvalidPathAndUnload();
        return;
    }
    {
        const QSignalBlocker refill(ui.filDetections);
        ui.filDetections->clear();
        ui.filDetections->addItems(names);
    }
    StoredFileCount = static_cast<std::int32_t>(names.size());
    ui.mnuSelectAll->setEnabled(StoredFileCount > 0);
}

void frmVantu::ShowInvalidPathAndUnload()
{
    platform_.Messages.Show(QStringLiteral("Invalid Path values in Vantu.Dat.  If problem persists, delete "
                                           "Vantu.Dat and restart application."),
                            MsgBoxStyle::Critical, QStringLiteral("Error!"));
    close();
}

void frmVantu::filDetections_Click()
{
    const QListWidgetItem* current = ui.filDetections->currentItem();
    if (current == nullptr || current->text().isEmpty())
        return;
    ui.mnuDelete->setEnabled(true);
    const QString path = Vars.Settings.ImageDirectory + current->text();
    QPixmap picture;
    if (!picture.load(path))
    {
        platform_.Messages.Show(QStringLiteral("There was an error with this image file.  Please verify it's "
                                               "authenticity, and try again."),
                                MsgBoxStyle::OkOnly, QStringLiteral("Error"));
        return;
    }
    ui.picDetection->setPixmap(picture);
    ui.lblDetectionInfo->setText(QStringLiteral("Created: ") + GeneralDate(QFileInfo(path).lastModified()));
}

void frmVantu::filDetections_MouseDown(Qt::MouseButton button, const QPoint& globalPosition)
{
    if (button == Qt::RightButton)
        ui.mnuDetection->popup(globalPosition);
}

void frmVantu::mnuDetection_Click()
{
    ui.mnuSelectAll->setEnabled(ui.filDetections->count() > 0);
}

void frmVantu::mnuSelectAll_Click()
{
    InitfilSelections();
    if (unloaded_ || ui.filDetections->count() == 0)
        return;
    // Selecting every entry in order leaves the last one current and viewed.
    {
        const QSignalBlocker selecting(ui.filDetections);
        ui.filDetections->selectAll();
        ui.filDetections->setCurrentRow(ui.filDetections->count() - 1, QItemSelectionModel::NoUpdate);
    }
    filDetections_Click();
}

void frmVantu::mnuDelete_Click()
{
    if (Vars.CurrentMode == ModeView)
        DeleteCurrentFile();
}

void frmVantu::DeleteCurrentFile()
{
    QStringList failures;
    const QListWidgetItem* current = ui.filDetections->currentItem();
    if (current != nullptr && !current->text().isEmpty())
    {
        const int last = ui.filDetections->currentRow();
        for (int row = 0; row <= last; ++row)
        {
            const QListWidgetItem* entry = ui.filDetections->item(row);
            if (!entry->isSelected())
                continue;
            QFile file(Vars.Settings.ImageDirectory + entry->text());
            if (file.exists() && !file.remove())
                failures << QStringLiteral("%1 (%2)").arg(entry->text(), file.errorString());
        }
    }
    ui.mnuDelete->setEnabled(false);
    InitfilSelections();
    if (unloaded_)
        return;
    ui.picDetection->clear();
    ui.lblDetectionInfo->setText(QString());
    if (!failures.isEmpty())
        platform_.Messages.Show(QStringLiteral("These images could not be deleted:\r") +
                                    failures.join(QChar('\r')),
                                MsgBoxStyle::Exclamation);
}

// ---- Menus, help and shutdown ---------------------------------------------------------------------

void frmVantu::mnuFileExit_Click()
{
    close();
}

void frmVantu::mnuHelpIndex_Click()
{
    CommonDialog1.HelpCommand = CommonDialog::cdlHelpIndex;
    CommonDialog1.ShowHelp();
}

void frmVantu::mnuAbout_Click()
{
    frmAbout about(this);
    about.exec();
}

void frmVantu::mnuPreferences_Click()
{
    frmPreferences& preferences = LoadPreferences();
    // A dialog loaded hidden earlier shows the values of now, not those of its loading.
    preferences.Form_Load();
    preferences.exec();
    UnloadPreferences();
}

frmPreferences& frmVantu::LoadPreferences()
{
    if (!preferences_)
    {
        preferences_ = new frmPreferences({Vars, [this] { SaveSettings(); },
                                           [this] { ResizeCaptureWindow(Vars.CaptureWindowHandle); },
                                           [this] { ShowSelect(); }},
                                          this);
        preferences_->Form_Load();
        CAPDRIVERCAPS caps{};
        if (IsTrue(capDriverGetCaps(Vars.CaptureWindowHandle, &caps, sizeof caps)))
            preferences_->DisableMissingDriverDialogs(caps);
    }
    return *preferences_;
}

namespace
{
// A dialog still running its own modal loop (a video error can end the program from inside it) is
// closed and deleted once that loop has returned.
template <typename Dialog> void UnloadDialog(QPointer<Dialog>& loaded)
{
    Dialog* dialog = loaded;
    loaded = nullptr;
    if (dialog == nullptr)
        return;
    if (dialog->isVisible())
    {
        dialog->done(QDialog::Rejected);
        dialog->deleteLater();
    }
    else
        delete dialog;
}
} // namespace

void frmVantu::UnloadPreferences()
{
    if (preferences_)
        preferences_->Form_Unload();
    UnloadDialog(preferences_);
}

void frmVantu::ShowSelect()
{
    if (!select_)
    {
        select_ = new frmSelect(Vars, LoadPreferences(), this);
        select_->Form_Load();
    }
    select_->exec();
    UnloadSelect();
}

void frmVantu::UnloadSelect()
{
    UnloadDialog(select_);
}

void frmVantu::SaveSettings()
{
    settingsFile_.SaveSettings(Vars.Settings);
}

void frmVantu::WriteLogEntry(const QString& text)
{
    log_.WriteLogEntry(text);
}

void frmVantu::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void frmVantu::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    ui.GrabTimer->stop();
    ui.InternetTimer->stop();

    CaptureWindow* lwnd = Vars.CaptureWindowHandle;
    capSetCallbackOnError(lwnd, {});
    capSetCallbackOnStatus(lwnd, {});
    capSetCallbackOnYield(lwnd, {});
    capSetCallbackOnFrame(lwnd, {});
    capSetCallbackOnVideoStream(lwnd, {});
    capSetCallbackOnWaveStream(lwnd, {});
    capSetCallbackOnCapControl(lwnd, {});
    UnloadPreferences();
    UnloadSelect();
}

void frmVantu::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    ui.Line1->resize(width(), ui.Line1->height());
}

bool frmVantu::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui.filDetections->viewport() && event->type() == QEvent::MouseButtonPress)
    {
        const auto* press = static_cast<QMouseEvent*>(event);
        filDetections_MouseDown(press->button(), press->globalPosition().toPoint());
    }
    return QMainWindow::eventFilter(watched, event);
}
