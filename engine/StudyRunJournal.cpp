// The study run's answer journal: each graded answer written at once, and
// the answers of a run that ended without its save taken back at the next
// load of its file.
#include "engine/StudyRun.h"

#include "base/TError.h"
#include "base/TextFiles.h"
#include "data/RecordFile.h"
#include "engine/CommonUnit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <utility>

namespace {
QString Native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString JournalOffText()
{
    return QStringLiteral("\nこのファイルの解答は、ファイルを終了するときに保存します。");
}

QString DamagedJournalText(const QString &path, const QString &copy)
{
    return QStringLiteral("解答の控えが壊れていて読めません。控えを残して、使わずに削除しました。\n%1\n%2")
        .arg(Native(path), Native(copy));
}

QString OlderJournalText(const QString &path)
{
    return QStringLiteral("解答の控えは、すでに保存された学習記録のものなので、使わずに削除しました。\n%1")
        .arg(Native(path));
}

QString StatisticsCompletedText(const QString &path)
{
    return QStringLiteral("前回の終了時に書き終わらなかった学習の統計を、解答の控えから書き終えました。\n%1")
        .arg(Native(path));
}

QString ReplayedText(const QString &path, int replayed, int skipped, int damagedLine, const QString &copy)
{
    QString text = QStringLiteral("前回は学習の途中で終了したため、解答の控えから %1 問分の解答を学習記録に戻しました。\n%2")
                       .arg(replayed)
                       .arg(Native(path));
    if (skipped > 0)
        text += QStringLiteral("\n学習ファイルにない単語の解答 %1 件は飛ばしました。").arg(skipped);
    if (damagedLine > 0) {
        text += QStringLiteral("\n解答の控えの %1 行目から先は壊れていて読めません。その控えを残してあります。\n%2")
                    .arg(damagedLine)
                    .arg(Native(copy));
    }
    return text;
}

void RemoveJournalFile(const QString &path)
{
    if (!QFile::remove(path) && QFileInfo::exists(path)) {
        throw TFatalError(QStringLiteral("解答の控えを削除できません。\n%1").arg(Native(path)));
    }
}
} // namespace

void TStudyRun::JournalAnswer(bool correct)
{
    const int raises = std::exchange(state.raisesSinceJournal, 0);
    const TEngineContext &context = m_cc.context;
    const int word = state.question.word;
    if (context.readOnly || context.simulationRunning || m_journalRefused || !TWordTable::IsPosition(word))
        return;
    const TWordTable &table = m_cc.wordRecords.words;
    TJournalEntry entry;
    entry.question = qMax(1, AskedCount());
    entry.word = word;
    entry.correct = correct;
    entry.raises = raises;
    entry.correctToday = state.training.correctToday;
    entry.day = context.clock.Today().toJulianDay();
    entry.record = RecordFields(table[word]).join(u'\t');
    try {
        m_journal.Append(AnswerJournalPath(context.userFolder, context.fileCode), m_cc.RecordFilePath(),
                         context.fileCode, entry);
    } catch (const TFatalError &error) {
        // The answers stay in memory and are saved when the file ends.
        m_journalRefused = true;
        context.notifier->Error(error.Message() + JournalOffText());
    }
}

void TStudyRun::SaveRunOf(int asked, int correct)
{
    TTrainingState &training = state.training;
    const TTrainingState before = training;
    training.remaining = m_cc.UsableQuota() - asked;
    training.correctToday = correct;
    try {
        SaveFileEnd();
    } catch (...) {
        training = before;
        throw;
    }
    training = before;
}

void TStudyRun::ReplayAnswerJournal()
{
    const TEngineContext &context = m_cc.context;
    if (context.readOnly || context.simulationRunning)
        return;
    const QString path = AnswerJournalPath(context.userFolder, context.fileCode);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return;
    if (m_journal.Path() == path)
        m_journal.Close();   // this program's own run of the file, not saved: taken back like any other
    RequireRegularFile(path);
    const TJournalRead read = ReadAnswerJournal(ReadStateFileBytes(path));
    TNotifier &notifier = *context.notifier;
    if (!read.headerComplete) {
        // Ended while its first answer was written: nothing whole in it.
        RemoveJournalFile(path);
        return;
    }
    if (read.headerDamaged || read.code != context.fileCode) {
        const QString copy = KeepDamagedCopy(path);
        RemoveJournalFile(path);
        notifier.Error(DamagedJournalText(path, copy));
        return;
    }

    TWordRecords &records = m_cc.wordRecords;
    if (read.generation != records.readGeneration) {
        // The record was saved after these answers. When the save stopped
        // between the record and the settings, the settings lag behind by
        // exactly this run: its statistics are written now.
        const std::optional<qint32> lagging = records.answersTotalCaughtUpFrom;
        TFileSettings &settings = m_cc.settingsStore.settings;
        if (lagging && !read.entries.isEmpty() && read.damagedLine == 0
            && qint64(*lagging) + read.entries.last().question == settings.answersTotal) {
            const qint32 caughtUp = settings.answersTotal;
            settings.answersTotal = *lagging;
            try {
                SaveRunOf(read.entries.last().question, read.entries.last().correctToday);
            } catch (...) {
                settings.answersTotal = caughtUp;
                throw;
            }
            RemoveJournalFile(path);
            notifier.Information(StatisticsCompletedText(path));
            return;
        }
        RemoveJournalFile(path);
        notifier.Information(OlderJournalText(path));
        return;
    }

    const QString copy = read.damagedLine > 0 ? KeepDamagedCopy(path) : QString();
    if (read.entries.isEmpty()) {
        RemoveJournalFile(path);
        if (read.damagedLine > 0)
            notifier.Error(DamagedJournalText(path, copy));
        return;
    }
    TWordTable &words = records.words;
    const TWordTable &table = words;
    const int total = m_cc.TangoTotal();
    // A word is found at its position, or (a user workbook whose rows moved)
    // by its text.
    QHash<QString, int> byText;
    const auto positionOf = [&](const TJournalEntry &e) {
        const QString headword = e.Headword();
        if (e.word <= total && table[e.word].word == headword)
            return e.word;
        if (byText.isEmpty()) {
            for (int p = total; p >= 1; --p)
                byText.insert(table[p].word, p);
        }
        return byText.value(headword, 0);
    };
    int skipped = 0;
    for (const TJournalEntry &e : read.entries) {
        for (int k = 0; k < e.raises; ++k)
            words.RaiseStage1Counters(total);
        const int p = positionOf(e);
        if (p == 0) {
            ++skipped;
            continue;
        }
        TTango &t = words[p];
        ReadRecordFields(e.record, e.record.indexOf(u'\t') + 1, t);
        RebuildHistoryArrays(t);
    }
    SaveRunOf(read.entries.last().question, read.entries.last().correctToday);
    RemoveJournalFile(path);
    const QString text = ReplayedText(path, static_cast<int>(read.entries.size()) - skipped, skipped,
                                      read.damagedLine, copy);
    if (read.damagedLine > 0)
        notifier.Error(text);
    else
        notifier.Information(text);
}
