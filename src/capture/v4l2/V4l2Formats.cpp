#include "capture/v4l2/V4l2Formats.h"

#include "capture/v4l2/V4l2Text.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <tuple>

namespace
{
constexpr int PreferredWidth = 640;
constexpr int PreferredHeight = 480;

// Sizes cameras commonly offer, used to pick a few choices out of a range.
constexpr int CommonSizes[][2] = {{160, 120},   {176, 144},   {320, 180},   {320, 240},   {352, 288},
                                  {424, 240},   {640, 360},   {640, 480},   {800, 448},   {800, 600},
                                  {960, 540},   {1024, 576},  {1024, 768},  {1280, 720},  {1280, 960},
                                  {1280, 1024}, {1600, 1200}, {1920, 1080}, {2560, 1440}, {3840, 2160}};
constexpr std::uint32_t CommonRates[] = {60, 50, 30, 25, 20, 15, 10, 5, 1};

bool Fits(int value, int minimum, int maximum, int step)
{
    return value >= minimum && value <= maximum && (value - minimum) % std::max(step, 1) == 0;
}

// How far a size is from the preferred one: pixel count first, then the sides.
std::pair<long long, long long> Distance(int width, int height)
{
    const long long area = static_cast<long long>(width) * height;
    return {std::llabs(area - static_cast<long long>(PreferredWidth) * PreferredHeight),
            std::llabs(width - PreferredWidth) + std::llabs(height - PreferredHeight)};
}

V4l2Interval Fastest(const V4l2FrameSize& size)
{
    return size.Intervals.empty() ? V4l2Interval{} : size.Intervals.front();
}

double Seconds(const V4l2Interval& interval)
{
    return double(interval.Numerator) / interval.Denominator;
}
} // namespace

bool V4l2Interval::operator==(const V4l2Interval& other) const
{
    if (!Valid() || !other.Valid())
        return Valid() == other.Valid();
    return std::uint64_t(Numerator) * other.Denominator == std::uint64_t(other.Numerator) * Denominator;
}

bool FasterThan(const V4l2Interval& a, const V4l2Interval& b)
{
    if (!a.Valid())
        return false;
    if (!b.Valid())
        return true;
    return std::uint64_t(a.Numerator) * b.Denominator < std::uint64_t(b.Numerator) * a.Denominator;
}

std::optional<V4l2FormatChoice> ChooseV4l2Format(const std::vector<V4l2PixelFormat>& formats,
                                                 const std::optional<V4l2FormatChoice>& stored)
{
    if (stored)
    {
        for (const V4l2PixelFormat& format : formats)
        {
            if (format.FourCc != stored->FourCc)
                continue;
            for (const V4l2FrameSize& size : format.Sizes)
            {
                if (size.Width != stored->Width || size.Height != stored->Height)
                    continue;
                V4l2FormatChoice choice = *stored;
                const bool rateOffered = std::find(size.Intervals.begin(), size.Intervals.end(),
                                                   stored->Interval) != size.Intervals.end();
                if (!rateOffered)
                    choice.Interval = Fastest(size);
                return choice;
            }
        }
    }

    std::optional<V4l2FormatChoice> best;
    std::pair<long long, long long> bestDistance;
    for (const V4l2PixelFormat& format : formats)
    {
        for (const V4l2FrameSize& size : format.Sizes)
        {
            if (size.Width <= 0 || size.Height <= 0)
                continue;
            const auto distance = Distance(size.Width, size.Height);
            const V4l2Interval rate = Fastest(size);
            if (!best || distance < bestDistance ||
                (distance == bestDistance && FasterThan(rate, best->Interval)))
            {
                best = V4l2FormatChoice{format.FourCc, size.Width, size.Height, rate};
                bestDistance = distance;
            }
        }
    }
    return best;
}

