#include "common/Schedule.h"

#include <QRegularExpression>
#include <QStringList>
#include <QTime>
#include <array>

namespace
{
constexpr int MinutesPerDay = 24 * 60;
constexpr int MinutesPerWeek = 7 * MinutesPerDay;

// The day's number from 0 for Monday, or -1.
int DayNumber(const QString& name)
{
    static const std::array<const char*, 7> names{"monday", "tuesday",  "wednesday", "thursday",
                                                  "friday", "saturday", "sunday"};
    const QString lower = name.toLower();
    for (std::size_t day = 0; day < names.size(); ++day)
    {
        const QString full = QLatin1String(names[day]);
        if (lower.size() >= 3 && full.startsWith(lower))
            return static_cast<int>(day);
    }
    return -1;
}

// The days of a list like "mon-fri,sun"; false when a name is no day.
bool ReadDays(const QString& text, std::array<bool, 7>* days, QString* error)
{
    for (const QString& item : text.split(QChar(','), Qt::SkipEmptyParts))
    {
        const QStringList ends = item.trimmed().split(QChar('-'));
        const int first = DayNumber(ends.front().trimmed());
        const int last = ends.size() == 2 ? DayNumber(ends.back().trimmed()) : first;
        if (ends.size() > 2 || first < 0 || last < 0)
        {
            *error =
                QStringLiteral("\"%1\" is no day (mon, tue, wed, thu, fri, sat, sun)").arg(item.trimmed());
            return false;
        }
        for (int day = first;; day = (day + 1) % 7)
        {
            (*days)[static_cast<std::size_t>(day)] = true;
            if (day == last)
                break;
        }
    }
    return true;
}

// Minutes since midnight of "8:00" or "24:00"; -1 when the text is no time.
int ReadTime(const QString& text)
{
    static const QRegularExpression time(QStringLiteral("^(\\d{1,2}):(\\d{2})$"));
    const QRegularExpressionMatch match = time.match(text);
    if (!match.hasMatch())
        return -1;
    const int hours = match.captured(1).toInt();
    const int minutes = match.captured(2).toInt();
    if (minutes > 59 || hours > 24 || (hours == 24 && minutes > 0))
        return -1;
    return hours * 60 + minutes;
}

int MinuteOfWeek(const QDateTime& when)
{
    const QTime time = when.time();
    return (when.date().dayOfWeek() - 1) * MinutesPerDay + time.hour() * 60 + time.minute();
}
} // namespace

std::optional<Schedule> Schedule::Parse(const QString& text, QString* error)
{
    QString reason;
    Schedule schedule;
    for (const QString& part : text.split(QChar(';'), Qt::SkipEmptyParts))
    {
        const QString window = part.trimmed();
        if (window.isEmpty())
            continue;
        static const QRegularExpression form(QStringLiteral("^(.*?)\\s*([0-9:]+)\\s*-\\s*([0-9:]+)$"));
        const QRegularExpressionMatch match = form.match(window);
        const QString dayText = match.captured(1);
        std::array<bool, 7> days{};
        if (dayText.trimmed().isEmpty())
            days.fill(true);
        else if (!ReadDays(dayText, &days, &reason))
            break;
        const int start = match.hasMatch() ? ReadTime(match.captured(2)) : -1;
        int end = match.hasMatch() ? ReadTime(match.captured(3)) : -1;
        if (start < 0 || end < 0 || start == MinutesPerDay)
        {
            reason = QStringLiteral("\"%1\" has no time range like 08:00-18:00").arg(window);
            break;
        }
        if (end <= start)
            end += MinutesPerDay;
        for (int day = 0; day < 7; ++day)
            if (days[static_cast<std::size_t>(day)])
                schedule.windows_.emplace_back(day * MinutesPerDay + start, day * MinutesPerDay + end);
    }
    if (!reason.isEmpty())
    {
        if (error != nullptr)
            *error = reason;
        return std::nullopt;
    }
    schedule.always_ = schedule.windows_.empty();
    return schedule;
}

bool Schedule::Watches(const QDateTime& when) const
{
    if (always_)
        return true;
    const int minute = MinuteOfWeek(when);
    for (const auto& [start, end] : windows_)
        if ((minute >= start && minute < end) ||
            (minute + MinutesPerWeek >= start && minute + MinutesPerWeek < end))
            return true;
    return false;
}

std::optional<QDateTime> Schedule::NextStart(const QDateTime& when) const
{
    if (always_)
        return std::nullopt;
    const int minute = MinuteOfWeek(when);
    int wait = MinutesPerWeek;
    for (const auto& window : windows_)
    {
        const int ahead = ((window.first - minute) % MinutesPerWeek + MinutesPerWeek) % MinutesPerWeek;
        if (ahead > 0 && ahead < wait)
            wait = ahead;
    }
    const int target = minute + wait;
    const int dayOfTarget = target / MinutesPerDay - (minute / MinutesPerDay);
    const int timeOfTarget = target % MinutesPerDay;
    return QDateTime(when.date().addDays(dayOfTarget), QTime(timeOfTarget / 60, timeOfTarget % 60));
}

bool IsSchedule(const QString& text)
{
    return Schedule::Parse(text).has_value();
}
