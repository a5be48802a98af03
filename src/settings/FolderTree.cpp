#include "settings/FolderTree.h"

#include "settings/Volumes.h"

#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QScopedValueRollback>
#include <QSortFilterProxyModel>

// Keeps, of the whole file system, the one volume and the folders above it that lead to it.
class VolumeFilter final : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void SetVolume(const QString& root)
    {
        root_ = root;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        const auto* files = static_cast<const QFileSystemModel*>(sourceModel());
        const QString path = files->filePath(files->index(row, 0, parent));
        return IsInFolder(path, root_) || IsInFolder(root_, path);
    }

private:
    QString root_ = QStringLiteral("/");
};

FolderTree::FolderTree(QWidget* parent)
    : QTreeView(parent), model_(new QFileSystemModel(this)), filter_(new VolumeFilter(this))
{
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    model_->setRootPath(QStringLiteral("/"));
    filter_->setSourceModel(model_);
    setModel(filter_);
    for (int column = 1; column < model_->columnCount(); ++column)
        hideColumn(column);
    header()->hide();
    setSortingEnabled(true);
    sortByColumn(0, Qt::AscendingOrder);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &FolderTree::Current_Change);
}

void FolderTree::ShowVolume(const QString& root)
{
    filter_->SetVolume(root);
    const QModelIndex top = model_->index(root);
    setRootIndex(filter_->mapFromSource(top.parent()));
    setCurrentIndex(filter_->mapFromSource(top));
    expand(currentIndex());
}

void FolderTree::ShowFolder(const QString& path)
{
    const QModelIndex index = filter_->mapFromSource(model_->index(NearestExistingFolder(path)));
    setCurrentIndex(index);
    scrollTo(index);
}

QString FolderTree::Path() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? model_->filePath(filter_->mapToSource(current)) : QString();
}

void FolderTree::mousePressEvent(QMouseEvent* event)
{
    const QScopedValueRollback acting(userActing_, true);
    QTreeView::mousePressEvent(event);
}

void FolderTree::keyPressEvent(QKeyEvent* event)
{
    const QScopedValueRollback acting(userActing_, true);
    QTreeView::keyPressEvent(event);
}

void FolderTree::Current_Change(const QModelIndex& current)
{
    if (userActing_ && current.isValid())
        emit Picked(model_->filePath(filter_->mapToSource(current)));
}
