// The agent's reaction to an answer: which draw decides, the phrases only
// for US English, the quiet-agent setting, and the chances over many draws.
#include "TrainingWindowFixture.h"
#include "app/Farewell.h"

#include "app/AgentReaction.h"
#include "speech/SpeechAndSound.h"
#include "speech/Agent.h"
#include "speech/Speech.h"
#include "base/Random.h"
#include "workspace/FileSettings.h"

#include <QList>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <map>
#include <gtest/gtest.h>

namespace {

// Draws answered from a script: the n of each oneIn(n) asked is noted and
// answered by the script's next entry (false once it runs out); below(n)
// gives the scripted index.
struct TScriptedDraws {
    QList<bool> answers;
    int index = 0;
    QList<int> asked;
    QList<int> belowAsked;

    TReactionDraws Draws()
    {
        return {[this](int n) {
                    asked.append(n);
                    return answers.isEmpty() ? false : answers.takeFirst();
                },
                [this](int n) {
                    belowAsked.append(n);
                    return index;
                }};
    }
};

TAgentReaction Animation(const char *name)
{
    return {TReactionKind::Animation, QString::fromLatin1(name)};
}

TAgentReaction Phrase(const QString &text)
{
    return {TReactionKind::Phrase, text};
}

}   // namespace

TEST(AgentReaction, TheFirstDrawThatSucceedsDecides)
{
    struct TCase {
        bool correct;
        bool usEnglish;
        QList<bool> answers;
        int index;
        TAgentReaction expected;
        QList<int> asked;        // the chances drawn, in order
        QList<int> belowAsked;   // the phrase lists drawn from
    };
    const QString praise1 = PraisePhrases()[0];
    const QString praise15 = PraisePhrases()[14];
    const QString encouragement8 = EncouragementPhrases()[7];
    const QString encouragement9 = EncouragementPhrases()[8];
    const TCase cases[] = {
        {true, true, {true}, 0, Animation("Pleased"), {3}, {}},
        {true, true, {false, true}, 0, Animation("Acknowledge"), {3, 3}, {}},
        {true, true, {false, false, true}, 0, Animation("Surprised"), {3, 3, 33}, {}},
        {true, true, {false, false, false, true}, 0, Animation("GetAttentionContinued"), {3, 3, 33, 33}, {}},
        {true, true, {false, false, false, false, true}, 0, Phrase(praise1), {3, 3, 33, 33, 22}, {8}},
        {true, true, {false, false, false, false, false, true}, 14, Phrase(praise15), {3, 3, 33, 33, 22, 22}, {15}},
        {true, true, {}, 0, {}, {3, 3, 33, 33, 22, 22}, {}},
        // Another language: the animations only, no phrase drawn at all.
        {true, false, {false, false, false, false, true, true}, 0, {}, {3, 3, 33, 33}, {}},
        {false, true, {true}, 0, Animation("Sad"), {7}, {}},
        {false, true, {false, true}, 0, Animation("Decline"), {7, 15}, {}},
        {false, true, {false, false, true}, 0, Animation("Uncertain"), {7, 15, 22}, {}},
        {false, true, {false, false, false, true}, 0, Animation("DontRecognize"), {7, 15, 22, 22}, {}},
        {false, true, {false, false, false, false, true}, 0, Animation("StopListening"), {7, 15, 22, 22, 22}, {}},
        {false, true, {false, false, false, false, false, true}, 7, Phrase(encouragement8), {7, 15, 22, 22, 22, 22}, {8}},
        {false, true, {false, false, false, false, false, false, true}, 8, Phrase(encouragement9),
         {7, 15, 22, 22, 22, 22, 22}, {15}},
        {false, false, {false, false, false, false, false, true, true}, 0, {}, {7, 15, 22, 22, 22}, {}},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(testing::Message() << c.correct << c.usEnglish << " answers " << c.answers.size());
        TScriptedDraws script{c.answers, c.index, {}, {}};
        EXPECT_EQ(ChooseAgentReaction(c.correct, c.usEnglish, script.Draws()), c.expected);
        EXPECT_EQ(script.asked, c.asked);
        EXPECT_EQ(script.belowAsked, c.belowAsked);
    }
}

TEST(AgentReaction, ThePhrasesAreTheTablesOwn)
{
    ASSERT_EQ(PraisePhrases().size(), 15);
    ASSERT_EQ(EncouragementPhrases().size(), 15);
    EXPECT_EQ(PraisePhrases()[7], QStringLiteral("That's the ticket!"));
    EXPECT_EQ(PraisePhrases()[10], QStringLiteral("Gooood."));
    EXPECT_EQ(EncouragementPhrases()[8], QStringLiteral("It's still too early to despair."));
    EXPECT_EQ(EncouragementPhrases()[14], QStringLiteral("You really let me down."));
}

