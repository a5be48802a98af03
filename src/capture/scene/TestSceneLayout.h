#pragma once

#include <QPointF>
#include <QRectF>
#include <QSize>

// Where things are in the test scene, in pixels counted from the top-left corner of the picture.
// Everything scales with the picture: heights follow its height, positions across follow its width.
struct TestSceneLayout
{
    QSize Size;
    // The line where the wall meets the floor.
    double FloorY = 0;
    QRectF Window;
    QRectF Picture;
    QRectF Sideboard;
    QRectF Plant;
    QPointF ClockCentre;
    double ClockRadius = 0;
    // The walking figure: its height from the top of the head to the soles, and where the soles are.
    double FigureHeight = 0;
    double FeetY = 0;
};

TestSceneLayout TestSceneLayoutFor(QSize size);
