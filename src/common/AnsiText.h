#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Texts in the program's files are 8-bit bytes in UTF-8. Bytes that are not valid UTF-8 (a file
// written on Windows) are read as Windows-1252, so that no character is lost.
QString DecodeAnsi(QByteArrayView bytes);
QByteArray EncodeAnsi(const QString& text);