TEST(AgentReaction, OverManyAnswersTheChancesHold)
{
    TRandom random(3);
    constexpr int kAnswers = 60000;
    std::map<QString, int> correct;
    std::map<QString, int> wrong;
    int longListPhrases = 0;
    for (int i = 0; i < kAnswers; ++i) {
        const TAgentReaction r = ChooseAgentReaction(true, true, DrawsFrom(random));
        ++correct[r.kind == TReactionKind::Phrase ? QStringLiteral("phrase") : r.text];
        if (r.kind == TReactionKind::Phrase && PraisePhrases().indexOf(r.text) >= 8)
            ++longListPhrases;
        const TAgentReaction w = ChooseAgentReaction(false, false, DrawsFrom(random));
        ASSERT_NE(w.kind, TReactionKind::Phrase);
        ++wrong[w.text];
    }
    const auto share = [](int count) { return count / double(kAnswers); };
    EXPECT_NEAR(share(correct[QStringLiteral("Pleased")]), 1.0 / 3, 0.01);
    EXPECT_NEAR(share(correct[QStringLiteral("Acknowledge")]), 2.0 / 9, 0.01);
    EXPECT_NEAR(share(wrong[QStringLiteral("Sad")]), 1.0 / 7, 0.01);
    // Left after the four animations: 4/9 * (32/33)^2; then 1/22 + 21/22 * 1/22 of it.
    const double left = 4.0 / 9 * (32.0 / 33) * (32.0 / 33);
    EXPECT_NEAR(share(correct[QStringLiteral("phrase")]), left * (1.0 / 22 + 21.0 / 22 / 22), 0.004);
    EXPECT_GT(longListPhrases, 0);
}

TEST(AgentReaction, TheQuietAgentAndPronunciationOnlyKeepItStill)
{
    struct TCase {
        int quietAgent;
        int speechMode;
        bool quiet;
    };
    const TCase cases[] = {{0, kSpeechWithAgent, false}, {1, kSpeechWithAgent, true},
                           {0, kSpeechPronunciationOnly, true}, {0, kSpeechOff, false}};
    for (const TCase &c : cases) {
        TFileSettings s;
        s.quietAgent = c.quietAgent;
        s.speechMode = c.speechMode;
        EXPECT_EQ(AgentKeepsQuiet(s), c.quiet) << c.quietAgent << " " << c.speechMode;
    }
}

// In the window: a while after a right and after a wrong answer the parakeet
// plays what the reaction rules draw. Needs a screen the parakeet can show on
// (run under Xvfb); the window with the parakeet is grabbed into the build
// folder (agent_right.png, agent_wrong.png) to look at.
TEST_F(TTrainingWindowTest, TheParakeetReactsToRightAndWrongAnswers)
{
    StartToReady();
    TSpeechAndSound &media = program->media();
    cc().settings.speechMode = kSpeechWithAgent;
    media.StartAgent();
    if (!media.AgentOnScreen())
        GTEST_SKIP() << "no parakeet on this machine";
    TAgent &agent = media.speech().Agent1();
    ASSERT_TRUE(WaitFor([&] { return agent.QueuedRequests() == 0; }));
    const bool usEnglish = media.SpeechLanguageId() == kUsEnglishLanguageId;

    for (const bool right : {true, false}) {
        SCOPED_TRACE(right);
        // A seed whose first draws make an animation.
        quint32 seed = 1;
        TAgentReaction expected;
        for (;; ++seed) {
            TRandom probe(seed);
            expected = ChooseAgentReaction(right, usEnglish, DrawsFrom(probe));
            if (expected.kind == TReactionKind::Animation)
                break;
        }
        AskQuestion();
        const int wrongKey = flow().correctPosition() % 3 + 1;
        Key(static_cast<Qt::Key>(Qt::Key_0 + (right ? flow().correctPosition() : wrongKey)));
        ASSERT_TRUE(WaitForState(TFlowState::Reviewing));
        program->media().WindowRandom().Seed(seed);
        ASSERT_TRUE(WaitFor([&] { return agent.CurrentAnimation() == expected.text; }));
        const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
        EXPECT_TRUE(shot.save(QStringLiteral(TESSARION_BINARY_DIR "/agent_%1.png").arg(right ? "right" : "wrong")));
        ASSERT_TRUE(WaitFor([&] { return agent.QueuedRequests() == 0; }));
    }
}
