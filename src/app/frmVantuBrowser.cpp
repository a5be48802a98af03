// The main window's browser of stored detection images.

#include "app/frmVantu.h"
#include "store/DetectionStore.h"
#include "ui/AppDirectory.h"
#include "ui/DateText.h"
#include "ui/MessageBox.h"
#include "ui/PictureWindow.h"
#include "ui/ScaledPicture.h"
#include "ui/Twips.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QScrollBar>
#include <QSignalBlocker>

void frmVantu::InitfilSelections()
{
    // The list is filled where it is seen, in View mode; elsewhere (a detection while monitoring)
    // the count kept up to date is all a refresh needs, however many images the folder holds.
    RefreshStoredImages(Vars.CurrentMode == ModeView);
}

void frmVantu::RefreshStoredImages(bool fillList)
{
    if (!session_.CountStoredImages())
    {
        ShowInvalidPathAndUnload();
        return;
    }
    if (fillList)
    {
        QString error;
        const QStringList names = ListStoredImages(Vars.Settings.ImageDirectory, &error);
        if (!error.isEmpty())
        {
            ShowInvalidPathAndUnload();
            return;
        }
        const QSignalBlocker refill(ui.filDetections);
        ui.filDetections->clear();
        ui.filDetections->addItems(names);
    }
    ui.mnuSelectAll->setEnabled(session_.StoredFileCount() > 0);
}

void frmVantu::ShowInvalidPathAndUnload()
{
    platform_.Messages.Show(InvalidPathText, MsgBoxStyle::Critical, QStringLiteral("Error!"));
    EndWithError(InvalidPathText);
}

void frmVantu::filDetections_Click()
{
    const QListWidgetItem* current = ui.filDetections->currentItem();
    if (current == nullptr || current->text().isEmpty())
        return;
    ui.mnuDelete->setEnabled(true);
    const QString path = Vars.Settings.ImageDirectory + current->text();
    QPixmap picture;
    if (!picture.load(path))
    {
        platform_.Messages.Show(QStringLiteral("There was an error with this image file.  Please verify it's "
                                               "authenticity, and try again."),
                                MsgBoxStyle::OkOnly, QStringLiteral("Error"));
        return;
    }
    ui.picDetection->setPixmap(picture);
    ui.lblDetectionInfo->setText(QStringLiteral("Created: ") + GeneralDate(QFileInfo(path).lastModified()));
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
    if (unloaded_ || ui.filDetections->count() == 0)
        return;
    // Selecting every entry in order leaves the last one current and viewed.
    {
        const QSignalBlocker selecting(ui.filDetections);
        ui.filDetections->selectAll();
        ui.filDetections->setCurrentRow(ui.filDetections->count() - 1, QItemSelectionModel::NoUpdate);
    }
    filDetections_Click();
}

void frmVantu::mnuDelete_Click()
{
    if (Vars.CurrentMode == ModeView)
        DeleteCurrentFile();
}

void frmVantu::DeleteCurrentFile()
{
    QStringList failures;
    const QListWidgetItem* current = ui.filDetections->currentItem();
    if (current != nullptr && !current->text().isEmpty())
    {
        const int last = ui.filDetections->currentRow();
        for (int row = 0; row <= last; ++row)
        {
            const QListWidgetItem* entry = ui.filDetections->item(row);
            if (!entry->isSelected())
                continue;
            QFile file(Vars.Settings.ImageDirectory + entry->text());
            if (file.exists() && !file.remove())
                failures << QStringLiteral("%1 (%2)").arg(entry->text(), file.errorString());
        }
    }
    ui.mnuDelete->setEnabled(false);
    RefreshStoredImages(true);
    if (unloaded_)
        return;
    ui.picDetection->clear();
    ui.lblDetectionInfo->setText(QString());
    if (!failures.isEmpty())
        platform_.Messages.Show(QStringLiteral("These images could not be deleted:\r") +
                                    failures.join(QChar('\r')),
                                MsgBoxStyle::Exclamation);
}

void frmVantu::LayoutBrowser()
{
    if (Vars.CurrentMode != ModeView)
        return;
    const QSize designWindow(TwipsToPixels(BrowserWindowWidthTwips), TwipsToPixels(BrowserWindowHeightTwips));
    QListWidget* list = ui.filDetections;
    // The widest entry, beside a vertical scroll bar and inside the list's frame.
    const int wanted =
        list->sizeHintForColumn(0) + list->verticalScrollBar()->sizeHint().width() + 2 * list->frameWidth();
    const BrowserLayout layout = GrowBrowser(browserDesign_, designWindow, size(), wanted);
    list->setGeometry(layout.List);
    ui.picDetection->setGeometry(layout.Picture);
    ui.lblDetectionInfo->setGeometry(layout.Info);
}

void frmVantu::ShowEmptyNote()
{
    const bool empty = ui.filDetections->count() == 0;
    ui.picDetection->SetEmptyNote(empty ? QStringLiteral("No pictures yet\n") +
                                              QDir::toNativeSeparators(Vars.Settings.ImageDirectory)
                                        : QString());
}

void frmVantu::ShowFullSize()
{
    const QListWidgetItem* current = ui.filDetections->currentItem();
    const QPixmap shown = ui.picDetection->pixmap();
    if (current == nullptr || shown.isNull())
        return;
    auto* window = new PictureWindow(shown, current->text(), this);
    window->show();
}
