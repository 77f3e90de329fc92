#include "speech/SpeechPlayer.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>

namespace {
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

TEST(SpeechPlayer, FinishesWhenTheVoiceHasPlayedNotBefore)
{
    TSpeechPlayer player;
    QSignalSpy finished(&player, &TSpeechPlayer::Finished);
    QElapsedTimer clock;
    clock.start();
    player.Play(Tone(600));
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_TRUE(player.PlayedOnDevice());   // the dummy device plays in real time
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_GE(clock.elapsed(), 500);
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(finished.count(), 1);
}

TEST(SpeechPlayer, EmptyAudioFinishesAtOnceThroughTheEventLoop)
{
    TSpeechPlayer player;
    QSignalSpy finished(&player, &TSpeechPlayer::Finished);
    player.Play(TSpeechAudio{});
    EXPECT_EQ(finished.count(), 0);
    EXPECT_TRUE(finished.wait(1000));
}

TEST(SpeechPlayer, StoppedVoiceReportsNothingAndANewVoiceReplacesTheOld)
{
    TSpeechPlayer player;
    QSignalSpy finished(&player, &TSpeechPlayer::Finished);
    player.Play(Tone(800));
    player.Stop();
    EXPECT_FALSE(player.IsPlaying());
    QTest::qWait(1200);
    EXPECT_EQ(finished.count(), 0);

    player.Play(Tone(2000));
    player.Play(Tone(300));   // replaces the long one
    ASSERT_TRUE(finished.wait(2500));
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
