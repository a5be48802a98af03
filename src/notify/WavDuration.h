#pragma once

#include <QByteArray>
#include <chrono>
#include <optional>

// How long a WAV file plays, from the start of the file (its RIFF header, "fmt " and "data" chunk
// headers) and the file's size; empty when the bytes are not a readable WAV header.
std::optional<std::chrono::milliseconds> WavDuration(const QByteArray& head, qint64 fileSize);
