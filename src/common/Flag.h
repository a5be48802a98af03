#pragma once

#include <cstdint>

// The program's booleans are 16-bit integers: True is -1, False is 0, and any non-zero value counts
// as True. Keeping the raw value lets a stored flag go back to the file exactly as it was read.
using Flag = std::int16_t;

constexpr Flag True = -1;
constexpr Flag False = 0;

constexpr bool IsTrue(Flag value)
{
    return value != 0;
}
constexpr Flag ToFlag(bool value)
{
    return value ? True : False;
}
