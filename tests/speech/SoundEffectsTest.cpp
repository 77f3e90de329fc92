#include "SoundTestSupport.h"
#include "base/Random.h"
#include "speech/SoundEffects.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QSet>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// A program folder whose 33 sound files each hold one constant level.
void WriteConstantSounds(const TTempProgramFolder &dir, qint16 value, double seconds)
{
    for (const QString &name : TSoundEffects::SoundNames())
        dir.write(QStringLiteral("resource/") + name + QStringLiteral(".dat"), ConstantWave(value, seconds));
}

QSet<int> LoadedChannels(TSoundEffects &sounds)
{
    QSet<int> loaded;
    for (int c = 0; c < sounds.DDSD1.ChannelCount(); ++c) {
        if (sounds.DDSD1.Channel(c).HasWaveData())
            loaded.insert(c);
    }
    return loaded;
}

QSet<int> Range(int from, int to)
{
    QSet<int> set;
    for (int c = from; c <= to; ++c)
        set.insert(c);
    return set;
}

const QSet<int> kEffectChannels = Range(0, 15) - QSet<int>{1};

// Gives a channel its own constant level, so the output tells which channels play.
void Mark(TSoundEffects &sounds, const TTempProgramFolder &dir, int channel, qint16 value, double seconds)
{
    const QString file = QStringLiteral("mark%1.wav").arg(channel);
    dir.write(file, ConstantWave(value, seconds));
    sounds.DDSD1.Channel(channel).SetWaveData(TDDSDWaveData(sounds.DDSD1, dir.file(file)));
}

// A program folder of constant-level sounds, played on a device that writes
// its output through the disk driver.
struct THeardSounds {
    THeardSounds(qint16 level, double seconds, const QString &programFolder = {})
        : sounds(programFolder.isEmpty() ? dir.path() : programFolder)
    {
        WriteConstantSounds(dir, level, seconds);
        sounds.DDSD1.InitializeDevice();
    }
    // Everything that reached the output (left channel); closes the device.
    std::vector<int> Output()
    {
        sounds.DDSD1.CloseDevice();
        return capture.LeftSamples();
    }
    TDiskAudioCapture capture;
    TTempProgramFolder dir;
    TSoundEffects sounds;
};

}   // namespace

TEST(SoundEffects, ThirtyThreeNamesEachWithItsChannels)
{
    const QStringList names = TSoundEffects::SoundNames();
    ASSERT_EQ(names.size(), 33);
    EXPECT_EQ(names.first(), QStringLiteral("NORM_FIN"));
    EXPECT_EQ(names.last(), QStringLiteral("TYPE16"));
    TSoundEffects sounds(QString{});
    QSet<int> used;
    for (const QString &name : names) {
        used.insert(sounds.SelectChannel(name));
        used.insert(sounds.SelectChannel(name));   // the alternate, where there is one
    }
    EXPECT_EQ(used, Range(0, 35) - QSet<int>{1});   // channel 1 and 36..39 stay empty
}

TEST(SoundEffects, AlternatingChannels)
{
    struct Case {
        QStringList played;
        std::vector<int> channels;
    };
    const Case cases[] = {
        {{u"FIRSTTIME"_qs, u"FIRSTTIME"_qs, u"FIRSTTIME"_qs}, {4, 5, 4}},
        {{u"REVIEW"_qs, u"FIRSTTIME"_qs, u"FIRSTTIME"_qs}, {7, 4, 5}},
        {{u"REVIEW"_qs, u"REVIEW"_qs, u"AGAIN"_qs, u"REVIEW"_qs}, {7, 8, 6, 7}},
        {{u"TYPE4-5D"_qs, u"TYPE4-5D"_qs, u"TYPE4-5D"_qs}, {22, 30, 22}},
        {{u"TYPE4-5C"_qs, u"TYPE4-5D"_qs, u"TYPE4-5C"_qs, u"TYPE4-5C"_qs}, {21, 22, 21, 29}},
        // The effect and typing alternations keep their own memory.
        {{u"FIRSTTIME"_qs, u"TYPE4-5F"_qs, u"FIRSTTIME"_qs, u"TYPE4-5F"_qs}, {4, 24, 5, 32}},
        // Names are exact; anything else plays channel 0.
        {{u"firsttime"_qs, u"NOPE"_qs, QString(), u"CORRECT"_qs, u"TYPE12"_qs}, {0, 0, 0, 2, 31}},
    };
    for (const Case &c : cases) {
        TSoundEffects sounds(QString{});
        std::vector<int> channels;
        for (const QString &name : c.played)
            channels.push_back(sounds.SelectChannel(name));
        EXPECT_EQ(channels, c.channels) << c.played.join(u' ').toStdString();
    }
}

