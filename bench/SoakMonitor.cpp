// Monitors the test scene at 60 frames a second for a long time, with the file limit and the log's
// size limit both reached, and watches the program's private memory.
//
//   SoakMonitor [--minutes=M]     (10 by default; 1440 for a day)
//
// Once a minute it prints the private (anonymous, dirty) memory and the detections; at the end the growth
// since the first minute (goal: under 1 MB). Without a QT_QPA_PLATFORM of the caller's, the offscreen
// platform is used.

#include "BenchSupport.h"
#include "app/frmVantu.h"
#include "capture/SystemCaptureDrivers.h"
#include "capture/driver/CaptureConfig.h"
#include "capture/scene/TestSceneFormat.h"
#include "settings/SettingsCodec.h"
#include "ui/AppDirectory.h"
#include "ui/DateText.h"
#include "ui/MessageBox.h"
#include "ui/MousePointer.h"
#include "ui/Pictures.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace
{

// Private_Dirty of the process in kB, or -1.
long PrivateDirtyKb(qint64 pid)
{
    const QStringList words = SmapsLine(pid, "Private_Dirty").split(QLatin1Char(' '));
    return words.size() == 3 ? words[1].toLong() : -1;
}

int MinutesFromArguments(const QStringList& arguments)
{
    for (const QString& argument : arguments)
        if (argument.startsWith(QStringLiteral("--minutes=")))
            return argument.mid(10).toInt();
    return 10;
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    InitVantuResources();
    const int minutes = MinutesFromArguments(QCoreApplication::arguments());

    QTemporaryDir dir;
    BenchFolder folder(dir.path());
    QString error;
    CaptureConfig config(folder.File(QStringLiteral("Vantu.Capture")));
    if (!config.SetValue(TestSceneFormatKey, TestSceneFormatText({QSize(640, 480), 60}), &error))
    {
        std::printf("The scene's format could not be set: %s\n", qPrintable(error));
        return 1;
    }
    // The file limit and the log's size limit are reached before monitoring starts.
    QDir().mkpath(folder.File(QStringLiteral("Detections")));
    SettingsRecord settings;
    settings.SaveImage = True;
    settings.SoundNotify = True;
    settings.WriteLogFile = True;
    settings.MaxFiles = 5;
    settings.LogMaxSize = 1;
    bool written = WriteFile(folder.File(QStringLiteral("Vantu.Dat")), EncodeSettings(settings)) &&
                   WriteFile(folder.File(QStringLiteral("Vantu.Log")), QByteArray(2048, 'x'));
    for (int i = 0; i < settings.MaxFiles; ++i)
        written = written && WriteFile(folder.File(QStringLiteral("Detections/Old_%1.Bmp").arg(i)), "BM");
    if (!written)
    {
        std::printf("The soak's files could not be written.\n");
        return 1;
    }
    InstallCaptureDrivers(std::make_shared<SystemCaptureDrivers>(folder.Path()));

    PrintedMessages messages;
    ProgramServices services;
    frmVantu window(services.With(folder, messages));
    window.Form_Load();
    window.show();
    window.ChangeMode(ModeMonitor);

    long firstMinute = -1;
    int minute = 0;
    QTimer everyMinute;
    QObject::connect(&everyMinute, &QTimer::timeout,
                     [&]
                     {
                         ++minute;
                         const long now = PrivateDirtyKb(QCoreApplication::applicationPid());
                         if (minute == 1)
                             firstMinute = now;
                         std::printf("minute %d: private memory %ld kB, detections %d\n", minute, now,
                                     window.Session().DetectionCount());
                         std::fflush(stdout);
                         if (minute >= minutes)
                             QCoreApplication::quit();
                     });
    everyMinute.start(60 * 1000);
    QApplication::exec();
    const long growth = PrivateDirtyKb(QCoreApplication::applicationPid()) - firstMinute;
    std::printf("growth after the first minute: %ld kB (goal: under 1024 kB)\n", growth);
    return growth < 1024 ? 0 : 1;
}
