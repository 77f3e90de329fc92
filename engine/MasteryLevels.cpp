// History entries and due points, record resets, level counts and the engine's date tests.
#include "engine/MasteryLevels.h"

#include "data/RecordFile.h"
#include "engine/CommonUnit.h"
#include "engine/WordRecords.h"
#include "base/DateText.h"

#include <climits>

namespace {
QString EntryText(const QString &key, qint32 level)
{
    return key + u'[' + QString::number(level) + u']';
}
}

// ---- dates ----

QString TCC::ComputeToday() const
{
    return BuildDateText(clock.Today());
}

bool TCC::IsDateReached(const QString &date) const
{
    return clock.TodayDay() >= ReadDateText(date).toJulianDay();
}

bool TCC::IsDueOn(const TDueDate &due, qint64 day)
{
    if (due.IsDate())
        return day >= due.Day();
    return day >= ReadDateText(due.Text()).toJulianDay();
}

int TCC::DayNumberSince(const QString &date) const
{
    return static_cast<int>(clock.TodayDay() - ReadDateText(date).toJulianDay()) + 1;
}

// ---- history entries and due points ----

void TWordRecords::RecordAnswer(int position)
{
    RecordAnswerOn(words[position], m_context.clock.Today());
}

void RecordAnswerOn(TTango &t, const QDate &today)
{
    if (t.stage != TStage::Three) {
        const TStage stageBefore = t.stage;
        t.stage = t.level < kFirstStage2Level ? TStage::One : TStage::Two;
        // Only a damaged record (a stage-2 word below level 6) comes back to
        // stage 1 here. Its stage-1 history was never read and may be
        // anything: it starts again with this answer.
        if (stageBefore != TStage::One && t.stage == TStage::One) {
            t.stage1History.clear();
            t.stage1Count = 1;
            t.stage1Questions.fill(0);
            t.stage1Levels.fill(0);
        }
    }

    if (t.stage == TStage::One) {
        if (t.stage1Count == 0) {
            t.stage1Count = 1;
            t.stage1Counter = 1;
        }
        const int e = t.stage1Count;
        TStage1Entry entry;
        if (e > 1) {
            const TStage1Entry before = Stage1EntryAt(t, e - 1);
            entry.question = static_cast<qint32>(
                qMin<qint64>(qint64(before.question) + LevelInterval(before.level), INT_MAX));
        }
        entry.level = t.level;
        StoreStage1Entry(t, e, entry);
        t.stage1Limit = qint64(entry.question) + LevelInterval(t.level) >= kStage1Limit;
        t.stage1History += EntryText(QString::number(entry.question), t.level);
        return;
    }

    if (t.stage == TStage::Three) {
        t.nextDueDate = TDueDate::OfDay(today.toJulianDay() + Stage3Interval(t.level));
        return;
    }

    t.nextDueDate = TDueDate::OfDay(today.toJulianDay() + LevelInterval(t.level));
    // A second answer on the same day takes the place of that day's entry, so
    // a day holds one entry and the count always matches the text.
    const QList<TStage2Entry> entries = ParseStage2History(t.stage2History);
    if (!entries.isEmpty() && entries.last().day == today.toJulianDay()) {
        const qsizetype open = t.stage2History.lastIndexOf(u'[');
        t.stage2History = t.stage2History.left(open + 1) + QString::number(t.level) + u']';
        t.stage2Count = static_cast<qint32>(entries.size());
    } else {
        t.stage2History += EntryText(BuildDateText(today), t.level);
        t.stage2Count = static_cast<qint32>(entries.size()) + 1;
    }
    StoreStage2Entry(t, t.stage2Count, {today.toJulianDay(), t.level});
}

// ---- resets ----

void TWordRecords::ResetWordProgress(int position)
{
    TTango &t = words[position];
    t.stage = TStage::One;
    t.level = 0;
    t.stage2History.clear();
    t.stage2Count = 0;
    t.stage2Days.fill(0);
    t.stage2Levels.fill(0);
    t.nextDueDate.clear();
    ClearStage1History(position);
}

void TWordRecords::ClearStage1History(int position)
{
    ClearStage1HistoryOf(words[position]);
}

void ClearStage1HistoryOf(TTango &t)
{
    t.stage1History.clear();
    t.stage1Count = 0;
    t.stage1Questions.fill(0);
    t.stage1Levels.fill(0);
    t.stage1Counter = 0;
    t.stage1Limit = false;
}

void TWordRecords::RestartStage2Today(int position)
{
    TTango &t = words[position];
    t.stage2History.clear();
    t.stage2Count = 0;
    t.stage2Days.fill(0);
    t.stage2Levels.fill(0);
    t.stage1Counter = 0;
    t.nextDueDate = TDueDate::OfDay(m_context.clock.TodayDay());
    t.stage1Limit = false;
}

// ---- exclusion switch ----

bool TCC::ToggleWordExclusion(int position)
{
    TTango &t = wordRecords.words[position];
    bool excluded;
    if (t.level != kExcludedLevel) {
        InitWordRecord(position);
        t.level = kExcludedLevel;
        excluded = true;
    } else {
        t.level = 0;   // a new word again
        excluded = false;
    }
    training.retryPending = false;
    return excluded;
}

// ---- counts ----

int TWordRecords::CountWordsAtLevel(int level) const
{
    const int total = TangoTotal();
    int count = 0;
    for (int p = 1; p <= total; ++p)
        if (words[p].level == level)
            ++count;
    return count;
}

TLevelHistogram TWordRecords::BuildLevelHistogram() const
{
    TLevelHistogram histogram{};
    const int total = TangoTotal();
    for (int p = 1; p <= total; ++p) {
        const qint32 level = words[p].level;
        if (level >= 0 && level < static_cast<qint32>(histogram.size()))
            ++histogram[static_cast<size_t>(level)];
    }
    return histogram;
}
