#include "speech/Agent.h"
#include "speech/AgentArtwork.h"
#include "speech/AgentBalloon.h"
#include "speech/AgentWindow.h"

#include "SoundTestSupport.h"
#include "base/WaitPumping.h"
#include "speech/DDSD.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QStringList kNames = {
    QStringLiteral("Greet"),       QStringLiteral("Hide"),
    QStringLiteral("Wave"),        QStringLiteral("RestPose"),
    QStringLiteral("Alert"),       QStringLiteral("Pleased"),
    QStringLiteral("Acknowledge"), QStringLiteral("Surprised"),
    QStringLiteral("GetAttentionContinued"), QStringLiteral("Sad"),
    QStringLiteral("Decline"),     QStringLiteral("Uncertain"),
    QStringLiteral("DontRecognize"), QStringLiteral("StopListening"),
    QStringLiteral("Hearing_1"),   QStringLiteral("Hearing_2"),
    QStringLiteral("Think"),       QStringLiteral("Blink"),
    QStringLiteral("Idle2_1"),     QStringLiteral("Idle2_2"),
    QStringLiteral("Idle3_1"),     QStringLiteral("Idle3_2"),
    QStringLiteral("Idle3_3"),     QStringLiteral("Reading"),
    QStringLiteral("Writing"),     QStringLiteral("Processing"),
};

// The pose as numbers, for comparing animations.
std::vector<double> Numbers(const TAgentPose &p)
{
    return {p.x, p.y, p.tilt, p.stretch, p.scale, p.opacity, p.headTilt, p.headX, p.headY, p.wingNear,
            p.wingFar, p.tail, p.lid, p.smile, p.lookX, p.lookY, p.beak, double(p.prop), p.propOpacity,
            p.propX, p.propY, p.propAngle, p.propScale};
}

QImage Grab(TAgentWindow *w) { return w->grab().toImage().convertToFormat(QImage::Format_ARGB32); }

int OpaquePixels(const QImage &img)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += qAlpha(img.pixel(x, y)) > 128;
    return n;
}

// A loaded, shown agent with fast animations.
struct TShownAgent {
    TAgent agent;
    TShownAgent()
    {
        agent.SetPace(4);
        if (!agent.Load())
            throw std::runtime_error("agent artwork missing");
        agent.SetLeft(100);
        agent.SetTop(100);
        QSignalSpy done(&agent, &TAgent::RequestComplete);
        agent.Show();
        done.wait(15000);
    }
};

bool WaitComplete(QSignalSpy &spy, int id, int timeoutMs)
{
    return QTest::qWaitFor([&] {
        for (const QList<QVariant> &args : spy)
            if (args.at(0).toInt() == id)
                return true;
        return false;
    }, timeoutMs);
}

} // namespace

TEST(AgentArtwork, TheBuiltInDrawingHasEveryPartAndAPartialOneIsRefused)
{
    TAgentArtwork art;
    EXPECT_TRUE(art.IsValid()) << art.MissingParts().join(u',').toStdString();
    EXPECT_TRUE(TAgentArtwork::Present());

    TTempProgramFolder folder;
    folder.write(QStringLiteral("bird.svg"),
                 "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 10 10'>"
                 "<g id='body'><rect x='1' y='1' width='5' height='5'/></g></svg>");
    TAgentArtwork partial(folder.file(QStringLiteral("bird.svg")));
    EXPECT_FALSE(partial.IsValid());
    EXPECT_TRUE(partial.MissingParts().contains(QStringLiteral("head")));
    EXPECT_FALSE(partial.MissingParts().contains(QStringLiteral("body")));
    EXPECT_FALSE(TAgentArtwork::Present(folder.file(QStringLiteral("none.svg"))));
    folder.write(QStringLiteral("junk.svg"), "not a drawing");
    EXPECT_FALSE(TAgentArtwork::Present(folder.file(QStringLiteral("junk.svg"))));
}

