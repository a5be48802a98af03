// Feeds labelled clips to both detection methods at the default sensitivity and prints, for each
// part of the clip, the false alarms and the figures found. The clips are drawn here from the test
// scene's room and figure at 768 x 576, 25 frames a second, with camera noise: an empty room, a light
// switched down and up, a slow dimming and brightening, exposure flicker, people crossing the room
// and a small figure far away. A false alarm is a run of detections, less than two seconds apart,
// while no figure is in the picture; a figure is found when a detection falls while it is in view.
// Last, the people part is fed again under an all-black mask, which must silence both methods.

#include "capture/driver/DibFrame.h"
#include "capture/scene/TestSceneFigure.h"
#include "capture/scene/TestSceneRenderer.h"
#include "common/ByteSum.h"
#include "detect/DetectionMask.h"
#include "detect/FrameDetector.h"
#include "detect/PixelDetector.h"
#include "monitor/DibPixels.h"

#include <QImage>
#include <QSize>
#include <QTime>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
constexpr int Rate = 25;
constexpr double Sensitivity = 2.0;
constexpr double EventGapSeconds = 2.0;
// The byte sum and moving pixels at the default sensitivity, and moving pixels made more sensitive.
constexpr std::size_t Methods = 3;
constexpr double FineSensitivity = 0.5;

enum class Part
{
    Empty,
    LightStep,
    Ramp,
    Flicker,
    Crossings,
    FarFigure,
};

struct Section
{
    const char* Name;
    Part Kind;
    double Seconds;
};

// The light's gain t seconds into a part.
double Gain(Part part, double t, std::uint32_t& random)
{
    switch (part)
    {
    case Part::LightStep:
        return t < 3.0 ? 1.0 : t < 7.5 ? 0.55 : 1.0;
    case Part::Ramp:
        return t < 10.0 ? 1.0 - 0.05 * t : 0.5 + 0.05 * (t - 10.0);
    case Part::Flicker:
    {
        // Mains flicker against the exposure time, a camera hunting for its exposure, and a gain step
        // of the automatic exposure every two seconds.
        random = random * 1664525u + 1013904223u;
        const double jitter = (static_cast<double>(random >> 24) / 255.0 - 0.5) * 0.06;
        const double hunting = 0.08 * std::sin(2.0 * 3.14159265 * 1.3 * t);
        const double step = static_cast<int>(t / 2.0) % 2 == 0 ? 1.0 : 0.85;
        return step * (1.0 + hunting + jitter);
    }
    default:
        return 1.0;
    }
}

class ClipMaker
{
public:
    explicit ClipMaker(QSize size) : scene_(size, Rate), far_(size.height() * 0.12) {}

    // Draws frame number n of the part, t seconds into it; true when a figure is in view.
    bool Draw(Part part, int n, double t, DibFrame& frame)
    {
        bool figure = false;
        const QTime clock = QTime(10, 0, 0).addMSecs(static_cast<int>(t * 1000.0) + n);
        if (part == Part::Crossings)
        {
            const auto number = static_cast<std::uint64_t>(std::lround(t * Rate));
            scene_.Render(number, clock, frame);
            figure = scene_.FigureAt(number).Visible;
        }
        else
        {
            scene_.Render(0, clock, frame);
        }
        if (part == Part::FarFigure)
        {
            // Crosses the back wall in four seconds, then two seconds of empty room.
            const double cycle = std::fmod(t, 6.0);
            const double width = scene_.Size().width();
            TestSceneFigurePose pose;
            pose.Visible = cycle < 4.0;
            pose.Walking = true;
            pose.FacingRight = true;
            pose.CentreX = -far_.Width() + cycle / 4.0 * (width + 2.0 * far_.Width());
            pose.StridePhase = std::fmod(cycle * 1.8, 1.0);
            const double feet = scene_.Layout().FloorY + scene_.Size().height() * 0.06;
            if (pose.Visible)
                far_.Draw(frame, pose, feet);
            figure = pose.Visible && pose.CentreX > 0 && pose.CentreX < width;
        }
        Expose(frame, Gain(part, t, random_));
        frame.TimeCaptured = static_cast<std::uint32_t>(n * 1000 / Rate + 1);
        return figure;
    }

private:
    // The light's gain and the sensor's noise, on every byte.
    void Expose(DibFrame& frame, double gain)
    {
        std::array<std::uint8_t, 256> lut{};
        for (int v = 0; v < 256; ++v)
            lut[static_cast<std::size_t>(v)] =
                static_cast<std::uint8_t>(std::clamp(static_cast<int>(std::lround(v * gain)), 0, 255));
        for (std::uint8_t& byte : frame.Bits)
        {
            noise_ = noise_ * 1664525u + 1013904223u;
            const int n = static_cast<int>((noise_ >> 24) & 7u) + static_cast<int>((noise_ >> 16) & 7u) - 7;
            byte = static_cast<std::uint8_t>(std::clamp(lut[byte] + n, 0, 255));
        }
    }

