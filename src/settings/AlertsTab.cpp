#include "settings/AlertsTab.h"

#include "common/Options.h"
#include "common/Schedule.h"
#include "settings/PreferencesLinks.h"
#include "settings/TextRules.h"
#include "ui/MessageBox.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

namespace
{
const OptionKey& KeyNamed(const QString& name)
{
    const std::vector<OptionKey>& keys = OptionKeys();
    return *std::find_if(keys.begin(), keys.end(), [&name](const OptionKey& key) { return key.Key == name; });
}

void SetChecked(QCheckBox* box, bool checked)
{
    const QSignalBlocker filling(box);
    box->setChecked(checked);
}

void SetText(QLineEdit* box, const QString& text)
{
    if (box->text() != text)
        box->setText(text);
}
} // namespace

AlertsTab::AlertsTab(PreferencesLinks& links, Autostart autostart, QWidget* parent)
    : QWidget(parent), links_(links), autostart_(std::move(autostart))
{
    chkAutostart =
        NamedWidget(new QCheckBox(QStringLiteral("Start monitoring when I log in"), this), "chkAutostart");
    chkAutostart->setToolTip(QStringLiteral("Vantu starts hidden in the notification area and monitors"));

    auto* schedule = new QGroupBox(QStringLiteral("Schedule"), this);
    txtSchedule = NamedWidget(new QLineEdit(schedule), "txtSchedule");
    txtSchedule->setPlaceholderText(
        QStringLiteral("always, or e.g. mon-fri 08:00-18:00; sat,sun 00:00-24:00"));
    txtSchedule->setToolTip(QStringLiteral("Monitor mode watches only at these times and rests between them. "
                                           "Windows are separated by \";\"; 22:00-06:00 runs overnight."));
    lblScheduleProblem = NamedWidget(new QLabel(schedule), "lblScheduleProblem");
    lblScheduleProblem->setStyleSheet(QStringLiteral("color: #c00000"));
    lblScheduleProblem->setWordWrap(true);
    lblScheduleProblem->hide();
    auto* scheduleLayout = new QVBoxLayout(schedule);
    scheduleLayout->addWidget(
        new QLabel(QStringLiteral("Watch only at these times (empty: always):"), schedule));
    scheduleLayout->addWidget(txtSchedule);
    scheduleLayout->addWidget(lblScheduleProblem);

    auto* messages = new QGroupBox(QStringLiteral("Messages for each event"), this);
    chkDesktopNotify =
        NamedWidget(new QCheckBox(QStringLiteral("Desktop notification"), messages), "chkDesktopNotify");
    txtWebhook = NamedWidget(new QLineEdit(messages), "txtWebhook");
    txtWebhook->setPlaceholderText(QStringLiteral("https://ntfy.sh/your-topic"));
    txtWebhook->setToolTip(
        QStringLiteral("The first picture of each event is posted to this address: an ntfy "
                       "topic or any webhook receiver"));
    txtWebhookToken = NamedWidget(new QLineEdit(messages), "txtWebhookToken");
    txtWebhookToken->setEchoMode(QLineEdit::Password);
    txtWebhookToken->setToolTip(
        QStringLiteral("Sent as \"Authorization: Bearer\"; leave empty when none is needed"));
    auto* messagesLayout = new QFormLayout(messages);
    messagesLayout->addRow(chkDesktopNotify);
    messagesLayout->addRow(QStringLiteral("Post to"), txtWebhook);
    messagesLayout->addRow(QStringLiteral("Access token"), txtWebhookToken);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chkAutostart);
    layout->addWidget(schedule);
    layout->addWidget(messages);
    layout->addStretch();

    connect(chkAutostart, &QCheckBox::toggled, this, &AlertsTab::chkAutostart_Click);
    connect(txtSchedule, &QLineEdit::textChanged, this,
            [this] { TakeText(txtSchedule, QStringLiteral("monitor/schedule"), lblScheduleProblem); });
    connect(txtWebhook, &QLineEdit::textChanged, this,
            [this] { TakeText(txtWebhook, QStringLiteral("notify/webhook"), nullptr); });
    connect(txtWebhookToken, &QLineEdit::textChanged, this,
            [this] { TakeText(txtWebhookToken, QStringLiteral("notify/webhook-token"), nullptr); });
    connect(chkDesktopNotify, &QCheckBox::toggled, this,
            [this](bool on)
            {
                links_.Options.DesktopNotify = on;
                links_.SaveOptions();
            });
    // The file is written when the user leaves a box, not at every key.
    for (QLineEdit* box : {txtSchedule, txtWebhook, txtWebhookToken})
        connect(box, &QLineEdit::editingFinished, this, [this] { links_.SaveOptions(); });
    Fill();
}

void AlertsTab::Fill()
{
    SetChecked(chkAutostart, autostart_.Enabled());
    SetChecked(chkDesktopNotify, links_.Options.DesktopNotify);
    SetText(txtSchedule, links_.Options.Schedule);
    SetText(txtWebhook, links_.Options.Webhook);
    SetText(txtWebhookToken, links_.Options.WebhookToken);
}

void AlertsTab::showEvent(QShowEvent* event)
{
    // The entry may have been removed by the desktop's own settings meanwhile.
    SetChecked(chkAutostart, autostart_.Enabled());
    QWidget::showEvent(event);
}

void AlertsTab::chkAutostart_Click()
{
    QString error;
    const bool done = chkAutostart->isChecked() ? autostart_.Enable(&error) : autostart_.Disable(&error);
    if (!done)
        links_.Messages.Show(
            QStringLiteral("Vantu could not change its entry %1 for starting with the desktop: %2.")
                .arg(autostart_.File(), error),
            MsgBoxStyle::Exclamation, QStringLiteral("Alerts"));
    SetChecked(chkAutostart, autostart_.Enabled());
}

void AlertsTab::TakeText(QLineEdit* box, const QString& key, QLabel* problem)
{
    const QString text = box->text().trimmed();
    QString reason;
    bool valid = KeyNamed(key).Read(links_.Options, text);
    if (key == QLatin1String("monitor/schedule"))
        Schedule::Parse(text, &reason);
    box->setStyleSheet(valid ? QString() : QStringLiteral("color: #c00000"));
    if (problem != nullptr)
    {
        problem->setText(reason);
        problem->setVisible(!valid);
    }
}