TEST(AgentAnimations, EveryNameIsAShortDistinctAnimation)
{
    QStringList expected = kNames;
    expected.sort();
    EXPECT_EQ(AgentAnimationNames(), expected);
    std::vector<std::vector<double>> signatures;
    for (const QString &name : kNames) {
        const TAgentAnimation *a = FindAgentAnimation(name);
        ASSERT_NE(a, nullptr) << name.toStdString();
        EXPECT_GE(a->DurationMs(), 200) << name.toStdString();
        EXPECT_LE(a->DurationMs(), 3500) << name.toStdString();
        std::vector<double> sig;
        for (int i = 1; i < 12; ++i) {
            const auto n = Numbers(a->PoseAt(a->DurationMs() * i / 12));
            sig.insert(sig.end(), n.begin(), n.end());
        }
        // It moves: some pose along the way differs from rest.
        EXPECT_NE(sig, [&] {
            std::vector<double> rest;
            for (int i = 1; i < 12; ++i) {
                const auto n = Numbers(TAgentPose{});
                rest.insert(rest.end(), n.begin(), n.end());
            }
            return rest;
        }()) << name.toStdString();
        for (size_t k = 0; k < signatures.size(); ++k)
            EXPECT_NE(signatures[k], sig) << name.toStdString() << " looks like " << kNames[int(k)].toStdString();
        signatures.push_back(sig);
    }
    EXPECT_EQ(FindAgentAnimation(QStringLiteral("Dance")), nullptr);
    EXPECT_EQ(FindAgentAnimation(QStringLiteral("greet")), nullptr);
}

TEST(Agent, EveryNamePlaysOnTheCharacterAndLooksDifferentFromRest)
{
    constexpr int kPoseSamples = 32;   // moments of an animation drawn to see it move
    TShownAgent shown;
    TAgent &agent = shown.agent;
    TAgentWindow *window = agent.Window();
    ASSERT_TRUE(window->isVisible());
    const QImage rest = Grab(window);
    EXPECT_GT(OpaquePixels(rest), 5000);   // the bird is drawn

    QSignalSpy started(&agent, &TAgent::RequestStart);
    QSignalSpy completed(&agent, &TAgent::RequestComplete);
    for (const QString &name : kNames) {
        SCOPED_TRACE(name.toStdString());
        const TAgentAnimation *anim = FindAgentAnimation(name);
        const int pace = anim->DurationMs() < 800 ? 1 : 4;   // short ones as drawn, to see their frames
        agent.SetPace(pace);
        const int id = agent.Play(name);
        ASSERT_GT(id, 0);
        EXPECT_EQ(agent.CurrentAnimation(), name);
        QElapsedTimer clock;
        clock.start();
        // It runs its whole length on the character, then reports.
        ASSERT_TRUE(WaitComplete(completed, id, 30000));
        EXPECT_GE(clock.elapsed() * pace, anim->DurationMs() * 8 / 10);
        EXPECT_TRUE(std::any_of(started.cbegin(), started.cend(),
                                [id](const QList<QVariant> &a) { return a.at(0).toInt() == id; }));
        // On its way the bird looks different from the bird at rest. (Drawn
        // here from the animation's own poses: a busy machine may skip every
        // frame between the first and the last of a live run.)
        bool changed = false;
        for (int k = 1; k < kPoseSamples && !changed; ++k) {
            window->SetPose(anim->PoseAt(anim->DurationMs() * k / kPoseSamples));
            changed = Grab(window) != rest;
        }
        EXPECT_TRUE(changed);
        window->SetPose(TAgentPose{});
    }
}

TEST(Agent, AnUnknownNamePlaysNothing)
{
    TShownAgent shown;
    QSignalSpy started(&shown.agent, &TAgent::RequestStart);
    QSignalSpy completed(&shown.agent, &TAgent::RequestComplete);
    EXPECT_EQ(shown.agent.Play(QStringLiteral("Dance")), 0);
    EXPECT_EQ(shown.agent.Play(QString()), 0);
    EXPECT_EQ(shown.agent.QueuedRequests(), 0);
    QTest::qWait(200);
    EXPECT_EQ(started.count(), 0);
    EXPECT_EQ(completed.count(), 0);
}

