#include "detect/FrameDetector.h"
#include "common/ByteSum.h"
#include "detect/DetectionOutcome.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace
{
// Feeds 25 frames of the given sums (cycled) and returns the state ready to compare.
DetectorState WithBaseline(std::vector<std::int64_t> sums)
{
    DetectorState state;
    for (int i = 0; i < 25; ++i)
        StepDetector(state, sums[static_cast<std::size_t>(i) % sums.size()], 2.0);
    return state;
}
} // namespace

TEST(FrameDetector, TheFirst25FramesOnlyBuildTheBaselineAndThe26thIsComparedWithIt)
{
    DetectorState state;
    state.FrameTotal = 999; // left from an earlier run: the restart clears it
    state.LastFrameSum = 999;
    for (int frame = 1; frame <= 25; ++frame)
    {
        const DetectorStep step = StepDetector(state, 10'000'000, 0.0);
        EXPECT_EQ(step.Restarted, frame == 1);
        EXPECT_FALSE(step.BaselineComplete);
        EXPECT_FALSE(step.Detected) << "frame " << frame << " is never compared";
        EXPECT_EQ(state.FrameCount, frame);
    }
    EXPECT_EQ(state.FrameTotal, 250'000'000);

    const DetectorStep step = StepDetector(state, 10'000'000, 0.0);
    EXPECT_TRUE(step.BaselineComplete);
    EXPECT_FALSE(step.Detected);
    EXPECT_EQ(state.FrameCount, 26);
    for (int i = 0; i < 5; ++i)
        StepDetector(state, 10'000'000, 0.0);
    EXPECT_EQ(state.FrameCount, 26) << "never goes above 26";
}

TEST(FrameDetector, TheBaselineIsTheRoundedMean)
{
    // 24 frames of 100 and one of 110 give a mean of 100.4; one of 115 gives 100.6.
    std::vector<std::int64_t> sums(24, 100);
    sums.push_back(110);
    DetectorState low = WithBaseline(sums);
    EXPECT_FALSE(StepDetector(low, 100, 0.0).Detected) << "100.4 rounds to 100";

    sums.back() = 115;
    DetectorState high = WithBaseline(sums);
    EXPECT_TRUE(StepDetector(high, 100, 0.0).Detected) << "100.6 rounds to 101";
    EXPECT_FALSE(StepDetector(high, 100, 0.0).Detected) << "the 27th frame is compared with the 26th";
}

TEST(FrameDetector, ThresholdIsStrictlyGreaterInEitherDirection)
{
    struct Case
    {
        double sensitivity;
        std::int64_t change;
        bool detected;
    };
    for (const Case& c :
         {Case{2.0, 0, false}, Case{2.0, 200000, false}, Case{2.0, 200001, true}, Case{2.0, -200000, false},
          Case{2.0, -200001, true}, Case{0.0, 0, false}, Case{0.0, 1, true}, Case{0.0, -1, true},
          Case{0.01, 1000, false}, Case{0.01, 1001, true}, Case{5.0, 500001, true}, Case{-0.01, 0, true},
          Case{-3.0, 0, true}})
    {
        DetectorState state = WithBaseline({50'000'000});
        StepDetector(state, 50'000'000, c.sensitivity);
        EXPECT_EQ(StepDetector(state, 50'000'000 + c.change, c.sensitivity).Detected, c.detected)
            << "sensitivity " << c.sensitivity << ", change " << c.change;
        EXPECT_EQ(state.LastFrameSum, 50'000'000 + c.change) << "the next frame is compared with this one";
    }
}

TEST(FrameDetector, ASlowChangeIsNeverADetectionAndALastingJumpIsOne)
{
    DetectorState state = WithBaseline({10'000'000});
    int detections = 0;
    for (int frame = 0; frame < 200; ++frame) // light fading by 150000 a frame
        detections += StepDetector(state, 10'000'000 - frame * 150'000LL, 2.0).Detected;
    EXPECT_EQ(detections, 0);
    detections = 0;
    for (int frame = 0; frame < 10; ++frame) // a door opens and stays open
        detections += StepDetector(state, 90'000'000, 2.0).Detected;
    EXPECT_EQ(detections, 1);
}

TEST(FrameDetector, BrightLargeFramesDoNotOverflow)
{
    const std::int64_t bright = 1920LL * 1080 * 3 * 255; // 1.59e9 a frame: the 25-frame total exceeds 32 bits
    DetectorState state = WithBaseline({bright});
    EXPECT_EQ(state.FrameTotal, 25 * bright);
    EXPECT_FALSE(StepDetector(state, bright, 2.0).Detected);
    EXPECT_EQ(state.LastFrameSum, bright);
    EXPECT_TRUE(StepDetector(state, 0, 2.0).Detected);
}

TEST(ByteSum, MatchesThePlainSumForEverySizeAndAlignment)
{
    std::mt19937 random(7);
    std::vector<std::uint8_t> bytes(4096 + 64);
    for (auto& byte : bytes)
        byte = static_cast<std::uint8_t>(random());
    for (std::size_t offset = 0; offset < 64; offset += 7)
        for (const std::size_t size : {0u, 1u, 15u, 31u, 32u, 63u, 64u, 127u, 255u, 256u, 257u, 1000u, 4096u})
            EXPECT_EQ(ByteSum(bytes.data() + offset, size), ByteSumScalar(bytes.data() + offset, size))
                << "offset " << offset << ", size " << size;

    const std::vector<std::uint8_t> white(1920 * 1080 * 3, 255);
    EXPECT_EQ(ByteSum(white.data(), white.size()), 1920ULL * 1080 * 3 * 255);
    EXPECT_NE(std::string(ByteSumInstructionSet()), std::string());
}

TEST(DetectionOutcome, TheLimitIsTestedFirstAndSaveImageOffWinsOverIt)
{
    EXPECT_EQ(DecideDetection(0, 20, True), DetectionAction::WriteImage);
    EXPECT_EQ(DecideDetection(19, 20, True), DetectionAction::WriteImage);
    EXPECT_EQ(DecideDetection(20, 20, True), DetectionAction::LimitReached);
    EXPECT_EQ(DecideDetection(0, 20, False), DetectionAction::SaveDisabled);
    EXPECT_EQ(DecideDetection(25, 20, False), DetectionAction::SaveDisabled);
    EXPECT_EQ(DecideDetection(0, -5, True), DetectionAction::LimitReached)
        << "a negative limit writes nothing";
    EXPECT_EQ(DecideDetection(0, 20, 1), DetectionAction::WriteImage) << "any non-zero flag is True";
}
