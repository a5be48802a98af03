// How long the user-interface thread is held when the network camera and video file source is
// connected for the first time in a run, which loads its module and FFmpeg. The capture window
// connects the source as the program does; the module loads on a worker thread. Prints the time the
// connect call took, the longest stall of the event loop until the module's driver took over (goal:
// under 50 ms each), and how long after the connect the module was there.
//
//   StreamModuleLoadBench
//
// Run it right after the build for a load from the disk cache; after dropping the page cache
// (echo 3 > /proc/sys/vm/drop_caches, as root) for a cold load.

#include "UiStall.h"
#include "capture/driver/CaptureConfig.h"
#include "capture/driver/CaptureDriverList.h"
#include "capture/modAVICAP.h"
#include "capture/stream/StreamDriverEntry.h"
#include "capture/stream/StreamModule.h"
#include "capture/window/CaptureWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdio>

namespace
{
// The source as the program's driver list has it, with the module of this build.
class OneStreamSource final : public CaptureDriverList
{
public:
    explicit OneStreamSource(CaptureConfig& config) : config_(config) {}
    std::vector<CaptureDriverEntry> Enumerate() override
    {
        return {StreamDriverEntry(config_, QStringLiteral(VANTU_STREAM_MODULE))};
    }

private:
    CaptureConfig& config_;
};
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The fonts load once with the first text laid out, as they do for the main window at start-up.
    QLabel("Vantu").sizeHint();
    QTemporaryDir folder;
    CaptureConfig config(folder.filePath(QStringLiteral("Vantu.Capture")));
    InstallCaptureDrivers(std::make_shared<OneStreamSource>(config));

    QWidget parent;
    auto* window = capCreateCaptureWindowA("bench", WS_CHILD | WS_VISIBLE, 4, 12, 160, 120, &parent, 0);
    QElapsedTimer sinceConnect;
    sinceConnect.start();
    const qint64 connect = Timed([&] { capDriverConnect(window, 0); });
    qint64 loadMs = -1;
    const qint64 stall =
        LongestStall(10000,
                     [&]
                     {
                         if (loadMs < 0 && LoadedStreamModule(QStringLiteral(VANTU_STREAM_MODULE)))
                             loadMs = sinceConnect.elapsed();
                         return loadMs >= 0 && window->State().Status != SourceStatus::Connecting;
                     });
    const qint64 close = Timed([&] { delete window; });
    if (loadMs < 0)
    {
        std::fprintf(stderr, "StreamModuleLoadBench: the module did not load within 10 s\n");
        return 1;
    }
    std::printf("first connect of the stream source: connect %lld ms, longest stall while its module loaded "
                "%lld ms, close %lld ms; the module was there %lld ms after the connect\n",
                static_cast<long long>(connect), static_cast<long long>(stall), static_cast<long long>(close),
                static_cast<long long>(loadMs));
    InstallCaptureDrivers(nullptr);
    return 0;
}
