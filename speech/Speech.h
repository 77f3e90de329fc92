#pragma once
// Speech and the parakeet: which voice speaks (by the speech engine table and
// the learning file), when a word is spoken, when the bird plays an
// animation, and the bird's life from loading to unloading.
//
// The rules read and write the settings block of the current file (speech
// mode, quiet agent, agent position, chosen speech engine) in TCC. What they
// need to know about windows comes through TSpeechHooks, which the windows
// fill in; a hook that is not set answers "no" and does nothing.
#include "speech/Agent.h"
#include "speech/SpeechTable.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class TCC;

enum class TAgentState { NotLoaded = 0, Hidden = 1, OnScreen = 2 };

// The selected speech mode and what it makes current.
struct TCurrentTTS {
    QString modeId;       // "{...}" upper case, or "void" or empty: none chosen
    int languageId = 0;
    QString pitch;        // decimal texts; empty until a mode is applied
    QString speed;
};

struct TSpeechHooks {
    // While the preferences window shows: the identifier held by its
    // speech-engine list's chosen entry; empty when none or not showing.
    std::function<QString()> preferencesEngineChoice;
    std::function<bool()> cosmosShowing;          // the star view
    std::function<bool()> quickResponseShowing;   // the quick-response drill
    std::function<bool()> trainingFlagsSet;       // loading, ready or asking flag of the training
    std::function<void()> bringMainWindowToFront;
    std::function<void()> applySoundVolumes;      // the sound effects' volumes again
};

// One entry of the preferences' speech-engine list.
struct TSpeechModeEntry {
    QString modeId;
    QString name;
    int languageId;
};

class TRandom;

class TSpeech : public QObject {
    Q_OBJECT
public:
    // draws: the windows' generator (the idle animations), never the
    // learning rules' one.
    TSpeech(TCC &cc, TRandom &draws, QObject *parent = nullptr);
    ~TSpeech() override;

    TSpeechHooks hooks;

    // ---- state ----
    TAgent &Agent1() { return m_agent; }
    TAgentState AgentState() const { return m_agentState; }
    bool AgentOnScreen() const { return m_agentState == TAgentState::OnScreen; }
    bool Busy() const { return m_busy; }
    void SetBusy(bool busy) { m_busy = busy; }
    int TrackedSpeakRequest() const { return m_trackedSpeak; }
    int TrackedPlayRequest() const { return m_trackedPlay; }
    const TCurrentTTS &CurrentTTS() const { return m_tts; }

    // ---- operations ----
    // Speech can work: the engine, a voice for the current file's language and
    // the bird's artwork are here.
    bool SpeechComponentsPresent() const;
    // The file's stored speech engine becomes the selected mode (a file starts).
    void UseStoredSpeechEngine();
    void StartAgent();
    // Chooses and applies the voice for a file slot; false when the bird
    // could not take the voice's language.
    bool SelectSpeechEngine(int fileSlot);
    // The language identifier of the voice a file is spoken with (the
    // preferences' choice, else the file's stored engine, else the slot's
    // default), whether or not speech is switched on.
    int FileSpeechLanguageId(int fileSlot) const;
    void ApplySpeechMode(const QString &modeId);
    void SpeakText(const QString &text, bool track);
    void SpeakWord(const QString &text);
    void PlayAgentAnimation(const QString &name, bool track);
    void HideAgent();
    void UnloadAgent();
    // Out of view (top 2000) and back to the saved top; only while on screen.
    void ParkAgent();
    void ReturnAgent();

    // The text as it is spoken: the headword's display form without "～" and
    // " <v.i.>".
    QString SpokenForm(const QString &text) const;

    // ---- the agent's events ----
    void Agent1IdleStart();
    void Agent1Move(int x, int y, TAgentMoveCause cause);
    void Agent1RequestStart(int id);
    void Agent1RequestComplete(int id);
    void Agent1DragComplete(int x, int y);

    // The table's modes whose language has a voice here, in table order.
    static QList<TSpeechModeEntry> InstalledSpeechModes();

private:
    bool SpeechOn() const;
    void FailStart();

    TCC &m_cc;
    TRandom &m_draws;
    TAgent m_agent;
    TAgentState m_agentState = TAgentState::NotLoaded;
    TCurrentTTS m_tts;
    bool m_busy = false;
    int m_trackedSpeak = 0;
    int m_trackedPlay = 0;
};

// Shown when the bird or its voice cannot start.
inline const char *const kAgentStartErrorText =
    "エージェントの実行時にエラーが発生しました。\n各国語対応のTTSエンジンがインストールされていない可能性があります。";
