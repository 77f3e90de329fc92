#include "app/SpeechAndSound.h"

#include "app/Farewell.h"
#include "engine/CommonUnit.h"
#include "speech/SoundEffects.h"

TSpeechAndSound::TSpeechAndSound(TCC &cc) : m_cc(cc), m_sounds(std::make_unique<TSoundEffects>(cc.programFolder))
{
    // The current file's settings always decide the volumes and typing sounds.
    m_sounds->SetSettingsSource([this] {
        TSoundSettings s;
        s.effectVolume = m_cc.settings.effectVolume;
        s.typingVolume = m_cc.settings.typingVolume;
        s.typingSound = m_cc.settings.typingSound;
        return s;
    });
}

TSpeechAndSound::~TSpeechAndSound() = default;

void TSpeechAndSound::InitializeSoundDevice()
{
    m_sounds->DDSD1.InitializeDevice();
}

void TSpeechAndSound::RestoreSoundDevice()
{
    if (m_sounds->DDSD1.Available())
        return;
    m_sounds->DDSD1.InitializeDevice();
    m_sounds->LoadSoundEffects();
}

void TSpeechAndSound::LoadSoundEffects()
{
    m_sounds->LoadSoundEffects();
}

void TSpeechAndSound::PlaySoundEffect(const QString &name)
{
    m_sounds->PlaySoundEffect(name);
}

void TSpeechAndSound::PlayTypingSound(int typingSound)
{
    m_sounds->PlaySoundEffect(TSoundEffects::TypingSoundName(typingSound, m_cc.random));
}

void TSpeechAndSound::SelectSpeechEngine()
{
}

int TSpeechAndSound::SpeechLanguageId() const
{
    return kUsEnglishLanguageId;
}

void TSpeechAndSound::SpeakText(const QString &text, bool tracked)
{
    Q_UNUSED(text);
    Q_UNUSED(tracked);
}

void TSpeechAndSound::FillPhoneticSymbolList()
{
}

bool TSpeechAndSound::AgentOnScreen() const
{
    return false;
}

void TSpeechAndSound::StartAgent()
{
}

void TSpeechAndSound::PlayAgentAnimation(const QString &name)
{
    Q_UNUSED(name);
}

void TSpeechAndSound::StopAgent()
{
}

void TSpeechAndSound::UnloadAgent()
{
}

void TSpeechAndSound::MoveAgentOutOfView()
{
}

void TSpeechAndSound::RestoreAgentTop()
{
}
