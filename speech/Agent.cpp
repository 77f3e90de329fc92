#include "speech/Agent.h"

#include "speech/AgentArtwork.h"
#include "speech/AgentBalloon.h"
#include "speech/AgentWindow.h"
#include "speech/SpeechPlayer.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWindow>
#include <QScreen>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int kFrameMs = 33;
constexpr int kDefaultIdleDelayMs = 10000;
constexpr int kMouthFrameMs = 25;           // the beak follows the voice in steps of this
constexpr double kMouthGain = 1.4;
constexpr double kMouthFloor = 0.12;        // quieter than this keeps the beak shut
constexpr double kBreathDepth = 0.012;
constexpr double kBreathPeriodMs = 3200;
constexpr int kBlinkMs = 220;
// Pauses between the resting bird's blinks, taken in turn.
constexpr std::array<int, 5> kBlinkPauses{3100, 4700, 2300, 5900, 3700};
constexpr double kSpeakingNod = 3.0;         // degrees the head dips with the voice
constexpr double kVanished = 0.5;            // opacity under which the bird is gone

QVector<float> MouthShapes(const TSpeechAudio &audio)
{
    QVector<float> frames;
    if (audio.sampleRate <= 0 || audio.samples.isEmpty())
        return frames;
    const int step = std::max(1, audio.sampleRate * kMouthFrameMs / 1000);
    double loudest = 0;
    for (int start = 0; start < audio.samples.size(); start += step) {
        const int end = std::min<int>(start + step, audio.samples.size());
        double sum = 0;
        for (int i = start; i < end; ++i)
            sum += double(audio.samples[i]) * audio.samples[i];
        const double rms = std::sqrt(sum / std::max(1, end - start));
        frames.append(float(rms));
        loudest = std::max(loudest, rms);
    }
    for (float &f : frames) {
        const double v = loudest > 0 ? f / loudest * kMouthGain : 0;
        f = float(v < kMouthFloor ? 0 : std::min(1.0, v));
    }
    return frames;
}

} // namespace

TAgent::TAgent(QObject *parent) : QObject(parent)
{
    m_frame.setInterval(kFrameMs);
    connect(&m_frame, &QTimer::timeout, this, &TAgent::Tick);
    m_idle.setSingleShot(true);
    m_idle.setInterval(kDefaultIdleDelayMs);
    connect(&m_idle, &QTimer::timeout, this, [this] {
        if (IsLoaded() && m_visible && !m_current && m_queue.empty())
            emit IdleStart();
    });
}

TAgent::~TAgent()
{
    m_queue.clear();
    m_current.reset();
    m_player.reset();
}

bool TAgent::Load()
{
    if (IsLoaded())
        return true;
    auto art = m_artworkPath.isEmpty() ? std::make_unique<TAgentArtwork>() : std::make_unique<TAgentArtwork>(m_artworkPath);
    if (!art->IsValid())
        return false;
    m_art = std::move(art);
    m_window = std::make_unique<TAgentWindow>(*m_art);
    m_balloon = std::make_unique<TAgentBalloon>();
    m_player = std::make_unique<TSpeechPlayer>();
    connect(m_player.get(), &TSpeechPlayer::Finished, this, [this] {
        if (m_current && m_current->kind == TKind::Speak)
            Complete();
    });
    connect(m_window.get(), &TAgentWindow::Dragged, this, [this](QPoint topLeft) {
        m_left = topLeft.x();
        m_top = topLeft.y();
        UpdateBalloon();
        emit Move(m_left, m_top, TAgentMoveCause::User);
        emit DragComplete(m_left, m_top);
    });
    // A modal window opening or closing anywhere in the program blocks or
    // unblocks the bird's window too.
    m_window->installEventFilter(this);
    connect(qApp, &QGuiApplication::focusWindowChanged, m_window.get(), [this] { UpdateWindowShown(); });
    m_restingPose = TAgentPose{};
    m_window->SetPose(m_restingPose);
    PlaceWindow();
    m_life.start();
    m_nextBlinkMs = kBlinkPauses[0];
    return true;
}

void TAgent::Unload()
{
    if (!IsLoaded())
        return;
    StopAll();
    m_frame.stop();
    m_idle.stop();
    m_visible = false;
    m_player.reset();
    m_balloon.reset();
    m_window.reset();
    m_art.reset();
}

void TAgent::SetIdleDelay(int ms)
{
    m_idle.setInterval(ms);
    ArmIdle();
}

void TAgent::Post(void (TAgent::*signal)(int), int id)
{
    QMetaObject::invokeMethod(this, [this, signal, id] { emit (this->*signal)(id); }, Qt::QueuedConnection);
}

