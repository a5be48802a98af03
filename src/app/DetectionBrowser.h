#pragma once

#include "app/BrowserLayout.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class IMessageBox;
class QLabel;
class QListWidget;
class ScaledPicture;

// The browser of stored detection images in View mode: the list of names, the picture of the entry
// viewed and the date it was saved, their places in the window and the picture at full size.
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

    // Fills the list with names; the current entry is not viewed.
    void Fill(const QStringList& names);
    // Views the current entry: its picture and date, or a box when the file is not a picture. False
    // when there is no current entry.
    bool ViewCurrent();
    // Selects every entry and leaves the last one current.
    void SelectAll();
    // Deletes the files of the selected entries up to the current one; the entries that could not be
    // deleted, with the reason.
    QStringList DeleteSelected();
    // Empties the picture and the date.
    void ClearView();
    // Lays the list, the picture and the date out in the window of the given size.
    void Layout(QSize window);

private:
    void ShowEmptyNote();
    void ShowFullSize();

    Controls controls_;
    std::function<QString()> imageDirectory_;
    std::function<bool()> shown_;
    IMessageBox& messages_;
    QWidget& window_;
    // The design places, which hold at the View mode size.
    BrowserLayout design_;
};
