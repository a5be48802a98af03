#pragma once

#include <QRect>
#include <QSize>
#include <cstdint>
#include <functional>

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

// The largest size of video's proportions, no larger than video itself, for which windowSize (the
// main window's outer size around a capture area of that size) fits within area. Empty when not even
// the smallest picture fits.
// Where a window of the size given goes when it was last at saved: there, moved just enough to lie
// within available (a screen that is smaller or arranged otherwise than before).
QPoint PlaceOnScreen(QPoint saved, QSize window, const QRect& available);

QSize FitVideoToArea(QSize video, QSize area, const std::function<QSize(QSize)>& windowSize);
