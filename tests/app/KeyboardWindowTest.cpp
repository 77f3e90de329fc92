// The keyboard of the training window: the characters typed on the Japanese
// and on other layouts, a real typing question with its glimpse keys and its
// completion test, and Ctrl speaking the word.
#include "TrainingWindowFixture.h"

#include "app/MainWidgets.h"
#include "speech/SpeechAndSound.h"
#include "speech/Agent.h"
#include "speech/Speech.h"

#include <QKeyEvent>
#include <QToolButton>

namespace {

class TKeyboardWindowTest : public TTrainingWindowTest {
protected:
    // Sends one key press as a keyboard delivers it: key, modifiers and text.
    void Press(int key, Qt::KeyboardModifiers mods, const QString &text)
    {
        QWidget *target = QApplication::focusWidget();
        if (!target || target->window() != &form())
            target = ui().sButton_focus;
        QKeyEvent event(QEvent::KeyPress, key, mods, text);
        QApplication::sendEvent(target, &event);
    }

    void TypeLetters(const QString &word)
    {
        for (QChar c : word)
            Press(Qt::Key_A + (c.toLatin1() - 'a'), Qt::NoModifier, QString(c));
    }

    // The next question is a typing question on "apple": every word is at
    // level 2 and due, and the first due word is asked.
    void AskTypingQuestion()
    {
        cc().settings.typingForEvenLevels = 1;
        cc().settings.answerDirection = TAnswerDirection::MeaningToWord;
        for (int p = 1; p <= cc().TangoTotal(); ++p) {
            cc().words[p].level = 2;
            cc().words[p].stage1Counter = 50;
        }
        AskQuestion();
        ASSERT_TRUE(flow().typingQuestion());
        ASSERT_EQ(cc().DisplayForm(flow().currentWord()), QStringLiteral("apple"));
    }
};

// Counts the paints of a label while it shows a text.
class TFlashCounter : public QObject {
public:
    explicit TFlashCounter(QLabel *label) : m_label(label) { label->installEventFilter(this); }
    ~TFlashCounter() override { m_label->removeEventFilter(this); }
    int flashes = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        // A flash is the answer painted after an empty label; a second paint
        // while it is shown (the window repainting under load) is the same flash.
        if (event->type() == QEvent::Paint) {
            const bool shown = !m_label->text().isEmpty();
            if (shown && !m_shown)
                ++flashes;
            m_shown = shown;
        }
        return false;
    }

private:
    QLabel *m_label;
    bool m_shown = false;
};

struct TTypedCase {
    const char *name;
    int key;
    Qt::KeyboardModifiers mods;
    const char16_t *text;
    const char16_t *typed;
};

const Qt::KeyboardModifiers kNone = Qt::NoModifier;
const Qt::KeyboardModifiers kShift = Qt::ShiftModifier;

