#pragma once

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct PreferencesLinks;

// The "Notification" tab: the sound played on a detection and the e-mail that carries its image.
// The check boxes of sound and e-mail head the frames of their settings.
class NotificationTab final : public QWidget
{
    Q_OBJECT

public:
    NotificationTab(PreferencesLinks& links, QWidget* parent);

    // Change rules; each runs whenever its control's value changes.
    void chkSoundNotify_Click();
    void chkEmail_Click();
    void chkAutoConnect_Click();

    QCheckBox* chkSoundNotify;
    QGroupBox* framSound;
    QLineEdit* txtNotifyFile;
    QPushButton* cmdNotifyFile;
    QPushButton* cmdPlaySound;
    QCheckBox* chkEmail;
    QGroupBox* framEmail;
    QLabel* lblEmailAddress;
    QLineEdit* txtEmailAddress;
    QLabel* lblPOP;
    QLineEdit* txtPOPServer;
    QLineEdit* txtPOPUser;
    QLineEdit* txtPOPPassword;
    QCheckBox* chkAutoConnect;

private:
    void cmdNotifyFile_Click();
    void cmdPlaySound_Click();
    // Tells the user, in a box, when file cannot be played; whether it can.
    bool CheckSoundFile(const QString& file);

    PreferencesLinks& links_;
};
