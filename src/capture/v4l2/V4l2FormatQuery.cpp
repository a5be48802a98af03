#include "capture/v4l2/V4l2FormatQuery.h"

#include "capture/v4l2/V4l2Text.h"

#include <algorithm>
#include <linux/videodev2.h>

namespace
{
// A device that never ends a list is not followed further than this.
constexpr std::uint32_t MaxEntries = 256;

bool UsableSize(std::uint32_t width, std::uint32_t height)
{
    return width > 0 && height > 0 && width <= V4l2MaxDimension && height <= V4l2MaxDimension;
}

V4l2Interval Interval(const v4l2_fract& fraction)
{
    return {fraction.numerator, fraction.denominator};
}

std::vector<V4l2Interval> QueryIntervals(const V4l2Api& api, int fd, std::uint32_t fourCc, int width,
                                         int height)
{
    std::vector<V4l2Interval> intervals;
    for (std::uint32_t index = 0; index < MaxEntries; ++index)
    {
        v4l2_frmivalenum entry{};
        entry.index = index;
        entry.pixel_format = fourCc;
        entry.width = static_cast<std::uint32_t>(width);
        entry.height = static_cast<std::uint32_t>(height);
        if (V4l2Ioctl(api, fd, VIDIOC_ENUM_FRAMEINTERVALS, &entry) < 0)
            break;
        if (entry.type != V4L2_FRMIVAL_TYPE_DISCRETE)
        {
            if (index == 0)
                intervals =
                    IntervalsInRange(Interval(entry.stepwise.min), Interval(entry.stepwise.max),
                                     entry.type == V4L2_FRMIVAL_TYPE_STEPWISE ? Interval(entry.stepwise.step)
                                                                              : V4l2Interval{});
            break;
        }
        if (Interval(entry.discrete).Valid())
            intervals.push_back(Interval(entry.discrete));
    }
    std::stable_sort(intervals.begin(), intervals.end(), FasterThan);
    intervals.erase(std::unique(intervals.begin(), intervals.end()), intervals.end());
    return intervals;
}

// The size the camera picks nearest to 640x480, for a device that does not list its sizes.
std::vector<V4l2FrameSize> TriedSize(const V4l2Api& api, int fd, std::uint32_t fourCc)
{
    v4l2_format format{};
    format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    format.fmt.pix.width = 640;
    format.fmt.pix.height = 480;
    format.fmt.pix.pixelformat = fourCc;
    format.fmt.pix.field = V4L2_FIELD_ANY;
    if (V4l2Ioctl(api, fd, VIDIOC_TRY_FMT, &format) < 0 || format.fmt.pix.pixelformat != fourCc ||
        !UsableSize(format.fmt.pix.width, format.fmt.pix.height))
        return {};
    return {{static_cast<int>(format.fmt.pix.width), static_cast<int>(format.fmt.pix.height), {}}};
}

std::vector<V4l2FrameSize> QuerySizes(const V4l2Api& api, int fd, std::uint32_t fourCc)
{
    std::vector<V4l2FrameSize> sizes;
    for (std::uint32_t index = 0; index < MaxEntries; ++index)
    {
        v4l2_frmsizeenum entry{};
        entry.index = index;
        entry.pixel_format = fourCc;
        if (V4l2Ioctl(api, fd, VIDIOC_ENUM_FRAMESIZES, &entry) < 0)
        {
            if (index == 0)
                sizes = TriedSize(api, fd, fourCc);
            break;
        }
        if (entry.type != V4L2_FRMSIZE_TYPE_DISCRETE)
        {
            if (index == 0)
            {
                const auto& range = entry.stepwise;
                const bool continuous = entry.type == V4L2_FRMSIZE_TYPE_CONTINUOUS;
                const auto dimension = [](std::uint32_t value)
                { return static_cast<int>(std::min<std::uint32_t>(value, V4l2MaxDimension)); };
                sizes = SizesInRange({dimension(range.min_width), dimension(range.max_width),
                                      continuous ? 1 : dimension(range.step_width),
                                      dimension(range.min_height), dimension(range.max_height),
                                      continuous ? 1 : dimension(range.step_height)});
            }
            break;
        }
        if (UsableSize(entry.discrete.width, entry.discrete.height))
            sizes.push_back(
                {static_cast<int>(entry.discrete.width), static_cast<int>(entry.discrete.height), {}});
    }
    const auto key = [](const V4l2FrameSize& s) { return std::make_pair(s.Width * s.Height, s.Width); };
    std::stable_sort(sizes.begin(), sizes.end(),
                     [&](const auto& a, const auto& b) { return key(a) < key(b); });
    sizes.erase(std::unique(sizes.begin(), sizes.end(),
                            [](const auto& a, const auto& b)
                            { return a.Width == b.Width && a.Height == b.Height; }),
                sizes.end());
    for (V4l2FrameSize& size : sizes)
        size.Intervals = QueryIntervals(api, fd, fourCc, size.Width, size.Height);
    return sizes;
}
} // namespace

std::vector<V4l2PixelFormat> QueryV4l2Formats(const V4l2Api& api, int fd)
{
    std::vector<V4l2PixelFormat> formats;
    for (std::uint32_t index = 0; index < MaxEntries; ++index)
    {
        v4l2_fmtdesc description{};
        description.index = index;
        description.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        if (V4l2Ioctl(api, fd, VIDIOC_ENUM_FMT, &description) < 0)
            break;
        if (description.flags & V4L2_FMT_FLAG_EMULATED)
            continue;
        V4l2PixelFormat format{description.pixelformat, V4l2Text(description.description), {}};
        format.Sizes = QuerySizes(api, fd, description.pixelformat);
        if (!format.Sizes.empty())
            formats.push_back(std::move(format));
    }
    return formats;
}
