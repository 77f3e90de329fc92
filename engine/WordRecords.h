#pragma once
// The word table of the current learning file with the learner's records:
// the learning file and the record file read into it, records started
// afresh, and the record file written back.
#include "data/WordTable.h"
#include "engine/MasteryLevels.h"
#include "engine/StageRules.h"
#include "workspace/Catalog.h"
#include "workspace/EngineContext.h"

#include <QHash>
#include <QString>
#include <optional>

class TFileCommit;
struct TRecordFileRead;
class TSettingsStore;

class TWordRecords {
public:
    TWordRecords(TEngineContext &context, TCatalog &catalog, TSettingsStore &settings);

    TWordTable words;
    // Set by the user-file reader when the workbook changed since the last
    // start: word text -> position. LoadRecordFile then gives each record line
    // to the position of its word and drops the lines of words that are gone;
    // unset, line k belongs to position k. LoadRecordFile consumes it.
    std::optional<QHash<QString, int>> recordWordIndex;
    // Set by LoadRecordFile when an answer journal waits beside the record:
    // the generation of the record bytes it read (before any repair), and
    // the settings' answers total before the record's trailer raised it.
    QString readGeneration;
    std::optional<qint32> answersTotalCaughtUpFrom;

    // Makes a file current (code, slot, user-file flag).
    void SetCurrentFile(const QString &code);
    QString BuiltInLearningFilePath(const QString &code) const;
    void LoadLearningFile();   // ends by calling LoadRecordFile()
    void LoadRecordFile();     // the record half of each TTango
    // The current file's workbook edited since the modification times were
    // last saved (or missing).
    bool IsUserWorkbookChanged(const QString &path) const;
    // FileModifiedDate.dat for all 49 slots (nothing while read-only).
    void SaveModificationTimes();
    // Words that take part in learning: positions 1 to this (0 without a file).
    int TangoTotal() const;
    QString RecordFilePath() const;
    // False (after telling the learner) when the record file is damaged.
    bool CheckRecordFile(const QString &path);
    void InitWordRecord(int position);
    // Every word starts afresh, the settings return to their defaults (their
    // statistics with them) and both are saved.
    void ResetRecordFile();
    void SaveRecordFile();     // does nothing while the goal simulation runs
    // The record file into a save of several files (nothing while the goal
    // simulation runs or nothing may be written).
    void AddToCommit(TFileCommit &commit);

    // ---- levels and stages of the words (engine/MasteryLevels.cpp,
    // engine/StageRules.cpp) ----
    // Enters the word's level into its history and sets its next due point.
    void RecordAnswer(int position);
    void ResetWordProgress(int position);
    void ClearStage1History(int position);
    void RestartStage2Today(int position);
    int CountWordsAtLevel(int level) const;
    TLevelHistogram BuildLevelHistogram() const;
    // The stage rule that applies to the word at a position, if any.
    std::optional<TStageNoticeKind> StageRuleOf(int position) const;
    // The same against a day read once by the caller.
    std::optional<TStageNoticeKind> StageRuleOn(int position, qint64 today) const;
    bool AnyStageNoticeDue() const;
    // Applies the stage rules to every word, as the stage-notice window shows
    // them, and returns its three lists. The caller saves the record file
    // when the window closes.
    TStageNoticeLists ApplyStageRules();
    // The stage rule due for one word, if any: it moves to stage 3 or starts over.
    void ApplyStageRule(int position);
    void ApplyStageRuleOn(int position, qint64 today);
    void ApplyStageRule(int position, TStageNoticeKind kind);

private:
    // Reads the current user file's workbook into the table with its records.
    void LoadUserLearningFile();
    QStringList ModificationTimeLines() const;
    // The settings' answers total raised to what the record's trailer says
    // it was when the record was written.
    void CatchUpAnswersTotal(const TRecordFileRead &read);

    // A copy of a damaged file kept beside it (none when read-only).
    QString KeepDamagedCopy(const QString &path) const;

    TEngineContext &m_context;
    TCatalog &catalog;
    TSettingsStore &m_settings;
};
