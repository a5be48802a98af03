#include "app/CaptureLayout.h"

#include <algorithm>

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

QPoint PlaceOnScreen(QPoint saved, QSize window, const QRect& available)
{
    const int x = std::clamp(saved.x(), available.left(),
                             std::max(available.left(), available.right() + 1 - window.width()));
    const int y = std::clamp(saved.y(), available.top(),
                             std::max(available.top(), available.bottom() + 1 - window.height()));
    return {x, y};
}

QSize FitVideoToArea(QSize video, QSize area, const std::function<QSize(QSize)>& windowSize)
{
    const auto fits = [&](QSize size)
    {
        const QSize window = windowSize(size);
        return window.width() <= area.width() && window.height() <= area.height();
    };
    if (video.isEmpty() || fits(video))
        return video;
    const auto scaled = [&](int width)
    {
        const auto height = static_cast<int>(static_cast<qint64>(width) * video.height() / video.width());
        return QSize(width, std::max(height, 1));
    };
    // The window grows with the picture: the widest picture that fits is found by halving.
    int low = 0;
    int high = video.width();
    while (high - low > 1)
    {
        const int middle = low + (high - low) / 2;
        (fits(scaled(middle)) ? low : high) = middle;
    }
    return low > 0 && fits(scaled(low)) ? scaled(low) : QSize();
}
