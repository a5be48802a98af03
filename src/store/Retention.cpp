#include "store/Retention.h"

#include "store/DetectionStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

std::optional<std::int64_t> SystemFreeBytes(const QString& folder)
{
    const QStorageInfo disk(folder);
    if (!disk.isValid() || !disk.isReady())
        return std::nullopt;
    return disk.bytesAvailable();
}

QString DiskName(const QString& folder)
{
    const QStorageInfo disk(folder);
    if (!disk.isValid())
        return QDir::toNativeSeparators(folder);
    return QStringLiteral("%1 (%2)").arg(QDir::toNativeSeparators(disk.rootPath()),
                                         QString::fromLocal8Bit(disk.device()));
}

QStringList OldestFirst(const QString& imageDirectory, bool withClips)
{
    QString error;
    QStringList paths = ListStoredImages(imageDirectory, &error, withClips);
    for (QString& name : paths)
        name.prepend(imageDirectory);
    return paths;
}

int DeleteOldestPictures(const QString& imageDirectory, int count)
{
    int deleted = 0;
    for (const QString& path : OldestFirst(imageDirectory, false))
    {
        if (deleted >= count)
            break;
        if (QFile::remove(path))
            ++deleted;
    }
    return deleted;
}

std::optional<QString> KeepDiskFloor(const QString& imageDirectory, std::int64_t bytes,
                                     std::int64_t floorBytes, bool makeRoom, const FreeSpaceQuery& freeBytes)
{
    const auto fits = [&]
    {
        const std::optional<std::int64_t> free = freeBytes(imageDirectory);
        // A disk that cannot tell its space is not held up.
        return !free || *free - bytes >= floorBytes;
    };
    if (fits())
        return std::nullopt;
    if (makeRoom)
        for (const QString& path : OldestFirst(imageDirectory, true))
            if (QFile::remove(path) && fits())
                return std::nullopt;
    return QStringLiteral("the disk %1 has less than %2 MB free")
        .arg(DiskName(imageDirectory))
        .arg(floorBytes / (1024 * 1024));
}
