#pragma once

#include "ui/ScaledPicture.h"

#include <QCursor>
#include <QPixmap>
#include <array>

class ChangeMeter;
class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QMainWindow;
class QMenu;
class QPushButton;
class QSlider;
class StatusPanels;

// The controls of the main window, placed as designed (design places in twips, 15 to a pixel).
struct frmVantuUi
{
    QFrame* Line1 = nullptr;
    QLabel* imgStatus = nullptr;
    // Holders of the four status pictures and of the custom busy pointer.
    QPixmap imgStatInital;
    QPixmap imgStatPreview;
    QPixmap imgStatMonitor;
    QPixmap imgStatTune;
    QCursor Image1;
    QListWidget* filDetections = nullptr;
    QGroupBox* framSens = nullptr;
    QSlider* sldSens = nullptr;
    // The ends of the slider, beside it while it is shown.
    QLabel* lblLessSensitive = nullptr;
    QLabel* lblMoreSensitive = nullptr;
    // The change of each compared frame against the threshold, in Fine Tune and Monitor mode.
    ChangeMeter* picMeter = nullptr;
    // The mask's controls between the labels of the slider's ends, made by the fine tuning tools.
    QLabel* lblMaskHint = nullptr;
    QCheckBox* chkShowChanges = nullptr;
    QPushButton* cmdClearMask = nullptr;
    QGroupBox* Frame1 = nullptr;
    ScaledPicture* picDetection = nullptr;
    QLabel* lblDetectionInfo = nullptr;
    StatusPanels* StatusBar1 = nullptr;

    QMenu* mnuFile = nullptr;
    QAction* mnuHide = nullptr;
    QAction* mnuFiller2 = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuDetection = nullptr;
    QAction* mnuSelectAll = nullptr;
    QAction* mnuDelete = nullptr;
    QMenu* mnuView = nullptr;
    QAction* mnuPreview = nullptr;
    QAction* mnuMonitor = nullptr;
    QAction* mnuDetections = nullptr;
    QAction* mnuFineTune = nullptr;
    QAction* mnuLogFile = nullptr;
    QAction* mnufiller1 = nullptr;
    QAction* mnuPreferences = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpIndex = nullptr;
    QAction* mnuAbout = nullptr;
    // The tray icon's popup menu; never in the menu bar.
    QMenu* mPopup = nullptr;
    std::array<QAction*, 3> mPop{};

    void Setup(QMainWindow* form);
    // Draws the four status pictures at the status picture's size, so that they are shown sharp and
    // unstretched, and shows the new drawing of the one on screen.
    void DrawStatusPictures();
};
