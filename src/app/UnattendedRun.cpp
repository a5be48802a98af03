#include "app/UnattendedRun.h"

#include "app/frmVantu.h"
#include "capture/window/CaptureWindow.h"
#include "common/Options.h"
#include "ui/DateText.h"
#include "ui/StatusPanels.h"

#include <QAction>
#include <QDesktopServices>
#include <QEvent>
#include <QMenu>
#include <QUrl>

namespace
{
constexpr int PauseMinutes = 30;
constexpr int TrayWaitSeconds = 60;

QString Plural(int count, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}
} // namespace

QString HiddenSummary(int events, int detections, const QDateTime& last)
{
    if (events == 0)
        return QStringLiteral("While hidden: no detections");
    return QStringLiteral("While hidden: %1, %2, the last at %3")
        .arg(Plural(events, "event", "events"), Plural(detections, "detection", "detections"),
             last.time().toString(QStringLiteral("HH:mm")));
}

UnattendedRun::UnattendedRun(frmVantu& window, IClock& clock, QDBusConnection bus, QObject* parent)
    : QObject(parent), window_(window), clock_(clock),
      notifier_({std::move(bus), clock, [&window](const QString& text) { window.WriteLogEntry(text); },
                 [&window](const QString& title, const QString& text)
                 { return window.Tray().ShowMessage(title, text); }}),
      webhook_(clock, [&window](const QString& text) { window.WriteLogEntry(text); })
{
    const frmVantuUi& ui = window_.Ui();
    mnuStartMonitoring_ = new QAction(QStringLiteral("S&tart Monitoring"), ui.mPopup);
    mnuStartMonitoring_->setObjectName(QStringLiteral("mnuStartMonitoring"));
    ui.mPopup->insertAction(ui.mPop[1], mnuStartMonitoring_);
    mnuPauseAlerts_ = new QAction(QStringLiteral("&Pause alerts for 30 minutes"), ui.mPopup);
    mnuPauseAlerts_->setObjectName(QStringLiteral("mnuPauseAlerts"));
    mnuResumeAlerts_ = new QAction(QStringLiteral("&Resume alerts"), ui.mPopup);
    mnuResumeAlerts_->setObjectName(QStringLiteral("mnuResumeAlerts"));
    QAction* separator = ui.mPopup->insertSeparator(ui.mPop[2]);
    ui.mPopup->insertActions(separator, {mnuPauseAlerts_, mnuResumeAlerts_});
    connect(ui.mPopup, &QMenu::aboutToShow, this, &UnattendedRun::UpdateMenu);
    connect(mnuStartMonitoring_, &QAction::triggered, this, &UnattendedRun::MonitorWhenLive);
    connect(mnuPauseAlerts_, &QAction::triggered, this,
            [this]
            {
                window_.Session().Rest().PauseFor(PauseMinutes);
                Refresh();
            });
    connect(mnuResumeAlerts_, &QAction::triggered, this,
            [this]
            {
                window_.Session().Rest().Resume();
                Refresh();
            });

    connect(&notifier_, &DesktopNotifier::ShowRequested, &window_, &frmVantu::BringToFront);
    connect(&notifier_, &DesktopNotifier::PictureRequested, this,
            [](const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); });
    ConnectSession();
    window_.installEventFilter(this);
    // The source's state and the mode change without a report to this side: they are looked at
    // every second.
    refresh_.setInterval(1000);
    connect(&refresh_, &QTimer::timeout, this,
            [this]
            {
                if (trayWait_ > 0 && --trayWait_ >= 0 && window_.Tray().Available() && window_.isMinimized())
                {
                    trayWait_ = 0;
                    window_.Tray().HideToTray();
                }
                Refresh();
            });
    refresh_.start();
}

void UnattendedRun::ConnectSession()
{
    MonitorSession& session = window_.Session();
    connect(&session, &MonitorSession::EventStarted, this,
            [this](const DetectionEvent& event)
            {
                Counted(event);
                const ProgramOptions& options = window_.Options();
                if (options.DesktopNotify)
                    notifier_.EventStarted(event);
                webhook_.EventStarted(event, options.Webhook, options.WebhookToken);
                if (hidden_)
                    ++hidden_->Events;
            });
    connect(&session, &MonitorSession::EventGrew, this,
            [this](const DetectionEvent& event)
            {
                Counted(event);
                notifier_.EventGrew(event);
            });
    connect(&session, &MonitorSession::EventEnded, this,
            [this](const DetectionEvent& event)
            {
                notifier_.EventEnded(event);
                Refresh();
            });
    connect(&session.Rest(), &MonitorRest::RestChanged, this,
            [this](bool resting, const QString& text)
            {
                if (resting)
                    window_.Ui().StatusBar1->SetText(1, text);
                Refresh();
            });
    if (CaptureWindow* capture = window_.CaptureWindowHandle())
    {
        connect(capture, &CaptureWindow::FrameHandedOut, this, &UnattendedRun::TryMonitor);
        connect(capture, &CaptureWindow::FrameWaiting, this, &UnattendedRun::TryMonitor);
    }
}

