#pragma once

#include "capture/driver/LatestFrame.h"
#include "capture/stream/StreamInfo.h"

#include <QElapsedTimer>
#include <QSize>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

class StreamDriver;

// What a stream driver's decoding thread shares with the driver. The thread holds it as long as it
// runs, so that a thread the driver stopped waiting for (a name lookup that does not return) never
// touches a driver that is gone: it reaches the driver only through Tell, which does nothing once the
// driver let go.
class StreamSession
{
public:
    explicit StreamSession(StreamDriver* owner) : owner_(owner) {}

    std::atomic<bool> Stop{false};
    LatestFrame Frames;
    QElapsedTimer SinceOpen;
    // A file waits for each frame to be taken before it publishes the next.
    std::atomic<bool> HoldFrames{false};

    // Shared by the decoding thread and the user-interface thread: lock StateMutex.
    std::mutex StateMutex;
    StreamInfo Info;
    QSize ChosenSize;

    // Waits for the time given; false when the session was stopped.
    bool WaitFor(std::chrono::milliseconds time);
    void RequestStop();

    // The decoding thread's last step.
    void MarkFinished();
    // Waits at most time for the decoding thread to finish; true when it has.
    bool WaitFinished(std::chrono::milliseconds time);

    // Calls tell with the driver, unless the driver let go.
    template <typename Tell> void TellDriver(Tell tell)
    {
        std::lock_guard lock(ownerMutex_);
        if (owner_ != nullptr)
            tell(*owner_);
    }
    // The driver no longer listens; a Tell under way ends first.
    void Release();

private:
    std::mutex waitMutex_;
    std::condition_variable wake_;
    bool finished_ = false;
    std::condition_variable finishedChanged_;
    std::mutex ownerMutex_;
    StreamDriver* owner_;
};
