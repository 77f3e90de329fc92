// The training flow driven through the window with key events: loading,
// the start screen, questions and the gauge, the end of a study run with its
// saving order, and the ways the program ends.
#include "TrainingWindowFixture.h"

#include "app/MainWidgets.h"

#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {
const QString kStartScreen = QStringLiteral("何かキーを押すとスタートします");
const QString kQuitQuestion = QStringLiteral("Tessarion を終了しますか？");
const QString kSettingsFile = QStringLiteral("user/setting/Setting_TT.dat");
const QString kRecordFile = QStringLiteral("user/record/Record_TT.dat");
}

TEST_F(TTrainingWindowTest, FileLoadsToTheStartScreen)
{
    StartToReady();
    EXPECT_TRUE(ui().sPanel_Input->text().startsWith(kStartScreen));
    EXPECT_FALSE(form().TitleCoverVisible());
    EXPECT_TRUE(ui().mmFile->menuAction()->isVisible());
    EXPECT_TRUE(ui().sLabel_Q->text().isEmpty());
    EXPECT_FALSE(ui().sPageControl1->isEnabled());
    EXPECT_TRUE(ui().sPanel_cover->isVisible());
    EXPECT_EQ(cc().fileCode, QStringLiteral("TT"));
    EXPECT_EQ(cc().training.remaining, cc().UsableQuota());
    // Loading wrote the catalog (after merging the server's) and the fresh
    // record of a file studied for the first time; no settings yet.
    for (const QString &path : StateFileWrites())
        EXPECT_TRUE(path.startsWith(QStringLiteral("user/FileInfo/")) || path == kRecordFile) << path.toStdString();
    EXPECT_FALSE(QFile::exists(folder.file(kSettingsFile)));
}

TEST_F(TTrainingWindowTest, KeysAreIgnoredWhileLoading)
{
    Start();
    ASSERT_EQ(flow().State(), TFlowState::Loading);
    EXPECT_FALSE(flow().KeyDown(QKeyEvent(QEvent::KeyPress, Qt::Key_F, Qt::NoModifier, QStringLiteral("f"))));
    ASSERT_TRUE(WaitForState(TFlowState::Ready));
}

TEST_F(TTrainingWindowTest, AKeyAsksTheFirstQuestion)
{
    StartToReady();
    const int quota = cc().UsableQuota();
    AskQuestion();
    const int word = flow().currentWord();
    ASSERT_GE(word, 1);
    EXPECT_EQ(ui().sLabel_Q->text(), cc().words[word].joinedMeanings);
    EXPECT_EQ(cc().training.remaining, quota - 1);
    EXPECT_EQ(ui().sLabel_Norm->text(), QString(quota - 1 >= 100 ? 1 : 2, u' ') + QString::number(quota - 1));
    EXPECT_TRUE(ui().sLabel_Norm->isVisible());
    EXPECT_EQ(ui().sSpeedButton_Signal->text(), QStringLiteral("初"));
    EXPECT_EQ(cc().words[word].timesAsked, 1);
    EXPECT_EQ(cc().askedWords.At(1), word);
    // The options show as soon as the gauge moves (no option delay).
    ASSERT_TRUE(WaitFor([&] { return flow().optionsRevealed(); }));
    EXPECT_TRUE(ui().sLabel_Op[static_cast<size_t>(flow().correctPosition() - 1)]->text().contains(
        cc().DisplayForm(word)));
}

TEST_F(TTrainingWindowTest, TheGaugeEndsAQuestionAsWrong)
{
    StartToReady();
    writes.clear();
    cc().settings.answerTime = 200;
    AskQuestion();
    const int word = flow().currentWord();
    EXPECT_EQ(flow().gaugeMaximum(), 100);
    ASSERT_TRUE(WaitForState(TFlowState::Reviewing));
    EXPECT_EQ(flow().gaugePosition(), 0);
    EXPECT_FALSE(flow().answerCorrect());
    EXPECT_EQ(ui().sSpeedButton_Signal->property("picture").toString(), QStringLiteral("Signal_X"));
    EXPECT_TRUE(cc().training.retryPending);
    EXPECT_EQ(cc().words[word].wrongCount, 1);
    // Nothing is written until the file closes.
    EXPECT_TRUE(StateFileWrites().isEmpty()) << StateFileWrites().join(u' ').toStdString();
}

