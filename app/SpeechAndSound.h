#pragma once
// The training window's one way to sounds, speech and the agent. Whatever is
// missing on this machine (no sound device, no speech engine, the agent not
// loaded) is skipped silently.
#include <QString>
#include <memory>

class TCC;
class TSoundEffects;

// Speech modes of the settings.
inline constexpr int kSpeechOff = 0;
inline constexpr int kSpeechPronunciationOnly = 1;
inline constexpr int kSpeechWithAgent = 2;

class TSpeechAndSound {
public:
    explicit TSpeechAndSound(TCC &cc);
    ~TSpeechAndSound();

    // ---- sound effects ----
    void InitializeSoundDevice();
    // Opens the sound device again and reloads the effects, when it is not
    // open (none at start, or lost since). An open device is left alone: on
    // this platform nothing takes it away, and reopening would cut off a
    // sound or a voice that is still playing.
    void RestoreSoundDevice();
    void LoadSoundEffects();
    void PlaySoundEffect(const QString &name);
    // The click of a typed key in the typing-sound setting 1..16.
    void PlayTypingSound(int typingSound);

    // ---- speech ----
    void SelectSpeechEngine();
    int SpeechLanguageId() const;
    // tracked: the request is followed until it has been spoken.
    void SpeakText(const QString &text, bool tracked);
    void FillPhoneticSymbolList();

    // ---- the agent ----
    bool AgentOnScreen() const;
    void StartAgent();
    void PlayAgentAnimation(const QString &name);
    void StopAgent();
    void UnloadAgent();
    void MoveAgentOutOfView();
    void RestoreAgentTop();

    TSoundEffects &sounds() { return *m_sounds; }

private:
    TCC &m_cc;
    std::unique_ptr<TSoundEffects> m_sounds;
};
