#pragma once
// The program's sound effects: 33 named sounds from resource/<NAME>.dat, each
// loaded into its channel(s) of the player, played by name. Two volume
// settings (0..2000, 2000 loudest) drive the effect channels 0..15 and the
// typing channels 16 and above; a volume of 0 silences its group. The typing
// sound setting (1..16) chooses which typing sounds are loaded.
//
// The settings are read as plain values from a source the owner provides, so
// the current settings block always decides.
#include "speech/DDSD.h"

#include <QString>
#include <QStringList>
#include <functional>

class TRandom;

inline constexpr int kSoundChannelCount = 40;
inline constexpr int kEffectChannelCount = 16;   // channels 0..15; typing from 16 on
inline constexpr int kSoundVolumeMax = 2000;
inline constexpr int kDefaultSoundVolume = 900;

struct TSoundSettings {
    int effectVolume = kDefaultSoundVolume;   // 0..2000
    int typingVolume = kDefaultSoundVolume;   // 0..2000
    int typingSound = 1;                      // 1..16
};

class TSoundEffects {
public:
    // programFolder ends in "/"; the sound files are below it in resource/.
    explicit TSoundEffects(const QString &programFolder);

    TDDSD DDSD1{kSoundChannelCount};

    void SetSettingsSource(std::function<TSoundSettings()> source);
    void SetSettings(const TSoundSettings &settings);   // fixed values
    TSoundSettings Settings() const { return m_settingsSource(); }

    // Loads the effects and the typing sounds of the current typing setting;
    // with a typing volume below 50 nothing is loaded and all is silent.
    void LoadSoundEffects();
    // Plays one sound by its exact name; an unknown name plays channel 0.
    void PlaySoundEffect(const QString &name);
    // Sets every channel's volume from the two volume settings.
    void ApplySoundVolumes();

    // The channel a name plays on; advances the alternation of FIRSTTIME,
    // REVIEW and the TYPE4-5 sounds.
    int SelectChannel(const QString &name);

    // The 33 sound names, in the order of their channels.
    static QStringList SoundNames();
    // The sound a typed key plays under a typing sound setting (sets 2 and 5
    // draw one of their four sounds).
    static QString TypingSoundName(int typingSound, TRandom &random);

private:
    void LoadInto(const QString &name, std::initializer_list<int> channels);

    QString m_programFolder;
    std::function<TSoundSettings()> m_settingsSource;
    int m_lastEffectChannel = 0;   // last of 4, 5, 7, 8
    int m_lastTypingChannel = 0;   // last of 21..24, 29..32
};
