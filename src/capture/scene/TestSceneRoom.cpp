#include "capture/scene/TestSceneRoom.h"

#include "capture/scene/TestSceneClock.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace
{
// A fixed sequence of numbers from 0 to 1, so that the floorboards look the same in every run.
class Shuffle
{
public:
    double Next()
    {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 24);
    }

private:
    std::uint32_t state_ = 20240611u;
};

void PaintWall(QPainter& p, const TestSceneLayout& l)
{
    const double w = l.Size.width();
    const double h = l.Size.height();
    QLinearGradient wall(0, 0, 0, l.FloorY);
    wall.setColorAt(0, QColor(214, 204, 186));
    wall.setColorAt(1, QColor(234, 226, 208));
    p.fillRect(QRectF(0, 0, w, l.FloorY), wall);

    // Daylight from the window brightens the wall around it.
    QRadialGradient light(l.Window.center(), 0.55 * w);
    light.setColorAt(0, QColor(255, 250, 235, 70));
    light.setColorAt(1, QColor(255, 250, 235, 0));
    p.fillRect(QRectF(0, 0, w, l.FloorY), light);

    p.fillRect(QRectF(0, 0, w, 0.025 * h), QColor(244, 240, 232));
    p.fillRect(QRectF(0, 0.025 * h, w, 0.004 * h), QColor(200, 190, 172));
}

void PaintFloor(QPainter& p, const TestSceneLayout& l)
{
    const double w = l.Size.width();
    const double h = l.Size.height();
    const double depth = h - l.FloorY;
    Shuffle shuffle;
    // Boards get wider towards the viewer; each has its own shade and a joint somewhere along it.
    const int boards = 9;
    for (int i = 0; i < boards; ++i)
    {
        const double top = l.FloorY + depth * std::pow(static_cast<double>(i) / boards, 1.5);
        const double bottom = l.FloorY + depth * std::pow(static_cast<double>(i + 1) / boards, 1.5);
        const int shade = static_cast<int>(shuffle.Next() * 22);
        p.fillRect(QRectF(0, top, w, bottom - top + 1), QColor(150 + shade, 104 + shade, 66 + shade / 2));
        p.fillRect(QRectF(0, top, w, std::max(1.0, 0.002 * h)), QColor(112, 76, 48));
        for (double x = shuffle.Next() * 0.4 * w; x < w; x += (0.35 + 0.3 * shuffle.Next()) * w)
            p.fillRect(QRectF(x, top, std::max(1.0, 0.0015 * w), bottom - top), QColor(118, 80, 52));
    }
    // The window's light falls on the floor.
    QPainterPath patch;
    patch.moveTo(l.Window.left() + 0.06 * w, l.FloorY);
    patch.lineTo(l.Window.right() + 0.02 * w, l.FloorY);
    patch.lineTo(l.Window.right() + 0.16 * w, h);
    patch.lineTo(l.Window.left() + 0.10 * w, h);
    p.fillPath(patch, QColor(255, 244, 214, 34));

    // A rug in front of the sideboard, with a border.
    const QPointF rug(0.47 * w, 0.85 * h);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(138, 58, 52));
    p.drawEllipse(rug, 0.27 * w, 0.075 * h);
    p.setBrush(QColor(196, 156, 112));
    p.drawEllipse(rug, 0.23 * w, 0.058 * h);
    p.setBrush(QColor(150, 66, 58));
    p.drawEllipse(rug, 0.21 * w, 0.050 * h);

    // Skirting board.
    p.fillRect(QRectF(0, l.FloorY - 0.03 * h, w, 0.03 * h), QColor(246, 243, 236));
    p.fillRect(QRectF(0, l.FloorY - 0.03 * h, w, std::max(1.0, 0.003 * h)), QColor(210, 204, 192));
}

