#pragma once

#include "shell/Autostart.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
struct PreferencesLinks;

// The "Alerts" tab: watching unattended. Starting with the desktop, the schedule, the desktop
// notification and the web address each event's picture is posted to. A text is taken into the options
// only while it is valid; an invalid one is shown in red and never stored.
class AlertsTab final : public QWidget
{
    Q_OBJECT

public:
    AlertsTab(PreferencesLinks& links, Autostart autostart, QWidget* parent);

    // Shows the options and whether the autostart entry is there.
    void Fill();

    QCheckBox* chkAutostart;
    QLineEdit* txtSchedule;
    QLabel* lblScheduleProblem;
    QCheckBox* chkDesktopNotify;
    QLineEdit* txtWebhook;
    QLineEdit* txtWebhookToken;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void chkAutostart_Click();
    // Takes the box's text into the option key when it is a value of the key; marks it red when not.
    void TakeText(QLineEdit* box, const QString& key, QLabel* problem);

    PreferencesLinks& links_;
    Autostart autostart_;
};
