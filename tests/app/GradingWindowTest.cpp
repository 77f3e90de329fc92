// Grading feedback, the exclusion switch, the glimpse keys and the option
// buttons on the training window.
#include "TrainingWindowFixture.h"

#include "app/MainWidgets.h"

#include <QToolButton>
#include <algorithm>

namespace {

class TGradingWindowTest : public TTrainingWindowTest {
protected:
    void TypeLetters(const QString &word)
    {
        for (QChar c : word)
            Key(static_cast<Qt::Key>(Qt::Key_A + (c.toLatin1() - 'a')));
    }
    QString Memo() { return ui().sLabel_TabVoc_Memo->text(); }
};

TEST_F(TGradingWindowTest, ACorrectFirstAnswerExplainsTheRise)
{
    StartToReady();
    AskQuestion();
    const int word = flow().currentWord();
    AnswerCorrectly();
    const int level = cc().words[word].level;
    EXPECT_EQ(level, cc().settings.firstTimeIncrement);
    EXPECT_EQ(Memo(), QStringLiteral("※ 初めての出題で正解でしたので、習熟レベルが 0 から %1 に上昇しました").arg(level));
}

TEST_F(TGradingWindowTest, AWrongAnswerToANewWordLeavesTheLineEmpty)
{
    StartToReady();
    AskQuestion();
    Key(static_cast<Qt::Key>(Qt::Key_0 + flow().correctPosition() % 3 + 1));
    ASSERT_TRUE(WaitForState(TFlowState::Reviewing));
    EXPECT_FALSE(flow().answerCorrect());
    EXPECT_EQ(ui().sSpeedButton_Signal->property("picture").toString(), QStringLiteral("Signal_X"));
    EXPECT_EQ(Memo(), QString());
    EXPECT_TRUE(cc().training.retryPending);
}

TEST_F(TGradingWindowTest, DeleteExcludesAndIncludesTheWordOnlyWhileReviewing)
{
    StartToReady();
    AskQuestion();
    const int word = flow().currentWord();
    Key(Qt::Key_Delete);   // a question waits: nothing
    EXPECT_EQ(ui().sLabelFX_never->text(), QStringLiteral("○"));
    EXPECT_TRUE(flow().IsAsking());
    AnswerCorrectly();
    ASSERT_GT(cc().words[word].level, 0);

    Key(Qt::Key_Delete);
    EXPECT_EQ(flow().State(), TFlowState::Reviewing);   // no next question
    EXPECT_EQ(ui().sLabelFX_never->text(), QStringLiteral("×"));
    EXPECT_EQ(cc().words[word].level, 99);
    EXPECT_EQ(cc().words[word].timesAsked, 0);   // a fresh record
    EXPECT_EQ(Memo(), QStringLiteral("※ 出題停止中"));

    Key(Qt::Key_Delete);
    EXPECT_EQ(ui().sLabelFX_never->text(), QStringLiteral("○"));
    EXPECT_EQ(cc().words[word].level, 0);
    EXPECT_EQ(Memo(), QString());   // a new word again, no rise or fall to explain
    EXPECT_FALSE(cc().training.retryPending);
}

TEST_F(TGradingWindowTest, ATypedWordOfTheFileThatIsNoOptionIsNamed)
{
    StartToReady();
    cc().settings.answerDirection = TAnswerDirection::MeaningToWord;
    AskQuestion();
    QString other;
    int otherWord = 0;
    for (int i = 1; i <= cc().TangoTotal() && other.isEmpty(); ++i)
        if (std::find(flow().optionWords().begin(), flow().optionWords().end(), i) == flow().optionWords().end()) {
            other = cc().DisplayForm(i);
            otherWord = i;
        }
    ASSERT_FALSE(other.isEmpty());
    TypeLetters(other);
    EXPECT_TRUE(flow().IsAsking());   // no option's text: the question goes on
    Key(Qt::Key_Return);
    ASSERT_TRUE(WaitForState(TFlowState::Reviewing));
    EXPECT_EQ(ui().sLabel_Hasei->text(),
              QStringLiteral("※ ") + other + QStringLiteral(" ･･･ ") + cc().words[otherWord].joinedMeanings);
}

TEST_F(TGradingWindowTest, ATypedDistractorIsNotNamed)
{
    StartToReady();
    cc().settings.answerDirection = TAnswerDirection::MeaningToWord;
    AskQuestion();
    const int wrong = flow().optionWords()[static_cast<size_t>(flow().correctPosition() % 3)];
    TypeLetters(cc().DisplayForm(wrong));
    ASSERT_TRUE(WaitForState(TFlowState::Reviewing));
    EXPECT_FALSE(flow().answerCorrect());
    EXPECT_EQ(ui().sLabel_Hasei->text(), QString());
}

TEST_F(TGradingWindowTest, DownGlimpsesWhileTheGlimpsePanelShowsAndAnswersOtherwise)
{
    StartToReady();
    AskQuestion();
    AnswerCorrectly();
    // As after a typing question: the glimpse panel is still on screen.
    ui().sPanel_glimpse->show();
    Key(Qt::Key_Down);
    EXPECT_EQ(flow().State(), TFlowState::Reviewing);
    EXPECT_EQ(ui().sLabel_glimpse->text(), QString());   // flashed and gone
    ui().sPanel_glimpse->hide();
    Key(Qt::Key_Down);
    ASSERT_TRUE(WaitFor([&] { return flow().IsAsking() && !flow().StepPosted(); }));
    Key(Qt::Key_Down);   // option 2
    ASSERT_TRUE(WaitForState(TFlowState::Reviewing));
    EXPECT_EQ(flow().chosenOption(), 2);
}

TEST_F(TGradingWindowTest, OptionButtonsRefuseTheMouse)
{
    StartToReady();
    AskQuestion();
    ui().sBitBtn_Op[0]->click();
    EXPECT_TRUE(notes.messages.contains(
        QStringLiteral("答えを入力するか、キーボードの１・２・３を押して解答してください。")));
    EXPECT_TRUE(flow().IsAsking());
    EXPECT_EQ(flow().chosenOption(), 0);
}

TEST_F(TGradingWindowTest, AfterGradingTheOptionsShowMeaningsAndPictures)
{
    StartToReady();
    AskQuestion();
    AnswerCorrectly();
    const QString correct = QStringLiteral("Option%1_Correct").arg(flow().correctPosition());
    EXPECT_EQ(ui().sBitBtn_Op[static_cast<size_t>(flow().correctPosition() - 1)]->property("picture").toString(),
              correct);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(ui().sPanel_OpM[i]->text().trimmed(), cc().words[flow().optionWords()[i]].joinedMeanings);
        EXPECT_FALSE(ui().Image_OpP[i]->pixmap().isNull());
    }
}

}