void PaintWindow(QPainter& p, const TestSceneLayout& l)
{
    const double w = l.Size.width();
    const double h = l.Size.height();
    const QRectF frame = l.Window;
    const double bar = std::max(2.0, 0.014 * h);
    const QRectF glass = frame.adjusted(bar, bar, -bar, -bar);

    // The view: sky, hills and a tree.
    p.save();
    p.setClipRect(glass);
    QLinearGradient sky(0, glass.top(), 0, glass.bottom());
    sky.setColorAt(0, QColor(112, 165, 220));
    sky.setColorAt(1, QColor(206, 228, 242));
    p.fillRect(glass, sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(QPointF(glass.left() + 0.3 * glass.width(), glass.top() + 0.22 * glass.height()),
                  0.16 * glass.width(), 0.05 * glass.height());
    p.drawEllipse(QPointF(glass.left() + 0.42 * glass.width(), glass.top() + 0.19 * glass.height()),
                  0.12 * glass.width(), 0.06 * glass.height());
    QPainterPath hills;
    hills.moveTo(glass.left(), glass.bottom());
    hills.lineTo(glass.left(), glass.top() + 0.66 * glass.height());
    hills.quadTo(glass.left() + 0.35 * glass.width(), glass.top() + 0.50 * glass.height(),
                 glass.left() + 0.65 * glass.width(), glass.top() + 0.68 * glass.height());
    hills.quadTo(glass.left() + 0.85 * glass.width(), glass.top() + 0.76 * glass.height(), glass.right(),
                 glass.top() + 0.64 * glass.height());
    hills.lineTo(glass.right(), glass.bottom());
    p.setBrush(QColor(112, 160, 96));
    p.drawPath(hills);
    const QPointF tree(glass.left() + 0.78 * glass.width(), glass.top() + 0.62 * glass.height());
    p.fillRect(QRectF(tree.x() - 0.012 * w, tree.y(), 0.024 * w, 0.2 * glass.height()), QColor(96, 70, 48));
    p.setBrush(QColor(66, 118, 70));
    p.drawEllipse(tree, 0.07 * w, 0.12 * glass.height());
    p.setBrush(QColor(80, 136, 80));
    p.drawEllipse(tree + QPointF(-0.02 * w, -0.03 * glass.height()), 0.045 * w, 0.08 * glass.height());
    p.restore();

    // Frame, cross bars and sill.
    QPainterPath frameShape;
    frameShape.addRect(frame);
    frameShape.addRect(glass);
    p.fillPath(frameShape, QColor(248, 247, 243));
    p.fillRect(QRectF(frame.center().x() - bar / 2, glass.top(), bar, glass.height()), QColor(248, 247, 243));
    p.fillRect(QRectF(glass.left(), glass.top() + 0.45 * glass.height() - bar / 2, glass.width(), bar),
               QColor(248, 247, 243));
    p.fillRect(QRectF(frame.left() - 0.015 * w, frame.bottom(), frame.width() + 0.03 * w, 0.022 * h),
               QColor(240, 238, 232));
    p.fillRect(
        QRectF(frame.left() - 0.015 * w, frame.bottom() + 0.022 * h, frame.width() + 0.03 * w, 0.006 * h),
        QColor(190, 182, 168));
}

void PaintCurtain(QPainter& p, QRectF area)
{
    QLinearGradient folds(area.left(), 0, area.right(), 0);
    folds.setSpread(QGradient::RepeatSpread);
    folds.setFinalStop(area.left() + area.width() / 3, 0);
    folds.setColorAt(0, QColor(62, 112, 118));
    folds.setColorAt(0.5, QColor(92, 146, 150));
    folds.setColorAt(1, QColor(62, 112, 118));
    p.fillRect(area, folds);
}

void PaintCurtains(QPainter& p, const TestSceneLayout& l)
{
    const double w = l.Size.width();
    const double h = l.Size.height();
    const QRectF window = l.Window;
    const double top = window.top() - 0.04 * h;
    const double bottom = window.bottom() + 0.06 * h;
    p.fillRect(QRectF(window.left() - 0.07 * w, top - 0.008 * h, window.width() + 0.14 * w, 0.01 * h),
               QColor(70, 60, 52));
    PaintCurtain(p, QRectF(window.left() - 0.06 * w, top, 0.075 * w, bottom - top));
    PaintCurtain(p, QRectF(window.right() - 0.015 * w, top, 0.075 * w, bottom - top));
}

void PaintPicture(QPainter& p, const TestSceneLayout& l)
{
    const QRectF frame = l.Picture;
    const double border = std::max(2.0, 0.08 * frame.width());
    p.fillRect(frame.translated(0.004 * l.Size.width(), 0.006 * l.Size.height()), QColor(0, 0, 0, 40));
    p.fillRect(frame, QColor(58, 44, 34));
    const QRectF art = frame.adjusted(border, border, -border, -border);
    QLinearGradient dusk(0, art.top(), 0, art.bottom());
    dusk.setColorAt(0, QColor(238, 178, 120));
    dusk.setColorAt(1, QColor(246, 222, 176));
    p.fillRect(art, dusk);
    QPainterPath mountains;
    mountains.moveTo(art.bottomLeft());
    mountains.lineTo(art.left(), art.top() + 0.7 * art.height());
    mountains.lineTo(art.left() + 0.35 * art.width(), art.top() + 0.35 * art.height());
    mountains.lineTo(art.left() + 0.6 * art.width(), art.top() + 0.62 * art.height());
    mountains.lineTo(art.left() + 0.78 * art.width(), art.top() + 0.48 * art.height());
    mountains.lineTo(art.right(), art.top() + 0.66 * art.height());
    mountains.lineTo(art.bottomRight());
    p.fillPath(mountains, QColor(96, 84, 110));
}

void PaintSideboard(QPainter& p, const TestSceneLayout& l)
{
    const double h = l.Size.height();
    const QRectF body = l.Sideboard;
    const double top = std::max(2.0, 0.02 * h);
    p.fillRect(QRectF(body.left() + 0.01 * h, body.bottom() - 0.01 * h, body.width(), 0.015 * h),
               QColor(0, 0, 0, 50));
    QLinearGradient wood(body.left(), 0, body.right(), 0);
    wood.setColorAt(0, QColor(128, 84, 56));
    wood.setColorAt(1, QColor(104, 68, 44));
    p.fillRect(body.adjusted(0, top, 0, -0.03 * h), wood);
    p.fillRect(QRectF(body.left() - 0.01 * h, body.top(), body.width() + 0.02 * h, top),
               QColor(146, 100, 68));
    // Two doors with knobs, and short legs.
    const QRectF doors = body.adjusted(0.02 * h, top + 0.02 * h, -0.02 * h, -0.05 * h);
    p.setPen(QPen(QColor(84, 54, 36), std::max(1.0, 0.004 * h)));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(doors.left(), doors.top(), doors.width() / 2, doors.height()));
    p.drawRect(QRectF(doors.center().x(), doors.top(), doors.width() / 2, doors.height()));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(210, 180, 110));
    p.drawEllipse(QPointF(doors.center().x() - 0.02 * h, doors.center().y()), 0.008 * h, 0.008 * h);
    p.drawEllipse(QPointF(doors.center().x() + 0.02 * h, doors.center().y()), 0.008 * h, 0.008 * h);
    for (double x : {body.left() + 0.02 * h, body.right() - 0.035 * h})
        p.fillRect(QRectF(x, body.bottom() - 0.03 * h, 0.015 * h, 0.03 * h), QColor(84, 54, 36));

    // A lamp and a few books on top.
    const QPointF lamp(body.left() + 0.22 * body.width(), body.top());
    p.fillRect(QRectF(lamp.x() - 0.006 * h, lamp.y() - 0.09 * h, 0.012 * h, 0.09 * h), QColor(70, 66, 60));
    QPainterPath shade;
    shade.moveTo(lamp.x() - 0.035 * h, lamp.y() - 0.08 * h);
    shade.lineTo(lamp.x() + 0.035 * h, lamp.y() - 0.08 * h);
    shade.lineTo(lamp.x() + 0.022 * h, lamp.y() - 0.14 * h);
    shade.lineTo(lamp.x() - 0.022 * h, lamp.y() - 0.14 * h);
    p.fillPath(shade, QColor(242, 222, 176));
    const QColor books[] = {QColor(160, 52, 48), QColor(58, 96, 140), QColor(214, 170, 72)};
    for (int i = 0; i < 3; ++i)
    {
        const double height = (0.05 + 0.008 * i) * h;
        p.fillRect(
            QRectF(body.left() + 0.62 * body.width() + 0.02 * h * i, body.top() - height, 0.018 * h, height),
            books[i]);
    }
}

