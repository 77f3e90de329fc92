#pragma once
// The one clock of the engine: today's date plus the test day offset (whole
// days added while the goal simulation runs). Tests fix "today" to make every
// date rule exact.
#include <QDate>
#include <optional>

class TClock {
public:
    QDate Today() const
    {
        const QDate base = m_fixedToday ? *m_fixedToday : QDate::currentDate();
        return base.addDays(m_dayOffset);
    }
    int DayOffset() const { return m_dayOffset; }
    void SetDayOffset(int days) { m_dayOffset = days; }
    // Fixes the calendar day the clock starts from (tests, scripted runs).
    void FixToday(const QDate &date) { m_fixedToday = date; }
    void Unfix() { m_fixedToday.reset(); }

private:
    std::optional<QDate> m_fixedToday;
    int m_dayOffset = 0;
};
