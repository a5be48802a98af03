#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Writes bytes to path, replacing what was there; whether it worked.
bool WriteTestFile(const QString& path, const QByteArray& bytes);

// The bytes of the file at path; empty when it cannot be read.
QByteArray ReadTestFile(const QString& path);

// A WAV file of 16-bit mono samples at 8000 Hz that lasts the given time; format replaces its sample
// format tag (1, integer PCM).
QByteArray TestWav(int milliseconds, quint16 format = 1);