void PaintPlant(QPainter& p, const TestSceneLayout& l)
{
    const QRectF area = l.Plant;
    const double potTop = area.top() + 0.62 * area.height();
    QPainterPath pot;
    pot.moveTo(area.left() + 0.18 * area.width(), potTop);
    pot.lineTo(area.right() - 0.18 * area.width(), potTop);
    pot.lineTo(area.right() - 0.28 * area.width(), area.bottom());
    pot.lineTo(area.left() + 0.28 * area.width(), area.bottom());
    p.fillPath(pot, QColor(186, 98, 62));
    p.setPen(Qt::NoPen);
    const QPointF root(area.center().x(), potTop);
    const double leaf = 0.32 * area.height();
    const double angles[] = {-70, -45, -20, 0, 20, 45, 70, -5};
    for (double angle : angles)
    {
        p.save();
        p.translate(root);
        p.rotate(angle);
        p.setBrush(angle < 0 ? QColor(58, 112, 62) : QColor(74, 132, 72));
        p.drawEllipse(QPointF(0, -leaf / 2), 0.18 * area.width(), leaf / 2);
        p.restore();
    }
}
} // namespace

QImage PaintTestSceneRoom(const TestSceneLayout& layout)
{
    QImage room(layout.Size, QImage::Format_RGB32);
    if (room.isNull())
        return room;
    QPainter painter(&room);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintWall(painter, layout);
    PaintFloor(painter, layout);
    PaintWindow(painter, layout);
    PaintCurtains(painter, layout);
    PaintPicture(painter, layout);
    PaintSideboard(painter, layout);
    PaintPlant(painter, layout);
    PaintClockFace(painter, layout);
    return room;
}