TEST(SoundEffects, TypingSettingLoadsItsOwnFilesAndTYPE8)
{
    struct Case {
        int typingSound;
        QSet<int> typingChannels;
    };
    const Case cases[] = {
        {1, {16}},
        {2, {16, 17, 18, 19}},
        {3, {20}},
        {4, {21, 29}},
        {5, {21, 22, 23, 24, 29, 30, 31, 32}},
        {6, {25}},
        {8, {}},
        {10, {29}},
        {12, {31}},
        {16, {35}},
        {0, {}},    // out of range: only TYPE8
        {17, {}},
    };
    TAudioDriverScope dummy("dummy");
    TTempProgramFolder dir;
    WriteConstantSounds(dir, 1000, 0.02);
    TSoundEffects sounds(dir.path());
    sounds.DDSD1.InitializeDevice();
    ASSERT_TRUE(sounds.DDSD1.Available());
    for (const Case &c : cases) {
        // Loaded one after another: nothing of the previous setting lingers.
        sounds.SetSettings({900, 900, c.typingSound});
        sounds.LoadSoundEffects();
        EXPECT_EQ(LoadedChannels(sounds), kEffectChannels + c.typingChannels + QSet<int>{27}) << c.typingSound;
    }
}

TEST(SoundEffects, VolumesFollowTheTwoSettings)
{
    TAudioDriverScope dummy("dummy");
    TTempProgramFolder dir;
    WriteConstantSounds(dir, 1000, 0.02);
    TSoundEffects sounds(dir.path());
    sounds.DDSD1.InitializeDevice();
    TSoundSettings settings{1500, 700, 1};
    sounds.SetSettingsSource([&settings] { return settings; });
    sounds.LoadSoundEffects();
    EXPECT_EQ(sounds.DDSD1.Channel(0).Volume(), -500);
    EXPECT_EQ(sounds.DDSD1.Channel(15).Volume(), -500);
    EXPECT_EQ(sounds.DDSD1.Channel(16).Volume(), -1300);
    EXPECT_EQ(sounds.DDSD1.Channel(39).Volume(), -1300);
    // A volume of 0 leaves its group's channels as they were.
    settings = {0, 2000, 1};
    sounds.ApplySoundVolumes();
    EXPECT_EQ(sounds.DDSD1.Channel(2).Volume(), -500);
    EXPECT_EQ(sounds.DDSD1.Channel(27).Volume(), 0);
}

TEST(SoundEffects, TypingVolumeBelow50LoadsNothingAndAllIsSilent)
{
    THeardSounds heard(8000, 0.1);
    TSoundEffects &sounds = heard.sounds;
    ASSERT_TRUE(sounds.DDSD1.Available());
    sounds.SetSettings({900, 900, 5});
    sounds.LoadSoundEffects();
    ASSERT_FALSE(LoadedChannels(sounds).isEmpty());
    sounds.SetSettings({2000, 49, 5});
    sounds.LoadSoundEffects();
    EXPECT_TRUE(LoadedChannels(sounds).isEmpty());
    for (const QString &name : {u"CORRECT"_qs, u"FIRSTTIME"_qs, u"TYPE8"_qs, u"TYPE4-5C"_qs}) {
        sounds.PlaySoundEffect(name);
        heard.capture.WaitHeard(30);
    }
    heard.capture.WaitHeard(150);
    const std::vector<int> out = heard.Output();
    EXPECT_GT(out.size(), 4000u);   // the device did run
    EXPECT_EQ(Peak(out), 0);
}

