// No answer is lost when the program dies in the middle of a file: each
// graded answer is in the file's answer journal at once, and the next start
// takes the answers back into the record and saves the file as closing it
// after those answers would have.
#include "base/TextFiles.h"
#include "engine/AnswerJournal.h"
#include "engine/CommonUnit.h"
#include "support/ReportingChild.h"
#include "support/StudyEnv.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <gtest/gtest.h>

namespace {
constexpr int kWords = 150;
constexpr int kQuota = 80;   // the daily quota of TT
// A child that outlives its parent ends by itself.
constexpr unsigned kChildLifetimeSeconds = 60;
// More reported moments than a run has: the child must have ended by then.
constexpr int kMostMoments = 1000;
const QString kRecord = QStringLiteral("record/Record_TT.dat");
const QString kSettings = QStringLiteral("setting/Setting_TT.dat");
const QString kJournal = QStringLiteral("record/Record_TT.journal");
const QStringList kSavedFolders = {QStringLiteral("record"), QStringLiteral("setting"), QStringLiteral("FileInfo")};

// A day's answers: mostly right, some wrong (each followed by its retry).
QList<TScriptedAnswer> DayAnswers(int count = kQuota)
{
    QByteArray seq;
    for (int k = 0; k < count; ++k)
        seq.append(k % 4 == 1 || k % 7 == 3 ? '0' : '1');
    return Answers(seq.constData());
}

struct TSavedFiles {
    QByteArray record;
    QByteArray settings;
};

// A learner's folder after a first day of study: stage-1 words at several
// levels, so that the second day's run has retries, due words and new ones.
// Every case starts the second day from these files again.
class TJournalEnv {
public:
    TJournalEnv() : env(kWords)
    {
        RunScriptedStudy(*env.Start(0), DayAnswers());
        for (const QString &folder : kSavedFolders)
            for (const QString &name : QDir(User(folder)).entryList(QDir::Files))
                m_saved.insert(folder + u'/' + name, env.dir.read(QStringLiteral("user/") + folder + u'/' + name));
    }

