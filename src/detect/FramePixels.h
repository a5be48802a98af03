#pragma once

#include <cstddef>
#include <cstdint>

// A frame as the detectors read it: 24-bit pixels in blue, green, red order, rows stored bottom-up,
// Stride bytes apart.
struct FramePixels
{
    int Width = 0;
    int Height = 0;
    int Stride = 0;
    const std::uint8_t* Bits = nullptr;
    // The bytes Bits holds.
    std::size_t Size = 0;
    // Milliseconds since the source started.
    std::uint32_t TimeCaptured = 0;

    bool Usable() const
    {
        return Width > 0 && Height > 0 && Bits != nullptr && Stride >= 3 * Width &&
               Size >= static_cast<std::size_t>(Stride) * static_cast<std::size_t>(Height);
    }
    // Row y counted from the top of the picture.
    const std::uint8_t* TopDownRow(int y) const
    {
        return Bits + static_cast<std::size_t>(Height - 1 - y) * static_cast<std::size_t>(Stride);
    }
};
