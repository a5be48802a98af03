#pragma once

#include "capture/DibFrame.h"

#include <QByteArray>
#include <QString>

// The 54 bytes in front of the pixel rows of a .Bmp file: file header and bitmap info header.
QByteArray DibFileHeader(const DibFrame& frame);

// Writes the frame as a .Bmp file that image viewers open. Returns false, with a plain description
// in error and no file left behind, when the file could not be written completely.
bool WriteDibFile(const QString& path, const DibFrame& frame, QString* error);
