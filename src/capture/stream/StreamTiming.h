#pragma once

#include <cstdint>

// The pause before reconnection attempt number attempt (0 for the first after a drop), in seconds:
// 1, 2, 4, 8, 16, then 30 for every later attempt.
int StreamReconnectDelaySeconds(int attempt);

// Plays the frames of a video file at the rate they were recorded: for each frame, how long to wait
// before it is shown. The first frame is shown at once; each later one when as much time has passed
// on the clock as between its timestamp and the first frame's. Timestamps that jump backwards or far
// ahead (a damaged file, a joined clip) start the count afresh instead of stalling or racing.
class StreamPacer
{
public:
    // Frames without a timestamp are taken to follow the previous one at this rate.
    explicit StreamPacer(double framesPerSecond);

    // seconds: the frame's timestamp, or a NaN when it has none. nowMs: a steady clock in milliseconds.
    // Returns the milliseconds to wait before the frame is shown (0 or more).
    std::int64_t WaitBefore(double seconds, std::int64_t nowMs);

    // The longest wait for one frame, and how far behind the clock a frame may fall before the count
    // starts afresh.
    static constexpr std::int64_t MaxWaitMs = 10000;
    static constexpr std::int64_t MaxLagMs = 500;

private:
    double frameSeconds_;
    bool started_ = false;
    double lastSeconds_ = 0;
    // The clock reading at which timestamp 0 is due.
    double originMs_ = 0;
};
