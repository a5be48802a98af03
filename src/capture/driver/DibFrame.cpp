#include "capture/driver/DibFrame.h"

#include "common/ByteSum.h"

#include <cstring>

void CopyTopDownRows(const std::uint8_t* rows, std::size_t stride, DibFrame& frame)
{
    const auto used = static_cast<std::size_t>(frame.Width) * 3;
    const std::size_t padding = static_cast<std::size_t>(frame.Stride()) - used;
    std::uint64_t sum = 0;
    for (int y = 0; y < frame.Height; ++y)
    {
        const std::uint8_t* source = rows + static_cast<std::size_t>(y) * stride;
        sum += ByteSum(source, used);
        std::uint8_t* row = frame.TopDownRow(y);
        std::memcpy(row, source, used);
        // The padding stays zero, so that it never carries a previous frame's pixels.
        std::memset(row + used, 0, padding);
    }
    frame.KnownByteSum = sum;
}
