#pragma once

#include "capture/driver/DibFrame.h"

#include <QImage>
#include <array>
#include <cstdint>
#include <vector>

// Copies a frame into a picture the screen can draw at once: top-down rows of 32-bit pixels
// (QImage::Format_RGB32). image is reallocated only when the frame's size changed.
void DibToImage(const DibFrame& frame, QImage& image);

// Converts width pixels of 24-bit blue, green, red into 32-bit pixels (QImage::Format_RGB32 order).
void BgrToRgb32(const std::uint8_t* bgr, QRgb* out, int width);

// Asks the processor to start reading size bytes from data, for a row converted next: a frame fresh
// from the capture thread is not in this processor's cache.
void PrefetchBytes(const std::uint8_t* data, std::size_t size);

// Converts rows of 24-bit blue, green, red pixels into rows of 32-bit pixels at another width: out[i]
// takes the pixel at byte offset columns[i] of the row. Made once for a drawing, used for each row.
class RowSampler
{
public:
    // columns grow.
    explicit RowSampler(std::vector<int> columns);

    int Count() const { return static_cast<int>(columns_.size()); }
    // Converts one row into Count() pixels; end is the end of the memory that may be read.
    void Sample(const std::uint8_t* row, const std::uint8_t* end, QRgb* out) const;
    // Asks the processor to start reading the part of row that Sample reads.
    void Prefetch(const std::uint8_t* row) const;

private:
    std::vector<int> columns_;
    // For each four pixels out, when the four lie within 16 bytes of the row from columns_ of the first:
    // the byte order that spreads them into four 32-bit pixels, for one load and one shuffle. Empty
    // where the processor has no byte shuffle or no four pixels lie that close.
    std::vector<std::array<std::int8_t, 16>> spreads_;
    std::vector<bool> spreadable_;
};
