#pragma once

#include "capture/avicap.h"
#include "settings/PreferencesLinks.h"

#include <QDialog>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QSlider;
class QTabWidget;
class DetectionTab;
class LogFileTab;
class NotificationTab;

// The preferences dialog. It has no OK or Cancel: every change is written at once into the settings,
// and the settings are saved when the dialog is unloaded.
class frmPreferences final : public QDialog
{
    Q_OBJECT

public:
    using Links = PreferencesLinks;

    frmPreferences(Links links, QWidget* parent = nullptr);

    // Fills the controls from the settings; each control's change rule runs as it is filled.
    void Form_Load();
    // Saves the settings; run when the dialog is unloaded, however it was closed.
    void Form_Unload();

    // Disables the buttons of the driver dialogs that caps says the driver lacks; never enables one.
    void DisableMissingDriverDialogs(const CAPDRIVERCAPS& caps);
    // Enables the buttons of the driver dialogs that caps says the driver has, after another driver
    // without them had them disabled.
    void EnablePresentDriverDialogs(const CAPDRIVERCAPS& caps);
    // Shows the name of the device the capture window now uses.
    void ShowDeviceName(const QString& deviceName);

    QTabWidget* SSTab1;
    QLineEdit* txtDevice;
    QPushButton* cmdSelectDevice;
    QPushButton* cmdVidDisplay;
    QPushButton* cmdVidSource;
    QPushButton* cmdVidFormat;
    QPushButton* cmdCompression;
    QGroupBox* framSens;
    QSlider* sldSens;
    DetectionTab* Detection;
    NotificationTab* Notification;
    LogFileTab* LogFile;

private:
    QWidget* BuildVideoTab();
    void cmdSelectDevice_Click();
    void cmdVidDisplay_Click();
    void cmdVidSource_Click();
    void cmdVidFormat_Click();
    void cmdCompression_Click();
    void sldSens_Scroll();

    Links links_;
};

// The text a device name shows in a text box: up to its first NUL.
QString DeviceNameText(const QString& deviceName);
