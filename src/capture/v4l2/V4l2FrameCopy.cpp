#include "capture/v4l2/V4l2FrameCopy.h"

#include "capture/v4l2/V4l2Formats.h"
#include "detect/ByteSum.h"

#include <cstring>

bool CopyBgr24ToDib(const std::uint8_t* data, std::size_t size, int width, int height, int bytesPerLine,
                    DibFrame& frame)
{
    if (data == nullptr || width <= 0 || height <= 0 || width > V4l2MaxDimension ||
        height > V4l2MaxDimension || bytesPerLine < width * 3)
        return false;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    const std::size_t needed =
        static_cast<std::size_t>(bytesPerLine) * static_cast<std::size_t>(height - 1) + rowBytes;
    if (size < needed)
        return false;

    frame.Resize(width, height);
    const std::size_t padding = static_cast<std::size_t>(frame.Stride()) - rowBytes;
    // Each row is summed as it is copied: the sum brings the row into the cache for the copy, and the
    // detector need not read the whole frame again.
    std::uint64_t sum = 0;
    for (int y = 0; y < height; ++y)
    {
        const std::uint8_t* source =
            data + static_cast<std::size_t>(y) * static_cast<std::size_t>(bytesPerLine);
        sum += ByteSum(source, rowBytes);
        std::uint8_t* row = frame.TopDownRow(y);
        std::memcpy(row, source, rowBytes);
        std::memset(row + rowBytes, 0, padding);
    }
    frame.KnownByteSum = sum;
    return true;
}
