// Long scripted study runs over several days on learner-sized files, reduced
// to a fingerprint: every chosen word, its choices, the typing decision, the
// levels before and after, and the record file left at the end. Any change
// to which word is asked, which distractors are drawn or how it is graded
// changes the fingerprint; faster selection and loading must leave it alone.
#include "bench/BenchFiles.h"
#include "base/DateText.h"
#include "data/RecordFile.h"
#include "engine/CommonUnit.h"
#include "engine/GoalSimulation.h"

#include <QCryptographicHash>
#include <QFile>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

namespace {
const QDate kFilesDay(2024, 4, 1);   // the day the benchmark files are shaped for
const QString kRecordFile = QStringLiteral("user/record/Record_TT.dat");
constexpr int kSampleQuestions = 4;
constexpr int kAnswersPerDay = 200;   // the files' daily quota

struct TScenario {
    const char *name;
    int words;               // size of the learning file
    int firstDay;            // days from the day the file was shaped for
    int days;                // one study run a day, one day apart
    quint32 seed;            // the engine's draws and the scripted answers
    int typingEveryNthDay;   // typing for even levels on those days (0: never)
    int exclusionsPerDay;    // words switched in or out of exclusion before each run
    // Expected: the questions' fingerprint, the final record's, and the first
    // questions of the first day as "word:choice/choice/choice".
    const char *questionsHash;
    const char *recordHash;
    const char *sample;
};

QDate DayOf(const TScenario &s, int day) { return kFilesDay.addDays(s.firstDay + day); }

// Right, wrong and typed answers in a fixed mix; a typed text is some
// headword of the file, so it sometimes matches and mostly does not.
QList<TScriptedAnswer> ScriptedAnswers(TRandom &draw, const TCC &cc, int count, int words)
{
    QList<TScriptedAnswer> answers;
    for (int k = 0; k < count; ++k) {
        const int kind = draw.Below(10);
        TScriptedAnswer a{kind < 7, std::nullopt};
        if (kind == 9)
            a.typed = cc.words[draw.Between(1, words)].word;
        answers.append(a);
    }
    return answers;
}

// The settings and exclusions of a day, written as the learner would leave
// them, and the day's scripted answers.
QList<TScriptedAnswer> PrepareDay(const TBenchProgramFolder &folder, const TScenario &s, int day, TRandom &draw)
{
    TCC cc;
    folder.Open(cc);
    cc.clock.FixToday(DayOf(s, day));
    cc.LoadFileSettings();
    cc.settings.typingForEvenLevels = s.typingEveryNthDay > 0 && day % s.typingEveryNthDay == 0 ? 1 : 0;
    cc.SaveFileSettings();
    cc.LoadLearningFile();
    for (int k = 0; k < s.exclusionsPerDay; ++k)
        cc.ToggleWordExclusion(draw.Between(1, s.words));
    if (s.exclusionsPerDay > 0)
        cc.SaveRecordFile();
    return ScriptedAnswers(draw, cc, kAnswersPerDay, s.words);
}

QByteArray QuestionText(const TQuestionRecord &q)
{
    return QStringLiteral("%1 %2 %3/%4/%5 t%6 %7>%8 s%9 c%10 r%11 x%12 n%13\n")
        .arg(q.number).arg(q.word)
        .arg(q.choices[0]).arg(q.choices[1]).arg(q.choices[2])
        .arg(q.typing).arg(q.levelBefore).arg(q.levelAfter)
        .arg(static_cast<int>(q.stageAfter)).arg(q.correct).arg(q.retry).arg(q.random).arg(q.newWord)
        .toUtf8();
}

QString ShortHash(const QCryptographicHash &hash)
{
    return QString::fromLatin1(hash.result().toHex().left(16));
}

struct TFingerprint {
    QString questionsHash;
    QString recordHash;
    QString sample;
    int questions = 0;
};

TFingerprint RunScenario(const TScenario &s)
{
    const TBenchProgramFolder folder(s.words);
    TRandom draw(s.seed);
    TFixedNoQuestionsAnswer goOn(TNoQuestionsChoice::GoOnRandom);
    QCryptographicHash questions(QCryptographicHash::Sha256);
    TFingerprint print;
    QStringList sample;
    for (int day = 0; day < s.days; ++day) {
        const QList<TScriptedAnswer> answers = PrepareDay(folder, s, day, draw);
        TCC cc;
        folder.Open(cc);
        cc.clock.FixToday(DayOf(s, day));
        cc.random.Seed(s.seed + static_cast<quint32>(day));
        cc.noQuestions = &goOn;
        cc.fileQueue.Append(cc.fileCode);
        const TScriptedRunResult run = RunScriptedStudy(cc, answers);
        questions.addData(QStringLiteral("day %1 end %2 saved %3\n").arg(day).arg(static_cast<int>(run.end)).arg(run.saved).toUtf8());
        for (const TQuestionRecord &q : run.questions) {
            questions.addData(QuestionText(q));
            if (sample.size() < kSampleQuestions)
                sample << QStringLiteral("%1:%2/%3/%4").arg(q.word).arg(q.choices[0]).arg(q.choices[1]).arg(q.choices[2]);
        }
        print.questions += static_cast<int>(run.questions.size());
    }
    QFile record(folder.Path() + kRecordFile);
    EXPECT_TRUE(record.open(QIODevice::ReadOnly)) << record.fileName().toStdString();
    QCryptographicHash recordHash(QCryptographicHash::Sha256);
    // The words' lines, without the line that ends the file and counts them.
    QByteArray bytes = record.readAll();
    const qsizetype lastLine = bytes.lastIndexOf('\n', bytes.size() - 2) + 1;
    EXPECT_TRUE(ParseRecordTrailer(QString::fromUtf8(bytes.sliced(lastLine)).trimmed()));
    bytes.truncate(lastLine);
    recordHash.addData(bytes);
    print.questionsHash = ShortHash(questions);
    print.recordHash = ShortHash(recordHash);
    print.sample = sample.join(QLatin1Char(' '));
    return print;
}

const TScenario kScenarios[] = {
    // A full file over two weeks: due stage-2/3 words with stage-1 words by
    // their spacing between them, stage rules at the starts, exclusions,
    // typing on alternate days.
    {"full file, two weeks", kMaxWords, 0, 14, 7, 2, 6,
     "feb38b70738090a8", "7ea0232db39e6c12", "4:4/2290/6821 4:4/23398/9570 6:6/13153/29347 6:6/21704/13668"},
    // The same file a month earlier, before its reviews fall due: stage-1
    // words by their spacing and new words in number order.
    {"full file, new words", kMaxWords, -30, 4, 19, 2, 6,
     "6f250f649db27289", "e56c84b3c8f17390", "7:12915/2927/7 9:9/12383/7409 19:19/21460/4144 25:25/9944/20269"},
    // A small file that runs dry: random questions once nothing is left.
    {"small file runs dry", 40, 0, 12, 31, 3, 1,
     "957a14e98527f4b0", "802b1d0f4b4298f3", "4:4/12/2 6:6/39/13 6:6/31/25 6:6/40/26"},
};

class StudyEquivalence : public testing::TestWithParam<TScenario> {};

TEST_P(StudyEquivalence, ChoosesTheSameWordsChoicesAndRecords)
{
    const TScenario &s = GetParam();
    const TFingerprint print = RunScenario(s);
    EXPECT_GT(print.questions, 0);
    EXPECT_EQ(print.questionsHash.toStdString(), s.questionsHash) << s.name << ", " << print.questions << " questions";
    EXPECT_EQ(print.recordHash.toStdString(), s.recordHash) << s.name;
    EXPECT_EQ(print.sample.toStdString(), s.sample) << s.name;
}

INSTANTIATE_TEST_SUITE_P(LongRuns, StudyEquivalence, testing::ValuesIn(kScenarios),
                         [](const testing::TestParamInfo<TScenario> &info) {
                             std::string name = info.param.name;
                             std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
                             return name;
                         });
}

