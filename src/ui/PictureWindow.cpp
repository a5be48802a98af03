#include "ui/PictureWindow.h"

#include <QLabel>
#include <QScreen>

PictureWindow::PictureWindow(const QPixmap& picture, const QString& title, QWidget* owner)
    : QScrollArea(owner)
{
    setObjectName(QStringLiteral("PictureWindow"));
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(title);
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("picFullSize"));
    label->setPixmap(picture);
    setWidget(label);
    setAlignment(Qt::AlignCenter);

    const QSize wanted = picture.size() + QSize(2 * frameWidth(), 2 * frameWidth());
    const QSize room = screen()->availableGeometry().size() * 9 / 10;
    resize(wanted.boundedTo(room));
}
