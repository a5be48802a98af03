#pragma once

#include <QString>
#include <cstdint>
#include <random>

// The numbers that make each message's part boundary. The generator starts from a fixed seed, so
// every run of the program (and every instance) draws the same sequence.
class BoundaryNumbers
{
public:
    // A whole number from 0 to 99999999999: a fraction in [0, 1) times 1e11, truncated.
    std::int64_t Next();
    // The boundary text: the next number in plain decimal digits followed by "_boundary".
    QString NextBoundary();

private:
    std::mt19937_64 engine_{20011};
};
