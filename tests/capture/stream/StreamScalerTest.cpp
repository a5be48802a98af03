#include "capture/stream/module/StreamScaler.h"
#include "common/ByteSum.h"

#include <gtest/gtest.h>
#include <memory>

extern "C"
{
#include <libavutil/frame.h>
}

namespace
{
struct FrameDeleter
{
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;

// A planar 4:2:0 picture of one colour, given as Y, Cb, Cr.
FramePtr Picture(AVPixelFormat format, int width, int height, int y, int cb, int cr)
{
    FramePtr frame(av_frame_alloc());
    frame->format = format;
    frame->width = width;
    frame->height = height;
    if (av_frame_get_buffer(frame.get(), 0) < 0)
        return nullptr;
    for (int row = 0; row < height; ++row)
        std::fill_n(frame->data[0] + row * frame->linesize[0], width, static_cast<std::uint8_t>(y));
    for (int row = 0; row < (height + 1) / 2; ++row)
    {
        std::fill_n(frame->data[1] + row * frame->linesize[1], (width + 1) / 2,
                    static_cast<std::uint8_t>(cb));
        std::fill_n(frame->data[2] + row * frame->linesize[2], (width + 1) / 2,
                    static_cast<std::uint8_t>(cr));
    }
    return frame;
}

void ExpectEveryPixel(const DibFrame& frame, int blue, int green, int red)
{
    for (int y = 0; y < frame.Height; ++y)
    {
        const std::uint8_t* row = frame.TopDownRow(y);
        for (int x = 0; x < frame.Width; ++x)
        {
            ASSERT_NEAR(row[x * 3], blue, 3) << x << "," << y;
            ASSERT_NEAR(row[x * 3 + 1], green, 3) << x << "," << y;
            ASSERT_NEAR(row[x * 3 + 2], red, 3) << x << "," << y;
        }
        for (int x = frame.Width * 3; x < frame.Stride(); ++x)
            ASSERT_EQ(row[x], 0) << "padding of row " << y;
    }
}
} // namespace

TEST(StreamScaler, OddSizesGetPaddedRowsAndSmallerFramesLeaveNoOldBytesInThePadding)
{
    StreamScaler scaler;
    DibFrame frame;
    QString error;
    // Limited-range white, then full-range (JPEG) black: both ranges must come out right.
    const FramePtr white = Picture(AV_PIX_FMT_YUV420P, 65, 49, 235, 128, 128);
    ASSERT_TRUE(scaler.Convert(*white, QSize(), frame, &error)) << error.toStdString();
    EXPECT_EQ(frame.Stride(), 196);
    EXPECT_EQ(frame.Bits.size(), 196u * 49u);
    ExpectEveryPixel(frame, 255, 255, 255);

    const FramePtr black = Picture(AV_PIX_FMT_YUVJ420P, 65, 49, 0, 128, 128);
    ASSERT_TRUE(scaler.Convert(*black, QSize(33, 25), frame, &error)) << error.toStdString();
    EXPECT_EQ(QSize(frame.Width, frame.Height), QSize(33, 25));
    EXPECT_EQ(frame.Stride(), 100);
    ExpectEveryPixel(frame, 0, 0, 0);

    ASSERT_TRUE(scaler.Convert(*white, QSize(7, 3), frame, &error)) << error.toStdString();
    ExpectEveryPixel(frame, 255, 255, 255);
}

TEST(StreamScaler, EveryRowKeepsItsOwnPixelsAtEverySize)
{
    // Rows alternate between black and white; a conversion that writes past the end of a row would
    // spoil the start of a neighbouring row or the bytes after the frame.
    StreamScaler scaler;
    QString error;
    for (int width = 1; width <= 40; ++width)
    {
        const FramePtr picture = Picture(AV_PIX_FMT_YUV420P, width, 6, 16, 128, 128);
        for (int y = 1; y < picture->height; y += 2)
            std::fill_n(picture->data[0] + y * picture->linesize[0], width, static_cast<std::uint8_t>(235));
        DibFrame frame;
        ASSERT_TRUE(scaler.Convert(*picture, QSize(), frame, &error)) << error.toStdString();
        for (int y = 0; y < frame.Height; ++y)
        {
            const int level = y % 2 == 0 ? 0 : 255;
            for (int x = 0; x < frame.Width * 3; ++x)
                ASSERT_NEAR(frame.TopDownRow(y)[x], level, 3)
                    << "width " << width << " row " << y << " byte " << x;
        }
        EXPECT_EQ(frame.KnownByteSum, ByteSumScalar(frame.Bits.data(), frame.BytesUsed()))
            << "width " << width;
    }
}

TEST(StreamScaler, RefusesPicturesItCannotShowInsteadOfWritingOutOfBounds)
{
    StreamScaler scaler;
    DibFrame frame;
    QString error;
    const FramePtr picture = Picture(AV_PIX_FMT_YUV420P, 16, 16, 128, 128, 128);

    picture->width = 0;
    EXPECT_FALSE(scaler.Convert(*picture, QSize(), frame, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("0 x 16"))) << error.toStdString();

    picture->width = 16;
    picture->height = 9000;
    EXPECT_FALSE(scaler.Convert(*picture, QSize(), frame, &error));

    picture->height = 16;
    EXPECT_FALSE(scaler.Convert(*picture, QSize(9000, 10), frame, &error));

    picture->format = AV_PIX_FMT_NONE;
    error.clear();
    EXPECT_FALSE(scaler.Convert(*picture, QSize(), frame, &error));
    EXPECT_FALSE(error.isEmpty());

    picture->format = AV_PIX_FMT_YUV420P;
    EXPECT_TRUE(scaler.Convert(*picture, QSize(), frame, &error)) << error.toStdString();
    EXPECT_EQ(QSize(frame.Width, frame.Height), QSize(16, 16));
}
