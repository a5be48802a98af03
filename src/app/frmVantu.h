#pragma once

#include "app/DetectionBrowser.h"
#include "app/LiveViewPlacement.h"
#include "app/VantuPlatform.h"
#include "app/frmVantuUi.h"
#include "app/modVantuVars.h"
#include "capture/avicap.h"
#include "capture/frmSelect.h"
#include "capture/modMemCap.h"
#include "common/OptionsFile.h"
#include "log/LogWriter.h"
#include "monitor/MonitorSession.h"
#include "settings/SettingsFile.h"
#include "settings/frmPreferences.h"
#include "shell/TrayAPI.h"
#include "ui/CommonDialog.h"
#include "ui/Notice.h"

#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <memory>

// The main window: start-up, the operating modes, the live view, the detection browser, the menus
// and the shutdown. Its handlers are short; the work is done by the classes they call.
class frmVantu : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmVantu(const VantuPlatform& platform, QWidget* parent = nullptr);
    ~frmVantu() override;

    // The start-up sequence; the window is shown afterwards unless it was unloaded on the way.
    void Form_Load();
    bool IsUnloaded() const { return unloaded_; }
    // Why the program ended because of an error; empty when it ended normally.
    const QString& ExitReason() const { return exitReason_; }
    // Shows the window in front of the others, also when it hides in the notification area.
    void BringToFront();

    void ChangeMode(Mode NewMode);
    void ResizeCaptureWindow(CaptureWindow* lwnd);
    void InitfilSelections();
    void DeleteCurrentFile();

    void SaveSettings();
    // Writes the options into "Vantu.Options"; a failure is told as a notice.
    void SaveOptions();
    void WriteLogEntry(const QString& text);

    // The preferences dialog, loaded (hidden) when it is not loaded yet.
    frmPreferences& LoadPreferences();
    // Unloads the preferences dialog when it is loaded; its unload saves the settings.
    void UnloadPreferences();
    // The preferences and driver selection dialogs while they are loaded, else null.
    frmPreferences* Preferences() const { return preferences_; }
    frmSelect* Select() const { return select_; }

    // The window's controls, for reading and triggering them; the window alone changes its state.
    const frmVantuUi& Ui() const { return ui; }
    // The settings as the program uses them now; the preferences dialog changes them.
    SettingsRecord& Settings() { return Vars.Settings; }
    // The options beyond the classic behaviour as the program uses them now.
    ProgramOptions& Options() { return options_; }
    const SettingsRecord& Settings() const { return Vars.Settings; }
    Mode CurrentMode() const { return Vars.CurrentMode; }
    CaptureWindow* CaptureWindowHandle() const { return Vars.CaptureWindowHandle; }
    // The monitoring path: detector, detections, stored images, mail.
    MonitorSession& Session() { return session_; }
    const MonitorSession& Session() const { return session_; }
    const CommonDialog& CommonDialog1() const { return commonDialog1_; }
    // The tray icon and its menu's handling.
    TrayAPI& Tray() { return *tray_; }
    // Tells the user something over the live view, without a box to answer.
    void ShowNotice(const QString& text) { notice_->ShowText(text); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectHandlers();
    MonitorSession::Ports MonitorPorts();
    // Binds the monitoring path's reports to the status bar, the meter and the notice.
    void ConnectSession();
    void ShowPhase(MonitorPhase phase);
    void StartCapture();
    // Routes the capture window's reports: its messages, log lines and size changes.
    void ConnectCaptureWindow(CaptureWindow& window);
    // The detections panel's tool tip while monitoring: frames analysed and dropped since Monitor began.
    QString MonitorFiguresText() const;
    // The window's place on the screen, kept for the next start.
    void SaveWindowPosition();
    void ToggleFineTune();
    // InitfilSelections, filling the list only when fillList is set.
    void RefreshStoredImages(bool fillList);
    void EndWithError(const QString& reason);
    // Asks before the window's close button ends monitoring; false keeps the program running.
    bool ConfirmQuitWhileMonitoring();
    void Form_Unload();

    void mnuHide_Click();
    void HideToTray();
    void mPop_Click(int Index);
    void mnuLogFile_Click();

    void ShowSelect();
    void SelectDriver_Selected(const QString& name, const CAPDRIVERCAPS& caps);
    void UnloadSelect();

    void mnuFileExit_Click();
    void mnuPreferences_Click();
    void mnuHelpIndex_Click();
    void mnuAbout_Click();
    void mnuDetection_Click();
    void mnuSelectAll_Click();
    void mnuDelete_Click();
    void filDetections_Click();
    void filDetections_MouseDown(Qt::MouseButton button, const QPoint& globalPosition);
    void sldSens_Scroll();

    frmVantuUi ui;
    modVantuVars Vars;
    LiveViewPlacement placement_{*this, ui};
    CommonDialog commonDialog1_;
    VantuPlatform platform_;
    OptionsFile optionsFile_;
    ProgramOptions options_;
    MonitorSession session_;
    SettingsFile settingsFile_;
    LogWriter log_;
    VideoErrorSink videoErrors_;
    QPointer<frmPreferences> preferences_;
    QPointer<frmSelect> select_;
    std::unique_ptr<DetectionBrowser> browser_;
    Notice* notice_ = nullptr;
    TrayAPI* tray_ = nullptr;
    bool unloaded_ = false;
    QString exitReason_;
};
