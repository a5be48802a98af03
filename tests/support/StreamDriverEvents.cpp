#include "support/StreamDriverEvents.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>

StreamDriverEvents::StreamDriverEvents(CaptureDriver& driver)
{
    connect(
        &driver, &CaptureDriver::FrameReady, this, [this] { ++Frames; }, Qt::QueuedConnection);
    connect(
        &driver, &CaptureDriver::StatusChanged, this,
        [this](int number, const QString& text) { Notices.emplace_back(number, text); },
        Qt::QueuedConnection);
    connect(
        &driver, &CaptureDriver::ErrorOccurred, this,
        [this](int number, const QString& text) { Errors.emplace_back(number, text); }, Qt::QueuedConnection);
    connect(
        &driver, &CaptureDriver::SourceStateChanged, this,
        [this](const SourceState& state) { States.push_back(state); }, Qt::QueuedConnection);
}

bool StreamOpenSettled(CaptureDriver& driver, const StreamDriverEvents& events)
{
    if (!driver.Open())
        return false;
    const auto live = [&]
    {
        return std::any_of(events.States.begin(), events.States.end(),
                           [](const SourceState& state) { return state.Status == SourceStatus::Live; });
    };
    StreamWaitUntil([&] { return live() || events.State().Status != SourceStatus::Connecting; });
    return live();
}

bool StreamDriverEvents::HasNotice(int number) const
{
    return std::any_of(Notices.begin(), Notices.end(),
                       [number](const auto& notice) { return notice.first == number; });
}

bool StreamWaitUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done())
    {
        if (timer.elapsed() > timeoutMs)
            return false;
        // Waits for events (such as the driver's queued signals) for a few milliseconds at a time.
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}
