#pragma once
// Mastery levels and stages. A word climbs from level 0 through stage 1
// (levels 1..5, spaced in questions) to stage 2 (levels 6..12, spaced in
// days); after 800 days in stage 2 at level 10 or more it moves to stage 3,
// asked at twice the stage-2 interval. A word that falls too far behind its
// schedule starts over at level 0.
#include "data/WordTable.h"

#include <QDate>
#include <QtGlobal>
#include <array>

// Due interval by level: stage 1 in questions (levels 1..5), stage 2 in days
// (levels 6..12). Retention has fallen to 80 % by then.
inline constexpr std::array<qint32, 13> kLevelInterval = {
    0, 16, 40, 120, 280, 460, 20, 60, 100, 140, 180, 220, 260};
// Give-up interval of a stage-2 word, in days after its last stage-2 answer:
// retention has fallen to 40 % and the word starts over.
inline constexpr std::array<qint32, 13> kGiveUpDays = {
    0, 0, 0, 0, 0, 0, 70, 200, 370, 540, 999, 999, 999};
// Stage 3 waits this many times the stage-2 interval.
inline constexpr qint32 kStage3IntervalFactor = 2;

inline constexpr qint32 kStage1Limit = 1600;     // questions to reach level 6
inline constexpr qint32 kStage2Duration = 800;   // days in stage 2
inline constexpr qint32 kStage3EntryLevel = 10;  // level needed after those days
inline constexpr qint32 kFirstStage2Level = 6;
inline constexpr qint32 kTopLevel = 12;

// Interval of a level (0 outside 1..12).
constexpr qint32 LevelInterval(qint32 level)
{
    return level >= 1 && level <= kTopLevel ? kLevelInterval[static_cast<size_t>(level)] : 0;
}
constexpr qint32 GiveUpDaysOfLevel(qint32 level)
{
    return level >= 1 && level <= kTopLevel ? kGiveUpDays[static_cast<size_t>(level)] : 0;
}
constexpr qint32 Stage3Interval(qint32 level)
{
    return kStage3IntervalFactor * LevelInterval(level);
}

// Number of words at each level 0..99 (99: excluded words).
using TLevelHistogram = std::array<int, 100>;

// What grading did to a word; the main window words its feedback from it.
struct TAnswerEffect {
    qint32 previousLevel = 0;
    qint32 level = 0;
    bool previousRetry = false;   // the answer was given to a retry question
    bool master = false;          // a stage-1 word reached stage 2 ("MASTER" plays)
    bool level6Miss = false;      // a wrong answer left a level-6 word at 6
};

// Enters the word's level into its history and sets its next due point.
void RecordAnswerOn(TTango &word, const QDate &today);
// Forgets the word's stage-1 history (it has left stage 1).
void ClearStage1HistoryOf(TTango &word);
