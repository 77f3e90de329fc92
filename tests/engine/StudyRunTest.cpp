#include "data/LearningFile.h"
#include "engine/CommonUnit.h"
#include "base/TError.h"
#include "base/TextFiles.h"
#include "support/StudyEnv.h"
#include "support/TestSupport.h"
#include "workspace/CatalogFixture.h"

#include <QDir>
#include <QMap>
#include <QProcess>
#include <gtest/gtest.h>

#include <set>

namespace {
// The fields a record file keeps.
void ExpectSameRecord(const TTango &a, const TTango &b, int p)
{
    EXPECT_EQ(a.stage, b.stage) << p;
    EXPECT_EQ(a.stage1History, b.stage1History) << p;
    EXPECT_EQ(a.stage1Count, b.stage1Count) << p;
    EXPECT_EQ(a.stage2History, b.stage2History) << p;
    EXPECT_EQ(a.stage2Count, b.stage2Count) << p;
    EXPECT_EQ(a.timesAsked, b.timesAsked) << p;
    EXPECT_EQ(a.wrongCount, b.wrongCount) << p;
    EXPECT_EQ(a.resetCount, b.resetCount) << p;
    EXPECT_EQ(a.level, b.level) << p;
    EXPECT_EQ(a.stage1Counter, b.stage1Counter) << p;
    EXPECT_EQ(a.nextDueDate, b.nextDueDate) << p;
    EXPECT_EQ(a.starX, b.starX) << p;
    EXPECT_EQ(a.starY, b.starY) << p;
    EXPECT_EQ(a.stage1Limit, b.stage1Limit) << p;
}

void ExpectSameCatalog(const TCatalog &a, const TCatalog &b)
{
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const TDBF &x = a.rows[static_cast<size_t>(slot)];
        const TDBF &y = b.rows[static_cast<size_t>(slot)];
        EXPECT_EQ(x.Code, y.Code) << slot;
        EXPECT_EQ(x.Version, y.Version) << slot;
        EXPECT_EQ(x.OnOff, y.OnOff) << slot;
        EXPECT_EQ(x.Order, y.Order) << slot;
        EXPECT_EQ(x.PopUp, y.PopUp) << slot;
        EXPECT_EQ(x.PopUpDate, y.PopUpDate) << slot;
        EXPECT_EQ(x.PopUpWN, y.PopUpWN) << slot;
        EXPECT_EQ(x.Title, y.Title) << slot;
        EXPECT_EQ(x.TangoTotal, y.TangoTotal) << slot;
        EXPECT_EQ(x.DBTangoTotal, y.DBTangoTotal) << slot;
    }
    EXPECT_EQ(a.dataVersion, b.dataVersion);
    EXPECT_EQ(a.fileManager, b.fileManager);
}

// Asks and grades by hand as the main window does, up to the end of the
// answers, and returns the word table as it stood before the file closed.
std::vector<TTango> RunByHand(TCC &cc, const char *seq)
{
    EXPECT_EQ(cc.OpenNextLearningFile(), TFileOpenResult::Opened);
    EXPECT_TRUE(cc.BeginStudyRun());
    for (const char *c = seq; *c; ++c) {
        EXPECT_EQ(cc.AskNextQuestion(), TAskResult::Asked);
        const bool correct = cc.JudgeAnswer(*c == '1' ? cc.question.correctPosition : 0, true, QString());
        cc.GradeQuestion(correct);
    }
    std::vector<TTango> snapshot;
    for (int p = 0; p <= cc.TangoTotal(); ++p)
        snapshot.push_back(cc.words[p]);
    return snapshot;
}
}

TEST(StudyRun, SavedStateReadsBackTheSame)
{
    TStudyEnv env(30);
    auto cc = env.Start();
    const std::vector<TTango> before = RunByHand(*cc, "1101101110");
    cc->EndLearningFile(true);
    EXPECT_EQ(cc->settings.learningDays, 1);
    EXPECT_EQ(cc->settings.answersTotal, 10);

    auto again = env.Start();
    ExpectSameCatalog(again->catalog, cc->catalog);
    ASSERT_TRUE(again->SelectNextLearningFile(true));
    again->LoadFileSettings();
    EXPECT_EQ(again->settings, cc->settings);
    again->LoadLearningFile();
    for (int p = 1; p <= 30; ++p)
        ExpectSameRecord(again->words[p], before[static_cast<size_t>(p)], p);
}

