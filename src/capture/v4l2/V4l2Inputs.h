#pragma once

#include "capture/v4l2/V4l2Api.h"

#include <QString>
#include <cstdint>
#include <vector>

// One of the device's video inputs (a camera has one; a capture card may have several).
struct V4l2Input
{
    std::uint32_t Index = 0;
    QString Name;
};

// The device's inputs in index order; empty when it has none to choose from.
std::vector<V4l2Input> QueryV4l2Inputs(const V4l2Api& api, int fd);
