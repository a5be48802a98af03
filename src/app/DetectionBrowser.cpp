#include "app/DetectionBrowser.h"

#include "app/DetectionItemDelegate.h"
#include "ui/DateText.h"
#include "ui/MessageBox.h"
#include "ui/PictureWindow.h"
#include "ui/ScaledPicture.h"
#include "ui/Twips.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QSignalBlocker>

DetectionBrowser::DetectionBrowser(Controls controls, std::function<QString()> imageDirectory,
                                   std::function<bool()> shown, IMessageBox& messages, QWidget& window)
    : controls_(controls), imageDirectory_(std::move(imageDirectory)), shown_(std::move(shown)),
      messages_(messages), window_(window), design_{controls.List.geometry(), controls.Picture.geometry(),
                                                    controls.Info.geometry()}
{
    controls_.List.setItemDelegate(new DetectionItemDelegate(imageDirectory_, &controls_.List));
    // The look follows the list's entries however it was filled.
    const auto entriesChanged = [this]
    {
        ShowEmptyNote();
        Layout(window_.size());
    };
    const QAbstractItemModel* entries = controls_.List.model();
    connect(entries, &QAbstractItemModel::rowsInserted, this, entriesChanged);
    connect(entries, &QAbstractItemModel::rowsRemoved, this, entriesChanged);
    connect(entries, &QAbstractItemModel::modelReset, this, entriesChanged);
    connect(&controls_.List, &QListWidget::doubleClicked, this, &DetectionBrowser::ShowFullSize);
    connect(&controls_.Picture, &ScaledPicture::DoubleClicked, this, &DetectionBrowser::ShowFullSize);
}

DetectionBrowser::~DetectionBrowser()
{
    // The list goes with the window's children, after the window's own state: its last changes must not
    // reach the browser.
    disconnect(controls_.List.model(), nullptr, this, nullptr);
}

void DetectionBrowser::Fill(const QStringList& names)
{
    const QSignalBlocker refill(controls_.List);
    controls_.List.clear();
    controls_.List.addItems(names);
}

bool DetectionBrowser::ViewCurrent()
{
    const QListWidgetItem* current = controls_.List.currentItem();
    if (current == nullptr || current->text().isEmpty())
        return false;
    const QString path = imageDirectory_() + current->text();
    QPixmap picture;
    if (!picture.load(path))
    {
        messages_.Show(QStringLiteral("There was an error with this image file.  Please verify it's "
                                      "authenticity, and try again."),
                       MsgBoxStyle::OkOnly, QStringLiteral("Error"));
        return true;
    }
    controls_.Picture.setPixmap(picture);
    controls_.Info.setText(QStringLiteral("Created: ") + GeneralDate(QFileInfo(path).lastModified()));
    return true;
}

void DetectionBrowser::SelectAll()
{
    const QSignalBlocker selecting(controls_.List);
    controls_.List.selectAll();
    controls_.List.setCurrentRow(controls_.List.count() - 1, QItemSelectionModel::NoUpdate);
}

QStringList DetectionBrowser::DeleteSelected()
{
    QStringList failures;
    const QListWidgetItem* current = controls_.List.currentItem();
    if (current == nullptr || current->text().isEmpty())
        return failures;
    const int last = controls_.List.currentRow();
    for (int row = 0; row <= last; ++row)
    {
        const QListWidgetItem* entry = controls_.List.item(row);
        if (!entry->isSelected())
            continue;
        QFile file(imageDirectory_() + entry->text());
        if (file.exists() && !file.remove())
            failures << QStringLiteral("%1 (%2)").arg(entry->text(), file.errorString());
    }
    return failures;
}

void DetectionBrowser::ClearView()
{
    controls_.Picture.clear();
    controls_.Info.setText(QString());
}

void DetectionBrowser::Layout(QSize window)
{
    if (!shown_())
        return;
    const QSize designWindow(TwipsToPixels(BrowserWindowWidthTwips), TwipsToPixels(BrowserWindowHeightTwips));
    QListWidget& list = controls_.List;
    // The widest entry, beside a vertical scroll bar and inside the list's frame.
    const int wanted =
        list.sizeHintForColumn(0) + list.verticalScrollBar()->sizeHint().width() + 2 * list.frameWidth();
    const BrowserLayout layout = GrowBrowser(design_, designWindow, window, wanted);
    list.setGeometry(layout.List);
    controls_.Picture.setGeometry(layout.Picture);
    controls_.Info.setGeometry(layout.Info);
}

void DetectionBrowser::ShowEmptyNote()
{
    const bool empty = controls_.List.count() == 0;
    controls_.Picture.SetEmptyNote(empty ? QStringLiteral("No pictures yet\n") +
                                               QDir::toNativeSeparators(imageDirectory_())
                                         : QString());
}

void DetectionBrowser::ShowFullSize()
{
    const QListWidgetItem* current = controls_.List.currentItem();
    const QPixmap shown = controls_.Picture.pixmap();
    if (current == nullptr || shown.isNull())
        return;
    auto* window = new PictureWindow(shown, current->text(), &window_);
    window->show();
}
