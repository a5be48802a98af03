#pragma once

#include <cstddef>
#include <cstdint>

// The sum of all bytes of a frame, each taken as a value from 0 to 255. Runs at the speed of memory:
// it picks at run time the widest vector instructions the processor has.
std::uint64_t ByteSum(const std::uint8_t* data, std::size_t size);

// The plain one-byte-at-a-time sum, the reference the vector versions must match.
std::uint64_t ByteSumScalar(const std::uint8_t* data, std::size_t size);

// The name of the instruction set ByteSum uses on this processor.
const char* ByteSumInstructionSet();
