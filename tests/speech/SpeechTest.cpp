#include "speech/Speech.h"

#include "engine/CommonUnit.h"
#include "speech/AgentWindow.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kFrench = QStringLiteral("{0879A4E0-A92C-11D1-B17B-0020AFED142E}");
const QString kBritish = QStringLiteral("{227A0E40-A92A-11D1-B17B-0020AFED142E}");
const QString kUsDefault = QStringLiteral("{CA141FD0-AC7F-11D1-97A3-006008273002}");

// An engine object with the current file TT (slot 1), speech with the agent,
// and a speech object whose bird animates fast.
class SpeechRules : public ::testing::Test {
protected:
    SpeechRules()
    {
        QDir().mkpath(folder.file(QStringLiteral("user/setting")));
        cc.userFolder = folder.file(QStringLiteral("user/"));
        cc.fileCode = QStringLiteral("TT");
        cc.fileSlot = 1;
        cc.settings.speechMode = 2;
        cc.settings.speechEngine = QStringLiteral("void");
        cc.settings.agentTop = 120;
        cc.settings.agentLeft = 300;
        speech.Agent1().SetPace(4);
        speech.Agent1().SetIdleDelay(60000);
    }

    TAgent &agent() { return speech.Agent1(); }

    // StartAgent and wait until the greeting runs.
    void StartOnScreen()
    {
        speech.UseStoredSpeechEngine();
        speech.StartAgent();
        ASSERT_EQ(speech.AgentState(), TAgentState::OnScreen);
        ASSERT_TRUE(QTest::qWaitFor([&] { return agent().CurrentAnimation() == QStringLiteral("Greet"); }, 3000));
        WaitQuiet();
    }
    void WaitQuiet() { ASSERT_TRUE(QTest::qWaitFor([&] { return agent().QueuedRequests() == 0; }, 10000)); }

    TTempProgramFolder folder;
    TCC cc;
    TRandom draws;
    TSpeech speech{cc, draws};
};

} // namespace

TEST_F(SpeechRules, ApplySpeechModeTakesKnownModesInAnyCaseAndIgnoresOthers)
{
    speech.ApplySpeechMode(kFrench.toLower());
    EXPECT_EQ(speech.CurrentTTS().modeId, kFrench);
    EXPECT_EQ(speech.CurrentTTS().pitch, QStringLiteral("159"));
    EXPECT_EQ(speech.CurrentTTS().speed, QStringLiteral("156"));
    EXPECT_EQ(speech.CurrentTTS().languageId, 1036);
    for (const QString &unknown : {QStringLiteral("{00000000-0000-0000-0000-000000000000}"), QStringLiteral("void"),
                                   QString()}) {
        speech.ApplySpeechMode(unknown);
        EXPECT_EQ(speech.CurrentTTS().modeId, kFrench);
        EXPECT_EQ(speech.CurrentTTS().pitch, QStringLiteral("159"));
        EXPECT_EQ(speech.CurrentTTS().languageId, 1036);
    }
    speech.ApplySpeechMode(QStringLiteral("227A0E40-A92A-11D1-B17B-0020AFED142E"));   // without braces
    EXPECT_EQ(speech.CurrentTTS().modeId, kBritish);
}

TEST_F(SpeechRules, WithNoStoredModeTheFileChoosesItsVoiceAndTheChoiceIsStored)
{
    cc.fileCode = QStringLiteral("FT");
    cc.fileSlot = 9;
    StartOnScreen();
    EXPECT_EQ(speech.CurrentTTS().modeId, kFrench);
    EXPECT_EQ(agent().LanguageID(), 1036);
    EXPECT_EQ(agent().TTSModeID(), kFrench);
    EXPECT_EQ(cc.settings.speechEngine, kFrench);
    speech.SpeakText(QStringLiteral("bonjour"), false);
    EXPECT_EQ(agent().LastSpeechVoice().languageId, 1036);
    EXPECT_EQ(agent().LastSpeechVoice().pitch, 159);
    EXPECT_EQ(agent().LastSpeechVoice().speed, 156);
}

TEST_F(SpeechRules, AnEngineChosenInThePreferencesWinsOverTheStoredOne)
{
    cc.settings.speechEngine = kFrench;
    StartOnScreen();
    EXPECT_EQ(agent().LanguageID(), 1036);
    speech.hooks.preferencesEngineChoice = [] { return kBritish; };
    ASSERT_TRUE(speech.SelectSpeechEngine(cc.fileSlot));
    EXPECT_EQ(speech.CurrentTTS().modeId, kBritish);
    EXPECT_EQ(agent().LanguageID(), 2057);
    EXPECT_EQ(cc.settings.speechEngine, kBritish);
    speech.hooks.preferencesEngineChoice = [] { return QString(); };   // preferences closed
    ASSERT_TRUE(speech.SelectSpeechEngine(cc.fileSlot));
    EXPECT_EQ(speech.CurrentTTS().modeId, kBritish);   // stays selected
}

