#include "ui/ScaledPicture.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTextOption>

ScaledPicture::ScaledPicture(QWidget* parent) : QLabel(parent)
{
    setScaledContents(false);
}

void ScaledPicture::SetEmptyNote(const QString& note)
{
    if (note == emptyNote_)
        return;
    emptyNote_ = note;
    update();
}

QRect ScaledPicture::PictureRect() const
{
    const QPixmap shown = pixmap();
    if (shown.isNull())
        return {};
    const QRect area = contentsRect();
    const QSize size = shown.size().scaled(area.size(), Qt::KeepAspectRatio);
    return {area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2,
            size.width(), size.height()};
}

void ScaledPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawFrame(&painter);
    const QPixmap shown = pixmap();
    if (!shown.isNull())
    {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(PictureRect(), shown);
        return;
    }
    if (emptyNote_.isEmpty())
        return;
    // A folder's path has no blanks to break at; it breaks anywhere instead.
    QTextOption option(Qt::AlignCenter);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(QRectF(contentsRect().adjusted(4, 4, -4, -4)), emptyNote_, option);
}

void ScaledPicture::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && !pixmap().isNull())
        emit DoubleClicked();
    QLabel::mouseDoubleClickEvent(event);
}
