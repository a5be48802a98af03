#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <chrono>
#include <optional>

// What the start of a WAV file says about its sound.
struct WavHeader
{
    // The sample format: 1 for integer PCM, 3 for floating point; for an extensible file, that of
    // its sub-format.
    quint16 Format = 0;
    quint16 Channels = 0;
    quint16 BitsPerSample = 0;
    quint32 ByteRate = 0;
    // How long the sound plays.
    std::chrono::milliseconds Duration{0};
};

// The header read from the start of a WAV file (its RIFF header, "fmt " and "data" chunk headers) and
// the file's size; empty when the bytes are not a readable WAV header.
std::optional<WavHeader> ReadWavHeader(const QByteArray& head, qint64 fileSize);

// How long a WAV file plays; empty when the bytes are not a readable WAV header.
std::optional<std::chrono::milliseconds> WavDuration(const QByteArray& head, qint64 fileSize);

// Whether the desktop's sound service plays a sound of this form: integer PCM of 8, 16 or 32 bits, or
// 32-bit floating point.
bool WavPlayable(const WavHeader& header);