TEST_F(SpeechRules, SpeechOffSelectsNothing)
{
    cc.settings.speechMode = 0;
    EXPECT_TRUE(speech.SelectSpeechEngine(9));
    EXPECT_TRUE(speech.CurrentTTS().modeId.isEmpty());
    EXPECT_TRUE(speech.CurrentTTS().pitch.isEmpty());
}

TEST_F(SpeechRules, StartAgentFollowsTheSpeechMode)
{
    cc.settings.speechMode = 0;
    speech.StartAgent();
    EXPECT_EQ(speech.AgentState(), TAgentState::NotLoaded);
    EXPECT_FALSE(agent().IsLoaded());

    cc.settings.speechMode = 2;
    StartOnScreen();
    TAgentWindow *window = agent().Window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->pos(), QPoint(300, 120));
    EXPECT_EQ(speech.CurrentTTS().modeId, kUsDefault);

    speech.HideAgent();
    EXPECT_EQ(speech.AgentState(), TAgentState::Hidden);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 3000));

    // Started again: the same character comes back, not a new one.
    cc.settings.agentTop = 200;
    speech.StartAgent();
    EXPECT_EQ(speech.AgentState(), TAgentState::OnScreen);
    EXPECT_EQ(agent().Window(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(agent().Top(), 200);

    cc.settings.speechMode = 0;   // switched off: hidden, still loaded
    speech.StartAgent();
    EXPECT_EQ(speech.AgentState(), TAgentState::Hidden);
    speech.UnloadAgent();
    EXPECT_EQ(speech.AgentState(), TAgentState::NotLoaded);
    EXPECT_FALSE(agent().IsLoaded());
}

TEST_F(SpeechRules, ABirdThatCannotStartSwitchesSpeechOffAndSaysSo)
{
    agent().SetArtworkPath(folder.file(QStringLiteral("no-such-bird.svg")));
    speech.StartAgent();
    EXPECT_EQ(cc.settings.speechMode, 0);
    EXPECT_EQ(speech.AgentState(), TAgentState::NotLoaded);
    ASSERT_EQ(cc.defaultNotifier.messages.size(), 1);
    EXPECT_EQ(cc.defaultNotifier.messages[0], QString::fromUtf8(kAgentStartErrorText));
    EXPECT_TRUE(QFile::exists(cc.FileSettingsPath()));   // the switched-off mode is saved
}

TEST_F(SpeechRules, ATrackedRequestSetsTheBusyFlagUntilItCompletes)
{
    StartOnScreen();
    QSignalSpy completed(&agent(), &TAgent::RequestComplete);
    const QString sentence = QStringLiteral("remember the beautiful garden of the old house by the river");
    speech.SpeakText(sentence, true);
    const int tracked = speech.TrackedSpeakRequest();
    ASSERT_GT(tracked, 0);
    EXPECT_FALSE(speech.Busy());   // the start is reported through the event loop
    ASSERT_TRUE(QTest::qWaitFor([&] { return speech.Busy(); }, 15000));

    // While busy, speaking and animations are skipped.
    speech.SpeakText(QStringLiteral("garden"), false);
    speech.PlayAgentAnimation(QStringLiteral("Wave"), false);
    EXPECT_EQ(agent().CurrentRequest(), tracked);
    EXPECT_EQ(agent().QueuedRequests(), 1);
    EXPECT_EQ(agent().BalloonText(), sentence);

    ASSERT_TRUE(QTest::qWaitFor([&] { return !speech.Busy(); }, 15000));
    EXPECT_FALSE(completed.isEmpty());

    // Untracked speech never sets the flag.
    speech.SpeakText(QStringLiteral("garden"), false);
    EXPECT_EQ(speech.TrackedSpeakRequest(), tracked);
    for (int i = 0; i < 20; ++i) {
        QTest::qWait(20);
        EXPECT_FALSE(speech.Busy());
    }
}

TEST_F(SpeechRules, ATrackedHideAtShutdownKeepsTheBirdSilentUntilItCompletes)
{
    StartOnScreen();
    speech.PlayAgentAnimation(QStringLiteral("Hide"), true);
    const int hide = speech.TrackedPlayRequest();
    ASSERT_GT(hide, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return speech.Busy(); }, 15000));
    speech.SpeakText(QStringLiteral("Bye"), true);
    speech.PlayAgentAnimation(QStringLiteral("Wave"), true);
    EXPECT_EQ(agent().CurrentRequest(), hide);
    EXPECT_EQ(agent().QueuedRequests(), 1);
    EXPECT_TRUE(agent().BalloonText().isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !speech.Busy(); }, 5000));
    speech.SpeakText(QStringLiteral("Bye"), false);
    EXPECT_EQ(agent().BalloonText(), QStringLiteral("Bye"));
}