TEST_F(TTrainingWindowTest, AnOptionKeyAnswersAndTheNextKeyAsksAgain)
{
    StartToReady();
    AskQuestion();
    const int first = flow().currentWord();
    AnswerCorrectly();
    EXPECT_TRUE(flow().answerCorrect());
    EXPECT_GT(flow().gaugePosition(), 0);
    EXPECT_EQ(ui().sSpeedButton_Signal->property("picture").toString(), QStringLiteral("Signal_O"));
    EXPECT_EQ(cc().training.correctToday, 1);
    EXPECT_GT(cc().words[first].level, 0);
    AskQuestion();
    EXPECT_NE(flow().currentWord(), first);
}

TEST_F(TTrainingWindowTest, EnterGivesUpTheQuestion)
{
    StartToReady();
    AskQuestion();
    Key(Qt::Key_Return);
    ASSERT_TRUE(WaitForState(TFlowState::Reviewing));
    EXPECT_FALSE(flow().answerCorrect());
    EXPECT_GT(flow().gaugePosition(), 0);
}

TEST_F(TTrainingWindowTest, TypingTheWordEndsTheQuestionAsCorrect)
{
    StartToReady();
    cc().settings.answerDirection = TAnswerDirection::MeaningToWord;
    AskQuestion();
    const QString form = cc().DisplayForm(flow().currentWord());
    for (QChar c : form)
        Key(static_cast<Qt::Key>(Qt::Key_A + (c.toLatin1() - 'a')));
    ASSERT_TRUE(WaitForState(TFlowState::Reviewing));
    EXPECT_TRUE(flow().answerCorrect());
    EXPECT_EQ(flow().typedAnswer(), form);
}

TEST_F(TTrainingWindowTest, KeysWhileTheQuestionIsPostedStartNoSecondStep)
{
    StartToReady();
    const int quota = cc().UsableQuota();
    // Three keys arrive before the event loop runs the posted step.
    flow().KeyDown(QKeyEvent(QEvent::KeyPress, Qt::Key_F, Qt::NoModifier, QStringLiteral("f")));
    EXPECT_TRUE(flow().StepPosted());
    EXPECT_TRUE(flow().KeyDown(QKeyEvent(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, QStringLiteral("1"))));
    EXPECT_TRUE(flow().KeyDown(QKeyEvent(QEvent::KeyPress, Qt::Key_J, Qt::NoModifier, QStringLiteral("j"))));
    ASSERT_TRUE(WaitFor([&] { return flow().IsAsking() && !flow().StepPosted(); }));
    EXPECT_EQ(cc().training.remaining, quota - 1);
    EXPECT_EQ(flow().chosenOption(), 0);
}

