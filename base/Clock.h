#pragma once
// The one clock of the engine: today's date plus the test day offset (whole
// days added while the goal simulation runs). Tests fix "today" to make every
// date rule exact.
//
// Dates inside the engine are day numbers (Julian days). The calendar day of
// the real clock is looked up in local time once and kept until the next
// local midnight: a local-time conversion reads the time-zone file again
// each time (when TZ is not set), far too slow for rules that ask for today
// once per word and question.
#include <QDate>
#include <QtGlobal>
#include <optional>

// Today's local calendar day for a moment of the system clock, converted
// once and kept until the next local midnight. A clock set back, or a
// minute gone by, looks again, so a changed time zone or a changed system
// date shows within a minute. Used from one thread.
class TLocalDay {
public:
    qint64 DayAt(qint64 msecsSinceEpoch) const;
    qint64 Day() const;   // now
    // How many local-time conversions were made (what the cache saves).
    int Conversions() const { return m_conversions; }

private:
    mutable qint64 m_day = 0;
    mutable qint64 m_validFrom = 0;
    mutable qint64 m_validUntil = 0;   // m_day holds for moments in [from, until)
    mutable int m_conversions = 0;
};

class TClock {
public:
    // Today as a day number, the test day offset included.
    qint64 TodayDay() const
    {
        const qint64 base = m_fixedToday ? *m_fixedToday : m_localDay.Day();
        return base + m_dayOffset;
    }
    QDate Today() const { return QDate::fromJulianDay(TodayDay()); }
    int DayOffset() const { return m_dayOffset; }
    void SetDayOffset(int days) { m_dayOffset = days; }
    // Fixes the calendar day the clock starts from (tests, scripted runs).
    void FixToday(const QDate &date) { m_fixedToday = date.toJulianDay(); }
    void Unfix() { m_fixedToday.reset(); }

private:
    std::optional<qint64> m_fixedToday;
    TLocalDay m_localDay;
    int m_dayOffset = 0;
};
