#pragma once
// The goal simulation: how many days, at the learner's present pace, until
// 90 % of the current file's words reach a goal level (6 to 10). It runs the
// real learning rules on the live word table, day after simulated day, with a
// random right or wrong answer to every question. It takes a copy of the
// study run's whole state and of every word record first and puts them back
// when it ends, however it ends; only the engine's random generator goes on
// from where the run left it. No file is read or written.
//
// The caller chooses how the run keeps the windows alive: the literal way
// processes events and sleeps 1 ms after every question; the fast way does
// not sleep and refreshes the windows at most every 50 ms. Neither touches
// the engine, so both give the same days, levels and chosen words for the
// same random seed.
#include "engine/MasteryLevels.h"

#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>

class TCC;

inline constexpr int kSimulationDayLimit = 3000;
inline constexpr int kFirstGoalLevel = 6;
inline constexpr int kLastGoalLevel = 10;

struct TSimulationResult {
    int days = 0;              // simulated days until the goal (3001: not within the limit)
    bool goalReached = false;
    bool dayLimitReached = false;
    bool aborted = false;
    qint64 questions = 0;
    TLevelHistogram histogram{};   // at the end of the run, before the restore
    quint64 chosenWordsHash = 0;   // FNV-1a over the chosen word positions, in order
};

class TGoalSimulation {
public:
    explicit TGoalSimulation(TCC &cc);

    // The pace the run assumes: the expected correct rate p (percent) and the
    // simulated daily quota Q.
    int ExpectedCorrectRate() const;
    int SimulatedQuota() const;

    // Why a run cannot start for this goal (0: none chosen), or nothing.
    // selfReportPending: the status window still waits for the learner's
    // report of an older file's statistics.
    std::optional<QString> Refusal(int goalLevel, bool selfReportPending) const;

    // Called after every simulated question (keep the windows alive; true
    // aborts the run), and at every simulated day change with the day number
    // (refresh the level display).
    std::function<bool()> afterQuestion;
    std::function<void(int day)> atDayChange;

    // Runs until the goal, the day limit or an abort, then restores the word
    // records, the study run's state (question, flags, lists, quota) and the
    // day offset exactly as they were.
    TSimulationResult Run(int goalLevel);

private:
    bool GoalReached(int goalLevel, int threshold) const;
    void GiveUpPass();

    TCC &m_cc;
};
