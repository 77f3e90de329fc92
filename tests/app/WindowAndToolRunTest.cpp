// The window and the headless study run are one study run: the same answers
// given through the keys and through RunScriptedStudy leave the same record
// file, byte for byte.
#include "TrainingWindowFixture.h"

namespace {
// Right and wrong answers: new words, wrong answers with their retries,
// retries answered wrongly again.
const QList<bool> kScript = {true, false, true, false, false, true, true, false, true, true, false, true};

QByteArray RecordFileOf(const QString &programFolder)
{
    TCC cc;
    cc.programFolder = programFolder;
    cc.userFolder = cc.FindUserFolder();
    cc.SetCurrentFile(QStringLiteral("TT"));
    QFile f(cc.RecordFilePath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray HeadlessRecord(const QList<bool> &script)
{
    TTempProgramFolder folder;
    WriteLearningFile(folder, FixtureWords());
    WriteCatalog(folder, FixtureWords().size());
    TCC cc;
    TCollectingNotifier notes;
    cc.notifier = &notes;
    cc.programFolder = folder.path();
    cc.userFolder = cc.FindUserFolder();
    cc.random.Seed(11);
    cc.clock.FixToday(QDate(2024, 4, 1));
    cc.LoadServerCatalog();
    cc.LoadCatalog();
    cc.MergeServerCatalog();
    cc.BuildFileQueue();
    QList<TScriptedAnswer> answers;
    for (bool right : script)
        answers.append({right, std::nullopt});
    const TScriptedRunResult run = RunScriptedStudy(cc, answers);
    EXPECT_EQ(run.end, TRunEnd::ScriptEnded);
    EXPECT_EQ(run.questions.size(), script.size());
    return RecordFileOf(folder.path());
}
}

TEST_F(TTrainingWindowTest, TheWindowAndTheHeadlessRunLeaveTheSameRecord)
{
    StartToReady();
    for (bool right : kScript) {
        AskQuestion();
        const int correct = flow().correctPosition();
        ASSERT_FALSE(flow().typingQuestion());
        const int chosen = right ? correct : correct % 3 + 1;
        Key(static_cast<Qt::Key>(Qt::Key_0 + chosen));
        ASSERT_TRUE(WaitForState(TFlowState::Reviewing));
        ASSERT_EQ(flow().answerCorrect(), right);
    }
    flow().smFileExitClick();
    ASSERT_TRUE(WaitFor([&] { return ended; }));

    const QByteArray window = RecordFileOf(folder.path());
    ASSERT_FALSE(window.isEmpty());
    const QByteArray headless = HeadlessRecord(kScript);
    // Line by line first, so that a difference names its word.
    const QList<QByteArray> a = window.split('\n'), b = headless.split('\n');
    for (qsizetype i = 0; i < qMin(a.size(), b.size()); ++i)
        EXPECT_EQ(a[i].toStdString(), b[i].toStdString()) << "line " << i + 1;
    EXPECT_EQ(window, headless);
}
