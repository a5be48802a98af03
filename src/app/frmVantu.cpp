#include "app/frmVantu.h"

#include "app/FineTuningTools.h"
#include "app/WindowScreens.h"
#include "app/frmAbout.h"
#include "capture/modAVICAP.h"
#include "capture/window/CaptureWindow.h"
#include "common/AnsiText.h"
#include "notify/SoundPlayer.h"
#include "ui/AppDirectory.h"
#include "ui/ChangeMeter.h"
#include "ui/DateText.h"
#include "ui/MessageBox.h"
#include "ui/MousePointer.h"
#include "ui/StatusPanels.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QSlider>

frmVantu::frmVantu(const VantuPlatform& platform, QWidget* parent)
    : QMainWindow(parent), commonDialog1_(platform.Messages, this), platform_(platform),
      optionsFile_(platform.AppDirectory.File(QStringLiteral("Vantu.Options"))),
      options_(optionsFile_.Current()), session_(MonitorPorts()),
      settingsFile_(platform.AppDirectory.Path(), platform.Messages,
                    platform.AppDirectory.Resource(QStringLiteral("Notify.Wav"))),
      log_(platform.AppDirectory.Path(), Vars.Settings, session_.Boxes(), [this] { SaveSettings(); }),
      videoErrors_{platform.Messages, [this](const QString& reason) { EndWithError(reason); }}
{
    ui.Setup(this);
    browser_ = std::make_unique<DetectionBrowser>(
        DetectionBrowser::Controls{*ui.filDetections, *ui.picDetection, *ui.lblDetectionInfo},
        [this] { return Vars.Settings.ImageDirectory; }, [this] { return Vars.CurrentMode == ModeView; },
        platform_.Messages, *this);
    notice_ = new Notice(ui.Frame1);
    browser_->SetNotice([over = new Notice(ui.picDetection)](const QString& text) { over->ShowText(text); });
    tray_ = new TrayAPI(
        {*this, *ui.mPopup, ui.mPop, [this] { ChangeMode(ModePreview); }, [this] { close(); }}, this);
    log_.SetFailureNotice([this](const QString& text) { notice_->ShowText(text); });
    platform_.Sound.SetNotice([this](const QString& text) { notice_->ShowText(text); });
    new FineTuningTools({ui, session_, options_, [this] { SaveOptions(); },
                         platform_.AppDirectory.File(QStringLiteral("Mask.png")), *notice_},
                        this);
    ConnectHandlers();
}

frmVantu::~frmVantu() = default;

void frmVantu::ConnectHandlers()
{
    ConnectSession();
    connect(ui.mnuFileExit, &QAction::triggered, this, &frmVantu::mnuFileExit_Click);
    connect(ui.mnuPreferences, &QAction::triggered, this, &frmVantu::mnuPreferences_Click);
    connect(ui.mnuHide, &QAction::triggered, this, &frmVantu::mnuHide_Click);
    connect(ui.mnuLogFile, &QAction::triggered, this, &frmVantu::mnuLogFile_Click);
    for (int index = 0; index < static_cast<int>(ui.mPop.size()); ++index)
        connect(ui.mPop[static_cast<std::size_t>(index)], &QAction::triggered, this,
                [this, index] { mPop_Click(index); });
    connect(ui.mnuPreview, &QAction::triggered, this, [this] { ChangeMode(ModePreview); });
    connect(ui.mnuMonitor, &QAction::triggered, this, [this] { ChangeMode(ModeMonitor); });
    connect(ui.mnuDetections, &QAction::triggered, this, [this] { ChangeMode(ModeView); });
    connect(ui.mnuFineTune, &QAction::triggered, this, &frmVantu::ToggleFineTune);
    connect(ui.mnuHelpIndex, &QAction::triggered, this, &frmVantu::mnuHelpIndex_Click);
    connect(ui.mnuAbout, &QAction::triggered, this, &frmVantu::mnuAbout_Click);
    connect(ui.mnuDetection, &QMenu::aboutToShow, this, &frmVantu::mnuDetection_Click);
    connect(ui.mnuSelectAll, &QAction::triggered, this, &frmVantu::mnuSelectAll_Click);
    connect(ui.mnuDelete, &QAction::triggered, this, &frmVantu::mnuDelete_Click);
    connect(browser_.get(), &DetectionBrowser::EntryChosen, this, &frmVantu::filDetections_Click);
    connect(ui.sldSens, &QSlider::valueChanged, this, &frmVantu::sldSens_Scroll);
    ui.filDetections->viewport()->installEventFilter(this);
}

void frmVantu::Form_Load()
{
    settingsFile_.LoadSettings(Vars.Settings);
    if (const QStringList problems = optionsFile_.TakeProblems(); !problems.isEmpty())
        notice_->ShowText(problems.join(QChar('\n')));
    InitfilSelections();
    ChangeMode(ModePreview);
    StartCapture();
    if (unloaded_)
        return;
    platform_.Pointer.SetCustomIcon(ui.Image1);
    commonDialog1_.HelpFile = platform_.AppDirectory.Resource(QStringLiteral("Vantu10.Hlp"));
}