TEST(Agent, RequestsRunInTurnAndReportThroughTheEventLoop)
{
    TShownAgent shown;
    TAgent &agent = shown.agent;
    QSignalSpy started(&agent, &TAgent::RequestStart);
    QSignalSpy completed(&agent, &TAgent::RequestComplete);
    const int a = agent.Play(QStringLiteral("Blink"));
    const int b = agent.Play(QStringLiteral("Acknowledge"));
    const int c = agent.Play(QStringLiteral("Blink"));
    EXPECT_LT(a, b);
    EXPECT_LT(b, c);
    EXPECT_EQ(started.count(), 0);   // not inside the call
    EXPECT_EQ(agent.QueuedRequests(), 3);
    ASSERT_TRUE(WaitComplete(completed, c, 15000));
    ASSERT_EQ(started.count(), 3);
    ASSERT_EQ(completed.count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(started.at(i).at(0).toInt(), (QList<int>{a, b, c})[i]);
        EXPECT_EQ(completed.at(i).at(0).toInt(), (QList<int>{a, b, c})[i]);
    }
}

TEST(Agent, StopAllEndsTheRunningAndTheQueuedRequests)
{
    TShownAgent shown;
    TAgent &agent = shown.agent;
    QSignalSpy completed(&agent, &TAgent::RequestComplete);
    const int a = agent.Play(QStringLiteral("Reading"));
    const int b = agent.Play(QStringLiteral("Writing"));
    const int c = agent.Speak(QStringLiteral("hello"), {1033, 135, 150});
    agent.StopAll();
    EXPECT_EQ(agent.QueuedRequests(), 0);
    EXPECT_TRUE(agent.CurrentAnimation().isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return completed.count() >= 3; }, 15000));
    QList<int> ids;
    for (const auto &args : completed)
        ids << args.at(0).toInt();
    EXPECT_EQ(ids, (QList<int>{a, b, c}));
}

TEST(Agent, ShowAndHideBringTheWindowUpAndTakeItAway)
{
    TAgent agent;
    agent.SetPace(4);
    EXPECT_EQ(agent.Show(), 0);   // nothing loaded: no request
    ASSERT_TRUE(agent.Load());
    agent.SetLeft(40);
    agent.SetTop(60);
    QSignalSpy completed(&agent, &TAgent::RequestComplete);
    const int shown = agent.Show();
    EXPECT_TRUE(agent.IsVisible());
    EXPECT_TRUE(agent.Window()->isVisible());
    EXPECT_EQ(agent.Window()->pos(), QPoint(40, 60));
    ASSERT_TRUE(WaitComplete(completed, shown, 15000));
    const int hidden = agent.Hide();
    EXPECT_TRUE(agent.Window()->isVisible());   // vanishing first
    ASSERT_TRUE(WaitComplete(completed, hidden, 15000));
    EXPECT_FALSE(agent.IsVisible());
    EXPECT_FALSE(agent.Window()->isVisible());
    agent.Unload();
    EXPECT_FALSE(agent.IsLoaded());
    EXPECT_EQ(agent.Window(), nullptr);
}

TEST(Agent, SpeakingShowsTheBalloonAndMovesTheBeakUntilTheVoiceEnds)
{
    TShownAgent shown;
    TAgent &agent = shown.agent;
    QSignalSpy completed(&agent, &TAgent::RequestComplete);
    const TSpeechAudio expected = TSpeechSynth::Synthesize(QStringLiteral("remember the garden"), {1033, 135, 150});
    QElapsedTimer clock;
    clock.start();
    const int id = agent.Speak(QStringLiteral("remember the garden"), {1033, 135, 150});
    ASSERT_GT(id, 0);
    EXPECT_EQ(agent.BalloonText(), QStringLiteral("remember the garden"));
    EXPECT_TRUE(agent.Balloon()->isVisible());
    double widest = 0;
    while (!WaitComplete(completed, id, 20) && clock.elapsed() < 10000)
        widest = std::max(widest, agent.Window()->Pose().beak);
    EXPECT_GE(clock.elapsed(), expected.DurationMs() * 8 / 10);
    EXPECT_GT(widest, 0.3);
    EXPECT_TRUE(agent.BalloonText().isEmpty());
    EXPECT_FALSE(agent.Balloon()->isVisible());
}

