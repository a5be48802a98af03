#pragma once

#include "capture/driver/DibFrame.h"
#include "capture/scene/TestSceneFigure.h"
#include "capture/scene/TestSceneLayout.h"
#include "capture/scene/TestSceneWalk.h"

#include <QSize>
#include <QTime>
#include <cstdint>
#include <vector>

// Draws the frames of the test scene: a room with a wall clock in which a person walks in, stops and
// walks out every few seconds. The room is painted once, in the frame's own row order; a frame is a
// copy of it with the clock's hands and the person drawn on top. Only the calling thread uses it.
class TestSceneRenderer
{
public:
    // Sizes are limited to 1 to MaxSide pixels each way, rates to 1 to 240 frames a second.
    static constexpr int MaxSide = 8192;

    TestSceneRenderer(QSize size, int framesPerSecond);

    // False when the room's picture could not be allocated; Render then delivers a plain grey frame.
    bool IsValid() const { return !background_.empty(); }
    QSize Size() const { return layout_.Size; }
    int FramesPerSecond() const { return framesPerSecond_; }
    const TestSceneLayout& Layout() const { return layout_; }

    // Where the person is in frame number frameNumber (counted from 0 at the frame rate).
    TestSceneFigurePose FigureAt(std::uint64_t frameNumber) const;

    // Draws frame number frameNumber, its clock showing clockTime, into frame, resizing it as needed.
    void Render(std::uint64_t frameNumber, const QTime& clockTime, DibFrame& frame) const;

private:
    TestSceneLayout layout_;
    int framesPerSecond_;
    // The room as bottom-up rows, the frame's layout.
    std::vector<std::uint8_t> background_;
    TestSceneFigure figure_;
};