TEST_F(SpeechRules, SpeakWordClearsTheBusyFlagAndSpeaksTheSpokenForm)
{
    cc.fileSlot = 8;
    cc.fileCode = QStringLiteral("IT");
    StartOnScreen();
    speech.SetBusy(true);
    speech.SpeakWord(QStringLiteral("andare_i"));
    EXPECT_FALSE(speech.Busy());
    EXPECT_EQ(agent().BalloonText(), QStringLiteral("andare"));
    EXPECT_EQ(agent().LastSpeechVoice().languageId, 1040);
    EXPECT_EQ(agent().LastSpeechVoice().pitch, 165);
}

TEST_F(SpeechRules, TheSpokenFormDropsTheHeadwordMarks)
{
    EXPECT_EQ(speech.SpokenForm(QStringLiteral("make @ happy")), QStringLiteral("make happy"));
    EXPECT_EQ(speech.SpokenForm(QStringLiteral("go_i")), QStringLiteral("go"));
    EXPECT_EQ(speech.SpokenForm(QStringLiteral("bank2")), QStringLiteral("bank"));
    EXPECT_EQ(speech.SpokenForm(QStringLiteral("come/go on")), QStringLiteral("come on"));
    EXPECT_EQ(speech.SpokenForm(QString()), QString());
}

TEST_F(SpeechRules, SpeechIsSkippedWhenOffOrNotLoaded)
{
    speech.SpeakText(QStringLiteral("word"), true);   // nothing loaded
    EXPECT_EQ(speech.TrackedSpeakRequest(), 0);
    StartOnScreen();
    for (int mode : {0, 9, 3}) {
        cc.settings.speechMode = mode;
        speech.SpeakText(QStringLiteral("word"), true);
        EXPECT_EQ(speech.TrackedSpeakRequest(), 0) << mode;
        EXPECT_EQ(agent().QueuedRequests(), 0) << mode;
    }
    cc.settings.speechMode = 1;   // pronunciation only still speaks
    speech.SpeakText(QStringLiteral("word"), true);
    EXPECT_GT(speech.TrackedSpeakRequest(), 0);
}

TEST_F(SpeechRules, AnimationsPlayOnlyWithTheAgentModeAndOutsideTheStarView)
{
    StartOnScreen();
    cc.settings.speechMode = 1;
    speech.PlayAgentAnimation(QStringLiteral("Wave"), true);
    EXPECT_EQ(agent().QueuedRequests(), 0);
    EXPECT_EQ(speech.TrackedPlayRequest(), 0);
    cc.settings.speechMode = 2;
    bool cosmos = true;
    speech.hooks.cosmosShowing = [&] { return cosmos; };
    speech.PlayAgentAnimation(QStringLiteral("Wave"), false);
    EXPECT_EQ(agent().QueuedRequests(), 0);
    cosmos = false;

    // Between questions a new animation replaces the running one ...
    speech.PlayAgentAnimation(QStringLiteral("Reading"), false);
    speech.PlayAgentAnimation(QStringLiteral("Wave"), false);
    EXPECT_EQ(agent().CurrentAnimation(), QStringLiteral("Wave"));
    EXPECT_EQ(agent().QueuedRequests(), 1);
    // ... during the training it follows on.
    speech.hooks.trainingFlagsSet = [] { return true; };
    speech.PlayAgentAnimation(QStringLiteral("Pleased"), false);
    EXPECT_EQ(agent().CurrentAnimation(), QStringLiteral("Wave"));
    EXPECT_EQ(agent().QueuedRequests(), 2);
    // An unknown name plays nothing and tracks nothing.
    speech.PlayAgentAnimation(QStringLiteral("Dance"), true);
    EXPECT_EQ(agent().QueuedRequests(), 2);
    EXPECT_EQ(speech.TrackedPlayRequest(), 0);
}

