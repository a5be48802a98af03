#pragma once

#include <QTreeView>

class QFileSystemModel;
class VolumeFilter;

// A tree of the folders of one volume, with the volume's root folder at its top. The folders are
// read on the file system model's own thread, so a slow disk never holds up the window.
class FolderTree final : public QTreeView
{
    Q_OBJECT

public:
    explicit FolderTree(QWidget* parent);

    // Shows the tree of the volume whose root folder is root.
    void ShowVolume(const QString& root);
    // Selects the folder, or its nearest existing parent when it does not exist.
    void ShowFolder(const QString& path);
    // The selected folder; empty when none is.
    QString Path() const;

signals:
    // The user selected a folder, with the mouse or the keys. A selection that moves by itself (the
    // selected folder was deleted or renamed on disk) is no pick.
    void Picked(const QString& path);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Current_Change(const QModelIndex& current);

    QFileSystemModel* model_;
    VolumeFilter* filter_;
    // The user's mouse press or key press is being handled.
    bool userActing_ = false;
};