// What each key types while a choice question waits.
const TTypedCase kTypedCases[] = {
    // The Japanese layout gives exactly the characters of its table.
    {"jp :", Qt::Key_Colon, kNone, u":", u":"},
    {"jp Shift+:", Qt::Key_Asterisk, kShift, u"*", u"*"},
    {"jp ;", Qt::Key_Semicolon, kNone, u";", u";"},
    {"jp Shift+;", Qt::Key_Plus, kShift, u"+", u"+"},
    {"jp ,", Qt::Key_Comma, kNone, u",", u","},
    {"jp Shift+,", Qt::Key_Less, kShift, u"<", u"<"},
    {"jp -", Qt::Key_Minus, kNone, u"-", u"-"},
    {"jp Shift+-", Qt::Key_Equal, kShift, u"=", u"="},
    {"jp .", Qt::Key_Period, kNone, u".", u"."},
    {"jp Shift+.", Qt::Key_Greater, kShift, u">", u">"},
    {"jp /", Qt::Key_Slash, kNone, u"/", u"/"},
    {"jp Shift+/", Qt::Key_Question, kShift, u"?", u"?"},
    {"jp @", Qt::Key_At, kNone, u"@", u"@"},
    {"jp Shift+@", Qt::Key_QuoteLeft, kShift, u"`", u"`"},
    {"jp [", Qt::Key_BracketLeft, kNone, u"[", u"["},
    {"jp Shift+[", Qt::Key_BraceLeft, kShift, u"{", u"{"},
    {"jp yen", Qt::Key_yen, kNone, u"\u00A5", u"\\"},
    {"jp Shift+yen", Qt::Key_Bar, kShift, u"|", u"|"},
    {"jp ]", Qt::Key_BracketRight, kNone, u"]", u"]"},
    {"jp Shift+]", Qt::Key_BraceRight, kShift, u"}", u"}"},
    {"jp ^", Qt::Key_AsciiCircum, kNone, u"^", u"^"},
    {"jp Shift+^", Qt::Key_AsciiTilde, kShift, u"~", u"~"},
    {"jp ro", Qt::Key_Backslash, kNone, u"\\", u"\\"},
    {"jp Shift+ro", Qt::Key_Underscore, kShift, u"_", u"_"},
    {"jp Shift+1", Qt::Key_Exclam, kShift, u"!", u"!"},
    {"jp Shift+2", Qt::Key_QuoteDbl, kShift, u"\"", u"\""},
    {"jp Shift+3", Qt::Key_NumberSign, kShift, u"#", u"#"},
    {"jp Shift+4", Qt::Key_Dollar, kShift, u"$", u"$"},
    {"jp Shift+6", Qt::Key_Ampersand, kShift, u"&", u"&"},
    {"jp Shift+7", Qt::Key_Apostrophe, kShift, u"'", u"'"},
    {"jp Shift+8", Qt::Key_ParenLeft, kShift, u"(", u"("},
    {"jp 4", Qt::Key_4, kNone, u"4", u"4"},
    {"jp 0", Qt::Key_0, kNone, u"0", u"0"},
    {"jp x", Qt::Key_X, kNone, u"x", u"x"},
    {"jp Shift+x", Qt::Key_X, kShift, u"X", u"X"},
    {"jp space", Qt::Key_Space, kNone, u" ", u" "},
    {"pad -", Qt::Key_Minus, Qt::KeypadModifier, u"-", u"-"},
    {"pad 7", Qt::Key_7, Qt::KeypadModifier, u"7", u"7"},
    // Other layouts give the character the learner typed.
    {"us Shift+2", Qt::Key_At, kShift, u"@", u"@"},
    {"us Shift+6", Qt::Key_AsciiCircum, kShift, u"^", u"^"},
    {"us Shift+;", Qt::Key_Colon, kShift, u":", u":"},
    {"us =", Qt::Key_Equal, kNone, u"=", u"="},
    {"us `", Qt::Key_QuoteLeft, kNone, u"`", u"`"},
    {"us '", Qt::Key_Apostrophe, kNone, u"'", u"'"},
    {"us Shift+'", Qt::Key_QuoteDbl, kShift, u"\"", u"\""},
    {"us Shift+7", Qt::Key_Ampersand, kShift, u"&", u"&"},
    {"us Shift+0", Qt::Key_ParenRight, kShift, u")", u")"},
    {"us Shift+-", Qt::Key_Underscore, kShift, u"_", u"_"},
    {"us Shift+=", Qt::Key_Plus, kShift, u"+", u"+"},
    {"fr Shift+4", Qt::Key_4, kShift, u"4", u"4"},
    {"it e grave", Qt::Key_Egrave, kNone, u"\u00E8", u"\u00E8"},
    // Keys that stand for no character type nothing.
    {"F5", Qt::Key_F5, kNone, u"", u""},
    {"Insert", Qt::Key_Insert, kNone, u"", u""},
    {"euro sign", Qt::Key_unknown, kNone, u"\u20AC", u""},
};

TEST_F(TKeyboardWindowTest, EveryKeyTypesTheCharacterThatArrived)
{
    StartToReady();
    AskQuestion();
    ASSERT_FALSE(flow().typingQuestion());
    flow().PauseGauge();
    for (const TTypedCase &c : kTypedCases) {
        const QString before = flow().typedAnswer();
        Press(c.key, c.mods, QString::fromUtf16(c.text));
        EXPECT_EQ(flow().typedAnswer(), before + QString::fromUtf16(c.typed)) << c.name;
        ASSERT_TRUE(flow().IsAsking()) << c.name;
        ASSERT_EQ(flow().chosenOption(), 0) << c.name;
    }
    EXPECT_EQ(ui().sLabel_Input->text(), flow().typedAnswer() + QStringLiteral("_"));
}

