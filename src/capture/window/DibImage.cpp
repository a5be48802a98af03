#include "capture/window/DibImage.h"

#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace
{
// One 24-bit blue, green, red pixel as a 32-bit pixel.
QRgb PixelFromBgr(const std::uint8_t* bgr)
{
    return 0xFF000000u | (static_cast<QRgb>(bgr[2]) << 16) | (static_cast<QRgb>(bgr[1]) << 8) | bgr[0];
}

void RowToRgb32(const std::uint8_t* bgr, QRgb* out, int width)
{
    for (int x = 0; x < width; ++x, bgr += 3)
        out[x] = PixelFromBgr(bgr);
}

#if defined(__x86_64__)
// Sixteen pixels at a time: four 12-byte groups of blue, green, red spread to four 16-byte groups of
// blue, green, red, 255, which is the memory order of a 32-bit pixel on this processor.
__attribute__((target("ssse3"))) void RowToRgb32Ssse3(const std::uint8_t* bgr, QRgb* out, int width)
{
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    int x = 0;
    // Each load reads 16 bytes for 12 it uses: stop while a whole load still fits in the row.
    for (; x + 16 <= width - 2; x += 16, bgr += 48)
    {
        for (int group = 0; group < 4; ++group)
        {
            const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bgr + 12 * group));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x + 4 * group),
                             _mm_or_si128(_mm_shuffle_epi8(in, spread), opaque));
        }
    }
    RowToRgb32(bgr, out + x, width - x);
}

using RowFunction = void (*)(const std::uint8_t*, QRgb*, int);

RowFunction ChooseRowFunction()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("ssse3") ? RowToRgb32Ssse3 : RowToRgb32;
}
#endif
} // namespace

void DibToImage(const DibFrame& frame, QImage& image)
{
    if (frame.Empty() || frame.Bits.size() < frame.BytesUsed())
    {
        image = QImage();
        return;
    }
    if (image.width() != frame.Width || image.height() != frame.Height ||
        image.format() != QImage::Format_RGB32)
        image = QImage(frame.Width, frame.Height, QImage::Format_RGB32);
    for (int y = 0; y < frame.Height; ++y)
        BgrToRgb32(frame.TopDownRow(y), reinterpret_cast<QRgb*>(image.scanLine(y)), frame.Width);
}

void BgrToRgb32(const std::uint8_t* bgr, QRgb* out, int width)
{
#if defined(__x86_64__)
    static const RowFunction convert = ChooseRowFunction();
#else
    constexpr auto convert = RowToRgb32;
#endif
    convert(bgr, out, width);
}

void SampleBgrToRgb32(const std::uint8_t* bgr, const std::uint8_t* end, const int* columns, QRgb* out,
                      int count)
{
    // Four bytes are read for each pixel while a fourth byte is there to read; the columns grow, so
    // only the last few pixels of the last row in memory need single bytes.
    int i = 0;
    for (; i < count && bgr + columns[i] + 4 <= end; ++i)
    {
        std::uint32_t pixel = 0;
        std::memcpy(&pixel, bgr + columns[i], sizeof pixel);
        out[i] = 0xFF000000u | pixel;
    }
    for (; i < count; ++i)
        out[i] = PixelFromBgr(bgr + columns[i]);
}
