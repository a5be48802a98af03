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
    // Summed row by row while each is in the cache, so that the detector need not read the frame again.
    std::uint64_t sum = 0;
    for (int y = 0; y < height; ++y)
    {
        std::uint8_t* row = frame.TopDownRow(y);
        std::memcpy(row, data + static_cast<std::size_t>(y) * static_cast<std::size_t>(bytesPerLine),
                    rowBytes);
        std::memset(row + rowBytes, 0, padding);
        sum += ByteSum(row, rowBytes);
    }
    frame.KnownByteSum = sum;
    return true;
}
