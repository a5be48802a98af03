#pragma once

#include "capture/v4l2/V4l2Api.h"
#include "capture/v4l2/V4l2Formats.h"

#include <vector>

// The camera's own pixel formats (not the ones libv4l2 makes by conversion), each with the frame sizes
// and rates it offers, in the order the camera lists them. Formats without any usable size are left out.
std::vector<V4l2PixelFormat> QueryV4l2Formats(const V4l2Api& api, int fd);
