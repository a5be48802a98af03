#include "settings/Volumes.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>

namespace
{
// Mounts that hold the system's own workings or read-only packages rather than a user's files.
bool IsSystemMount(const QStorageInfo& volume)
{
    const QString root = volume.rootPath();
    for (const char* prefix : {"/proc", "/sys", "/dev", "/run", "/snap", "/boot"})
    {
        if (IsInFolder(root, QLatin1String(prefix)) && !IsInFolder(root, QStringLiteral("/run/media")))
            return true;
    }
    const QByteArray type = volume.fileSystemType();
    return type == "squashfs" || type == "devtmpfs" || type == "ramfs";
}
} // namespace

bool IsInFolder(const QString& path, const QString& folder)
{
    if (folder == QStringLiteral("/"))
        return path.startsWith(QChar('/'));
    return path == folder || path.startsWith(folder + QChar('/'));
}

QStringList MountedVolumes()
{
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
    {
        if (volume.isValid() && volume.isReady() && !IsSystemMount(volume))
            roots.append(volume.rootPath());
    }
    return OrderVolumes(roots, QDir::homePath());
}

QStringList OrderVolumes(QStringList roots, const QString& home)
{
    for (QString& root : roots)
        root = QDir::cleanPath(root);
    std::sort(roots.begin(), roots.end());
    roots.removeDuplicates();
    const QString homeVolume = VolumeOf(roots, QDir::cleanPath(home));
    std::stable_partition(roots.begin(), roots.end(),
                          [&](const QString& root) { return root == homeVolume; });
    std::stable_partition(roots.begin(), roots.end(),
                          [](const QString& root) { return root == QStringLiteral("/"); });
    return roots;
}

QString VolumeOf(const QStringList& roots, const QString& path)
{
    QString best;
    for (const QString& root : roots)
    {
        if (IsInFolder(path, root) && root.size() > best.size())
            best = root;
    }
    return best;
}

QString NearestExistingFolder(const QString& path)
{
    QString folder = QDir::cleanPath(path);
    while (!QFileInfo(folder).isDir())
    {
        const QString parent = QFileInfo(folder).path();
        if (parent == folder || parent.isEmpty() || parent == QStringLiteral("."))
            return QStringLiteral("/");
        folder = parent;
    }
    return folder;
}
