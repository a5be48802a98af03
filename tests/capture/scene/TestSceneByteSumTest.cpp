#include "capture/scene/TestSceneRenderer.h"
#include "common/ByteSum.h"

#include <QTime>
#include <cstdlib>
#include <gtest/gtest.h>

// The detector raises a detection when the byte sum of a frame differs from the frame before by more
// than the sensitivity times 100000; the default sensitivity is 2. The test scene must stay below that
// while nobody moves, and clearly above it while the person walks in and out.

namespace
{
constexpr std::int64_t DefaultThreshold = 200000;
// Still frames stay far below the threshold, so that the scene shows no false detections.
constexpr std::int64_t StillLimit = 50000;
constexpr int DetectionsPerWalk = 3;

std::int64_t Sum(const DibFrame& frame)
{
    return static_cast<std::int64_t>(ByteSum(frame.Bits.data(), frame.BytesUsed()));
}

QTime ClockAt(const QTime& start, std::uint64_t frame, int framesPerSecond)
{
    return start.addMSecs(
        static_cast<int>(std::llround(static_cast<double>(frame) * 1000.0 / framesPerSecond)));
}

bool SamePlace(const TestSceneFigurePose& a, const TestSceneFigurePose& b)
{
    return !a.Walking && !b.Walking && a.Visible == b.Visible && (!a.Visible || a.CentreX == b.CentreX);
}

// One walk of the person into or out of the room, and how many of its frames the detector would see.
struct Walk
{
    bool Entry = false;
    int Frames = 0;
    int Detected = 0;
};

struct SceneReport
{
    std::int64_t LargestStillChange = 0;
    std::vector<Walk> Walks;
};

// Renders seconds of the scene from frame 0 and sorts every change between consecutive frames into
// still (the person nowhere or standing in the same place in both) or part of a walk.
SceneReport Watch(QSize size, int framesPerSecond, const QTime& start, double seconds)
{
    const TestSceneRenderer renderer(size, framesPerSecond);
    SceneReport report;
    DibFrame frame;
    std::int64_t previousSum = 0;
    TestSceneFigurePose previous;
    bool walking = false;
    const auto frames = static_cast<std::uint64_t>(seconds * framesPerSecond);
    for (std::uint64_t n = 0; n < frames; ++n)
    {
        renderer.Render(n, ClockAt(start, n, framesPerSecond), frame);
        const std::int64_t sum = Sum(frame);
        const TestSceneFigurePose pose = renderer.FigureAt(n);
        if (n > 0)
        {
            const std::int64_t change = std::abs(sum - previousSum);
            if (SamePlace(previous, pose))
            {
                report.LargestStillChange = std::max(report.LargestStillChange, change);
                walking = false;
            }
            else
            {
                if (!walking)
                    report.Walks.push_back({!previous.Visible, 0, 0});
                walking = true;
                ++report.Walks.back().Frames;
                if (change > DefaultThreshold)
                    ++report.Walks.back().Detected;
            }
        }
        previousSum = sum;
        previous = pose;
    }
    return report;
}

std::string Describe(const SceneReport& report)
{
    std::string text = "largest still change " + std::to_string(report.LargestStillChange) + "; walks:";
    for (const Walk& walk : report.Walks)
        text += std::string(walk.Entry ? " in " : " out ") + std::to_string(walk.Detected) + "/" +
                std::to_string(walk.Frames);
    return text;
}
} // namespace

TEST(TestSceneByteSum, EveryWalkInAndOutIsDetectedAndStillFramesAreNot)
{
    struct Case
    {
        QSize Size;
        int FramesPerSecond;
    };
    const Case cases[] = {{{640, 480}, 30}, {{640, 480}, 15},  {{640, 480}, 60},
                          {{800, 600}, 30}, {{1280, 720}, 60}, {{1920, 1080}, 30}};
    for (const Case& c : cases)
    {
        // Two cycles: in from the left and out at the right, then the other way; the second hand passes
        // the minute hand on the way.
        const SceneReport report =
            Watch(c.Size, c.FramesPerSecond, QTime(10, 9, 55), 2 * TestSceneCycleSeconds);
        SCOPED_TRACE(testing::Message() << c.Size.width() << "x" << c.Size.height() << "@"
                                        << c.FramesPerSecond << ": " << Describe(report));
        EXPECT_LT(report.LargestStillChange, StillLimit);
        ASSERT_EQ(report.Walks.size(), 4u);
        for (std::size_t i = 0; i < report.Walks.size(); ++i)
        {
            EXPECT_EQ(report.Walks[i].Entry, i % 2 == 0);
            EXPECT_GE(report.Walks[i].Detected, DetectionsPerWalk);
        }
    }
}

TEST(TestSceneByteSum, TheMovingClockAloneStaysFarBelowTheThreshold)
{
    // Moments when the hands cross each other, where the change of a frame is largest: all three hands
    // at twelve, all three near 3:16:22, the second hand over the hour hand at 6:00:30, and midnight.
    const QTime starts[] = {QTime(11, 59, 58), QTime(3, 16, 19), QTime(6, 0, 28), QTime(23, 59, 58)};
    for (const QSize size : {QSize(640, 480), QSize(1920, 1080)})
    {
        const TestSceneRenderer renderer(size, 15);
        for (const QTime& start : starts)
        {
            DibFrame frame;
            std::int64_t previous = -1;
            std::int64_t largest = 0;
            // The slowest frame rate moves the hands furthest from one frame to the next.
            for (std::uint64_t n = 0; n < 5 * 15; ++n)
            {
                renderer.Render(0, ClockAt(start, n, 15), frame);
                const std::int64_t sum = Sum(frame);
                if (previous >= 0)
                    largest = std::max(largest, std::abs(sum - previous));
                previous = sum;
            }
            EXPECT_LT(largest, StillLimit)
                << size.width() << "x" << size.height() << " from " << start.toString().toStdString();
        }
    }
}
