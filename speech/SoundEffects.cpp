#include "speech/SoundEffects.h"

#include "base/Random.h"
#include "base/WaitPumping.h"

#include <array>

namespace {

constexpr int kNoChannel = -1;
constexpr int kMinTypingVolumeToLoad = 50;
constexpr int kSettleMilliseconds = 111;   // after loading, before the first sound
constexpr int kSamplesPerSecond = 22050;
constexpr int kBitsPerSample = 16;

struct TSoundChannel {
    const char16_t *name;
    int channel;
    int alternate;   // the second channel of an alternating sound
};

// Channel 1 and channels 36..39 stay empty.
constexpr std::array<TSoundChannel, 33> kSounds = {{
    {u"NORM_FIN", 0, kNoChannel},   {u"CORRECT", 2, kNoChannel},   {u"MASTER", 3, kNoChannel},
    {u"FIRSTTIME", 4, 5},           {u"AGAIN", 6, kNoChannel},     {u"REVIEW", 7, 8},
    {u"OPEN_QUIT", 9, kNoChannel},  {u"WRONG", 10, kNoChannel},    {u"COSMOS", 11, kNoChannel},
    {u"BUTTON", 12, kNoChannel},    {u"RESET", 13, kNoChannel},    {u"NOTICE", 14, kNoChannel},
    {u"SKIN", 15, kNoChannel},
    {u"TYPE1-2C", 16, kNoChannel},  {u"TYPE1-2D", 17, kNoChannel}, {u"TYPE1-2E", 18, kNoChannel},
    {u"TYPE1-2F", 19, kNoChannel},  {u"TYPE3", 20, kNoChannel},
    {u"TYPE4-5C", 21, 29},          {u"TYPE4-5D", 22, 30},         {u"TYPE4-5E", 23, 31},
    {u"TYPE4-5F", 24, 32},
    {u"TYPE6", 25, kNoChannel},     {u"TYPE7", 26, kNoChannel},    {u"TYPE8", 27, kNoChannel},
    {u"TYPE9", 28, kNoChannel},     {u"TYPE10", 29, kNoChannel},   {u"TYPE11", 30, kNoChannel},
    {u"TYPE12", 31, kNoChannel},    {u"TYPE13", 32, kNoChannel},   {u"TYPE14", 33, kNoChannel},
    {u"TYPE15", 34, kNoChannel},    {u"TYPE16", 35, kNoChannel},
}};

const TSoundChannel *FindSound(const QString &name)
{
    for (const TSoundChannel &sound : kSounds) {
        if (name == QStringView(sound.name))
            return &sound;
    }
    return nullptr;
}

bool IsTypingAlternation(const TSoundChannel &sound)
{
    return sound.alternate != kNoChannel && sound.channel >= kEffectChannelCount;
}

constexpr char16_t kFourSuffixes[] = u"CDEF";   // the four sounds of sets 2 and 5

// The one typing sound of a setting other than 2 and 5.
QString SingleTypingSound(int typingSound)
{
    switch (typingSound) {
    case 1:
        return QStringLiteral("TYPE1-2C");
    case 4:
        return QStringLiteral("TYPE4-5C");
    default:
        return QStringLiteral("TYPE%1").arg(typingSound);
    }
}

}   // namespace

TSoundEffects::TSoundEffects(const QString &programFolder) : m_programFolder(programFolder)
{
    SetSettings(TSoundSettings{});
}

void TSoundEffects::SetSettingsSource(std::function<TSoundSettings()> source)
{
    m_settingsSource = std::move(source);
}

void TSoundEffects::SetSettings(const TSoundSettings &settings)
{
    m_settingsSource = [settings] { return settings; };
}

QStringList TSoundEffects::SoundNames()
{
    QStringList names;
    for (const TSoundChannel &sound : kSounds)
        names.append(QString::fromUtf16(sound.name));
    return names;
}

QString TSoundEffects::TypingSoundName(int typingSound, TRandom &random)
{
    if (typingSound == 2)
        return QStringLiteral("TYPE1-2") + QChar(kFourSuffixes[random.Below(4)]);
    if (typingSound == 5)
        return QStringLiteral("TYPE4-5") + QChar(kFourSuffixes[random.Below(4)]);
    return SingleTypingSound(typingSound);
}

void TSoundEffects::LoadInto(const QString &name, std::initializer_list<int> channels)
{
    const TDDSDWaveData wave(DDSD1, m_programFolder + QStringLiteral("resource/") + name + QStringLiteral(".dat"));
    for (int channel : channels)
        DDSD1.Channel(channel).SetWaveData(wave);
}

void TSoundEffects::LoadSoundEffects()
{
    const TSoundSettings settings = Settings();
    // Sounds of an earlier typing setting never linger in shared channels.
    for (int channel = 0; channel < DDSD1.ChannelCount(); ++channel)
        DDSD1.Channel(channel).Clear();
    if (settings.typingVolume < kMinTypingVolumeToLoad)
        return;
    DDSD1.SetPrimaryFormat(kSamplesPerSecond, kBitsPerSample, true);

    for (const TSoundChannel &sound : kSounds) {
        if (sound.channel >= kEffectChannelCount)
            break;
        const QString name = QString::fromUtf16(sound.name);
        if (sound.alternate == kNoChannel)
            LoadInto(name, {sound.channel});
        else
            LoadInto(name, {sound.channel, sound.alternate});
    }

    const auto loadTyping = [this](const QString &name) {
        const TSoundChannel *sound = FindSound(name);
        if (!sound)
            return;
        if (sound->alternate == kNoChannel)
            LoadInto(name, {sound->channel});
        else
            LoadInto(name, {sound->channel, sound->alternate});
    };
    switch (settings.typingSound) {
    case 2:
    case 5: {
        const QString stem = settings.typingSound == 2 ? QStringLiteral("TYPE1-2") : QStringLiteral("TYPE4-5");
        for (int i = 0; i < 4; ++i)
            loadTyping(stem + QChar(kFourSuffixes[i]));
        break;
    }
    case 8:
        break;   // TYPE8 comes below, as always
    default:
        loadTyping(SingleTypingSound(settings.typingSound));
        break;
    }
    // The quick-response drill clicks with TYPE8 whatever the setting.
    loadTyping(QStringLiteral("TYPE8"));

    ApplySoundVolumes();
    WaitPumping(kSettleMilliseconds);
}

int TSoundEffects::SelectChannel(const QString &name)
{
    const TSoundChannel *sound = FindSound(name);
    if (!sound)
        return 0;
    if (sound->alternate == kNoChannel)
        return sound->channel;
    int &last = IsTypingAlternation(*sound) ? m_lastTypingChannel : m_lastEffectChannel;
    last = last == sound->channel ? sound->alternate : sound->channel;
    return last;
}

void TSoundEffects::PlaySoundEffect(const QString &name)
{
    const int channel = SelectChannel(name);
    const TSoundSettings settings = Settings();
    const int volume = channel < kEffectChannelCount ? settings.effectVolume : settings.typingVolume;
    if (volume == 0)
        return;
    TDDSDChannel &target = DDSD1.Channel(channel);
    target.Stop();
    target.SetVolume(volume - kSoundVolumeMax);
    target.Play();
}

void TSoundEffects::ApplySoundVolumes()
{
    const TSoundSettings settings = Settings();
    for (int channel = 0; channel < DDSD1.ChannelCount(); ++channel) {
        const bool effect = channel < kEffectChannelCount;
        const int volume = effect ? settings.effectVolume : settings.typingVolume;
        if (volume > 0)
            DDSD1.Channel(channel).SetVolume(volume - kSoundVolumeMax);
    }
}
