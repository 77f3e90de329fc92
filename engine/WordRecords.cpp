// The word table of the current file with its records.
#include "engine/WordRecords.h"

#include "base/DateText.h"
#include "base/TError.h"
#include "base/TextFiles.h"
#include "data/LearningFile.h"
#include "data/RecordFile.h"
#include "data/SampleWorkbook.h"
#include "data/MeaningRules.h"
#include "data/UserWorkbook.h"
#include "engine/AnswerJournal.h"
#include "workspace/ProgramFolders.h"
#include "workspace/SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <utility>

namespace {
// The copy of a user file's records kept when its workbook had gone.
const QString kRecordBeforeSampleTag = QStringLiteral("before-sample");
} // namespace

TWordRecords::TWordRecords(TEngineContext &context, TCatalog &catalog, TSettingsStore &settings)
    : m_context(context), catalog(catalog), m_settings(settings)
{
}

void TWordRecords::SetCurrentFile(const QString &code)
{
    m_context.fileCode = code;
    m_context.fileSlot = FileSlotOfCode(code);
    m_context.userFile = m_context.fileSlot > kLastBuiltInSlot;
}

QString TWordRecords::BuiltInLearningFilePath(const QString &code) const
{
    // The name relative to the program folder is the path in an empty folder.
    return ::BuiltInLearningFilePath(ShippedFileFolder(m_context, ::BuiltInLearningFilePath(QString(), code)), code);
}

void TWordRecords::LoadLearningFile()
{
    const QString &fileCode = m_context.fileCode;
    const int fileSlot = m_context.fileSlot;
    if (fileSlot < 1 || fileSlot > kSlotCount) {
        throw TFatalError(QStringLiteral("学習ファイルのコード「%1」は登録されていません。").arg(fileCode));
    }
    if (m_context.userFile) {
        LoadUserLearningFile();
        return;
    }
    const QString path = BuiltInLearningFilePath(fileCode);
    if (!QFileInfo::exists(path)) {
        throw TFatalError(QStringLiteral("学習ファイル（%1）が見つかりません。\n%2")
                              .arg(fileCode, QDir::toNativeSeparators(path)));
    }
    TDBF &row = catalog.rows[fileSlot];
    ReadLearningFile(path, fileCode, row.TangoTotal, row.Version, words, *m_context.notifier);
    LoadRecordFile();
}

void TWordRecords::LoadUserLearningFile()
{
    const int number = m_context.fileSlot - kLastBuiltInSlot;
    const QString path = UserWorkbookPath(m_context.userFolder, number);
    TDBF &row = catalog.rows[m_context.fileSlot];
    if (!QFileInfo::exists(path)) {
        if (m_context.readOnly) {
            // Nothing may be written: the table stays empty and the file is
            // refused for want of words; its record file is left as it is.
            words.Clear();
            row.TangoTotal = 0;
            row.DBTangoTotal = 0;
            return;
        }
        // A user file without its workbook starts from the sample. Records
        // left from a workbook that has gone (moved or renamed, perhaps) are
        // kept aside first: matched against the sample, most would be dropped.
        try {
            const QString record = RecordFilePath();
            const QString copy = QFileInfo::exists(record) ? KeepCopy(record, kRecordBeforeSampleTag) : QString();
            CreateSampleWorkbook(m_context.userFolder, number);
            if (!copy.isEmpty()) {
                m_context.notifier->Information(
                    QStringLiteral("ユーザーファイルのブックが見つからないので、サンプルのブックを作りました。\n%1\n"
                                   "これまでの学習記録の控えを残してあります。\n%2")
                        .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(copy)));
            }
        } catch (const TFatalError &error) {
            throw TLearningFileRefused(error.Message());
        }
    }
    // Everything is read before anything of the learner's changes, so a
    // workbook that is refused leaves the table, the catalog and the record
    // file as they were.
    const TUserWords read = ApplyUserRowRules(ReadWorkbookRows(path), path);
    if (!QFileInfo::exists(ModificationTimesPath(m_context.userFolder)))
        SaveModificationTimes();
    const bool changed = IsUserWorkbookChanged(path);

    words.Clear();
    const int total = int(read.words.size());
    for (int p = 1; p <= total; ++p) {
        const TUserWord &entry = read.words.at(p - 1);
        TTango &t = words[p];
        t.word = entry.word;
        t.number = p;
        InitWordRecord(p);
        t.meanings = entry.meanings;
        t.joinedMeanings = JoinMeanings(t.meanings);
    }
    row.TangoTotal = total;
    row.DBTangoTotal = total;
    if (changed)
        recordWordIndex = read.positions;
    else
        recordWordIndex.reset();
    const bool recordExisted = QFileInfo::exists(RecordFilePath());
    LoadRecordFile();
    if (!changed || m_context.readOnly)
        return;
    // The record is written in the workbook's new order before the times
    // are: once they are saved the next start matches lines by position.
    TFileCommit commit;
    if (recordExisted)
        AddToCommit(commit);
    commit.AddLines(ModificationTimesPath(m_context.userFolder), ModificationTimeLines());
    commit.Commit();
}

