#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// One video frame as a device-independent bitmap: 24-bit pixels in blue, green, red order, rows
// stored bottom-up, each row padded to a multiple of four bytes.
struct DibFrame
{
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Bits;
    // Counts the frames a source has published, from 1; 0 for a frame never published.
    std::uint64_t Sequence = 0;
    // Milliseconds since the source started.
    std::uint32_t TimeCaptured = 0;
    // The sum of the BytesUsed() bytes, when the source worked it out as it wrote the rows, while
    // they were in the processor's cache; empty otherwise. Resize() empties it.
    std::optional<std::uint64_t> KnownByteSum;

    static constexpr int StrideFor(int width) { return (width * 3 + 3) & ~3; }
    int Stride() const { return StrideFor(Width); }
    std::size_t BytesUsed() const
    {
        return static_cast<std::size_t>(Stride()) * static_cast<std::size_t>(Height);
    }
    bool Empty() const { return Width <= 0 || Height <= 0; }

    // Sets the size, keeping the allocation when it is already large enough. The rows are to be
    // written anew: a sum known for the old ones is forgotten.
    void Resize(int width, int height)
    {
        Width = width;
        Height = height;
        KnownByteSum.reset();
        Bits.resize(BytesUsed());
    }

    // Row y counted from the top of the picture.
    std::uint8_t* TopDownRow(int y)
    {
        return Bits.data() + static_cast<std::size_t>(Height - 1 - y) * Stride();
    }
    const std::uint8_t* TopDownRow(int y) const
    {
        return Bits.data() + static_cast<std::size_t>(Height - 1 - y) * Stride();
    }
};

// Copies frame.Height rows of frame.Width pixels, given top-down and stride bytes apart, into the frame
// bottom-up, with zero padding, and notes their sum: each row is summed just before its copy, which
// then finds it in the cache, so that the detector need not read the whole frame again.
void CopyTopDownRows(const std::uint8_t* rows, std::size_t stride, DibFrame& frame);
