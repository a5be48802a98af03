#include "ui/Pictures.h"

#include <QPainter>
#include <QSvgRenderer>

void InitVantuResources()
{
    Q_INIT_RESOURCE(vantu);
}

QPixmap ProgramPicture(const QString& name, const QSize& size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/pictures/%1.svg").arg(name));
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (const int side : {16, 32, 48, 64})
        icon.addPixmap(ProgramPicture(QStringLiteral("vantu"), QSize(side, side)));
    return icon;
}
