#include "capture/stream/StreamTiming.h"

#include <algorithm>
#include <cmath>

int StreamReconnectDelaySeconds(int attempt)
{
    if (attempt < 0)
        return 1;
    if (attempt >= 5)
        return 30;
    return 1 << attempt;
}

StreamPacer::StreamPacer(double framesPerSecond)
    : frameSeconds_(std::isfinite(framesPerSecond) && framesPerSecond > 0 ? 1.0 / framesPerSecond : 1.0 / 25)
{
}

std::int64_t StreamPacer::WaitBefore(double seconds, std::int64_t nowMs)
{
    if (!std::isfinite(seconds))
        seconds = started_ ? lastSeconds_ + frameSeconds_ : 0;
    const double now = static_cast<double>(nowMs);
    const double due = originMs_ + seconds * 1000;
    const bool restart = !started_ || seconds < lastSeconds_ || due > now + MaxWaitMs || due < now - MaxLagMs;
    started_ = true;
    lastSeconds_ = seconds;
    if (restart)
    {
        originMs_ = now - seconds * 1000;
        return 0;
    }
    return std::max<std::int64_t>(0, std::llround(due - now));
}
