#include "ui/DateText.h"

#include <gtest/gtest.h>

TEST(GeneralDate, ShortDateBlankLongTimeWithoutZoneAndTheDateAloneAtMidnight)
{
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QDate day(1999, 12, 7);
    EXPECT_EQ(GeneralDate(QDateTime(day, QTime(15, 4, 5)), us), QStringLiteral("12/7/99 3:04:05 PM"));
    EXPECT_EQ(GeneralDate(QDateTime(day, QTime(0, 0)), us), QStringLiteral("12/7/99"));
    EXPECT_EQ(GeneralDate(QDateTime(day, QTime(0, 0, 0, 999)), us), QStringLiteral("12/7/99"))
        << "milliseconds are not shown, so they do not count";
    EXPECT_EQ(GeneralDate(QDateTime(day, QTime(0, 0, 1)), us), QStringLiteral("12/7/99 12:00:01 AM"));

    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(GeneralDate(QDateTime(day, QTime(15, 4, 5)), german), QStringLiteral("07.12.99 15:04:05"));
}
