#pragma once

#include "app/BrowserLayout.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>

class IMessageBox;
class PictureWindow;
class QLabel;
class QListWidget;
class ScaledPicture;

// The browser of stored detection images in View mode: the list of names, the picture of the entry
// viewed and the date it was saved, their places in the window, the window's size and place while it
// shows the browser, and the picture at full size.
class DetectionBrowser final : public QObject
{
    Q_OBJECT

public:
    struct Controls
    {
        QListWidget& List;
        ScaledPicture& Picture;
        QLabel& Info;
    };

    // imageDirectory gives the folder the names are in, ending with a separator; shown tells whether
    // the browser is on screen (View mode), where its places follow the window's size.
    DetectionBrowser(Controls controls, std::function<QString()> imageDirectory, std::function<bool()> shown,
                     IMessageBox& messages, QWidget& window);
    ~DetectionBrowser() override;

    // Where the browser tells what it did without asking, such as pictures moved to the Trash.
    void SetNotice(std::function<void(const QString&)> notice) { notice_ = std::move(notice); }

    // Fills the list with names; the current entry is not viewed.
    void Fill(const QStringList& names);
    // Views the current entry: its picture and date, a clip's date and how to play it, or a box when
    // the file is not a picture. False when there is no current entry.
    bool ViewCurrent();
    // Selects every entry and leaves the last one current.
    void SelectAll();
    // Moves the files of the selected entries up to the current one to the Trash and tells how many
    // went. Files for which there is no Trash are deleted for good, once the user agreed to it. The
    // entries that could not be deleted, with the reason.
    QStringList DeleteSelected();
    // Empties the picture and the date.
    void ClearView();
    // Lays the list, the picture and the date out in the window of the given size.
    void Layout(QSize window);
    // Gives the window the size and place it last had while it showed the browser, or the design size
    // when none is kept or the kept one does not fit the screen.
    void PlaceWindow();

signals:
    // The user chose an entry: a click on it, the current one included, or a move with the keys.
    void EntryChosen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowEmptyNote();
    // Shows the picture full size, or plays the clip in the desktop's player.
    void ShowFullSize();
    // Whether the current entry is an event clip.
    bool CurrentIsClip() const;
    // Opens the current entry in the desktop's player when it is a clip; false when it is not.
    bool PlayCurrentClip();
    // Makes the entry step rows away current, as a move with the keys does, and shows it full size.
    void Step(int step);
    // Keeps the window's size and place for the next time the browser is shown.
    void KeepWindowPlace();

    Controls controls_;
    std::function<QString()> imageDirectory_;
    std::function<bool()> shown_;
    IMessageBox& messages_;
    QWidget& window_;
    // The design places, which hold at the View mode size.
    BrowserLayout design_;
    std::function<void(const QString&)> notice_;
    // The name of the entry whose picture is shown, which the full-size window shows too.
    QString viewedName_;
    QPointer<PictureWindow> fullSize_;
    // Set while the list handles a key press, so that the move it makes counts as the user's.
    bool keyPressed_ = false;
    // The window's place while it shows the browser, as the user left it; empty before it was shown.
    QRect place_;
};
