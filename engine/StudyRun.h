#pragma once
// A study run of one learning file, as engine operations: open the next
// queued file, begin the run, ask, judge and grade each question, end the
// file. The main window calls them between its screens; tools and tests run
// them headless (RunScriptedStudy).
#include "data/WordTable.h"

#include <QList>
#include <QString>
#include <array>
#include <optional>

class TCC;

enum class TFileOpenResult {
    Opened,        // settings, words and records are in place
    QueueEmpty,    // no file left today
    TooFewWords,   // fewer than 3 words: refused (the learner has been told)
    Damaged,       // cut short or rows missing: refused, nothing touched (the learner has been told)
};

enum class TAskResult {
    Asked,          // TCC::question holds the new question
    QuotaUsedUp,    // the run is over: end the file with saving
    NothingToAsk,   // the learner ended the file in the no-questions case, or no word can be drawn
};

// A file needs this many words to be learned.
inline constexpr int kMinLearningWords = 3;

// ---- headless runs ----

// One scripted answer: right or wrong, and optionally the text typed.
struct TScriptedAnswer {
    bool correct = false;
    std::optional<QString> typed;
};

// What happened to one question of a scripted run.
struct TQuestionRecord {
    int number = 0;            // 1.. within the run
    int word = 0;              // position
    QString headword;          // as stored
    int levelBefore = 0;
    int levelAfter = 0;
    TStage stageAfter = TStage::One;
    bool correct = false;
    bool retry = false;
    bool random = false;
    bool newWord = false;
    bool typing = false;
    std::array<int, 3> choices{};
};

enum class TRunEnd {
    NoFile,          // the queue was empty
    TooFewWords,     // refused at the start
    DamagedFile,     // the learning file is damaged: refused at the start
    NothingAtStart,  // nothing could be asked at the start: closed without saving
    QuotaUsedUp,     // closed with saving
    ScriptEnded,     // "このファイルを終了": closed with saving
    NothingToAsk,    // ended in the middle: saved when something was answered
};

struct TScriptedRunResult {
    QList<TQuestionRecord> questions;
    TRunEnd end = TRunEnd::NoFile;
    bool saved = false;
};

// Takes the next queued file and runs it with the scripted answers until the
// quota or the script ends, then closes it (saving quota statistics,
// settings, record file and catalog, in that order). The stage rules that
// are due at the start are applied and the record saved, as the stage-notice
// window does. The catalog must be loaded and the queue filled.
TScriptedRunResult RunScriptedStudy(TCC &cc, const QList<TScriptedAnswer> &answers);
