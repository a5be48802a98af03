#include "settings/NotificationTab.h"

#include "common/SettingsRecord.h"
#include "notify/NotifySound.h"
#include "notify/SoundPlayer.h"
#include "settings/PreferencesLinks.h"
#include "settings/TextRules.h"
#include "ui/MessageBox.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

NotificationTab::NotificationTab(PreferencesLinks& links, QWidget* parent) : QWidget(parent), links_(links)
{
    chkSoundNotify = NamedWidget(new QCheckBox(QStringLiteral("Sound"), this), "chkSoundNotify");
    framSound = NamedWidget(new QGroupBox(this), "framSound");
    txtNotifyFile = NamedWidget(new QLineEdit(framSound), "txtNotifyFile");
    cmdNotifyFile = DialogButton(QStringLiteral("..."), "cmdNotifyFile", framSound);
    cmdNotifyFile->setToolTip(QStringLiteral("Choose the sound file (a WAV file)"));
    cmdPlaySound = DialogButton(QStringLiteral("Play"), "cmdPlaySound", framSound);
    cmdPlaySound->setToolTip(QStringLiteral("Play the sound once"));
    auto* sound = new QHBoxLayout(framSound);
    sound->addWidget(txtNotifyFile);
    sound->addWidget(cmdNotifyFile);
    sound->addWidget(cmdPlaySound);

    chkEmail = NamedWidget(new QCheckBox(QStringLiteral("Email"), this), "chkEmail");
    framEmail = NamedWidget(new QGroupBox(this), "framEmail");
    lblEmailAddress = new QLabel(QStringLiteral("Address"), framEmail);
    txtEmailAddress = NamedWidget(new QLineEdit(framEmail), "txtEmailAddress");
    lblEmailAddress->setBuddy(txtEmailAddress);
    lblPOP = new QLabel(QStringLiteral("POP 3 Server Name          User Name          Password"), framEmail);
    txtPOPServer = NamedWidget(new QLineEdit(framEmail), "txtPOPServer");
    txtPOPServer->setToolTip(
        QStringLiteral("The outgoing (SMTP) mail server that sends the detection e-mail: "
                       "host, host:port, smtp://host:port or smtps://host:port"));
    txtPOPUser = NamedWidget(new QLineEdit(framEmail), "txtPOPUser");
    txtPOPPassword = NamedWidget(new QLineEdit(framEmail), "txtPOPPassword");
    txtPOPPassword->setEchoMode(QLineEdit::Password);
    // One "*" for each character, whatever the style would draw.
    txtPOPPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    chkAutoConnect = NamedWidget(new QCheckBox(QStringLiteral("Auto Connect"), framEmail), "chkAutoConnect");

    auto* email = new QGridLayout(framEmail);
    email->addWidget(lblEmailAddress, 0, 0, 1, 3);
    email->addWidget(txtEmailAddress, 1, 0, 1, 3);
    email->addWidget(lblPOP, 2, 0, 1, 3);
    email->addWidget(txtPOPServer, 3, 0);
    email->addWidget(txtPOPUser, 3, 1);
    email->addWidget(txtPOPPassword, 3, 2);
    email->addWidget(chkAutoConnect, 4, 0, 1, 3);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chkSoundNotify);
    layout->addWidget(framSound);
    layout->addWidget(chkEmail);
    layout->addWidget(framEmail);
    layout->addStretch();

    connect(chkSoundNotify, &QCheckBox::toggled, this, &NotificationTab::chkSoundNotify_Click);
    connect(chkEmail, &QCheckBox::toggled, this, &NotificationTab::chkEmail_Click);
    connect(chkAutoConnect, &QCheckBox::toggled, this, &NotificationTab::chkAutoConnect_Click);
    CopyText(txtNotifyFile, links_.Settings.NotifyFile);
    CopyText(txtEmailAddress, links_.Settings.EmailAddress);
    CopyText(txtPOPServer, links_.Settings.POPServer);
    CopyText(txtPOPUser, links_.Settings.POPUser);
    CopyText(txtPOPPassword, links_.Settings.POPPassword);
    connect(cmdNotifyFile, &QPushButton::clicked, this, &NotificationTab::cmdNotifyFile_Click);
    connect(cmdPlaySound, &QPushButton::clicked, this, &NotificationTab::cmdPlaySound_Click);
}

void NotificationTab::chkSoundNotify_Click()
{
    links_.Settings.SoundNotify = chkSoundNotify->isChecked() ? True : False;
    const bool on = IsTrue(links_.Settings.SoundNotify);
    txtNotifyFile->setEnabled(on);
    cmdNotifyFile->setEnabled(on);
    cmdPlaySound->setEnabled(on);
}

void NotificationTab::chkEmail_Click()
{
    links_.Settings.EmailNotify = chkEmail->isChecked() ? True : False;
    const bool on = IsTrue(links_.Settings.EmailNotify);
    // Automatic dialling is not part of the e-mail settings and stays available.
    for (QWidget* box : {txtEmailAddress, txtPOPServer, txtPOPUser, txtPOPPassword})
        box->setEnabled(on);
}

void NotificationTab::chkAutoConnect_Click()
{
    links_.Settings.AutoConnect = chkAutoConnect->isChecked() ? True : False;
}

void NotificationTab::cmdNotifyFile_Click()
{
    const QString file = PickFileFrom(txtNotifyFile, links_.PickFile, this, SoundFileFilter());
    if (!file.isEmpty() && CheckSoundFile(file))
        txtNotifyFile->setText(file);
}

void NotificationTab::cmdPlaySound_Click()
{
    if (CheckSoundFile(txtNotifyFile->text()))
        links_.Sound.Play(txtNotifyFile->text());
}

bool NotificationTab::CheckSoundFile(const QString& file)
{
    const QString problem = SoundFileProblem(file);
    if (!problem.isEmpty())
        links_.Messages.Show(problem, MsgBoxStyle::Exclamation, QStringLiteral("Notification Sound"));
    return problem.isEmpty();
}
