#pragma once

#include <QWidget>

class FolderTree;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class UpDown;
struct PreferencesLinks;

// The "Detection" tab: whether images are saved, how many are kept and the folder they go to; below
// them, the detection method and the mask, kept in the options.
class DetectionTab final : public QWidget
{
    Q_OBJECT

public:
    DetectionTab(PreferencesLinks& links, QWidget* parent);

    // Change rules; each runs whenever its control's value changes.
    void chkSaveImage_Click();
    void txtMaxFiles_Change();
    void txtImageDirectory_Change();
    void Dir1_Change(const QString& path);
    void Drive1_Change();
    void cmboMethod_Click();
    // Asks for the mask's picture; a cancel keeps the one set.
    void cmdMask_Click();
    // Watches the whole picture again.
    void cmdNoMask_Click();

    // Fills the volume list and shows the image folder and its volume in the lists without picking
    // them, so the text box keeps the stored path even when that folder does not exist.
    void ShowImageDirectory();
    // Shows the method and the mask the options hold now.
    void ShowOptions();

    QGroupBox* framImages;
    QCheckBox* chkSaveImage;
    QLabel* lblMaxFiles;
    QLineEdit* txtMaxFiles;
    UpDown* UpDown1;
    QLabel* lblImageDirectory;
    QLineEdit* txtImageDirectory;
    QComboBox* Drive1;
    FolderTree* Dir1;
    QGroupBox* framMethod;
    QComboBox* cmboMethod;
    QLabel* lblMask;
    QLineEdit* txtMask;
    QPushButton* cmdMask;
    QPushButton* cmdNoMask;

private:
    // Selects the volume in the list without running its rule.
    void SelectVolume(const QString& root);
    QString AppVolume() const;
    void ShowMask();

    PreferencesLinks& links_;
};
