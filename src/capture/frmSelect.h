#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class frmPreferences;
struct modVantuVars;

// Lists the installed capture drivers and connects the capture window to the one the user picks.
class frmSelect final : public QDialog
{
    Q_OBJECT

public:
    frmSelect(modVantuVars& vars, frmPreferences& preferences, QWidget* parent = nullptr);

    // Fills the list in driver-index order and selects the driver the capture window uses now.
    void Form_Load();

    QLabel* lblDriver;
    QComboBox* cmboSource;
    QPushButton* cmdSelect;
    QPushButton* cmdCancel;

private:
    void cmdSelect_Click();
    void cmdCancel_Click();

    modVantuVars& vars_;
    frmPreferences& preferences_;
};
