#include "shell/Autostart.h"
#include "ui/AppDirectory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(AutostartTest, TheEntryIsWrittenWithTheProgramAndRemoved)
{
    QTemporaryDir config;
    const QString file = AutostartFile(config.path(), QStringLiteral("/home/someone"));
    EXPECT_EQ(file, config.path() + QStringLiteral("/autostart/org.vantu.Vantu.desktop"));
    EXPECT_EQ(AutostartFile(QStringLiteral("relative"), QStringLiteral("/home/someone")),
              QStringLiteral("/home/someone/.config/autostart/org.vantu.Vantu.desktop"));

    Autostart autostart(file, QStringLiteral("/home/someone/My Vantu/vantu"));
    EXPECT_FALSE(autostart.Enabled());
    QString error;
    ASSERT_TRUE(autostart.Enable(&error)) << error.toStdString();
    EXPECT_TRUE(autostart.Enabled());
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray text = written.readAll();
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(text.contains("\nExec=\"/home/someone/My Vantu/vantu\" --monitor --hidden\n"))
        << text.constData();
    ASSERT_TRUE(autostart.Disable(&error)) << error.toStdString();
    EXPECT_FALSE(autostart.Enabled());
    EXPECT_TRUE(autostart.Disable(&error)) << "removing what is gone is no failure";
}

TEST(AutostartTest, AnInstalledProgramIsStartedByItsNameAndABuildByItsPath)
{
    QTemporaryDir folder;
    ProgramPlaces places{folder.path(), folder.filePath(QStringLiteral("share/vantu")), {}, {}, {}};
    const QString executable = folder.filePath(QStringLiteral("vantu"));
    EXPECT_EQ(AutostartProgram(places, executable), executable);
    ASSERT_TRUE(QDir().mkpath(places.ResourceFolder));
    EXPECT_EQ(AutostartProgram(places, executable), QStringLiteral("vantu"));
    EXPECT_EQ(ExecArgument(QStringLiteral("/opt/100%/a\"b$")),
              QStringLiteral("\"/opt/100%%/a\\\\\"b\\\\$\""));
}
