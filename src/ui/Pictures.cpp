#include "ui/Pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

void InitVantuResources()
{
    Q_INIT_RESOURCE(vantu);
}

qreal ScreenScale()
{
    return qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0;
}

QPixmap ProgramPicture(const QString& name, const QSize& size, qreal devicePixelRatio)
{
    QPixmap pixmap((QSizeF(size) * devicePixelRatio).toSize());
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/pictures/%1.svg").arg(name));
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

QIcon ProgramIcon()
{
    // The icon holds a picture for each size itself; the desktop picks the one it needs.
    QIcon icon;
    for (const int side : {16, 32, 48, 64})
        icon.addPixmap(ProgramPicture(QStringLiteral("vantu"), QSize(side, side), 1.0));
    return icon;
}
