#include "settings/SettingsFile.h"
#include "settings/SettingsCodec.h"
#include "support/Fakes.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <random>
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

TEST_F(SettingsFileTest, AFileThatIsNotASettingsFileIsReadWithoutBlockingAndKeptAsBackupAtTheSave)
{
    const struct
    {
        const char* what;
        std::function<bool(const QString&)> make;
    } cases[] = {
        {"folder", [](const QString& path) { return QDir().mkdir(path); }},
        {"FIFO",
         [](const QString& path) { return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0; }},
        {"link to an endless device", [](const QString& path) { return QFile::link("/dev/zero", path); }},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        QTemporaryDir folder;
        FakeMessageBox boxes;
        SettingsFile file(folder.path(), boxes);
        const QString path = folder.filePath(QStringLiteral("Vantu.Dat"));
        ASSERT_TRUE(c.make(path));
        SettingsRecord s;
        file.LoadSettings(s);
        EXPECT_EQ(s.SettingsLoaded, False);
        EXPECT_EQ(s.MaxFiles, 20);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_TRUE(boxes.shown[0].Prompt.contains(QStringLiteral("could not read")));
        EXPECT_TRUE(boxes.shown[0].Prompt.contains(path + QStringLiteral(".bak")));

        s.MaxFiles = 7;
        file.SaveSettings(s);
        file.SaveSettings(s);
        EXPECT_TRUE(QFileInfo::exists(path + QStringLiteral(".bak")) ||
                    QFileInfo(path + QStringLiteral(".bak")).isSymLink());
        EXPECT_EQ(DecodeSettings(ReadTestFile(path)).MaxFiles, 7);
        EXPECT_EQ(boxes.shown.size(), 1u);
    }
}

TEST_F(SettingsFileTest, AnUnreadableFileThatCannotBeKeptIsNeverReplaced)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(DatPath()).constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkpath(DatPath() + QStringLiteral(".bak/inside"))); // the backup's place is taken
    SettingsRecord s = Load();
    settingsFile.SaveSettings(s);
    settingsFile.SaveSettings(s);
    ASSERT_EQ(messages.shown.size(), 2u) << "the load's box and one refusal";
    EXPECT_TRUE(messages.shown[1].Prompt.contains(QStringLiteral("did not save")));
    struct stat info
    {
    };
    ASSERT_EQ(::lstat(QFile::encodeName(DatPath()).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST_F(SettingsFileTest, AnEmptyFileCountsAsMissingAndAShortOneIsReadAsFarAsItGoes)
{
    WriteDat({});
    SettingsRecord s = Load();
    EXPECT_EQ(s.SaveImage, True) << "the first start's values";
    EXPECT_EQ(s.SoundNotify, True);
    EXPECT_EQ(s.SettingsLoaded, False);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].Prompt.contains(QStringLiteral("is empty")));

    SettingsRecord stored;
    stored.MaxFiles = 9;
    stored.ImageDirectory = QStringLiteral("/pictures");
    WriteDat(EncodeSettings(stored).left(31)); // up to the image folder
    s = Load();
    EXPECT_EQ(s.MaxFiles, 9);
    EXPECT_EQ(s.SaveImage, True) << "the file does not reach it: the first start's value";
    EXPECT_EQ(s.ImageDirectory, QStringLiteral("/pictures/")) << "the image folder ends with a separator";
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_TRUE(messages.shown[1].Prompt.contains(QStringLiteral("incomplete")));
}

TEST_F(SettingsFileTest, RandomBytesGiveTheDefaultsAndAreKeptAsBackupAtTheFirstSave)
{
    std::mt19937 random(300);
    for (int round = 0; round < 20; ++round)
    {
        SCOPED_TRACE(round);
        QByteArray noise(300, '\0');
        std::generate(noise.begin(), noise.end(), [&random] { return static_cast<char>(random() & 0xFF); });
        WriteDat(noise);
        QFile::remove(DatPath() + QStringLiteral(".bak"));
        SettingsFile file(dir.path(), messages);
        SettingsRecord s;
        file.LoadSettings(s);
        EXPECT_EQ(s.SoundNotify, True);
        EXPECT_EQ(s.SaveImage, True);
        EXPECT_EQ(s.EmailNotify, False);
        EXPECT_EQ(s.MaxFiles, 20);
        EXPECT_EQ(s.ImageDirectory, dir.path() + "/Detections/");
        EXPECT_EQ(s.LogFile, dir.path() + "/Vantu.Log");
        for (const QString& text :
             {s.Reserved1, s.EmailAddress, s.POPServer, s.POPUser, s.POPPassword, s.DeviceName})
            EXPECT_TRUE(text.isEmpty()) << text.toStdString();
        ASSERT_FALSE(messages.shown.empty());
        EXPECT_TRUE(messages.shown.back().Prompt.contains(DatPath() + QStringLiteral(".bak")));

        file.SaveSettings(s);
        EXPECT_EQ(ReadTestFile(DatPath() + QStringLiteral(".bak")), noise);
        EXPECT_EQ(ReadDat(), EncodeSettings(s));
    }
}

TEST_F(SettingsFileTest, NoMoreThanTheLargestRecordIsRead)
{
    SettingsRecord stored;
    stored.MaxFiles = 5;
    WriteDat(EncodeSettings(stored) + QByteArray(MaxSettingsSize * 4, 'x'));
    EXPECT_EQ(Load().MaxFiles, 5);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SettingsFileTest, ASaveRemovesLeftoverTemporaryFilesAndKeepsASymbolicLink)
{
    const QString real = dir.filePath(QStringLiteral("kept/settings.bin"));
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("kept"))));
    ASSERT_TRUE(QFile::link(real, DatPath()));
    for (const char* name : {"settings.bin.Ab12Cd", "settings.bin.bak", "settings.bin.toolong7"})
        ASSERT_TRUE(WriteTestFile(dir.filePath(QStringLiteral("kept/")) + QLatin1String(name), "old"));

    SettingsRecord s;
    s.MaxFiles = 3;
    settingsFile.SaveSettings(s);
    EXPECT_TRUE(QFileInfo(DatPath()).isSymLink());
    EXPECT_EQ(DecodeSettings(ReadTestFile(real)).MaxFiles, 3);
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("kept"))).entryList(QDir::Files, QDir::Name),
              (QStringList{"settings.bin", "settings.bin.bak", "settings.bin.toolong7"}));
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
