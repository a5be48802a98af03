#include "capture/window/DibImage.h"

#include <gtest/gtest.h>

TEST(DibImage, TurnsBottomUpBlueGreenRedRowsIntoTopDownPixelsAtEveryWidth)
{
    for (const int width : {1, 2, 3, 15, 16, 17, 18, 19, 33, 34, 35, 64, 65, 641})
    {
        DibFrame frame;
        frame.Resize(width, 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < width; ++x)
            {
                std::uint8_t* pixel = frame.TopDownRow(y) + 3 * x;
                pixel[0] = static_cast<std::uint8_t>(x);
                pixel[1] = static_cast<std::uint8_t>(40 * y);
                pixel[2] = static_cast<std::uint8_t>(255 - x);
            }
        QImage image;
        DibToImage(frame, image);
        ASSERT_EQ(image.size(), QSize(width, 3));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(image.pixel(x, y), qRgb((255 - x) & 0xFF, 40 * y, x & 0xFF))
                    << width << ": " << x << "," << y;
    }
}

TEST(DibImage, AnEmptyOrShortFrameGivesNoPicture)
{
    QImage image(4, 4, QImage::Format_RGB32);
    DibToImage(DibFrame{}, image);
    EXPECT_TRUE(image.isNull());

    DibFrame cut;
    cut.Resize(8, 8);
    cut.Bits.resize(10);
    image = QImage(4, 4, QImage::Format_RGB32);
    DibToImage(cut, image);
    EXPECT_TRUE(image.isNull());
}

TEST(DibImage, ARowDrawnAtAnotherWidthTakesEachPixelFromItsColumn)
{
    // Narrower and wider, with columns close enough for four pixels to share one 16-byte load and
    // too far apart for it; the row sampled last lies at the very end of the memory that may be read.
    for (const int shown : {1, 5, 7, 9, 16, 19, 33, 64, 100, 129, 160})
    {
        constexpr int Width = 41;
        std::vector<std::uint8_t> bytes(2 * 3 * Width);
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<std::uint8_t>(7 * i + 1);
        std::vector<int> columns(static_cast<std::size_t>(shown));
        for (int x = 0; x < shown; ++x)
            columns[static_cast<std::size_t>(x)] = 3 * ((2 * x + 1) * Width / (2 * shown));
        const RowSampler sampler(columns);
        for (const std::uint8_t* row : {bytes.data(), bytes.data() + 3 * Width})
        {
            std::vector<QRgb> out(static_cast<std::size_t>(shown));
            sampler.Sample(row, bytes.data() + bytes.size(), out.data());
            for (int x = 0; x < shown; ++x)
            {
                const std::uint8_t* pixel = row + columns[static_cast<std::size_t>(x)];
                ASSERT_EQ(out[static_cast<std::size_t>(x)], qRgb(pixel[2], pixel[1], pixel[0]))
                    << "shown " << shown << ", pixel " << x;
            }
        }
    }
}
