// The space key after an answer opens the etymology window on the word just
// asked; the next question starts its history afresh.
#include "app/TrainingWindowFixture.h"
#include "app/WordPanel.h"
#include "etymology/EtymologyFixture.h"
#include "etymology/EtymologyUnit.h"

#include <QLineEdit>

using namespace etymology_fixture;

namespace {
class TEtymologyKeysTest : public TTrainingWindowTest {
protected:
    void SetUp() override
    {
        TTrainingWindowTest::SetUp();
        // A record for every word of the learning file.
        QString text = S("#815\r\n");
        for (const TFixtureWord &w : FixtureWords())
            for (const QString &line : Word({{L::Meaning1, w.meaning}, {L::Headword, w.word}}))
                text += line + S("\r\n");
        for (const char *line : {"root", "1", "L", "arbor", "木", "affix", "-s", "複数", "", "", "end"})
            text += S(line) + S("\r\n");
        folder.write(kEtymologyFile, EncodeLearningText(text).toUtf8());
    }
};
}

TEST_F(TEtymologyKeysTest, SpaceAfterAnAnswerShowsTheWordsChart)
{
    StartToReady();
    TEtymologyForm &window = program->etymologyForm();
    AskQuestion();
    Key(Qt::Key_Space);   // a space typed into the answer, nothing opens
    EXPECT_FALSE(window.isVisible());
    const int word = flow().currentWord();
    AnswerCorrectly();
    Key(Qt::Key_Space);
    ASSERT_TRUE(window.isVisible());
    EXPECT_EQ(flow().State(), TFlowState::Reviewing);
    EXPECT_EQ(window.Chart().Record(), window.Database().FindHeadword(cc().words[word].word));
    EXPECT_EQ(window.Label_rel[0]->text(), cc().words[word].word);

    // Another word searched in the window goes into its history; the next
    // question empties it.
    window.sEdit_search->setText(word == 1 ? FixtureWords()[1].word : FixtureWords()[0].word);
    QTest::keyClick(window.sEdit_search, Qt::Key_Return);
    EXPECT_EQ(window.History().size(), 1u);
    window.hide();
    AskQuestion();
    EXPECT_TRUE(window.History().empty());
}

TEST_F(TEtymologyKeysTest, TheEtymologyPageShowsTheChartAndItsClickOpensTheWindow)
{
    StartToReady();
    AskQuestion();
    const int word = flow().currentWord();
    AnswerCorrectly();
    TWordPanel &panel = *ui().wordPanel;
    while (panel.currentIndex() != 2)
        Key(Qt::Key_Tab);
    ASSERT_TRUE(WaitFor([&] { return panel.Image_etym->isVisible(); }));
    TEtymologyForm &window = program->etymologyForm();
    EXPECT_EQ(panel.Image_etym->pixmap().toImage(), window.PageChart(word).toImage());
    EXPECT_FALSE(window.isVisible());   // the page is drawn without the window
    QTest::mouseClick(panel.Image_etym, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.Chart().Record(), window.Database().FindHeadword(cc().words[word].word));
}
