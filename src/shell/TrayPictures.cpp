#include "shell/TrayPictures.h"

#include <QPainter>
#include <QPixmap>

namespace
{
constexpr int Side = 64;

void DrawDot(QPainter& painter, const QColor& colour)
{
    const QRectF dot(Side * 0.52, Side * 0.52, Side * 0.46, Side * 0.46);
    painter.setPen(QPen(Qt::white, Side / 16.0));
    painter.setBrush(colour);
    painter.drawEllipse(dot);
}
} // namespace

QIcon TrayStateIcon(const QIcon& base, TrayState state)
{
    if (state == TrayState::Preview)
        return base;
    QPixmap picture(Side, Side);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawPixmap(0, 0,
                       base.pixmap(Side, Side, state == TrayState::Lost ? QIcon::Disabled : QIcon::Normal));
    switch (state)
    {
    case TrayState::Monitoring:
        DrawDot(painter, QColor(0x2e, 0xa0, 0x43));
        break;
    case TrayState::Event:
        DrawDot(painter, QColor(0xd0, 0x21, 0x21));
        break;
    case TrayState::Resting:
        DrawDot(painter, QColor(0x3b, 0x6e, 0xd0));
        break;
    case TrayState::Lost:
    {
        DrawDot(painter, QColor(0xf0, 0xb4, 0x00));
        painter.setPen(QPen(Qt::black, Side / 12.0, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(Side * 0.75, Side * 0.62), QPointF(Side * 0.75, Side * 0.80));
        painter.drawPoint(QPointF(Side * 0.75, Side * 0.89));
        break;
    }
    case TrayState::Preview:
        break;
    }
    painter.end();
    return QIcon(picture);
}
