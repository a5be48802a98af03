#include "detect/PixelDetector.h"

#include "detect/DetectionMask.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace
{
// The grid is at most this many cells wide, whatever the frame's size: the detector's cost and its
// idea of a speck stay about the same at every resolution.
constexpr int GridColumns = 160;
// A cell has changed when its luma differs from the background by more than this many times the
// noise, by at least MinimumDifference levels, plus RelativeDifference of the expected brightness (a
// change of light is never exactly the same everywhere).
constexpr float NoiseFactor = 4.0f;
constexpr float MinimumDifference = 6.0f;
constexpr float RelativeDifference = 0.04f;
// A changed cell counts when at least this many of its eight neighbours changed too.
constexpr int KeepNeighbours = 3;
// More than this share of the watched cells changed at once: the light changed, the background is
// learned anew over SettleFrames frames.
constexpr double RelearnShare = 0.5;
constexpr int SettleFrames = 5;
constexpr float SettleRate = 0.5f;
// The background follows an unchanged cell within about FollowSeconds. A changed cell keeps its
// background until it has been changed for HoldSeconds, then follows as fast: a person standing still
// stays a change for that long and leaves no ghost behind, a parked car becomes background.
constexpr float FollowSeconds = 1.0f;
constexpr float HoldSeconds = 5.0f;
// How fast the noise follows the camera's, per compared frame.
constexpr float NoiseRate = 0.05f;
// Frames without a usable time are taken as this far apart.
constexpr float DefaultFrameSeconds = 0.04f;
// The median of the absolute value of normal noise, in standard deviations.
constexpr float MedianOfAbsolute = 0.6745f;
// The percent of the watched picture for one unit of sensitivity: the default sensitivity of 2 asks
// for half a percent, which a person crossing the room far exceeds and the noise that is left after
// the despeckling never reaches.
constexpr double SharePerUnit = 0.25;
// The light and the noise are judged from every SampleStride-th cell: thousands of cells tell them
// as well as all of them.
constexpr std::size_t SampleStride = 3;
// Absolute differences are counted in half levels, up to the last bin.
constexpr int HistogramBins = 256;

using Histogram = std::array<int, HistogramBins>;

void Count(Histogram& histogram, float difference)
{
    histogram[static_cast<std::size_t>(std::min(difference * 2.0f, HistogramBins - 1.0f))]++;
}

// The standard deviation of normal values whose absolute values were counted in histogram.
float NoiseFromHistogram(const Histogram& histogram, int total)
{
    int seen = 0;
    for (int bin = 0; bin < HistogramBins; ++bin)
    {
        seen += histogram[static_cast<std::size_t>(bin)];
        if (2 * seen >= total)
            return (static_cast<float>(bin) + 0.5f) / 2.0f / MedianOfAbsolute;
    }
    return 0.0f;
}

// The sides of the grid's squares for a frame of this width.
int GridStep(int width)
{
    return std::max((width + GridColumns - 1) / GridColumns, 1);
}

void Allocate(PixelDetectorState& state, const FramePixels& frame)
{
    state.FrameWidth = frame.Width;
    state.FrameHeight = frame.Height;
    state.Step = GridStep(frame.Width);
    state.GridWidth = std::max(frame.Width / state.Step, 1);
    state.GridHeight = std::max(frame.Height / state.Step, 1);
    const std::size_t cells = static_cast<std::size_t>(state.GridWidth) * state.GridHeight;
    state.Luma.assign(cells, 0.0f);
    state.Background.assign(cells, 0.0f);
    state.Previous.assign(cells, 0.0f);
    state.Raw.assign(cells, 0);
    state.ChangedSeconds.assign(cells, 0.0f);
    state.Changed.assign(cells, 0);
    state.MaskVersion = 0;
    state.Watched.clear();
    state.FrameCount = 0;
}

// Each cell's luma, from the average of the Pair pixels side by side at its top left corner, on a
// scale of 0 to 255. One row of each cell is read: the frame's memory is the step's cost.
template <int Pair> void ComputeLuma(PixelDetectorState& state, const FramePixels& frame)
{
    constexpr float scale = 1.0f / (256.0f * Pair);
    const std::size_t pixelStep = 3 * static_cast<std::size_t>(state.Step);
    for (int gy = 0; gy < state.GridHeight; ++gy)
    {
        const std::uint8_t* row = frame.TopDownRow(gy * state.Step);
        float* out = state.Luma.data() + static_cast<std::size_t>(gy) * state.GridWidth;
        for (int gx = 0; gx < state.GridWidth; ++gx)
        {
            const std::uint8_t* p = row + gx * pixelStep;
            unsigned sum = 29u * p[0] + 150u * p[1] + 77u * p[2];
            if constexpr (Pair == 2)
                sum += 29u * p[3] + 150u * p[4] + 77u * p[5];
            out[gx] = static_cast<float>(sum) * scale;
        }
    }
}

void UpdateWatched(PixelDetectorState& state, const DetectionMask& mask)
{
    if (state.MaskVersion == mask.Version() && !state.Watched.empty())
        return;
    state.Watched = mask.Cells(state.GridWidth, state.GridHeight);
    state.WatchedCells = static_cast<int>(std::count(state.Watched.begin(), state.Watched.end(), 1));
    state.MaskVersion = mask.Version();
}

// The brightness of the frame as a straight line of the background's: luma = Gain x background +
// Offset, fitted over the watched cells that are neither black nor white, and, when near is given,
// only over those within near of the line given.
struct BrightnessFit
{
    float Gain = 1.0f;
    float Offset = 0.0f;
};

BrightnessFit FitBrightness(const PixelDetectorState& state, const BrightnessFit& line, float near)
{
    double n = 0, sb = 0, sl = 0, sbb = 0, sbl = 0;
    const std::size_t cells = state.Luma.size();
    for (std::size_t i = 0; i < cells; i += SampleStride)
    {
        const float b = state.Background[i];
        const float l = state.Luma[i];
        if (state.Watched[i] == 0 || b < 2.0f || b > 250.0f || l < 2.0f || l > 250.0f)
            continue;
        if (near > 0.0f && std::fabs(l - (line.Gain * b + line.Offset)) > near)
            continue;
        n += 1;
        sb += b;
        sl += l;
        sbb += static_cast<double>(b) * b;
        sbl += static_cast<double>(b) * l;
    }
    if (n < 16)
        return line;
    BrightnessFit fit;
    const double spread = sbb - sb * sb / n;
    if (spread < 4.0 * n) // a picture of one brightness: only a gain can be told
        fit.Gain = sb > 0 ? static_cast<float>(sl / sb) : 1.0f;
    else
        fit.Gain = static_cast<float>((sbl - sb * sl / n) / spread);
    fit.Gain = std::clamp(fit.Gain, 0.1f, 10.0f);
    fit.Offset = spread < 4.0 * n ? 0.0f : static_cast<float>((sl - fit.Gain * sb) / n);
    return fit;
}

void Learn(PixelDetectorState& state)
{
    const int n = state.FrameCount;
    const std::size_t cells = state.Luma.size();
    Histogram histogram{};
    for (std::size_t i = 0; i < cells; ++i)
    {
        state.Background[i] += (state.Luma[i] - state.Background[i]) / static_cast<float>(n);
        if (n > 1)
            Count(histogram, std::fabs(state.Luma[i] - state.Previous[i]));
    }
    if (n > 1)
    {
        const float noise = NoiseFromHistogram(histogram, static_cast<int>(cells)) / std::sqrt(2.0f);
        state.Noise += (noise - state.Noise) / static_cast<float>(n - 1);
    }
    state.Previous = state.Luma;
}

// Keeps the changed cells of which enough neighbours changed too.
void Despeckle(PixelDetectorState& state)
{
    const int w = state.GridWidth;
    const int h = state.GridHeight;
    std::fill(state.Changed.begin(), state.Changed.end(), 0);
    for (int y = 1; y + 1 < h; ++y)
    {
        const std::uint8_t* above = state.Raw.data() + static_cast<std::size_t>(y - 1) * w;
        const std::uint8_t* row = above + w;
        const std::uint8_t* below = row + w;
        std::uint8_t* out = state.Changed.data() + static_cast<std::size_t>(y) * w;
        for (int x = 1; x + 1 < w; ++x)
        {
            if (row[x] == 0)
                continue;
            const int neighbours = above[x - 1] + above[x] + above[x + 1] + row[x - 1] + row[x + 1] +
                                   below[x - 1] + below[x] + below[x + 1];
            out[x] = neighbours >= KeepNeighbours ? 1 : 0;
        }
    }
}

float FrameSeconds(PixelDetectorState& state, const FramePixels& frame)
{
    const std::uint32_t elapsed = frame.TimeCaptured - state.LastTime;
    const bool usable = state.LastTime != 0 && frame.TimeCaptured > state.LastTime && elapsed <= 2000;
    state.LastTime = frame.TimeCaptured;
    return usable ? static_cast<float>(elapsed) / 1000.0f : DefaultFrameSeconds;
}

void Compare(PixelDetectorState& state, float seconds, double sensitivity, DetectorStep& step)
{
    const std::size_t cells = state.Luma.size();
    const float threshold = std::max(MinimumDifference, NoiseFactor * state.Noise);
    BrightnessFit line = FitBrightness(state, {}, 0.0f);
    line = FitBrightness(state, line, 3.0f * threshold + 10.0f);

    // The noise from a sample of the watched cells.
    Histogram histogram{};
    int sampled = 0;
    for (std::size_t i = 0; i < cells; i += SampleStride)
    {
        if (state.Watched[i] == 0)
            continue;
        const float expected = std::clamp(line.Gain * state.Background[i] + line.Offset, 0.0f, 255.0f);
        Count(histogram, std::fabs(state.Luma[i] - expected));
        ++sampled;
    }

    // Compares each cell with its background in the frame's light, and moves the background towards
    // the frame: at once for an unchanged cell, after HoldSeconds for a changed one.
    const float follow = std::min(1.0f, seconds / FollowSeconds);
    const float* luma = state.Luma.data();
    float* background = state.Background.data();
    float* changedSeconds = state.ChangedSeconds.data();
    const std::uint8_t* watched = state.Watched.data();
    std::uint8_t* raw = state.Raw.data();
    int changedCells = 0;
    for (std::size_t i = 0; i < cells; ++i)
    {
        const float expected = std::clamp(line.Gain * background[i] + line.Offset, 0.0f, 255.0f);
        const float difference = std::fabs(luma[i] - expected);
        const bool changed = (watched[i] != 0) & (difference > threshold + RelativeDifference * expected);
        raw[i] = changed ? 1 : 0;
        changedCells += changed ? 1 : 0;
        const float changedFor = changed ? changedSeconds[i] + seconds : 0.0f;
        changedSeconds[i] = changedFor;
        const float rate = changedFor <= 0.0f || changedFor > HoldSeconds ? follow : 0.0f;
        background[i] = expected + rate * (luma[i] - expected);
    }
    step.Compared = true;
    if (state.WatchedCells > 0 && changedCells > RelearnShare * state.WatchedCells)
    {
        state.Background = state.Luma;
        state.Settling = SettleFrames;
        std::fill(state.Changed.begin(), state.Changed.end(), 0);
        std::fill(state.ChangedSeconds.begin(), state.ChangedSeconds.end(), 0.0f);
        return;
    }
    if (sampled > 0)
        state.Noise += NoiseRate * (NoiseFromHistogram(histogram, sampled) - state.Noise);

    Despeckle(state);
    const auto kept = std::count(state.Changed.begin(), state.Changed.end(), 1);
    const double share =
        state.WatchedCells > 0 ? 100.0 * static_cast<double>(kept) / state.WatchedCells : 0.0;
    step.Change = share / SharePerUnit;
    step.Detected = step.Change > sensitivity;
}
} // namespace

