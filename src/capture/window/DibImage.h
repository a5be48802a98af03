#pragma once

#include "capture/driver/DibFrame.h"

#include <QImage>

// Copies a frame into a picture the screen can draw at once: top-down rows of 32-bit pixels
// (QImage::Format_RGB32). image is reallocated only when the frame's size changed.
void DibToImage(const DibFrame& frame, QImage& image);

// Converts width pixels of 24-bit blue, green, red into 32-bit pixels (QImage::Format_RGB32 order).
void BgrToRgb32(const std::uint8_t* bgr, QRgb* out, int width);
