#pragma once

#include "capture/v4l2/V4l2Api.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

struct V4l2MenuEntry
{
    std::int32_t Index = 0;
    QString Text;
};

// One control the device reports, with its value when it was read.
struct V4l2Control
{
    std::uint32_t Id = 0;
    // A V4L2_CTRL_TYPE_ value: integer, boolean, menu, integer menu, button, or a class heading.
    std::uint32_t Type = 0;
    QString Name;
    std::int32_t Minimum = 0;
    std::int32_t Maximum = 0;
    std::int32_t Step = 1;
    std::int32_t Default = 0;
    std::uint32_t Flags = 0;
    std::int32_t Value = 0;
    // The entries of a menu or integer menu, in index order; an integer menu's text is its number.
    std::vector<V4l2MenuEntry> Menu;

    // False for read-only, inactive and grabbed controls: shown, but not for changing now.
    bool Adjustable() const;
    std::uint32_t ClassId() const;
};

// Every control of the device that can be shown and set with a single value, in the device's order,
// with the class headings it reports. Disabled controls and types that need more than one value
// (64-bit, strings, compound controls) are left out.
std::vector<V4l2Control> QueryV4l2Controls(const V4l2Api& api, int fd);

// Sets a control. 0, or the errno value of the failure.
int SetV4l2Control(const V4l2Api& api, int fd, std::uint32_t id, std::int32_t value);

// A heading for a class of controls that the device did not name itself.
QString V4l2ClassName(std::uint32_t classId);
