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

namespace
{
constexpr int PixelsPerSpread = 4;
constexpr int SpreadBytes = 16;

// Pixels out[0] to out[count - 1] from byte offsets columns[0] to columns[count - 1] of row, one by one.
// Four bytes are read for each pixel while a fourth byte is there to read; the columns grow, so only
// the last few pixels of the last row in memory need single bytes.
void SamplePixels(const std::uint8_t* row, const std::uint8_t* end, const int* columns, int count, QRgb* out)
{
    int i = 0;
    for (; i < count && row + columns[i] + 4 <= end; ++i)
    {
        std::uint32_t pixel = 0;
        std::memcpy(&pixel, row + columns[i], sizeof pixel);
        out[i] = 0xFF000000u | pixel;
    }
    for (; i < count; ++i)
        out[i] = PixelFromBgr(row + columns[i]);
}

#if defined(__x86_64__)
bool HasByteShuffle()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("ssse3");
}

// The pixels of the first groups * 4 columns: each group of four that lies within 16 bytes of the row
// with one load and one shuffle, the others one by one.
__attribute__((target("ssse3"))) void SpreadGroups(const std::uint8_t* row, const std::uint8_t* end,
                                                   const int* columns,
                                                   const std::array<std::int8_t, SpreadBytes>* spreads,
                                                   const std::vector<bool>& spreadable, QRgb* out)
{
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    for (std::size_t g = 0; g < spreadable.size(); ++g, columns += PixelsPerSpread, out += PixelsPerSpread)
    {
        const std::uint8_t* from = row + columns[0];
        if (!spreadable[g] || from + SpreadBytes > end)
        {
            SamplePixels(row, end, columns, PixelsPerSpread, out);
            continue;
        }
        const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const __m128i order = _mm_loadu_si128(reinterpret_cast<const __m128i*>(spreads[g].data()));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_or_si128(_mm_shuffle_epi8(in, order), opaque));
    }
}
#endif
} // namespace

RowSampler::RowSampler(std::vector<int> columns) : columns_(std::move(columns))
{
#if defined(__x86_64__)
    static const bool shuffle = HasByteShuffle();
    if (!shuffle)
        return;
    const std::size_t groups = columns_.size() / PixelsPerSpread;
    spreads_.resize(groups);
    spreadable_.resize(groups);
    bool any = false;
    for (std::size_t g = 0; g < groups; ++g)
    {
        const int* group = columns_.data() + g * PixelsPerSpread;
        spreadable_[g] = group[PixelsPerSpread - 1] + 3 - group[0] <= SpreadBytes;
        any = any || spreadable_[g];
        if (!spreadable_[g])
            continue;
        for (int i = 0; i < PixelsPerSpread; ++i)
        {
            for (int byte = 0; byte < 3; ++byte)
                spreads_[g][static_cast<std::size_t>(4 * i + byte)] =
                    static_cast<std::int8_t>(group[i] - group[0] + byte);
            spreads_[g][static_cast<std::size_t>(4 * i + 3)] = -1; // zero, made opaque afterwards
        }
    }
    // Pixels too far apart for any group (a picture shown at less than about three quarters of its
    // width) go one by one.
    if (!any)
    {
        spreads_.clear();
        spreadable_.clear();
    }
#endif
}

void RowSampler::Sample(const std::uint8_t* row, const std::uint8_t* end, QRgb* out) const
{
    int done = 0;
#if defined(__x86_64__)
    if (!spreadable_.empty())
    {
        SpreadGroups(row, end, columns_.data(), spreads_.data(), spreadable_, out);
        done = static_cast<int>(spreadable_.size()) * PixelsPerSpread;
    }
#endif
    SamplePixels(row, end, columns_.data() + done, Count() - done, out + done);
}

void RowSampler::Prefetch(const std::uint8_t* row) const
{
    if (!columns_.empty())
        PrefetchBytes(row + columns_.front(),
                      static_cast<std::size_t>(columns_.back() + 3 - columns_.front()));
}

void PrefetchBytes(const std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t CacheLine = 64;
    for (std::size_t at = 0; at < size; at += CacheLine)
        __builtin_prefetch(data + at);
}
