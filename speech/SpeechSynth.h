#pragma once
// Text-to-speech through espeak-ng: a text, a language and the pitch and speed
// of a speech mode become 16-bit mono samples in memory. The engine is one
// global resource; every call into it is serialised here, so synthesis may run
// on a worker thread while the window thread goes on.
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

struct TSpeechVoice {
    int languageId = 0;
    int pitch = 0;   // table scale (50 .. 230)
    int speed = 0;   // table scale (100 .. 180)
};

struct TSpeechAudio {
    QVector<qint16> samples;   // mono
    int sampleRate = 0;
    bool ok = false;           // false: engine or voice missing
    qint64 DurationMs() const
    {
        return sampleRate > 0 ? qint64(samples.size()) * 1000 / sampleRate : 0;
    }
};

// The engine's parameters for a mode of the table: a higher table pitch is a
// higher voice, a higher table speed a faster one, and modes from 150 up speak
// with the engine's higher (female) voice, so that the two voices of one
// language are told apart at once.
struct TEngineVoiceParameters {
    int pitch;   // 0 .. 100
    int rate;    // words a minute
    int gender;  // 1 male, 2 female
};
TEngineVoiceParameters EngineVoiceParameters(int tablePitch, int tableSpeed);

namespace TSpeechSynth {

// True when the engine starts (library and its data found). Starts it on the
// first call.
bool EngineUsable();
QString EngineVersion();
QString EngineDataPath();

// True when the engine has a voice for the language identifier.
bool HasVoice(int languageId);
// The language identifiers of the speech table that have a voice here.
QList<int> InstalledLanguages();
// The engine's name of the voice for a language ("Italian"); empty when none.
QString VoiceName(int languageId);

// Synthesises the whole text (blocking). Safe from any thread.
TSpeechAudio Synthesize(const QString &text, const TSpeechVoice &voice);

// Synthesises on the speech worker thread; `done` runs on the thread of
// `context` (not at all when `context` is gone by then).
void SynthesizeAsync(const QString &text, const TSpeechVoice &voice, QObject *context,
                     std::function<void(TSpeechAudio)> done);

} // namespace TSpeechSynth
