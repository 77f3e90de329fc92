// The engine's calendar day: looked up in local time once and kept until the
// next local midnight, and due dates read once into day numbers.
#include "base/Clock.h"
#include "base/DateText.h"

#include <QDateTime>
#include <QTime>
#include <gtest/gtest.h>

#include <ctime>

namespace {
// Sets TZ for the test and puts back what was there.
class TTimeZone {
public:
    explicit TTimeZone(const char *zone) : m_had(qEnvironmentVariableIsSet("TZ")), m_old(qgetenv("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~TTimeZone()
    {
        if (m_had)
            qputenv("TZ", m_old);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    bool m_had;
    QByteArray m_old;
};

qint64 LocalMoment(const QDate &date, const QTime &time)
{
    return QDateTime(date, time).toMSecsSinceEpoch();
}

constexpr qint64 kMinuteMs = 60 * 1000;
constexpr qint64 kHourMs = 60 * kMinuteMs;
}

// The last moment of a day still belongs to it and the next moment to the
// next day, also on days that are 23 or 25 hours long and where midnight
// itself is skipped (Santiago moves from 23:59:59 to 01:00).
TEST(LocalDay, TheDayChangesExactlyAtLocalMidnight)
{
    struct TCase {
        const char *zone;
        QDate day;
    };
    const TCase cases[] = {
        {"Asia/Tokyo", QDate(2024, 4, 1)},
        {"Europe/Berlin", QDate(2024, 3, 30)},    // the next day is 23 hours long
        {"Europe/Berlin", QDate(2024, 3, 31)},
        {"Europe/Berlin", QDate(2024, 10, 27)},   // 25 hours long
        {"America/Santiago", QDate(2024, 9, 7)},  // the next midnight does not exist
        {"UTC", QDate(2023, 12, 31)},
    };
    for (const TCase &c : cases) {
        const TTimeZone zone(c.zone);
        const qint64 lastMoment = LocalMoment(c.day, QTime(23, 59, 59, 999));
        TLocalDay localDay;
        // Looked up in the day's last minute, then asked as it runs out.
        EXPECT_EQ(localDay.DayAt(lastMoment - kMinuteMs / 2), c.day.toJulianDay()) << c.zone;
        EXPECT_EQ(localDay.DayAt(lastMoment), c.day.toJulianDay()) << c.zone << " " << qPrintable(c.day.toString());
        EXPECT_EQ(localDay.DayAt(lastMoment + 1), c.day.toJulianDay() + 1) << c.zone << " " << qPrintable(c.day.toString());
        EXPECT_EQ(localDay.DayAt(lastMoment + 2 * kHourMs), c.day.toJulianDay() + 1) << c.zone;
    }
}

// Asking all day long converts once a minute at most; a clock set back or a
// minute gone by looks again.
TEST(LocalDay, LooksUpLocalTimeOncePerMinuteAndAgainWhenTheClockIsSetBack)
{
    const TTimeZone zone("Europe/Berlin");
    const QDate day(2024, 6, 10);
    const qint64 noon = LocalMoment(day, QTime(12, 0));
    TLocalDay localDay;
    for (qint64 ms = 0; ms < kMinuteMs; ms += 7)
        ASSERT_EQ(localDay.DayAt(noon + ms), day.toJulianDay());
    EXPECT_EQ(localDay.Conversions(), 1);

    EXPECT_EQ(localDay.DayAt(noon + kMinuteMs), day.toJulianDay());
    EXPECT_EQ(localDay.Conversions(), 2);

    // The system date set back two days.
    EXPECT_EQ(localDay.DayAt(noon - 48 * kHourMs), day.toJulianDay() - 2);
    EXPECT_EQ(localDay.Conversions(), 3);
}

TEST(LocalDay, FollowsAChangedTimeZoneWithinAMinute)
{
    // 2024-06-10 23:30 UTC is already June 11 in Tokyo.
    const qint64 moment = QDateTime(QDate(2024, 6, 10), QTime(23, 30), Qt::UTC).toMSecsSinceEpoch();
    TLocalDay localDay;
    {
        const TTimeZone zone("UTC");
        EXPECT_EQ(localDay.DayAt(moment), QDate(2024, 6, 10).toJulianDay());
    }
    const TTimeZone zone("Asia/Tokyo");
    EXPECT_EQ(localDay.DayAt(moment + kMinuteMs), QDate(2024, 6, 11).toJulianDay());
}

TEST(Clock, AFixedDayAndTheDayOffsetAddUp)
{
    TClock clock;
    clock.FixToday(QDate(2009, 7, 5));
    clock.SetDayOffset(30);
    EXPECT_EQ(clock.Today(), QDate(2009, 8, 4));
    EXPECT_EQ(clock.TodayDay(), QDate(2009, 8, 4).toJulianDay());
    clock.Unfix();
    clock.SetDayOffset(0);
    // Unfixed, the clock is on the local calendar day (the test may run
    // across midnight: either side of it will do).
    const QDate before = QDate::currentDate();
    const QDate today = clock.Today();
    const QDate after = QDate::currentDate();
    EXPECT_TRUE(today == before || today == after) << qPrintable(today.toString());
}

// A due date keeps its text exactly as read, in either form, and carries
// its day number; an empty text or one that is no date has none.
TEST(DueDate, KeepsItsTextAndReadsItsDayOnce)
{
    struct TCase {
        const char *text;
        std::optional<QDate> day;
    };
    const TCase cases[] = {
        {"2009/7/5", QDate(2009, 7, 5)},
        {"2009/07/05", QDate(2009, 7, 5)},
        {"1/1/1", QDate(1, 1, 1)},
        {"", std::nullopt},
        {"2009/2/30", std::nullopt},
        {"tomorrow", std::nullopt},
    };
    for (const TCase &c : cases) {
        const QString text = QString::fromLatin1(c.text);
        const TDueDate due(text);
        EXPECT_EQ(due.Text(), text) << c.text;
        EXPECT_EQ(due.IsDate(), c.day.has_value()) << c.text;
        if (c.day) {
            EXPECT_EQ(due.Day(), c.day->toJulianDay()) << c.text;
        }
        TDueDate assigned;
        assigned = text;
        EXPECT_EQ(assigned.Day(), due.Day()) << c.text;
    }
    const TDueDate built = TDueDate::OfDay(QDate(2009, 7, 5).toJulianDay());
    EXPECT_EQ(built.Text(), QStringLiteral("2009/7/5"));
    EXPECT_EQ(built.Day(), QDate(2009, 7, 5).toJulianDay());
    TDueDate cleared = built;
    cleared.clear();
    EXPECT_TRUE(cleared.isEmpty());
    EXPECT_FALSE(cleared.IsDate());
}
