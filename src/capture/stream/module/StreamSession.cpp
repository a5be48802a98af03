#include "capture/stream/module/StreamSession.h"

bool StreamSession::WaitFor(std::chrono::milliseconds time)
{
    std::unique_lock lock(waitMutex_);
    return !wake_.wait_for(lock, time, [this] { return Stop.load(); });
}

void StreamSession::RequestStop()
{
    {
        std::lock_guard lock(waitMutex_);
        Stop = true;
    }
    wake_.notify_all();
    Frames.Interrupt();
}

void StreamSession::MarkFinished()
{
    {
        std::lock_guard lock(waitMutex_);
        finished_ = true;
    }
    finishedChanged_.notify_all();
}

bool StreamSession::WaitFinished(std::chrono::milliseconds time)
{
    std::unique_lock lock(waitMutex_);
    return finishedChanged_.wait_for(lock, time, [this] { return finished_; });
}

void StreamSession::Release()
{
    std::lock_guard lock(ownerMutex_);
    owner_ = nullptr;
}