TEST(Agent, ASpokenWordIsHeardOnTheSoundDevice)
{
    TDiskAudioCapture capture;
    const TSpeechAudio voice = TSpeechSynth::Synthesize(QStringLiteral("important"), {1033, 135, 150});
    {
        TDDSD device(40);
        device.InitializeDevice();
        ASSERT_TRUE(device.Available());
        TShownAgent shown;
        QSignalSpy completed(&shown.agent, &TAgent::RequestComplete);
        const int id = shown.agent.Speak(QStringLiteral("important"), {1033, 135, 150});
        ASSERT_TRUE(WaitComplete(completed, id, 15000));
        capture.WaitHeard(100);   // the voice's last samples reach the file
        device.CloseDevice();
    }
    const std::vector<int> out = capture.LeftSamples();
    const auto loud = [](int v) { return std::abs(v) > 1500; };
    const auto first = std::find_if(out.cbegin(), out.cend(), loud);
    const auto last = std::find_if(out.crbegin(), out.crend(), loud);
    ASSERT_NE(first, out.cend());
    const double heardMs = 1000.0 * double(std::distance(first, last.base())) / 22050;
    EXPECT_NEAR(heardMs, double(voice.DurationMs()), voice.DurationMs() * 0.3);
    EXPECT_GT(Rms(out), 200.0);
}

TEST(Agent, AParkedBirdSpeaksWithoutABalloon)
{
    TShownAgent shown;
    TAgent &agent = shown.agent;
    agent.SetTop(2000);
    agent.SetLeft(20000);
    QSignalSpy completed(&agent, &TAgent::RequestComplete);
    const int id = agent.Speak(QStringLiteral("word"), {1033, 135, 150});
    EXPECT_TRUE(agent.BalloonText().isEmpty());
    EXPECT_TRUE(WaitComplete(completed, id, 15000));
}

TEST(Agent, TheWindowIsOnTheDesktopOnlyWhereTheBirdCanBeSeen)
{
    TShownAgent shown;
    TAgent &agent = shown.agent;
    TAgentWindow *w = agent.Window();
    ASSERT_TRUE(w->isVisible());
    struct TCase {
        const char *name;
        QPoint topLeft;   // left, top
        bool windowShown;
    };
    const TCase cases[] = {
        {"parked out of view", QPoint(100, kParkedTop), false},
        {"beside every screen", QPoint(20000, 100), false},
        {"back in view", QPoint(100, 100), true},
        {"parked far to the right", QPoint(20000, kParkedTop), false},
        {"at its place again", QPoint(120, 80), true},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.name);
        agent.SetLeft(c.topLeft.x());
        agent.SetTop(c.topLeft.y());
        EXPECT_EQ(w->isVisible(), c.windowShown);
        EXPECT_TRUE(agent.IsVisible());   // the bird itself is still there
        if (c.windowShown)
            EXPECT_EQ(w->pos(), c.topLeft);
    }
}

TEST(Agent, TheBirdStepsAwayWhileAModalWindowIsOpen)
{
    TShownAgent shown;
    TAgent &agent = shown.agent;
    TAgentWindow *w = agent.Window();
    ASSERT_TRUE(w->isVisible());
    {
        QDialog modal;
        modal.setModal(true);
        modal.show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !w->isVisible(); }, 15000));
        // Whatever the bird is asked meanwhile, it does not come over the window.
        QSignalSpy completed(&agent, &TAgent::RequestComplete);
        const int id = agent.Play(QStringLiteral("Wave"));
        agent.SetTop(120);
        EXPECT_TRUE(WaitComplete(completed, id, 15000));
        EXPECT_FALSE(w->isVisible());
        modal.hide();
        EXPECT_TRUE(QTest::qWaitFor([&] { return w->isVisible(); }, 15000));
        EXPECT_EQ(w->pos(), QPoint(100, 120));
        // A bird hidden while the modal window is open stays away after it.
        modal.show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !w->isVisible(); }, 15000));
        const int hidden = agent.Hide(true);
        EXPECT_TRUE(WaitComplete(completed, hidden, 15000));
        modal.hide();
    }
    QApplication::processEvents();
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(agent.IsVisible());
}

