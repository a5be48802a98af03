#include "log/LogWriter.h"
#include "common/SettingsRecord.h"
#include "support/Fakes.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace
{
class LogWriterTest : public ::testing::Test
{
protected:
    LogWriterTest()
    {
        settings.WriteLogFile = True;
        settings.LogFile = dir.path() + QStringLiteral("/Vantu.Log");
        settings.LogMaxSize = 1;
    }

    QString LogPath() const { return dir.path() + QStringLiteral("/Vantu.Log"); }

    void WriteLog(const QByteArray& bytes) { ASSERT_TRUE(WriteTestFile(LogPath(), bytes)); }
    QByteArray ReadLog() const { return ReadTestFile(LogPath()); }

    QTemporaryDir dir;
    SettingsRecord settings;
    FakeMessageBox messages;
    int saves = 0;
    LogWriter log{dir.path(), settings, messages, [this] { ++saves; }};
};
} // namespace

TEST_F(LogWriterTest, TheFirstEntryCreatesTheFile)
{
    log.WriteLogEntry(QStringLiteral("Entered Monitor Mode: 12/7/99 3:04:05 PM"));
    log.WriteLogEntry(QStringLiteral("Caf\u00E9"));
    EXPECT_EQ(ReadLog(), QByteArray(">Entered Monitor Mode: 12/7/99 3:04:05 PM\r\n>Caf\xC3\xA9\r\n"));
}

TEST_F(LogWriterTest, NothingIsWrittenWhileLoggingIsOff)
{
    settings.WriteLogFile = False;
    log.WriteLogEntry(QStringLiteral("x"));
    EXPECT_FALSE(QFile::exists(LogPath()));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(LogWriterTest, TheSizeLimitIsTestedBeforeTheEntryIsAdded)
{
    struct Case
    {
        std::int32_t limit;
        qsizetype existing; // bytes already in the file; -1 for no file
        bool written;
    };
    for (const Case& c : {Case{1, 1024, true}, Case{1, 1025, false}, Case{2, 2048, true},
                          Case{2, 2049, false}, Case{0, 0, true}, Case{0, 1, false}, Case{0, 2, false},
                          Case{-1, 0, false}, Case{-1, -1, true}, Case{0, -1, true}})
    {
        SCOPED_TRACE(testing::Message() << "limit " << c.limit << ", file of " << c.existing);
        QFile::remove(LogPath());
        if (c.existing >= 0)
            WriteLog(QByteArray(c.existing, 'x'));
        settings.LogMaxSize = c.limit;
        log.WriteLogEntry(QStringLiteral("entry"));
        const QByteArray expected =
            QByteArray(std::max<qsizetype>(c.existing, 0), 'x') + (c.written ? ">entry\r\n" : "");
        EXPECT_EQ(ReadLog(), expected);
    }
    EXPECT_TRUE(messages.shown.empty()) << "a full log asks nothing of the user";
    EXPECT_EQ(saves, 0);
}

TEST_F(LogWriterTest, EntriesAlwaysGoToTheApplicationFolderLog)
{
    settings.LogFile = dir.path() + QStringLiteral("/elsewhere.txt");
    log.WriteLogEntry(QStringLiteral("x"));
    EXPECT_EQ(ReadLog(), QByteArray(">x\r\n"));
    EXPECT_FALSE(QFile::exists(settings.LogFile));
}

TEST_F(LogWriterTest, AMissingFileNameSwitchesLoggingOffOnceAndSaves)
{
    settings.LogFile.clear();
    log.WriteLogEntry(QStringLiteral("x"));
    log.WriteLogEntry(QStringLiteral("y"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].Prompt,
              QStringLiteral("Warning!  Tried to add log entry and no long file is known.  "
                             "Please correct problem and restart logging."));
    EXPECT_EQ(messages.shown[0].Title, QStringLiteral("Logging Error"));
    EXPECT_EQ(messages.shown[0].Style, MsgBoxStyle::OkOnly);
    EXPECT_EQ(settings.WriteLogFile, False);
    EXPECT_EQ(saves, 1);
    EXPECT_FALSE(QFile::exists(LogPath()));
}

TEST_F(LogWriterTest, AFileThatCannotBeAppendedToIsReportedOnceAndTheProgramGoesOn)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Vantu.Log")));
    settings.LogMaxSize = 1000; // the folder's own size must not stop the attempt
    log.WriteLogEntry(QStringLiteral("x"));
    log.WriteLogEntry(QStringLiteral("y"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].Prompt.contains(QStringLiteral("could not add to its log file")));
    EXPECT_EQ(settings.WriteLogFile, True) << "logging stays on, so it resumes once the file can be written";
}

TEST_F(LogWriterTest, AnAppendThatFailsPartWayLeavesOnlyWholeLinesAndIsToldOnce)
{
    WriteLog(">Old\r\n");
    QStringList notices;
    log.SetFailureNotice([&notices](const QString& text) { notices << text; });
    settings.LogMaxSize = 1000;
    // A file size limit just past the old line stands in for a disk that fills in mid-line.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit tight = saved;
    tight.rlim_cur = 10;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
    log.WriteLogEntry(QStringLiteral("Entered Monitor Mode"));
    log.WriteLogEntry(QStringLiteral("Detection"));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(ReadLog(), QByteArray(">Old\r\n"));
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0].contains(QStringLiteral("File too large")));

    log.WriteLogEntry(QStringLiteral("Back"));
    EXPECT_EQ(ReadLog(), QByteArray(">Old\r\n>Back\r\n"));
}

TEST_F(LogWriterTest, TheFirstEntryDroppedByAFullLogIsToldOnceWithTheLimit)
{
    QStringList notices;
    log.SetFailureNotice([&notices](const QString& text) { notices << text; });
    settings.LogMaxSize = 2;
    WriteLog(QByteArray(2048, 'x'));
    log.WriteLogEntry(QStringLiteral("last that fits"));
    EXPECT_TRUE(notices.isEmpty());
    log.WriteLogEntry(QStringLiteral("dropped"));
    log.WriteLogEntry(QStringLiteral("dropped too"));
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0].contains(QStringLiteral("Max Size 2 KB")));
    EXPECT_TRUE(notices[0].contains(QStringLiteral("Log File tab of View, Preferences")));
    EXPECT_TRUE(messages.shown.empty());
}
