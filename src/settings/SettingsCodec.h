#pragma once

#include "common/SettingsRecord.h"

#include <QByteArray>
#include <limits>

// The settings file holds one record with no header: the eighteen fields in order, numbers
// little-endian, each text as a 16-bit length and its bytes.
QByteArray EncodeSettings(const SettingsRecord& record);

// The largest record: six flags, a double, two 32-bit numbers and nine texts of 65535 bytes.
constexpr qsizetype MaxSettingsSize = 6 * 2 + 8 + 2 * 4 + 9 * (2 + std::numeric_limits<std::uint16_t>::max());

// Reads one record from the start of the bytes over the values of start. A field is read only when
// the bytes hold it in full: from the first field cut short on, every field keeps its value in start.
// A text that holds control characters other than NUL is read as empty, and the fields after it keep
// their values in start too. Bytes after the record are ignored. intact (when given) tells whether
// the bytes held the whole record with sound texts.
SettingsRecord DecodeSettings(const QByteArray& bytes, SettingsRecord start = {}, bool* intact = nullptr);
