#pragma once

#include "capture/scene/TestSceneLayout.h"

// Where the test scene's figure is at a given moment. Every cycle the room is empty for a moment, then
// a person walks in from one side, stops, and walks out at the other side; the next cycle comes from
// the other side.
struct TestSceneFigurePose
{
    bool Visible = false;
    // Centre of the figure across the picture, in pixels.
    double CentreX = 0;
    bool FacingRight = true;
    bool Walking = false;
    // How far through a stride (two steps) the legs are, from 0 to 1.
    double StridePhase = 0;
};

constexpr double TestSceneCycleSeconds = 8.0;
constexpr double TestSceneEmptySeconds = 1.2;
constexpr double TestSceneStandSeconds = 1.6;

// figureWidth is the width of the figure's picture, so that it starts and ends wholly outside.
TestSceneFigurePose FigurePoseAt(double seconds, const TestSceneLayout& layout, double figureWidth);
