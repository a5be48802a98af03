#include "common/ByteSum.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

std::uint64_t ByteSumScalar(const std::uint8_t* data, std::size_t size)
{
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < size; ++i)
        sum += data[i];
    return sum;
}

#if defined(__x86_64__)
namespace
{
// Each version sums whole vectors with the "sum of absolute differences against zero" instruction,
// which adds groups of eight bytes into 64-bit lanes, and leaves the tail to the scalar sum.

std::uint64_t ByteSumSse2(const std::uint8_t* data, std::size_t size)
{
    const __m128i zero = _mm_setzero_si128();
    __m128i a = zero, b = zero;
    std::size_t i = 0;
    for (; i + 32 <= size; i += 32)
    {
        a = _mm_add_epi64(a, _mm_sad_epu8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i)), zero));
        b = _mm_add_epi64(
            b, _mm_sad_epu8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + 16)), zero));
    }
    const __m128i total = _mm_add_epi64(a, b);
    return static_cast<std::uint64_t>(_mm_cvtsi128_si64(total)) +
           static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(total, total))) +
           ByteSumScalar(data + i, size - i);
}

__attribute__((target("avx2"))) std::uint64_t ByteSumAvx2(const std::uint8_t* data, std::size_t size)
{
    const __m256i zero = _mm256_setzero_si256();
    __m256i a = zero, b = zero, c = zero, d = zero;
    std::size_t i = 0;
    for (; i + 128 <= size; i += 128)
    {
        const auto* p = reinterpret_cast<const __m256i*>(data + i);
        a = _mm256_add_epi64(a, _mm256_sad_epu8(_mm256_loadu_si256(p), zero));
        b = _mm256_add_epi64(b, _mm256_sad_epu8(_mm256_loadu_si256(p + 1), zero));
        c = _mm256_add_epi64(c, _mm256_sad_epu8(_mm256_loadu_si256(p + 2), zero));
        d = _mm256_add_epi64(d, _mm256_sad_epu8(_mm256_loadu_si256(p + 3), zero));
    }
    const __m256i total = _mm256_add_epi64(_mm256_add_epi64(a, b), _mm256_add_epi64(c, d));
    const __m128i half = _mm_add_epi64(_mm256_castsi256_si128(total), _mm256_extracti128_si256(total, 1));
    return static_cast<std::uint64_t>(_mm_cvtsi128_si64(half)) +
           static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(half, half))) +
           ByteSumSse2(data + i, size - i);
}

__attribute__((target("avx512f,avx512bw"))) std::uint64_t ByteSumAvx512(const std::uint8_t* data,
                                                                        std::size_t size)
{
    const __m512i zero = _mm512_setzero_si512();
    __m512i a = zero, b = zero, c = zero, d = zero;
    std::size_t i = 0;
    for (; i + 256 <= size; i += 256)
    {
        const std::uint8_t* p = data + i;
        a = _mm512_add_epi64(a, _mm512_sad_epu8(_mm512_loadu_si512(p), zero));
        b = _mm512_add_epi64(b, _mm512_sad_epu8(_mm512_loadu_si512(p + 64), zero));
        c = _mm512_add_epi64(c, _mm512_sad_epu8(_mm512_loadu_si512(p + 128), zero));
        d = _mm512_add_epi64(d, _mm512_sad_epu8(_mm512_loadu_si512(p + 192), zero));
    }
    const __m512i total = _mm512_add_epi64(_mm512_add_epi64(a, b), _mm512_add_epi64(c, d));
    std::uint64_t lanes[8];
    _mm512_storeu_si512(lanes, total);
    std::uint64_t sum = 0;
    for (const std::uint64_t lane : lanes)
        sum += lane;
    return sum + ByteSumAvx2(data + i, size - i);
}

using ByteSumFunction = std::uint64_t (*)(const std::uint8_t*, std::size_t);

struct Choice
{
    ByteSumFunction Function;
    const char* Name;
};

Choice Choose()
{
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512f"))
        return {ByteSumAvx512, "AVX-512"};
    if (__builtin_cpu_supports("avx2"))
        return {ByteSumAvx2, "AVX2"};
    return {ByteSumSse2, "SSE2"};
}

const Choice& Chosen()
{
    static const Choice choice = Choose();
    return choice;
}
} // namespace

std::uint64_t ByteSum(const std::uint8_t* data, std::size_t size)
{
    return Chosen().Function(data, size);
}
const char* ByteSumInstructionSet()
{
    return Chosen().Name;
}

#else

std::uint64_t ByteSum(const std::uint8_t* data, std::size_t size)
{
    return ByteSumScalar(data, size);
}
const char* ByteSumInstructionSet()
{
    return "scalar";
}

#endif
