#include "capture/stream/StreamTiming.h"
#include "capture/stream/StreamSizes.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

TEST(StreamTiming, ReconnectPauseDoublesUpToThirtySeconds)
{
    const std::vector<int> expected{1, 2, 4, 8, 16, 30, 30, 30};
    for (int attempt = 0; attempt < static_cast<int>(expected.size()); ++attempt)
        EXPECT_EQ(StreamReconnectDelaySeconds(attempt), expected[static_cast<std::size_t>(attempt)])
            << attempt;
    EXPECT_EQ(StreamReconnectDelaySeconds(1000), 30);
    EXPECT_EQ(StreamReconnectDelaySeconds(-1), 1);
}

TEST(StreamTiming, FramesAreDueAtTheirTimestampsCountedFromTheFirstFrame)
{
    StreamPacer pacer(25);
    EXPECT_EQ(pacer.WaitBefore(10.0, 5000), 0); // the first frame at once, whatever its timestamp
    EXPECT_EQ(pacer.WaitBefore(10.04, 5000), 40);
    EXPECT_EQ(pacer.WaitBefore(10.08, 5040), 40);
    EXPECT_EQ(pacer.WaitBefore(10.12, 5100), 20); // decoding took a while: the wait is shorter
    EXPECT_EQ(pacer.WaitBefore(10.16, 5200), 0);  // a little behind: shown at once
    EXPECT_EQ(pacer.WaitBefore(10.20, 5200), 0);
    EXPECT_EQ(pacer.WaitBefore(10.24, 5200), 40);
}

TEST(StreamTiming, FramesWithoutTimestampsFollowAtTheFrameRate)
{
    const double none = std::numeric_limits<double>::quiet_NaN();
    StreamPacer pacer(10);
    EXPECT_EQ(pacer.WaitBefore(none, 0), 0);
    EXPECT_EQ(pacer.WaitBefore(none, 0), 100);
    EXPECT_EQ(pacer.WaitBefore(none, 100), 100);

    StreamPacer unknownRate(0); // a rate of 0 is taken as 25 frames per second
    EXPECT_EQ(unknownRate.WaitBefore(none, 0), 0);
    EXPECT_EQ(unknownRate.WaitBefore(none, 0), 40);
}

TEST(StreamTiming, TimestampsThatJumpStartTheCountAfresh)
{
    StreamPacer pacer(25);
    EXPECT_EQ(pacer.WaitBefore(1.0, 0), 0);
    EXPECT_EQ(pacer.WaitBefore(0.5, 10), 0);    // backwards
    EXPECT_EQ(pacer.WaitBefore(0.54, 10), 40);  // counted from the new start
    EXPECT_EQ(pacer.WaitBefore(3600.0, 50), 0); // an hour ahead: no stall
    EXPECT_EQ(pacer.WaitBefore(3600.04, 50), 40);
    EXPECT_EQ(pacer.WaitBefore(3600.08, 2000), 0); // far behind the clock: no burst of frames later
    EXPECT_EQ(pacer.WaitBefore(3600.12, 2000), 40);
    EXPECT_EQ(pacer.WaitBefore(3609.12, 2040), 9000); // a long but plausible gap is waited for
}

TEST(StreamSizes, OfferTheOwnSizeThenHalfQuarterAndCommonSizesOfTheSameShape)
{
    const std::pair<QSize, std::vector<QSize>> cases[] = {
        {QSize(64, 48), {{64, 48}, {32, 24}, {16, 12}}},
        {QSize(66, 50), {{66, 50}, {32, 25}, {16, 12}}},
        {QSize(65, 49), {{65, 49}, {32, 24}, {16, 12}}},
        {QSize(640, 480), {{640, 480}, {320, 240}, {160, 120}}},
        {QSize(1280, 960), {{1280, 960}, {1024, 768}, {800, 600}, {640, 480}, {320, 240}, {160, 120}}},
        {QSize(1920, 1080), {{1920, 1080}, {1280, 720}, {960, 540}, {640, 360}, {480, 270}, {320, 180}}},
        {QSize(704, 576), {{704, 576}, {352, 288}, {176, 144}}},
        {QSize(20, 14), {{20, 14}}},
        {QSize(), {}},
        {QSize(0, 480), {}},
    };
    for (const auto& [native, sizes] : cases)
        EXPECT_EQ(StreamSizeChoices(native), sizes) << native.width() << "x" << native.height();
}
