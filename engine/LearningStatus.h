#pragma once
// Where the learner stands with the current file: days, study runs, correct
// rates, today's counts, the words at each mastery level and, for the TOEIC
// files, an estimated TOEIC score. Computed here, shown by the status window
// and printed by the tool; nothing here changes the learner's data except the
// daily quota, through ChangeDailyQuota.
#include "data/WordTable.h"
#include "engine/MasteryLevels.h"

#include <QString>
#include <array>
#include <optional>

class TCC;

// How the status window was opened: from the menu, at the end of a file's
// day, or from the file manager for a file picked there.
enum class TStatusMode { Normal, FileEnd, Manager };

// The levels the window lists, in its order: 0..12, then the excluded words.
inline constexpr std::array<int, 14> kStatusLevels = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, kExcludedLevel};

// Older settings (below this version) did not keep the statistics: the
// learner reports them once.
inline constexpr qint32 kFirstVersionWithStatistics = 50;

struct TStatusLevel {
    int level = 0;
    QString name;    // "  Aries ( LV 1 )    "
    int count = 0;
};

struct TLearningStatus {
    QString fileCaption;       // "+++ <title> +++"
    int daysSinceStart = 0;
    int learningDays = 0;
    int todayCorrectRate = 0;
    int totalCorrectRate = 0;
    int answeredToday = 0;
    int dailyQuota = 0;
    // The average quota achievement; at a file's end, with today counted in.
    int achievement = 0;
    int wordCount = 0;
    std::array<TStatusLevel, kStatusLevels.size()> levels;
    // TT and TJ only; none for a file too small to estimate.
    std::optional<int> toeicEstimate;
    bool toeicFile = false;
    bool selfReportNeeded = false;
};

// The name of a level as the status window shows it.
QString StatusLevelName(int level);

// S = sum of L^4 x words at level L (1..12) + 8 x excluded words;
// D = (W x 12) div 860; estimate = trunc((S div D) / 2200) + 330, at most 860.
// None when D is 0 (a file of fewer than 72 words).
std::optional<int> ToeicEstimate(const TLevelHistogram &histogram, int wordCount);

TLearningStatus ComputeLearningStatus(const TCC &cc, TStatusMode mode);

// The daily quota moved to a new value: the questions answered today stay as
// they are, so the remaining quota moves with it.
void ChangeDailyQuota(TCC &cc, int newQuota);
