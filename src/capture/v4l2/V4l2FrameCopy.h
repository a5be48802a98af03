#pragma once

#include "capture/driver/DibFrame.h"

#include <cstddef>
#include <cstdint>

// Copies a converted picture (BGR24 rows from the top down, bytesPerLine bytes apart) into frame as
// bottom-up rows padded to four bytes, padding zeroed. False, with frame untouched, when the size is
// not usable or data holds fewer bytes than such a picture needs (a damaged or cut-off frame).
bool CopyBgr24ToDib(const std::uint8_t* data, std::size_t size, int width, int height, int bytesPerLine,
                    DibFrame& frame);
