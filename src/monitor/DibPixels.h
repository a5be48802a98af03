#pragma once

#include "capture/driver/DibFrame.h"
#include "detect/FramePixels.h"

// The frame's pixels as the detectors read them.
inline FramePixels PixelsOf(const DibFrame& frame)
{
    return {frame.Width,       frame.Height,      frame.Stride(),
            frame.Bits.data(), frame.Bits.size(), frame.TimeCaptured};
}
