#include "capture/frmSelect.h"

#include "capture/driver/CaptureDriverList.h"
#include "capture/modAVICAP.h"
#include "capture/window/CaptureWindow.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmSelect::frmSelect(CaptureWindow* captureWindow, QWidget* parent)
    : QDialog(parent), lblDriver(new QLabel(QStringLiteral("Installed Drivers:"), this)),
      cmboSource(new QComboBox(this)), cmdSelect(new QPushButton(QStringLiteral("Select"), this)),
      cmdCancel(new QPushButton(QStringLiteral("Cancel"), this)), captureWindow_(captureWindow)
{
    setObjectName(QStringLiteral("frmSelect"));
    setWindowTitle(QStringLiteral("Video Source"));
    lblDriver->setObjectName(QStringLiteral("lblDriver"));
    cmboSource->setObjectName(QStringLiteral("cmboSource"));
    cmboSource->setMinimumContentsLength(32);
    cmdSelect->setObjectName(QStringLiteral("cmdSelect"));
    cmdSelect->setDefault(true);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(lblDriver, 0, 0, 1, 2);
    layout->addWidget(cmboSource, 1, 0, 1, 2);
    layout->addWidget(cmdSelect, 2, 0);
    layout->addWidget(cmdCancel, 2, 1);

    connect(cmdSelect, &QPushButton::clicked, this, &frmSelect::cmdSelect_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSelect::cmdCancel_Click);
}

void frmSelect::Form_Load()
{
    cmboSource->clear();
    // Each entry carries the driver's key: a camera plugged in or removed while the dialog is open
    // moves the others, and Select still connects the one the user chose.
    for (const CaptureDriverEntry& entry : EnumerateCaptureDrivers())
        cmboSource->addItem(entry.Name, CaptureDriverKey(entry));
    cmboSource->setCurrentIndex(-1);
    CAPDRIVERCAPS caps{};
    if (IsTrue(capDriverGetCaps(captureWindow_, &caps, sizeof caps)) &&
        caps.wDeviceIndex < static_cast<std::uint32_t>(cmboSource->count()))
        cmboSource->setCurrentIndex(static_cast<int>(caps.wDeviceIndex));
}

void frmSelect::cmdSelect_Click()
{
    const int chosen =
        cmboSource->currentIndex() < 0
            ? -1
            : FindCaptureDriver(EnumerateCaptureDrivers(), cmboSource->currentData().toString());
    if (chosen >= 0 && IsTrue(capDriverConnect(captureWindow_, chosen)))
    {
        captureWindow_->RememberDriver();
        CAPDRIVERCAPS caps{};
        capDriverGetCaps(captureWindow_, &caps, sizeof caps);
        emit DriverSelected(cmboSource->currentText(), caps);
    }
    accept();
}

void frmSelect::cmdCancel_Click()
{
    reject();
}