bool TWordRecords::IsUserWorkbookChanged(const QString &path) const
{
    if (!QFileInfo::exists(path))
        return true;
    const std::optional<QStringList> lines = ReadStateLines(ModificationTimesPath(m_context.userFolder));
    if (!lines)
        return true;
    const QStringList times = WidenModificationTimes(*lines);
    const int slot = m_context.fileSlot;
    if (slot < 1 || slot > times.size())
        return true;
    return times.at(slot - 1) != ModificationTimeText(path);
}

QStringList TWordRecords::ModificationTimeLines() const
{
    QStringList lines;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const QString path = slot <= kLastBuiltInSlot
                                 ? ::BuiltInLearningFilePath(m_context.programFolder, FileCodeOfSlot(slot))
                                 : UserWorkbookPath(m_context.userFolder, slot - kLastBuiltInSlot);
        lines.append(ModificationTimeText(path));
    }
    return lines;
}

void TWordRecords::SaveModificationTimes()
{
    if (m_context.readOnly)
        return;
    WriteStateLines(ModificationTimesPath(m_context.userFolder), ModificationTimeLines());
}

QString TWordRecords::RecordFilePath() const
{
    return ::RecordFilePath(m_context.userFolder, m_context.fileCode);
}

int TWordRecords::TangoTotal() const
{
    const int fileSlot = m_context.fileSlot;
    if (fileSlot < 1 || fileSlot > kSlotCount)
        return 0;
    return qBound(0, catalog.rows[fileSlot].TangoTotal, kMaxWords);
}

bool TWordRecords::CheckRecordFile(const QString &path)
{
    if (!IsDamagedStateFile(path))
        return true;
    m_context.notifier->Error(DamagedRecordMessage(path, KeepDamagedCopy(path)));
    return false;
}

QString TWordRecords::KeepDamagedCopy(const QString &path) const
{
    // What only shows data keeps nothing, as it changes nothing.
    return m_context.readOnly ? QString() : ::KeepDamagedCopy(path);
}

void TWordRecords::InitWordRecord(int position)
{
    TTango &t = words[position];
    ClearWordRecord(t);
    t.starX = m_context.random.Between(1, kStarFieldWidth);
    t.starY = m_context.random.Between(1, kStarFieldHeight);
}

void TWordRecords::ResetRecordFile()
{
    m_settings.settings.learningStartDate = ShortDateText(m_context.clock.Today());
    m_settings.SetDefaultFileSettings(false);
    const int total = TangoTotal();
    for (int p = 1; p <= total; ++p)
        InitWordRecord(p);
    // Both files in one save: when the record cannot be written, the
    // settings stay as they were too. A settings file that does not exist
    // yet is written when the file ends.
    const bool withSettings = !m_settings.settingsFileNew && !m_context.readOnly;
    TFileCommit commit;
    AddToCommit(commit);
    if (withSettings)
        m_settings.AddToCommit(commit);
    commit.Commit();
    if (withSettings)
        m_settings.SettingsCommitted();
}

