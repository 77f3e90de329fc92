#include "speech/Speech.h"

#include "engine/CommonUnit.h"
#include "speech/AgentArtwork.h"
#include "speech/SpeechComponents.h"
#include "speech/SpeechSynth.h"

#include <array>

namespace {

constexpr int kModeOff = 0;
constexpr int kModePronunciation = 1;
constexpr int kModeAgent = 2;
const QString kVoidEngine = QStringLiteral("void");

// What the bird does when it starts idling, by a draw of 0..8 (8: nothing).
constexpr std::array<const char *, 8> kIdleAnimations{
    "Idle2_1", "Reading", "Idle3_1", "Idle3_2", "Idle3_3", "Writing", "Processing", "Idle2_2",
};
constexpr int kIdleDraws = 9;

bool Yes(const std::function<bool()> &hook) { return hook && hook(); }

} // namespace

TSpeech::TSpeech(TCC &cc, TRandom &draws, QObject *parent) : QObject(parent), m_cc(cc), m_draws(draws)
{
    connect(&m_agent, &TAgent::IdleStart, this, &TSpeech::Agent1IdleStart);
    connect(&m_agent, &TAgent::Move, this, &TSpeech::Agent1Move);
    connect(&m_agent, &TAgent::RequestStart, this, &TSpeech::Agent1RequestStart);
    connect(&m_agent, &TAgent::RequestComplete, this, &TSpeech::Agent1RequestComplete);
    connect(&m_agent, &TAgent::DragComplete, this, &TSpeech::Agent1DragComplete);
}

TSpeech::~TSpeech() = default;

bool TSpeech::SpeechOn() const
{
    const int mode = m_cc.settings.speechMode;
    return mode == kModePronunciation || mode == kModeAgent;
}

bool TSpeech::SpeechComponentsPresent() const
{
    return CheckSpeechComponents(SpeechLanguageOfSlot(m_cc.fileSlot)).AllPresent();
}

void TSpeech::UseStoredSpeechEngine() { m_tts.modeId = m_cc.settings.speechEngine; }

void TSpeech::StartAgent()
{
    if (m_cc.settings.speechMode == kModeOff || !SpeechComponentsPresent()) {
        m_cc.settings.speechMode = kModeOff;
        HideAgent();
        return;
    }
    if (m_agent.IsLoaded() && m_agentState == TAgentState::OnScreen) {
        m_agent.SetTop(m_cc.settings.agentTop);
        m_agent.SetLeft(m_cc.settings.agentLeft);
        m_agent.Play(QStringLiteral("Greet"));
        if (!SelectSpeechEngine(m_cc.fileSlot))
            FailStart();
        return;
    }
    if (m_agentState == TAgentState::NotLoaded) {
        if (!m_agent.Load()) {
            FailStart();
            return;
        }
        m_agentState = TAgentState::Hidden;
        if (!SelectSpeechEngine(m_cc.fileSlot)) {
            FailStart();
            return;
        }
    }
    m_agentState = TAgentState::OnScreen;
    m_agent.SetTop(m_cc.settings.agentTop);
    m_agent.SetLeft(m_cc.settings.agentLeft);
    m_agent.Show(false);
    m_agent.Play(QStringLiteral("Greet"));
}

void TSpeech::FailStart()
{
    m_cc.notifier->Error(QString::fromUtf8(kAgentStartErrorText));
    m_cc.settings.speechMode = kModeOff;
    m_cc.SaveFileSettings();
    if (m_agentState == TAgentState::OnScreen)
        HideAgent();
}

bool TSpeech::SelectSpeechEngine(int fileSlot)
{
    if (m_cc.settings.speechMode == kModeOff)
        return true;
    const QString chosen = hooks.preferencesEngineChoice ? hooks.preferencesEngineChoice() : QString();
    if (!chosen.isEmpty()) {
        ApplySpeechMode(chosen);
    } else {
        if (m_tts.modeId.isEmpty() || m_tts.modeId.compare(kVoidEngine, Qt::CaseInsensitive) == 0)
            m_tts.modeId = DefaultSpeechMode(fileSlot);
        ApplySpeechMode(m_tts.modeId);
    }
    if (!m_agent.IsLoaded())
        return true;
    if (m_tts.languageId != 0 && m_agent.LanguageID() != m_tts.languageId
        && !m_agent.SetLanguageID(m_tts.languageId))
        return false;
    if (m_agent.TTSModeID() != m_tts.modeId) {
        m_cc.settings.speechEngine = m_tts.modeId;
        m_agent.SetTTSModeID(m_tts.modeId);
    }
    return true;
}

namespace {
// A mode identifier as the speech table writes it: upper case in braces.
QString TableModeId(const QString &modeId)
{
    QString id = modeId.trimmed().toUpper();
    if (!id.isEmpty() && !id.startsWith(u'{'))
        id = u'{' + id + u'}';
    return id;
}
}

int TSpeech::FileSpeechLanguageId(int fileSlot) const
{
    QString id = hooks.preferencesEngineChoice ? hooks.preferencesEngineChoice() : QString();
    if (id.isEmpty())
        id = m_cc.settings.speechEngine;
    const TSpeechMode *mode = id.compare(kVoidEngine, Qt::CaseInsensitive) == 0 ? nullptr : FindSpeechMode(TableModeId(id));
    if (!mode)
        mode = FindSpeechMode(TableModeId(DefaultSpeechMode(fileSlot)));
    return mode ? mode->languageId : 0;
}

