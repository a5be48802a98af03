// How long the user-interface thread is held by a network camera that never answers: a loopback
// socket that accepts connections and never sends a byte. The capture window opens the camera, the
// driver fails and reconnects on its own thread, and the window closes it; a second round has the
// name lookup hang. Prints the longest time each call of the window took and the longest stall of
// the event loop in between (goal: under 50 ms each).
//
//   StreamStallBench [--seconds=N]
//
// N is how long the window watches the reconnecting camera (12 by default; each attempt waits 5 s
// for an answer).

#include "UiStall.h"
#include "capture/driver/CaptureConfig.h"
#include "capture/driver/CaptureDriverList.h"
#include "capture/modAVICAP.h"
#include "capture/stream/StreamSettings.h"
#include "capture/stream/module/StreamDriver.h"
#include "capture/window/CaptureWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace
{
// A listening loopback socket that is never read: the system accepts the connections, nothing answers.
class SilentServer
{
public:
    SilentServer()
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(fd_, 64) != 0 || ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        port_ = ntohs(address.sin_port);
    }
    ~SilentServer()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int Port() const { return port_; }

private:
    int fd_ = -1;
    int port_ = 0;
};

// One driver entry: the stream driver on the given settings file, with the given name lookup.
class OneStreamDriver final : public CaptureDriverList
{
public:
    OneStreamDriver(CaptureConfig& config, StreamResolver resolver)
        : config_(config), resolver_(std::move(resolver))
    {
    }
    std::vector<CaptureDriverEntry> Enumerate() override
    {
        CaptureDriverEntry entry;
        entry.Name = QStringLiteral("Network camera");
        entry.Create = [this]
        { return std::make_unique<StreamDriver>(config_, StreamDriverTiming{}, resolver_); };
        return {std::move(entry)};
    }

private:
    CaptureConfig& config_;
    StreamResolver resolver_;
};

// Opens the camera in a capture window, watches it for seconds, closes it; prints the figures.
void Round(const char* title, CaptureConfig& config, StreamResolver resolver, int seconds)
{
    InstallCaptureDrivers(std::make_shared<OneStreamDriver>(config, std::move(resolver)));
    QWidget parent;
    auto* window = capCreateCaptureWindowA("bench", WS_CHILD | WS_VISIBLE, 4, 12, 160, 120, &parent, 0);
    const qint64 open = Timed([&] { capDriverConnect(window, 0); });
    const qint64 preview = Timed([&] { capPreview(window, True); });
    const qint64 stall = LongestStall(seconds * 1000);
    const qint64 close = Timed([&] { delete window; });
    std::printf(
        "%-34s open %4lld ms, preview %4lld ms, longest stall while reconnecting %4lld ms, close %4lld ms\n",
        title, static_cast<long long>(open), static_cast<long long>(preview), static_cast<long long>(stall),
        static_cast<long long>(close));
    InstallCaptureDrivers(nullptr);
}
} // namespace

int main(int argc, char** argv)
{
    int seconds = 12;
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--seconds=", 10) == 0)
            seconds = std::max(1, std::atoi(argv[i] + 10));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SilentServer server;
    if (server.Port() == 0)
    {
        std::fprintf(stderr, "StreamStallBench: could not listen on the loopback interface\n");
        return 1;
    }
    // The fonts load once with the first text laid out, as they do for the main window at start-up.
    QLabel("Vantu").sizeHint();
    QTemporaryDir folder;
    CaptureConfig config(folder.filePath(QStringLiteral("Vantu.Capture")));
    QString error;
    if (!config.SetValue(QString::fromLatin1(StreamLocationKey),
                         QStringLiteral("http://127.0.0.1:%1/video.mjpg").arg(server.Port()), &error))
    {
        std::fprintf(stderr, "StreamStallBench: %s\n", qPrintable(error));
        return 1;
    }

    Round("camera that never answers:", config, &ResolveStreamHost, seconds);
    // A lookup that hangs far longer than the round: the close must not wait for it.
    Round(
        "name lookup that hangs:", config,
        [](const QString&, QString*)
        {
            std::this_thread::sleep_for(std::chrono::seconds(20));
            return true;
        },
        2);
    return 0;
}
