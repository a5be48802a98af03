#pragma once

#include "capture/driver/DibFrame.h"

#include <QSize>
#include <QString>
#include <cstdint>
#include <vector>

struct AVFrame;
struct SwsContext;

// Converts decoded pictures into bitmap frames: 24-bit blue, green, red pixels, rows bottom-up and
// padded to four bytes with zeros, scaled to the size asked for. The conversion is set up again
// whenever the pictures' size or pixel format or the size asked for changes.
class StreamScaler
{
public:
    StreamScaler() = default;
    ~StreamScaler();
    StreamScaler(const StreamScaler&) = delete;
    StreamScaler& operator=(const StreamScaler&) = delete;

    // Writes picture into frame at size (the picture's own size when size is empty). False, with a
    // plain description in error, for a picture of no size, one larger than the driver accepts or
    // one in a pixel format that cannot be converted.
    bool Convert(const AVFrame& picture, QSize size, DibFrame& frame, QString* error);

private:
    // Room after each scratch row for what swscale writes past a row's end.
    static constexpr int RowSlack = 256;

    // What context_ was last set up for.
    struct Setup
    {
        int Width = 0;
        int Height = 0;
        int Format = -1;
        QSize Size;
        int Range = -1;
        int Colorspace = -1;
        bool operator==(const Setup&) const = default;
    };

    SwsContext* context_ = nullptr;
    Setup setup_;
    std::vector<std::uint8_t> scratch_;
};
