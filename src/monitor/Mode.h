#pragma once

#include <cstdint>

// Operating modes. Any other value reaches ChangeMode only through an explicit cast.
enum Mode : std::int16_t
{
    ModeFineTune = 0,
    ModePreview = 1,
    ModeView = 2,
    ModeMonitor = 3
};