// A played sound reaches the output at the level its volume setting gives
// (10^((setting - 2000) / 2000) of full); a volume of 0 silences its group.
TEST(SoundEffects, PlayedSoundIsHeardAtItsSettingsVolume)
{
    struct Case {
        int effectVolume;
        int typingVolume;
    };
    const Case cases[] = {{2000, 2000}, {1000, 1500}, {300, 60}, {0, 900}, {900, 0}};
    constexpr int kLevel = 16000;
    for (const Case &c : cases) {
        THeardSounds run(kLevel, 0.12);
        TSoundEffects &sounds = run.sounds;
        ASSERT_TRUE(sounds.DDSD1.Available());
        // Loaded at a typing volume that loads (below 50 nothing would be),
        // played at the case's volumes: playing reads the current settings.
        TSoundSettings settings{c.effectVolume, 900, 3};
        sounds.SetSettingsSource([&settings] { return settings; });
        sounds.LoadSoundEffects();
        settings.typingVolume = c.typingVolume;
        sounds.PlaySoundEffect(u"CORRECT"_qs);
        run.capture.WaitHeard(250);
        sounds.PlaySoundEffect(u"TYPE3"_qs);
        run.capture.WaitHeard(250);
        const std::vector<int> out = run.Output();
        ASSERT_GT(out.size(), 8000u);

        // The two sounds as they came out, in order.
        std::vector<int> heard;
        for (size_t i = 0; i < out.size();) {
            size_t j = i;
            while (j < out.size() && out[j] == out[i])
                ++j;
            if (out[i] != 0 && j - i > 1000)
                heard.push_back(out[i]);
            i = j;
        }
        std::vector<double> expected;
        for (int volume : {c.effectVolume, c.typingVolume}) {
            if (volume > 0)
                expected.push_back(kLevel * std::pow(10.0, (volume - 2000) / 2000.0));
        }
        ASSERT_EQ(heard.size(), expected.size()) << c.effectVolume << "/" << c.typingVolume;
        for (size_t k = 0; k < heard.size(); ++k)   // within one step of the mixer's 128 volumes
            EXPECT_NEAR(heard[k], expected[k], kLevel / 128.0) << c.effectVolume << "/" << c.typingVolume;
    }
}

// Which channels play shows in the output: each gets its own level.
TEST(SoundEffects, AlternationIsHeardOnTheRightChannels)
{
    struct Case {
        QStringList played;                       // one every 80 ms
        std::vector<std::pair<int, qint16>> marks;   // channel, level (sounds of 0.5 s)
        std::vector<int> levels;                  // heard, in thousands
    };
    const Case cases[] = {
        // REVIEW, FIRSTTIME, FIRSTTIME: 7, then 7+4, then 7+4+5 (the first
        // FIRSTTIME still sounds when the second starts), then they end in turn.
        {{u"REVIEW"_qs, u"FIRSTTIME"_qs, u"FIRSTTIME"_qs},
         {{4, 1000}, {5, 2000}, {7, 4000}, {8, 8000}},
         {4, 5, 7, 3, 2, 0}},
        // TYPE4-5D three times: 22, 30, 22; the replay of 22 starts it over,
        // so 22 outlasts 30.
        {{u"TYPE4-5D"_qs, u"TYPE4-5D"_qs, u"TYPE4-5D"_qs}, {{22, 1000}, {30, 2000}}, {1, 3, 1, 0}},
    };
    for (const Case &c : cases) {
        THeardSounds run(1000, 0.05);
        TSoundEffects &sounds = run.sounds;
        ASSERT_TRUE(sounds.DDSD1.Available());
        sounds.SetSettings({2000, 2000, 5});
        sounds.LoadSoundEffects();
        for (const auto &[channel, level] : c.marks)
            Mark(sounds, run.dir, channel, level, 0.5);
        for (const QString &name : c.played) {
            sounds.PlaySoundEffect(name);
            run.capture.WaitHeard(80);
        }
        run.capture.WaitHeard(600);
        EXPECT_EQ(Levels(run.Output(), 1000), c.levels) << c.played.join(u' ').toStdString();
    }
}

TEST(SoundEffects, MissingOrBrokenFilesLeaveOnlyTheirChannelsSilent)
{
    THeardSounds heard(8000, 0.1);
    QFile::remove(heard.dir.file(QStringLiteral("resource/CORRECT.dat")));
    heard.dir.write(QStringLiteral("resource/WRONG.dat"), QByteArray("RIFF\x04\0\0\0WAVE", 12));
    TSoundEffects &sounds = heard.sounds;
    sounds.SetSettings({2000, 2000, 1});
    sounds.LoadSoundEffects();
    EXPECT_EQ(LoadedChannels(sounds), (kEffectChannels - QSet<int>{2, 10} + QSet<int>{16, 27}));
    sounds.PlaySoundEffect(u"CORRECT"_qs);
    sounds.PlaySoundEffect(u"WRONG"_qs);
    heard.capture.WaitHeard(200);
    sounds.PlaySoundEffect(u"MASTER"_qs);
    heard.capture.WaitHeard(200);
    EXPECT_EQ(Levels(heard.Output(), 8000), (std::vector<int>{1, 0}));
}