std::vector<V4l2FrameSize> SizesInRange(const V4l2SizeRange& range)
{
    const int minWidth = std::max(range.MinWidth, 1);
    const int minHeight = std::max(range.MinHeight, 1);
    const int maxWidth = std::min(range.MaxWidth, V4l2MaxDimension);
    const int maxHeight = std::min(range.MaxHeight, V4l2MaxDimension);
    if (minWidth > maxWidth || minHeight > maxHeight)
        return {};

    std::vector<V4l2FrameSize> sizes{{minWidth, minHeight, {}}};
    for (const auto& common : CommonSizes)
    {
        if (Fits(common[0], minWidth, maxWidth, range.StepWidth) &&
            Fits(common[1], minHeight, maxHeight, range.StepHeight))
            sizes.push_back({common[0], common[1], {}});
    }
    // The largest size the steps reach.
    const int lastWidth = maxWidth - (maxWidth - minWidth) % std::max(range.StepWidth, 1);
    const int lastHeight = maxHeight - (maxHeight - minHeight) % std::max(range.StepHeight, 1);
    sizes.push_back({lastWidth, lastHeight, {}});

    const auto key = [](const V4l2FrameSize& s)
    { return std::make_tuple(s.Width * s.Height, s.Width, s.Height); };
    std::sort(sizes.begin(), sizes.end(), [&](const auto& a, const auto& b) { return key(a) < key(b); });
    sizes.erase(std::unique(sizes.begin(), sizes.end(),
                            [&](const auto& a, const auto& b) { return key(a) == key(b); }),
                sizes.end());
    return sizes;
}

std::vector<V4l2Interval> IntervalsInRange(const V4l2Interval& fastest, const V4l2Interval& slowest,
                                           const V4l2Interval& step)
{
    if (!fastest.Valid())
        return {};
    std::vector<V4l2Interval> intervals{fastest};
    if (!slowest.Valid() || FasterThan(slowest, fastest) || slowest == fastest)
        return intervals;

    for (const std::uint32_t rate : CommonRates)
    {
        const V4l2Interval common{1, rate};
        if (!FasterThan(fastest, common) || !FasterThan(common, slowest))
            continue;
        if (step.Valid())
        {
            const double steps = (Seconds(common) - Seconds(fastest)) / Seconds(step);
            if (std::abs(steps - std::round(steps)) > 1e-6)
                continue;
        }
        intervals.push_back(common);
    }
    intervals.push_back(slowest);
    return intervals;
}

QString V4l2FormatChoiceText(const V4l2FormatChoice& choice)
{
    const QString rate =
        choice.Interval.Valid()
            ? QStringLiteral("%1/%2").arg(choice.Interval.Numerator).arg(choice.Interval.Denominator)
            : QStringLiteral("-");
    return QStringLiteral("%1 %2x%3 %4")
        .arg(FourCcText(choice.FourCc))
        .arg(choice.Width)
        .arg(choice.Height)
        .arg(rate);
}

std::optional<V4l2FormatChoice> ParseV4l2FormatChoice(const QString& text)
{
    const QStringList parts = text.split(QChar(' '), Qt::SkipEmptyParts);
    if (parts.size() != 3)
        return std::nullopt;
    V4l2FormatChoice choice;
    choice.FourCc = FourCcFromText(parts[0]);
    const QStringList size = parts[1].split(QChar('x'));
    bool widthOk = false;
    bool heightOk = false;
    if (size.size() == 2)
    {
        choice.Width = size[0].toInt(&widthOk);
        choice.Height = size[1].toInt(&heightOk);
    }
    if (choice.FourCc == 0 || !widthOk || !heightOk || choice.Width <= 0 || choice.Height <= 0 ||
        choice.Width > V4l2MaxDimension || choice.Height > V4l2MaxDimension)
        return std::nullopt;
    if (parts[2] != QStringLiteral("-"))
    {
        const QStringList rate = parts[2].split(QChar('/'));
        bool numeratorOk = false;
        bool denominatorOk = false;
        if (rate.size() == 2)
            choice.Interval = {rate[0].toUInt(&numeratorOk), rate[1].toUInt(&denominatorOk)};
        if (!numeratorOk || !denominatorOk || !choice.Interval.Valid())
            return std::nullopt;
    }
    return choice;
}
