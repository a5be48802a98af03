#pragma once

// The program's main window with a video file as its capture driver 0, through the real stream
// driver, for the benchmark programs. The window runs in a folder of its own with the settings the
// program starts with (sound on, images saved, no e-mail); message boxes are printed, not shown.

#include "BenchSupport.h"
#include "app/frmVantu.h"
#include "capture/driver/CaptureConfig.h"
#include "capture/driver/CaptureDriverList.h"
#include "capture/modAVICAP.h"
#include "capture/stream/StreamSettings.h"
#include "capture/stream/module/StreamDriver.h"
#include "capture/window/CaptureWindow.h"
#include "ui/AppDirectory.h"
#include "ui/DateText.h"
#include "ui/MessageBox.h"
#include "ui/MousePointer.h"
#include "ui/Pictures.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <ctime>
#include <memory>

// CPU time of the whole process, all its threads, in milliseconds.
inline double ProcessCpuMs()
{
    timespec time{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &time);
    return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_nsec) / 1e6;
}

// CPU time of the calling thread, in milliseconds.
inline double ThreadCpuMs()
{
    timespec time{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_nsec) / 1e6;
}

class StreamMonitorRig
{
public:
    // Frames as they pass between the stream driver and the capture window.
    struct Counts
    {
        std::atomic<std::uint64_t> Published{0}; // frames the driver decoded and published
        std::atomic<bool> Ended{false};          // the driver reached the end of the file
        std::uint64_t Taken = 0;                 // frames the window took (and handed to the detector)
        std::uint64_t FirstTaken = 0;            // the number of the first frame taken, from 1
    };

    explicit StreamMonitorRig(const QString& clip)
        : folder_(directory_.path()), config_(folder_.File(QStringLiteral("Vantu.Capture"))),
          window_(services_.With(folder_, messages_))
    {
        QString error;
        if (!SaveStreamSettings(config_, {clip, StreamTransport::Tcp, {}}, &error))
            std::fprintf(stderr, "The video file could not be set: %s\n", qPrintable(error));
        InstallCaptureDrivers(std::make_shared<List>(*this));
    }

    ~StreamMonitorRig() { InstallCaptureDrivers(nullptr); }

    StreamMonitorRig(const StreamMonitorRig&) = delete;
    StreamMonitorRig& operator=(const StreamMonitorRig&) = delete;

    // Starts the program and shows its window, previewing the file; false when the file did not open.
    bool Start()
    {
        window_.Form_Load();
        window_.show();
        return !window_.IsUnloaded() && window_.CaptureWindowHandle() != nullptr &&
               window_.CaptureWindowHandle()->Connected();
    }

    frmVantu& Window() { return window_; }
    Counts& Frames() { return counts_; }
    // Frames the driver decoded from the first one the window took on.
    std::uint64_t DecodedSinceFirstTaken() const
    {
        return counts_.Taken == 0 ? 0 : counts_.Published.load() - counts_.FirstTaken + 1;
    }

    // Runs the event loop until the file has ended and its last frame was taken, or for at most
    // limitMs.
    void RunToEnd(qint64 limitMs)
    {
        QEventLoop loop;
        QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
        if (driver_ != nullptr)
            QObject::connect(driver_, &CaptureDriver::StatusChanged, &loop,
                             [&loop](int number, const QString&)
                             {
                                 if (number == StreamDriver::NoticeEndOfFile)
                                     QTimer::singleShot(300, &loop, &QEventLoop::quit);
                             });
        if (!counts_.Ended.load())
            loop.exec();
    }

    // Runs the event loop for milliseconds.
    static void RunFor(qint64 milliseconds)
    {
        QEventLoop loop;
        QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
        loop.exec();
    }

private:
    // The stream driver, seen through: it counts what it hands the window.
    class CountingDriver final : public CaptureDriver
    {
    public:
        CountingDriver(CaptureConfig& config, Counts& counts)
            : inner_(config, StreamDriverTiming{}), counts_(counts)
        {
            // Forwarded on the decoding thread, as the driver's own signals arrive at the window.
            connect(&inner_, &CaptureDriver::FrameReady, this, &CountingDriver::Published,
                    Qt::DirectConnection);
            connect(&inner_, &CaptureDriver::ErrorOccurred, this, &CaptureDriver::ErrorOccurred,
                    Qt::DirectConnection);
            connect(&inner_, &CaptureDriver::StatusChanged, this, &CountingDriver::Status,
                    Qt::DirectConnection);
        }
        bool Open() override { return inner_.Open(); }
        void Close() override { inner_.Close(); }
        QSize FrameSize() const override { return inner_.FrameSize(); }
        bool TakeFrame(DibFrame& front) override
        {
            if (!inner_.TakeFrame(front))
                return false;
            if (counts_.Taken++ == 0)
                counts_.FirstTaken = front.Sequence;
            return true;
        }

    private:
        void Published()
        {
            ++counts_.Published;
            emit FrameReady();
        }
        void Status(int number, const QString& text)
        {
            if (number == StreamDriver::NoticeEndOfFile)
                counts_.Ended = true;
            emit StatusChanged(number, text);
        }

        StreamDriver inner_;
        Counts& counts_;
    };

    class List final : public CaptureDriverList
    {
    public:
        explicit List(StreamMonitorRig& rig) : rig_(rig) {}
        std::vector<CaptureDriverEntry> Enumerate() override
        {
            return {{QStringLiteral("Video file"),
                     QStringLiteral("1.0"),
                     [this]
                     {
                         auto driver = std::make_unique<CountingDriver>(rig_.config_, rig_.counts_);
                         rig_.driver_ = driver.get();
                         return driver;
                     },
                     // Dialogs as the real entry has; the benchmarks never open them.
                     [](CaptureDriver&, QWidget*, IMessageBox&) {},
                     [](CaptureDriver&, QWidget*, IMessageBox&) {},
                     {}}};
        }

    private:
        StreamMonitorRig& rig_;
    };

    QTemporaryDir directory_;
    BenchFolder folder_;
    CaptureConfig config_;
    Counts counts_;
    CaptureDriver* driver_ = nullptr;
    PrintedMessages messages_;
    ProgramServices services_;
    frmVantu window_;
};
