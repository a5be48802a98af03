#include "common/AtomicFile.h"

#include "common/WriteAll.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace
{
QString SystemError(int number)
{
    return QString::fromLocal8Bit(std::strerror(number));
}

// The file a path finally leads to, following symbolic links (which may lead to a file that does not
// exist yet).
QString FinalTarget(const QString& path)
{
    QString target = path;
    for (int hops = 0; hops < 40; ++hops)
    {
        const QFileInfo info(target);
        if (!info.isSymLink())
            break;
        target = info.symLinkTarget();
    }
    return target;
}

// Removes the temporary files "<name>.XXXXXX" that a replacement killed half-way left in the folder.
void RemoveLeftovers(const QString& target)
{
    const QFileInfo info(target);
    const QDir folder = info.absoluteDir();
    const QString prefix = info.fileName() + QChar('.');
    for (const QString& name :
         folder.entryList({prefix + QStringLiteral("??????")}, QDir::Files | QDir::Hidden | QDir::NoSymLinks))
    {
        const QString suffix = name.mid(prefix.size());
        const bool temporary = std::all_of(suffix.begin(), suffix.end(),
                                           [](QChar c) { return c.isLetterOrNumber() && c.unicode() < 128; });
        if (temporary)
            QFile::remove(folder.filePath(name));
    }
}

void SyncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0)
    {
        ::fsync(fd);
        ::close(fd);
    }
}
} // namespace

bool ReplaceFileContents(const QString& path, const QByteArray& data, QString* error)
{
    QString ignored;
    if (error == nullptr)
        error = &ignored;
    const QString finalTarget = FinalTarget(path);
    RemoveLeftovers(finalTarget);
    const QByteArray target = QFile::encodeName(finalTarget);
    QByteArray temp = target + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC); // created with mode 0600
    if (fd < 0)
    {
        *error = SystemError(errno);
        return false;
    }
    int writeError = 0;
    const bool written = WriteAll(fd, data.constData(), data.size(), &writeError) && ::fsync(fd) == 0;
    if (writeError == 0)
        writeError = errno;
    if (::close(fd) != 0 || !written)
    {
        *error = SystemError(written ? errno : writeError);
        ::unlink(temp.constData());
        return false;
    }
    if (::rename(temp.constData(), target.constData()) != 0)
    {
        *error = SystemError(errno);
        ::unlink(temp.constData());
        return false;
    }
    SyncFolder(QFile::encodeName(QFileInfo(finalTarget).absolutePath()));
    return true;
}
