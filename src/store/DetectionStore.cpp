#include "store/DetectionStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

QString DetectionImageName(std::int64_t n, int k, PictureFormat format)
{
    const QString name = QStringLiteral("Detection_%1-%2").arg(n).arg(k);
    switch (format)
    {
    case PictureFormat::Jpeg:
        return name + QStringLiteral(".jpg");
    case PictureFormat::Png:
        return name + QStringLiteral(".png");
    case PictureFormat::Bmp:
        break;
    }
    return name + QStringLiteral(".Bmp");
}

std::optional<QString> NextImagePath(const QString& imageDirectory, std::int32_t storedFileCount,
                                     const std::function<bool(const QString&)>& exists, PictureFormat format)
{
    const std::int64_t n = static_cast<std::int64_t>(storedFileCount) + 1;
    for (int k = 0; k <= 32767; ++k)
    {
        QString path = imageDirectory + DetectionImageName(n, k, format);
        if (!exists(path))
            return path;
    }
    return std::nullopt;
}

std::optional<QString> NextImagePath(const QString& imageDirectory, std::int32_t storedFileCount)
{
    return NextImagePath(imageDirectory, storedFileCount,
                         [](const QString& path) { return QFileInfo::exists(path); });
}

const QStringList& StoredImagePatterns()
{
    static const QStringList patterns{QStringLiteral("*.BMP"), QStringLiteral("*.JPG"),
                                      QStringLiteral("*.PNG")};
    return patterns;
}

bool IsClipName(const QString& name)
{
    return name.startsWith(QStringLiteral("Event_"), Qt::CaseInsensitive) &&
           name.endsWith(QStringLiteral(".mkv"), Qt::CaseInsensitive);
}

QStringList ListStoredImages(const QString& imageDirectory, QString* error, bool withClips)
{
    const QDir folder(imageDirectory);
    if (!folder.exists())
    {
        *error = QStringLiteral("the folder does not exist");
        return {};
    }
    if (!folder.isReadable())
    {
        *error = QStringLiteral("the folder cannot be read");
        return {};
    }
    // In the order the pictures were taken, the newest last; pictures of the same second by name.
    QFileInfoList files = folder.entryInfoList(
        withClips ? StoredImagePatterns() + QStringList{ClipNamePattern} : StoredImagePatterns(), QDir::Files,
        QDir::Unsorted);
    std::sort(files.begin(), files.end(),
              [](const QFileInfo& a, const QFileInfo& b)
              {
                  const QDateTime aTaken = a.lastModified();
                  const QDateTime bTaken = b.lastModified();
                  if (aTaken != bTaken)
                      return aTaken < bTaken;
                  return QString::compare(a.fileName(), b.fileName(), Qt::CaseInsensitive) < 0;
              });
    QStringList names;
    names.reserve(files.size());
    for (const QFileInfo& file : files)
        names << file.fileName();
    return names;
}

bool MoveToTrash(const QString& path)
{
    // The user's Trash folder must be there, or be made here, before the file is handed to Qt: where
    // no Trash can be found, Qt would put the file into the working folder instead.
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataFolder.isEmpty())
        return false;
    const QString trash = dataFolder + QStringLiteral("/Trash");
    const QByteArray name = QFile::encodeName(trash);
    // A new account may not have its data folder yet: it is made, and the Trash in it for the user alone.
    QString error;
    if (!QFileInfo(trash).isDir() &&
        (!MakeFolder(dataFolder, &error) || ::mkdir(name.constData(), 0700) != 0))
        return false;
    return QFile::moveToTrash(path);
}

bool MakeFolder(const QString& folder, QString* error)
{
    const QString path = QDir::cleanPath(QDir(folder).absolutePath());
    QString made;
    for (const QString& part : path.split(QChar('/'), Qt::SkipEmptyParts))
    {
        made += QChar('/') + part;
        const QByteArray name = QFile::encodeName(made);
        struct stat found
        {
        };
        if (::stat(name.constData(), &found) == 0)
        {
            if (S_ISDIR(found.st_mode))
                continue;
            *error = QStringLiteral("%1 is a file, not a folder").arg(QDir::toNativeSeparators(made));
            return false;
        }
        if (::mkdir(name.constData(), 0777) != 0 && errno != EEXIST)
        {
            *error = QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
    }
    return true;
}

bool FolderCanBeMade(const QString& folder, QString* error)
{
    QString path = QDir::cleanPath(QDir(folder).absolutePath());
    bool missing = false;
    for (;;)
    {
        const QByteArray name = QFile::encodeName(path);
        struct stat found
        {
        };
        if (::stat(name.constData(), &found) == 0)
        {
            if (!S_ISDIR(found.st_mode))
            {
                *error = QStringLiteral("%1 is a file, not a folder").arg(QDir::toNativeSeparators(path));
                return false;
            }
            if (missing && ::access(name.constData(), W_OK | X_OK) != 0)
            {
                *error = QString::fromLocal8Bit(std::strerror(errno));
                return false;
            }
            return true;
        }
        missing = true;
        path = QFileInfo(path).path();
    }
}
