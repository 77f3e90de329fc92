#pragma once
// Hearing what the player sends out: SDL's disk audio driver writes the mixed
// output (22050 Hz, 16 bits, stereo) to a file that the tests read back.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <vector>

// Sets SDL_AUDIODRIVER (and SDL_DISKAUDIOFILE when given) for its lifetime; the
// player reads them each time it opens the device.
class TAudioDriverScope {
public:
    explicit TAudioDriverScope(const QByteArray &driver, const QString &diskFile = {});
    ~TAudioDriverScope();

private:
    QByteArray m_oldDriver;
    QByteArray m_oldFile;
    bool m_hadDriver;
    bool m_hadFile;
};

// The disk driver writing into a temporary file.
class TDiskAudioCapture {
public:
    TDiskAudioCapture();
    // The left channel of everything written so far (close the device first).
    std::vector<int> LeftSamples() const;
    // Waits, keeping events flowing, until `ms` more milliseconds of sound have
    // reached the output. Counting in output time rather than wall time keeps
    // the tests exact on a busy machine, where the audio thread runs late.
    void WaitHeard(int ms) const;

private:
    QTemporaryDir m_dir;
    QString m_file;
    TAudioDriverScope m_scope;
};

// A 16-bit PCM RIFF WAVE file.
QByteArray WaveFile(const std::vector<qint16> &samples, int channels, int samplesPerSecond = 22050);
// A stereo 22050 Hz sound holding one sample value throughout.
QByteArray ConstantWave(qint16 value, double seconds);

// The successive levels of a signal, each sample rounded to a multiple of
// `unit`; levels held for fewer than minRun samples are ignored, leading
// silence is dropped. {1, 3, 1, 0} for "one, then three, then one, then off".
std::vector<int> Levels(const std::vector<int> &samples, int unit, int minRun = 64);
int Peak(const std::vector<int> &samples);
double Rms(const std::vector<int> &samples);
// The samples of a 16-bit PCM WAVE file (first channel), empty if it is none.
std::vector<int> WaveSamples(const QByteArray &wave, int *channels = nullptr, int *samplesPerSecond = nullptr);
