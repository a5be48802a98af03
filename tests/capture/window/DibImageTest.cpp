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
