#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <sys/types.h>
#include <unordered_set>

// Whether a file name in the image folder names a stored image: it ends with ".bmp", ".jpg" or ".png"
// in any letter case and is not hidden (does not start with a dot), as a listing of the folder sees it.
bool IsStoredImageName(const char* name);

// The number of stored images in the image folder, kept up to date from the folder's change notices
// instead of listing the folder on every refresh. The folder is listed the first time, when the path
// leads to another folder than before, and when the notices were lost; files added or removed by the
// program or by anyone else are taken from the notices. The count always equals what a fresh listing
// (ListStoredImages) gives. Without change notices (a network file system, or the system's limit of
// watches reached) every call lists.
class StoredImageTally
{
public:
    StoredImageTally() = default;
    ~StoredImageTally();
    StoredImageTally(const StoredImageTally&) = delete;
    StoredImageTally& operator=(const StoredImageTally&) = delete;

    // The number of stored images in imageDirectory now; -1, with the reason in error, when the
    // folder does not exist or cannot be read.
    std::int32_t Count(const QString& imageDirectory, QString* error);

private:
    bool List(const std::string& directory, QString* error);
    // Applies the notices that arrived since the last call; false when they must be read afresh.
    bool ApplyNotices();
    // Adds or removes name after looking at the file itself.
    void Look(const std::string& name);
    void Forget();

    int notices_ = -1;
    int watch_ = -1;
    std::string directory_;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    // The names that count, and those among them that are links: a link's target can change or
    // vanish without a notice in this folder, so a folder with links is listed on every call.
    std::unordered_set<std::string> names_;
    std::unordered_set<std::string> links_;
    bool listed_ = false;
};
