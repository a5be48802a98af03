#include "common/Schedule.h"

#include <gtest/gtest.h>

namespace
{
// 6 December 1999 is a Monday.
QDateTime At(int day, const char* time)
{
    return QDateTime(QDate(1999, 12, 6).addDays(day),
                     QTime::fromString(QLatin1String(time), QStringLiteral("HH:mm")));
}
} // namespace

TEST(ScheduleTest, WindowsReadWithDaysRangesAndOvernightTimesAndBadTextIsRefused)
{
    const char* good[] = {"",
                          "  ",
                          "mon-fri 08:00-18:00; sat,sun 00:00-24:00; 22:00-06:00",
                          "Monday 8:00-9:30",
                          "fri-mon 20:00 - 23:59;",
                          "sat, sun 00:00-24:00"};
    for (const char* text : good)
        EXPECT_TRUE(Schedule::Parse(QLatin1String(text))) << text;
    const char* bad[] = {
        "someday 08:00-09:00", "mon 25:00-26:00", "08:00",          "mon-fri",
        "08:60-09:00",         "24:00-06:00",     "mo 08:00-09:00", "mon-tue-wed 08:00-09:00"};
    for (const char* text : bad)
    {
        QString reason;
        EXPECT_FALSE(Schedule::Parse(QLatin1String(text), &reason)) << text;
        EXPECT_FALSE(reason.isEmpty()) << text;
    }
    EXPECT_TRUE(Schedule::Parse(QString())->Always());
}

TEST(ScheduleTest, WatchesInsideItsWindowsAcrossMidnightAndTheWeeksEnd)
{
    const Schedule schedule = *Schedule::Parse(QStringLiteral("mon-fri 08:00-18:00; sun 22:00-06:00"));
    const struct
    {
        int Day;
        const char* Time;
        bool Watches;
    } cases[] = {
        {0, "07:59", false}, {0, "08:00", true},  {0, "17:59", true}, {0, "18:00", false}, {4, "12:00", true},
        {5, "12:00", false}, {6, "21:59", false}, {6, "22:00", true}, {6, "23:59", true},  {7, "00:00", true},
        {7, "05:59", true},  {7, "06:00", false}, {0, "03:00", true}, // the Sunday night of the week before
    };
    for (const auto& c : cases)
        EXPECT_EQ(schedule.Watches(At(c.Day, c.Time)), c.Watches) << c.Day << ' ' << c.Time;

    const Schedule overnight = *Schedule::Parse(QStringLiteral("22:00-06:00"));
    EXPECT_TRUE(overnight.Watches(At(2, "23:30")));
    EXPECT_TRUE(overnight.Watches(At(3, "05:30")));
    EXPECT_FALSE(overnight.Watches(At(3, "12:00")));
    EXPECT_TRUE(Schedule::Parse(QStringLiteral("sat,sun 00:00-24:00"))->Watches(At(6, "23:59")));
}

TEST(ScheduleTest, TheNextStartIsTheNearestWindowAhead)
{
    const Schedule schedule = *Schedule::Parse(QStringLiteral("mon-fri 08:00-18:00; sat 10:00-12:00"));
    EXPECT_EQ(schedule.NextStart(At(0, "19:00")), At(1, "08:00"));
    EXPECT_EQ(schedule.NextStart(At(0, "07:00")), At(0, "08:00"));
    EXPECT_EQ(schedule.NextStart(At(4, "18:30")), At(5, "10:00"));
    EXPECT_EQ(schedule.NextStart(At(5, "13:00")), At(7, "08:00")) << "over the week's end";
    EXPECT_FALSE(Schedule::Parse(QString())->NextStart(At(0, "12:00")));
}
