// The main window's handlers of the browser of stored detection images.

#include "app/frmVantu.h"
#include "store/DetectionStore.h"
#include "ui/MessageBox.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>

void frmVantu::InitfilSelections()
{
    // The list is filled where it is seen, in View mode; elsewhere (a detection while monitoring)
    // the count kept up to date is all a refresh needs, however many images the folder holds.
    RefreshStoredImages(Vars.CurrentMode == ModeView);
}

void frmVantu::RefreshStoredImages(bool fillList)
{
    // A folder that cannot be used pauses saving, which the session tells; the list then stays empty.
    const bool counted = session_.CountStoredImages().has_value();
    if (fillList)
    {
        QString error;
        browser_->Fill(counted ? ListStoredImages(Vars.Settings.ImageDirectory, &error, true)
                               : QStringList());
    }
    ui.mnuSelectAll->setEnabled(counted && session_.StoredFileCount() > 0);
}

void frmVantu::filDetections_Click()
{
    if (browser_->ViewCurrent())
        ui.mnuDelete->setEnabled(true);
}

void frmVantu::filDetections_MouseDown(Qt::MouseButton button, const QPoint& globalPosition)
{
    if (button == Qt::RightButton)
        ui.mnuDetection->popup(globalPosition);
}

void frmVantu::mnuDetection_Click()
{
    ui.mnuSelectAll->setEnabled(ui.filDetections->count() > 0);
}

void frmVantu::mnuSelectAll_Click()
{
    RefreshStoredImages(true);
    if (ui.filDetections->count() == 0)
        return;
    // Selecting every entry in order leaves the last one current and viewed.
    browser_->SelectAll();
    filDetections_Click();
}

void frmVantu::mnuDelete_Click()
{
    if (Vars.CurrentMode == ModeView)
        DeleteCurrentFile();
}

void frmVantu::DeleteCurrentFile()
{
    const QStringList failures = browser_->DeleteSelected();
    ui.mnuDelete->setEnabled(false);
    RefreshStoredImages(true);
    browser_->ClearView();
    if (!failures.isEmpty())
        platform_.Messages.Show(QStringLiteral("These images could not be deleted:\r") +
                                    failures.join(QChar('\r')),
                                MsgBoxStyle::Exclamation);
}
