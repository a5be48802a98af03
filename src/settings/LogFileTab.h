#pragma once

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class UpDown;
struct PreferencesLinks;

// The "Log File" tab: whether the log is written, the file the viewer shows, the size limit, and
// showing and clearing the log.
class LogFileTab final : public QWidget
{
    Q_OBJECT

public:
    LogFileTab(PreferencesLinks& links, QWidget* parent);

    // Change rules; each runs whenever its control's value changes.
    void chkLogFile_Click();
    void txtLogSize_Change();

    QGroupBox* framLog;
    QCheckBox* chkLogFile;
    QLabel* lblLogFile;
    QLineEdit* txtLogFile;
    QPushButton* cmdLogFile;
    QLabel* lblLogSize;
    QLineEdit* txtLogSize;
    UpDown* UpDown2;
    QLabel* lblKB;
    QPushButton* cmdViewLog;
    QPushButton* cmdClearLog;

private:
    void cmdLogFile_Click();
    void cmdViewLog_Click();
    void cmdClearLog_Click();

    PreferencesLinks& links_;
};
