#include "capture/StreamScaler.h"

#include "capture/StreamSettings.h"

#include <cstring>

extern "C"
{
#include <libavutil/frame.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

namespace
{
bool Acceptable(int width, int height)
{
    return width > 0 && height > 0 && width <= StreamMaxSide && height <= StreamMaxSide;
}

// The full-range "J" formats are the same layouts as their plain forms; swscale wants the plain form
// with the range given separately.
AVPixelFormat PlainFormat(AVPixelFormat format, bool* fullRange)
{
    switch (format)
    {
    case AV_PIX_FMT_YUVJ420P:
        *fullRange = true;
        return AV_PIX_FMT_YUV420P;
    case AV_PIX_FMT_YUVJ422P:
        *fullRange = true;
        return AV_PIX_FMT_YUV422P;
    case AV_PIX_FMT_YUVJ444P:
        *fullRange = true;
        return AV_PIX_FMT_YUV444P;
    case AV_PIX_FMT_YUVJ440P:
        *fullRange = true;
        return AV_PIX_FMT_YUV440P;
    case AV_PIX_FMT_YUVJ411P:
        *fullRange = true;
        return AV_PIX_FMT_YUV411P;
    default:
        return format;
    }
}
} // namespace

StreamScaler::~StreamScaler()
{
    sws_freeContext(context_);
}

bool StreamScaler::Convert(const AVFrame& picture, QSize size, DibFrame& frame, QString* error)
{
    if (!Acceptable(picture.width, picture.height))
    {
        *error = QStringLiteral("The video changed to a size Vantu cannot show (%1 x %2 pixels).")
                     .arg(picture.width)
                     .arg(picture.height);
        return false;
    }
    if (size.isEmpty())
        size = QSize(picture.width, picture.height);
    if (!Acceptable(size.width(), size.height()))
    {
        *error = QStringLiteral("Vantu cannot scale the video to %1 x %2 pixels.")
                     .arg(size.width())
                     .arg(size.height());
        return false;
    }
    bool fullRange = picture.color_range == AVCOL_RANGE_JPEG;
    const AVPixelFormat format = PlainFormat(static_cast<AVPixelFormat>(picture.format), &fullRange);
    if (format == AV_PIX_FMT_NONE || sws_isSupportedInput(format) == 0)
    {
        const char* name = av_get_pix_fmt_name(static_cast<AVPixelFormat>(picture.format));
        *error = QStringLiteral("Vantu cannot convert pictures in the %1 pixel format.")
                     .arg(name != nullptr ? QString::fromUtf8(name) : QStringLiteral("unknown"));
        return false;
    }

    SwsContext* context =
        sws_getCachedContext(context_, picture.width, picture.height, format, size.width(), size.height(),
                             AV_PIX_FMT_BGR24, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (context == nullptr)
    {
        context_ = nullptr; // sws_getCachedContext has freed the old one
        *error = QStringLiteral("Vantu could not set up the conversion of the video pictures.");
        return false;
    }
    const int range = fullRange ? 1 : 0;
    const int colorspace = picture.colorspace == AVCOL_SPC_BT709 ? SWS_CS_ITU709 : SWS_CS_DEFAULT;
    if (context != context_ || range != range_ || colorspace != colorspace_)
    {
        const int* coefficients = sws_getCoefficients(colorspace);
        sws_setColorspaceDetails(context, coefficients, range, sws_getCoefficients(SWS_CS_DEFAULT), 1, 0,
                                 1 << 16, 1 << 16);
        context_ = context;
        range_ = range;
        colorspace_ = colorspace;
    }

    frame.Resize(size.width(), size.height());
    const int stride = frame.Stride();
    // The last row of the buffer is the top of the picture: a negative stride writes the rows bottom-up.
    std::uint8_t* destination[4] = {frame.Bits.data() + static_cast<std::size_t>(frame.Height - 1) * stride,
                                    nullptr, nullptr, nullptr};
    const int destinationStride[4] = {-stride, 0, 0, 0};
    if (sws_scale(context_, picture.data, picture.linesize, 0, picture.height, destination,
                  destinationStride) <= 0)
    {
        *error = QStringLiteral("Vantu could not convert a video picture.");
        return false;
    }
    // The bytes that pad each row stay zero, so that they never carry a previous frame's pixels.
    const int used = frame.Width * 3;
    if (stride > used)
        for (int y = 0; y < frame.Height; ++y)
            std::memset(frame.TopDownRow(y) + used, 0, static_cast<std::size_t>(stride - used));
    return true;
}
