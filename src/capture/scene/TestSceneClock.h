#pragma once

#include "capture/driver/DibFrame.h"
#include "capture/scene/TestSceneLayout.h"

#include <QTime>

class QPainter;

// The wall clock of the test scene: a face painted once into the room, and hands drawn into each
// frame. The hands sweep smoothly, so that from one frame to the next they move by a sliver and the
// frame's byte sum hardly changes.
struct ClockHandAngles
{
    // Degrees clockwise from twelve o'clock.
    double Hour = 0;
    double Minute = 0;
    double Second = 0;
};

ClockHandAngles ClockHandAnglesAt(const QTime& time);

void PaintClockFace(QPainter& painter, const TestSceneLayout& layout);
void DrawClockHands(DibFrame& frame, const TestSceneLayout& layout, const QTime& time);
