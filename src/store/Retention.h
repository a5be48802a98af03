#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>

// The bytes free for the program on the disk that holds a folder; empty when it cannot be told.
using FreeSpaceQuery = std::function<std::optional<std::int64_t>(const QString& folder)>;

// The free space the file system reports for folder.
std::optional<std::int64_t> SystemFreeBytes(const QString& folder);

// The disk that holds folder in words a user knows: where it is mounted, and its device.
QString DiskName(const QString& folder);

// The paths of the stored pictures, and with clips the event clips too, in imageDirectory (which ends
// with a separator), the oldest first by the time they were last written.
QStringList OldestFirst(const QString& imageDirectory, bool withClips);

// Deletes the count oldest stored pictures in imageDirectory; the number deleted.
int DeleteOldestPictures(const QString& imageDirectory, int count);

// Keeps floorBytes free on the disk of imageDirectory while bytes more are written there. With
// makeRoom, the oldest pictures and clips are deleted, one at a time, until the bytes fit. Empty when
// they fit; otherwise the reason, naming the disk.
std::optional<QString> KeepDiskFloor(const QString& imageDirectory, std::int64_t bytes,
                                     std::int64_t floorBytes, bool makeRoom, const FreeSpaceQuery& freeBytes);
