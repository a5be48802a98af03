#include "capture/scene/TestSceneRenderer.h"
#include "capture/scene/TestSceneClock.h"

#include <QTime>
#include <cmath>
#include <gtest/gtest.h>

namespace
{
constexpr double Pi = 3.14159265358979323846;

struct Pixel
{
    int Blue, Green, Red;
    int Sum() const { return Blue + Green + Red; }
};

Pixel At(const DibFrame& frame, int x, int y)
{
    const std::uint8_t* p = frame.TopDownRow(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

// The pixels of the 3 x 3 square around the point at distance (a fraction of the clock's radius)
// from the clock's centre, in the direction degrees clockwise from twelve.
std::vector<Pixel> AroundClockPoint(const DibFrame& frame, const TestSceneLayout& layout, double degrees,
                                    double distance)
{
    const double radians = degrees * Pi / 180.0;
    const int cx = static_cast<int>(
        std::floor(layout.ClockCentre.x() + std::sin(radians) * distance * layout.ClockRadius));
    const int cy = static_cast<int>(
        std::floor(layout.ClockCentre.y() - std::cos(radians) * distance * layout.ClockRadius));
    std::vector<Pixel> pixels;
    for (int y = cy - 1; y <= cy + 1; ++y)
        for (int x = cx - 1; x <= cx + 1; ++x)
            pixels.push_back(At(frame, x, y));
    return pixels;
}

int Darkest(const std::vector<Pixel>& pixels)
{
    int darkest = 765;
    for (const Pixel& p : pixels)
        darkest = std::min(darkest, p.Sum());
    return darkest;
}

int Reddest(const std::vector<Pixel>& pixels)
{
    int reddest = -255;
    for (const Pixel& p : pixels)
        reddest = std::max(reddest, p.Red - p.Green);
    return reddest;
}
} // namespace

TEST(TestSceneRenderer, FramesHaveTheAskedSizeWithZeroPaddedBottomUpRows)
{
    for (const QSize size :
         {QSize(1, 1), QSize(2, 3), QSize(321, 241), QSize(322, 240), QSize(640, 480), QSize(1920, 1080)})
    {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        const TestSceneRenderer renderer(size, 30);
        // The empty room, the person coming in at the left edge, standing, and walking out.
        for (const std::uint64_t number : {0u, 40u, 100u, 170u})
        {
            DibFrame frame;
            renderer.Render(number, QTime(10, 10, 0), frame);
            ASSERT_EQ(frame.Width, size.width());
            ASSERT_EQ(frame.Height, size.height());
            ASSERT_EQ(frame.Bits.size(),
                      static_cast<std::size_t>(DibFrame::StrideFor(size.width()) * size.height()));
            const int used = 3 * size.width();
            for (int row = 0; row < size.height(); ++row)
                for (int i = used; i < frame.Stride(); ++i)
                    ASSERT_EQ(frame.Bits[static_cast<std::size_t>(row * frame.Stride() + i)], 0)
                        << "row " << row << ", frame " << number;
        }
    }
}

TEST(TestSceneRenderer, TopOfThePictureIsTheWallAndTheBottomRowsInMemoryAreTheFloor)
{
    for (const QSize size : {QSize(321, 241), QSize(640, 480), QSize(1280, 720)})
    {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        const TestSceneRenderer renderer(size, 30);
        DibFrame frame;
        renderer.Render(0, QTime(10, 10, 0), frame);
        // The first row in memory is the bottom of the picture: wooden floor, clearly more red than blue.
        // The last row in memory is the top of the picture: the light wall.
        for (int x = 0; x < size.width(); x += 7)
        {
            const std::uint8_t* bottom = frame.Bits.data() + 3 * x;
            const std::uint8_t* top =
                frame.Bits.data() + static_cast<std::size_t>(size.height() - 1) * frame.Stride() + 3 * x;
            EXPECT_GT(bottom[2] - bottom[0], 40) << "x " << x;
            EXPECT_GT(top[0] + top[1] + top[2], 600) << "x " << x;
        }
    }
}

TEST(TestSceneRenderer, ClockShowsTheTimeItIsGiven)
{
    // Where each hand must point (degrees clockwise from twelve), and a direction no hand points to.
    struct Case
    {
        QTime Time;
        double Hour, Minute, Second, Empty;
    };
    const Case cases[] = {
        {QTime(4, 0, 40), 120.333, 4, 240, 300},           {QTime(9, 30, 15), 285.125, 181.5, 90, 7.5},
        {QTime(15, 45, 40), 112.833, 274, 240, 10},        {QTime(0, 20, 50), 10.417, 125, 300, 212},
        {QTime(22, 5, 30, 500), 302.754, 33.05, 183, 108},
    };
    for (const QSize size : {QSize(640, 480), QSize(1920, 1080)})
    {
        const TestSceneRenderer renderer(size, 30);
        const TestSceneLayout& layout = renderer.Layout();
        for (const Case& c : cases)
        {
            SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height() << " at "
                                            << c.Time.toString(QStringLiteral("hh:mm:ss.zzz")).toStdString());
            DibFrame frame;
            renderer.Render(0, c.Time, frame);
            // Past the hub, inside the hour hand; past the hour hand's length, inside the minute hand's;
            // near the end of the long red second hand.
            EXPECT_LT(Darkest(AroundClockPoint(frame, layout, c.Hour, 0.3)), 300);
            EXPECT_GT(Darkest(AroundClockPoint(frame, layout, c.Hour, 0.62)), 600)
                << "the hour hand is short";
            EXPECT_LT(Darkest(AroundClockPoint(frame, layout, c.Minute, 0.55)), 300);
            EXPECT_GT(Reddest(AroundClockPoint(frame, layout, c.Second, 0.75)), 60);
            EXPECT_GT(Darkest(AroundClockPoint(frame, layout, c.Empty, 0.4)), 600);
        }
    }
}

TEST(TestSceneRenderer, HandAnglesFollowTheTimeOfDay)
{
    struct Case
    {
        QTime Time;
        double Hour, Minute, Second;
    };
    const Case cases[] = {
        {QTime(0, 0, 0), 0, 0, 0},
        {QTime(12, 0, 0), 0, 0, 0},
        {QTime(6, 0, 0), 180, 0, 0},
        {QTime(18, 30, 0), 195, 180, 0},
        {QTime(23, 59, 59, 500), 359.995833, 359.95, 357},
        {QTime(), 0, 0, 0},
    };
    for (const Case& c : cases)
    {
        const ClockHandAngles angles = ClockHandAnglesAt(c.Time);
        EXPECT_NEAR(angles.Hour, c.Hour, 1e-5) << c.Time.toString().toStdString();
        EXPECT_NEAR(angles.Minute, c.Minute, 1e-6) << c.Time.toString().toStdString();
        EXPECT_NEAR(angles.Second, c.Second, 1e-6) << c.Time.toString().toStdString();
    }
}

TEST(TestSceneRenderer, AFrameDependsOnlyOnItsNumberAndTimeNotOnWhatTheBufferHeld)
{
    const TestSceneRenderer renderer(QSize(640, 480), 30);
    for (const std::uint64_t number : {0u, 50u, 70u, 100u, 170u, 300u})
    {
        DibFrame fresh;
        renderer.Render(number, QTime(8, 15, 30), fresh);
        DibFrame reused;
        reused.Resize(1920, 1080);
        std::fill(reused.Bits.begin(), reused.Bits.end(), std::uint8_t{77});
        renderer.Render(number, QTime(8, 15, 30), reused);
        EXPECT_EQ(reused.Width, 640);
        EXPECT_EQ(reused.Height, 480);
        EXPECT_TRUE(reused.Bits == fresh.Bits) << "frame " << number;
    }
}
