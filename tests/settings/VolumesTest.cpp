#include "settings/Volumes.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

TEST(VolumesTest, TheRootAndTheHomeFoldersVolumeComeFirst)
{
    EXPECT_EQ(OrderVolumes({"/media/usb", "/home", "/", "/data", "/home/"}, "/home/ann"),
              (QStringList{"/", "/home", "/data", "/media/usb"}));
    EXPECT_EQ(OrderVolumes({"/mnt/b", "/mnt/a", "/"}, "/home/ann"), (QStringList{"/", "/mnt/a", "/mnt/b"}));
}

TEST(VolumesTest, APathBelongsToTheDeepestVolumeThatHoldsIt)
{
    const QStringList roots = {"/", "/home", "/home/ann/disk"};
    EXPECT_EQ(VolumeOf(roots, "/home/ann/disk/pictures"), QStringLiteral("/home/ann/disk"));
    EXPECT_EQ(VolumeOf(roots, "/home/ann/diskette"), QStringLiteral("/home"));
    EXPECT_EQ(VolumeOf(roots, "/home"), QStringLiteral("/home"));
    EXPECT_EQ(VolumeOf(roots, "/srv"), QStringLiteral("/"));
    EXPECT_EQ(VolumeOf({"/home"}, "relative/path"), QString());
}
