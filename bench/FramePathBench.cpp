// The frame path of the capture window fed by the test scene: how long a frame takes from the
// driver's buffer to the frame callback, drawing included, and whether a 10 ms grab timer, as the
// program uses while monitoring, hands every frame the scene produces to the callback exactly once.
//
//   FramePathBench [--frames=N] [benchmark options]
//
// N is the number of frames the delivery check watches at each frame rate (10000 by default).

#include "TestSceneRig.h"
#include "capture/scene/TestSceneRenderer.h"
#include "common/ByteSum.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTime>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <string>

namespace
{
QSize SizeArgument(const benchmark::State& state)
{
    return {static_cast<int>(state.range(0)), static_cast<int>(state.range(1))};
}

// Drawing one frame of the scene, without the capture window.
void RenderFrame(benchmark::State& state)
{
    const TestSceneRenderer renderer(SizeArgument(state), 30);
    DibFrame frame;
    std::uint64_t number = 0;
    for (auto _ : state)
    {
        // Frames of the whole cycle, so that the figure is drawn as often as it is on screen.
        renderer.Render(number++ % (8 * 30), QTime(10, 10, 0), frame);
        benchmark::DoNotOptimize(frame.Bits.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(frame.BytesUsed()));
}
BENCHMARK(RenderFrame)->Args({640, 480})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);

// One grab request (the frame taken from the driver and summed by the frame callback, as the
// detector does) and the capture window drawing it, at its own size or scaled to a window of the
// given percentage of it. Waiting for the scene's next frame is not timed.
void GrabAndDraw(benchmark::State& state)
{
    TestSceneRig rig(SizeArgument(state), 60);
    if (!rig.Ready())
    {
        state.SkipWithError("The test scene did not connect.");
        return;
    }
    const auto percent = static_cast<int>(state.range(2));
    if (percent != 100)
    {
        capPreviewScale(rig.Window(), True);
        rig.Window()->resize(SizeArgument(state) * percent / 100);
    }
    std::uint64_t sum = 0;
    capSetCallbackOnFrame(rig.Window(),
                          [&sum](CaptureWindow*, VIDEOHDR* header)
                          {
                              sum += ByteSum(header->lpData, header->dwBytesUsed);
                              return std::intptr_t{0};
                          });
    int announced = 0;
    QObject::connect(rig.Driver(), &CaptureDriver::FrameReady, rig.Window(), [&announced] { ++announced; });

    double grabSeconds = 0;
    double drawSeconds = 0;
    for (auto _ : state)
    {
        state.PauseTiming();
        const int seen = announced;
        QElapsedTimer waited;
        waited.start();
        while (announced == seen && waited.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        state.ResumeTiming();

        QElapsedTimer step;
        step.start();
        if (capGrabFrame(rig.Window()) != True)
        {
            state.SkipWithError("A grab found no new frame.");
            break;
        }
        grabSeconds += static_cast<double>(step.nsecsElapsed()) / 1e9;
        step.restart();
        rig.Window()->repaint();
        drawSeconds += static_cast<double>(step.nsecsElapsed()) / 1e9;
    }
    benchmark::DoNotOptimize(sum);
    state.counters["grab_ms"] = benchmark::Counter(grabSeconds * 1000, benchmark::Counter::kAvgIterations);
    state.counters["draw_ms"] = benchmark::Counter(drawSeconds * 1000, benchmark::Counter::kAvgIterations);
}
BENCHMARK(GrabAndDraw)
    ->Args({640, 480, 100})
    ->Args({1920, 1080, 100})
    ->Args({640, 480, 84})
    ->Args({1920, 1080, 34})
    ->Iterations(300)
    ->Unit(benchmark::kMillisecond);

struct Delivery
{
    std::uint64_t First = 0;
    std::uint64_t Last = 0;
    std::uint64_t Delivered = 0;
    std::uint64_t Twice = 0;
    std::int64_t LongestGrabNs = 0;
    std::uint64_t GrabsOver2Ms = 0;
    std::int64_t LongestTickGapNs = 0;
    std::uint64_t TickGapsOverAFrame = 0;
    std::uint64_t Ticks = 0;
    bool Stalled = false;

    std::uint64_t Produced() const { return Delivered == 0 ? 0 : Last - First + 1; }
};

// Grabs on a 10 ms precise timer until the scene has produced frames frames, as the program's grab
// timer does while monitoring, and counts what reaches the frame callback.
Delivery WatchDelivery(QSize size, int framesPerSecond, std::uint64_t frames)
{
    Delivery result;
    TestSceneRig rig(size, framesPerSecond);
    if (!rig.Ready())
    {
        result.Stalled = true;
        return result;
    }
    std::uint64_t sum = 0;
    capSetCallbackOnFrame(rig.Window(),
                          [&](CaptureWindow* window, VIDEOHDR* header)
                          {
                              sum += ByteSum(header->lpData, header->dwBytesUsed);
                              const std::uint64_t sequence = window->CurrentFrame().Sequence;
                              if (result.Delivered == 0)
                                  result.First = sequence;
                              else if (sequence <= result.Last)
                                  ++result.Twice;
                              result.Last = std::max(result.Last, sequence);
                              ++result.Delivered;
                              return std::intptr_t{0};
                          });

    const std::int64_t frameNs = 1000000000 / framesPerSecond;
    QEventLoop loop;
    QTimer grabTimer;
    grabTimer.setTimerType(Qt::PreciseTimer);
    grabTimer.setInterval(10);
    QElapsedTimer sinceTick;
    QElapsedTimer sinceFrame;
    sinceFrame.start();
    QObject::connect(&grabTimer, &QTimer::timeout, &loop,
                     [&]
                     {
                         if (sinceTick.isValid())
                         {
                             const std::int64_t gap = sinceTick.nsecsElapsed();
                             result.LongestTickGapNs = std::max(result.LongestTickGapNs, gap);
                             if (gap > frameNs)
                                 ++result.TickGapsOverAFrame;
                         }
                         sinceTick.start();
                         ++result.Ticks;
                         QElapsedTimer grab;
                         grab.start();
                         const bool grabbed = capGrabFrame(rig.Window()) == True;
                         const std::int64_t grabNs = grab.nsecsElapsed();
                         result.LongestGrabNs = std::max(result.LongestGrabNs, grabNs);
                         if (grabNs > 2000000)
                             ++result.GrabsOver2Ms;
                         if (grabbed)
                             sinceFrame.restart();
                         if (result.Produced() >= frames)
                             loop.quit();
                         else if (sinceFrame.elapsed() > 5000)
                         {
                             result.Stalled = true;
                             loop.quit();
                         }
                     });
    grabTimer.start();
    loop.exec();
    benchmark::DoNotOptimize(sum);
    return result;
}

void PrintDelivery(QSize size, int framesPerSecond, const Delivery& d)
{
    const std::uint64_t produced = d.Produced();
    const std::uint64_t distinct = d.Delivered - d.Twice;
    const std::uint64_t dropped = produced - std::min(produced, distinct);
    std::printf("%dx%d at %d frames a second, 10 ms grab timer: produced %llu, delivered %llu, dropped %llu "
                "(%.2f%%), handed out twice %llu%s\n",
                size.width(), size.height(), framesPerSecond, static_cast<unsigned long long>(produced),
                static_cast<unsigned long long>(distinct), static_cast<unsigned long long>(dropped),
                produced > 0 ? 100.0 * static_cast<double>(dropped) / static_cast<double>(produced) : 0.0,
                static_cast<unsigned long long>(d.Twice), d.Stalled ? " (the scene stopped delivering)" : "");
    std::printf("  longest grab request %.3f ms (goal under 2 ms), grabs over 2 ms %llu of %llu\n",
                static_cast<double>(d.LongestGrabNs) / 1e6, static_cast<unsigned long long>(d.GrabsOver2Ms),
                static_cast<unsigned long long>(d.Ticks));
    std::printf(
        "  longest gap between timer ticks %.2f ms; gaps longer than a frame interval (%.1f ms): %llu\n",
        static_cast<double>(d.LongestTickGapNs) / 1e6, 1000.0 / framesPerSecond,
        static_cast<unsigned long long>(d.TickGapsOverAFrame));
    std::fflush(stdout);
}

// Takes --frames=N out of the arguments; the rest are the benchmark library's.
std::uint64_t TakeFramesOption(int& argc, char** argv)
{
    std::uint64_t frames = 10000;
    int kept = 1;
    for (int i = 1; i < argc; ++i)
    {
        if (std::strncmp(argv[i], "--frames=", 9) == 0)
            frames = std::max<std::uint64_t>(std::strtoull(argv[i] + 9, nullptr, 10), 2);
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return frames;
}
} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::uint64_t frames = TakeFramesOption(argc, argv);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::printf("\nByteSum uses %s.\n", ByteSumInstructionSet());
    const QSize size(640, 480);
    for (int rate : {30, 60})
        PrintDelivery(size, rate, WatchDelivery(size, rate, frames));
    return 0;
}
