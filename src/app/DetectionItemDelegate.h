#pragma once

#include <QStyledItemDelegate>
#include <functional>

// Draws an entry of the detection list as its whole file name over the time the picture was saved;
// an event clip has the play sign in front.
// The time is read from the file only when the entry is drawn, so a long list costs nothing until it
// is scrolled through.
class DetectionItemDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // imageDirectory gives the folder the listed names are in, ending with a separator.
    DetectionItemDelegate(std::function<QString()> imageDirectory, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The text an entry shows: the name, and on a line under it the file's time (nothing when the file is
    // gone).
    QString EntryText(const QString& name) const;

private:
    QStyleOptionViewItem Option(const QStyleOptionViewItem& option, const QModelIndex& index,
                                const QString& text) const;

    std::function<QString()> imageDirectory_;
};
