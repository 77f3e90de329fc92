// The question area of the training window: the question panel's width with
// the labels that move with it, the pronunciations beside graded options, and
// modal windows opened from the question area while the training runs.
#include "TrainingWindowFixture.h"

#include "app/MainWidgets.h"

#include <QAction>
#include <QSignalSpy>
#include <QToolButton>

namespace {

// Keeps a message open for a while, as a real message box would, with its
// own event loop running.
class TSlowMessages : public TCollectingNotifier {
public:
    void Information(const QString &text) override
    {
        TCollectingNotifier::Information(text);
        if (whileOpen)
            whileOpen();
    }
    std::function<void()> whileOpen;
};

class TQuestionAreaTest : public TTrainingWindowTest {};

struct TPanelLayout {
    int question, gauge, input, norm, status;
};

TPanelLayout Layout(TMainForm &form)
{
    const TMainWindowParts f = MainWindowParts(form);
    return {f.sPanel_Q->width(), f.sGauge_Time->width(), f.sPanel_Input->width(), f.sLabel_Norm->x(),
            f.sLabelFX_Status->x()};
}

TEST_F(TQuestionAreaTest, AMeaningTooLongForTheQuestionPanelWidensItAndTheQuotaMovesAlong)
{
    StartToReady();
    AskQuestion();
    TPanelLayout normal = Layout(form());
    EXPECT_EQ(normal.question, 450);
    EXPECT_EQ(normal.gauge, 447);
    EXPECT_EQ(normal.input, 408);
    // Inside the input panel, at its right end.
    EXPECT_EQ(normal.norm, 347);
    EXPECT_EQ(normal.status, 373);
    EXPECT_LE(normal.status + ui().sLabelFX_Status->width(), normal.input);
    AnswerCorrectly();

    const QString longMeaning = QStringLiteral("（人・物などを）ある場所から別の場所へ運ぶ、持っていく、伝える、支える、"
                                               "（責任などを）負う、（子を）身ごもる");
    for (int p = 1; p <= cc().TangoTotal(); ++p)
        cc().words[p].joinedMeanings = longMeaning;
    AskQuestion();
    const TPanelLayout wide = Layout(form());
    EXPECT_GT(wide.question, 450);
    EXPECT_LT(wide.question, 760);
    EXPECT_EQ(wide.gauge, wide.question - 3);
    EXPECT_EQ(wide.input, wide.question - ui().sPanel_Signal->width());
    EXPECT_EQ(wide.norm, wide.question - 103);
    EXPECT_EQ(wide.status, wide.question - 77);
    // At most 14 pixels high, and placed by its height (-14 div 6 + 12 = 10).
    const int height = ui().sLabel_Q->font().pixelSize();
    EXPECT_LE(height, 14);
    EXPECT_EQ(ui().sLabel_Q->y(), -height / 6 + 12);
}

TEST_F(TQuestionAreaTest, PronunciationsShowInTheSkinColourOverTheWindow)
{
    StartToReady();
    AskQuestion();
    for (int p = 1; p <= cc().TangoTotal(); ++p)
        cc().words[p].attributes[0] = QStringLiteral("[ae!]pl");
    AnswerCorrectly();
    const QColor ink = form().skinTextColour();
    ASSERT_TRUE(ink.isValid());
    for (QLabel *picture : ui().Image_OpP) {
        const QImage image = picture->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(image.isNull());
        int solid = 0, clear = 0, other = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb px = image.pixel(x, y);
                if (qAlpha(px) == 0)
                    ++clear;
                else if (qAlpha(px) < 255)
                    continue;   // the soft edges of the ink
                else if ((px & 0xFFFFFF) == (ink.rgb() & 0xFFFFFF))
                    ++solid;
                else
                    ++other;   // e.g. a black box around the glyphs
            }
        EXPECT_GT(solid, 10);
        EXPECT_GT(clear, solid);
        EXPECT_EQ(other, 0);
    }
}

TEST_F(TQuestionAreaTest, AMessageOverTheQuestionStopsTheGaugeAndHoldsTheNextStep)
{
    StartToReady();
    TSlowMessages messages;
    cc().notifier = &messages;
    AskQuestion();

    // While the question waits: the gauge stands still behind the message.
    int before = -1, after = -1;
    messages.whileOpen = [&] {
        before = flow().gaugePosition();
        QTest::qWait(60);
        after = flow().gaugePosition();
    };
    ui().sBitBtn_Op[0]->click();
    EXPECT_EQ(before, after);
    EXPECT_TRUE(flow().IsAsking());
    AnswerCorrectly();

    // The next question is asked for but not shown yet: it waits for the message.
    const int answered = flow().currentWord();
    bool stepRan = true;
    messages.whileOpen = [&] {
        QTest::qWait(60);
        stepRan = flow().currentWord() != answered;
    };
    Key(Qt::Key_F);
    ASSERT_TRUE(flow().StepPosted());
    ui().sBitBtn_Op[static_cast<size_t>(flow().correctPosition() - 1)]->click();
    EXPECT_FALSE(stepRan);
    EXPECT_EQ(messages.messages.size(), 2);
    EXPECT_TRUE(flow().StepPosted());   // and it comes once the message is gone
    EXPECT_TRUE(WaitFor([&] { return flow().currentWord() != answered && !flow().StepPosted(); }));
    EXPECT_TRUE(flow().IsAsking());
}

TEST_F(TQuestionAreaTest, TheProgressMarkRunsTheProgressMenuAction)
{
    StartToReady();
    AskQuestion();
    AnswerCorrectly();
    QSignalSpy triggered(ui().smStatus, &QAction::triggered);
    QTest::mouseClick(ui().sLabelFX_Status, Qt::LeftButton);
    EXPECT_EQ(triggered.count(), 1);
}

}