void TSpeech::ApplySpeechMode(const QString &modeId)
{
    const QString id = TableModeId(modeId);
    const TSpeechMode *mode = FindSpeechMode(id);
    if (!mode)
        return;   // an identifier the table does not know changes nothing
    m_tts.pitch = QString::number(mode->pitch);
    m_tts.speed = QString::number(mode->speed);
    m_tts.languageId = mode->languageId;
    m_tts.modeId = id;
}

QString TSpeech::SpokenForm(const QString &text) const
{
    if (text.isEmpty())
        return text;
    return m_cc.FormatPhraseHeadword(text, true);
}

void TSpeech::SpeakText(const QString &text, bool track)
{
    const QString spoken = SpokenForm(text);
    if (m_busy)
        return;   // a tracked request runs; it keeps its number so that its end clears the flag
    if (!m_agent.IsLoaded() || m_agentState == TAgentState::NotLoaded || !SpeechOn()) {
        m_trackedSpeak = 0;
        return;
    }
    m_agent.StopAll();
    TSpeechVoice voice;
    voice.languageId = m_agent.LanguageID();
    const bool tuned = !m_tts.pitch.isEmpty() && !m_tts.speed.isEmpty();
    voice.pitch = tuned ? m_tts.pitch.toInt() : kFallbackPitch;
    voice.speed = tuned ? m_tts.speed.toInt() : kFallbackSpeed;
    const int id = m_agent.Speak(spoken, voice);
    if (track)
        m_trackedSpeak = id;
}

void TSpeech::SpeakWord(const QString &text)
{
    SelectSpeechEngine(m_cc.fileSlot);
    m_busy = false;
    SpeakText(text, false);
}

void TSpeech::PlayAgentAnimation(const QString &name, bool track)
{
    if (!m_agent.IsLoaded() || m_agentState == TAgentState::NotLoaded || m_cc.settings.speechMode != kModeAgent
        || m_busy || Yes(hooks.cosmosShowing))
        return;
    // Between questions the bird drops what it does; during the training the
    // animation follows on.
    if (!Yes(hooks.trainingFlagsSet))
        m_agent.StopAll();
    const int id = m_agent.Play(name);
    if (track)
        m_trackedPlay = id;
}

void TSpeech::HideAgent()
{
    if (!m_agent.IsLoaded())
        return;
    m_agent.StopAll();
    m_agent.Play(QStringLiteral("Hide"));
    m_agent.Hide(false);
    m_agentState = TAgentState::Hidden;
}

void TSpeech::UnloadAgent()
{
    if (!m_agent.IsLoaded())
        return;
    m_agent.Unload();
    m_agentState = TAgentState::NotLoaded;
}

void TSpeech::ParkAgent()
{
    if (m_agent.IsLoaded() && AgentOnScreen()) {
        m_agent.StopAll();
        m_agent.SetTop(kParkedTop);
    }
}

void TSpeech::ReturnAgent()
{
    if (m_agent.IsLoaded() && AgentOnScreen())
        m_agent.SetTop(m_cc.settings.agentTop);
}

void TSpeech::Agent1IdleStart()
{
    if (hooks.applySoundVolumes)
        hooks.applySoundVolumes();
    if (Yes(hooks.quickResponseShowing) || m_cc.settings.quietAgent != 0 || !SpeechOn()
        || Yes(hooks.cosmosShowing)) {
        m_agent.StopAll();
    } else if (m_busy) {
        m_busy = false;
    } else {
        const int draw = m_draws.Below(kIdleDraws);
        if (draw < int(kIdleAnimations.size()))
            m_agent.Play(QString::fromLatin1(kIdleAnimations[size_t(draw)]));
    }
}

void TSpeech::Agent1Move(int x, int y, TAgentMoveCause)
{
    if (y == kParkedTop)
        return;
    m_cc.settings.agentTop = y;
    m_cc.settings.agentLeft = x;
    PlayAgentAnimation(QStringLiteral("Blink"), false);
    PlayAgentAnimation(QStringLiteral("Blink"), false);
}

void TSpeech::Agent1DragComplete(int, int)
{
    if (hooks.bringMainWindowToFront)
        hooks.bringMainWindowToFront();
    m_cc.settings.agentTop = m_agent.Top();
}

void TSpeech::Agent1RequestStart(int id)
{
    if (id != 0 && (id == m_trackedSpeak || id == m_trackedPlay))
        m_busy = true;
}

void TSpeech::Agent1RequestComplete(int id)
{
    if (id != 0 && (id == m_trackedSpeak || id == m_trackedPlay))
        m_busy = false;
}

QList<TSpeechModeEntry> TSpeech::InstalledSpeechModes()
{
    QList<TSpeechModeEntry> entries;
    const QList<int> languages = TSpeechSynth::InstalledLanguages();
    QHash<int, int> voiceNumber;
    for (const TSpeechMode &m : SpeechEngineTable()) {
        const int n = ++voiceNumber[m.languageId];
        if (!languages.contains(m.languageId))
            continue;
        entries.append({QString::fromLatin1(m.modeId),
                        QStringLiteral("%1 %2（高さ %3・速さ %4）")
                            .arg(SpeechLanguageName(m.languageId))
                            .arg(n)
                            .arg(m.pitch)
                            .arg(m.speed),
                        m.languageId});
    }
    return entries;
}
