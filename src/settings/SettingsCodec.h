#pragma once

#include "common/SettingsRecord.h"

#include <QByteArray>

// The settings file holds one record with no header: the eighteen fields in order, numbers
// little-endian, each text as a 16-bit length and its bytes.
QByteArray EncodeSettings(const SettingsRecord& record);

// Reads one record from the start of the bytes. Fields that the bytes don't reach, or reach only in
// part, are zero or empty, except that a text cut short keeps the bytes that are there. Bytes after
// the record are ignored.
SettingsRecord DecodeSettings(const QByteArray& bytes);
