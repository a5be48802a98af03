#pragma once

#include <QRect>
#include <cmath>

// Window design measures are kept in twips; the screen has 15 twips to a pixel.
constexpr double TwipsPerPixel = 15.0;

inline int TwipsToPixels(double twips)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixel));
}

inline QRect TwipsRect(int left, int top, int width, int height)
{
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}
