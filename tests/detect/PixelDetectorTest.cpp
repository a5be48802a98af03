#include "detect/PixelDetector.h"
#include "capture/driver/DibFrame.h"
#include "common/ByteSum.h"
#include "detect/DetectionMask.h"
#include "monitor/DibPixels.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace
{
constexpr int Width = 384;
constexpr int Height = 288;

// A textured room under a light of the given gain, with sensor noise, and a dark block whose left edge
// is at blockX when given.
DibFrame Scene(double gain, std::optional<int> blockX, std::uint32_t& noise)
{
    DibFrame frame;
    frame.Resize(Width, Height);
    for (int y = 0; y < Height; ++y)
    {
        std::uint8_t* row = frame.TopDownRow(y);
        for (int x = 0; x < Width; ++x)
        {
            const bool block = blockX && x >= *blockX && x < *blockX + 48 && y >= 100 && y < 200;
            const int base = block ? 20 : 60 + (x / 16 * 37 + y / 16 * 53) % 140;
            for (int c = 0; c < 3; ++c)
            {
                noise = noise * 1664525u + 1013904223u;
                const int value =
                    static_cast<int>(std::lround(base * gain)) + static_cast<int>(noise >> 29) - 3;
                row[3 * x + c] = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
            }
        }
    }
    return frame;
}

// Feeds 25 learning frames of an empty room, then frames more frames from scene(n); whether any was
// a detection.
bool AnyDetection(const std::function<DibFrame(int n, std::uint32_t& noise)>& scene, int frames,
                  const DetectionMask& mask = {})
{
    PixelDetectorState state;
    std::uint32_t noise = 1;
    for (int n = 0; n < BaselineFrames; ++n)
        StepPixelDetector(state, PixelsOf(Scene(1.0, std::nullopt, noise)), 2.0, mask);
    bool detected = false;
    for (int n = 0; n < frames; ++n)
        detected = StepPixelDetector(state, PixelsOf(scene(n, noise)), 2.0, mask).Detected || detected;
    return detected;
}

DibFrame MovingBlock(int n, std::uint32_t& noise)
{
    return Scene(1.0, 40 + 4 * n, noise);
}
} // namespace

TEST(PixelDetector, ChangesOfTheWholePicturesLightAreNoDetection)
{
    const struct
    {
        const char* name;
        std::function<double(int n)> gain;
    } cases[] = {
        {"a light switched down and up", [](int n) { return n < 30   ? 1.0
                                                            : n < 60 ? 0.55
                                                                     : 1.0; }},
        {"a slow dimming", [](int n) { return 1.0 - 0.005 * n; }},
        {"exposure flicker",
         [](int n) { return (n % 4 < 2 ? 1.0 : 0.85) * (1.0 + 0.08 * std::sin(n * 0.7)); }},
        {"a light switched on brightly", [](int n) { return n < 30 ? 1.0 : 1.6; }},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(AnyDetection(
            [&](int n, std::uint32_t& noise) { return Scene(c.gain(n), std::nullopt, noise); }, 90))
            << c.name;
}

TEST(PixelDetector, AMovingBlockIsADetectionUnlessTheMaskCoversIt)
{
    DetectionMask covered;
    QImage image(Width, Height, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter(&image).fillRect(0, 90, Width, 120, Qt::black);
    covered.SetImage(image.scaled(Width / 4, Height / 4)); // a mask of another size is scaled
    EXPECT_TRUE(AnyDetection(MovingBlock, 40));
    EXPECT_FALSE(AnyDetection(MovingBlock, 40, covered));
}

TEST(DetectionMask, TheMaskedSumAddsTheWatchedPixelsOnlyAndAWhiteMaskGivesTheWholeSum)
{
    DibFrame frame;
    frame.Resize(Width - 1, Height); // rows with padding
    std::fill(frame.Bits.begin(), frame.Bits.end(), std::uint8_t{0});
    for (int y = 0; y < frame.Height; ++y)
        std::fill_n(frame.TopDownRow(y), 3 * frame.Width, std::uint8_t{1});
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::white);
    DetectionMask mask;
    mask.SetImage(image);
    EXPECT_EQ(MaskedByteSum(PixelsOf(frame), SpansForMask(mask, frame.Width, frame.Height)),
              ByteSum(frame.Bits.data(), frame.BytesUsed()));
    // Below half brightness is not watched: the top half is left out.
    QPainter(&image).fillRect(0, 0, 8, 4, QColor(127, 127, 127));
    mask.SetImage(image);
    EXPECT_EQ(MaskedByteSum(PixelsOf(frame), SpansForMask(mask, frame.Width, frame.Height)),
              3u * frame.Width * (Height / 2));
}

TEST(PixelDetector, SomethingThatStopsStaysADetectionForSecondsThenBecomesBackground)
{
    PixelDetectorState state;
    const DetectionMask mask;
    std::uint32_t noise = 1;
    for (int n = 0; n < BaselineFrames; ++n)
        StepPixelDetector(state, PixelsOf(Scene(1.0, std::nullopt, noise)), 2.0, mask);
    // Frames are 40 ms apart: a block parked from the first second on.
    std::vector<bool> detected;
    for (int n = 0; n < 250; ++n)
        detected.push_back(StepPixelDetector(state, PixelsOf(Scene(1.0, 200, noise)), 2.0, mask).Detected);
    EXPECT_TRUE(detected[25 * 4]) << "still a change after four seconds";
    EXPECT_FALSE(detected.back()) << "background after ten seconds";
}
