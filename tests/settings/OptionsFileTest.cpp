#include "common/OptionsFile.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

TEST(OptionsFileTest, AMissingFileGivesTheClassicBehaviourAndIsNotWrittenUntilAnOptionChanges)
{
    QTemporaryDir dir;
    OptionsFile file(dir.filePath(QStringLiteral("Vantu.Options")));
    EXPECT_EQ(file.Current(), ProgramOptions{});
    EXPECT_TRUE(file.TakeProblems().isEmpty());
    EXPECT_FALSE(QFile::exists(file.Path()));
}

TEST(OptionsFileTest, BadValuesFallBackToTheirDefaultsAndAreToldOnce)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Vantu.Options"));
    WriteTestFile(path, "detect/method = pixels\n"
                        "detect/mask=Mask.png\n"
                        "store/format=gif\n"
                        "store/jpeg-quality=101\n"
                        "events/gap-seconds=4\n"
                        "notify/webhook=ftp://example.org/\n");
    OptionsFile file(path);
    EXPECT_EQ(file.Current().Method, DetectMethod::Pixels);
    EXPECT_EQ(file.Current().EventGapSeconds, 4);
    EXPECT_EQ(file.Current().MaskPath, dir.filePath(QStringLiteral("Mask.png"))) << "beside the options";
    EXPECT_EQ(file.Current().Format, PictureFormat::Bmp);
    EXPECT_EQ(file.Current().JpegQuality, 85);
    EXPECT_TRUE(file.Current().Webhook.isEmpty());
    const QStringList problems = file.TakeProblems();
    ASSERT_EQ(problems.size(), 3);
    EXPECT_EQ(problems[0],
              QStringLiteral("Vantu.Options: \"gif\" is no value of store/format, which takes bmp, jpeg, "
                             "png; the default \"bmp\" is used instead."));
    EXPECT_TRUE(file.TakeProblems().isEmpty());
}

TEST(OptionsFileTest, SavingKeepsUnknownKeysAndReadsBackTheSame)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Vantu.Options"));
    WriteTestFile(path, "# mine\nlater/feature=yes\n");
    OptionsFile file(path);
    ProgramOptions changed;
    changed.Method = DetectMethod::Pixels;
    changed.Format = PictureFormat::Jpeg;
    changed.Schedule = QStringLiteral("mon-fri 08:00-18:00");
    changed.Webhook = QStringLiteral("https://push.example.org/topic");
    QString error;
    ASSERT_TRUE(file.Save(changed, &error)) << error.toStdString();
    const QByteArray text = ReadAll(path);
    EXPECT_TRUE(text.contains("later/feature=yes\n"));
    EXPECT_TRUE(text.contains("store/format=jpeg\n"));
    OptionsFile again(path);
    EXPECT_EQ(again.Current(), changed);
    EXPECT_TRUE(again.TakeProblems().isEmpty());
}

TEST(OptionsFileTest, TheUnattendedKeysAreCheckedAsTheyAreRead)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Vantu.Options"));
    WriteTestFile(path, "monitor/schedule=mon-fri 08:00-18:00; 22:00-06:00\n"
                        "notify/desktop=off\n"
                        "notify/webhook=https://ntfy.example.org/topic\n"
                        "notify/webhook-token=tk_123\n");
    OptionsFile file(path);
    EXPECT_EQ(file.Current().Schedule, QStringLiteral("mon-fri 08:00-18:00; 22:00-06:00"));
    EXPECT_FALSE(file.Current().DesktopNotify);
    EXPECT_EQ(file.Current().WebhookToken, QStringLiteral("tk_123"));
    EXPECT_TRUE(ProgramOptions{}.DesktopNotify);

    WriteTestFile(path, "monitor/schedule=weekdays 9-5\n");
    OptionsFile bad(path);
    EXPECT_TRUE(bad.Current().Schedule.isEmpty());
    EXPECT_EQ(bad.TakeProblems().size(), 1);
}
