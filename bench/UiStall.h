#pragma once

// Measures of how long the user-interface thread is held, for the benchmarks that watch it.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <algorithm>
#include <functional>

// The longest gap between two turns of the event loop while it runs, until done() is true or the
// time given has passed.
inline qint64 LongestStall(int milliseconds, const std::function<bool()>& done = {})
{
    QElapsedTimer sinceTick;
    qint64 longest = 0;
    QEventLoop loop;
    QTimer tick;
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout,
                     [&]
                     {
                         longest = std::max(longest, sinceTick.elapsed());
                         sinceTick.start();
                         if (done && done())
                             loop.quit();
                     });
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    sinceTick.start();
    tick.start();
    loop.exec();
    return longest;
}

// How long call takes, in milliseconds.
template <typename Call> qint64 Timed(Call call)
{
    QElapsedTimer timer;
    timer.start();
    call();
    return timer.elapsed();
}
