#include "SoundTestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QtEndian>
#include <cmath>
#include <stdexcept>

namespace {

void AppendLE16(QByteArray &bytes, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    bytes.append(b, 2);
}

void AppendLE32(QByteArray &bytes, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    bytes.append(b, 4);
}

void SetOrUnset(const char *name, bool had, const QByteArray &value)
{
    if (had)
        qputenv(name, value);
    else
        qunsetenv(name);
}

}   // namespace

TAudioDriverScope::TAudioDriverScope(const QByteArray &driver, const QString &diskFile)
    : m_oldDriver(qgetenv("SDL_AUDIODRIVER")), m_oldFile(qgetenv("SDL_DISKAUDIOFILE")),
      m_hadDriver(qEnvironmentVariableIsSet("SDL_AUDIODRIVER")), m_hadFile(qEnvironmentVariableIsSet("SDL_DISKAUDIOFILE"))
{
    qputenv("SDL_AUDIODRIVER", driver);
    if (!diskFile.isEmpty())
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(diskFile));
}

TAudioDriverScope::~TAudioDriverScope()
{
    SetOrUnset("SDL_AUDIODRIVER", m_hadDriver, m_oldDriver);
    SetOrUnset("SDL_DISKAUDIOFILE", m_hadFile, m_oldFile);
}

TDiskAudioCapture::TDiskAudioCapture()
    : m_file(m_dir.path() + QStringLiteral("/out.raw")), m_scope("disk", m_file)
{
}

void TDiskAudioCapture::WaitHeard(int ms) const
{
    constexpr qint64 kBytesPerSecond = 22050 * 2 * 2;   // 22050 Hz, 16 bits, stereo
    constexpr qint64 kGiveUpMs = 30000;
    const qint64 target = QFileInfo(m_file).size() + kBytesPerSecond * ms / 1000;
    QElapsedTimer timer;
    timer.start();
    while (QFileInfo(m_file).size() < target && timer.elapsed() < kGiveUpMs) {
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
}

std::vector<int> TDiskAudioCapture::LeftSamples() const
{
    QFile f(m_file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    std::vector<int> left;
    for (qsizetype at = 0; at + 4 <= bytes.size(); at += 4)
        left.push_back(qFromLittleEndian<qint16>(bytes.constData() + at));
    return left;
}

QByteArray WaveFile(const std::vector<qint16> &samples, int channels, int samplesPerSecond)
{
    QByteArray data;
    for (qint16 s : samples)
        AppendLE16(data, static_cast<quint16>(s));
    QByteArray wave("RIFF");
    AppendLE32(wave, static_cast<quint32>(4 + 8 + 16 + 8 + data.size()));
    wave.append("WAVEfmt ");
    AppendLE32(wave, 16);
    AppendLE16(wave, 1);   // PCM
    AppendLE16(wave, static_cast<quint16>(channels));
    AppendLE32(wave, static_cast<quint32>(samplesPerSecond));
    AppendLE32(wave, static_cast<quint32>(samplesPerSecond * channels * 2));
    AppendLE16(wave, static_cast<quint16>(channels * 2));
    AppendLE16(wave, 16);
    wave.append("data");
    AppendLE32(wave, static_cast<quint32>(data.size()));
    return wave + data;
}

QByteArray ConstantWave(qint16 value, double seconds)
{
    const auto frames = static_cast<size_t>(std::lround(seconds * 22050));
    return WaveFile(std::vector<qint16>(frames * 2, value), 2);
}

std::vector<int> Levels(const std::vector<int> &samples, int unit, int minRun)
{
    std::vector<int> levels;
    size_t i = 0;
    while (i < samples.size()) {
        const int level = static_cast<int>(std::lround(static_cast<double>(samples[i]) / unit));
        size_t j = i;
        while (j < samples.size() && std::lround(static_cast<double>(samples[j]) / unit) == level)
            ++j;
        const bool held = static_cast<int>(j - i) >= minRun;
        if (held && (levels.empty() ? level != 0 : levels.back() != level))
            levels.push_back(level);
        i = j;
    }
    return levels;
}

int Peak(const std::vector<int> &samples)
{
    int peak = 0;
    for (int s : samples)
        peak = std::max(peak, std::abs(s));
    return peak;
}

double Rms(const std::vector<int> &samples)
{
    if (samples.empty())
        return 0;
    double sum = 0;
    for (int s : samples)
        sum += static_cast<double>(s) * s;
    return std::sqrt(sum / static_cast<double>(samples.size()));
}

std::vector<int> WaveSamples(const QByteArray &wave, int *channels, int *samplesPerSecond)
{
    if (wave.size() < 12 || !wave.startsWith("RIFF") || wave.mid(8, 4) != "WAVE")
        return {};
    int count = 0;
    int bits = 0;
    qsizetype at = 12;
    while (at + 8 <= wave.size()) {
        const QByteArray id = wave.mid(at, 4);
        const qsizetype size = qFromLittleEndian<quint32>(wave.constData() + at + 4);
        const char *body = wave.constData() + at + 8;
        if (id == "fmt " && size >= 16) {
            if (qFromLittleEndian<quint16>(body) != 1)
                return {};
            count = qFromLittleEndian<quint16>(body + 2);
            if (samplesPerSecond)
                *samplesPerSecond = static_cast<int>(qFromLittleEndian<quint32>(body + 4));
            bits = qFromLittleEndian<quint16>(body + 14);
        } else if (id == "data" && count > 0 && bits == 16 && at + 8 + size <= wave.size()) {
            if (channels)
                *channels = count;
            std::vector<int> samples;
            for (qsizetype i = 0; i + 2 * count <= size; i += 2 * count)
                samples.push_back(qFromLittleEndian<qint16>(body + i));
            return samples;
        }
        at += 8 + size + (size & 1);
    }
    return {};
}
