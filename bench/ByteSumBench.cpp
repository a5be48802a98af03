// Measures the byte sum against a plain streaming read of the same frame buffer, in the same run.
// Prints, for each frame size: the size, the byte sum's speed in GB/s, and its ratio to the
// streaming read (the goal is 0.9 or more).

#include "common/ByteSum.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace
{
// The plain streaming read: the widest vector loads the processor has, folded with OR so that no
// load can be left out by the compiler.
#if defined(__x86_64__)
__attribute__((target("avx512f"))) std::uint64_t ReadAvx512(const std::uint8_t* data, std::size_t size)
{
    __m512i a = _mm512_setzero_si512(), b = a, c = a, d = a;
    std::size_t i = 0;
    for (; i + 256 <= size; i += 256)
    {
        a = _mm512_or_si512(a, _mm512_loadu_si512(data + i));
        b = _mm512_or_si512(b, _mm512_loadu_si512(data + i + 64));
        c = _mm512_or_si512(c, _mm512_loadu_si512(data + i + 128));
        d = _mm512_or_si512(d, _mm512_loadu_si512(data + i + 192));
    }
    std::uint64_t lanes[8];
    _mm512_storeu_si512(lanes, _mm512_or_si512(_mm512_or_si512(a, b), _mm512_or_si512(c, d)));
    std::uint64_t result = 0;
    for (const std::uint64_t lane : lanes)
        result |= lane;
    for (; i < size; ++i)
        result |= data[i];
    return result;
}

__attribute__((target("avx2"))) std::uint64_t ReadAvx2(const std::uint8_t* data, std::size_t size)
{
    __m256i a = _mm256_setzero_si256(), b = a, c = a, d = a;
    std::size_t i = 0;
    for (; i + 128 <= size; i += 128)
    {
        const auto* p = reinterpret_cast<const __m256i*>(data + i);
        a = _mm256_or_si256(a, _mm256_loadu_si256(p));
        b = _mm256_or_si256(b, _mm256_loadu_si256(p + 1));
        c = _mm256_or_si256(c, _mm256_loadu_si256(p + 2));
        d = _mm256_or_si256(d, _mm256_loadu_si256(p + 3));
    }
    std::uint64_t lanes[4];
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(lanes),
                        _mm256_or_si256(_mm256_or_si256(a, b), _mm256_or_si256(c, d)));
    std::uint64_t result = lanes[0] | lanes[1] | lanes[2] | lanes[3];
    for (; i < size; ++i)
        result |= data[i];
    return result;
}
#endif

std::uint64_t StreamingRead(const std::uint8_t* data, std::size_t size)
{
#if defined(__x86_64__)
    if (__builtin_cpu_supports("avx512f"))
        return ReadAvx512(data, size);
    if (__builtin_cpu_supports("avx2"))
        return ReadAvx2(data, size);
#endif
    std::uint64_t result = 0;
    for (std::size_t i = 0; i < size; ++i)
        result |= data[i];
    return result;
}

// Best time of several rounds, each passing over the buffer enough times to take a few milliseconds.
template <typename Pass> double BestSecondsPerPass(Pass pass, int passesPerRound)
{
    double best = 1e9;
    for (int round = 0; round < 15; ++round)
    {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < passesPerRound; ++i)
            pass();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count() / passesPerRound);
    }
    return best;
}
} // namespace

int main()
{
    std::printf("byte sum uses %s\n", ByteSumInstructionSet());
    std::printf("%-10s %14s %14s %8s\n", "frame", "byte sum GB/s", "read GB/s", "ratio");
    for (const auto& [width, height] : {std::pair{640, 480}, std::pair{1920, 1080}})
    {
        const std::size_t size = static_cast<std::size_t>(width) * height * 3;
        std::vector<std::uint8_t> frame(size);
        for (std::size_t i = 0; i < size; ++i)
            frame[i] = static_cast<std::uint8_t>(i * 2654435761u >> 24);

        volatile std::uint64_t sink = 0;
        const int passes = std::max(1, static_cast<int>(400'000'000 / size));
        // Alternate the two measurements so that both see the same machine state.
        double sumSeconds = 1e9;
        double readSeconds = 1e9;
        for (int repeat = 0; repeat < 3; ++repeat)
        {
            sumSeconds = std::min(
                sumSeconds, BestSecondsPerPass([&] { sink = sink + ByteSum(frame.data(), size); }, passes));
            readSeconds = std::min(
                readSeconds,
                BestSecondsPerPass([&] { sink = sink + StreamingRead(frame.data(), size); }, passes));
        }
        const double sumRate = static_cast<double>(size) / sumSeconds / 1e9;
        const double readRate = static_cast<double>(size) / readSeconds / 1e9;
        std::printf("%dx%-6d %14.1f %14.1f %8.2f\n", width, height, sumRate, readRate, sumRate / readRate);
    }
    return 0;
}
