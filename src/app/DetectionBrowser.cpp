#include "app/DetectionBrowser.h"

#include "app/CaptureLayout.h"
#include "app/DetectionItemDelegate.h"
#include "app/LiveViewPlacement.h"
#include "capture/driver/CaptureConfig.h"
#include "capture/driver/CaptureDriverList.h"
#include "store/DetectionStore.h"
#include "ui/DateText.h"
#include "ui/MessageBox.h"
#include "ui/PictureWindow.h"
#include "ui/ScaledPicture.h"
#include "ui/Twips.h"

#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QUrl>

namespace
{
constexpr char BrowserGeometryKey[] = "browser/geometry";

QString PicturesText(qsizetype count)
{
    return count == 1 ? QStringLiteral("1 picture") : QStringLiteral("%1 pictures").arg(count);
}
} // namespace

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
    // Only the user's own choice of an entry views it: a click, also on the entry that is already
    // current, or a move with the keys. The list moving its current entry by itself, as it does when
    // it gets the focus, views nothing.
    connect(&controls_.List, &QListWidget::clicked, this, &DetectionBrowser::EntryChosen);
    connect(&controls_.List, &QListWidget::currentRowChanged, this,
            [this]
            {
                if (keyPressed_)
                    emit EntryChosen();
            });
    controls_.List.installEventFilter(this);
    controls_.List.viewport()->installEventFilter(this);
    window_.installEventFilter(this);
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
    if (IsClipName(current->text()))
    {
        controls_.Picture.clear();
        viewedName_ = current->text();
        controls_.Info.setText(QStringLiteral("Created: ") + GeneralDate(QFileInfo(path).lastModified()) +
                               QStringLiteral("   Video clip: double-click or press Enter to play it"));
        return true;
    }
    QPixmap picture;
    if (!picture.load(path))
    {
        messages_.Show(QStringLiteral("There was an error with this image file.  Please verify it's "
                                      "authenticity, and try again."),
                       MsgBoxStyle::OkOnly, QStringLiteral("Error"));
        return true;
    }
    controls_.Picture.setPixmap(picture);
    viewedName_ = current->text();
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
    QStringList withoutTrash;
    qsizetype trashed = 0;
    const int last = controls_.List.currentRow();
    for (int row = 0; row <= last; ++row)
    {
        const QListWidgetItem* entry = controls_.List.item(row);
        if (!entry->isSelected())
            continue;
        const QFileInfo file(imageDirectory_() + entry->text());
        if (!file.exists())
            continue;
        if (!file.isFile())
            failures << QStringLiteral("%1 (it is not a file)").arg(entry->text());
        else if (MoveToTrash(file.filePath()))
            ++trashed;
        else
            withoutTrash << entry->text();
    }
    if (!withoutTrash.isEmpty() &&
        messages_.Show(PicturesText(withoutTrash.size()) +
                           (withoutTrash.size() == 1
                                ? QStringLiteral(" cannot be moved to the Trash, so it will be deleted for "
                                                 "good.  Delete it?")
                                : QStringLiteral(" cannot be moved to the Trash, so they will be deleted for "
                                                 "good.  Delete them?")),
                       MsgBoxStyle::YesNo | MsgBoxStyle::Exclamation,
                       QStringLiteral("Delete for good")) == MsgBoxResult::Yes)
    {
        for (const QString& name : withoutTrash)
        {
            QFile file(imageDirectory_() + name);
            if (!file.remove())
                failures << QStringLiteral("%1 (%2)").arg(name, file.errorString());
        }
    }
    if (trashed > 0 && notice_)
        notice_(PicturesText(trashed) + QStringLiteral(" moved to the Trash"));
    return failures;
}

