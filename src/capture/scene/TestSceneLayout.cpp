#include "capture/scene/TestSceneLayout.h"

TestSceneLayout TestSceneLayoutFor(QSize size)
{
    const double w = size.width();
    const double h = size.height();
    TestSceneLayout layout;
    layout.Size = size;
    layout.FloorY = 0.70 * h;
    layout.Window = QRectF(0.07 * w, 0.12 * h, 0.24 * w, 0.38 * h);
    layout.Picture = QRectF(0.40 * w, 0.22 * h, 0.10 * w, 0.14 * h);
    layout.Sideboard = QRectF(0.55 * w, 0.48 * h, 0.25 * w, 0.24 * h);
    layout.Plant = QRectF(0.86 * w, 0.44 * h, 0.10 * w, 0.34 * h);
    layout.ClockCentre = QPointF(0.66 * w, 0.20 * h);
    layout.ClockRadius = 0.07 * h;
    layout.FigureHeight = 0.52 * h;
    layout.FeetY = 0.94 * h;
    return layout;
}