TEST_F(TTrainingWindowTest, TheQuotaEndsTheRunAndStateIsSavedInOrder)
{
    StartToReady();
    // A study run of three questions.
    cc().settings.dailyQuota = 3;
    cc().training.remaining = cc().UsableQuota();
    ASSERT_EQ(cc().training.remaining, 3);
    for (int i = 0; i < 3; ++i) {
        AskQuestion();
        AnswerCorrectly();
    }
    EXPECT_EQ(ui().sLabel_Norm->text(), QStringLiteral("   0"));
    writes.clear();
    // The next key closes the study run instead of asking a fourth question.
    Key(Qt::Key_F);
    ASSERT_TRUE(WaitFor([&] { return ended; }));
    EXPECT_TRUE(flow().FileEnded());
    EXPECT_TRUE(flow().QuitRequested());

    // The drill over the run's words opened and, closing, kept its settings;
    // then one commit, put in place record first, then the settings with the
    // window position, then the catalog.
    EXPECT_EQ(drillCloser->shown, 1);
    const QStringList expected = {kSettingsFile, QStringLiteral("user/setting/FormPosition.dat"),
                                  kRecordFile, kSettingsFile, QStringLiteral("user/setting/FormPosition.dat"),
                                  QStringLiteral("user/FileInfo/FileInfo_PC.dat"),
                                  QStringLiteral("user/FileInfo/FileInfo_User.dat")};
    EXPECT_EQ(StateFileWrites(), expected);

    // The quota statistics and the learning day went into the settings, the
    // three answers into the records.
    const auto saved = ReadBackState(folder);
    EXPECT_EQ(saved->settings.learningDays, 1);
    EXPECT_EQ(saved->settings.answersTotal, 3);
    EXPECT_EQ(saved->settings.overallCorrectRate, 100);
    EXPECT_EQ(saved->settings.averageAchievement, 100);
    EXPECT_EQ(saved->settings.dailyQuota, 3);
    int asked = 0;
    int risen = 0;
    for (int p = 1; p <= saved->TangoTotal(); ++p) {
        asked += saved->words[p].timesAsked;
        risen += saved->words[p].level > 0 ? 1 : 0;
    }
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(risen, 3);
}

TEST_F(TTrainingWindowTest, EscAtTheStartScreenAsksFirst)
{
    StartToReady();
    notes.confirmReply = false;
    Key(Qt::Key_Escape);
    EXPECT_EQ(notes.messages, QStringList{kQuitQuestion});
    EXPECT_EQ(flow().State(), TFlowState::Ready);
    EXPECT_FALSE(ended);

    // Yes saves settings, record and catalog although nothing was asked.
    writes.clear();
    notes.confirmReply = true;
    Key(Qt::Key_Escape);
    ASSERT_TRUE(WaitFor([&] { return ended; }));
    EXPECT_TRUE(StateFileWrites().contains(kSettingsFile));
    EXPECT_TRUE(StateFileWrites().contains(kRecordFile));
    EXPECT_TRUE(StateFileWrites().contains(QStringLiteral("user/FileInfo/FileInfo_PC.dat")));
    EXPECT_EQ(ReadBackState(folder)->settings.learningDays, 1);
    EXPECT_TRUE(form().TitleCoverVisible());
}

TEST_F(TTrainingWindowTest, EscWhileAskingDoesNothing)
{
    StartToReady();
    AskQuestion();
    Key(Qt::Key_Escape);
    EXPECT_TRUE(notes.messages.isEmpty());
    EXPECT_TRUE(flow().IsAsking());
}

TEST_F(TTrainingWindowTest, ClosingTheWindowDuringAQuestionSavesAndEnds)
{
    StartToReady();
    AskQuestion();
    const int word = flow().currentWord();
    form().close();
    ASSERT_TRUE(WaitFor([&] { return ended; }));
    EXPECT_TRUE(QFile::exists(folder.file(kSettingsFile)));
    // The question was asked and left unanswered: counted, not graded.
    const auto saved = ReadBackState(folder);
    EXPECT_EQ(saved->words[word].timesAsked, 1);
    EXPECT_EQ(saved->words[word].wrongCount, 0);
    EXPECT_EQ(saved->words[word].level, 0);
    EXPECT_EQ(saved->settings.answersTotal, 1);
}

TEST_F(TTrainingWindowTest, ClosingTheWindowBeforeTheFirstFileEndsWithoutSaving)
{
    Start();
    form().close();
    ASSERT_TRUE(WaitFor([&] { return ended; }));
    EXPECT_FALSE(QFile::exists(folder.file(kSettingsFile)));
}

TEST_F(TTrainingWindowTest, AllExitFromTheMenuSavesAndEnds)
{
    StartToReady();
    AskQuestion();
    ui().smFileAllExit->trigger();   // refused while a question waits
    EXPECT_FALSE(flow().QuitRequested());
    AnswerCorrectly();
    ui().smFileAllExit->trigger();
    ASSERT_TRUE(WaitFor([&] { return ended; }));
    EXPECT_TRUE(QFile::exists(folder.file(kRecordFile)));
}

