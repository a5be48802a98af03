#include "store/StoredImageTally.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace
{
// Whether every change to a folder on this file system, whoever makes it, is announced to a watch on
// it. Network file systems do not announce changes made by other machines, and /proc and its kind
// none at all: there the folder is listed on every call.
bool AnnouncesEveryChange(const char* directory)
{
    struct statfs system
    {
    };
    if (::statfs(directory, &system) != 0)
        return false;
    switch (static_cast<unsigned long>(system.f_type))
    {
    case 0xEF53:     // ext2, ext3, ext4
    case 0x58465342: // XFS
    case 0x9123683E: // Btrfs
    case 0x01021994: // tmpfs
    case 0xF2F52010: // F2FS
    case 0x2FC12FC1: // ZFS
    case 0x4D44:     // FAT
    case 0x2011BAB0: // exFAT
    case 0x7366746E: // NTFS
        return true;
    default:
        return false;
    }
}
} // namespace

bool IsStoredImageName(const char* name)
{
    const std::size_t length = std::strlen(name);
    if (name[0] == '.' || length <= 4)
        return false;
    const char* extension = name + length - 4;
    return strcasecmp(extension, ".bmp") == 0 || strcasecmp(extension, ".jpg") == 0 ||
           strcasecmp(extension, ".png") == 0;
}

StoredImageTally::~StoredImageTally()
{
    Forget();
}

void StoredImageTally::Forget()
{
    if (notices_ >= 0)
        ::close(notices_);
    notices_ = -1;
    watch_ = -1;
    listed_ = false;
    names_.clear();
    links_.clear();
}

std::int32_t StoredImageTally::Count(const QString& imageDirectory, QString* error)
{
    const std::string directory = QFile::encodeName(imageDirectory).toStdString();
    struct stat folder
    {
    };
    if (::stat(directory.c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode))
    {
        Forget();
        *error = QStringLiteral("the folder does not exist");
        return -1;
    }
    if (::access(directory.c_str(), R_OK) != 0)
    {
        Forget();
        *error = QStringLiteral("the folder cannot be read");
        return -1;
    }
    // The same path may lead to another folder now (renamed, replaced, or a folder above it moved).
    const bool same =
        listed_ && directory == directory_ && folder.st_dev == device_ && folder.st_ino == inode_;
    if (!same || !ApplyNotices() || !links_.empty())
    {
        if (!List(directory, error))
            return -1;
    }
    return static_cast<std::int32_t>(names_.size());
}

bool StoredImageTally::List(const std::string& directory, QString* error)
{
    Forget();
    directory_ = directory;
    // Watched before it is read: a change during the reading is then also in the notices.
    if (AnnouncesEveryChange(directory.c_str()))
        notices_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (notices_ >= 0)
        watch_ = ::inotify_add_watch(notices_, directory.c_str(),
                                     IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF |
                                         IN_MOVE_SELF | IN_ONLYDIR);
    DIR* folder = ::opendir(directory.c_str());
    if (folder == nullptr)
    {
        *error = QStringLiteral("the folder cannot be read (%1)")
                     .arg(QString::fromLocal8Bit(std::strerror(errno)));
        Forget();
        return false;
    }
    while (const dirent* entry = ::readdir(folder))
    {
        if (!IsStoredImageName(entry->d_name))
            continue;
        if (entry->d_type == DT_REG)
            names_.insert(entry->d_name);
        else if (entry->d_type != DT_DIR)
            Look(entry->d_name);
    }
    struct stat read
    {
    };
    const bool known = ::fstat(::dirfd(folder), &read) == 0;
    ::closedir(folder);
    device_ = read.st_dev;
    inode_ = read.st_ino;
    // Without notices the next call lists again.
    listed_ = known && watch_ >= 0;
    return true;
}

bool StoredImageTally::ApplyNotices()
{
    if (watch_ < 0)
        return false;
    alignas(inotify_event) char buffer[16 * 1024];
    for (;;)
    {
        const ssize_t size = ::read(notices_, buffer, sizeof buffer);
        if (size < 0 && errno == EINTR)
            continue;
        if (size < 0)
            return errno == EAGAIN;
        if (size == 0)
            return false;
        for (ssize_t offset = 0; offset < size;)
        {
            const auto* notice = reinterpret_cast<const inotify_event*>(buffer + offset);
            offset += static_cast<ssize_t>(sizeof(inotify_event) + notice->len);
            // Lost notices, or the folder itself gone or moved: only a listing tells what is there.
            if ((notice->mask & (IN_Q_OVERFLOW | IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF)) != 0)
                return false;
            if (notice->len == 0 || !IsStoredImageName(notice->name))
                continue;
            if ((notice->mask & (IN_DELETE | IN_MOVED_FROM)) != 0)
            {
                names_.erase(notice->name);
                links_.erase(notice->name);
            }
            else
                Look(notice->name);
        }
    }
}

void StoredImageTally::Look(const std::string& name)
{
    const std::string path = directory_ + '/' + name;
    struct stat file
    {
    };
    if (::lstat(path.c_str(), &file) != 0)
    {
        names_.erase(name);
        links_.erase(name);
        return;
    }
    if (S_ISLNK(file.st_mode))
        links_.insert(name);
    else
        links_.erase(name);
    // A listing counts regular files, and links that lead to one.
    if (::stat(path.c_str(), &file) == 0 && S_ISREG(file.st_mode))
        names_.insert(name);
    else
        names_.erase(name);
}
