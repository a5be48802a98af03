#pragma once

#include "capture/driver/DibFrame.h"

#include <QImage>

// Copies a frame into a picture the screen can draw at once: top-down rows of 32-bit pixels
// (QImage::Format_RGB32). image is reallocated only when the frame's size changed.
void DibToImage(const DibFrame& frame, QImage& image);

// Converts width pixels of 24-bit blue, green, red into 32-bit pixels (QImage::Format_RGB32 order).
void BgrToRgb32(const std::uint8_t* bgr, QRgb* out, int width);

// Converts count pixels of a row of 24-bit blue, green, red into 32-bit pixels, the pixel at byte
// offset columns[i] of bgr into out[i]: a row scaled as it is converted. columns grow; end is the end
// of the memory that may be read.
void SampleBgrToRgb32(const std::uint8_t* bgr, const std::uint8_t* end, const int* columns, QRgb* out,
                      int count);