TEST(TTrainingWindowFiles, AFileOfTwoWordsIsRefusedAndNothingIsSaved)
{
    TTempProgramFolder folder;
    WriteLearningFile(folder, FixtureWords().mid(0, 2));
    WriteCatalog(folder, 2);
    TCollectingNotifier notes;
    bool ended = false;
    TProgram program(folder.path());
    program.beforeMainFormCreate = [&](TProgram &p) {
        p.cc().notifier = &notes;
        p.mainForm().flow().SetShutdownWaitScale(0.0);
        p.mainForm().flow().SetApplicationEnd([&] { ended = true; });
    };
    program.ExecuteMainProgram();
    ASSERT_TRUE(RunUntil([&] { return ended; }));
    ASSERT_EQ(notes.messages.size(), 1);
    EXPECT_EQ(notes.messages.first(), QStringLiteral("学習ファイル【 テスト単語 】のデータが少なすぎます。"
                                                     "最低でも 3 つのデータがないと起動できません。"));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("user/setting/Setting_TT.dat"))));
}

TEST_F(TTrainingWindowTest, TheEndOfOneFileLoadsTheNextOfTheQueue)
{
    QueueTtAndDt();
    StartToReady();
    EXPECT_EQ(cc().fileCode, QStringLiteral("TT"));
    cc().settings.dailyQuota = 1;
    cc().training.remaining = 1;
    AskQuestion();
    AnswerCorrectly();
    Key(Qt::Key_F);
    // The next file loads and waits for a key; the program goes on.
    ASSERT_TRUE(WaitForReadyOn(QStringLiteral("DT")));
    EXPECT_FALSE(ended);
    EXPECT_FALSE(flow().FileEnded());
    EXPECT_EQ(cc().training.remaining, cc().UsableQuota());
    EXPECT_EQ(ReadBackState(folder)->settings.learningDays, 1);   // TT was saved
    EXPECT_EQ(statusCloser->shown, 1);   // the status of TT opened at its end, as its settings ask
    EXPECT_EQ(ui().sPanel_Q->text(), QStringLiteral("+++ 入試単語 +++"));
    EXPECT_TRUE(ui().sPanel_Input->text().startsWith(kStartScreen));
    AskQuestion();
    EXPECT_EQ(cc().words[flow().currentWord()].timesAsked, 1);
}

TEST_F(TTrainingWindowTest, ADailyQuotaOfZeroNeverEndsTheRun)
{
    {
        // An old settings file that holds a daily quota of 0.
        auto old = ReadBackState(folder);
        old->settings.dailyQuota = 0;
        old->SaveFileSettings();
    }
    StartToReady();
    EXPECT_EQ(cc().training.remaining, 0);
    for (int i = 0; i < 4; ++i) {
        ASSERT_NO_FATAL_FAILURE(AskQuestion());
        EXPECT_EQ(ui().sLabel_Norm->text(), QStringLiteral("done"));
        ASSERT_NO_FATAL_FAILURE(AnswerCorrectly());
    }
    EXPECT_EQ(cc().training.remaining, -4);
    EXPECT_EQ(cc().askedWords.Count(), 4);
    // Nothing remains: Esc ends without asking, and the run is saved.
    Key(Qt::Key_Escape);
    ASSERT_TRUE(WaitFor([&] { return ended; }));
    EXPECT_TRUE(notes.messages.isEmpty()) << notes.messages.join(u' ').toStdString();
    const auto saved = ReadBackState(folder);
    EXPECT_EQ(saved->settings.dailyQuota, 0);
    EXPECT_EQ(saved->settings.answersTotal, 4);
    EXPECT_EQ(saved->settings.overallCorrectRate, 100);
    EXPECT_EQ(saved->settings.averageAchievement, 0);   // no quota, nothing achieved or missed
    EXPECT_EQ(saved->settings.learningDays, 1);
}

