#pragma once

#include "common/Options.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>

// The name of a stored detection image: "Detection_" N "-" K and the format's extension, ".Bmp",
// ".jpg" or ".png".
QString DetectionImageName(std::int64_t n, int k, PictureFormat format = PictureFormat::Bmp);

// The path of the next detection image in imageDirectory (which ends with a separator): N is
// storedFileCount + 1 and K the smallest counter from 0 up for which no file of that name exists.
// Empty when every counter up to 32767 is taken. exists tells whether a file of a path exists.
std::optional<QString> NextImagePath(const QString& imageDirectory, std::int32_t storedFileCount,
                                     const std::function<bool(const QString&)>& exists,
                                     PictureFormat format = PictureFormat::Bmp);
std::optional<QString> NextImagePath(const QString& imageDirectory, std::int32_t storedFileCount);

// The name patterns of stored images: the extensions of every format the program writes, matched in
// any letter case.
const QStringList& StoredImagePatterns();

// The name pattern of event clips: "Event_" followed by the event's start and ".mkv".
inline const QString ClipNamePattern = QStringLiteral("Event_*.mkv");

// Whether a stored file's name is that of an event clip.
bool IsClipName(const QString& name);

// The names of the stored images in a folder: every file matching a StoredImagePatterns() pattern, and
// with clips the event clips too, in the order they were last written, the newest last; files of the
// same time by name without regard to case. Empty, with error set, when the folder cannot be read.
QStringList ListStoredImages(const QString& imageDirectory, QString* error, bool withClips = false);

// Moves the file at path to the desktop's Trash, from where the user can bring it back. False when no
// Trash takes it: the user's Trash folder cannot be found or made, or the file system refused the move.
bool MoveToTrash(const QString& path);

// Makes folder with the folders above it where they are missing. False, with the reason in plain words,
// when it cannot be made: a file is in the way, or the system refused (no permission, a read-only
// disk).
bool MakeFolder(const QString& folder, QString* error);

// Whether folder exists or could be made, without making anything: the nearest folder above it that
// exists must be a folder the program may write in. False, with the reason in plain words, otherwise.
bool FolderCanBeMade(const QString& folder, QString* error);
