#pragma once

#include <cstdint>

// Sizes that follow from the video format: the "Live View" frame (in pixels) around a capture window
// of the video's size, the status picture's height, and the main window's outer size in twips.
// Kept as single-precision numbers, as the window's design measures are.
struct CaptureLayout
{
    float FrameWidth;
    float FrameHeight;
    float StatusPictureHeight;
    float WindowWidthTwips;
    float WindowHeightTwips;
};

CaptureLayout LayoutForVideo(std::uint32_t videoWidth, std::uint32_t videoHeight, float frameLeft,
                             float frameTop);