int TAgent::Enqueue(std::unique_ptr<TRequest> r)
{
    r->id = m_nextId++;
    const int id = r->id;
    m_queue.push_back(std::move(r));
    m_idle.stop();
    if (!m_current)
        StartNext();
    return id;
}

int TAgent::Show(bool fast)
{
    if (!IsLoaded())
        return 0;
    auto r = std::make_unique<TRequest>();
    r->kind = TKind::Show;
    r->fast = fast;
    return Enqueue(std::move(r));
}

int TAgent::Hide(bool fast)
{
    if (!IsLoaded())
        return 0;
    auto r = std::make_unique<TRequest>();
    r->kind = TKind::Hide;
    r->fast = fast;
    return Enqueue(std::move(r));
}

int TAgent::Play(const QString &animation)
{
    const TAgentAnimation *a = FindAgentAnimation(animation);
    if (!IsLoaded() || !a)
        return 0;
    auto r = std::make_unique<TRequest>();
    r->kind = TKind::Play;
    r->animation = a;
    return Enqueue(std::move(r));
}

int TAgent::Speak(const QString &text, const TSpeechVoice &voice)
{
    if (!IsLoaded())
        return 0;
    auto r = std::make_unique<TRequest>();
    r->kind = TKind::Speak;
    r->text = text;
    m_lastVoice = voice;
    const int id = Enqueue(std::move(r));
    // The voice is made on the speech worker while earlier requests run.
    TSpeechSynth::SynthesizeAsync(text, voice, this, [this, id](TSpeechAudio audio) { AudioReady(id, audio); });
    return id;
}

void TAgent::AudioReady(int id, const TSpeechAudio &audio)
{
    TRequest *r = nullptr;
    if (m_current && m_current->id == id)
        r = m_current.get();
    for (auto &q : m_queue)
        if (q->id == id)
            r = q.get();
    if (!r)
        return;   // stopped meanwhile
    r->audio = audio;
    r->mouth = MouthShapes(audio);
    r->audioReady = true;
    if (r == m_current.get())
        StartVoice(*r);
}

void TAgent::StartVoice(TRequest &r)
{
    r.playing = true;
    m_clock.restart();
    m_player->Play(r.audio);
}

void TAgent::StartNext()
{
    if (m_current || m_queue.empty())
        return;
    m_current = std::move(m_queue.front());
    m_queue.pop_front();
    Post(&TAgent::RequestStart, m_current->id);
    Begin(*m_current);
}

void TAgent::Begin(TRequest &r)
{
    m_clock.restart();
    const bool vanished = m_restingPose.opacity < kVanished;
    if (r.kind != TKind::Hide)
        m_restingPose = TAgentPose{};   // anything but hiding brings the bird back
    switch (r.kind) {
    case TKind::Show:
        if (m_visible && !vanished) {
            r.animation = nullptr;   // already there
        } else {
            m_visible = true;
            PlaceWindow();
            r.animation = r.fast ? nullptr : &AgentAppearAnimation();
        }
        break;
    case TKind::Hide:
        // A bird that has vanished already (it played "Hide") just goes.
        r.animation = (m_visible && !r.fast && !vanished) ? &AgentVanishAnimation() : nullptr;
        break;
    case TKind::Play:
        break;
    case TKind::Speak:
        UpdateBalloon();
        if (r.audioReady)
            StartVoice(r);
        break;
    }
    if (r.kind != TKind::Speak && !r.animation) {
        // Nothing to show: done, through the event loop like every report.
        QMetaObject::invokeMethod(this, [this, id = r.id] {
            if (m_current && m_current->id == id)
                Complete();
        }, Qt::QueuedConnection);
    }
    m_frame.start();
    Tick();
}

void TAgent::Complete()
{
    if (!m_current)
        return;
    std::unique_ptr<TRequest> done = std::move(m_current);
    if (done->kind == TKind::Hide) {
        m_visible = false;
        UpdateWindowShown();
        m_restingPose = TAgentPose{};
    } else if (done->animation && done->animation->keepLastPose) {
        m_restingPose = done->animation->keys.back().pose;
    }
    if (done->kind == TKind::Speak && m_player)
        m_player->Stop();
    if (m_window)
        m_window->SetPose(m_restingPose);
    Post(&TAgent::RequestComplete, done->id);
    StartNext();
    UpdateBalloon();
    if (!m_current && !m_visible)
        m_frame.stop();
    ArmIdle();
}

