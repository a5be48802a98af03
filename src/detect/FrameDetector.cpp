#include "detect/FrameDetector.h"

#include <algorithm>
#include <cmath>

DetectorStep StepDetector(DetectorState& state, std::int64_t byteSum, double sensitivity)
{
    DetectorStep step;
    if (state.FrameCount == 0)
    {
        step.Restarted = true;
        state.FrameTotal = 0;
        state.LastFrameSum = 0;
    }
    if (state.FrameCount < BaselineFrames)
    {
        ++state.FrameCount;
        state.FrameTotal += byteSum;
        return step;
    }
    if (state.FrameCount == BaselineFrames)
    {
        state.FrameCount = Comparing;
        state.LastFrameSum = std::llround(static_cast<double>(state.FrameTotal) / 25.0);
        step.BaselineComplete = true;
    }
    const double fall = static_cast<double>(state.LastFrameSum - byteSum) / 100000.0;
    const double rise = static_cast<double>(byteSum - state.LastFrameSum) / 100000.0;
    step.Detected = fall > sensitivity || rise > sensitivity;
    step.Compared = true;
    step.Change = std::max(fall, rise);
    state.LastFrameSum = byteSum;
    return step;
}
