// Memory while previewing the test scene at 640x480 (goal: resident under 60 MB), or while monitoring
// a 768x576 video file (goal: private memory under 25 MB, not growing).
//
//   SceneMemoryCheck [--seconds=S]                    previews the scene in a capture window of its own
//   SceneMemoryCheck --program=PATH [--seconds=S]     starts PATH (the program) and measures it instead
//   SceneMemoryCheck --clip [--seconds=S]             the program's main window monitors a 768x576,
//                                                     10 frames a second MPEG-4 clip S seconds long
//
// The first two wait S seconds (10 by default) and then print VmRSS and VmHWM from /proc/<pid>/status
// and the private memory: Private_Dirty from /proc/<pid>/smaps_rollup, the anonymous pages the process
// wrote, without the shared code of its libraries that resident memory counts. The third prints the
// private memory every S / 6 seconds while it monitors. Without a QT_QPA_PLATFORM of the caller's,
// the offscreen platform is used.

#include "BenchSupport.h"
#include "MotionClip.h"
#include "StreamMonitorRig.h"
#include "TestSceneRig.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstring>

namespace
{
// The named line of /proc/<pid>/status ("VmRSS:  51200 kB"), or an empty text.
QString StatusLine(qint64 pid, const char* name)
{
    return ProcLine(pid, "status", name);
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
    std::printf("%s: %s, %s, %s\n", qPrintable(what), qPrintable(rss), qPrintable(StatusLine(pid, "VmHWM")),
                qPrintable(SmapsLine(pid, "Private_Dirty")));
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

int MeasureClipMonitoring(int seconds)
{
    const QSize size(768, 576);
    constexpr int FramesPerSecond = 10;
    QTemporaryDir directory;
    const QString clip = directory.filePath(QStringLiteral("motion.avi"));
    QString error;
    if (!MotionClipWriter().Write(clip, size, FramesPerSecond, seconds * FramesPerSecond, &error))
    {
        std::printf("The clip could not be written: %s\n", qPrintable(error));
        return 1;
    }
    StreamMonitorRig rig(clip);
    if (!rig.Start())
    {
        std::printf("The program could not open the clip.\n");
        return 1;
    }
    rig.Window().ChangeMode(ModeMonitor);
    const qint64 pid = QCoreApplication::applicationPid();
    constexpr int Samples = 6;
    for (int i = 1; i <= Samples; ++i)
    {
        StreamMonitorRig::RunFor(static_cast<qint64>(seconds) * 1000 / Samples);
        std::printf("after %5.1f s monitoring 768x576: %s, %s (goal: private under 25 MB)\n",
                    seconds * static_cast<double>(i) / Samples, qPrintable(SmapsLine(pid, "Private_Dirty")),
                    qPrintable(StatusLine(pid, "VmRSS")));
        std::fflush(stdout);
    }
    std::printf("frames analysed: %llu\n", static_cast<unsigned long long>(rig.Frames().Taken));
    return 0;
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
    InitVantuResources();
    int seconds = 10;
    QString program;
    bool clip = false;
    for (int i = 1; i < argc; ++i)
    {
        if (std::strncmp(argv[i], "--seconds=", 10) == 0)
            seconds = std::max(1, std::atoi(argv[i] + 10));
        else if (std::strncmp(argv[i], "--program=", 10) == 0)
            program = QString::fromLocal8Bit(argv[i] + 10);
        else if (std::strcmp(argv[i], "--clip") == 0)
            clip = true;
        else
        {
            std::printf("Unknown option %s. Use --seconds=S, --program=PATH or --clip.\n", argv[i]);
            return 2;
        }
    }
    if (clip)
        return MeasureClipMonitoring(seconds);
    return program.isEmpty() ? MeasureOwnPreview(seconds) : MeasureProgram(program, seconds);
}
