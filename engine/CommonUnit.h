#pragma once
// TCC, the engine object: a thin owner of the parts that each do one job
// (the folders, the catalog, the settings, the word table with its records,
// the learning rules, and the study run with its state, TStudyRun). The
// names callers have always used stay here as one-line forwards to the parts;
// new code reaches the parts themselves (cc.studyRun.state.question, not
// cc.question). Qt Core only: the whole engine runs headless.
#include "data/WordTable.h"
#include "engine/AnswerCheck.h"
#include "engine/Grading.h"
#include "base/Clock.h"
#include "engine/MasteryLevels.h"
#include "base/Notifier.h"
#include "base/Random.h"
#include "engine/RetentionCurve.h"
#include "engine/StageRules.h"
#include "engine/TrainingState.h"
#include "engine/Selection.h"
#include "engine/SelectionIndex.h"
#include "engine/StudyRun.h"
#include "engine/WordRecords.h"
#include "data/MeaningRules.h"
#include "workspace/Catalog.h"
#include "workspace/CatalogStore.h"
#include "workspace/EngineContext.h"
#include "workspace/FileSettings.h"
#include "workspace/SettingsStore.h"
#include "workspace/Workspace.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class TCC {
public:
    TCC();
    ~TCC();
    TCC(const TCC &) = delete;
    TCC &operator=(const TCC &) = delete;

    // ---- the parts, each with one job ----
    TEngineContext context;          // folders, current file, clock, random, notifier
    TCatalogStore catalogs{context};
    TWorkspace workspace{context, catalogs};
    TSettingsStore settingsStore{context, catalogs.catalog};
    TWordRecords wordRecords{context, catalogs.catalog, settingsStore};
    // The study run: its state and every run operation.
    TStudyRun studyRun{*this};

    // ---- the names callers use, kept as forwards to the parts ----
    QString &programFolder = context.programFolder;   // ends in "/"
    QString &userFolder = context.userFolder;         // ends in "/"
    TClock &clock = context.clock;
    TRandom &random = context.random;
    TNotifier *&notifier = context.notifier;          // never null
    TCollectingNotifier &defaultNotifier = context.defaultNotifier;
    QString &fileCode = context.fileCode;
    int &fileSlot = context.fileSlot;
    bool &userFile = context.userFile;
    bool &simulationRunning = context.simulationRunning;
    TCatalog &catalog = catalogs.catalog;
    TCatalog &siteCatalog = catalogs.siteCatalog;
    TWordTable &words = wordRecords.words;
    std::optional<QHash<QString, int>> &recordWordIndex = wordRecords.recordWordIndex;
    TFileSettings &settings = settingsStore.settings;
    TFormPosition &formPosition = settingsStore.formPosition;
    bool &formPositionLoaded = settingsStore.formPositionLoaded;
    bool &settingsFileNew = settingsStore.settingsFileNew;
    std::function<void()> &captureWindowState = settingsStore.captureWindowState;
    TTrainingState &training = studyRun.state.training;
    TFileQueue &fileQueue = studyRun.state.fileQueue;
    TQuestionList &todaysQuestions = studyRun.state.todaysQuestions;
    TAskedWordList &askedWords = studyRun.state.askedWords;
    TQuestion &question = studyRun.state.question;


    // ---- start-up file steps ----
    QString FindUserFolder() { return workspace.FindUserFolder(); }
    void MigrateOldWorkspace() { workspace.MigrateOldWorkspace(); }
    void EnsureUserFolders() { workspace.EnsureUserFolders(); }
    std::optional<TWindowPosition> ReadMainWindowPosition() const { return workspace.ReadMainWindowPosition(); }
    void RunStartupFileSteps(const QString &programFolderPath) { workspace.RunStartupFileSteps(programFolderPath); }

    // ---- catalog ----
    void LoadServerCatalog() { catalogs.LoadServerCatalog(); }
    void LoadCatalog() { catalogs.LoadCatalog(); }
    void SaveCatalog() { catalogs.SaveCatalog(); }
    void LoadUserFileTitles() { catalogs.LoadUserFileTitles(); }
    // word_user/User_<number>.xls (1..18) made from the sample, then the
    // user-file titles read again. Never replaces a workbook: one that
    // exists, a number outside 1..18, read-only use or a failed write raise
    // TFatalError naming the file. Returns the workbook's path.
    QString CreateSampleWorkbook(int number);
    void MergeServerCatalog() { catalogs.MergeServerCatalog(); }
    bool IsUserFileSlot() const { return fileSlot > kLastBuiltInSlot; }

    // ---- learning file ----
    void SetCurrentFile(const QString &code) { wordRecords.SetCurrentFile(code); }
    QString BuiltInLearningFilePath(const QString &code) const { return wordRecords.BuiltInLearningFilePath(code); }
    // A revision installed while the file was current, or by another run
    // of the program since, takes effect first. The answers of a run that
    // ended without its save are then taken back from its journal.
    void LoadLearningFile()
    {
        catalogs.TakeRevisionsOfOtherRuns();
        catalogs.TakeHeldRevision(fileSlot);
        wordRecords.LoadLearningFile();
        studyRun.ReplayAnswerJournal();
    }
    void LoadRecordFile() { wordRecords.LoadRecordFile(); }
    QString NormalizeMeaning(const QString &meaning) const
    {
        return NormalizeMeaningText(meaning, MeaningRulesOf(fileCode, userFile));
    }

    // ---- answer checking and typing rules (on the current file's kind) ----
    QStringList acceptedForms;     // rebuilt by ExpandAcceptedAnswers
    THeadwordKind HeadwordKind() const { return HeadwordKindOf(fileCode, userFile); }
    // The answer rules bound to the current file (its words and their kind).
    TAnswerChecker AnswerChecker() const;
    // Forwards to AnswerChecker().
    QString FormatHeadword(const QString &word, bool stripDigit) const
    {
        return AnswerChecker().FormatHeadword(word, stripDigit);
    }
    QString FormatPhraseHeadword(const QString &word, bool plain) const
    {
        return AnswerChecker().FormatPhraseHeadword(word, plain);
    }
    QString DisplayForm(int position) const { return AnswerChecker().DisplayForm(position); }
    void ExpandAcceptedAnswers(const QString &word);
    bool CheckTypedAnswer(const QString &word, const QString &typed) const
    {
        return AnswerChecker().CheckTypedAnswer(word, typed);
    }
    bool CheckTypedAnswerAlternatives(const QString &word, const QString &typed,
                                      const std::array<int, 3> &choices) const
    {
        return AnswerChecker().CheckTypedAnswerAlternatives(word, typed, choices);
    }
    bool AreConfusable(int a, int b) const { return AnswerChecker().AreConfusable(a, b); }
    TTypingHintCheck CheckTypingHint(int position) const { return AnswerChecker().CheckTypingHint(position); }
    // Typing question: typing for even levels on, meaning shown, the word in
    // stage 3 or at an even level above 0, and a hint that does not give a
    // look-alike word away. The hint comes with the decision.
    TTypingDecision DecideTypingQuestion(int position, bool typingForEvenLevels,
                                         TAnswerDirection answerDirection) const;

    // ---- settings of the current file (setting/Setting_<code>.dat) ----
    void LoadFormPosition() { settingsStore.LoadFormPosition(); }
    void LoadFileSettings() { settingsStore.LoadFileSettings(); }
    // The file's default settings; the run starts afresh with them.
    void SetDefaultFileSettings(bool newFile) { settingsStore.SetDefaultFileSettings(newFile); }
    void SaveFileSettings() { settingsStore.SaveFileSettings(); }
    QStringList FileSettingsLinesToSave() const { return settingsStore.FileSettingsLinesToSave(); }
    QString FileSettingsPath() const { return settingsStore.FileSettingsPath(); }
    int UsableQuota() const { return settingsStore.UsableQuota(); }

    // ---- record file (record/Record_<code>.dat) ----
    int TangoTotal() const { return wordRecords.TangoTotal(); }
    QString RecordFilePath() const { return wordRecords.RecordFilePath(); }
    bool CheckRecordFile(const QString &path) { return wordRecords.CheckRecordFile(path); }
    void InitWordRecord(int position) { wordRecords.InitWordRecord(position); }
    void ResetRecordFile() { wordRecords.ResetRecordFile(); }
    void SaveRecordFile() { wordRecords.SaveRecordFile(); }
    // The save that ends a learning file, as one commit: the record file,
    // the settings with the window positions and the catalog are all written
    // first, then put in place, the record first. A failure before that
    // changes nothing; a crash between the renames can leave the settings or
    // the catalog older than the record, never counting answers it lacks.
    void SaveAtFileEnd();

    // ---- the day's files and questions ----
    // Answers "nothing can be asked" for the headless forwards below (tools
    // and tests); null ends the file. The windows ask the learner themselves.
    TNoQuestionsHandler *noQuestions = nullptr;
    void BuildFileQueue();
    bool SelectNextLearningFile(bool advance) { return studyRun.SelectNextLearningFile(advance); }
    // A word position, 0 for none (the file ends); asks noQuestions when the
    // learner must choose.
    int SelectNextQuestion(TSelectMode mode);
    int DrawDistractor(int chosen, int first) { return studyRun.DrawDistractor(chosen, first); }
    // Chooses the word, its choices, counts it and decides typing; false when
    // nothing can be asked.
    bool PrepareQuestion();
    int AskedCount() const { return studyRun.AskedCount(); }   // questions asked in this study run
    bool QuotaUsedUp() const { return studyRun.QuotaUsedUp(); }
    int QuotaCorrectRate() const;
    void UpdateQuotaStatistics();

    // ---- mastery levels, stages and retention ----
    QString ComputeToday() const;                      // "2009/7/5", test day offset included
    bool IsDateReached(const QString &date) const;     // from the start of that day
    // A word's due date against a day (today, read once by the caller); a
    // due date that is no date ends the program as a conversion error.
    static bool IsDueOn(const TDueDate &due, qint64 day);
    int DayNumberSince(const QString &date) const;     // the date itself is day 1
    // Grading of the word at a position. Correct: correct today +1 and, unless
    // the question is random, the level rises (a new word to the first-time
    // increment, a retry of level 0 to 1; none in stage 3 or at 12) with its
    // history entry; retry pending is cleared. Wrong: the wrong count grows;
    // unless the question is a retry, random or the level is 0, the level falls
    // by one (6 and 1 stay; stage 3 only reschedules) with its history entry;
    // retry pending is set.
    TAnswerEffect ApplyCorrectAnswer(int position) { return CommitGrade(position, true); }
    TAnswerEffect ApplyWrongAnswer(int position) { return CommitGrade(position, false); }
    // Grades the word at a position (GradeAnswer) and commits the outcome:
    // the word and the run's state are replaced by what it computed.
    TAnswerEffect CommitGrade(int position, bool correct);
    // The level and stage operations live on the word records; these forward.
    void RecordAnswer(int position) { wordRecords.RecordAnswer(position); }
    void ResetWordProgress(int position) { wordRecords.ResetWordProgress(position); }
    void ClearStage1History(int position) { wordRecords.ClearStage1History(position); }
    void RestartStage2Today(int position) { wordRecords.RestartStage2Today(position); }
    // The exclusion switch: a word that is asked gets a fresh record at level
    // 99; an excluded word becomes a new word (level 0). Clears retry pending.
    // Returns true when the word is now excluded.
    bool ToggleWordExclusion(int position);
    int CountWordsAtLevel(int level) const { return wordRecords.CountWordsAtLevel(level); }
    TLevelHistogram BuildLevelHistogram() const { return wordRecords.BuildLevelHistogram(); }
    std::optional<TStageNoticeKind> StageRuleOf(int position) const { return wordRecords.StageRuleOf(position); }
    std::optional<TStageNoticeKind> StageRuleOn(int position, qint64 today) const
    {
        return wordRecords.StageRuleOn(position, today);
    }
    bool AnyStageNoticeDue() const { return wordRecords.AnyStageNoticeDue(); }
    TStageNoticeLists ApplyStageRules() { return wordRecords.ApplyStageRules(); }
    void ApplyStageRule(int position) { wordRecords.ApplyStageRule(position); }
    void ApplyStageRuleOn(int position, qint64 today) { wordRecords.ApplyStageRuleOn(position, today); }
    void ApplyStageRule(int position, TStageNoticeKind kind) { wordRecords.ApplyStageRule(position, kind); }
    // The forgetting curves of the word's current stage (none in stage 3).
    QList<TEntryCurve> RetentionCurvesOf(int position) const;

    // ---- a study run, for headless callers: forwards to studyRun ----
    TFileOpenResult OpenNextLearningFile() { return studyRun.OpenNextFile(); }
    TFileOpenResult LoadCurrentLearningFile() { return studyRun.LoadCurrentFile(); }
    // False when nothing can be asked (the file is then ended without
    // saving); noQuestions answers for the learner.
    bool BeginStudyRun();
    // Never TAskResult::NoQuestions: noQuestions answers for the learner.
    TAskResult AskNextQuestion();
    bool JudgeAnswer(int chosenOption, bool inTime, const QString &typed) const
    {
        return studyRun.Judge(chosenOption, inTime, typed);
    }
    TTypedVerdict ValidateTyped(const QString &typed) const { return studyRun.ValidateTyped(typed); }
    TAnswerEffect GradeQuestion(bool correct) { return studyRun.Grade(correct); }
    void EndLearningFile(bool save) { studyRun.End(save); }
    bool RunHasAnswers() const { return studyRun.HasAnswers(); }
    // What noQuestions answers, taken into the run: true to go on at random.
    bool AnswerNoQuestions();
};
