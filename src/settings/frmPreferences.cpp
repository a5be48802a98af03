#include "settings/frmPreferences.h"

#include "capture/modAVICAP.h"
#include "capture/window/CaptureWindow.h"
#include "common/SettingsRecord.h"
#include "detect/Sensitivity.h"
#include "settings/AlertsTab.h"
#include "settings/DetectionTab.h"
#include "settings/EventsTab.h"
#include "settings/LogFileTab.h"
#include "settings/NotificationTab.h"
#include "settings/TextRules.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

namespace
{
QString SensitivityCaption(double sensitivity)
{
    return QStringLiteral("Sensitivity : ") + SensitivityText(sensitivity);
}
} // namespace

QString DeviceNameText(const QString& deviceName)
{
    const qsizetype end = deviceName.indexOf(QChar(0));
    return end < 0 ? deviceName : deviceName.left(end);
}

frmPreferences::frmPreferences(Links links, QWidget* parent) : QDialog(parent), links_(std::move(links))
{
    setObjectName(QStringLiteral("frmPreferences"));
    setWindowTitle(QStringLiteral("Preferences"));

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->addTab(BuildVideoTab(), QStringLiteral("Video"));
    Detection = NamedWidget(new DetectionTab(links_, SSTab1), "Detection");
    SSTab1->addTab(Detection, QStringLiteral("Detection"));
    Notification = NamedWidget(new NotificationTab(links_, SSTab1), "Notification");
    SSTab1->addTab(Notification, QStringLiteral("Notification"));
    LogFile = NamedWidget(new LogFileTab(links_, SSTab1), "LogFile");
    SSTab1->addTab(LogFile, QStringLiteral("Log File"));
    SSTab1->addTab(NamedWidget(new EventsTab(links_, SSTab1), "Events"), QStringLiteral("Events"));
    SSTab1->addTab(NamedWidget(new AlertsTab(links_, Autostart::OfThisProgram(), SSTab1), "Alerts"),
                   QStringLiteral("Alerts"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    setMinimumWidth(420);
    resize(480, 520);

    connect(cmdSelectDevice, &QPushButton::clicked, this, &frmPreferences::cmdSelectDevice_Click);
    connect(cmdVidDisplay, &QPushButton::clicked, this, &frmPreferences::cmdVidDisplay_Click);
    connect(cmdVidSource, &QPushButton::clicked, this, &frmPreferences::cmdVidSource_Click);
    connect(cmdVidFormat, &QPushButton::clicked, this, &frmPreferences::cmdVidFormat_Click);
    connect(cmdCompression, &QPushButton::clicked, this, &frmPreferences::cmdCompression_Click);
    connect(sldSens, &QSlider::valueChanged, this, &frmPreferences::sldSens_Scroll);
}

QWidget* frmPreferences::BuildVideoTab()
{
    auto* tab = new QWidget(this);

    auto* device = new QGroupBox(QStringLiteral("Video Capture Device"), tab);
    device->setObjectName(QStringLiteral("framDevice"));
    txtDevice = new QLineEdit(device);
    txtDevice->setObjectName(QStringLiteral("txtDevice"));
    txtDevice->setReadOnly(true);
    cmdSelectDevice = DialogButton(QStringLiteral("..."), "cmdSelectDevice", device);
    cmdSelectDevice->setToolTip(QStringLiteral("Choose the video source"));
    cmdVidDisplay = DialogButton(QStringLiteral("&Display"), "cmdVidDisplay", device);
    cmdVidSource = DialogButton(QStringLiteral("&Source"), "cmdVidSource", device);
    cmdVidFormat = DialogButton(QStringLiteral("&Format"), "cmdVidFormat", device);
    cmdCompression = DialogButton(QStringLiteral("&Compression"), "cmdCompression", device);

    auto* deviceLayout = new QGridLayout(device);
    deviceLayout->addWidget(txtDevice, 0, 0, 1, 3);
    deviceLayout->addWidget(cmdSelectDevice, 0, 3);
    deviceLayout->addWidget(cmdVidSource, 1, 0);
    deviceLayout->addWidget(cmdVidFormat, 1, 1);
    deviceLayout->addWidget(cmdVidDisplay, 1, 2);
    deviceLayout->addWidget(cmdCompression, 1, 3);

    framSens = new QGroupBox(tab);
    framSens->setObjectName(QStringLiteral("framSens"));
    sldSens = new QSlider(Qt::Horizontal, framSens);
    sldSens->setObjectName(QStringLiteral("sldSens"));
    sldSens->setRange(0, SensitivitySliderMaximum);
    sldSens->setSingleStep(1);
    sldSens->setPageStep(5);
    sldSens->setTickInterval(25);
    sldSens->setTickPosition(QSlider::TicksBelow);
    auto* sensLayout = new QVBoxLayout(framSens);
    sensLayout->addWidget(sldSens);

    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(device);
    layout->addWidget(framSens);
    layout->addStretch();
    return tab;
}

void frmPreferences::Form_Load()
{
    const double sensitivity = links_.Settings.Sensitivity;
    framSens->setTitle(SensitivityCaption(sensitivity));
    {
        const QSignalBlocker filling(sldSens);
        sldSens->setValue(SliderFromSensitivity(sensitivity));
    }
    const SettingsRecord settings = links_.Settings;
    ShowDeviceName(settings.DeviceName);
    FillText(Detection->txtMaxFiles, QString::number(settings.MaxFiles));
    FillText(Notification->txtNotifyFile, settings.NotifyFile);
    FillText(LogFile->txtLogFile, settings.LogFile);
    FillText(LogFile->txtLogSize, QString::number(settings.LogMaxSize));

    FillCheck(Notification->chkSoundNotify, IsTrue(settings.SoundNotify));
    FillCheck(Notification->chkAutoConnect, IsTrue(settings.AutoConnect));

    FillCheck(Notification->chkEmail, IsTrue(settings.EmailNotify));
    FillText(Notification->txtEmailAddress, settings.EmailAddress);
    FillText(Notification->txtPOPServer, settings.POPServer);
    FillText(Notification->txtPOPUser, settings.POPUser);
    FillText(Notification->txtPOPPassword, settings.POPPassword);

    FillCheck(Detection->chkSaveImage, IsTrue(settings.SaveImage));
    FillCheck(LogFile->chkLogFile, IsTrue(settings.WriteLogFile));

    FillText(Detection->txtImageDirectory, settings.ImageDirectory);
    Detection->ShowImageDirectory();
    Detection->ShowOptions();
}

void frmPreferences::ShowDeviceName(const QString& deviceName)
{
    txtDevice->setText(DeviceNameText(deviceName));
}

void frmPreferences::Form_Unload()
{
    links_.SaveSettings();
}

void frmPreferences::DisableMissingDriverDialogs(const CAPDRIVERCAPS& caps)
{
    if (caps.fHasDlgVideoSource == 0)
        cmdVidSource->setEnabled(false);
    if (caps.fHasDlgVideoFormat == 0)
        cmdVidFormat->setEnabled(false);
    if (caps.fHasDlgVideoDisplay == 0)
        cmdVidDisplay->setEnabled(false);
}

void frmPreferences::EnablePresentDriverDialogs(const CAPDRIVERCAPS& caps)
{
    if (caps.fHasDlgVideoSource != 0)
        cmdVidSource->setEnabled(true);
    if (caps.fHasDlgVideoFormat != 0)
        cmdVidFormat->setEnabled(true);
    if (caps.fHasDlgVideoDisplay != 0)
        cmdVidDisplay->setEnabled(true);
}

void frmPreferences::cmdSelectDevice_Click()
{
    links_.ShowSelect();
}

void frmPreferences::cmdVidDisplay_Click()
{
    capDlgVideoDisplay(links_.CaptureWindowHandle);
}
void frmPreferences::cmdVidSource_Click()
{
    capDlgVideoSource(links_.CaptureWindowHandle);
    // The dialog may have given the source another name ("Video file: ..."): the device name follows.
    if (links_.CaptureWindowHandle != nullptr && links_.CaptureWindowHandle->Connected())
    {
        links_.Settings.DeviceName = links_.CaptureWindowHandle->DriverName();
        ShowDeviceName(links_.Settings.DeviceName);
    }
}

void frmPreferences::cmdVidFormat_Click()
{
    capDlgVideoFormat(links_.CaptureWindowHandle);
    links_.ResizeCaptureWindow();
}

void frmPreferences::cmdCompression_Click()
{
    capDlgVideoCompression(links_.CaptureWindowHandle);
}

void frmPreferences::sldSens_Scroll()
{
    links_.Settings.Sensitivity = SensitivityFromSlider(sldSens->value());
    framSens->setTitle(SensitivityCaption(links_.Settings.Sensitivity));
}