void frmVantu::StartCapture()
{
    ui.StatusBar1->SetText(1, QStringLiteral("Initializing..."));
    char name[100] = {};
    char version[100] = {};
    capGetDriverDescriptionA(0, name, sizeof name, version, sizeof version);
    CaptureWindow* lwnd = capCreateCaptureWindowA(name, WS_CHILD | WS_VISIBLE, 4, 12, 160, 120, ui.Frame1, 0);
    if (lwnd != nullptr)
        ConnectCaptureWindow(*lwnd);
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
    lwnd->RestoreDisplayOptions();
    ResizeCaptureWindow(lwnd);
    placement_.RestorePosition();
    if (!ui.StatusBar1->Text(1).startsWith(QStringLiteral("Error")))
        ui.StatusBar1->SetText(1, QStringLiteral("Previewing..."));
}

void frmVantu::ConnectCaptureWindow(CaptureWindow& window)
{
    window.SetMessageBox(platform_.Messages);
    connect(&window, &CaptureWindow::FrameHandedOut, &session_, &MonitorSession::FrameCallback);
    connect(&window, &CaptureWindow::FrameWaiting, &session_, &MonitorSession::FrameWaiting);
    // The source's losses, returns and ends go to the log; a picture of another size resizes the view.
    connect(&window, &CaptureWindow::SourceLogEntry, this,
            [this](const QString& text) { WriteLogEntry(text + NowText(platform_.Clock)); });
    connect(&window, &CaptureWindow::FrameSizeChanged, this,
            [this] { ResizeCaptureWindow(Vars.CaptureWindowHandle); });
    ui.StatusBar1->SetToolTipSource(3, [this] { return MonitorFiguresText(); });
}

void frmVantu::ResizeCaptureWindow(CaptureWindow* lwnd)
{
    placement_.FitToVideo(lwnd);
    if (!ui.picMeter->isHidden())
        PlaceTuningControls(ui);
}

void frmVantu::SaveWindowPosition()
{
    if (QString error; !placement_.SavePosition(&error))
        WriteLogEntry(QStringLiteral("Could not keep the window's position for the next start: ") + error +
                      QStringLiteral(" : ") + NowText(platform_.Clock));
}

void frmVantu::mnuFileExit_Click()
{
    close();
}

void frmVantu::mnuHelpIndex_Click()
{
    commonDialog1_.HelpCommand = CommonDialog::cdlHelpIndex;
    commonDialog1_.ShowHelp();
}

void frmVantu::mnuAbout_Click()
{
    frmAbout about(platform_.AppDirectory.Path(), this);
    about.exec();
}

void frmVantu::SaveSettings()
{
    settingsFile_.SaveSettings(Vars.Settings);
}

void frmVantu::SaveOptions()
{
    if (QString error; !optionsFile_.Save(options_, &error))
        notice_->ShowText(QStringLiteral("The options could not be saved to %1: %2")
                              .arg(QDir::toNativeSeparators(optionsFile_.Path()), error));
}

void frmVantu::WriteLogEntry(const QString& text)
{
    log_.WriteLogEntry(text);
}

void frmVantu::EndWithError(const QString& reason)
{
    if (exitReason_.isEmpty())
        exitReason_ = reason;
    close();
}

void frmVantu::closeEvent(QCloseEvent* event)
{
    if (!ConfirmQuitWhileMonitoring())
    {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

bool frmVantu::ConfirmQuitWhileMonitoring()
{
    // File, Exit and the tray's Exit are off while monitoring; the window's close button asks first,
    // and offers to hide instead where the desktop has a notification area.
    if (unloaded_ || !exitReason_.isEmpty() || Vars.CurrentMode != ModeMonitor)
        return true;
    const bool tray = tray_->Available();
    QString prompt = QStringLiteral("Vantu is monitoring. Stop monitoring and quit?");
    if (tray)
        prompt += QStringLiteral("\r\rNo hides Vantu in the notification area, where it goes on monitoring.");
    if (platform_.Messages.Show(prompt, MsgBoxStyle::YesNo | MsgBoxStyle::Question) != MsgBoxResult::Yes)
    {
        if (tray)
            HideToTray();
        return false;
    }
    WriteLogEntry(QStringLiteral("Exited Monitor Mode: ") + NowText(platform_.Clock));
    return true;
}

void frmVantu::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    SaveWindowPosition();
    session_.Stop();

    CaptureWindow* lwnd = Vars.CaptureWindowHandle;
    capSetCallbackOnError(lwnd, {});
    capSetCallbackOnStatus(lwnd, {});
    capSetCallbackOnYield(lwnd, {});
    capSetCallbackOnFrame(lwnd, {});
    capSetCallbackOnVideoStream(lwnd, {});
    capSetCallbackOnWaveStream(lwnd, {});
    capSetCallbackOnCapControl(lwnd, {});
    tray_->RemoveTrayIcon();
    UnloadPreferences();
    UnloadSelect();
}

void frmVantu::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    ui.Line1->resize(width(), ui.Line1->height());
    browser_->Layout(size());
    placement_.FitToWindow(Vars.CaptureWindowHandle);
    if (!ui.picMeter->isHidden())
        PlaceTuningControls(ui);
}

bool frmVantu::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui.filDetections->viewport() && event->type() == QEvent::MouseButtonPress)
    {
        const auto* press = static_cast<QMouseEvent*>(event);
        filDetections_MouseDown(press->button(), press->globalPosition().toPoint());
        // A right click opens the menu for the entries as they are: the current entry and the
        // selection stay.
        if (press->button() == Qt::RightButton)
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
