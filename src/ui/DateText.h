#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// The general date format: the locale's short date, a blank and the locale's long time (without a
// time zone); at exactly midnight the date alone.
QString GeneralDate(const QDateTime& when, const QLocale& locale = QLocale());

// Where the program reads the current local date and time.
class IClock
{
public:
    virtual ~IClock() = default;
    virtual QDateTime Now() const = 0;
};

class SystemClock final : public IClock
{
public:
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
};

// The current date and time as text, as it goes into log lines and status texts.
inline QString NowText(const IClock& clock)
{
    return GeneralDate(clock.Now());
}