TEST_F(TKeyboardWindowTest, ADigitThatArrivedWithShiftStillChoosesItsOption)
{
    StartToReady();
    AskQuestion();
    Press(Qt::Key_2, Qt::ShiftModifier, QStringLiteral("2"));   // a French keyboard's 2
    ASSERT_TRUE(WaitForState(TFlowState::Reviewing));
    EXPECT_EQ(flow().chosenOption(), 2);
}

TEST_F(TKeyboardWindowTest, ATypingQuestionShowsTheLettersAndIgnoresTheOptionKeys)
{
    StartToReady();
    AskTypingQuestion();
    EXPECT_TRUE(ui().sPanel_glimpse->isVisible());
    EXPECT_FALSE(ui().sBitBtn_Op[1]->isVisible());
    ASSERT_TRUE(WaitFor([&] { return flow().optionsRevealed(); }));
    EXPECT_EQ(ui().sLabel_Op[0]->text(), QStringLiteral("    a****"));
    TypeLetters(QStringLiteral("ap"));
    EXPECT_EQ(ui().sLabel_Input->text(), QStringLiteral("ap_"));
    for (Qt::Key key : {Qt::Key_1, Qt::Key_2, Qt::Key_3})
        Press(key, Qt::NoModifier, QString(QChar(key)));
    Press(Qt::Key_1, Qt::KeypadModifier, QStringLiteral("1"));
    Press(Qt::Key_End, Qt::KeypadModifier, QString());
    Press(Qt::Key_PageDown, Qt::KeypadModifier, QString());
    Press(Qt::Key_Exclam, Qt::ShiftModifier, QStringLiteral("!"));
    EXPECT_TRUE(flow().IsAsking());
    EXPECT_EQ(flow().chosenOption(), 0);
    EXPECT_EQ(flow().typedAnswer(), QStringLiteral("ap"));
    // Other digits are typed.
    Press(Qt::Key_4, Qt::NoModifier, QStringLiteral("4"));
    EXPECT_EQ(ui().sLabel_Input->text(), QStringLiteral("ap4_"));
    Press(Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
    EXPECT_EQ(ui().sLabel_Input->text(), QStringLiteral("ap_"));
}

TEST_F(TKeyboardWindowTest, TheGlimpseKeysFlashTheAnswerAtMostOnceIn200Ms)
{
    StartToReady();
    cc().settings.glimpse = 0;   // 3 flashes of 1 ms
    AskTypingQuestion();
    flow().PauseGauge();
    TFlashCounter counter(ui().sLabel_glimpse);
    qint64 now = 1000;
    flow().SetGlimpseClock([&now] { return now; });
    for (int i = 0; i < 5; ++i) {
        Press(Qt::Key_Up, Qt::NoModifier, QString());
        now += 30;   // a held key repeats within one interval
    }
    Press(Qt::Key_Zenkaku_Hankaku, Qt::NoModifier, QString());
    EXPECT_EQ(counter.flashes, 3);
    EXPECT_EQ(ui().sLabel_glimpse->text(), QString());   // gone again
    EXPECT_TRUE(flow().IsAsking());
    EXPECT_EQ(flow().typedAnswer(), QString());

    now += 220 - 5 * 30;
    Press(Qt::Key_Down, Qt::NoModifier, QString());   // a glimpse, not option 2
    EXPECT_EQ(counter.flashes, 6);
    EXPECT_TRUE(flow().IsAsking());
    EXPECT_EQ(flow().chosenOption(), 0);
}

TEST_F(TKeyboardWindowTest, TypingTheWholeWordEndsTheQuestionAsCorrect)
{
    StartToReady();
    AskTypingQuestion();
    const int word = flow().currentWord();
    TypeLetters(QStringLiteral("appl"));
    EXPECT_TRUE(flow().IsAsking());
    TypeLetters(QStringLiteral("e"));
    ASSERT_TRUE(WaitForState(TFlowState::Reviewing));   // no Enter needed
    EXPECT_TRUE(flow().answerCorrect());
    EXPECT_EQ(flow().chosenOption(), 0);
    EXPECT_EQ(cc().words[word].level, 3);
    EXPECT_EQ(ui().sLabel_Op[0]->text(), QStringLiteral("    apple"));
    EXPECT_EQ(ui().sSpeedButton_Signal->property("picture").toString(), QStringLiteral("Signal_O"));
}

TEST_F(TKeyboardWindowTest, TypingADistractorInFullEndsTheQuestionAsWrong)
{
    StartToReady();
    AskTypingQuestion();
    const int word = flow().currentWord();
    const QString distractor = cc().DisplayForm(flow().optionWords()[1]);
    TypeLetters(distractor);
    ASSERT_TRUE(WaitForState(TFlowState::Reviewing));
    EXPECT_FALSE(flow().answerCorrect());
    EXPECT_EQ(cc().words[word].level, 1);
    EXPECT_TRUE(cc().training.retryPending);
    EXPECT_EQ(ui().sSpeedButton_Signal->property("picture").toString(), QStringLiteral("Signal_X"));
    // A distractor is among the options: no hint names it.
    EXPECT_EQ(ui().sLabel_Hasei->text(), QString());
}

TEST_F(TKeyboardWindowTest, ALongAnswerShrinksTheInputFontOnePixelPerKeystroke)
{
    StartToReady();
    AskQuestion();
    flow().PauseGauge();
    QLabel *input = ui().sLabel_Input;
    ASSERT_EQ(input->font().pixelSize(), 24);
    const int top = input->y();
    int shrinks = 0;
    for (int i = 0; i < 40; ++i) {
        const int size = input->font().pixelSize();
        const int y = input->y();
        Press(Qt::Key_W, Qt::NoModifier, QStringLiteral("w"));
        const bool wide = QFontMetrics(input->font()).horizontalAdvance(flow().typedAnswer()) > 338 ||
                          input->font().pixelSize() < size;
        if (input->font().pixelSize() < size) {
            ++shrinks;
            EXPECT_EQ(input->font().pixelSize(), size - 1) << i;
            EXPECT_EQ(input->y(), y + 1) << i;
        } else {
            EXPECT_FALSE(wide) << i;
            EXPECT_EQ(input->y(), y) << i;
        }
    }
    EXPECT_GT(shrinks, 5);
    EXPECT_EQ(input->y(), top + shrinks);
    EXPECT_EQ(input->text(), flow().typedAnswer() + QStringLiteral("_"));

    // The next question starts at full size again.
    flow().ResumeGauge();
    Key(Qt::Key_Return);
    ASSERT_TRUE(WaitForState(TFlowState::Reviewing));
    AskQuestion();
    EXPECT_EQ(input->font().pixelSize(), 24);
    EXPECT_EQ(input->y(), top);
}

TEST_F(TKeyboardWindowTest, CtrlSpeaksTheWordWhileReviewingAndAsksNothing)
{
    StartToReady();
    TAgent &agent = program->media().speech().Agent1();
    if (!agent.IsLoaded())
        GTEST_SKIP() << "no speech on this machine";
    AskQuestion();
    const int word = flow().currentWord();
    AnswerCorrectly();
    agent.StopAll();
    Press(Qt::Key_Control, Qt::ControlModifier, QString());
    EXPECT_EQ(flow().State(), TFlowState::Reviewing);
    EXPECT_TRUE(WaitFor([&] { return agent.BalloonText().contains(cc().DisplayForm(word)); }));
}

TEST_F(TKeyboardWindowTest, CtrlOnTheStartScreenAsksTheFirstQuestion)
{
    StartToReady();
    Press(Qt::Key_Control, Qt::ControlModifier, QString());
    EXPECT_TRUE(WaitFor([&] { return flow().IsAsking() && !flow().StepPosted(); }));
}

}
