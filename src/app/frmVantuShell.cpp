// The main window's File, Hide and the tray icon's popup menu, and View, Log File.

#include "app/frmVantu.h"
#include "log/frmLog.h"

void frmVantu::mnuHide_Click()
{
    HideToTray();
}

void frmVantu::HideToTray()
{
    tray_->HideToTray();
}

void frmVantu::BringToFront()
{
    // As the tray popup's Show: the window comes back, in front, and the tray icon goes.
    tray_->mPop_Click(0);
}

void frmVantu::mPop_Click(int Index)
{
    tray_->mPop_Click(Index);
}

void frmVantu::mnuLogFile_Click()
{
    ShowLogViewer(Vars.Settings.LogFile, platform_.Messages, this);
}
