#include "speech/SpeechPlayer.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <QtEndian>

namespace {

constexpr int kPollMs = 15;
constexpr int kDeadlineSlackMs = 3000;   // a voice never outlives its length by more
constexpr int kWaveHeaderBytes = 44;

void PutLe32(QByteArray &b, int at, quint32 v) { qToLittleEndian(v, b.data() + at); }
void PutLe16(QByteArray &b, int at, quint16 v) { qToLittleEndian(v, b.data() + at); }

bool MixerOpen()
{
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    return Mix_QuerySpec(&frequency, &format, &channels) != 0;
}

// The speech channel on the device the sound player (TDDSD) holds; false
// when no device is open.
bool SpeechChannelReady()
{
    if (!MixerOpen())
        return false;
    if (Mix_AllocateChannels(-1) <= kSpeechChannel)
        Mix_AllocateChannels(kSpeechChannel + 1);
    return Mix_AllocateChannels(-1) > kSpeechChannel;
}

} // namespace

QByteArray SpeechWaveBytes(const TSpeechAudio &audio)
{
    const quint32 dataBytes = quint32(audio.samples.size()) * 2;
    QByteArray b(kWaveHeaderBytes, '\0');
    b.replace(0, 4, "RIFF");
    PutLe32(b, 4, 36 + dataBytes);
    b.replace(8, 8, "WAVEfmt ");
    PutLe32(b, 16, 16);
    PutLe16(b, 20, 1);                               // PCM
    PutLe16(b, 22, 1);                               // mono
    PutLe32(b, 24, quint32(audio.sampleRate));
    PutLe32(b, 28, quint32(audio.sampleRate) * 2);   // bytes a second
    PutLe16(b, 32, 2);                               // block align
    PutLe16(b, 34, 16);                              // bits
    b.replace(36, 4, "data");
    PutLe32(b, 40, dataBytes);
    QByteArray data(int(dataBytes), '\0');
    for (int i = 0; i < audio.samples.size(); ++i)
        qToLittleEndian(audio.samples[i], data.data() + 2 * i);
    return b + data;
}

TSpeechPlayer::TSpeechPlayer(QObject *parent) : QObject(parent)
{
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, &TSpeechPlayer::Poll);
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &TSpeechPlayer::Finish);
}

TSpeechPlayer::~TSpeechPlayer() { Stop(); }

void TSpeechPlayer::Play(const TSpeechAudio &audio)
{
    Stop();
    m_playing = true;
    m_onDevice = false;
    m_clock.start();
    const qint64 duration = audio.DurationMs();
    if (duration > 0 && SpeechChannelReady()) {
        const QByteArray wave = SpeechWaveBytes(audio);
        SDL_RWops *rw = SDL_RWFromConstMem(wave.constData(), int(wave.size()));
        m_chunk = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
        if (m_chunk) {
            Mix_Volume(kSpeechChannel, MIX_MAX_VOLUME);
            if (Mix_PlayChannel(kSpeechChannel, m_chunk, 0) == kSpeechChannel) {
                m_onDevice = true;
                m_poll.start();
            } else {
                ReleaseChunk();
            }
        }
    }
    // Silent timing when there is no device; on a device, a guard against a
    // channel that never reports its end.
    m_deadline.start(int(m_onDevice ? duration + kDeadlineSlackMs : duration));
}

void TSpeechPlayer::Stop()
{
    m_poll.stop();
    m_deadline.stop();
    if (m_chunk && Mix_GetChunk(kSpeechChannel) == m_chunk && Mix_Playing(kSpeechChannel))
        Mix_HaltChannel(kSpeechChannel);
    ReleaseChunk();
    m_playing = false;
}

void TSpeechPlayer::Poll()
{
    // The channel is ours while it holds our chunk; a re-created device or a
    // halt from elsewhere ends the voice as well.
    if (!MixerOpen() || Mix_AllocateChannels(-1) <= kSpeechChannel || !Mix_Playing(kSpeechChannel)
        || Mix_GetChunk(kSpeechChannel) != m_chunk)
        Finish();
}

void TSpeechPlayer::Finish()
{
    if (!m_playing)
        return;
    Stop();
    emit Finished();
}

void TSpeechPlayer::ReleaseChunk()
{
    if (m_chunk) {
        Mix_FreeChunk(m_chunk);
        m_chunk = nullptr;
    }
}
