#include "monitor/MonitorRest.h"

#include "common/Options.h"
#include "ui/DateText.h"
#include "ui/MousePointer.h"

#include <QLocale>

MonitorRest::MonitorRest(const ProgramOptions& options, IClock& clock, IMousePointer& pointer,
                         std::function<void(const QString&)> writeLog, QObject* parent)
    : QObject(parent), options_(options), clock_(clock), pointer_(pointer), writeLog_(std::move(writeLog))
{
}

QString ShortTimeFrom(const QDateTime& now, const QDateTime& when)
{
    const QString time = when.time().toString(QStringLiteral("HH:mm"));
    if (now.secsTo(when) < 24 * 60 * 60)
        return time;
    return QLocale().dayName(when.date().dayOfWeek(), QLocale::ShortFormat) + QChar(' ') + time;
}

bool MonitorRest::ScheduleWatches(const QDateTime& now)
{
    if (options_.Schedule != scheduleText_)
    {
        scheduleText_ = options_.Schedule;
        // The options hold only schedules that read; anything else watches always.
        schedule_ = Schedule::Parse(scheduleText_).value_or(Schedule());
    }
    return schedule_.Watches(now);
}

bool MonitorRest::Rests()
{
    const QDateTime now = clock_.Now();
    if (pausedUntil_ && now >= *pausedUntil_)
        pausedUntil_.reset();
    QString status;
    QString logText;
    if (pausedUntil_)
    {
        status = QStringLiteral("Alerts paused until %1").arg(ShortTimeFrom(now, *pausedUntil_));
        logText = QStringLiteral("Alerts paused until %1: ").arg(ShortTimeFrom(now, *pausedUntil_));
    }
    else if (!ScheduleWatches(now))
    {
        const std::optional<QDateTime> next = schedule_.NextStart(now);
        status = QStringLiteral("Waiting for the schedule (next at %1)")
                     .arg(next ? ShortTimeFrom(now, *next) : QString());
        logText = QStringLiteral("Resting outside the schedule: ");
    }
    const bool resting = !status.isEmpty();
    const bool wasResting = resting_.value_or(false);
    resting_ = resting;
    if (resting == wasResting && status == status_)
        return resting;
    status_ = status;
    if (resting && logText != loggedRest_)
        writeLog_(logText + NowText(clock_));
    else if (!resting)
        writeLog_(QStringLiteral("Monitoring again after resting: ") + NowText(clock_));
    loggedRest_ = resting ? logText : QString();
    if (resting)
        // No baseline is learned while resting: the busy pointer of a fresh start goes.
        pointer_.SetPointer(PointerShape::Default);
    emit RestChanged(resting, status_);
    return resting;
}

void MonitorRest::Reset()
{
    resting_.reset();
    status_.clear();
    loggedRest_.clear();
}

void MonitorRest::PauseFor(int minutes)
{
    pausedUntil_ = clock_.Now().addSecs(minutes * 60);
}

void MonitorRest::Resume()
{
    pausedUntil_.reset();
}

bool MonitorRest::Paused() const
{
    return pausedUntil_.has_value() && clock_.Now() < *pausedUntil_;
}

QString MonitorRest::StatusText() const
{
    return status_;
}
