// What monitoring a video file costs compared with decoding it. For each clip size the program writes
// a 10 frames a second MPEG-4 clip with motion, then measures
//   - the decoder alone: the stream module decoding and converting every frame of the clip, as fast
//     as it can, with nothing else running;
//   - the program: the main window shown, the file played at its own rate through the stream driver
//     and the capture window, the 10 ms grab timer handing each frame to the detector in Monitor mode;
// and prints the process's CPU time per frame for both and their ratio (goal: at most 1.5), with the
// frames decoded and the frames analysed (goal: equal). Afterwards it prints the idle cost: CPU in
// Preview and in Monitor once the file has ended and no new frame comes. Each run monitors the clip
// with the byte sum and with moving pixels, and prints the moving pixels' CPU per frame and its ratio
// to the byte sum's (goal: at most 1.15), both with every detection handled in full (picture, sound)
// and with detections only counted: the methods find a different number of detections on the clip.
//
//   StreamMonitorBench [--seconds=S] [--runs=R] [--size=WxH] [--screen=WxH]
//
// S is the clip's length (20 s by default); each figure is the median of R runs (3 by default). With
// --size only that clip size is measured (768x576 and 1920x1080 by default). --screen gives the
// offscreen platform a screen of that size instead of its own 800x600, on which the window shows a
// 768x576 picture scaled down.

#include "MotionClip.h"
#include "StreamMonitorRig.h"
#include "capture/stream/module/StreamInput.h"
#include "capture/stream/module/StreamScaler.h"
#include "common/Options.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

namespace
{
constexpr int FramesPerSecond = 10;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

QString LoadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    return QString::fromLatin1(file.readAll()).section(QChar(' '), 0, 2);
}

// CPU ms per frame of the stream module decoding and converting the whole clip: as fast as it can,
// or, paced, one frame each frame interval as the clip plays.
double DecoderAloneMs(const QString& clip, std::uint64_t* frames, bool paced = false)
{
    const std::atomic<bool> stop{false};
    QString error;
    const double start = ProcessCpuMs();
    std::unique_ptr<StreamInput> input = StreamInput::Open({clip, StreamTransport::Tcp, {}}, stop, &error);
    if (!input)
    {
        std::printf("The clip could not be opened: %s\n", qPrintable(error));
        return 0;
    }
    StreamScaler scaler;
    DibFrame frame;
    *frames = 0;
    const auto begin = std::chrono::steady_clock::now();
    while (input->Next(&error) == StreamInput::Result::Frame)
    {
        if (paced)
            std::this_thread::sleep_until(begin +
                                          *frames * std::chrono::milliseconds(1000 / FramesPerSecond));
        if (!scaler.Convert(input->Frame(), {}, frame, &error))
        {
            std::printf("A picture could not be converted: %s\n", qPrintable(error));
            return 0;
        }
        ++*frames;
    }
    input.reset();
    return *frames == 0 ? 0 : (ProcessCpuMs() - start) / static_cast<double>(*frames);
}

struct ProgramRun
{
    double MsPerFrame = 0;
    // Of MsPerFrame, the user-interface thread's share: grab, detection, drawing.
    double UiMsPerFrame = 0;
    std::int32_t Detections = 0;
    // Where the live picture was drawn: the capture window's size, and whether the picture was drawn
    // at another size than its own.
    QSize Shown;
    bool Scaled = false;
    std::uint64_t Decoded = 0;
    std::uint64_t Analysed = 0;
    double PreviewIdlePercent = 0;
    double MonitorIdlePercent = 0;
};

// The program monitoring the clip: CPU ms per decoded frame, then the idle cost once it has ended.
// What a detection does besides counting: everything, or nothing (no picture, no sound), so that two
// methods that find a different number of detections can be compared on the detection path alone.
enum class Handling
{
    Full,
    CountOnly,
};

