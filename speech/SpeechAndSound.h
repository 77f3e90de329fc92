#pragma once
// The training window's one way to sounds, speech and the agent. Whatever is
// missing on this machine (no sound device, no speech engine, the agent not
// loaded) is skipped silently.
#include "base/Random.h"

#include <QString>
#include <memory>

class TCC;
class TSoundEffects;
class TSpeech;

// Speech modes of the settings.
inline constexpr int kSpeechOff = 0;
inline constexpr int kSpeechPronunciationOnly = 1;
inline constexpr int kSpeechWithAgent = 2;

class TSpeechAndSound {
public:
    explicit TSpeechAndSound(TCC &cc);
    ~TSpeechAndSound();

    // False when the learner chose at start to go on without speech: speech
    // and the agent then stay silent, whatever the settings say.
    void SetSpeechAvailable(bool available) { m_speechAvailable = available; }
    bool SpeechAvailable() const { return m_speechAvailable; }

    // ---- start ----
    // Opens the sound device (SDL) and starts the speech engine (espeak-ng),
    // then loads the effects asked for meanwhile. The program calls it right
    // after its first window shows; whatever is played or spoken before
    // waits for it (it runs then), so nothing is lost. Once only.
    void StartDevices();
    bool DevicesStarted() const { return m_started; }

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
    // The voice of another file's language (a line of the related-words tree).
    void SelectSpeechEngine(int fileSlot);
    int SpeechLanguageId() const;
    // The language of the voice the current file is spoken with.
    int FileSpeechLanguageId() const;
    // tracked: the request is followed until it has been spoken.
    void SpeakText(const QString &text, bool tracked);
    // The word again on request (the Ctrl key): the file's own voice, even
    // while an earlier request still runs.
    void SpeakWord(const QString &text);
    void FillPhoneticSymbolList();

    // ---- the agent ----
    bool AgentOnScreen() const;
    // The file's own speech engine, then the agent (Greet) or speech alone.
    void StartAgent();
    // tracked: the agent counts as busy until the animation has played.
    void PlayAgentAnimation(const QString &name, bool tracked = false);
    void StopAgent();
    void UnloadAgent();
    void MoveAgentOutOfView();
    void RestoreAgentTop();

    // The draws of the windows, the agent and the sounds (pictures, poses,
    // phrases, typing clicks), apart from the learning rules' own generator:
    // what is asked never depends on how often the parakeet idled.
    TRandom &WindowRandom() { return m_windowRandom; }

    TSoundEffects &sounds() { return *m_sounds; }
    TSpeech &speech() { return *m_speech; }

private:
    bool SpeechUsable() const;

    bool m_started = false;
    bool m_effectsWanted = false;   // effects asked for before the start

    TCC &m_cc;
    TRandom m_windowRandom;
    std::unique_ptr<TSoundEffects> m_sounds;
    std::unique_ptr<TSpeech> m_speech;
    bool m_speechAvailable = true;
};
