#pragma once

#include "common/Schedule.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class IClock;
class IMousePointer;
struct ProgramOptions;

// Decides whether Monitor mode rests: outside the windows of the schedule, or while the user paused the
// alerts. Resting, no frame is compared, so nothing is detected, saved or sent. The beginning and the
// end of a rest are logged.
class MonitorRest final : public QObject
{
    Q_OBJECT

public:
    MonitorRest(const ProgramOptions& options, IClock& clock, IMousePointer& pointer,
                std::function<void(const QString& text)> writeLog, QObject* parent = nullptr);

    // Asked for each frame in Monitor mode: whether it rests now.
    bool Rests();
    // Monitor mode began or ended: the next frame decides afresh, without a log line for the change.
    void Reset();

    // Rests for the minutes given, whatever the schedule says; Resume ends it early.
    void PauseFor(int minutes);
    void Resume();
    bool Paused() const;
    // What the status bar says while resting; empty while watching.
    QString StatusText() const;

signals:
    // Resting began or ended; text is the status text while resting.
    void RestChanged(bool resting, const QString& text);

private:
    // Whether the schedule watches now, with the text read again when the options changed.
    bool ScheduleWatches(const QDateTime& now);

    const ProgramOptions& options_;
    IClock& clock_;
    IMousePointer& pointer_;
    std::function<void(const QString&)> writeLog_;
    QString scheduleText_;
    Schedule schedule_;
    std::optional<QDateTime> pausedUntil_;
    // Whether the last frame rested; empty after a reset.
    std::optional<bool> resting_;
    QString status_;
    // The log line of the rest going on, without its date.
    QString loggedRest_;
};

// The time of day of when, with the weekday in front when it is a day or more after now.
QString ShortTimeFrom(const QDateTime& now, const QDateTime& when);
