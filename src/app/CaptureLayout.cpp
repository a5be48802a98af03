#include "app/CaptureLayout.h"

CaptureLayout LayoutForVideo(std::uint32_t videoWidth, std::uint32_t videoHeight, float frameLeft,
                             float frameTop)
{
    constexpr float TwipsPerWindowPixel = 14.26531f;
    CaptureLayout layout{};
    layout.FrameWidth = static_cast<float>(videoWidth) + 8.0f;
    layout.FrameHeight = static_cast<float>(videoHeight) + 15.0f;
    layout.StatusPictureHeight = layout.FrameHeight * 0.9f;
    layout.WindowWidthTwips = (layout.FrameWidth + frameLeft + 40.0f) * TwipsPerWindowPixel;
    layout.WindowHeightTwips = (layout.FrameHeight + frameTop + 80.0f) * TwipsPerWindowPixel;
    return layout;
}
