#include "capture/stream/module/StreamScaler.h"

#include "capture/stream/StreamSettings.h"

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
    context_ = context;
    // A context made afresh (even at the old address) starts with the default colour details.
    const Setup setup{picture.width,
                      picture.height,
                      format,
                      size,
                      fullRange ? 1 : 0,
                      picture.colorspace == AVCOL_SPC_BT709 ? SWS_CS_ITU709 : SWS_CS_DEFAULT};
    if (!(setup == setup_))
    {
        sws_setColorspaceDetails(context_, sws_getCoefficients(setup.Colorspace), setup.Range,
                                 sws_getCoefficients(SWS_CS_DEFAULT), 1, 0, 1 << 16, 1 << 16);
        setup_ = setup;
    }

    // swscale's packed-pixel output may write some dozens of bytes past the end of a row, so the
    // pictures go to a scratch buffer whose rows carry room for that, and are copied from there into
    // the frame bottom-up. Writing into the frame directly (with a negative stride for bottom-up
    // rows) would spoil neighbouring rows and the memory after the frame.
    const int used = size.width() * 3;
    const int scratchStride = ((used + 63) & ~63) + RowSlack;
    scratch_.resize(static_cast<std::size_t>(scratchStride) * static_cast<std::size_t>(size.height()));
    std::uint8_t* destination[4] = {scratch_.data(), nullptr, nullptr, nullptr};
    const int destinationStride[4] = {scratchStride, 0, 0, 0};
    if (sws_scale(context_, picture.data, picture.linesize, 0, picture.height, destination,
                  destinationStride) <= 0)
    {
        *error = QStringLiteral("Vantu could not convert a video picture.");
        return false;
    }
    frame.Resize(size.width(), size.height());
    CopyTopDownRows(scratch_.data(), static_cast<std::size_t>(scratchStride), frame);
    return true;
}
