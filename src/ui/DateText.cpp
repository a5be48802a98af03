#include "ui/DateText.h"

namespace
{
// The locale's long time format names the time zone; the general date format does not show it.
QString LongTimeWithoutZone(const QLocale& locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString result;
    bool quoted = false;
    for (const QChar c : format)
    {
        if (c == QChar('\''))
            quoted = !quoted;
        if (!quoted && c == QChar('t'))
            continue;
        result.append(c);
    }
    return result.trimmed();
}
} // namespace

QString GeneralDate(const QDateTime& when, const QLocale& locale)
{
    const QString date = locale.toString(when.date(), QLocale::ShortFormat);
    const QTime time = when.time();
    if (time.hour() == 0 && time.minute() == 0 && time.second() == 0)
        return date;
    return date + QChar(' ') + locale.toString(when.time(), LongTimeWithoutZone(locale));
}
