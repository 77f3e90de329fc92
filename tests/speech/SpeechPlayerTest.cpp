#include "speech/SpeechPlayer.h"

#include "SoundTestSupport.h"
#include "base/WaitPumping.h"
#include "speech/DDSD.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>

namespace {
constexpr int kEffectChannels = 40;

TSpeechAudio Tone(int ms, int rate = 22050)
{
    TSpeechAudio a;
    a.sampleRate = rate;
    a.ok = true;
    const int n = rate * ms / 1000;
    a.samples.resize(n);
    for (int i = 0; i < n; ++i)
        a.samples[i] = qint16(8000 * std::sin(2 * M_PI * 220 * i / rate));
    return a;
}
} // namespace

TEST(SpeechPlayer, TheVoiceIsHeardOnTheSoundDeviceAndFinishesWhenItHasPlayed)
{
    TDiskAudioCapture capture;
    {
        TDDSD device(kEffectChannels);
        device.InitializeDevice();
        ASSERT_TRUE(device.Available());
        TSpeechPlayer player;
        QSignalSpy finished(&player, &TSpeechPlayer::Finished);
        QElapsedTimer clock;
        clock.start();
        player.Play(Tone(600));
        EXPECT_TRUE(player.IsPlaying());
        EXPECT_TRUE(player.PlayedOnDevice());
        ASSERT_TRUE(finished.wait(5000));
        EXPECT_GE(clock.elapsed(), 500);
        EXPECT_FALSE(player.IsPlaying());
        EXPECT_EQ(finished.count(), 1);
        // The effects keep all their channels.
        EXPECT_NO_THROW(device.Channel(kEffectChannels - 1));
        capture.WaitHeard(100);   // the voice's last samples reach the file
        device.CloseDevice();
    }
    const std::vector<int> out = capture.LeftSamples();
    const auto loud = [](int v) { return std::abs(v) > 2000; };
    const auto first = std::find_if(out.cbegin(), out.cend(), loud);
    const auto last = std::find_if(out.crbegin(), out.crend(), loud);
    ASSERT_NE(first, out.cend());
    const double seconds = double(std::distance(first, last.base())) / 22050;
    EXPECT_NEAR(seconds, 0.6, 0.08);
    EXPECT_GT(Peak(out), 6000);
}

TEST(SpeechPlayer, ARecreatedDeviceEndsTheVoice)
{
    TAudioDriverScope dummy("dummy");
    TDDSD device(kEffectChannels);
    device.InitializeDevice();
    ASSERT_TRUE(device.Available());
    TSpeechPlayer player;
    QSignalSpy finished(&player, &TSpeechPlayer::Finished);
    // A voice far longer than the wait: only the new device can end it in time.
    player.Play(Tone(60000));
    ASSERT_TRUE(player.PlayedOnDevice());
    QTest::qWait(100);
    device.InitializeDevice();   // as the main window does when it is activated
    EXPECT_TRUE(finished.wait(15000));
}

TEST(SpeechPlayer, WithoutADeviceTheVoiceIsSilentButTakesItsTime)
{
    TSpeechPlayer player;
    QSignalSpy finished(&player, &TSpeechPlayer::Finished);
    QElapsedTimer clock;
    clock.start();
    player.Play(Tone(600));
    EXPECT_FALSE(player.PlayedOnDevice());
    ASSERT_TRUE(finished.wait(3000));
    EXPECT_GE(clock.elapsed(), 550);
}

TEST(SpeechPlayer, EmptyAudioFinishesAtOnceThroughTheEventLoop)
{
    TSpeechPlayer player;
    QSignalSpy finished(&player, &TSpeechPlayer::Finished);
    player.Play(TSpeechAudio{});
    EXPECT_EQ(finished.count(), 0);
    EXPECT_TRUE(finished.wait(15000));
}

TEST(SpeechPlayer, AStoppedVoiceReportsNothingAndANewVoiceReplacesTheOld)
{
    TSpeechPlayer player;
    QSignalSpy finished(&player, &TSpeechPlayer::Finished);
    player.Play(Tone(500));
    player.Stop();
    EXPECT_FALSE(player.IsPlaying());
    QTest::qWait(800);
    EXPECT_EQ(finished.count(), 0);

    player.Play(Tone(60000));
    player.Play(Tone(300));   // replaces the long one, which would outlast the wait
    ASSERT_TRUE(finished.wait(15000));
    EXPECT_EQ(finished.count(), 1);
    QTest::qWait(300);
    EXPECT_EQ(finished.count(), 1);
}

TEST(SpeechPlayer, WaveImageDescribesTheSamples)
{
    const TSpeechAudio a = Tone(100, 22050);
    const QByteArray w = SpeechWaveBytes(a);
    ASSERT_EQ(w.size(), 44 + a.samples.size() * 2);
    EXPECT_EQ(w.left(4), QByteArray("RIFF"));
    EXPECT_EQ(w.mid(8, 8), QByteArray("WAVEfmt "));
    EXPECT_EQ(qFromLittleEndian<quint32>(w.constData() + 24), 22050u);
    EXPECT_EQ(qFromLittleEndian<quint16>(w.constData() + 22), 1u);
    EXPECT_EQ(qFromLittleEndian<quint32>(w.constData() + 40), quint32(a.samples.size() * 2));
    EXPECT_EQ(qFromLittleEndian<qint16>(w.constData() + 44 + 20), a.samples[10]);
}
