#pragma once
// TCC, the engine object: it owns the word table, the catalog rows, the
// settings block of the current file and every file format, and the learning
// rules work on them. Qt Core only: the whole engine runs headless.
//
// The operations are declared here and defined in the file of their concern
// (workspace/, data/, engine/).
#include "data/WordTable.h"
#include "engine/AnswerCheck.h"
#include "base/Clock.h"
#include "engine/MasteryLevels.h"
#include "base/Notifier.h"
#include "base/Random.h"
#include "engine/RetentionCurve.h"
#include "engine/StageRules.h"
#include "engine/TrainingState.h"
#include "engine/Selection.h"
#include "engine/StudyRun.h"
#include "workspace/Catalog.h"
#include "workspace/FileSettings.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>

// Top and left of a window on the screen.
struct TWindowPosition {
    int top = 0;
    int left = 0;
};

class TSpeech;   // speech/Speech.h: speech and the parakeet (outside the engine library)

class TCC {
public:
    TCC();
    ~TCC();
    TCC(const TCC &) = delete;
    TCC &operator=(const TCC &) = delete;

    // ---- where things live (both texts end in "/") ----
    QString programFolder;
    QString userFolder;

    // ---- one clock, one random generator, one way to talk to the learner ----
    TClock clock;
    TRandom random;
    TNotifier *notifier = nullptr;   // never null after construction
    TCollectingNotifier defaultNotifier;
    // Speech and the parakeet, set by the program when it builds them.
    TSpeech *speech = nullptr;

    // ---- catalog ----
    TCatalog catalog;       // local rows (FileInfo_PC.dat, FileInfo_User.dat, Title.dat)
    TCatalog siteCatalog;   // the server's rows (FileInfo_SITE.dat)

    // ---- the current learning file ----
    QString fileCode;
    int fileSlot = 0;
    bool userFile = false;
    TWordTable words;

    // True while the goal simulation runs on the live table: nothing is saved.
    bool simulationRunning = false;

    // ---- start-up file steps ----
    QString FindUserFolder();
    void MigrateOldWorkspace();
    void EnsureUserFolders();
    // Top and left of the main window from setting/FormPosition.dat; nullopt
    // when there is no such file (the window then centres itself).
    std::optional<TWindowPosition> ReadMainWindowPosition() const;
    // Runs the start-up file steps that do not need a window (program folder
    // given): migration, user folder, folder tree.
    void RunStartupFileSteps(const QString &programFolderPath);

    // ---- catalog ----
    void LoadServerCatalog();      // reads FileInfo_SITE.dat into siteCatalog
    void LoadCatalog();
    void SaveCatalog();
    void LoadUserFileTitles();
    void MergeServerCatalog();
    bool IsUserFileSlot() const { return fileSlot > 31; }

    // ---- learning file ----
    void SetCurrentFile(const QString &code);
    // Where a built-in file's learning data lives in the program folder.
    QString BuiltInLearningFilePath(const QString &code) const;
    void LoadLearningFile();   // ends by calling LoadRecordFile()
    void LoadRecordFile();     // the record half of each TTango
    QString NormalizeMeaning(const QString &meaning) const;

    // ---- answer checking and typing rules (on the current file's kind) ----
    bool lookAlike = false;        // set by IsTypingHintAllowed, read by TypingHint
    QStringList acceptedForms;     // rebuilt by ExpandAcceptedAnswers
    THeadwordKind HeadwordKind() const { return HeadwordKindOf(fileCode, userFile); }
    QString FormatHeadword(const QString &word, bool stripDigit) const;
    QString FormatPhraseHeadword(const QString &word, bool plain) const;
    // What a choice button shows for the word at a position (also its typing form).
    QString DisplayForm(int position) const;
    void ExpandAcceptedAnswers(const QString &word);
    bool CheckTypedAnswer(const QString &word, const QString &typed) const;
    bool CheckTypedAnswerAlternatives(const QString &word, const QString &typed,
                                      const std::array<int, 3> &choices) const;
    bool AreConfusable(int a, int b) const;
    bool IsTypingHintAllowed(int position);
    // Typing question: typing for even levels on, meaning shown (direction 0),
    // the word in stage 3 or at an even level above 0, and a hint that does
    // not give a look-alike word away.
    bool DecideTypingQuestion(int position, bool typingForEvenLevels, int answerDirection);
    QString TypingHint(int position) const;   // after IsTypingHintAllowed for that word

    // ---- settings of the current file (setting/Setting_<code>.dat) ----
    TFileSettings settings;
    TFormPosition formPosition;          // setting/FormPosition.dat
    bool formPositionLoaded = false;
    bool settingsFileNew = false;        // no settings file yet; first written at file end
    // Called by SaveFileSettings before it writes: the windows put their
    // positions into formPosition and the active tab into settings.startTab.
    std::function<void()> captureWindowState;
    void LoadFormPosition();
    void LoadFileSettings();
    void SetDefaultFileSettings(bool newFile);
    void SaveFileSettings();
    // The 39 lines SaveFileSettings writes (the windows' state as it is now).
    QStringList FileSettingsLinesToSave() const;
    QString FileSettingsPath() const;
    // The daily quota as everything that counts questions must use it: the
    // stored value bounded to 0..200. 0 (an old settings file's 0, or a
    // negative value) means no quota: the study run never ends by the quota,
    // its remaining count goes below 0 and the quota label shows "done";
    // whoever divides by the quota must allow for it. The stored value is
    // kept as it is and written back unchanged.
    int UsableQuota() const;

