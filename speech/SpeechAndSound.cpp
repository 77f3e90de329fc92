#include "speech/SpeechAndSound.h"

#include "engine/CommonUnit.h"
#include "speech/SoundEffects.h"
#include "speech/Speech.h"
#include "speech/SpeechSynth.h"
#include "workspace/ProgramFolders.h"

TSpeechAndSound::TSpeechAndSound(TCC &cc)
    : m_cc(cc), m_sounds(std::make_unique<TSoundEffects>(InstalledFolder(cc.context))), m_speech(std::make_unique<TSpeech>(cc, m_windowRandom))
{
    m_speech->hooks.applySoundVolumes = [this] { m_sounds->ApplySoundVolumes(); };
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

void TSpeechAndSound::StartDevices()
{
    if (m_started)
        return;
    m_started = true;
    m_sounds->DDSD1.InitializeDevice();
    if (m_speechAvailable)
        TSpeechSynth::EngineUsable();
    if (m_effectsWanted)
        m_sounds->LoadSoundEffects();
}

void TSpeechAndSound::InitializeSoundDevice()
{
    m_started = true;
    m_sounds->DDSD1.InitializeDevice();
}

void TSpeechAndSound::RestoreSoundDevice()
{
    if (!m_started) {
        StartDevices();
        return;
    }
    if (m_sounds->DDSD1.Available())
        return;
    m_sounds->DDSD1.InitializeDevice();
    m_sounds->LoadSoundEffects();
}

void TSpeechAndSound::LoadSoundEffects()
{
    // Before the start they load with the device.
    if (!m_started) {
        m_effectsWanted = true;
        return;
    }
    m_sounds->LoadSoundEffects();
}

void TSpeechAndSound::PlaySoundEffect(const QString &name)
{
    StartDevices();
    m_sounds->PlaySoundEffect(name);
}

void TSpeechAndSound::PlayTypingSound(int typingSound)
{
    StartDevices();
    m_sounds->PlaySoundEffect(TSoundEffects::TypingSoundName(typingSound, m_windowRandom));
}

bool TSpeechAndSound::SpeechUsable() const
{
    return m_speechAvailable && m_cc.settings.speechMode != kSpeechOff;
}

void TSpeechAndSound::SelectSpeechEngine()
{
    if (SpeechUsable())
        m_speech->SelectSpeechEngine(m_cc.fileSlot);
}

void TSpeechAndSound::SelectSpeechEngine(int fileSlot)
{
    if (SpeechUsable())
        m_speech->SelectSpeechEngine(fileSlot);
}

int TSpeechAndSound::SpeechLanguageId() const
{
    return m_speech->CurrentTTS().languageId;
}

int TSpeechAndSound::FileSpeechLanguageId() const
{
    return m_speech->FileSpeechLanguageId(m_cc.fileSlot);
}

void TSpeechAndSound::SpeakText(const QString &text, bool tracked)
{
    if (!SpeechUsable())
        return;
    StartDevices();
    m_speech->SpeakText(text, tracked);
}

void TSpeechAndSound::SpeakWord(const QString &text)
{
    if (!SpeechUsable())
        return;
    StartDevices();
    m_speech->SpeakWord(text);
}

// The glyphs are drawn straight from the pronunciation table: no list to fill.
void TSpeechAndSound::FillPhoneticSymbolList()
{
}

bool TSpeechAndSound::AgentOnScreen() const
{
    return m_speech->AgentOnScreen();
}

void TSpeechAndSound::StartAgent()
{
    m_speech->UseStoredSpeechEngine();
    if (SpeechUsable()) {
        StartDevices();
        m_speech->StartAgent();
    }
    else
        m_speech->HideAgent();   // a parakeet that an earlier file showed leaves with its file
}

void TSpeechAndSound::PlayAgentAnimation(const QString &name, bool tracked)
{
    if (!SpeechUsable())
        return;
    StartDevices();
    m_speech->PlayAgentAnimation(name, tracked);
}

void TSpeechAndSound::StopAgent()
{
    if (m_speech->Agent1().IsLoaded())
        m_speech->Agent1().StopAll();
}

void TSpeechAndSound::UnloadAgent()
{
    m_speech->UnloadAgent();
}

void TSpeechAndSound::MoveAgentOutOfView()
{
    m_speech->ParkAgent();
}

void TSpeechAndSound::RestoreAgentTop()
{
    m_speech->ReturnAgent();
}
