#include "capture/scene/TestSceneWalk.h"

#include <algorithm>
#include <cmath>

namespace
{
// A stride is two steps; its length in figure heights keeps the legs in time with the ground.
constexpr double StrideLength = 0.95;
// The longest the walking in and out together may take, so that each cycle ends with an empty room.
constexpr double WalkingSeconds = 4.6;
} // namespace

TestSceneFigurePose FigurePoseAt(double seconds, const TestSceneLayout& layout, double figureWidth)
{
    const double width = layout.Size.width();
    const double height = std::max(layout.FigureHeight, 1.0);
    const double start = -figureWidth / 2 - 1;
    const double stand = 0.40 * width;
    const double end = width + figureWidth / 2 + 1;
    const double walkIn = stand - start;
    const double walkOut = end - stand;
    const double speed = std::max(height, (walkIn + walkOut) / WalkingSeconds);

    const double time = std::max(seconds, 0.0);
    const double cycle = std::floor(time / TestSceneCycleSeconds);
    const double t = time - cycle * TestSceneCycleSeconds - TestSceneEmptySeconds;
    const double arrive = walkIn / speed;
    const double leave = arrive + TestSceneStandSeconds;
    const double gone = leave + walkOut / speed;

    TestSceneFigurePose pose;
    if (t < 0 || t >= gone)
        return pose;
    pose.Visible = true;
    double walked = 0;
    if (t < arrive)
    {
        walked = speed * t;
        pose.CentreX = start + walked;
        pose.Walking = true;
    }
    else if (t < leave)
    {
        pose.CentreX = stand;
    }
    else
    {
        walked = speed * (t - leave);
        pose.CentreX = stand + walked;
        pose.Walking = true;
    }
    pose.StridePhase = std::fmod(walked / (StrideLength * height), 1.0);
    // Every other cycle the figure comes from the right.
    if (std::fmod(cycle, 2.0) != 0)
    {
        pose.CentreX = width - pose.CentreX;
        pose.FacingRight = false;
    }
    return pose;
}