// ---- the engine's operations driven directly ------------------------------
//
// Days of questions on an in-memory table, with what a learner and the
// windows do between them: exclusions switched, levels and counters changed
// from outside, the stage rules at each start. Backlogs past the question
// list's capacity and a user file's random questions on stage-1 words come
// in through the scenarios.

namespace {
struct TDirectScenario {
    const char *name;
    int words;
    bool userFile;         // the table as user file U1
    bool backlog;          // most new words already due in stage 1
    bool dryAtTheEnd;      // the last day with nothing left to ask
    int days;              // three days apart
    int questionsPerDay;
    quint32 seed;
    const char *hash;
};

constexpr int kDirectDayStep = 3;
constexpr int kBacklogCounter = 100;
constexpr int kLastStage1Level = 5;

QByteArray DirectQuestionText(const TCC &cc)
{
    const TQuestion &q = cc.question;
    return QStringLiteral("%1 %2/%3/%4 @%5 t%6 l%7 h%8 r%9 n%10 q%11 c%12\n")
        .arg(q.word).arg(q.choices[0]).arg(q.choices[1]).arg(q.choices[2]).arg(q.correctPosition)
        .arg(q.typing.typing).arg(q.typing.lookAlike).arg(q.typing.hint)
        .arg(cc.training.randomQuestion).arg(cc.training.newWord).arg(cc.todaysQuestions.Count())
        .arg(cc.words[q.word].stage1Counter)
        .toUtf8();
}

QString RunDirectScenario(const TDirectScenario &s, int &asked)
{
    TCC cc;
    FillRealisticWordTable(cc, s.words);
    GiveRealisticHistories(cc, s.words);
    if (s.userFile) {
        cc.SetCurrentFile(QStringLiteral("U1"));
        cc.catalog.rows[static_cast<size_t>(cc.fileSlot)].TangoTotal = s.words;
        cc.catalog.rows[static_cast<size_t>(cc.fileSlot)].DBTangoTotal = s.words;
    }
    if (s.backlog) {
        for (int p = 1; p <= s.words; ++p) {
            TTango &t = cc.words[p];
            if (t.level == 0 && p % 4 != 0) {
                t.level = 1;
                t.stage1Counter = kBacklogCounter + p % 7;
            }
        }
    }
    cc.settings.dailyQuota = s.questionsPerDay;
    TFixedNoQuestionsAnswer goOn(TNoQuestionsChoice::GoOnRandom);
    cc.noQuestions = &goOn;
    TRandom draw(s.seed);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (int day = 0; day < s.days; ++day) {
        cc.clock.FixToday(kFilesDay.addDays(day * kDirectDayStep));
        cc.random.Seed(s.seed + static_cast<quint32>(day));
        cc.settings.typingForEvenLevels = day % 2;
        if (s.dryAtTheEnd && day + 1 == s.days) {
            // Every word learned or excluded: nothing is due, nothing new.
            for (int p = 1; p <= s.words; ++p) {
                TTango &t = cc.words[p];
                if (t.level >= kFirstStage2Level)
                    continue;
                cc.InitWordRecord(p);
                if (p % 10 == 0) {
                    // still learned, far from due: random questions start at once
                    t.level = kLastStage1Level;
                    t.stage1Counter = 1;
                } else {
                    t.level = p % 2 == 0 ? kExcludedLevel : kFirstStage2Level;
                    t.stage = TStage::Two;
                    t.nextDueDate = BuildDateText(cc.clock.Today().addDays(30));
                }
            }
        }
        if (cc.AnyStageNoticeDue())
            cc.ApplyStageRules();
        const bool started = cc.BeginStudyRun();
        hash.addData(QStringLiteral("day %1 %2 %3\n").arg(day).arg(started).arg(cc.todaysQuestions.Count()).toUtf8());
        for (int k = 0; started && k < s.questionsPerDay; ++k) {
            const int action = draw.Below(40);
            const int p = draw.Between(1, s.words);
            if (action == 0) {
                cc.ToggleWordExclusion(p);
            } else if (action == 1) {
                TTango &t = cc.words[p];   // as a window or a tool might leave it
                t.level = draw.Between(0, 5);
                t.stage = TStage::One;
                t.stage1Counter = draw.Between(0, 50);
            } else if (action == 2 && !cc.training.retryPending) {
                cc.todaysQuestions.Clear();
            }
            if (cc.AskNextQuestion() != TAskResult::Asked) {
                hash.addData("nothing\n");
                break;
            }
            hash.addData(DirectQuestionText(cc));
            ++asked;
            cc.GradeQuestion(draw.Below(10) < 7);
        }
    }
    hash.addData(RecordFileBytes(cc.words, cc.TangoTotal()));
    return ShortHash(hash);
}

const TDirectScenario kDirectScenarios[] = {
    {"full file", kMaxWords, false, false, false, 10, 200, 41, "41744ef7db9b1590"},
    {"backlog past the list", kMaxWords, false, true, false, 4, 200, 43, "f1c8ef279353f2a7"},
    {"user file runs dry", 400, true, false, true, 6, 150, 47, "2cc5f8e25f02d098"},
    {"built-in file runs dry", 400, false, false, true, 6, 150, 53, "6c61d7153afc1a12"},
};

class DirectEquivalence : public testing::TestWithParam<TDirectScenario> {};

TEST_P(DirectEquivalence, ChoosesTheSameWordsAndLeavesTheSameRecord)
{
    const TDirectScenario &s = GetParam();
    int asked = 0;
    EXPECT_EQ(RunDirectScenario(s, asked).toStdString(), s.hash) << s.name << ", " << asked << " questions";
}

INSTANTIATE_TEST_SUITE_P(Days, DirectEquivalence, testing::ValuesIn(kDirectScenarios),
                         [](const testing::TestParamInfo<TDirectScenario> &info) {
                             std::string name = info.param.name;
                             std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
                             return name;
                         });

// The goal simulation asks tens of thousands of questions on the live
// table and puts it back afterwards; the questions after it see the table
// as it was.
TEST(GoalSimulationEquivalence, SameDaysWordsAndTableAfterwards)
{
    constexpr int kWords = 3000;
    TCC cc;
    FillRealisticWordTable(cc, kWords);
    GiveRealisticHistories(cc, kWords);
    cc.settings.learningDays = 30;
    cc.settings.overallCorrectRate = 80;
    cc.settings.averageAchievement = 100;
    cc.settings.firstTimeIncrement = 2;
    cc.random.Seed(5);
    ASSERT_TRUE(cc.BeginStudyRun());
    for (int k = 0; k < 30; ++k) {
        ASSERT_EQ(cc.AskNextQuestion(), TAskResult::Asked);
        cc.GradeQuestion(k % 3 != 0);
    }
    const QByteArray before = RecordFileBytes(cc.words, kWords);
    const TSimulationResult result = TGoalSimulation(cc).Run(8);
    EXPECT_TRUE(result.goalReached);
    EXPECT_EQ(RecordFileBytes(cc.words, kWords), before);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QStringLiteral("%1 %2 %3\n").arg(result.days).arg(result.questions).arg(result.chosenWordsHash).toUtf8());
    for (qint32 n : result.histogram)
        hash.addData(QByteArray::number(n) + ' ');
    while (!cc.QuotaUsedUp()) {
        const int k = cc.AskedCount();
        ASSERT_EQ(cc.AskNextQuestion(), TAskResult::Asked);
        hash.addData(DirectQuestionText(cc));
        cc.GradeQuestion(k % 4 != 0);
    }
    hash.addData(RecordFileBytes(cc.words, kWords));
    EXPECT_EQ(ShortHash(hash).toStdString(), "d8c17f5f885c758d");
}
}
