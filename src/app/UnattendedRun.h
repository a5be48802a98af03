#pragma once

#include "monitor/EventTracker.h"
#include "monitor/Mode.h"
#include "notify/DesktopNotifier.h"
#include "notify/WebhookPush.h"
#include "shell/TrayPictures.h"

#include <QDBusConnection>
#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <map>
#include <optional>

class IClock;
class QAction;
class frmVantu;

// The main window's side of watching unattended: monitoring at start or on request as soon as the
// picture is live, starting hidden, the tray icon's state and extra items, the desktop notification
// and the web post of each event, the schedule's status and the summary of what happened while the
// window was hidden.
class UnattendedRun final : public QObject
{
    Q_OBJECT

public:
    UnattendedRun(frmVantu& window, IClock& clock, QDBusConnection bus, QObject* parent = nullptr);

    // Enters Monitor mode once the picture is live (at once when it is).
    void MonitorWhenLive();
    // Hides the window in the notification area, or minimizes it where there is none; a notification
    // area that appears within a while (the desktop starts it after the programs it starts at login)
    // then takes the window.
    void StartHidden();

    DesktopNotifier& Notifier() { return notifier_; }
    WebhookPush& Webhook() { return webhook_; }
    // Brings the tray icon's picture and tool tip up to date; a timer does it every second.
    void Refresh();
    // What the tray icon shows.
    TrayState State() const;
    QString ToolTip() const;
    // The tray popup's items added here.
    QAction* StartMonitoringItem() const { return mnuStartMonitoring_; }
    QAction* PauseAlertsItem() const { return mnuPauseAlerts_; }
    QAction* ResumeAlertsItem() const { return mnuResumeAlerts_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectSession();
    void TryMonitor();
    void UpdateMenu();
    void Counted(const DetectionEvent& event);

    // What happened while the window was hidden.
    struct HiddenTally
    {
        int Events = 0;
        int Detections = 0;
        QDateTime Last;
    };

    frmVantu& window_;
    IClock& clock_;
    DesktopNotifier notifier_;
    WebhookPush webhook_;
    QAction* mnuStartMonitoring_ = nullptr;
    QAction* mnuPauseAlerts_ = nullptr;
    QAction* mnuResumeAlerts_ = nullptr;
    QTimer refresh_;
    bool monitorWanted_ = false;
    // Seconds left to wait for a notification area to hide in.
    int trayWait_ = 0;
    Mode lastMode_ = ModePreview;
    QDateTime monitorSince_;
    int detectionsSince_ = 0;
    std::optional<HiddenTally> hidden_;
    std::map<TrayState, QIcon> icons_;
};
// "While hidden: 3 events, 27 detections, the last at 14:32".
QString HiddenSummary(int events, int detections, const QDateTime& last);