    // ---- record file (record/Record_<code>.dat) ----
    // Words that take part in learning: positions 1 to this (0 without a file).
    int TangoTotal() const;
    QString RecordFilePath() const;
    // False (after telling the learner) when the record file is damaged.
    bool CheckRecordFile(const QString &path);
    void InitWordRecord(int position);
    void ResetRecordFile();
    void SaveRecordFile();     // does nothing while the goal simulation runs
    // Set by the user-file reader when the workbook changed since the last
    // start: word text -> position. LoadRecordFile then gives each record line
    // to the position of its word and drops the lines of words that are gone;
    // unset, line k belongs to position k. LoadRecordFile consumes it.
    std::optional<QHash<QString, int>> recordWordIndex;

    // ---- training flags shared by the rules, the selection and the main window ----
    TTrainingState training;

    // ---- the day's files and questions ----
    TFileQueue fileQueue;
    TQuestionList todaysQuestions;
    TAskedWordList askedWords;
    TQuestion question;
    // Asked when nothing can be asked; null ends the file.
    TNoQuestionsHandler *noQuestions = nullptr;
    void BuildFileQueue();
    // Makes the first queued file current (code, slot, user-file flag); false
    // when the queue is empty. With advance the entry leaves the queue.
    bool SelectNextLearningFile(bool advance);
    // A word position, 0 for none (the file ends).
    int SelectNextQuestion(TSelectMode mode);
    // A distractor for the chosen word (and unlike the first one, when given).
    int DrawDistractor(int chosen, int first);
    // Chooses the word, its choices, counts it and decides typing; false when
    // nothing can be asked.
    bool PrepareQuestion();
    int AskedCount() const;          // questions asked in this study run
    bool QuotaUsedUp() const;
    int QuotaCorrectRate() const;
    void UpdateQuotaStatistics();

    // ---- mastery levels, stages and retention ----
    QString ComputeToday() const;                      // "2009/7/5", test day offset included
    bool IsDateReached(const QString &date) const;     // from the start of that day
    int DayNumberSince(const QString &date) const;     // the date itself is day 1
    // Grading of the word at a position. Correct: correct today +1 and, unless
    // the question is random, the level rises (a new word to the first-time
    // increment, a retry of level 0 to 1; none in stage 3 or at 12) with its
    // history entry; retry pending is cleared. Wrong: the wrong count grows;
    // unless the question is a retry, random or the level is 0, the level falls
    // by one (6 and 1 stay; stage 3 only reschedules) with its history entry;
    // retry pending is set.
    TAnswerEffect ApplyCorrectAnswer(int position);
    TAnswerEffect ApplyWrongAnswer(int position);
    // Enters the word's level into its history and sets its next due point.
    void RecordAnswer(int position);
    void ResetWordProgress(int position);
    void ClearStage1History(int position);
    void RestartStage2Today(int position);
    // The exclusion switch: a word that is asked gets a fresh record at level
    // 99; an excluded word becomes a new word (level 0). Clears retry pending.
    // Returns true when the word is now excluded.
    bool ToggleWordExclusion(int position);
    int CountWordsAtLevel(int level) const;
    TLevelHistogram BuildLevelHistogram() const;
    // The stage rule that applies to the word at a position, if any.
    std::optional<TStageNoticeKind> StageRuleOf(int position) const;
    bool AnyStageNoticeDue() const;
    // Applies the stage rules to every word, as the stage-notice window shows
    // them, and returns its three lists. The caller saves the record file
    // when the window closes.
    TStageNoticeLists ApplyStageRules();
    // The forgetting curves of the word's current stage (none in stage 3).
    QList<TEntryCurve> RetentionCurvesOf(int position) const;

    // ---- a study run: what the main window and headless runs both call ----
    // Takes the next queued file and loads its settings, words and records.
    // A file of fewer than 3 words is refused with a message to the learner.
    TFileOpenResult OpenNextLearningFile();
    // After the stage rules: the quota starts, the lists are emptied and the
    // day's first selection is made. False when nothing can be asked (the
    // file is then ended without saving).
    bool BeginStudyRun();
    // Counts one question of the quota and prepares it.
    TAskResult AskNextQuestion();
    // Right when the option at the correct position was chosen in time, or
    // the typed text is the correct word.
    bool JudgeAnswer(int chosenOption, bool inTime, const QString &typed) const;
    // The level rules for the current question's word.
    TAnswerEffect GradeQuestion(bool correct);
    // With save: quota statistics, learning days + 1, settings, record file,
    // catalog, in that order. Then the word table and the run's lists are
    // cleared for the next file.
    void EndLearningFile(bool save);
};
