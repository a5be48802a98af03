#include "store/StoredImageTally.h"
#include "store/DetectionStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace
{
void Touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(path);
}
} // namespace

TEST(StoredImageTally, EqualsAFreshListingAfterEveryChangeFromOutside)
{
    const QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/Detections/");
    const auto in = [&](const char* name) { return folder + QLatin1String(name); };
    QDir().mkpath(folder);
    Touch(in("Detection_1-0.Bmp"));
    StoredImageTally tally;
    const struct
    {
        const char* Change;
        std::function<void()> Apply;
    } changes[] = {
        {"none", [] {}},
        {"an image added", [&] { Touch(in("Detection_2-0.Bmp")); }},
        {"a bitmap of another name, in capitals", [&] { Touch(in("HOLIDAY.BMP")); }},
        {"a file of another type", [&] { Touch(in("notes.txt")); }},
        {"a hidden bitmap", [&] { Touch(in(".thumb.bmp")); }},
        {"a folder named like a bitmap", [&] { QDir().mkpath(in("album.bmp")); }},
        {"an image deleted", [&] { QFile::remove(in("Detection_1-0.Bmp")); }},
        {"a file renamed to a bitmap", [&] { QFile::rename(in("notes.txt"), in("notes.bmp")); }},
        {"a bitmap renamed away", [&] { QFile::rename(in("HOLIDAY.BMP"), in("holiday.old")); }},
        {"a JPEG and a PNG picture", [&] { Touch(in("Detection_3-0.jpg")), Touch(in("Detection_4-0.PNG")); }},
        {"a clip, and a picture being written",
         [&] { Touch(in("Event_1.mkv")), Touch(in(".Detection_5-0.jpg")); }},
        {"fifty images at once",
         [&]
         {
             for (int i = 0; i < 50; ++i)
                 Touch(folder + QStringLiteral("Batch_%1.bmp").arg(i));
         }},
        {"an image added and deleted again", [&] { Touch(in("brief.bmp")), QFile::remove(in("brief.bmp")); }},
        {"a link to an image", [&] { QFile::link(in("Detection_2-0.Bmp"), in("link.bmp")); }},
        {"the linked image deleted", [&] { QFile::remove(in("Detection_2-0.Bmp")); }},
        {"the folder replaced by another",
         [&]
         {
             QDir(folder).removeRecursively();
             QDir().mkpath(folder);
             Touch(in("new.bmp"));
         }},
        {"the folder moved away and another put in its place",
         [&]
         {
             QDir().rename(folder, dir.path() + QStringLiteral("/Old"));
             QDir().mkpath(folder);
         }},
    };
    for (const auto& change : changes)
    {
        change.Apply();
        QString listError;
        QString tallyError;
        const qsizetype fresh = ListStoredImages(folder, &listError).size();
        ASSERT_TRUE(listError.isEmpty());
        if (QLatin1String(change.Change) == QLatin1String("a clip, and a picture being written"))
        {
            EXPECT_EQ(fresh, 4) << "pictures of every format count, clips and hidden files do not";
        }
        EXPECT_EQ(tally.Count(folder, &tallyError), fresh) << "after " << change.Change;
    }

    QDir(folder).removeRecursively();
    QString error;
    EXPECT_EQ(tally.Count(folder, &error), -1);
    EXPECT_FALSE(error.isEmpty()) << "a folder that is gone says so";
}