TEST_F(TTrainingWindowTest, AFileClosedRightAfterAnAnswerKeepsTheNextFilesPagesCovered)
{
    QueueTtAndDt();
    StartToReady();
    AskQuestion();
    AnswerCorrectly();
    // "このファイルを終了" before the answer's telop has run.
    ui().smFileExit->trigger();
    ASSERT_TRUE(WaitForReadyOn(QStringLiteral("DT")));
    // Longer than the telop's 1111 ms: the old answer neither uncovers nor
    // enables the pages of the new file.
    RunUntil([] { return false; }, 1400);
    EXPECT_TRUE(ui().sPanel_cover->isVisible());
    EXPECT_FALSE(ui().sPageControl1->isEnabled());
    EXPECT_FALSE(ui().Timer_telop->isActive());
    EXPECT_FALSE(ui().TimerForPeedy->isActive());
}

TEST_F(TTrainingWindowTest, EachFileSetsItsOptionWidthAndReactionTime)
{
    const QString checkpoint = QStringLiteral("新学習ファイル実装チェックポイント");
    const struct {
        int slot;
        const char16_t *code;
        int panelWidth;
        int reactionInterval;
        bool checkpoint;
    } files[] = {
        {6, u"TT", 209, 2000, false},
        {7, u"TJ", 897, 3600, false},
        {9, u"FT", 897, 3600, true},    // a code without a layout changes nothing
        {8, u"IT", 897, 2000, false},
        {27, u"DT", 897, 2000, false},  // wide panels stay wide for the rest of the run
    };
    QList<TQueuedFile> queue;
    for (const auto &f : files) {
        const QString code = QString::fromUtf16(f.code);
        WriteLearningFile(folder, FixtureWords(), code);
        queue.append({f.slot, code, code + QStringLiteral(" の単語"), 10});
    }
    WriteCatalog(folder, queue);
    Start();
    for (const auto &f : files) {
        const QString code = QString::fromUtf16(f.code);
        ASSERT_TRUE(WaitForReadyOn(code)) << code.toStdString();
        for (const TPanel *panel : ui().sPanel_Op)
            EXPECT_EQ(panel->width(), f.panelWidth) << code.toStdString();
        EXPECT_EQ(ui().TimerForPeedy->interval(), f.reactionInterval) << code.toStdString();
        EXPECT_EQ(notes.messages.contains(checkpoint), f.checkpoint) << code.toStdString();
        notes.messages.clear();
        ui().smFileExit->trigger();
    }
    ASSERT_TRUE(WaitFor([&] { return ended; }));
}

TEST_F(TTrainingWindowTest, EscAfterTheLastQuestionSavesWithoutAskingOrEndingTheRun)
{
    StartToReady();
    cc().settings.dailyQuota = 1;
    cc().training.remaining = 1;
    AskQuestion();
    AnswerCorrectly();
    Key(Qt::Key_Escape);
    ASSERT_TRUE(WaitFor([&] { return ended; }));
    EXPECT_TRUE(notes.messages.isEmpty()) << notes.messages.join(u' ').toStdString();
    // Not the end of the study run: no drill, no status window.
    EXPECT_FALSE(flow().FileEnded());
    const auto saved = ReadBackState(folder);
    EXPECT_EQ(saved->settings.answersTotal, 1);
    EXPECT_EQ(saved->settings.averageAchievement, 100);
}

TEST_F(TTrainingWindowTest, AnEmptyQueueEndsTheProgramSilentlyWithoutSaving)
{
    WriteCatalog(folder, QList<TQueuedFile>{});
    Start();
    ASSERT_TRUE(WaitFor([&] { return ended; }));
    EXPECT_TRUE(flow().QuitRequested());
    EXPECT_TRUE(notes.messages.isEmpty()) << notes.messages.join(u' ').toStdString();
    EXPECT_TRUE(form().TitleCoverVisible());
    // The merged catalog of the first step is all that was written.
    for (const QString &path : StateFileWrites())
        EXPECT_TRUE(path.startsWith(QStringLiteral("user/FileInfo/"))) << path.toStdString();
}
