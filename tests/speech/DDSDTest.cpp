#include "SoundTestSupport.h"
#include "speech/DDSD.h"
#include "support/TestSupport.h"

#include <cmath>
#include <gtest/gtest.h>

TEST(DDSD, ConvertsHundredthsOfDecibelToMixerVolume)
{
    struct Case {
        int hundredths;
        int linear;
    };
    const Case cases[] = {
        {0, 128}, {500, 128}, {-600, 64}, {-1100, 36}, {-2000, 13}, {-6000, 0}, {-10000, 0}, {-20000, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DDSDLinearVolume(c.hundredths), c.linear) << c.hundredths;
}

TEST(DDSD, ChannelOutsideTheCountIsAPlayerError)
{
    TDDSD player(40);
    EXPECT_NO_THROW(player.Channel(0));
    EXPECT_NO_THROW(player.Channel(39));
    EXPECT_THROW(player.Channel(40), EDDSD);
    EXPECT_THROW(player.Channel(-1), TFatalError);
}

TEST(DDSD, WithoutAnAudioDeviceEverythingIsQuietlySkipped)
{
    TAudioDriverScope noDevice("no-such-driver");
    TTempProgramFolder dir;
    dir.write(QStringLiteral("a.wav"), ConstantWave(1000, 0.1));
    TDDSD player(40);
    player.InitializeDevice();
    EXPECT_FALSE(player.Available());
    player.SetPrimaryFormat(22050, 16, true);
    const TDDSDWaveData wave(player, dir.file(QStringLiteral("a.wav")));
    EXPECT_FALSE(wave.HasBuffer());
    player.Channel(3).SetWaveData(wave);
    player.Channel(3).SetVolume(-500);
    EXPECT_NO_THROW(player.Channel(3).Play());
    EXPECT_FALSE(player.Channel(3).HasWaveData());
}

TEST(DDSD, BrokenWaveFilesLeaveTheChannelSilent)
{
    const QByteArray good = ConstantWave(1000, 0.05);
    QByteArray noData = good.left(36);                 // RIFF, WAVE and "fmt " only
    QByteArray noFormat = QByteArray("RIFF\x1c\0\0\0WAVE", 12) + good.mid(36, 8) + good.mid(44, 16);
    QByteArray shortFormat = good;
    shortFormat[16] = 8;                               // "fmt " chunk claims 8 bytes
    struct Case {
        const char *name;
        QByteArray bytes;
        bool plays;
    };
    const Case cases[] = {
        {"good", good, true},
        {"empty", QByteArray(), false},
        {"text", QByteArray("not a sound at all\r\n"), false},
        {"no data chunk", noData, false},
        {"no fmt chunk", noFormat, false},
        {"short fmt chunk", shortFormat, false},
        {"truncated header", good.left(10), false},
        {"RIFF but not WAVE", QByteArray("RIFF\x04\0\0\0AVI ", 12) + good.mid(12), false},
        {"Ogg stream", QByteArray("OggS\0\x02", 6) + QByteArray(200, '\x01'), false},
    };
    TAudioDriverScope dummy("dummy");
    TDDSD player(4);
    player.InitializeDevice();
    ASSERT_TRUE(player.Available());
    TTempProgramFolder dir;
    for (const Case &c : cases) {
        dir.write(QStringLiteral("x.dat"), c.bytes);
        const TDDSDWaveData wave(player, dir.file(QStringLiteral("x.dat")));
        EXPECT_EQ(wave.HasBuffer(), c.plays) << c.name;
        player.Channel(1).SetWaveData(wave);
        EXPECT_EQ(player.Channel(1).HasWaveData(), c.plays) << c.name;
        EXPECT_NO_THROW(player.Channel(1).Play()) << c.name;
    }
    const TDDSDWaveData missing(player, dir.file(QStringLiteral("missing.dat")));
    EXPECT_FALSE(missing.HasBuffer());
}

// What reaches the output: the sound at the channel's volume, two channels
// summed, a replay starting over, and a cleared channel staying silent.
TEST(DDSD, OutputCarriesEachChannelAtItsVolume)
{
    TDiskAudioCapture capture;
    TTempProgramFolder dir;
    dir.write(QStringLiteral("a.wav"), ConstantWave(16000, 0.5));
    dir.write(QStringLiteral("b.wav"), ConstantWave(8000, 0.5));
    {
        TDDSD player(40);
        player.InitializeDevice();
        ASSERT_TRUE(player.Available());
        player.Channel(10).SetWaveData(TDDSDWaveData(player, dir.file(QStringLiteral("a.wav"))));
        player.Channel(39).SetWaveData(TDDSDWaveData(player, dir.file(QStringLiteral("b.wav"))));
        player.Channel(10).SetVolume(-600);   // 16000 at half: 8000
        player.Channel(10).Play();
        capture.WaitHeard(120);
        player.Channel(39).Play();             // 8000 on top: 16000
        capture.WaitHeard(650);
        player.Channel(39).SetVolume(0);
        player.Channel(39).Play();
        capture.WaitHeard(100);
        player.Channel(39).Stop();             // stopped early: silence
        capture.WaitHeard(100);
        player.Channel(39).Clear();
        player.Channel(39).Play();             // nothing left to play
        capture.WaitHeard(100);
        player.CloseDevice();
    }
    EXPECT_EQ(Levels(capture.LeftSamples(), 4000), (std::vector<int>{2, 4, 2, 0, 2, 0}));
}