ProgramRun MonitorProgram(const QString& clip, int seconds, DetectMethod method = DetectMethod::Sum,
                          Handling handling = Handling::Full)
{
    ProgramRun run;
    StreamMonitorRig rig(clip);
    if (!rig.Start())
    {
        std::printf("The program could not open the clip.\n");
        return run;
    }
    rig.Window().Options().Method = method;
    if (handling == Handling::CountOnly)
    {
        rig.Window().Settings().SaveImage = False;
        rig.Window().Settings().SoundNotify = False;
    }
    const double start = ProcessCpuMs();
    const double uiStart = ThreadCpuMs();
    rig.Window().ChangeMode(ModeMonitor);
    rig.RunToEnd((seconds + 20) * 1000);
    const double used = ProcessCpuMs() - start;
    const double uiUsed = ThreadCpuMs() - uiStart;
    run.Shown = rig.Window().CaptureWindowHandle()->size();
    const DibFrame& frame = rig.Window().CaptureWindowHandle()->CurrentFrame();
    run.Scaled =
        rig.Window().CaptureWindowHandle()->Scaling() && run.Shown != QSize(frame.Width, frame.Height);
    run.Decoded = rig.DecodedSinceFirstTaken();
    run.Analysed = rig.Frames().Taken;
    run.Detections = rig.Window().Session().DetectionCount();
    run.MsPerFrame = run.Decoded == 0 ? 0 : used / static_cast<double>(run.Decoded);
    run.UiMsPerFrame = run.Decoded == 0 ? 0 : uiUsed / static_cast<double>(run.Decoded);

    if (handling == Handling::CountOnly)
        return run;
    constexpr qint64 IdleMs = 3000;
    double idleStart = ProcessCpuMs();
    StreamMonitorRig::RunFor(IdleMs);
    run.MonitorIdlePercent = 100.0 * (ProcessCpuMs() - idleStart) / IdleMs;
    rig.Window().ChangeMode(ModePreview);
    StreamMonitorRig::RunFor(200);
    idleStart = ProcessCpuMs();
    StreamMonitorRig::RunFor(IdleMs);
    run.PreviewIdlePercent = 100.0 * (ProcessCpuMs() - idleStart) / IdleMs;
    return run;
}

void MeasureSize(QSize size, int seconds, int runs)
{
    QTemporaryDir directory;
    const QString clip = directory.filePath(QStringLiteral("motion.avi"));
    QString error;
    if (!MotionClipWriter().Write(clip, size, FramesPerSecond, seconds * FramesPerSecond, &error))
    {
        std::printf("The %dx%d clip could not be written: %s\n", size.width(), size.height(),
                    qPrintable(error));
        return;
    }
    std::vector<double> decoder;
    std::vector<double> pacedDecoder;
    std::vector<double> program;
    std::vector<double> pixelsProgram;
    std::vector<double> countOnlySum;
    std::vector<double> countOnlyPixels;
    std::vector<double> previewIdle;
    std::vector<double> monitorIdle;
    std::uint64_t decoderFrames = 0;
    ProgramRun last;
    for (int i = 0; i < runs; ++i)
    {
        decoder.push_back(DecoderAloneMs(clip, &decoderFrames));
        pacedDecoder.push_back(DecoderAloneMs(clip, &decoderFrames, true));
        last = MonitorProgram(clip, seconds);
        program.push_back(last.MsPerFrame);
        previewIdle.push_back(last.PreviewIdlePercent);
        monitorIdle.push_back(last.MonitorIdlePercent);
        std::printf("  run %d: program %.3f ms (user-interface thread %.3f ms), decoder %.3f ms (at the "
                    "clip's rate %.3f ms) a frame; decoded %llu, analysed %llu, detections %d\n",
                    i + 1, last.MsPerFrame, last.UiMsPerFrame, decoder.back(), pacedDecoder.back(),
                    static_cast<unsigned long long>(last.Decoded),
                    static_cast<unsigned long long>(last.Analysed), static_cast<int>(last.Detections));
        const ProgramRun pixels = MonitorProgram(clip, seconds, DetectMethod::Pixels);
        pixelsProgram.push_back(pixels.MsPerFrame);
        std::printf("  run %d with moving pixels: program %.3f ms a frame; decoded %llu, analysed %llu, "
                    "detections %d\n",
                    i + 1, pixels.MsPerFrame, static_cast<unsigned long long>(pixels.Decoded),
                    static_cast<unsigned long long>(pixels.Analysed), static_cast<int>(pixels.Detections));
        countOnlySum.push_back(
            MonitorProgram(clip, seconds, DetectMethod::Sum, Handling::CountOnly).MsPerFrame);
        countOnlyPixels.push_back(
            MonitorProgram(clip, seconds, DetectMethod::Pixels, Handling::CountOnly).MsPerFrame);
        std::printf("  run %d, detections only counted: byte sum %.3f ms, moving pixels %.3f ms a frame\n",
                    i + 1, countOnlySum.back(), countOnlyPixels.back());
        std::fflush(stdout);
    }
    const double programMs = Median(program);
    const double decoderMs = Median(decoder);
    std::printf("%dx%d MPEG-4 %d fps: program %.3f ms/frame, decoder alone %.3f ms/frame, ratio %.2f "
                "(goal <= 1.5); frames in clip %llu, decoded %llu, analysed %llu (last run)\n",
                size.width(), size.height(), FramesPerSecond, programMs, decoderMs,
                decoderMs > 0 ? programMs / decoderMs : 0.0, static_cast<unsigned long long>(decoderFrames),
                static_cast<unsigned long long>(last.Decoded),
                static_cast<unsigned long long>(last.Analysed));
    std::printf("  with moving pixels: program %.3f ms/frame, ratio to the byte sum %.2f (goal <= 1.15)\n",
                Median(pixelsProgram), programMs > 0 ? Median(pixelsProgram) / programMs : 0.0);
    std::printf("  detections only counted: byte sum %.3f ms/frame, moving pixels %.3f ms/frame, ratio %.2f "
                "(goal <= 1.15)\n",
                Median(countOnlySum), Median(countOnlyPixels),
                Median(countOnlySum) > 0 ? Median(countOnlyPixels) / Median(countOnlySum) : 0.0);
    std::printf("  decoder alone at the clip's rate: %.3f ms/frame, program ratio to it %.2f\n",
                Median(pacedDecoder), Median(pacedDecoder) > 0 ? programMs / Median(pacedDecoder) : 0.0);
    std::printf("  live picture drawn in a %dx%d view%s\n", last.Shown.width(), last.Shown.height(),
                last.Scaled ? ", scaled to it" : ", at its own size");
    std::printf("  idle once the file ended: Preview %.2f %% CPU (goal < 1 %%), Monitor %.2f %% CPU\n",
                Median(previewIdle), Median(monitorIdle));
    std::fflush(stdout);
}
} // namespace

