// The start of the sound device and the speech engine: after the first
// window, and at once for a sound asked for before then.
#include "speech/SpeechAndSound.h"

#include "SoundTestSupport.h"
#include "engine/CommonUnit.h"
#include "speech/SoundEffects.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {
constexpr qint16 kLevel = 8000;
constexpr int kCorrectChannel = 2;

// An engine whose program folder holds 33 sounds of one constant level, at
// full effect volume; speech is off, so only the device is started.
struct TMediaBeforeTheStart {
    TMediaBeforeTheStart()
    {
        for (const QString &name : TSoundEffects::SoundNames())
            dir.write(QStringLiteral("resource/") + name + QStringLiteral(".dat"), ConstantWave(kLevel, 0.2));
        cc.programFolder = dir.path();
        cc.settings.effectVolume = kSoundVolumeMax;
        cc.settings.typingVolume = kSoundVolumeMax;
        cc.settings.typingSound = 1;
        media.SetSpeechAvailable(false);
    }
    TTempProgramFolder dir;
    TCC cc;
    TSpeechAndSound media{cc};
};
}

TEST(SpeechAndSound, EffectsAskedForBeforeTheStartLoadWithTheDevice)
{
    TAudioDriverScope dummy("dummy");
    TMediaBeforeTheStart m;
    m.media.LoadSoundEffects();
    EXPECT_FALSE(m.media.DevicesStarted());
    EXPECT_FALSE(m.media.sounds().DDSD1.Available());
    EXPECT_FALSE(m.media.sounds().DDSD1.Channel(kCorrectChannel).HasWaveData());

    m.media.StartDevices();
    EXPECT_TRUE(m.media.DevicesStarted());
    ASSERT_TRUE(m.media.sounds().DDSD1.Available());
    EXPECT_TRUE(m.media.sounds().DDSD1.Channel(kCorrectChannel).HasWaveData());
    // Started once: a second call leaves the open device and its sounds alone.
    m.media.StartDevices();
    EXPECT_TRUE(m.media.sounds().DDSD1.Channel(kCorrectChannel).HasWaveData());
}

// The learner hears a sound played before the device was started.
TEST(SpeechAndSound, ASoundPlayedBeforeTheStartWaitsForTheDeviceAndIsHeard)
{
    TDiskAudioCapture capture;
    TMediaBeforeTheStart m;
    m.media.LoadSoundEffects();
    m.media.PlaySoundEffect(QStringLiteral("CORRECT"));
    EXPECT_TRUE(m.media.DevicesStarted());
    ASSERT_TRUE(m.media.sounds().DDSD1.Available());
    capture.WaitHeard(150);
    m.media.sounds().DDSD1.CloseDevice();
    EXPECT_GE(Peak(capture.LeftSamples()), kLevel / 2);
}
