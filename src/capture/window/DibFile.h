#pragma once

#include "capture/driver/DibFrame.h"

#include <QString>

// Writes the frame as a .Bmp file that image viewers open. Returns false, with a plain description
// in error and no file left behind, when the file could not be written completely.
bool WriteDibFile(const QString& path, const DibFrame& frame, QString* error);
