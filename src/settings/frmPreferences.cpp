#include "settings/frmPreferences.h"

#include "capture/modAVICAP.h"
#include "detect/Sensitivity.h"
#include "common/SettingsRecord.h"

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

QPushButton* Button(const QString& caption, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
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

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    setMinimumWidth(420);

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
    cmdSelectDevice = Button(QStringLiteral("..."), "cmdSelectDevice", device);
    cmdSelectDevice->setToolTip(QStringLiteral("Choose the video source"));
    cmdVidDisplay = Button(QStringLiteral("&Display"), "cmdVidDisplay", device);
    cmdVidSource = Button(QStringLiteral("&Source"), "cmdVidSource", device);
    cmdVidFormat = Button(QStringLiteral("&Format"), "cmdVidFormat", device);
    cmdCompression = Button(QStringLiteral("&Compression"), "cmdCompression", device);

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
    ShowDeviceName(links_.Settings.DeviceName);
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