TEST(Agent, IdlingStartsAfterAQuietSpellOnly)
{
    TShownAgent shown;
    TAgent &agent = shown.agent;
    agent.SetIdleDelay(300);
    QElapsedTimer clock;
    clock.start();
    qint64 thinkDone = -1;
    qint64 idleAt = -1;
    const int think = agent.Play(QStringLiteral("Think"));   // about 550 ms at pace 4
    QObject::connect(&agent, &TAgent::RequestComplete, [&](int id) {
        if (id == think)
            thinkDone = clock.elapsed();
    });
    QObject::connect(&agent, &TAgent::IdleStart, [&] {
        if (idleAt < 0)
            idleAt = clock.elapsed();
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return idleAt >= 0; }, 5000));
    ASSERT_GE(thinkDone, 0);                 // not while the bird was busy
    // A coarse timer may fire a few percent early, and a busy machine delays
    // the moment the test notes the end of Think: a clear quiet spell is enough.
    EXPECT_GE(idleAt - thinkDone, 240);
}

TEST(Agent, DraggingMovesTheBirdAndReportsTheMoveAndTheDragsEnd)
{
    TShownAgent shown;
    TAgent &agent = shown.agent;
    TAgentWindow *w = agent.Window();
    QSignalSpy moved(&agent, &TAgent::Move);
    QSignalSpy dragged(&agent, &TAgent::DragComplete);
    const QPoint grab(60, 80);
    const QPoint start = w->mapToGlobal(grab);
    auto send = [&](QEvent::Type type, QPoint global, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent e(type, QPointF(w->mapFromGlobal(global)), QPointF(global), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    };
    send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, start + QPoint(30, 40), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseMove, start + QPoint(70, 55), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, start + QPoint(70, 55), Qt::LeftButton, Qt::NoButton);
    ASSERT_EQ(moved.count(), 1);
    ASSERT_EQ(dragged.count(), 1);
    EXPECT_EQ(agent.Left(), 170);
    EXPECT_EQ(agent.Top(), 155);
    EXPECT_EQ(moved.at(0).at(0).toInt(), 170);
    EXPECT_EQ(moved.at(0).at(1).toInt(), 155);
    EXPECT_EQ(moved.at(0).at(2).value<TAgentMoveCause>(), TAgentMoveCause::User);

    // A click without moving is no drag.
    send(QEvent::MouseButtonPress, w->mapToGlobal(grab), Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, w->mapToGlobal(grab), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(dragged.count(), 1);
}

TEST(Agent, ALanguageWithoutAVoiceIsRefused)
{
    TAgent agent;
    ASSERT_TRUE(agent.SetLanguageID(1040));
    EXPECT_FALSE(agent.SetLanguageID(1044));
    EXPECT_EQ(agent.LanguageID(), 1040);
}

// On a screen at scale 2 the bird is drawn with the screen's own pixels, not
// enlarged from a drawing at scale 1 (where every 2x2 block of pixels would
// be one colour). Run at scale 2 by its own test entry.
TEST(AgentWindow, TheBirdIsDrawnAtTheScreensPixelDensity)
{
    TShownAgent shown;
    TAgentWindow *w = shown.agent.Window();
    const qreal ratio = w->devicePixelRatioF();
    if (ratio < 2)
        GTEST_SKIP() << "the screen is at scale " << ratio;
    const QImage image = Grab(w);
    ASSERT_EQ(image.size(), (QSizeF(w->size()) * ratio).toSize());
    int mixedBlocks = 0;
    for (int y = 0; y + 1 < image.height(); y += 2)
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb c = image.pixel(x, y);
            mixedBlocks += image.pixel(x + 1, y) != c || image.pixel(x, y + 1) != c || image.pixel(x + 1, y + 1) != c;
        }
    EXPECT_GT(mixedBlocks, 100);
}
