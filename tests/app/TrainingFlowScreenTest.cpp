// The training flow on a recording screen instead of the main window: the
// order in which a study run's end shows its windows, closes the file and
// saves it, told by the screen operations the flow asks for and the state
// files it writes, in one log.
#include "TrainingWindowFixture.h"

#include "app/TrainingScreen.h"
#include "engine/QuickResponse.h"
#include "speech/SpeechAndSound.h"

#include <gtest/gtest.h>

namespace {

// A screen that shows nothing and notes each operation that changes what a
// learner sees or opens a window. The quiet ones (texts, focus, signal
// pictures) are not noted.
class TRecordingScreen : public TTrainingScreen {
public:
    explicit TRecordingScreen(QStringList &log) : m_log(log) {}

    void ShowWaitLine(bool) override {}
    void ShowFileLoading(const QString &title, const QString &) override { Note(QStringLiteral("loading ") + title); }
    void LayOutOptionRows(bool, int) override {}
    void ApplyFileLook(const TFileLook &) override { Note(QStringLiteral("file look")); }
    void ShowFileMenus(const TFileMenus &) override {}
    void ShowRandomMark(bool) override {}
    bool TitleCoverVisible() const override { return m_cover; }
    void SetTitleCoverVisible(bool visible) override
    {
        m_cover = visible;
        Note(visible ? QStringLiteral("cover on") : QStringLiteral("cover off"));
    }
    void ShowMainMenus() override { Note(QStringLiteral("menus on")); }
    void HideMainMenus() override { Note(QStringLiteral("menus off")); }
    void SetInputText(const QString &) override {}
    void SetQuestionPanelText(const QString &) override {}
    void ClearQuestionTexts() override {}
    void ClearAnswerDetails() override {}
    void FocusHiddenButton() override {}
    void ShowQuotaLine() override {}
    void ShowQuota(const QString &) override {}
    void StopReviewTimers() override { Note(QStringLiteral("review timers off")); }
    void StopSoundDeviceCheck() override {}
    void StopAgentReaction() override { Note(QStringLiteral("reaction off")); }
    void ResetTypedLine() override {}
    void ClearRelatedTree() override {}
    void ShowExclusion(bool) override {}
    void SetWordPagesEnabled(bool) override {}
    void ClearWordPages() override {}
    void ArmOptionButtons() override {}
    void ShowQuestion(const QString &, bool, bool) override { Note(QStringLiteral("question")); }
    void ShowTyped(const QString &) override {}
    void ShowGauge(int, int) override {}
    void SetSignalCaption(const QString &caption, int) override { m_caption = !caption.isEmpty(); }
    void SetSignalPicture(const QString &) override { m_caption = false; }
    bool SignalShowsCaption() const override { return m_caption; }
    void ShowOptionWords(const std::array<QString, 3> &) override {}
    void ShowOptionMeanings(const std::array<QString, 3> &) override {}
    void ShowFirstOptionText(const QString &) override {}
    void ResetOptionButtons() override {}
    void MarkOptions(int, int) override {}
    void ShowPronunciations(const std::array<QString, 3> &) override {}
    bool GlimpseShown() const override { return false; }
    void ShowGlimpse(const QString &) override {}
    void NextWordPage() override {}
    void ShowGradedWord(int) override { Note(QStringLiteral("graded")); }
    void ShowTypedWordHint(const QString &) override {}
    void ShowOptionHints(const std::array<QString, 3> &) override {}
    void ShowExplanationLine(const QString &) override {}
    void ShowWordInfo() override {}
    void StartReviewTimers() override { Note(QStringLiteral("review timers on")); }
    void StartAgentReaction() override { Note(QStringLiteral("reaction on")); }
    void ShowFileClosed(const QString &) override { Note(QStringLiteral("file closed")); }
    void ShowClosing(const QString &) override { Note(QStringLiteral("closing")); }
    TWindowPlace WindowPlace() const override { return {}; }
    bool RunFileManagerAtStart() override { return true; }
    void ShowStageNotice() override { Note(QStringLiteral("stage notice")); }
    bool OfferRandomQuestions() override { return false; }
    void RunQuickResponseDrill() override { Note(QStringLiteral("drill")); }
    void ShowStatusAtFileEnd() override { Note(QStringLiteral("status")); }
    void ShowEtymologyWindow(int) override {}
    void HideEtymologyWindow() override {}
    void ClearEtymologyHistory() override {}
    bool StarViewOrGalleryShowing() const override { return false; }

private:
    void Note(const QString &what) { m_log.append(what); }

    QStringList &m_log;
    bool m_cover = true;
    bool m_caption = false;
};

class TTrainingFlowOnScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // TT and then DT (the last seven fixture words) in the day's queue.
        constexpr int kDtSlot = 27;
        WriteLearningFile(folder, FixtureWords());
        WriteLearningFile(folder, FixtureWords().mid(3), QStringLiteral("DT"));
        WriteCatalog(folder, {{kTtSlot, QStringLiteral("TT"), QStringLiteral("テスト単語"), 10},
                              {kDtSlot, QStringLiteral("DT"), QStringLiteral("入試単語"), 7}});
        cc.context.programFolder = folder.path();
        cc.context.notifier = &notes;
        cc.context.random.Seed(11);
        cc.context.clock.FixToday(QDate(2024, 4, 1));
        cc.RunStartupFileSteps(folder.path());
        flow.SetGaugeStepDuration(std::chrono::milliseconds(1));
        flow.SetShutdownWaitScale(0.0);
        flow.SetApplicationEnd([this] { ended = true; });
        // Saved files join the screen's log where they are written.
        SetStateWriteObserver([this](const QString &path) {
            log.append(QStringLiteral("saved ") + QFileInfo(path).fileName());
        });
    }

    void TearDown() override { SetStateWriteObserver({}); }

    bool WaitForReadyOn(const QString &code)
    {
        return RunUntil([&] { return flow.State() == TFlowState::Ready && cc.context.fileCode == code; });
    }

    void AskAndAnswer()
    {
        flow.NextQuestion();
        ASSERT_TRUE(RunUntil([&] { return flow.IsAsking() && !flow.StepPosted(); }));
        flow.AnswerWithOption(flow.correctPosition());
        ASSERT_TRUE(RunUntil([&] { return flow.State() == TFlowState::Reviewing; }));
    }

    // Where the entry stands in the log from the given place on (-1: not there).
    int Find(const QString &entry, int from = 0) const { return static_cast<int>(log.indexOf(entry, from)); }

    TTempProgramFolder folder;
    TCollectingNotifier notes;
    TCC cc;
    QStringList log;
    TRecordingScreen screen{log};
    TSpeechAndSound media{cc};
    TTrainingFlow flow{cc, screen, media};
    bool ended = false;
};

}

