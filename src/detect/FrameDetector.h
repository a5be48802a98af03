#pragma once

#include <cstddef>
#include <cstdint>

// The change detector's state. FrameCount is 0 when a new baseline is due, 1 to 25 while the
// baseline is summed and 26 once frames are compared. Sums are 64-bit, so that a bright large frame
// never overflows.
struct DetectorState
{
    std::int16_t FrameCount = 0;
    std::int64_t FrameTotal = 0;
    std::int64_t LastFrameSum = 0;
};

constexpr std::int16_t BaselineFrames = 25;
constexpr std::int16_t Comparing = BaselineFrames + 1;

// What one frame did to the detector.
struct DetectorStep
{
    bool Restarted = false;        // first frame of a new baseline
    bool BaselineComplete = false; // this frame completed the baseline
    bool Detected = false;         // this frame differs from the one before by more than the sensitivity
    bool Compared = false;         // this frame was compared with the one before
    double Change = 0.0;           // the size of that change in sensitivity units (100000 of the byte sum)
};

// Feeds one frame's byte sum to the detector. A change counts when it is greater than
// sensitivity x 100000 in either direction.
DetectorStep StepDetector(DetectorState& state, std::int64_t byteSum, double sensitivity);