void UnattendedRun::Counted(const DetectionEvent& event)
{
    ++detectionsSince_;
    if (hidden_)
    {
        ++hidden_->Detections;
        hidden_->Last = event.Last;
    }
    Refresh();
}

void UnattendedRun::MonitorWhenLive()
{
    monitorWanted_ = true;
    TryMonitor();
}

void UnattendedRun::TryMonitor()
{
    CaptureWindow* capture = window_.CaptureWindowHandle();
    if (!monitorWanted_ || capture == nullptr || !capture->Connected() ||
        capture->State().Status != SourceStatus::Live)
        return;
    monitorWanted_ = false;
    if (window_.CurrentMode() == ModeMonitor)
        return;
    // Fine tuning ends the way its own menu item ends it.
    if (window_.CurrentMode() == ModeFineTune)
        window_.Ui().mnuFineTune->trigger();
    window_.ChangeMode(ModeMonitor);
    Refresh();
}

void UnattendedRun::StartHidden()
{
    hidden_ = HiddenTally{};
    window_.Tray().HideToTray();
    trayWait_ = window_.Tray().Available() ? 0 : TrayWaitSeconds;
    Refresh();
}

bool UnattendedRun::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &window_ && event->type() == QEvent::Hide && !hidden_)
        hidden_ = HiddenTally{};
    if (watched == &window_ && event->type() == QEvent::Show && hidden_ && !window_.isMinimized())
    {
        // Told once the window is shown, without a box to answer.
        const HiddenTally tally = *hidden_;
        hidden_.reset();
        window_.ShowNotice(HiddenSummary(tally.Events, tally.Detections, tally.Last));
    }
    return QObject::eventFilter(watched, event);
}

TrayState UnattendedRun::State() const
{
    const CaptureWindow* capture = window_.CaptureWindowHandle();
    if (capture != nullptr && capture->Connected() &&
        (capture->State().Status == SourceStatus::Lost || capture->State().Status == SourceStatus::Ended))
        return TrayState::Lost;
    if (window_.CurrentMode() != ModeMonitor)
        return TrayState::Preview;
    MonitorSession& session = window_.Session();
    if (!session.Rest().StatusText().isEmpty())
        return TrayState::Resting;
    return session.CurrentEvent() ? TrayState::Event : TrayState::Monitoring;
}

QString UnattendedRun::ToolTip() const
{
    switch (State())
    {
    case TrayState::Lost:
        return QStringLiteral("Vantu: no picture from %1").arg(window_.CaptureWindowHandle()->State().Source);
    case TrayState::Preview:
        return QStringLiteral("Vantu: not monitoring");
    case TrayState::Resting:
        return QStringLiteral("Vantu: ") + window_.Session().Rest().StatusText();
    case TrayState::Monitoring:
    case TrayState::Event:
        break;
    }
    return QStringLiteral("Vantu: monitoring, %1 since %2")
        .arg(Plural(detectionsSince_, "detection", "detections"),
             monitorSince_.time().toString(QStringLiteral("HH:mm")));
}

void UnattendedRun::Refresh()
{
    const Mode mode = window_.CurrentMode();
    if (mode == ModeMonitor && lastMode_ != ModeMonitor)
    {
        monitorSince_ = clock_.Now();
        detectionsSince_ = 0;
    }
    lastMode_ = mode;
    const TrayState state = State();
    auto icon = icons_.find(state);
    if (icon == icons_.end())
        icon = icons_.emplace(state, TrayStateIcon(window_.windowIcon(), state)).first;
    window_.Tray().ShowState(icon->second, ToolTip());
}

void UnattendedRun::UpdateMenu()
{
    const bool monitoring = window_.CurrentMode() == ModeMonitor;
    const bool paused = window_.Session().Rest().Paused();
    mnuStartMonitoring_->setVisible(!monitoring);
    mnuPauseAlerts_->setVisible(monitoring && !paused);
    mnuResumeAlerts_->setVisible(paused);
    // Hidden without monitoring (started hidden, or stopped from here), the way out is Exit.
    if (!monitoring)
    {
        window_.Ui().mPop[1]->setEnabled(false);
        window_.Ui().mPop[2]->setEnabled(true);
    }
}
