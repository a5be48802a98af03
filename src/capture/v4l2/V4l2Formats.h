#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// The time between two frames, in seconds as a fraction. {0, 0} stands for the device's own rate.
struct V4l2Interval
{
    std::uint32_t Numerator = 0;
    std::uint32_t Denominator = 0;

    bool Valid() const { return Numerator != 0 && Denominator != 0; }
    double FramesPerSecond() const { return Valid() ? double(Denominator) / Numerator : 0.0; }
    // Compares the fractions, so that 1/30 and 2/60 are the same interval.
    bool operator==(const V4l2Interval& other) const;
};

// True when a gives more frames per second than b. An interval that is not valid is the slowest.
bool FasterThan(const V4l2Interval& a, const V4l2Interval& b);

struct V4l2FrameSize
{
    int Width = 0;
    int Height = 0;
    // Fastest first; empty when the device does not list its rates.
    std::vector<V4l2Interval> Intervals;
};

// One of the camera's own pixel formats with the sizes and rates it offers.
struct V4l2PixelFormat
{
    std::uint32_t FourCc = 0;
    QString Description;
    // Smallest first.
    std::vector<V4l2FrameSize> Sizes;
};

// The format the camera is asked for: its pixel format, frame size and frame interval.
struct V4l2FormatChoice
{
    std::uint32_t FourCc = 0;
    int Width = 0;
    int Height = 0;
    V4l2Interval Interval;

    bool operator==(const V4l2FormatChoice& other) const = default;
};

// The largest width or height the driver accepts from a device.
inline constexpr int V4l2MaxDimension = 16384;

// Picks the format to start with. A stored choice is kept when its pixel format and size are still
// offered, with its rate when that is offered too and otherwise the fastest rate of that size. Without a
// usable stored choice: the frame size closest to 640x480 (least difference in pixel count, then in width
// plus height), at the highest rate any pixel format offers at that size; among equals the pixel format
// the camera lists first. Nothing when no format offers a size.
std::optional<V4l2FormatChoice> ChooseV4l2Format(const std::vector<V4l2PixelFormat>& formats,
                                                 const std::optional<V4l2FormatChoice>& stored);

// Frame sizes worth offering from a range the device accepts: its smallest and largest size and the
// common sizes in between that fit its steps. Smallest first. A step of 0 counts as 1.
struct V4l2SizeRange
{
    int MinWidth, MaxWidth, StepWidth, MinHeight, MaxHeight, StepHeight;
};
std::vector<V4l2FrameSize> SizesInRange(const V4l2SizeRange& range);

// Frame intervals worth offering from a range: the fastest, the slowest and the common rates in between
// that fit the step. Fastest first. A step that is not valid counts as continuous.
std::vector<V4l2Interval> IntervalsInRange(const V4l2Interval& fastest, const V4l2Interval& slowest,
                                           const V4l2Interval& step);

// The stored form of a choice: "YUYV 640x480 1/30" ("-" for the device's own rate) and back.
QString V4l2FormatChoiceText(const V4l2FormatChoice& choice);
std::optional<V4l2FormatChoice> ParseV4l2FormatChoice(const QString& text);
