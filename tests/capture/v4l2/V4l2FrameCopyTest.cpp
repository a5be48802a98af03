#include "capture/v4l2/V4l2FrameCopy.h"
#include "common/ByteSum.h"
#include "support/FakeV4l2Device.h"

#include <gtest/gtest.h>

namespace
{
// Every pixel of frame in its place, and every padding byte zero.
void ExpectPattern(const DibFrame& frame, int width, int height, int seed)
{
    ASSERT_EQ(frame.Width, width);
    ASSERT_EQ(frame.Height, height);
    ASSERT_EQ(frame.Bits.size(), frame.BytesUsed());
    for (int y = 0; y < height; ++y)
    {
        const std::uint8_t* row = frame.TopDownRow(y);
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                ASSERT_EQ(row[x * 3 + c], PatternByte(x, y, c, seed)) << x << "," << y << "," << c;
        for (int pad = width * 3; pad < frame.Stride(); ++pad)
            ASSERT_EQ(row[pad], 0) << "padding of row " << y;
    }
}
} // namespace

TEST(V4l2FrameCopy, FlipsRowsBottomUpAndPadsThemToFourBytes)
{
    struct Case
    {
        int Width, Height, BytesPerLine;
    };
    for (const Case& c : {Case{4, 3, 12}, Case{5, 3, 15}, Case{7, 2, 21}, Case{5, 4, 24}, Case{1, 1, 3}})
    {
        SCOPED_TRACE(testing::Message() << c.Width << "x" << c.Height << " rows of " << c.BytesPerLine);
        const std::vector<std::uint8_t> picture = Bgr24Pattern(c.Width, c.Height, c.BytesPerLine, 3);
        DibFrame frame;
        frame.Resize(c.Width + 3, c.Height + 2);
        std::fill(frame.Bits.begin(), frame.Bits.end(), 0xAB); // a reused buffer with old contents
        ASSERT_TRUE(CopyBgr24ToDib(picture.data(), picture.size(), c.Width, c.Height, c.BytesPerLine, frame));
        ExpectPattern(frame, c.Width, c.Height, 3);
        EXPECT_EQ(frame.KnownByteSum, ByteSumScalar(frame.Bits.data(), frame.BytesUsed()));
    }
}

TEST(V4l2FrameCopy, RefusesCutOffPicturesAndUnusableSizesWithoutTouchingTheFrame)
{
    const std::vector<std::uint8_t> picture = Bgr24Pattern(5, 3, 16, 1);
    // The last row needs only its pixels, not the row's padding.
    const std::size_t exact = 16 * 2 + 15;
    struct Case
    {
        const char* Name;
        std::size_t Size;
        int Width, Height, BytesPerLine;
        bool Accepted;
    };
    for (const Case& c :
         {Case{"exact length", exact, 5, 3, 16, true}, Case{"one byte short", exact - 1, 5, 3, 16, false},
          Case{"empty", 0, 5, 3, 16, false}, Case{"rows shorter than pixels", exact, 5, 3, 14, false},
          Case{"no width", exact, 0, 3, 16, false}, Case{"negative height", exact, 5, -3, 16, false},
          Case{"absurd width", exact, 100000, 1, 300000, false}})
    {
        DibFrame frame;
        frame.Resize(2, 2);
        frame.Bits.assign(frame.Bits.size(), 0x11);
        EXPECT_EQ(CopyBgr24ToDib(picture.data(), c.Size, c.Width, c.Height, c.BytesPerLine, frame),
                  c.Accepted)
            << c.Name;
        if (!c.Accepted)
        {
            EXPECT_TRUE(frame.Width == 2 && frame.Bits == std::vector<std::uint8_t>(frame.Bits.size(), 0x11))
                << c.Name;
        }
    }
    DibFrame frame;
    EXPECT_FALSE(CopyBgr24ToDib(nullptr, 100, 2, 2, 6, frame));
}
