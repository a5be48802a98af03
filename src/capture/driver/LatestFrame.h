#pragma once

#include "capture/driver/DibFrame.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

// Hands the newest frame of a capture thread to the user-interface thread without copying it and
// without making either side wait longer than a swap of two buffers. The producer fills Back() and
// publishes it; the consumer takes the newest frame it has not taken before. A frame published
// before the consumer took the previous one replaces it: only the newest frame is kept.
class LatestFrame
{
public:
    // Producer side only.
    DibFrame& Back() { return back_; }

    // Producer side: the back buffer becomes the newest frame; Back() then holds an older buffer to
    // be overwritten.
    void Publish()
    {
        std::lock_guard lock(mutex_);
        back_.Sequence = ++published_;
        std::swap(back_, newest_);
        fresh_ = true;
    }

    // Consumer side: swaps the newest frame into front when it has not been taken yet.
    bool Take(DibFrame& front)
    {
        std::lock_guard lock(mutex_);
        if (!fresh_)
            return false;
        std::swap(front, newest_);
        fresh_ = false;
        taken_.notify_all();
        return true;
    }

    // Producer side, for a source that can wait (a file): waits until the consumer took the newest
    // frame, so that publishing the next one replaces none. False when stop was set; Interrupt()
    // ends the wait after setting it.
    bool WaitUntilTaken(const std::atomic<bool>& stop)
    {
        std::unique_lock lock(mutex_);
        taken_.wait(lock, [&] { return !fresh_ || stop.load(); });
        return !stop.load();
    }
    void Interrupt()
    {
        std::lock_guard lock(mutex_);
        taken_.notify_all();
    }

    // Forgets a frame that was published but not taken, so that a new start hands out only new frames.
    void Clear()
    {
        std::lock_guard lock(mutex_);
        fresh_ = false;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable taken_;
    DibFrame back_;
    DibFrame newest_;
    bool fresh_ = false;
    std::uint64_t published_ = 0;
};
