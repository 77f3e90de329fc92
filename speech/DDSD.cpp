#include "speech/DDSD.h"

#include <QFile>
#include <QtEndian>
#include <SDL.h>
#include <SDL_mixer.h>
#include <cmath>

namespace {

constexpr int kChunkSamples = 512;            // about 23 ms at 22050 Hz: typing stays crisp
constexpr qint64 kMaxWaveFileBytes = 64 << 20;

// The one player that holds the process's mixer.
TDDSD *g_deviceOwner = nullptr;

quint32 ReadLE32(const char *p)
{
    return qFromLittleEndian<quint32>(p);
}

// A RIFF file of form "WAVE" with a "fmt " chunk and a "data" chunk.
bool IsWaveFile(const QByteArray &bytes)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return false;
    bool hasFormat = false;
    bool hasData = false;
    qint64 at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const qint64 size = ReadLE32(bytes.constData() + at + 4);
        const qint64 body = at + 8;
        if (id == "fmt ")
            hasFormat = size >= 16 && body + size <= bytes.size();
        else if (id == "data")
            hasData = size > 0 && body < bytes.size();
        at = body + size + (size & 1);
    }
    return hasFormat && hasData;
}

void FreeChunk(Mix_Chunk *chunk)
{
    Mix_FreeChunk(chunk);
}

}   // namespace

int DDSDLinearVolume(int hundredthsOfDecibel)
{
    if (hundredthsOfDecibel <= kDDSDMinVolume)
        return 0;
    const int clamped = std::min(hundredthsOfDecibel, kDDSDMaxVolume);
    return static_cast<int>(std::lround(MIX_MAX_VOLUME * std::pow(10.0, clamped / 2000.0)));
}

// ---- wave data ----------------------------------------------------------------

TDDSDWaveData::TDDSDWaveData(TDDSD &player, const QString &fileName)
{
    if (!player.Available())
        return;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxWaveFileBytes)
        return;
    const QByteArray bytes = file.readAll();
    if (!IsWaveFile(bytes))
        return;
    // The mixer converts the samples to the device format and keeps its own copy.
    SDL_RWops *source = SDL_RWFromConstMem(bytes.constData(), static_cast<int>(bytes.size()));
    if (!source)
        return;
    Mix_Chunk *chunk = Mix_LoadWAV_RW(source, 1);
    if (!chunk)
        return;
    m_buffer.reset(chunk, &FreeChunk);
    m_device = player.m_device;
}

// ---- channel ------------------------------------------------------------------

void TDDSDChannel::SetWaveData(const TDDSDWaveData &wave)
{
    Clear();
    if (m_player->Available() && wave.m_buffer && wave.m_device == m_player->m_device)
        m_buffer = wave.m_buffer;
}

void TDDSDChannel::Clear()
{
    Stop();
    m_buffer.reset();
}

void TDDSDChannel::Play()
{
    if (!m_player->Available() || !m_buffer)
        return;
    Mix_HaltChannel(m_index);
    Mix_Volume(m_index, DDSDLinearVolume(m_volume));
    Mix_PlayChannel(m_index, m_buffer.get(), 0);
}

void TDDSDChannel::Stop()
{
    if (m_player->Available())
        Mix_HaltChannel(m_index);
}

void TDDSDChannel::SetVolume(int hundredthsOfDecibel)
{
    m_volume = std::clamp(hundredthsOfDecibel, kDDSDMinVolume, kDDSDMaxVolume);
    if (m_player->Available())
        Mix_Volume(m_index, DDSDLinearVolume(m_volume));
}

// ---- player -------------------------------------------------------------------

TDDSD::TDDSD(int channelCount) : m_channelCount(std::max(channelCount, 0))
{
    for (int i = 0; i < m_channelCount; ++i)
        m_channels.emplace_back(*this, i);
}

TDDSD::~TDDSD()
{
    CloseDevice();
}

TDDSDChannel &TDDSD::Channel(int index)
{
    if (index < 0 || index >= m_channelCount)
        throw EDDSD(QStringLiteral("DDSD: channel index %1 out of range 0..%2").arg(index).arg(m_channelCount - 1));
    return m_channels[static_cast<size_t>(index)];
}

void TDDSD::ClearChannels()
{
    for (TDDSDChannel &channel : m_channels) {
        channel.Clear();
        channel.m_volume = kDDSDMaxVolume;
    }
}

void TDDSD::InitializeDevice()
{
    CloseDevice();
    OpenDevice();
}

bool TDDSD::OpenDevice()
{
    if (g_deviceOwner && g_deviceOwner != this)
        return false;
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    const Uint16 format = m_bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16SYS;
    if (Mix_OpenAudioDevice(m_samplesPerSecond, format, m_stereo ? 2 : 1, kChunkSamples, nullptr, 0) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(m_channelCount);
    for (int i = 0; i < m_channelCount; ++i)
        Mix_Volume(i, DDSDLinearVolume(m_channels[static_cast<size_t>(i)].m_volume));
    m_open = true;
    ++m_device;
    g_deviceOwner = this;
    return true;
}

void TDDSD::CloseDevice()
{
    ClearChannels();
    if (!m_open)
        return;
    Mix_HaltChannel(-1);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_open = false;
    g_deviceOwner = nullptr;
}

void TDDSD::SetPrimaryFormat(int samplesPerSecond, int bitsPerSample, bool stereo)
{
    if (samplesPerSecond < 8000 || samplesPerSecond > 192000 || (bitsPerSample != 8 && bitsPerSample != 16))
        throw EDDSD(QStringLiteral("DDSD: unsupported format %1 Hz, %2 bits").arg(samplesPerSecond).arg(bitsPerSample));
    if (samplesPerSecond == m_samplesPerSecond && bitsPerSample == m_bitsPerSample && stereo == m_stereo)
        return;
    m_samplesPerSecond = samplesPerSecond;
    m_bitsPerSample = bitsPerSample;
    m_stereo = stereo;
    if (m_open) {
        CloseDevice();
        OpenDevice();
    }
}
