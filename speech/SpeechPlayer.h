#pragma once
// Plays synthesised speech without holding up the window thread and says
// when the voice has finished. Speech plays on the audio device that the
// sound player (TDDSD) holds, on a mixer channel of its own above the sound
// effects' channels. With no device open the voice is silent but still takes
// its time, so the bird's beak and balloon keep pace as if it were heard.
#include "speech/SpeechSynth.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

struct Mix_Chunk;

inline constexpr int kSpeechChannel = 40;   // effects use channels 0..39

class TSpeechPlayer : public QObject {
    Q_OBJECT
public:
    explicit TSpeechPlayer(QObject *parent = nullptr);
    ~TSpeechPlayer() override;

    // Stops what plays and starts the audio; Finished follows when it ends
    // (at once, through the event loop, for empty audio).
    void Play(const TSpeechAudio &audio);
    // Stops at once; no Finished for the stopped audio.
    void Stop();
    bool IsPlaying() const { return m_playing; }
    // True when the last audio went to a sound device (false: silent timing).
    bool PlayedOnDevice() const { return m_onDevice; }
    // Milliseconds since the current audio started.
    qint64 ElapsedMs() const { return m_playing ? m_clock.elapsed() : 0; }

signals:
    void Finished();

private:
    void Poll();
    void Finish();
    void ReleaseChunk();

    QTimer m_poll;
    QTimer m_deadline;
    QElapsedTimer m_clock;
    Mix_Chunk *m_chunk = nullptr;
    bool m_playing = false;
    bool m_onDevice = false;
};

// A RIFF WAVE file image of 16-bit mono samples.
QByteArray SpeechWaveBytes(const TSpeechAudio &audio);