TEST_F(TTrainingFlowOnScreenTest, TheQuotasEndShowsTheDrillAndTheStatusThenSavesAndOpensTheNextFile)
{
    flow.MainWindowCreated();
    ASSERT_TRUE(WaitForReadyOn(QStringLiteral("TT")));
    cc.settingsStore.settings.dailyQuota = kQuickResponseMinWords;
    cc.settingsStore.settings.quickResponseAfterQuota = 1;
    cc.settingsStore.settings.showProgressAtEnd = 1;
    cc.studyRun.state.training.remaining = cc.UsableQuota();
    for (int i = 0; i < kQuickResponseMinWords; ++i)
        AskAndAnswer();
    const int lastGrade = static_cast<int>(log.lastIndexOf(QStringLiteral("graded")));
    ASSERT_GE(lastGrade, 0);
    EXPECT_EQ(Find(QStringLiteral("reaction on"), lastGrade), lastGrade + 1);

    // The next key ends the run instead of asking a further question.
    flow.NextQuestion();
    ASSERT_TRUE(WaitForReadyOn(QStringLiteral("DT"))) << log.join(QStringLiteral(" | ")).toStdString();

    // The last answer's reaction and telop stop before anything else, the
    // drill runs under the title cover, the status follows it, the cover
    // goes before the file closes, and the file is saved before the next
    // one opens.
    const int reactionOff = Find(QStringLiteral("reaction off"), lastGrade);
    const int telopOff = Find(QStringLiteral("review timers off"), lastGrade);
    const int coverOn = Find(QStringLiteral("cover on"), lastGrade);
    const int drill = Find(QStringLiteral("drill"), lastGrade);
    const int status = Find(QStringLiteral("status"), lastGrade);
    const int coverOff = Find(QStringLiteral("cover off"), lastGrade);
    const int closed = Find(QStringLiteral("file closed"), lastGrade);
    const int nextTitle = Find(QStringLiteral("loading 入試単語"), lastGrade);
    const int recordSaved = Find(QStringLiteral("saved Record_TT.dat"), lastGrade);
    const int nextOpened = Find(QStringLiteral("file look"), lastGrade);
    for (const int at : {reactionOff, telopOff, coverOn, drill, status, coverOff, closed, nextTitle, recordSaved, nextOpened})
        ASSERT_GE(at, 0) << log.join(QStringLiteral(" | ")).toStdString();
    EXPECT_LT(reactionOff, coverOn);
    EXPECT_LT(telopOff, coverOn);
    EXPECT_LT(coverOn, drill);
    EXPECT_LT(drill, status);
    EXPECT_LT(status, coverOff);
    EXPECT_LT(coverOff, closed);
    EXPECT_LT(closed, recordSaved);
    EXPECT_LT(nextTitle, recordSaved);
    EXPECT_LT(recordSaved, nextOpened);
    // Nothing of the closed file's answer runs on into the next file.
    EXPECT_EQ(Find(QStringLiteral("reaction on"), closed), -1);
    EXPECT_EQ(Find(QStringLiteral("review timers on"), closed), -1);
    EXPECT_EQ(log.count(QStringLiteral("drill")), 1);
    EXPECT_EQ(log.count(QStringLiteral("status")), 1);
    EXPECT_FALSE(ended);
}

TEST_F(TTrainingFlowOnScreenTest, AWindowClosedDuringAQuestionEndsItUngradedSavesAndEndsTheProgram)
{
    flow.MainWindowCreated();
    ASSERT_TRUE(WaitForReadyOn(QStringLiteral("TT")));
    flow.NextQuestion();
    ASSERT_TRUE(RunUntil([&] { return flow.IsAsking() && !flow.StepPosted(); }));
    ASSERT_GE(flow.currentWord(), 1);
    const int asked = static_cast<int>(log.lastIndexOf(QStringLiteral("question")));

    flow.FormClose();
    ASSERT_TRUE(RunUntil([&] { return ended; })) << log.join(QStringLiteral(" | ")).toStdString();

    EXPECT_EQ(Find(QStringLiteral("graded"), asked), -1);
    const int closed = Find(QStringLiteral("file closed"), asked);
    const int recordSaved = Find(QStringLiteral("saved Record_TT.dat"), asked);
    const int closing = Find(QStringLiteral("closing"), asked);
    ASSERT_GE(closed, 0);
    ASSERT_GE(recordSaved, 0);
    ASSERT_GE(closing, 0);
    EXPECT_LT(closed, recordSaved);
    EXPECT_LT(recordSaved, closing);
    // The next file of the queue is never opened.
    EXPECT_EQ(Find(QStringLiteral("loading 入試単語"), asked), -1);
}