void TWordRecords::SaveRecordFile()
{
    TFileCommit commit;
    AddToCommit(commit);
    commit.Commit();
}

void TWordRecords::AddToCommit(TFileCommit &commit)
{
    if (m_context.simulationRunning || m_context.readOnly)
        return;
    commit.Add(RecordFilePath(), RecordFileWithTrailer(words, TangoTotal(), m_settings.settings.answersTotal));
}

void TWordRecords::LoadRecordFile()
{
    // The word index serves this one reading only.
    std::optional<QHash<QString, int>> wordIndex = std::exchange(recordWordIndex, std::nullopt);
    const QString path = RecordFilePath();
    readGeneration.clear();
    answersTotalCaughtUpFrom.reset();
    const QFileInfo info(path);
    if (info.isSymLink() && !info.exists()) {
        // A link to a drive that is not mounted, say: the record is
        // somewhere, and a fresh one must not take its place.
        throw TFatalError(QStringLiteral("記録ファイルのリンク先が見つかりません。\n%1\n%2")
                              .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(info.symLinkTarget())));
    }
    if (!info.exists()) {
        ResetRecordFile();
        return;
    }
    // A damaged file is kept beside the record before anything is reset;
    // every line that can still be read keeps its word's history.
    const QByteArray bytes = ReadStateFileBytes(path);
    if (QFileInfo::exists(AnswerJournalPath(m_context.userFolder, m_context.fileCode)))
        readGeneration = RecordGeneration(bytes);
    const bool damaged = IsDamagedStateBytes(bytes);
    if (damaged) {
        for (int p = 1; p <= TangoTotal(); ++p)
            InitWordRecord(p);
    }
    // A built-in list whose words changed places with a data update: every
    // record follows its word, and the next save writes them in the new order.
    if (!wordIndex && !m_context.userFile && !damaged)
        wordIndex = MovedWordPositions(bytes, words, TangoTotal());
    const TRecordFileRead read = ReadRecordBytes(bytes, words, wordIndex);
    CatchUpAnswersTotal(read);
    // A file cut short: the words whose lines are gone start afresh (the
    // lines of a file matched by word are gone with no trace of which).
    const bool cut = !damaged && IsCutRecordFile(read, wordIndex ? 0 : TangoTotal());
    if (!damaged && !cut && read.unreadableLines.isEmpty())
        return;
    const QString copy = KeepDamagedCopy(path);
    if (read.readableLines == 0) {
        m_context.notifier->Error(DamagedRecordMessage(path, copy));
        ResetRecordFile();
        return;
    }
    for (const int p : read.unreadablePositions)
        InitWordRecord(p);
    if (cut && !wordIndex) {
        for (int p = read.wordLines + 1; p <= TangoTotal(); ++p)
            InitWordRecord(p);
    }
    // A cut file is told as cut: its last line is often one of the unreadable.
    m_context.notifier->Error(
        PartlyDamagedRecordMessage(path, cut ? QList<int>() : read.unreadableLines, read.readableLines, copy));
    SaveRecordFile();
}

void TWordRecords::CatchUpAnswersTotal(const TRecordFileRead &read)
{
    // The settings are written after the record: a save stopped between the
    // two leaves the settings' total behind the answers the record holds.
    if (!read.trailer)
        return;
    qint32 &total = m_settings.settings.answersTotal;
    if (read.trailer->answersTotal > total) {
        answersTotalCaughtUpFrom = total;
        total = static_cast<qint32>(qMin<qint64>(read.trailer->answersTotal, INT_MAX));
    }
}
