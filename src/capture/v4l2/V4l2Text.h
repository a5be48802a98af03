#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstring>

// A text field of a V4L2 record: fixed-size and meant to end in NUL, read without trusting that it does.
template <std::size_t Size> QString V4l2Text(const std::uint8_t (&field)[Size])
{
    const auto* text = reinterpret_cast<const char*>(field);
    return QString::fromUtf8(text, static_cast<qsizetype>(strnlen(text, Size))).trimmed();
}

// A pixel format code as its four characters ("YUYV"), trailing blanks left off.
QString FourCcText(std::uint32_t code);
// The code of a text made by FourCcText; 0 for a text that is not one.
std::uint32_t FourCcFromText(const QString& text);
