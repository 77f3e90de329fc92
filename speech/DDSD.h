#pragma once
// TDDSD, the sound player: a fixed number of channels on the SDL2_mixer
// device, each holding one loaded sound that plays from its start. Volumes are
// in hundredths of a decibel (0 full, -10000 silent). Without an audio device
// the player is unavailable and every call quietly does nothing.
//
// The mixer is one per process: only one player holds the device at a time.
#include "base/TError.h"

#include <QString>
#include <memory>
#include <vector>

struct Mix_Chunk;

inline constexpr int kDDSDMinVolume = -10000;   // hundredths of a decibel: silence
inline constexpr int kDDSDMaxVolume = 0;

// An error of the player (a channel that does not exist): a program fault.
class EDDSD : public TFatalError {
public:
    using TFatalError::TFatalError;
};

// The mixer's linear volume (0..128) for a volume in hundredths of a decibel.
int DDSDLinearVolume(int hundredthsOfDecibel);

class TDDSD;

// One WAVE file read into a buffer in the device's format. Without a device,
// or when the file is missing, not a RIFF WAVE file, or lacks its "fmt " or
// "data" chunk, it has no buffer.
class TDDSDWaveData {
public:
    TDDSDWaveData(TDDSD &player, const QString &fileName);
    bool HasBuffer() const { return m_buffer != nullptr; }

private:
    friend class TDDSDChannel;
    std::shared_ptr<Mix_Chunk> m_buffer;
    quint64 m_device = 0;   // the device opening the buffer was made for
};

class TDDSDChannel {
public:
    TDDSDChannel(TDDSD &player, int index) : m_player(&player), m_index(index) {}
    // Drops the previous sound and takes the wave data's; the wave data may be
    // freed afterwards. Wave data without a buffer leaves the channel silent.
    void SetWaveData(const TDDSDWaveData &wave);
    void Clear();
    bool HasWaveData() const { return m_buffer != nullptr; }
    void Play();   // from the start, once
    void Stop();
    void SetVolume(int hundredthsOfDecibel);
    int Volume() const { return m_volume; }
    int Index() const { return m_index; }

private:
    friend class TDDSD;
    TDDSD *m_player;
    int m_index;
    std::shared_ptr<Mix_Chunk> m_buffer;
    int m_volume = kDDSDMaxVolume;
};

class TDDSD {
public:
    explicit TDDSD(int channelCount);
    ~TDDSD();
    TDDSD(const TDDSD &) = delete;
    TDDSD &operator=(const TDDSD &) = delete;

    int ChannelCount() const { return m_channelCount; }
    // Drops every channel, opens the default audio device (22050 Hz, 16 bits,
    // stereo until SetPrimaryFormat says otherwise) and creates ChannelCount
    // empty channels. Without a device the player is unavailable.
    void InitializeDevice();
    // The output format. A change reopens the device and empties the channels
    // (their sounds were converted for the old format).
    void SetPrimaryFormat(int samplesPerSecond, int bitsPerSample, bool stereo);
    // Closes the device; the player is unavailable until InitializeDevice.
    void CloseDevice();
    bool Available() const { return m_open; }
    // The channel object; an index outside 0 .. ChannelCount - 1 is an EDDSD.
    TDDSDChannel &Channel(int index);

private:
    friend class TDDSDWaveData;
    friend class TDDSDChannel;
    bool OpenDevice();
    void ClearChannels();

    int m_channelCount;
    std::vector<TDDSDChannel> m_channels;
    bool m_open = false;
    quint64 m_device = 0;   // counts device openings
    int m_samplesPerSecond = 22050;
    int m_bitsPerSample = 16;
    bool m_stereo = true;
};
