#include "base/Clock.h"

#include <QDateTime>

namespace {
// The longest a looked-up day is kept without looking again.
constexpr qint64 kRecheckMs = 60 * 1000;
}

qint64 TLocalDay::DayAt(qint64 msecsSinceEpoch) const
{
    if (m_conversions > 0 && msecsSinceEpoch >= m_validFrom && msecsSinceEpoch < m_validUntil)
        return m_day;
    const QDate date = QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch).date();
    ++m_conversions;
    m_day = date.toJulianDay();
    // The next day's first moment (not always 00:00: some zones skip it).
    const qint64 midnight = date.addDays(1).startOfDay().toMSecsSinceEpoch();
    m_validFrom = msecsSinceEpoch;
    m_validUntil = qMin(midnight, msecsSinceEpoch + kRecheckMs);
    return m_day;
}

qint64 TLocalDay::Day() const
{
    // The system clock's moment alone needs no time-zone look-up.
    return DayAt(QDateTime::currentMSecsSinceEpoch());
}
