#include "capture/v4l2/V4l2Formats.h"
#include "capture/v4l2/V4l2FormatQuery.h"
#include "capture/v4l2/V4l2Text.h"
#include "support/FakeV4l2Device.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/videodev2.h>

namespace
{
constexpr std::uint32_t Yuyv = V4L2_PIX_FMT_YUYV;
constexpr std::uint32_t Mjpg = V4L2_PIX_FMT_MJPEG;
constexpr V4l2Interval Fps30{1, 30};
constexpr V4l2Interval Fps15{1, 15};

V4l2PixelFormat Format(std::uint32_t fourCc, std::vector<V4l2FrameSize> sizes)
{
    return {fourCc, FourCcText(fourCc), std::move(sizes)};
}

struct ChoiceCase
{
    const char* Name;
    std::vector<V4l2PixelFormat> Formats;
    std::optional<V4l2FormatChoice> Stored;
    std::optional<V4l2FormatChoice> Expected;
};

std::string Describe(const std::optional<V4l2FormatChoice>& choice)
{
    return choice ? V4l2FormatChoiceText(*choice).toStdString() : std::string("nothing");
}
} // namespace

TEST(V4l2Formats, ChoosesTheStoredChoiceOrTheSizeNearest640x480AtTheHighestRate)
{
    const std::vector<V4l2PixelFormat> camera = {
        Format(Yuyv, {{320, 240, {Fps30}}, {640, 480, {Fps30, Fps15}}}),
        Format(Mjpg, {{1280, 720, {Fps30, Fps15}}}),
    };
    const std::vector<ChoiceCase> cases = {
        {"exact size, fastest rate", camera, std::nullopt, V4l2FormatChoice{Yuyv, 640, 480, Fps30}},
        {"no exact size: nearest pixel count",
         {Format(Yuyv, {{352, 288, {Fps30}}, {800, 600, {Fps15}}})},
         std::nullopt,
         V4l2FormatChoice{Yuyv, 800, 600, Fps15}},
        {"a wide size nearer in pixel count wins",
         {Format(Yuyv, {{800, 600, {Fps30}}, {640, 360, {Fps30}}})},
         std::nullopt,
         V4l2FormatChoice{Yuyv, 640, 360, Fps30}},
        {"same pixel count: nearer sides win",
         {Format(Yuyv, {{480, 640, {Fps30}}, {640, 480, {Fps30}}})},
         std::nullopt,
         V4l2FormatChoice{Yuyv, 640, 480, Fps30}},
        {"same size in two formats: the faster one",
         {Format(Yuyv, {{640, 480, {Fps15}}}), Format(Mjpg, {{640, 480, {Fps30, Fps15}}})},
         std::nullopt,
         V4l2FormatChoice{Mjpg, 640, 480, Fps30}},
        {"same size and rate: the format listed first",
         {Format(Mjpg, {{640, 480, {Fps30}}}), Format(Yuyv, {{640, 480, {Fps30}}})},
         std::nullopt,
         V4l2FormatChoice{Mjpg, 640, 480, Fps30}},
        {"no rates listed: the device's own rate",
         {Format(Yuyv, {{640, 480, {}}})},
         std::nullopt,
         V4l2FormatChoice{Yuyv, 640, 480, {}}},
        {"stored choice still offered", camera, V4l2FormatChoice{Mjpg, 1280, 720, Fps15},
         V4l2FormatChoice{Mjpg, 1280, 720, Fps15}},
        {"stored rate no longer offered: fastest of that size", camera,
         V4l2FormatChoice{Mjpg, 1280, 720, {1, 60}}, V4l2FormatChoice{Mjpg, 1280, 720, Fps30}},
        {"stored rate written as another fraction", camera, V4l2FormatChoice{Yuyv, 640, 480, {2, 30}},
         V4l2FormatChoice{Yuyv, 640, 480, {2, 30}}},
        {"stored size no longer offered: default", camera, V4l2FormatChoice{Yuyv, 1024, 768, Fps30},
         V4l2FormatChoice{Yuyv, 640, 480, Fps30}},
        {"stored pixel format gone: default", camera, V4l2FormatChoice{V4L2_PIX_FMT_H264, 640, 480, Fps30},
         V4l2FormatChoice{Yuyv, 640, 480, Fps30}},
        {"nothing offered", {}, V4l2FormatChoice{Yuyv, 640, 480, Fps30}, std::nullopt},
        {"a format without sizes", {Format(Yuyv, {})}, std::nullopt, std::nullopt},
    };
    for (const ChoiceCase& c : cases)
        EXPECT_EQ(Describe(ChooseV4l2Format(c.Formats, c.Stored)), Describe(c.Expected)) << c.Name;
}

TEST(V4l2Formats, RangesOfSizesOfferTheEndsAndTheCommonSizesTheStepsReach)
{
    const auto sizes = [](const V4l2SizeRange& range)
    {
        std::vector<std::pair<int, int>> result;
        for (const V4l2FrameSize& size : SizesInRange(range))
            result.emplace_back(size.Width, size.Height);
        return result;
    };
    using Sizes = std::vector<std::pair<int, int>>;
    EXPECT_EQ(sizes({320, 800, 1, 240, 600, 1}),
              (Sizes{{320, 240}, {352, 288}, {424, 240}, {640, 360}, {640, 480}, {800, 448}, {800, 600}}));
    // Steps of 100 from 100 reach neither 640 nor 480; the largest size is the last step below the maximum.
    EXPECT_EQ(sizes({100, 650, 100, 100, 650, 100}), (Sizes{{100, 100}, {600, 600}}));
    EXPECT_TRUE(sizes({800, 640, 1, 480, 480, 1}).empty());
    EXPECT_EQ(sizes({100000, 200000, 1, 1, 1, 1}), Sizes{});
    const Sizes huge = sizes({16000, 70000, 1, 16000, 70000, 1});
    EXPECT_EQ(huge.back(), std::make_pair(V4l2MaxDimension, V4l2MaxDimension));
}