    QString User(const QString &relative) const { return env.UserFile(relative); }
    QByteArray Read(const QString &relative) const
    {
        QFile file(User(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void Write(const QString &relative, const QByteArray &bytes) const
    {
        env.dir.write(QStringLiteral("user/") + relative, bytes);
    }
    TSavedFiles Saved() const { return {Read(kRecord), Read(kSettings)}; }
    QStringList RecordFolder() const { return QDir(User(QStringLiteral("record"))).entryList(QDir::Files); }

    // Back to the files of the first day, nothing else beside them.
    void Restore()
    {
        for (const QString &folder : kSavedFolders)
            for (const QString &name : QDir(User(folder)).entryList(QDir::Files))
                QFile::remove(User(folder + u'/' + name));
        for (auto it = m_saved.cbegin(); it != m_saved.cend(); ++it)
            Write(it.key(), it.value());
    }

    // The second day as the program starts it.
    std::unique_ptr<TCC> Start() { return env.Start(1); }

    // The files after a second day's run of the first n answers closed
    // cleanly ("このファイルを終了"); n = 0: no run at all.
    TSavedFiles Clean(int n)
    {
        if (!m_clean.contains(n)) {
            Restore();
            if (n > 0) {
                EXPECT_TRUE(RunScriptedStudy(*Start(), DayAnswers(n)).saved);
            }
            m_clean.insert(n, Saved());
        }
        return m_clean.value(n);
    }

    // The next start: the file is loaded as a study run loads it (which
    // takes back what the journal holds) and closed; what it told the learner.
    QStringList NextStart()
    {
        auto cc = Start();
        EXPECT_EQ(cc->OpenNextLearningFile(), TFileOpenResult::Opened);
        cc->EndLearningFile(false);
        return cc->defaultNotifier.messages;
    }

    // The second day's first n answers given by hand as the window gives
    // them, and the program gone before the file is closed: the journal it
    // leaves. With saveAfter, the record and settings are saved after that
    // many answers, as the user-file manager does in the middle of a run.
    QByteArray JournalAfter(int n, int saveAfter = 0)
    {
        Restore();
        auto cc = Start();
        EXPECT_EQ(cc->OpenNextLearningFile(), TFileOpenResult::Opened);
        EXPECT_TRUE(cc->BeginStudyRun());
        AnswerByHand(*cc, n, saveAfter);
        return Read(kJournal);
    }

    // The first n answers of the day, given as the window gives them.
    static void AnswerByHand(TCC &cc, int n, int saveAfter = 0)
    {
        const QList<TScriptedAnswer> answers = DayAnswers(n);
        for (int k = 0; k < n; ++k) {
            if (k > 0 && k == saveAfter) {
                cc.SaveFileSettings();
                cc.SaveRecordFile();
            }
            EXPECT_EQ(cc.AskNextQuestion(), TAskResult::Asked);
            const int chosen = answers[k].correct ? cc.question.correctPosition : 0;
            cc.GradeQuestion(cc.JudgeAnswer(chosen, true, QString()));
        }
    }

    TStudyEnv env;

private:
    QMap<QString, QByteArray> m_saved;
    QMap<int, TSavedFiles> m_clean;
};

void ExpectSameFiles(const TSavedFiles &now, const TSavedFiles &clean)
{
    EXPECT_TRUE(now.record == clean.record) << "the record differs from a run closed after the same answers";
    EXPECT_TRUE(now.settings == clean.settings)
        << "the settings differ from a run closed after the same answers:\n"
        << now.settings.toStdString() << "\n----\n" << clean.settings.toStdString();
}

QStringList DamagedCopies(const TJournalEnv &e)
{
    return e.RecordFolder().filter(QStringLiteral("Record_TT.journal.damaged-"));
}

// The second day's study run in a child that stops at every moment it
// reports: just before and just after each journal line is written ('b',
// 'a'), and at each step of a save ('s').
TReportingChild StudyingChild(TJournalEnv &e)
{
    return TReportingChild(
        [&](const TReportingChild::TReport &report) {
            SetJournalStepObserver([&](TJournalStep step) { report(step == TJournalStep::BeforeLine ? 'b' : 'a'); });
            SetSaveFault([&](TSaveStep, const QString &) {
                report('s');
                return false;
            });
            RunScriptedStudy(*e.Start(), DayAnswers());
        },
        kChildLifetimeSeconds);
}
} // namespace

// Killed at every moment a scripted 80-question run reports, from its start
// through the journal lines to each write and rename of the save at its
// end: the next start loses at most the answer being graded. Its record
// equals that of a run closed cleanly after the answers journaled by then,
// and its settings count exactly those answers.
TEST(AnswerJournal, KilledAtAnyMomentOfARunLosesAtMostTheAnswerBeingGraded)
{
    TJournalEnv e;
    int kills = 0;
    int answersAtLastKill = -1;
    for (int moment = 0; moment < kMostMoments; ++moment) {
        SCOPED_TRACE(moment);
        e.Restore();
        std::optional<QByteArray> kinds;
        {
            TReportingChild child = StudyingChild(e);
            ASSERT_TRUE(child.Started());
            kinds = child.KillAtMoment(moment);
        }
        if (!kinds)
            break;   // the run ended before this moment
        ++kills;
        // An answer is kept once its line is written; killed just before,
        // the answer being graded is the one lost.
        const int answered = static_cast<int>(kinds->count('a'));
        const QStringList messages = e.NextStart();
        const TSavedFiles now = e.Saved();
        EXPECT_FALSE(QFileInfo::exists(e.User(kJournal))) << "the journal is left after its answers were saved";
        EXPECT_EQ(DamagedCopies(e), QStringList());
        ExpectSameFiles(now, e.Clean(answered));
        if (kinds->back() != 's' && answered > 0) {
            ASSERT_EQ(messages.size(), 1) << messages.join(u'\n').toStdString();
            EXPECT_TRUE(messages.first().contains(QStringLiteral(" %1 問分").arg(answered)))
                << messages.first().toStdString();
        }
        if (::testing::Test::HasFailure())
            FAIL() << "after the kill at moment " << moment << " (" << kinds->toStdString() << ")";
        answersAtLastKill = answered;
    }
    // Two moments per answer and the steps of the saves: the kills reached
    // the save that ends the run.
    EXPECT_GT(kills, 2 * kQuota);
    EXPECT_EQ(answersAtLastKill, kQuota);
}

// A journal cut at every byte of its last line (as a kill in the middle of
// writing leaves it) gives back every answer before that line.
TEST(AnswerJournal, AJournalCutInItsLastLineGivesBackTheLinesBeforeIt)
{
    TJournalEnv e;
    constexpr int kAnswered = 5;
    const QByteArray journal = e.JournalAfter(kAnswered);
    ASSERT_EQ(ReadAnswerJournal(journal).entries.size(), kAnswered);
    const qsizetype lastLine = journal.lastIndexOf('\n', journal.size() - 2) + 1;
    for (qsizetype cut = lastLine; cut <= journal.size(); ++cut) {
        SCOPED_TRACE(cut);
        e.Restore();
        e.Write(kJournal, journal.left(cut));
        const QStringList messages = e.NextStart();
        const TSavedFiles now = e.Saved();
        EXPECT_FALSE(QFileInfo::exists(e.User(kJournal)));
        EXPECT_EQ(DamagedCopies(e), QStringList());
        EXPECT_EQ(messages.size(), 1);
        ExpectSameFiles(now, e.Clean(cut == journal.size() ? kAnswered : kAnswered - 1));
        if (::testing::Test::HasFailure())
            FAIL() << "cut at byte " << cut << " of " << journal.size();
    }
}

// A journal that is damaged otherwise is kept aside as a ".damaged-" copy,
// named in the message, and its answers before the damage are given back.
TEST(AnswerJournal, ADamagedJournalIsKeptAsideAndItsWholeLinesGivenBack)
{
    TJournalEnv e;
    constexpr int kAnswered = 5;
    const QByteArray journal = e.JournalAfter(kAnswered);
    const auto lineStart = [&](int line) {
        qsizetype at = 0;
        for (int k = 1; k < line; ++k)
            at = journal.indexOf('\n', at) + 1;
        return at;
    };
    struct TCase {
        const char *what;
        int line;       // the line (1: the header) with a changed byte
        int given;      // answers given back
    };
    const TCase cases[] = {
        {"the last line fails its checksum", kAnswered + 1, kAnswered - 1},
        {"an answer in the middle fails its checksum", 3, 1},
        {"the header fails its checksum", 1, 0},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray damaged = journal;
        damaged[lineStart(c.line) + 3] = damaged[lineStart(c.line) + 3] ^ 0x01;
        e.Restore();
        e.Write(kJournal, damaged);
        const QStringList messages = e.NextStart();
        const TSavedFiles now = e.Saved();
        EXPECT_FALSE(QFileInfo::exists(e.User(kJournal)));
        const QStringList copies = DamagedCopies(e);
        ASSERT_EQ(copies.size(), 1);
        EXPECT_EQ(e.Read(QStringLiteral("record/") + copies.first()), damaged);
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages.first().contains(copies.first())) << messages.first().toStdString();
        ExpectSameFiles(now, e.Clean(c.given));
    }
}

// Once its answers are saved, a journal left behind (the program killed
// between the save and the journal's removal) is of an older record: it is
// removed with a notice and never given back twice. A line for a word the
// file no longer has is passed over and counted.
TEST(AnswerJournal, AJournalIsGivenBackOnceAndWordsNoLongerThereAreCounted)
{
    TJournalEnv e;
    constexpr int kAnswered = 5;
    const QByteArray journal = e.JournalAfter(kAnswered);
    e.NextStart();
    const TSavedFiles once = e.Saved();
    ExpectSameFiles(once, e.Clean(kAnswered));

    e.Restore();
    e.Write(kRecord, once.record);
    e.Write(kSettings, once.settings);
    e.Write(kJournal, journal);
    QStringList messages = e.NextStart();
    EXPECT_FALSE(QFileInfo::exists(e.User(kJournal)));
    ExpectSameFiles(e.Saved(), once);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().contains(QStringLiteral("Record_TT.journal"))) << messages.first().toStdString();

