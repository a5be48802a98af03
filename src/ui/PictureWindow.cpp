#include "ui/PictureWindow.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QRect>
#include <QScreen>
#include <QString>
#include <QWidget>

PictureWindow::PictureWindow(const QPixmap& picture, const QString& title, QWidget* owner)
    : QScrollArea(owner), label_(new QLabel(this))
{
    setObjectName(QStringLiteral("PictureWindow"));
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    label_->setObjectName(QStringLiteral("picFullSize"));
    setWidget(label_);
    setAlignment(Qt::AlignCenter);
    ShowPicture(picture, title);
    // Its frame is not known before it is shown; the owner's, from the same window manager, stands in.
    const QSize frame = size() + owner->frameGeometry().size() - owner->size();
    move(owner->frameGeometry().center() - QRect(QPoint(), frame).center());
}

void PictureWindow::ShowPicture(const QPixmap& picture, const QString& title)
{
    setWindowTitle(title);
    label_->setPixmap(picture);
    label_->adjustSize();
    const QSize wanted = picture.size() + QSize(2 * frameWidth(), 2 * frameWidth());
    const QSize room = screen()->availableGeometry().size() * 9 / 10;
    resize(wanted.boundedTo(room));
}

void PictureWindow::keyPressEvent(QKeyEvent* event)
{
    // These keys step through the pictures rather than scroll: a large picture still scrolls with the
    // other keys and the mouse.
    switch (event->key())
    {
    case Qt::Key_Escape:
        close();
        return;
    case Qt::Key_Left:
    case Qt::Key_PageUp:
        emit StepRequested(-1);
        return;
    case Qt::Key_Right:
    case Qt::Key_PageDown:
        emit StepRequested(1);
        return;
    default:
        QScrollArea::keyPressEvent(event);
    }
}
