#pragma once

#include <QDateTime>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

// The weekly times in which Monitor mode watches, written as windows separated by ";", each with
// optional days and a time range: "mon-fri 08:00-18:00; sat,sun 00:00-24:00; 22:00-06:00". Days are
// named by their first three letters (or in full), singly, in lists and in ranges ("fri-mon" wraps);
// a window without days holds every day. A range whose end is not after its start runs overnight into
// the next day. An empty text watches always.
class Schedule
{
public:
    // The schedule of text; empty, with the reason in error, when text is no schedule.
    static std::optional<Schedule> Parse(const QString& text, QString* error = nullptr);

    bool Always() const { return always_; }
    // Whether the schedule watches at the minute of when.
    bool Watches(const QDateTime& when) const;
    // The start of the next window after when; empty for a schedule that always watches.
    std::optional<QDateTime> NextStart(const QDateTime& when) const;

private:
    bool always_ = true;
    // Minutes since Monday 00:00: a window's start and its end, which may reach into the next week.
    std::vector<std::pair<int, int>> windows_;
};

// Whether text is a schedule, as the options file and Preferences check it.
bool IsSchedule(const QString& text);