void TAgent::StopAll()
{
    if (m_player)
        m_player->Stop();
    if (m_current) {
        Post(&TAgent::RequestComplete, m_current->id);
        m_current.reset();
    }
    for (auto &q : m_queue)
        Post(&TAgent::RequestComplete, q->id);
    m_queue.clear();
    if (m_restingPose.opacity >= kVanished)
        m_restingPose = TAgentPose{};
    if (m_window)
        m_window->SetPose(m_restingPose);
    UpdateBalloon();
    ArmIdle();
}

void TAgent::Tick()
{
    if (!m_window)
        return;
    if (m_current) {
        TRequest &r = *m_current;
        const qint64 t = m_clock.elapsed();
        if (r.kind == TKind::Speak) {
            TAgentPose pose = m_restingPose;
            if (r.playing && !r.mouth.isEmpty()) {
                const qsizetype frame = std::min<qsizetype>(t / kMouthFrameMs, r.mouth.size() - 1);
                pose.beak = r.mouth[frame];
                pose.headTilt = -kSpeakingNod * pose.beak;
            }
            m_window->SetPose(pose);
            return;
        }
        if (r.animation) {
            const int at = int(double(t) * m_pace);
            m_window->SetPose(r.animation->PoseAt(at));
            if (at >= r.animation->DurationMs())
                Complete();
        }
        return;
    }
    if (!m_visible || m_restingPose.opacity < kVanished) {
        m_frame.stop();
        return;
    }
    // Resting: breathing, and a blink now and then.
    const qint64 t = m_life.elapsed();
    TAgentPose pose = m_restingPose;
    pose.stretch *= 1 + kBreathDepth * std::sin(2 * M_PI * double(t) / kBreathPeriodMs);
    if (t >= m_nextBlinkMs) {
        const double into = double(t - m_nextBlinkMs) / kBlinkMs;
        if (into >= 1) {
            m_blinkTurn = (m_blinkTurn + 1) % kBlinkPauses.size();
            m_nextBlinkMs = t + kBlinkPauses[m_blinkTurn];
        } else {
            pose.lid = 1 - std::abs(2 * into - 1);
        }
    }
    m_window->SetPose(pose);
}

void TAgent::ArmIdle()
{
    if (IsLoaded() && m_visible && !m_current && m_queue.empty() && m_restingPose.opacity >= kVanished) {
        m_idle.start();
        if (!m_frame.isActive())
            m_frame.start();
    } else {
        m_idle.stop();
    }
}

QString TAgent::CurrentAnimation() const
{
    return (m_current && m_current->animation) ? m_current->animation->name : QString();
}

QString TAgent::BalloonText() const
{
    return (m_balloon && m_balloon->isVisible()) ? m_balloon->Text() : QString();
}

void TAgent::SetTop(int top)
{
    m_top = top;
    PlaceWindow();
}

void TAgent::SetLeft(int left)
{
    m_left = left;
    PlaceWindow();
}

bool TAgent::SetLanguageID(int languageId)
{
    if (!TSpeechSynth::HasVoice(languageId))
        return false;
    m_languageId = languageId;
    return true;
}

void TAgent::PlaceWindow()
{
    if (!m_window)
        return;
    m_window->move(m_left, m_top);
    UpdateWindowShown();
}

void TAgent::UpdateWindowShown()
{
    if (!m_window)
        return;
    const QWindow *modal = QGuiApplication::modalWindow();
    const bool covered = modal && modal != m_window->windowHandle() && modal->isVisible();
    const bool shown = OnScreen() && m_top != kParkedTop && !covered;
    if (m_window->isVisible() != shown)
        m_window->setVisible(shown);
    UpdateBalloon();
}

bool TAgent::eventFilter(QObject *watched, QEvent *event)
{
    if (m_window && watched == m_window.get()
        && (event->type() == QEvent::WindowBlocked || event->type() == QEvent::WindowUnblocked))
        UpdateWindowShown();
    return QObject::eventFilter(watched, event);
}

bool TAgent::OnScreen() const
{
    if (!m_window || !m_visible)
        return false;
    const QRect frame(QPoint(m_left, m_top), m_window->size());
    for (const QScreen *s : QGuiApplication::screens())
        if (s->geometry().intersects(frame))
            return true;
    return false;
}

void TAgent::UpdateBalloon()
{
    if (!m_balloon)
        return;
    const bool speaking = m_current && m_current->kind == TKind::Speak && !m_current->text.trimmed().isEmpty();
    if (speaking && m_window && m_window->isVisible())
        m_balloon->ShowText(m_current->text, m_window->BalloonAnchorOnScreen(true),
                            m_window->BalloonAnchorOnScreen(false));
    else
        m_balloon->hide();
}
