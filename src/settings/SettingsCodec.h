#pragma once

#include "common/SettingsRecord.h"

#include <QByteArray>
#include <limits>

// The settings file holds one record with no header: the eighteen fields in order, numbers
// little-endian, each text as a 16-bit length and its bytes.
QByteArray EncodeSettings(const SettingsRecord& record);

// The largest record: six flags, a double, two 32-bit numbers and nine texts of 65535 bytes.
constexpr qsizetype MaxSettingsSize = 6 * 2 + 8 + 2 * 4 + 9 * (2 + std::numeric_limits<std::uint16_t>::max());

// Reads one record from the start of the bytes. Fields that the bytes don't reach, or reach only in
// part, are zero or empty, except that a text cut short keeps the bytes that are there. Bytes after
// the record are ignored. complete (when given) tells whether the bytes held the whole record.
SettingsRecord DecodeSettings(const QByteArray& bytes, bool* complete = nullptr);
