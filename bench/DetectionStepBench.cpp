// The cost of one detection step on one core: the byte sum of a frame and the moving-pixels step, at
// 768x576 and 1920x1080, on frames of the test scene with camera noise and a person walking. Prints
// the median ms per frame of each (goal for moving pixels: at most 0.4 ms at 768x576 and 1.5 ms at
// 1920x1080) and the extra memory the moving-pixels detector holds.

#include "capture/driver/DibFrame.h"
#include "capture/scene/TestSceneRenderer.h"
#include "common/ByteSum.h"
#include "detect/DetectionMask.h"
#include "detect/PixelDetector.h"
#include "monitor/DibPixels.h"

#include <QSize>
#include <QTime>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace
{
constexpr int Frames = 50;
constexpr int Rounds = 20;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds per frame of work over every frame, the median of several rounds.
template <typename Work> double MsPerFrame(const std::vector<DibFrame>& frames, Work work)
{
    std::vector<double> rounds;
    for (int round = 0; round < Rounds; ++round)
    {
        const auto start = std::chrono::steady_clock::now();
        for (const DibFrame& frame : frames)
            work(frame);
        const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
        rounds.push_back(spent.count() / static_cast<double>(frames.size()));
    }
    return Median(rounds);
}

std::size_t Bytes(const PixelDetectorState& state)
{
    return sizeof(float) * (state.Luma.capacity() + state.Background.capacity() + state.Previous.capacity() +
                            state.ChangedSeconds.capacity()) +
           state.Raw.capacity() + state.Changed.capacity() + state.Watched.capacity();
}
} // namespace

int main()
{
    std::printf("%-10s | %-18s | %-18s | %s\n", "frame", "byte sum ms/frame", "pixels ms/frame",
                "pixels memory");
    for (const QSize size : {QSize(768, 576), QSize(1920, 1080)})
    {
        const TestSceneRenderer scene(size, 25);
        std::vector<DibFrame> frames(Frames);
        std::uint32_t noise = 99;
        for (int n = 0; n < Frames; ++n)
        {
            DibFrame& frame = frames[static_cast<std::size_t>(n)];
            scene.Render(static_cast<std::uint64_t>(n * 4 + 60), QTime(10, 0, 0).addMSecs(n * 40), frame);
            for (std::uint8_t& byte : frame.Bits)
            {
                noise = noise * 1664525u + 1013904223u;
                byte =
                    static_cast<std::uint8_t>(std::clamp(byte + static_cast<int>(noise >> 29) - 3, 0, 255));
            }
            frame.TimeCaptured = static_cast<std::uint32_t>(n * 40 + 1);
        }
        std::uint64_t sink = 0;
        const double sumMs = MsPerFrame(frames, [&sink](const DibFrame& frame)
                                        { sink += ByteSum(frame.Bits.data(), frame.BytesUsed()); });
        PixelDetectorState state;
        const DetectionMask mask;
        for (const DibFrame& frame : frames)
            StepPixelDetector(state, PixelsOf(frame), 2.0, mask);
        const double pixelsMs =
            MsPerFrame(frames, [&](const DibFrame& frame)
                       { sink += StepPixelDetector(state, PixelsOf(frame), 2.0, mask).Detected ? 1 : 0; });
        const double frameBytes = static_cast<double>(frames[0].BytesUsed());
        std::printf("%4dx%-5d | %-18.3f | %-18.3f | %zu bytes (%.2f of a luma frame)%s\n", size.width(),
                    size.height(), sumMs, pixelsMs, Bytes(state),
                    static_cast<double>(Bytes(state)) / (frameBytes / 3), sink == 0 ? " " : "");
    }
    return 0;
}
