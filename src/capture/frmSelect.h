#pragma once

#include "capture/avicap.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

// Lists the installed capture drivers and connects the capture window to the one the user picks,
// which the next start connects again while it is present.
class frmSelect final : public QDialog
{
    Q_OBJECT

public:
    frmSelect(CaptureWindow* captureWindow, QWidget* parent = nullptr);

    // Fills the list in driver-index order and selects the driver the capture window uses now.
    void Form_Load();

    QLabel* lblDriver;
    QComboBox* cmboSource;
    QPushButton* cmdSelect;
    QPushButton* cmdCancel;

signals:
    // The capture window is now connected to the driver of this name, with these capabilities.
    void DriverSelected(const QString& name, const CAPDRIVERCAPS& caps);

private:
    void cmdSelect_Click();
    void cmdCancel_Click();

    CaptureWindow* captureWindow_;
};