DetectorStep StepPixelDetector(PixelDetectorState& state, const FramePixels& frame, double sensitivity,
                               const DetectionMask& mask)
{
    DetectorStep step;
    if (!frame.Usable())
        return step;
    if (frame.Width != state.FrameWidth || frame.Height != state.FrameHeight || state.Luma.empty())
        Allocate(state, frame);
    UpdateWatched(state, mask);
    if (state.Step >= 2)
        ComputeLuma<2>(state, frame);
    else
        ComputeLuma<1>(state, frame);
    const float seconds = FrameSeconds(state, frame);

    if (state.FrameCount == 0)
    {
        step.Restarted = true;
        std::fill(state.Background.begin(), state.Background.end(), 0.0f);
        std::fill(state.Changed.begin(), state.Changed.end(), 0);
        std::fill(state.ChangedSeconds.begin(), state.ChangedSeconds.end(), 0.0f);
        state.Noise = 0.0f;
        state.Settling = 0;
    }
    if (state.FrameCount < BaselineFrames)
    {
        ++state.FrameCount;
        Learn(state);
        return step;
    }
    if (state.FrameCount == BaselineFrames)
    {
        state.FrameCount = Comparing;
        step.BaselineComplete = true;
    }
    if (state.Settling > 0)
    {
        --state.Settling;
        for (std::size_t i = 0; i < state.Luma.size(); ++i)
            state.Background[i] += SettleRate * (state.Luma[i] - state.Background[i]);
        step.Compared = true;
        return step;
    }
    Compare(state, seconds, sensitivity, step);
    return step;
}