void DetectionBrowser::ClearView()
{
    controls_.Picture.clear();
    viewedName_.clear();
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

void DetectionBrowser::PlaceWindow()
{
    const std::vector<int> numbers = KeptNumbers(QString::fromLatin1(BrowserGeometryKey), 4);
    const QRect kept = numbers.empty() ? QRect() : QRect(numbers[0], numbers[1], numbers[2], numbers[3]);
    const QScreen* screen = window_.screen();
    const QSize outer = kept.size() + (window_.frameGeometry().size() - window_.size());
    if (!kept.isEmpty() && screen != nullptr && screen->availableGeometry().size().boundedTo(outer) == outer)
    {
        window_.resize(kept.size());
        window_.move(PlaceOnScreen(kept.topLeft(), outer, screen->availableGeometry()));
    }
    else
    {
        window_.resize(window_.width(), TwipsToPixels(BrowserWindowHeightTwips));
        window_.resize(TwipsToPixels(BrowserWindowWidthTwips), window_.height());
    }
    Layout(window_.size());
}

bool DetectionBrowser::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &controls_.List || watched == controls_.List.viewport())
    {
        // The flag lasts while the list handles the key press: any later event to the list ends it.
        keyPressed_ = watched == &controls_.List && event->type() == QEvent::KeyPress;
        if (keyPressed_)
        {
            const int key = static_cast<const QKeyEvent*>(event)->key();
            if ((key == Qt::Key_Return || key == Qt::Key_Enter) && PlayCurrentClip())
                return true;
        }
        if (watched == &controls_.List && event->type() == QEvent::Hide)
            KeepWindowPlace();
    }
    else if (watched == &window_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
             shown_() && window_.isVisible() && window_.windowState() == Qt::WindowNoState)
    {
        place_ = QRect(window_.pos(), window_.size());
    }
    return QObject::eventFilter(watched, event);
}

void DetectionBrowser::KeepWindowPlace()
{
    CaptureConfig* config = InstalledCaptureConfig();
    if (config == nullptr || place_.isEmpty())
        return;
    const QString value = QStringLiteral("%1,%2,%3,%4")
                              .arg(place_.x())
                              .arg(place_.y())
                              .arg(place_.width())
                              .arg(place_.height());
    if (config->Value(QString::fromLatin1(BrowserGeometryKey)) == value)
        return;
    if (QString error; !config->SetValue(QString::fromLatin1(BrowserGeometryKey), value, &error))
        messages_.Show(QStringLiteral("The size and place of the Detections window could not be kept for "
                                      "the next start: ") +
                           error,
                       MsgBoxStyle::Exclamation);
}

bool DetectionBrowser::CurrentIsClip() const
{
    const QListWidgetItem* current = controls_.List.currentItem();
    return current != nullptr && IsClipName(current->text());
}

bool DetectionBrowser::PlayCurrentClip()
{
    if (!CurrentIsClip())
        return false;
    const QString path = imageDirectory_() + controls_.List.currentItem()->text();
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        messages_.Show(
            QStringLiteral("The clip %1 could not be opened: the desktop has no player for Matroska "
                           "video (.mkv) files.")
                .arg(QDir::toNativeSeparators(path)),
            MsgBoxStyle::Exclamation);
    return true;
}

void DetectionBrowser::ShowFullSize()
{
    if (PlayCurrentClip())
        return;
    const QListWidgetItem* current = controls_.List.currentItem();
    const QPixmap shown = controls_.Picture.pixmap();
    if (current == nullptr || shown.isNull())
        return;
    if (fullSize_ != nullptr)
    {
        fullSize_->ShowPicture(shown, viewedName_);
        fullSize_->raise();
        fullSize_->activateWindow();
        return;
    }
    fullSize_ = new PictureWindow(shown, viewedName_, &window_);
    connect(fullSize_, &PictureWindow::StepRequested, this, &DetectionBrowser::Step);
    fullSize_->show();
}

void DetectionBrowser::Step(int step)
{
    // The steps stop at the first and the last picture: the list runs from the oldest to the newest,
    // and a step past the newest going back to the oldest would hide where the pictures end.
    const int row = controls_.List.currentRow() + step;
    if (row < 0 || row >= controls_.List.count())
        return;
    {
        const QSignalBlocker moving(controls_.List);
        controls_.List.setCurrentRow(row);
    }
    emit EntryChosen();
    if (fullSize_ != nullptr)
        fullSize_->ShowPicture(controls_.Picture.pixmap(), viewedName_);
}
