#include "capture/v4l2/V4l2FrameCopy.h"

#include "capture/v4l2/V4l2Formats.h"

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
    CopyTopDownRows(data, static_cast<std::size_t>(bytesPerLine), frame);
    return true;
}
