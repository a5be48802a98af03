// Resident memory while previewing the test scene at 640x480 (goal: under 60 MB).
//
//   SceneMemoryCheck [--seconds=S]                    previews the scene in a capture window of its own
//   SceneMemoryCheck --program=PATH [--seconds=S]     starts PATH (the program) and measures it instead
//
// Both wait S seconds (10 by default) and then print VmRSS and VmHWM from /proc/<pid>/status. Without
// a QT_QPA_PLATFORM of the caller's, the offscreen platform is used.

#include "TestSceneRig.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTimer>
#include <cstdio>
#include <cstring>

namespace
{
// The named line of /proc/<pid>/status ("VmRSS:  51200 kB"), or an empty text.
QString StatusLine(qint64 pid, const char* name)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    // Files under /proc report a size of 0, so read until the end instead of up to a size.
    const QStringList lines = QString::fromLatin1(status.readAll()).split(QLatin1Char('\n'));
    for (const QString& line : lines)
        if (line.startsWith(QLatin1String(name) + QLatin1Char(':')))
            return line.simplified();
    return {};
}

int Report(qint64 pid, const QString& what)
{
    const QString rss = StatusLine(pid, "VmRSS");
    if (rss.isEmpty())
    {
        std::printf("Could not read the memory of %s (process %lld).\n", qPrintable(what),
                    static_cast<long long>(pid));
        return 1;
    }
    std::printf("%s: %s, %s\n", qPrintable(what), qPrintable(rss), qPrintable(StatusLine(pid, "VmHWM")));
    return 0;
}

void Wait(int seconds)
{
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
}

int MeasureOwnPreview(int seconds)
{
    TestSceneRig rig(QSize(640, 480), 30);
    if (!rig.Ready())
    {
        std::printf("The test scene did not connect.\n");
        return 1;
    }
    capPreviewRate(rig.Window(), 1);
    capPreview(rig.Window(), True);
    Wait(seconds);
    const CAPSTATUS status = [&]
    {
        CAPSTATUS s{};
        capGetStatus(rig.Window(), &s, sizeof s);
        return s;
    }();
    std::printf("After %d s of preview the capture window showed frame %u of the test scene at 640x480.\n",
                seconds, status.dwCurrentVideoFrame);
    return Report(QCoreApplication::applicationPid(),
                  QStringLiteral("A capture window previewing the test scene"));
}

int MeasureProgram(const QString& path, int seconds)
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(path, {});
    if (!program.waitForStarted(10000))
    {
        std::printf("Could not start %s: %s\n", qPrintable(path), qPrintable(program.errorString()));
        return 1;
    }
    Wait(seconds);
    if (program.state() != QProcess::Running)
    {
        std::printf("%s ended before it was measured (exit code %d).\n", qPrintable(path),
                    program.exitCode());
        return 1;
    }
    const int result = Report(program.processId(), path);
    program.terminate();
    if (!program.waitForFinished(5000))
    {
        program.kill();
        program.waitForFinished(5000);
    }
    return result;
}
} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    int seconds = 10;
    QString program;
    for (int i = 1; i < argc; ++i)
    {
        if (std::strncmp(argv[i], "--seconds=", 10) == 0)
            seconds = std::max(1, std::atoi(argv[i] + 10));
        else if (std::strncmp(argv[i], "--program=", 10) == 0)
            program = QString::fromLocal8Bit(argv[i] + 10);
        else
        {
            std::printf("Unknown option %s. Use --seconds=S and --program=PATH.\n", argv[i]);
            return 2;
        }
    }
    return program.isEmpty() ? MeasureOwnPreview(seconds) : MeasureProgram(program, seconds);
}