TEST(StudyRun, WrongAnswerIsRetriedAndCountsInTheQuota)
{
    TStudyEnv env(10);
    auto cc = env.Start();
    const TScriptedRunResult run = RunScriptedStudy(*cc, Answers("0011"));
    ASSERT_EQ(run.questions.size(), 4);
    const auto &q = run.questions;
    EXPECT_TRUE(q[0].newWord);
    EXPECT_EQ(q[0].word, 1);
    EXPECT_FALSE(q[0].correct);
    EXPECT_EQ(q[0].levelAfter, 0);
    EXPECT_EQ(q[1].word, 1);   // wrong again on the retry: still level 0
    EXPECT_TRUE(q[1].retry);
    EXPECT_EQ(q[1].levelAfter, 0);
    EXPECT_EQ(q[2].word, 1);
    EXPECT_TRUE(q[2].retry);
    EXPECT_EQ(q[2].levelAfter, 1);   // a retry of a new word rises by 1, not the first-time increment
    EXPECT_EQ(q[3].word, 2);
    EXPECT_FALSE(q[3].retry);
    EXPECT_EQ(q[3].levelAfter, 2);
    EXPECT_EQ(q[3].stageAfter, TStage::One);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(q[k].number, k + 1);
    EXPECT_EQ(run.end, TRunEnd::ScriptEnded);
    EXPECT_TRUE(run.saved);
    EXPECT_EQ(cc->settings.answersTotal, 4);
    EXPECT_EQ(cc->settings.overallCorrectRate, 50);
    EXPECT_EQ(cc->settings.averageAchievement, 5);   // 4 of 80
}

TEST(StudyRun, QuotaEndsTheRunAndTheStatisticsAddUpOverDays)
{
    TStudyEnv env(120);
    {
        auto cc = env.Start();
        const TScriptedRunResult run = RunScriptedStudy(*cc, Answers(QByteArray(100, '1').constData()));
        EXPECT_EQ(run.end, TRunEnd::QuotaUsedUp);
        EXPECT_EQ(run.questions.size(), 80);   // the TT default quota
        EXPECT_EQ(cc->settings.learningDays, 1);
        EXPECT_EQ(cc->settings.answersTotal, 80);
        EXPECT_EQ(cc->settings.overallCorrectRate, 100);
        EXPECT_EQ(cc->settings.averageAchievement, 100);
    }
    {
        // Next day, 40 asked and half of them right.
        auto cc = env.Start(1);
        QByteArray seq;
        for (int i = 0; i < 40; ++i)
            seq += i % 2 ? '0' : '1';
        const TScriptedRunResult run = RunScriptedStudy(*cc, Answers(seq.constData()));
        EXPECT_EQ(run.end, TRunEnd::ScriptEnded);
        int right = 0;
        for (const auto &q : run.questions)
            right += q.correct;
        EXPECT_EQ(cc->settings.learningDays, 2);
        EXPECT_EQ(cc->settings.answersTotal, 120);
        EXPECT_EQ(cc->settings.overallCorrectRate, (80 * 100 + 40 * (right * 100 / 40)) / 120);
        EXPECT_EQ(cc->settings.averageAchievement, (50 + 100) / 2);
    }
}

TEST(StudyRun, ThreeWordFileAsksEveryWordWithAllThreeChoices)
{
    TStudyEnv env(3, QStringLiteral("同じ意味"));
    auto cc = env.Start();
    const TScriptedRunResult run = RunScriptedStudy(*cc, Answers("111111"));
    ASSERT_EQ(run.questions.size(), 3);
    for (const auto &q : run.questions) {
        EXPECT_EQ(std::set<int>(q.choices.begin(), q.choices.end()), (std::set<int>{1, 2, 3}));
        EXPECT_TRUE(q.newWord);
    }
    // Nothing due, nothing new, every word in stage 1: the built-in file
    // has no word to draw at random and ends; the three answers are saved.
    EXPECT_EQ(run.end, TRunEnd::NothingToAsk);
    EXPECT_TRUE(run.saved);
    EXPECT_EQ(cc->settings.answersTotal, 3);

    // The same day again: nothing can be asked at the start, nothing is saved.
    const QByteArray settingsBefore = env.dir.read(QStringLiteral("user/setting/Setting_TT.dat"));
    auto again = env.Start();
    const TScriptedRunResult second = RunScriptedStudy(*again, Answers("1"));
    EXPECT_EQ(second.end, TRunEnd::NothingAtStart);
    EXPECT_FALSE(second.saved);
    EXPECT_TRUE(second.questions.isEmpty());
    EXPECT_EQ(env.dir.read(QStringLiteral("user/setting/Setting_TT.dat")), settingsBefore);
}

