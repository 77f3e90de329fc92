#pragma once
// A study run of the day's learning files as one object. TStudyRun owns the
// run's state as a value (TRunState) and every run operation: take the next
// queued file, load it, apply the stage rules, begin the run, ask, judge and
// grade each question, and end the file. Each step says what happened as a
// value and writes only once it has decided: a step that needs the learner
// ("nothing can be asked: go on with random questions?") returns before it
// changes anything, the caller asks, and the step runs again.
//
// The main window drives it between its screens (app/TrainingFlow); the
// tool's study command and the tests drive it headless (RunScriptedStudy).
#include "data/WordTable.h"
#include "engine/AnswerJournal.h"
#include "engine/Grading.h"
#include "engine/Selection.h"
#include "engine/SelectionIndex.h"
#include "engine/StageRules.h"
#include "engine/TrainingState.h"

#include <QList>
#include <QString>
#include <array>
#include <optional>

class TCC;

// Everything a study run keeps between its steps.
struct TRunState {
    TTrainingState training;          // flags, quota left, correct today
    TFileQueue fileQueue;             // the day's files still to learn
    TQuestionList todaysQuestions;    // words due now, in the order they fell due
    TAskedWordList askedWords;        // the words asked in this run of the file
    TQuestion question;               // the question on screen (or the last one)
    // What choosing a question reads instead of the whole table; it follows
    // the word table by itself, so a copy of the state stays usable.
    TSelectionIndex selectionIndex;
    // Raises of every stage-1 counter since the last answer went to the
    // answer journal (the next answer's line carries them).
    int raisesSinceJournal = 0;
};

enum class TFileOpenResult {
    Opened,        // settings, words and records are in place
    QueueEmpty,    // no file left today
    TooFewWords,   // fewer than 3 words: refused (the learner has been told)
    Damaged,       // cut short or rows missing: refused, nothing touched (the learner has been told)
};

// What beginning the run of a file came to.
enum class TBeginResult {
    Ready,          // the start screen waits for a key
    NoQuestions,    // nothing is due, nothing new, nothing in stage 1: ask the learner, nothing changed yet
    NothingToAsk,   // the file ends without saving
};

enum class TAskResult {
    Asked,          // the run's question holds the new question
    QuotaUsedUp,    // the run is over: end the file with saving
    NoQuestions,    // ask the learner first (TStudyRun only; nothing changed yet)
    NothingToAsk,   // the learner ended the file in the no-questions case, or no word can be drawn
};

// The choice of a word: a position (0 for none), or the learner must first
// say whether random questions may follow.
struct TSelection {
    int word = 0;
    bool needsLearnersChoice = false;
};

// A file needs this many words to be learned.
inline constexpr int kMinLearningWords = 3;

class TStudyRun {
public:
    explicit TStudyRun(TCC &cc) : m_cc(cc) {}
    TStudyRun(const TStudyRun &) = delete;
    TStudyRun &operator=(const TStudyRun &) = delete;

    TRunState state;

    // ---- the file ----
    // Makes the first queued file current (code, slot, user-file flag); false
    // when the queue is empty. With advance the entry leaves the queue.
    bool SelectNextLearningFile(bool advance);
    // Settings, words and records of the current file. A file of fewer than
    // 3 words, or a damaged one, is refused with a message to the learner.
    TFileOpenResult LoadCurrentFile();
    // Both: the next queued file, loaded.
    TFileOpenResult OpenNextFile();
    // Some word has reached a decision point of the stage rules.
    bool StageNoticeDue() const;
    // Applies the stage rules and returns the notice's three lists; the
    // caller saves the record file once the learner has seen them.
    TStageNoticeLists ApplyStageRules();

    // ---- the run ----
    // The quota starts in full, the lists are emptied and the day's first
    // selection is made.
    TBeginResult Begin();
    // The learner chose "ランダム出題で続行": random questions until the
    // program ends. The step that asked runs again.
    void GoOnWithRandomQuestions();
    // Counts one question of the quota and prepares it: the word, its
    // choices, the typing decision.
    TAskResult Ask();
    // What the text typed so far is worth for the current question.
    TTypedVerdict ValidateTyped(const QString &typed) const;
    // Right when the option at the correct position was chosen in time, or
    // the typed text is the correct word.
    bool Judge(int chosenOption, bool inTime, const QString &typed) const;
    // The level rules for the current question's word, decided first and
    // then committed; the answer then goes to the file's answer journal
    // (one that cannot be written is told once, and the run goes on).
    TAnswerEffect Grade(bool correct);
    // Questions asked in this run of the file; whether something was asked
    // (a file that ends in the middle is then saved); the quota's end.
    int AskedCount() const;
    bool HasAnswers() const { return AskedCount() > 0; }
    bool QuotaUsedUp() const;
    // With save: quota statistics and learning days + 1, then the record
    // file, the settings and the catalog saved as one commit (a failed save
    // leaves the statistics as they were). Then the word table and the run's
    // lists are cleared for the next file. The run's answer journal is
    // removed once the save has landed (without save: the answers are
    // dropped on purpose).
    void End(bool save);
    // At the load of a file: the answers of a run that ended without its
    // save (the program killed or crashed) go from the file's answer journal
    // back into the records just read, in order, and the file's end-of-file
    // save follows as if that run had been closed after them; then the
    // journal is removed. A journal of an older record is removed with a
    // notice, and a damaged one is kept aside and named. Nothing while
    // nothing may be written.
    void ReplayAnswerJournal();

    // ---- the choice of a question ----
    // Mode Next: retry, due words, a new word, a random question. Mode
    // FirstOfDay: today's due stage-2/3 words join the list. Nothing is
    // changed when the learner must choose first.
    TSelection Select(TSelectMode mode);
    // A distractor for the chosen word (and unlike the first one, when given).
    int DrawDistractor(int chosen, int first);
    // Chooses the word and its choices, counts it and decides typing (Ask
    // without the quota): Asked, NoQuestions or NothingToAsk.
    TAskResult PrepareQuestion();

private:
    bool LearnerMustChoose(TSelectMode mode);
    // Quota statistics, learning days + 1 and the one commit of the file's
    // end (the statistics as they were when it fails).
    void SaveFileEnd();
    // The same for a run of `asked` questions with `correct` right answers.
    void SaveRunOf(int asked, int correct);
    void JournalAnswer(bool correct);

    TCC &m_cc;
    TAnswerJournal m_journal;
    bool m_journalRefused = false;  // the journal could not be written in this run (told once)
};

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