    // The last answer's word renamed: the file has no such word.
    TJournalEntry gone = ReadAnswerJournal(journal).entries.last();
    gone.record = QStringLiteral("nosuchword") + gone.record.mid(gone.record.indexOf(u'\t'));
    const qsizetype lastLine = journal.lastIndexOf('\n', journal.size() - 2) + 1;
    e.Restore();
    e.Write(kJournal, journal.left(lastLine) + JournalEntryLine(gone));
    messages = e.NextStart();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().contains(QStringLiteral(" %1 問分").arg(kAnswered - 1))) << messages.first().toStdString();
    EXPECT_TRUE(messages.first().contains(QStringLiteral(" 1 件"))) << messages.first().toStdString();
    // The settings still count every answer of the run.
    const QByteArray settings = e.Read(kSettings);
    EXPECT_EQ(settings, e.Clean(kAnswered).settings);
}

// The record saved in the middle of a run holds the answers so far: the
// journal starts again after it, and a kill after more answers still gives
// back the files of a run closed after all of them.
TEST(AnswerJournal, ARecordSavedInTheMiddleOfARunStartsTheJournalAgain)
{
    TJournalEnv e;
    constexpr int kAnswered = 6;
    constexpr int kSavedAfter = 4;
    const QByteArray journal = e.JournalAfter(kAnswered, kSavedAfter);
    const TJournalRead read = ReadAnswerJournal(journal);
    ASSERT_EQ(read.entries.size(), kAnswered - kSavedAfter);
    EXPECT_EQ(read.entries.first().question, kSavedAfter + 1);
    EXPECT_EQ(read.generation, RecordGeneration(e.Read(kRecord)));
    e.NextStart();
    const TSavedFiles now = e.Saved();
    ExpectSameFiles(now, e.Clean(kAnswered));
}