// Points the offscreen platform at a configuration file with one screen of size in directory.
bool UseOffscreenScreen(QSize size, const QTemporaryDir& directory)
{
    QFile file(directory.filePath(QStringLiteral("screen.json")));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(QStringLiteral(R"({"screens": [{"name": "Bench", "x": 0, "y": 0, "width": %1, )"
                                  R"("height": %2, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                       .arg(size.width())
                       .arg(size.height())
                       .toUtf8()) < 0)
        return false;
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(file.fileName()));
    return true;
}

int main(int argc, char* argv[])
{
    const bool offscreen = qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (offscreen)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir screenDirectory;
    int seconds = 20;
    int runs = 3;
    std::vector<QSize> sizes{QSize(768, 576), QSize(1920, 1080)};
    for (int i = 1; i < argc; ++i)
    {
        if (std::strncmp(argv[i], "--seconds=", 10) == 0)
            seconds = std::max(3, std::atoi(argv[i] + 10));
        else if (std::strncmp(argv[i], "--runs=", 7) == 0)
            runs = std::max(1, std::atoi(argv[i] + 7));
        else if (std::strncmp(argv[i], "--size=", 7) == 0)
        {
            const QStringList parts = QString::fromLatin1(argv[i] + 7).split(QChar('x'));
            sizes = {QSize(parts.value(0).toInt(), parts.value(1).toInt())};
        }
        else if (std::strncmp(argv[i], "--screen=", 9) == 0 && offscreen)
        {
            const QStringList parts = QString::fromLatin1(argv[i] + 9).split(QChar('x'));
            if (!UseOffscreenScreen(QSize(parts.value(0).toInt(), parts.value(1).toInt()), screenDirectory))
                std::printf("The screen could not be set up; the platform's own is used.\n");
        }
        else
        {
            std::printf("Unknown option %s. Use --seconds=S, --runs=R, --size=WxH and --screen=WxH (on "
                        "the offscreen platform).\n",
                        argv[i]);
            return 2;
        }
    }
    QApplication application(argc, argv);
    InitVantuResources();
    std::printf("load average at start: %s\n", qPrintable(LoadAverage()));
    for (const QSize size : sizes)
        MeasureSize(size, seconds, runs);
    std::printf("load average at end: %s\n", qPrintable(LoadAverage()));
    return 0;
}
