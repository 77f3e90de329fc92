#pragma once
// The agent control: the parakeet character with the operations the program
// drives it by. Every Show, Hide, Play and Speak is a request with a number;
// requests run one after the other, and the control reports when each starts
// and completes. Reports always arrive through the event loop, never inside
// the call that made the request, so the caller can keep the number first.
//
// When the character has had nothing to do for a while it reports that it
// starts idling; a drag with the mouse reports the move and the drag's end.
//
// The bird's window is on the desktop only where it can be seen: a bird
// parked out of view (top 2000) or placed beside every screen has its window
// hidden rather than left for a window manager to pull back into a corner,
// and while a modal window is open the bird steps away so that it never
// covers that window; it comes back when the modal window closes. Its
// requests run on either way.
#include "speech/AgentAnimations.h"
#include "speech/SpeechSynth.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <memory>

class TAgentArtwork;
class TAgentWindow;
class TAgentBalloon;
class TSpeechPlayer;

enum class TAgentMoveCause { User = 1, Program = 2 };

inline constexpr int kParkedTop = 2000;   // an agent top of 2000: parked out of view

class TAgent : public QObject {
    Q_OBJECT
public:
    explicit TAgent(QObject *parent = nullptr);
    ~TAgent() override;

    // ---- the character ----
    // Where Load takes the artwork from (default: the built-in drawing).
    void SetArtworkPath(const QString &path) { m_artworkPath = path; }
    bool Load();          // false when the artwork is missing or broken
    void Unload();
    bool IsLoaded() const { return m_window != nullptr; }

    // ---- requests (0 when nothing was queued) ----
    int Show(bool fast = false);
    int Hide(bool fast = false);
    int Play(const QString &animation);   // an unknown name plays nothing: 0
    int Speak(const QString &text, const TSpeechVoice &voice);
    // Ends the running request and drops the queued ones; each reports its
    // completion.
    void StopAll();

    // ---- properties ----
    bool IsVisible() const { return m_visible; }
    int Top() const { return m_top; }
    int Left() const { return m_left; }
    void SetTop(int top);
    void SetLeft(int left);
    int LanguageID() const { return m_languageId; }
    // False (and nothing changes) when no voice speaks the language.
    bool SetLanguageID(int languageId);
    QString TTSModeID() const { return m_ttsModeId; }
    void SetTTSModeID(const QString &modeId) { m_ttsModeId = modeId; }

    // ---- for observers and tests ----
    int CurrentRequest() const { return m_current ? m_current->id : 0; }
    QString CurrentAnimation() const;   // name of the animation that runs, if any
    QString BalloonText() const;        // empty when no balloon shows
    const TSpeechVoice &LastSpeechVoice() const { return m_lastVoice; }
    int QueuedRequests() const { return int(m_queue.size()) + (m_current ? 1 : 0); }
    TAgentWindow *Window() const { return m_window.get(); }
    TAgentBalloon *Balloon() const { return m_balloon.get(); }
    // Milliseconds without requests before IdleStart (default 10 s).
    void SetIdleDelay(int ms);
    // How fast animations run (1: as drawn). Voices always play in real time.
    void SetPace(double pace) { m_pace = pace; }

signals:
    void RequestStart(int id);
    void RequestComplete(int id);
    void IdleStart();
    void Move(int x, int y, TAgentMoveCause cause);
    void DragComplete(int x, int y);

private:
    enum class TKind { Show, Hide, Play, Speak };
    struct TRequest {
        int id = 0;
        TKind kind = TKind::Play;
        const TAgentAnimation *animation = nullptr;
        QString text;
        bool fast = false;
        bool audioReady = false;
        bool playing = false;
        TSpeechAudio audio;
        QVector<float> mouth;   // how open the beak is, per frame of the voice
    };

    int Enqueue(std::unique_ptr<TRequest> r);
    void StartNext();
    void Begin(TRequest &r);
    void Complete();
    void Tick();
    void AudioReady(int id, const TSpeechAudio &audio);
    void StartVoice(TRequest &r);
    void UpdateBalloon();
    void ArmIdle();
    void Post(void (TAgent::*signal)(int), int id);
    void PlaceWindow();
    bool OnScreen() const;
    // Shows or hides the window as the bird's state, its place and the open
    // modal windows ask.
    void UpdateWindowShown();
    bool eventFilter(QObject *watched, QEvent *event) override;

    std::unique_ptr<TAgentArtwork> m_art;
    std::unique_ptr<TAgentWindow> m_window;
    std::unique_ptr<TAgentBalloon> m_balloon;
    std::unique_ptr<TSpeechPlayer> m_player;
    std::deque<std::unique_ptr<TRequest>> m_queue;
    std::unique_ptr<TRequest> m_current;
    QTimer m_frame;
    QTimer m_idle;
    QElapsedTimer m_clock;          // time into the running request
    QElapsedTimer m_life;           // breathing and blinking between requests
    qint64 m_nextBlinkMs = 0;
    size_t m_blinkTurn = 0;
    TAgentPose m_restingPose;       // where the last animation left the bird
    int m_nextId = 1;
    double m_pace = 1;
    bool m_visible = false;
    int m_top = 0;
    int m_left = 0;
    int m_languageId = 1033;
    QString m_ttsModeId;
    QString m_artworkPath;
    TSpeechVoice m_lastVoice;
};