TEST_F(SpeechRules, MovesAtTheParkingTopKeepTheSavedPosition)
{
    cc.settings.speechMode = 1;
    cc.settings.agentTop = kParkedTop;
    StartOnScreen();
    EXPECT_EQ(agent().Top(), kParkedTop);
    speech.Agent1Move(300, kParkedTop, TAgentMoveCause::Program);
    EXPECT_EQ(cc.settings.agentTop, kParkedTop);
    EXPECT_EQ(cc.settings.agentLeft, 300);
    cc.settings.agentTop = 150;
    speech.Agent1Move(444, kParkedTop, TAgentMoveCause::User);
    EXPECT_EQ(cc.settings.agentTop, 150);
    EXPECT_EQ(cc.settings.agentLeft, 300);

    cc.settings.speechMode = 2;
    speech.Agent1Move(410, 260, TAgentMoveCause::User);
    EXPECT_EQ(cc.settings.agentTop, 260);
    EXPECT_EQ(cc.settings.agentLeft, 410);
    EXPECT_EQ(agent().CurrentAnimation(), QStringLiteral("Blink"));
    EXPECT_EQ(agent().QueuedRequests(), 1);   // the second blink stopped the first (no training running)
}

TEST_F(SpeechRules, DragCompleteBringsTheMainWindowBackAndReadsTheTop)
{
    StartOnScreen();
    int raised = 0;
    speech.hooks.bringMainWindowToFront = [&] { ++raised; };
    agent().SetTop(333);
    speech.Agent1DragComplete(300, 333);
    EXPECT_EQ(raised, 1);
    EXPECT_EQ(cc.settings.agentTop, 333);
}

TEST_F(SpeechRules, IdleStartPicksAnIdleAnimationOrCalmsTheBird)
{
    StartOnScreen();
    int volumes = 0;
    speech.hooks.applySoundVolumes = [&] { ++volumes; };
    const QStringList idles = {QStringLiteral("Idle2_1"), QStringLiteral("Reading"), QStringLiteral("Idle3_1"),
                               QStringLiteral("Idle3_2"), QStringLiteral("Idle3_3"), QStringLiteral("Writing"),
                               QStringLiteral("Processing"), QStringLiteral("Idle2_2")};
    draws.Seed(11);
    TRandom mirror(11);
    int none = 0;
    for (int i = 0; i < 30; ++i) {
        const int draw = mirror.Below(9);
        speech.Agent1IdleStart();
        if (draw == 8) {
            EXPECT_EQ(agent().QueuedRequests(), 0);
            ++none;
        } else {
            EXPECT_EQ(agent().CurrentAnimation(), idles[draw]);
        }
        agent().StopAll();
    }
    EXPECT_EQ(volumes, 30);
    EXPECT_GT(none, 0);

    // A busy flag is cleared instead.
    speech.SetBusy(true);
    speech.Agent1IdleStart();
    EXPECT_FALSE(speech.Busy());
    EXPECT_EQ(agent().QueuedRequests(), 0);

    // The quiet setting, speech off, the drill or the star view: the bird stops.
    const std::function<void()> calmers[] = {
        [&] { cc.settings.quietAgent = 1; },
        [&] { cc.settings.speechMode = 9; },
        [&] { speech.hooks.quickResponseShowing = [] { return true; }; },
        [&] { speech.hooks.cosmosShowing = [] { return true; }; },
    };
    for (const auto &calm : calmers) {
        cc.settings.quietAgent = 0;
        cc.settings.speechMode = 2;
        speech.hooks = {};
        agent().Play(QStringLiteral("Reading"));
        calm();
        speech.Agent1IdleStart();
        EXPECT_EQ(agent().QueuedRequests(), 0);
    }
}

TEST_F(SpeechRules, ComponentsAndInstalledModes)
{
    for (int slot : {1, 8, 9, 10, 11, 12, 13, 40}) {
        cc.fileSlot = slot;
        EXPECT_TRUE(speech.SpeechComponentsPresent()) << slot;
    }
    const QList<TSpeechModeEntry> modes = TSpeech::InstalledSpeechModes();
    ASSERT_EQ(modes.size(), 30);
    EXPECT_EQ(modes.first().modeId, QString::fromLatin1(SpeechEngineTable()[0].modeId));
    EXPECT_TRUE(modes.first().name.startsWith(QStringLiteral("英語（米国） 1")));
    EXPECT_TRUE(modes.last().name.startsWith(QStringLiteral("ロシア語 2")));
}