TEST(SoundEffects, WithoutAnAudioDeviceNothingPlaysAndNothingFails)
{
    TAudioDriverScope noDevice("no-such-driver");
    TSoundEffects sounds(BinaryDir() + QStringLiteral("/"));
    sounds.DDSD1.InitializeDevice();
    EXPECT_FALSE(sounds.DDSD1.Available());
    sounds.LoadSoundEffects();
    EXPECT_TRUE(LoadedChannels(sounds).isEmpty());
    for (const QString &name : TSoundEffects::SoundNames())
        EXPECT_NO_THROW(sounds.PlaySoundEffect(name));
}

TEST(SoundEffects, TypedKeyPlaysTheSettingsSound)
{
    TRandom random(7);
    struct Case {
        int typingSound;
        QSet<QString> names;
    };
    const Case cases[] = {
        {1, {u"TYPE1-2C"_qs}},
        {2, {u"TYPE1-2C"_qs, u"TYPE1-2D"_qs, u"TYPE1-2E"_qs, u"TYPE1-2F"_qs}},
        {3, {u"TYPE3"_qs}},
        {4, {u"TYPE4-5C"_qs}},
        {5, {u"TYPE4-5C"_qs, u"TYPE4-5D"_qs, u"TYPE4-5E"_qs, u"TYPE4-5F"_qs}},
        {8, {u"TYPE8"_qs}},
        {16, {u"TYPE16"_qs}},
    };
    for (const Case &c : cases) {
        QSet<QString> drawn;
        for (int i = 0; i < 200; ++i)
            drawn.insert(TSoundEffects::TypingSoundName(c.typingSound, random));
        EXPECT_EQ(drawn, c.names) << c.typingSound;
    }
}

// ---- the shipped sound files ------------------------------------------------

TEST(ShippedSounds, AllThirtyThreeAreShortDistinctPcmWaves)
{
    QSet<QByteArray> contents;
    int shortOnes = 0;
    std::vector<double> effectRms;
    std::vector<double> typingRms;
    TAudioDriverScope dummy("dummy");
    TDDSD player(1);
    player.InitializeDevice();
    ASSERT_TRUE(player.Available());
    for (const QString &name : TSoundEffects::SoundNames()) {
        QFile f(SourceDir() + QStringLiteral("/resource/") + name + QStringLiteral(".dat"));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        EXPECT_TRUE(TDDSDWaveData(player, f.fileName()).HasBuffer()) << name.toStdString();
        const QByteArray bytes = f.readAll();
        contents.insert(bytes);
        int channels = 0;
        int rate = 0;
        const std::vector<int> samples = WaveSamples(bytes, &channels, &rate);
        ASSERT_FALSE(samples.empty()) << name.toStdString();
        EXPECT_EQ(rate, 22050) << name.toStdString();
        const double seconds = static_cast<double>(samples.size()) / rate;
        EXPECT_LT(seconds, 1.0) << name.toStdString();
        if (seconds < 0.5)
            ++shortOnes;
        EXPECT_LT(Peak(samples), 32767 * 0.9) << name.toStdString();   // headroom, no clipping
        (name.startsWith(u"TYPE") ? typingRms : effectRms).push_back(20 * std::log10(Rms(samples) / 32768));
    }
    EXPECT_EQ(contents.size(), 33);
    EXPECT_GE(shortOnes, 28);
    // One loudness within each group.
    for (const auto *group : {&effectRms, &typingRms}) {
        const auto [lo, hi] = std::minmax_element(group->begin(), group->end());
        EXPECT_LT(*hi - *lo, 1.0);
    }
}

TEST(ShippedSounds, RealEffectsAreHeardAtTheirVolume)
{
    // Two runs of the real CORRECT and WRONG at different settings: the output
    // differs by the settings' difference in decibels.
    std::vector<double> rms;
    for (int volume : {2000, 900}) {
        THeardSounds run(0, 0.01, SourceDir() + QStringLiteral("/"));
        TSoundEffects &sounds = run.sounds;
        ASSERT_TRUE(sounds.DDSD1.Available());
        sounds.SetSettings({volume, 900, 1});
        sounds.LoadSoundEffects();
        EXPECT_EQ(LoadedChannels(sounds), (kEffectChannels + QSet<int>{16, 27}));
        sounds.PlaySoundEffect(u"CORRECT"_qs);
        run.capture.WaitHeard(450);
        sounds.PlaySoundEffect(u"WRONG"_qs);
        run.capture.WaitHeard(450);
        std::vector<int> out = run.Output();
        std::erase(out, 0);
        rms.push_back(Rms(out));
    }
    ASSERT_GT(rms[1], 0);
    EXPECT_NEAR(20 * std::log10(rms[0] / rms[1]), 11.0, 0.5);
}