TEST(V4l2Formats, RangesOfIntervalsOfferTheEndsAndTheCommonRatesTheStepReaches)
{
    const auto rates = [](V4l2Interval fastest, V4l2Interval slowest, V4l2Interval step)
    {
        std::vector<double> result;
        for (const V4l2Interval& interval : IntervalsInRange(fastest, slowest, step))
            result.push_back(interval.FramesPerSecond());
        return result;
    };
    using Rates = std::vector<double>;
    EXPECT_EQ(rates({1, 60}, {1, 1}, {}), (Rates{60, 50, 30, 25, 20, 15, 10, 5, 1}));
    EXPECT_EQ(rates({1, 30}, {1, 5}, {1, 30}), (Rates{30, 15, 10, 5}));
    EXPECT_EQ(rates({1, 30}, {1, 30}, {}), (Rates{30}));
    EXPECT_EQ(rates({1, 30}, {0, 0}, {}), (Rates{30}));
    EXPECT_TRUE(rates({0, 30}, {1, 5}, {}).empty());
}

TEST(V4l2Formats, StoredChoicesSurviveTheirTextAndGarbageIsRefused)
{
    const std::vector<V4l2FormatChoice> choices = {
        {Yuyv, 640, 480, Fps30},
        {Mjpg, 1920, 1080, {1001, 30000}},
        {V4L2_PIX_FMT_Y10, 320, 240, {}}, // "Y10 " ends in a blank
        {0x01020304, 16, 16, Fps15},      // not printable: stored as a number
    };
    for (const V4l2FormatChoice& choice : choices)
    {
        const QString text = V4l2FormatChoiceText(choice);
        EXPECT_EQ(ParseV4l2FormatChoice(text), choice) << text.toStdString();
    }
    EXPECT_EQ(V4l2FormatChoiceText({Yuyv, 640, 480, Fps30}), QStringLiteral("YUYV 640x480 1/30"));
    EXPECT_EQ(V4l2FormatChoiceText({V4L2_PIX_FMT_Y10, 320, 240, {}}), QStringLiteral("Y10 320x240 -"));

    for (const char* garbage :
         {"", "YUYV", "YUYV 640x480", "YUYV 640x 1/30", "YUYV 0x480 1/30", "YUYV 640x480 1/0",
          "YUYV 99999x480 1/30", "YUYVX 640x480 1/30", "YUYV 640x480 30", "0xZZ 640x480 -", "YUYV -640x480 -",
          "YUYV 640x480 1/30 extra"})
        EXPECT_FALSE(ParseV4l2FormatChoice(QString::fromLatin1(garbage))) << garbage;
}

TEST(V4l2Formats, QueriesTheCameraOwnFormatsSizesAndRates)
{
    FakeV4l2 fake;
    FakeV4l2Camera& camera = fake.AddCamera("/dev/video0");
    camera.Formats.push_back(
        {V4L2_PIX_FMT_NV12, "Stepwise", false, {StepwiseSize(160, 1280, 16, 120, 720, 8)}});
    camera.Intervals = {DiscreteInterval(1, 15), DiscreteInterval(1, 30), DiscreteInterval(0, 30)};
    const auto api = fake.Api();
    const int fd = api->Open("/dev/video0", O_RDWR);

    const std::vector<V4l2PixelFormat> formats = QueryV4l2Formats(*api, fd);
    ASSERT_EQ(formats.size(), 3u) << "the emulated BGR24 entry is not one of the camera's own";
    EXPECT_EQ(formats[0].FourCc, Yuyv);
    EXPECT_EQ(formats[0].Description, QStringLiteral("YUYV 4:2:2"));
    ASSERT_EQ(formats[0].Sizes.size(), 2u);
    EXPECT_EQ(formats[0].Sizes[1].Width, 640);
    EXPECT_EQ(formats[0].Sizes[1].Intervals, (std::vector<V4l2Interval>{Fps30, Fps15}))
        << "fastest first, 0/30 left out";
    EXPECT_EQ(formats[1].FourCc, Mjpg);
    const auto& stepwise = formats[2].Sizes;
    EXPECT_EQ(stepwise.front().Width, 160);
    EXPECT_EQ(stepwise.back().Width, 1280);
    EXPECT_TRUE(std::any_of(stepwise.begin(), stepwise.end(),
                            [](const auto& s) { return s.Width == 640 && s.Height == 480; }));

    // A camera that does not list its sizes: the size it picks for 640x480 stands for its sizes.
    camera.Failures[VIDIOC_ENUM_FRAMESIZES] = ENOTTY;
    camera.Intervals = {};
    const std::vector<V4l2PixelFormat> tried = QueryV4l2Formats(*api, fd);
    ASSERT_EQ(tried.size(), 3u);
    ASSERT_EQ(tried[1].Sizes.size(), 1u);
    EXPECT_EQ(tried[1].Sizes[0].Width, 1280);
    EXPECT_TRUE(tried[1].Sizes[0].Intervals.empty());
    api->Close(fd);
}
