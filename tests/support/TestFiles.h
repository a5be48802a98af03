#pragma once

#include <QByteArray>
#include <QString>

// Writes bytes to path, replacing what was there; whether it worked.
bool WriteTestFile(const QString& path, const QByteArray& bytes);

// The bytes of the file at path; empty when it cannot be read.
QByteArray ReadTestFile(const QString& path);
