#include "settings/LogFileTab.h"

#include "common/SettingsRecord.h"
#include "log/LogClearing.h"
#include "log/frmLog.h"
#include "settings/PreferencesLinks.h"
#include "settings/TextRules.h"
#include "settings/UpDown.h"
#include "settings/WholeNumberBox.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

LogFileTab::LogFileTab(PreferencesLinks& links, QWidget* parent) : QWidget(parent), links_(links)
{
    framLog = NamedWidget(new QGroupBox(QStringLiteral("Log File"), this), "framLog");
    chkLogFile = NamedWidget(new QCheckBox(QStringLiteral("Write Log File ?"), framLog), "chkLogFile");
    lblLogFile = new QLabel(QStringLiteral("Log File Filename"), framLog);
    txtLogFile = NamedWidget(new QLineEdit(framLog), "txtLogFile");
    lblLogFile->setBuddy(txtLogFile);
    cmdLogFile = DialogButton(QStringLiteral("..."), "cmdLogFile", framLog);
    cmdLogFile->setToolTip(QStringLiteral("Choose the log file to view"));
    lblLogSize = new QLabel(QStringLiteral("Max Size:"), framLog);
    txtLogSize = NamedWidget(new QLineEdit(framLog), "txtLogSize");
    txtLogSize->setMaximumWidth(70);
    lblLogSize->setBuddy(txtLogSize);
    UpDown2 = NamedWidget(new UpDown(txtLogSize, framLog), "UpDown2");
    lblKB = new QLabel(QStringLiteral("KB"), framLog);
    cmdViewLog = DialogButton(QStringLiteral("&View Log File"), "cmdViewLog", framLog);
    cmdClearLog = DialogButton(QStringLiteral("&Clear Log File"), "cmdClearLog", framLog);

    auto* file = new QHBoxLayout;
    file->addWidget(txtLogFile);
    file->addWidget(cmdLogFile);
    auto* size = new QHBoxLayout;
    size->addWidget(lblLogSize);
    size->addWidget(txtLogSize);
    size->addWidget(UpDown2);
    size->addWidget(lblKB);
    size->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdViewLog);
    buttons->addWidget(cmdClearLog);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(framLog);
    layout->addWidget(chkLogFile);
    layout->addWidget(lblLogFile);
    layout->addLayout(file);
    layout->addLayout(size);
    layout->addLayout(buttons);
    auto* tabLayout = new QVBoxLayout(this);
    tabLayout->addWidget(framLog);
    tabLayout->addStretch();

    connect(chkLogFile, &QCheckBox::toggled, this, &LogFileTab::chkLogFile_Click);
    CopyText(txtLogFile, links_.Settings.LogFile);
    connect(txtLogSize, &QLineEdit::textChanged, this, &LogFileTab::txtLogSize_Change);
    connect(txtLogSize, &QLineEdit::editingFinished, this,
            [this] { RestoreWholeNumber(txtLogSize, links_.Settings.LogMaxSize); });
    connect(cmdLogFile, &QPushButton::clicked, this, &LogFileTab::cmdLogFile_Click);
    connect(cmdViewLog, &QPushButton::clicked, this, &LogFileTab::cmdViewLog_Click);
    connect(cmdClearLog, &QPushButton::clicked, this, &LogFileTab::cmdClearLog_Click);
}

void LogFileTab::chkLogFile_Click()
{
    const bool on = chkLogFile->isChecked();
    for (QWidget* control : {static_cast<QWidget*>(cmdViewLog), static_cast<QWidget*>(cmdClearLog),
                             static_cast<QWidget*>(cmdLogFile), static_cast<QWidget*>(txtLogFile),
                             static_cast<QWidget*>(txtLogSize)})
        control->setEnabled(on);
    links_.Settings.WriteLogFile = on ? True : False;
}

void LogFileTab::txtLogSize_Change()
{
    ApplyWholeNumber(txtLogSize, links_.Settings.LogMaxSize);
}

void LogFileTab::cmdLogFile_Click()
{
    PickFileInto(txtLogFile, links_.PickFile, this);
}

void LogFileTab::cmdViewLog_Click()
{
    ShowLogViewer(links_.Settings.LogFile, links_.Messages, this);
}

void LogFileTab::cmdClearLog_Click()
{
    ClearLog(links_.AppDirectory, links_.Messages);
}
