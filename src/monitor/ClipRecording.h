#pragma once

#include "capture/stream/ClipRecorder.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QThread>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct DibFrame;
struct ProgramOptions;
struct SettingsRecord;

// Records a clip of each event when the options ask for it: from the pre-event time before a detection
// to the post-event time after the last one, as "Event_<yyyy-MM-dd_HH-mm-ss>.mkv" in the image folder.
// The frames are copied to a worker thread, which loads the FFmpeg module the first time it is needed
// (a program that never records loads no encoder), keeps the frames before an event within 64 MB and
// encodes and writes the clip. The user-interface thread never waits for it.
class ClipRecording final : public QObject
{
    Q_OBJECT

public:
    // The memory the frames kept before an event take at most.
    static constexpr std::size_t BufferBytes = 64 * 1024 * 1024;

    struct Ports
    {
        const SettingsRecord& Settings;
        const ProgramOptions& Options;
        // The module file that records clips.
        QString ModuleFile;
        // Whether the disk has room above the space kept free; false, with the reason, when not.
        std::function<bool(QString* error)> RoomOnDisk;
        // Tells the user something without waiting for an answer.
        std::function<void(const QString& text)> Notice;
    };

    explicit ClipRecording(Ports ports, QObject* parent = nullptr);
    // Finishes the clip going on and waits for the worker.
    ~ClipRecording() override;

    // Each frame analysed in Monitor mode.
    void Frame(const DibFrame& frame);
    // A detection in Monitor mode on the last frame, at when: starts a clip when none is going on, and
    // keeps it going for the post-event time.
    void Detected(const QDateTime& when);
    // Monitoring ended: the clip going on is finished and the frames kept are dropped.
    void Stop();
    // Waits until the worker has done all it was handed; for tests.
    void WaitForWorker();

private:
    // Runs on the worker.
    void TakeFrame(const std::vector<std::uint8_t>& bits, int width, int height, std::int64_t milliseconds,
                   std::int64_t preMs);
    void StartClip(const QString& path, std::int64_t milliseconds, std::int64_t preMs, std::int64_t postMs);
    void FinishClip();
    bool LoadRecorder();
    // Tells the user on the user-interface thread.
    void Tell(const QString& text);

    Ports ports_;
    QThread thread_;
    std::unique_ptr<QObject> worker_;
    // Frames copied and not yet taken by the worker; more are dropped rather than heaped up.
    std::atomic<int> inFlight_{0};
    // The module could not be loaded: frames are no longer copied.
    std::atomic<bool> unavailable_{false};
    std::int64_t lastFrameMs_ = 0;
    bool running_ = false;

    // The worker's own.
    std::unique_ptr<ClipRecorder> recorder_;
    bool loadFailed_ = false;
    std::int64_t stopAtMs_ = 0;
    QString clipPath_;
};

// The name of the clip of an event that starts at when.
QString ClipName(const QDateTime& when);
