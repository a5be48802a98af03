#include "app/DetectionItemDelegate.h"

#include "store/DetectionStore.h"
#include "ui/DateText.h"

#include <QApplication>
#include <QFileInfo>
#include <QPainter>

namespace
{
// A time as wide as times get, so that every entry is sized alike without reading its file.
QString WidestTime()
{
    return GeneralDate(QDateTime(QDate(2000, 12, 28), QTime(20, 58, 58)));
}
} // namespace

DetectionItemDelegate::DetectionItemDelegate(std::function<QString()> imageDirectory, QObject* parent)
    : QStyledItemDelegate(parent), imageDirectory_(std::move(imageDirectory))
{
}

QString DetectionItemDelegate::EntryText(const QString& name) const
{
    const QFileInfo file(imageDirectory_() + name);
    return name + QChar(QChar::LineSeparator) +
           (file.exists() ? GeneralDate(file.lastModified()) : QString());
}

QStyleOptionViewItem DetectionItemDelegate::Option(const QStyleOptionViewItem& option,
                                                   const QModelIndex& index, const QString& text) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    item.text = text;
    item.textElideMode = Qt::ElideNone;
    // A clip is marked with the play sign.
    if (IsClipName(index.data().toString()))
    {
        const QStyle* style = item.widget != nullptr ? item.widget->style() : QApplication::style();
        item.icon = style->standardIcon(QStyle::SP_MediaPlay);
        item.features |= QStyleOptionViewItem::HasDecoration;
    }
    return item;
}

void DetectionItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const
{
    const QStyleOptionViewItem item = Option(option, index, EntryText(index.data().toString()));
    const QStyle* style = item.widget != nullptr ? item.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);
}

QSize DetectionItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QStyleOptionViewItem item =
        Option(option, index, index.data().toString() + QChar(QChar::LineSeparator) + WidestTime());
    const QStyle* style = item.widget != nullptr ? item.widget->style() : QApplication::style();
    return style->sizeFromContents(QStyle::CT_ItemViewItem, &item, QSize(), item.widget);
}
