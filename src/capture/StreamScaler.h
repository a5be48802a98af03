#pragma once

#include "capture/DibFrame.h"

#include <QSize>
#include <QString>

struct AVFrame;
struct SwsContext;

// Converts decoded pictures into bitmap frames: 24-bit blue, green, red pixels, rows bottom-up and
// padded to four bytes, scaled to the size asked for. The conversion is set up again whenever the
// pictures' size or pixel format or the size asked for changes.
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
    SwsContext* context_ = nullptr;
    // The colour details last given to context_.
    int range_ = -1;
    int colorspace_ = -1;
};
