#include "capture/stream/StreamSizes.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace
{
constexpr int MinSide = 8;

constexpr std::array<QSize, 10> CommonSizes{{{1920, 1080},
                                             {1280, 720},
                                             {1024, 768},
                                             {960, 540},
                                             {800, 600},
                                             {640, 480},
                                             {640, 360},
                                             {320, 240},
                                             {320, 180},
                                             {160, 120}}};

// Proportions within one percent of each other.
bool SameProportions(QSize a, QSize b)
{
    const long long left = static_cast<long long>(a.width()) * b.height();
    const long long right = static_cast<long long>(b.width()) * a.height();
    return std::llabs(left - right) * 100 <= right;
}

QSize Divided(QSize native, int by)
{
    return {(native.width() / by) & ~1, native.height() / by};
}
} // namespace

std::vector<QSize> StreamSizeChoices(QSize native)
{
    if (native.isEmpty())
        return {};
    std::vector<QSize> sizes{native};
    const auto offer = [&sizes](QSize size)
    {
        if (size.width() >= MinSide && size.height() >= MinSide &&
            std::find(sizes.begin(), sizes.end(), size) == sizes.end())
            sizes.push_back(size);
    };
    offer(Divided(native, 2));
    offer(Divided(native, 4));
    for (const QSize common : CommonSizes)
        if (common.width() < native.width() && common.height() < native.height() &&
            SameProportions(common, native))
            offer(common);
    std::stable_sort(sizes.begin() + 1, sizes.end(),
                     [](QSize a, QSize b) { return a.width() * a.height() > b.width() * b.height(); });
    return sizes;
}