TEST(StudyRun, RandomQuestionsChangeNoLevelButCount)
{
    TStudyEnv env(6);
    auto cc = env.Start();
    TFixedNoQuestionsAnswer goOn(TNoQuestionsChoice::GoOnRandom);
    cc->noQuestions = &goOn;
    ASSERT_EQ(cc->OpenNextLearningFile(), TFileOpenResult::Opened);
    for (int p = 1; p <= 6; ++p) {
        cc->words[p].stage = TStage::Two;
        cc->words[p].level = 7;
        cc->words[p].nextDueDate = QStringLiteral("2024/5/1");
    }
    ASSERT_TRUE(cc->BeginStudyRun());
    EXPECT_EQ(goOn.asked, 1);
    for (bool correct : {true, false, true}) {
        ASSERT_EQ(cc->AskNextQuestion(), TAskResult::Asked);
        EXPECT_TRUE(cc->training.randomQuestion);
        const int w = cc->question.word;
        cc->GradeQuestion(correct);
        EXPECT_EQ(cc->words[w].level, 7);
    }
    EXPECT_EQ(cc->training.correctToday, 2);
    EXPECT_EQ(cc->AskedCount(), 3);
    EXPECT_EQ(goOn.asked, 1);
}

TEST(StudyRun, FileOfTwoWordsIsRefused)
{
    TStudyEnv env(2);
    auto cc = env.Start();
    const TScriptedRunResult run = RunScriptedStudy(*cc, Answers("1"));
    EXPECT_EQ(run.end, TRunEnd::TooFewWords);
    EXPECT_FALSE(run.saved);
    ASSERT_EQ(cc->defaultNotifier.messages.size(), 1);
    EXPECT_EQ(cc->defaultNotifier.messages.first(),
              QStringLiteral("学習ファイル【 テスト単語 】のデータが少なすぎます。最低でも 3 つのデータがないと起動できません。"));
    EXPECT_FALSE(QFile::exists(env.UserFile(QStringLiteral("setting/Setting_TT.dat"))));
}

// The end of a file is one commit: whichever write or rename fails, the
// settings never count answers the record does not hold, and a failure
// before the first rename changes nothing at all.
TEST(StudyRun, TheEndOfAFileIsOneCommit)
{
    const QStringList files = {QStringLiteral("record/Record_TT.dat"), QStringLiteral("setting/Setting_TT.dat"),
                               QStringLiteral("setting/FormPosition.dat"), QStringLiteral("FileInfo/FileInfo_PC.dat"),
                               QStringLiteral("FileInfo/FileInfo_User.dat")};
    for (const TSaveStep step : {TSaveStep::Write, TSaveStep::Rename}) {
        for (qsizetype failing = 0; failing < files.size(); ++failing) {
            const bool renaming = step == TSaveStep::Rename;
            SCOPED_TRACE((renaming ? "rename of " : "write of ") + files.at(failing).toStdString());
            TStudyEnv env(10);
            RunScriptedStudy(*env.Start(), Answers("1111"));   // four answers saved
            QMap<QString, QByteArray> before;
            for (const QString &f : files)
                before.insert(f, env.dir.read(QStringLiteral("user/") + f));

            auto cc = env.Start(1);
            SetSaveFault([&](TSaveStep s, const QString &path) {
                return s == step && path.endsWith(files.at(failing));
            });
            EXPECT_THROW(RunScriptedStudy(*cc, Answers("11")), TFatalError);   // the save fails
            SetSaveFault({});

            // Files from the failing one on are as they were; the record, put
            // in place first, is new once a later rename failed.
            for (qsizetype k = renaming ? failing : 0; k < files.size(); ++k)
                EXPECT_EQ(env.dir.read(QStringLiteral("user/") + files.at(k)), before.value(files.at(k)))
                    << files.at(k).toStdString();
            if (renaming && failing > 0) {
                EXPECT_NE(env.dir.read(QStringLiteral("user/") + files.at(0)), before.value(files.at(0)));
            }
            // Whatever is in place, the settings count no answer the record lacks.
            auto again = env.Start(1);
            again->SetCurrentFile(QStringLiteral("TT"));
            again->LoadFileSettings();
            again->LoadLearningFile();
            int recorded = 0;
            for (int p = 1; p <= again->TangoTotal(); ++p)
                recorded += again->words[p].timesAsked;
            EXPECT_LE(again->settings.answersTotal, recorded);
            // Nothing is left behind.
            for (const char *folder : {"record", "setting", "FileInfo"}) {
                const QStringList names = QDir(env.UserFile(QLatin1String(folder))).entryList(QDir::Files);
                for (const QString &name : names)
                    EXPECT_FALSE(name.contains(u'.') && name.section(u'.', -1).size() == 6) << name.toStdString();
            }
        }
    }
}

