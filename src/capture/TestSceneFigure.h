#pragma once

#include "capture/DibFrame.h"
#include "capture/TestSceneWalk.h"

#include <QImage>
#include <vector>

// The person walking through the test scene. The pictures of the walk (a set of moments of one
// stride, and standing) are painted once when the figure is made; drawing a frame only blends the
// right picture into it, mirrored when the person walks to the left.
class TestSceneFigure
{
public:
    static constexpr int WalkPictures = 16;

    explicit TestSceneFigure(double height);

    // Width of the figure's pictures in pixels.
    int Width() const;
    // Blends the figure standing on feetY (pixels from the top) into the frame.
    void Draw(DibFrame& frame, const TestSceneFigurePose& pose, double feetY) const;

private:
    double height_;
    int top_;
    std::vector<QImage> walking_;
    QImage standing_;
};