    TestSceneRenderer scene_;
    TestSceneFigure far_;
    std::uint32_t noise_ = 12345;
    std::uint32_t random_ = 777;
};

// What one method did in one part.
struct Tally
{
    int FalseAlarms = 0;
    int Found = 0;
    int Figures = 0;
    double LastFalse = -1e9;
    bool InFigure = false;
    bool FoundThis = false;

    void Frame(double time, bool figure, bool detected)
    {
        if (figure && !InFigure)
        {
            ++Figures;
            FoundThis = false;
        }
        InFigure = figure;
        if (!detected)
            return;
        if (figure)
        {
            if (!FoundThis)
                ++Found;
            FoundThis = true;
            return;
        }
        if (time - LastFalse >= EventGapSeconds)
            ++FalseAlarms;
        LastFalse = time;
    }
};
} // namespace

int main()
{
    const QSize size(768, 576);
    const std::vector<Section> sections = {
        {"empty room, noise", Part::Empty, 30.0},
        {"light step down and up", Part::LightStep, 12.0},
        {"slow ramp", Part::Ramp, 20.0},
        {"exposure flicker", Part::Flicker, 12.0},
        {"figures crossing", Part::Crossings, 24.0},
        {"small far figure", Part::FarFigure, 18.0},
    };
    ClipMaker clip(size);
    DibFrame frame;
    DetectionMask noMask;
    DetectorState sum;
    PixelDetectorState pixels;
    PixelDetectorState finePixels;
    int n = 0;
    // Two seconds of empty room to learn from, not counted.
    for (; n < 2 * Rate; ++n)
    {
        clip.Draw(Part::Empty, n, n / static_cast<double>(Rate), frame);
        StepDetector(sum, static_cast<std::int64_t>(ByteSum(frame.Bits.data(), frame.BytesUsed())),
                     Sensitivity);
        StepPixelDetector(pixels, PixelsOf(frame), Sensitivity, noMask);
        StepPixelDetector(finePixels, PixelsOf(frame), FineSensitivity, noMask);
    }

    std::printf("Detection quality at %dx%d, %d frames/s: false alarms and figures found\n", size.width(),
                size.height(), Rate);
    std::printf("%-24s %7s | %-20s | %-20s | %-20s\n", "part", "seconds", "sum at 2", "pixels at 2",
                "pixels at 0.5");
    double quietSeconds = 0;
    std::array<int, Methods> quietAlarms{};
    std::array<int, Methods> found{};
    int figures = 0;
    std::array<int, Methods> windowsFound{};
    int windows = 0;
    for (const Section& section : sections)
    {
        std::array<Tally, Methods> tally{};
        const int frames = static_cast<int>(section.Seconds * Rate);
        std::array<bool, Methods> windowHit{};
        for (int i = 0; i < frames; ++i, ++n)
        {
            const double t = i / static_cast<double>(Rate);
            const bool figure = clip.Draw(section.Kind, n, t, frame);
            const std::array<bool, Methods> detected = {
                StepDetector(sum, static_cast<std::int64_t>(ByteSum(frame.Bits.data(), frame.BytesUsed())),
                             Sensitivity)
                    .Detected,
                StepPixelDetector(pixels, PixelsOf(frame), Sensitivity, noMask).Detected,
                StepPixelDetector(finePixels, PixelsOf(frame), FineSensitivity, noMask).Detected};
            for (std::size_t m = 0; m < Methods; ++m)
            {
                tally[m].Frame(t, figure, detected[m]);
                windowHit[m] = windowHit[m] || (figure && detected[m]);
            }
            // The people part in windows of five seconds.
            if (section.Kind == Part::Crossings && (i + 1) % (5 * Rate) == 0)
            {
                ++windows;
                for (std::size_t m = 0; m < Methods; ++m)
                {
                    windowsFound[m] += windowHit[m] ? 1 : 0;
                    windowHit[m] = false;
                }
            }
        }
        const bool quiet = section.Kind != Part::Crossings && section.Kind != Part::FarFigure;
        if (quiet)
            quietSeconds += section.Seconds;
        else
            figures += tally[0].Figures;
        std::array<std::string, Methods> cells;
        for (std::size_t m = 0; m < Methods; ++m)
        {
            if (quiet)
                quietAlarms[m] += tally[m].FalseAlarms;
            else
                found[m] += tally[m].Found;
            cells[m] =
                std::to_string(tally[m].FalseAlarms) + " false, " +
                (quiet ? std::string("-")
                       : std::to_string(tally[m].Found) + "/" + std::to_string(tally[m].Figures) + " found");
        }
        std::printf("%-24s %7.0f | %-20s | %-20s | %-20s\n", section.Name, section.Seconds, cells[0].c_str(),
                    cells[1].c_str(), cells[2].c_str());
    }
    std::printf("%-32s | %-20.1f | %-20.1f | %-20.1f\n", "false alarms/min, light and noise",
                quietAlarms[0] * 60.0 / quietSeconds, quietAlarms[1] * 60.0 / quietSeconds,
                quietAlarms[2] * 60.0 / quietSeconds);
    std::printf("%-32s | %-20s | %-20s | %-20s\n", "figures found",
                (std::to_string(found[0]) + "/" + std::to_string(figures)).c_str(),
                (std::to_string(found[1]) + "/" + std::to_string(figures)).c_str(),
                (std::to_string(found[2]) + "/" + std::to_string(figures)).c_str());
    std::printf("%-32s | %-20s | %-20s | %-20s\n", "5 s of people with a detection",
                (std::to_string(windowsFound[0]) + "/" + std::to_string(windows)).c_str(),
                (std::to_string(windowsFound[1]) + "/" + std::to_string(windows)).c_str(),
                (std::to_string(windowsFound[2]) + "/" + std::to_string(windows)).c_str());

    // The people part again under an all-black mask, after two seconds of learning.
    QImage black(8, 8, QImage::Format_Grayscale8);
    black.fill(Qt::black);
    DetectionMask covered;
    covered.SetImage(black);
    DetectorState maskedSum;
    PixelDetectorState maskedPixels;
    std::array<int, 2> maskedDetections{};
    WatchedSpans spans;
    for (int i = 0; i < 26 * Rate; ++i, ++n)
    {
        const double t = i / static_cast<double>(Rate);
        clip.Draw(i < 2 * Rate ? Part::Empty : Part::Crossings, n, t - 2.0, frame);
        if (spans.Width != frame.Width || spans.Height != frame.Height)
            spans = SpansForMask(covered, frame.Width, frame.Height);
        const bool sumDetected =
            StepDetector(maskedSum, static_cast<std::int64_t>(MaskedByteSum(PixelsOf(frame), spans)),
                         Sensitivity)
                .Detected;
        const bool pixelsDetected =
            StepPixelDetector(maskedPixels, PixelsOf(frame), Sensitivity, covered).Detected;
        maskedDetections[0] += sumDetected ? 1 : 0;
        maskedDetections[1] += pixelsDetected ? 1 : 0;
    }
    std::printf("%-32s | %-20d | %-20d |\n", "detections, all-black mask", maskedDetections[0],
                maskedDetections[1]);
    return 0;
}