TEST(StudyTool, PrintsOneLinePerQuestionAndTheStatistics)
{
    TStudyEnv env(50);
    // 41 right answers bring word 1 (level 2 since question 1) due again,
    // as a typing question; the typed text then decides.
    QStringList args{QStringLiteral("study"), QStringLiteral("--program-folder"), env.dir.path(),
                     QStringLiteral("--file"), QStringLiteral("TT"), QStringLiteral("--answers"),
                     QString(43, u'1'), QStringLiteral("--seed"), QStringLiteral("5")};
    for (int k = 0; k < 41; ++k)
        args << QStringLiteral("--typed") << QString();
    args << QStringLiteral("--typed") << QStringLiteral("word2x") << QStringLiteral("--typed") << QStringLiteral("word1x");
    QProcess tool;
    tool.start(BinaryDir() + QStringLiteral("/tessarion-tool"), args);
    ASSERT_TRUE(tool.waitForFinished(60000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    const QStringList lines = QString::fromUtf8(tool.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 44);
    for (int k = 0; k < 43; ++k) {
        const QStringList f = lines.at(k).split(u'\t');
        ASSERT_EQ(f.size(), 14) << lines.at(k).toStdString();
        EXPECT_EQ(f.at(0), QString::number(k + 1));
    }
    const QStringList q42 = lines.at(41).split(u'\t');
    EXPECT_EQ(q42.at(1), QStringLiteral("1"));
    EXPECT_EQ(q42.at(2), QStringLiteral("word1x"));
    EXPECT_EQ(q42.at(10), QStringLiteral("1"));    // typing
    EXPECT_EQ(q42.at(6), QStringLiteral("0"));     // "word2x" typed: wrong
    EXPECT_EQ(q42.at(4), QStringLiteral("1"));     // level 2 -> 1
    EXPECT_EQ(q42.at(11), QStringLiteral("1"));    // the typed word is choice 1
    const QStringList q43 = lines.at(42).split(u'\t');
    EXPECT_EQ(q43.at(1), QStringLiteral("1"));
    EXPECT_EQ(q43.at(7), QStringLiteral("1"));     // retry
    EXPECT_EQ(q43.at(10), QStringLiteral("1"));    // still typed
    EXPECT_EQ(q43.at(6), QStringLiteral("1"));
    EXPECT_EQ(lines.at(43), QStringLiteral("quota-statistics\t1\t43\t97\t53"));
}

// A learning file cut short, or with fewer rows than the catalog says, is
// refused before the record is read: no question about a blank word, and the
// learner's record stays exactly as it was.
TEST(StudyRun, DamagedLearningFileIsRefusedAndTheRecordUntouched)
{
    const QString rows = QStringLiteral("T305\r\n1\tword1x\t/w/\t\t意味1\r\n2\tword2x\t/w/\t\t意味2\r\n"
                                        "3\tword3x\t/w/\t\t意味3\r\n4\tword4x\t/w/\t\t意味4\r\n");
    const struct {
        const char *what;
        QString text;
    } cases[] = {
        {"cut inside the last row", rows.left(rows.size() - 9)},
        {"cut after a row", rows.left(rows.indexOf(QStringLiteral("3\t")))},
        {"rows missing", rows.left(rows.indexOf(QStringLiteral("4\t")))},   // ended, but the catalog says 4
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TStudyEnv env(4);
        RunScriptedStudy(*env.Start(), Answers("10"));   // a record with some history
        const QByteArray record = env.dir.read(QStringLiteral("user/record/Record_TT.dat"));
        ASSERT_FALSE(record.isEmpty());
        env.dir.write(QStringLiteral("resource/TT_enc.dat"), EncodeLearningText(c.text).toUtf8());
        auto cc = env.Start(1);
        const TScriptedRunResult run = RunScriptedStudy(*cc, Answers("1111"));
        EXPECT_EQ(run.end, TRunEnd::DamagedFile);
        EXPECT_TRUE(run.questions.isEmpty());
        ASSERT_EQ(cc->defaultNotifier.messages.size(), 1);
        EXPECT_TRUE(cc->defaultNotifier.messages.first().contains(QStringLiteral("TT_enc.dat")))
            << cc->defaultNotifier.messages.first().toStdString();
        EXPECT_EQ(env.dir.read(QStringLiteral("user/record/Record_TT.dat")), record);
    }
}
