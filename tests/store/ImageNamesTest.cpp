#include "store/DetectionStore.h"

#include <gtest/gtest.h>

TEST(ImageNames, CounterStopsWhenEveryNameIsTaken)
{
    EXPECT_EQ(DetectionImageName(1, 0), QStringLiteral("Detection_1-0.Bmp"));
    EXPECT_EQ(DetectionImageName(2147483648LL, 12), QStringLiteral("Detection_2147483648-12.Bmp"));
    EXPECT_EQ(NextImagePath(QStringLiteral("/d/"), 0, [](const QString&) { return false; }),
              QStringLiteral("/d/Detection_1-0.Bmp"));
    EXPECT_EQ(NextImagePath(QStringLiteral("/d/"), 4,
                            [](const QString& path) { return !path.endsWith(QStringLiteral("-3.Bmp")); }),
              QStringLiteral("/d/Detection_5-3.Bmp"));
    EXPECT_EQ(NextImagePath(QStringLiteral("/d/"), 2147483647, [](const QString&) { return false; }),
              QStringLiteral("/d/Detection_2147483648-0.Bmp"))
        << "the largest count does not wrap";
    int asked = 0;
    EXPECT_EQ(NextImagePath(QStringLiteral("/d/"), 0,
                            [&](const QString&)
                            {
                                ++asked;
                                return true;
                            }),
              std::nullopt);
    EXPECT_EQ(asked, 32768);
}
