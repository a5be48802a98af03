#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file at path with data so that the file is never left damaged or half written: the
// bytes go to a new file in the same folder, reach the disk, and then take the old file's place.
// The new file is readable and writable by its owner only. A symbolic link stays in place and the
// file it leads to is replaced. Temporary files that an interrupted earlier replacement left behind
// are removed. On failure the old file is untouched and error (when given) holds a plain
// description.
bool ReplaceFileContents(const QString& path, const QByteArray& data, QString* error);
