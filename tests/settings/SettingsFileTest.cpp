#include "settings/SettingsFile.h"
#include "settings/SettingsCodec.h"
#include "support/Fakes.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <limits>
#include <sys/stat.h>

namespace
{
class SettingsFileTest : public ::testing::Test
{
protected:
    QString DatPath() const { return dir.path() + QStringLiteral("/Vantu.Dat"); }

    void WriteDat(const QByteArray& bytes) { ASSERT_TRUE(WriteTestFile(DatPath(), bytes)); }
    QByteArray ReadDat() const { return ReadTestFile(DatPath()); }

    SettingsRecord Load()
    {
        SettingsRecord settings;
        settingsFile.LoadSettings(settings);
        return settings;
    }

    QTemporaryDir dir;
    FakeMessageBox messages;
    SettingsFile settingsFile{dir.path(), messages};
};
} // namespace

TEST_F(SettingsFileTest, FirstStartUsesTheDefaults)
{
    const SettingsRecord s = Load();
    EXPECT_EQ(s.SoundNotify, True);
    EXPECT_EQ(s.SaveImage, True);
    EXPECT_EQ(s.EmailNotify, False);
    EXPECT_EQ(s.AutoConnect, False);
    EXPECT_EQ(s.WriteLogFile, False);
    EXPECT_EQ(s.SettingsLoaded, False);
    EXPECT_EQ(s.MaxFiles, 20);
    EXPECT_EQ(s.LogMaxSize, 1);
    EXPECT_EQ(s.Sensitivity, 2.0);
    EXPECT_EQ(s.NotifyFile, dir.path() + "/Notify.Wav");
    EXPECT_EQ(s.ImageDirectory, dir.path() + "/Detections/");
    EXPECT_EQ(s.LogFile, dir.path() + "/Vantu.Log");
    EXPECT_FALSE(QFileInfo::exists(DatPath())) << "no file is created until the first save";
    EXPECT_TRUE(messages.shown.empty());

    settingsFile.SaveSettings(s);
    EXPECT_EQ(ReadDat().mid(4, 2), QByteArray(2, '\0')) << "SettingsLoaded is saved as False";
}

TEST_F(SettingsFileTest, AFileOfZeroBytesSwitchesFlagsOffAndGetsDefaultsForEmptyValues)
{
    WriteDat(QByteArray(46, '\0'));
    const SettingsRecord s = Load();
    EXPECT_EQ(s.SoundNotify, False);
    EXPECT_EQ(s.SaveImage, False);
    EXPECT_EQ(s.SettingsLoaded, True);
    EXPECT_EQ(s.MaxFiles, 20);
    EXPECT_EQ(s.LogMaxSize, 1);
    EXPECT_EQ(s.Sensitivity, 2.0);
    EXPECT_EQ(s.ImageDirectory, dir.path() + "/Detections/");
    EXPECT_EQ(s.NotifyFile, dir.path() + "/Notify.Wav");
    EXPECT_EQ(s.LogFile, dir.path() + "/Vantu.Log");
}

TEST_F(SettingsFileTest, StoredValuesAreUsedAsRead)
{
    struct Case
    {
        std::int32_t maxFiles;
        std::int32_t logMaxSize;
        double sensitivity;
        std::int32_t expectedMaxFiles;
        std::int32_t expectedLogMaxSize;
        double expectedSensitivity;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const Case& c : {Case{-5, 0, 0.5, -5, 1, 0.5}, Case{0, -3, -0.0, 20, -3, 2.0},
                          Case{7, 99999, nan, 7, 99999, 2.0}, Case{1, 1, -1.5, 1, 1, -1.5}})
    {
        SettingsRecord stored;
        stored.MaxFiles = c.maxFiles;
        stored.LogMaxSize = c.logMaxSize;
        stored.Sensitivity = c.sensitivity;
        stored.ImageDirectory = QStringLiteral("/no/such/folder/");
        WriteDat(EncodeSettings(stored));
        const SettingsRecord s = Load();
        EXPECT_EQ(s.MaxFiles, c.expectedMaxFiles);
        EXPECT_EQ(s.LogMaxSize, c.expectedLogMaxSize);
        EXPECT_EQ(s.Sensitivity, c.expectedSensitivity);
        EXPECT_EQ(s.ImageDirectory, QStringLiteral("/no/such/folder/")) << "paths are not checked";
    }
}

TEST_F(SettingsFileTest, SaveThenLoadGivesEveryValueBack)
{
    SettingsRecord s;
    s.AutoConnect = True;
    s.Reserved1 = QStringLiteral("kept");
    s.Sensitivity = 1.25;
    s.MaxFiles = 300;
    s.SoundNotify = False;
    s.ImageDirectory = QStringLiteral("/srv/cam/");
    s.NotifyFile = QStringLiteral("/srv/ding.wav");
    s.SaveImage = False;
    s.EmailNotify = True;
    s.EmailAddress = QStringLiteral("me@example.org");
    s.POPServer = QStringLiteral("mail.example.org");
    s.POPUser = QStringLiteral("me");
    s.POPPassword = QStringLiteral("s\u00E9cret");
    s.DeviceName = QStringLiteral("Camera") + QString(94, QChar(0));
    s.LogFile = QStringLiteral("/srv/cam.log");
    s.WriteLogFile = True;
    s.LogMaxSize = 64;
    settingsFile.SaveSettings(s);

    SettingsRecord expected = s;
    expected.SettingsLoaded = True;
    EXPECT_EQ(Load(), expected);
}

TEST_F(SettingsFileTest, ASaveReplacesTheWholeFileReadableByItsOwnerOnly)
{
    SettingsRecord longer;
    longer.EmailAddress = QStringLiteral("a.very.long.address@example.org");
    settingsFile.SaveSettings(longer);
    SettingsRecord shorter;
    shorter.EmailAddress = QStringLiteral("me@x.org");
    settingsFile.SaveSettings(shorter);

    EXPECT_EQ(ReadDat(), EncodeSettings(shorter)) << "no bytes of the longer record are left behind";
    struct stat info
    {
    };
    ASSERT_EQ(::stat(QFile::encodeName(DatPath()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Vantu.Dat")})
        << "no temporary file is left";
}

TEST_F(SettingsFileTest, AFileThatCannotBeReadKeepsTheDefaultsAndSaysSo)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Vantu.Dat"))); // a folder cannot be read as a file
    const SettingsRecord s = Load();
    EXPECT_EQ(s.SettingsLoaded, False);
    EXPECT_EQ(s.MaxFiles, 20);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].Prompt.contains(QStringLiteral("could not read")));
}

TEST_F(SettingsFileTest, AFailedSaveIsReportedOnceAndLeavesTheOldFile)
{
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Vantu.Dat/inside"))); // a folder cannot be replaced
    settingsFile.SaveSettings(SettingsRecord{});
    settingsFile.SaveSettings(SettingsRecord{});
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].Prompt.contains(QStringLiteral("could not save")));
    EXPECT_TRUE(QFileInfo(DatPath()).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{}) << "no temporary file is left";

    SettingsFile missingFolder(dir.path() + QStringLiteral("/gone"), messages);
    missingFolder.SaveSettings(SettingsRecord{});
    EXPECT_EQ(messages.shown.size(), 2u);
}