// A journal that cannot be written is told once, naming it, and the run
// goes on: its answers are saved when the file ends, as before.
TEST(AnswerJournal, AJournalThatCannotBeWrittenIsToldOnceAndTheRunGoesOn)
{
    TJournalEnv e;
    constexpr int kAnswered = 6;
    e.Restore();
    auto cc = e.Start();
    ASSERT_EQ(cc->OpenNextLearningFile(), TFileOpenResult::Opened);
    ASSERT_TRUE(cc->BeginStudyRun());
    ASSERT_TRUE(QDir().mkpath(e.User(kJournal)));   // a folder where the journal belongs
    TJournalEnv::AnswerByHand(*cc, kAnswered);
    cc->EndLearningFile(true);
    const QStringList messages = cc->defaultNotifier.messages;
    cc.reset();
    ASSERT_EQ(messages.size(), 1) << messages.join(u'\n').toStdString();
    EXPECT_TRUE(messages.first().contains(QDir::toNativeSeparators(e.User(kJournal)))) << messages.first().toStdString();
    EXPECT_TRUE(QFileInfo(e.User(kJournal)).isDir());
    const TSavedFiles now = e.Saved();
    QDir(e.User(kJournal)).removeRecursively();
    ExpectSameFiles(now, e.Clean(kAnswered));
}
