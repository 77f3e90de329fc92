#include "speech/SpeechSynth.h"

#include "speech/SpeechTable.h"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

namespace {

// Table pitch 50 .. 230 spans engine pitch 10 .. 90; table speed 150 is the
// engine's ordinary 175 words a minute.
constexpr int kTablePitchLow = 50;
constexpr int kTablePitchHigh = 230;
constexpr int kEnginePitchLow = 10;
constexpr int kEnginePitchHigh = 90;
constexpr int kTableNormalSpeed = 150;
constexpr int kEngineNormalRate = 175;
constexpr int kEngineRateMin = 80;
constexpr int kEngineRateMax = 450;
constexpr int kHighVoiceFrom = 150;   // table pitch from which the higher voice speaks
constexpr int kMaleGender = 1;
constexpr int kFemaleGender = 2;
constexpr int kEngineVolume = 100;

std::mutex g_engineMutex;   // the engine is one global state
bool g_started = false;
bool g_usable = false;
int g_sampleRate = 0;
QVector<qint16> *g_target = nullptr;   // where the callback writes (under the mutex)

int CollectSamples(short *wav, int count, espeak_EVENT *)
{
    if (wav && count > 0 && g_target) {
        const qsizetype old = g_target->size();
        g_target->resize(old + count);
        std::memcpy(g_target->data() + old, wav, size_t(count) * sizeof(qint16));
    }
    return 0;   // go on
}

// Starts the engine once. Caller holds the mutex.
bool StartEngineLocked()
{
    if (g_started)
        return g_usable;
    g_started = true;
    espeak_ng_InitializePath(nullptr);
    espeak_ng_ERROR_CONTEXT context = nullptr;
    const espeak_ng_STATUS status = espeak_ng_Initialize(&context);
    espeak_ng_ClearErrorContext(&context);
    if (status != ENS_OK)
        return false;
    if (espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr) != ENS_OK)
        return false;
    espeak_SetSynthCallback(&CollectSamples);
    g_sampleRate = espeak_ng_GetSampleRate();
    g_usable = g_sampleRate > 0;
    return g_usable;
}

// True when one of the voice's languages is the tag or a region of it.
bool VoiceSpeaks(const espeak_VOICE *voice, const QByteArray &tag)
{
    // languages: repeated (priority byte, zero-terminated name), ended by a 0 byte.
    const char *p = voice->languages;
    while (p && *p) {
        const QByteArray lang = QByteArray(p + 1).toLower();
        if (lang == tag || lang.startsWith(tag + '-'))
            return true;
        p += 1 + qstrlen(p + 1) + 1;
    }
    return false;
}

// Caller holds the mutex; engine started.
const espeak_VOICE *VoiceForLocked(int languageId)
{
    const QString tag = SpeechLanguageTag(languageId);
    if (tag.isEmpty())
        return nullptr;
    const QByteArray wanted = tag.toLatin1();
    const espeak_VOICE **voices = espeak_ListVoices(nullptr);
    for (int i = 0; voices && voices[i]; ++i)
        if (VoiceSpeaks(voices[i], wanted))
            return voices[i];
    return nullptr;
}

QThreadPool &SpeechWorker()
{
    static QThreadPool *pool = [] {
        auto *p = new QThreadPool;
        p->setMaxThreadCount(1);   // one engine, one queue: texts come out in order
        return p;
    }();
    return *pool;
}

} // namespace

TEngineVoiceParameters EngineVoiceParameters(int tablePitch, int tableSpeed)
{
    const double p = double(std::clamp(tablePitch, kTablePitchLow, kTablePitchHigh) - kTablePitchLow)
        / (kTablePitchHigh - kTablePitchLow);
    const int pitch = int(std::lround(kEnginePitchLow + p * (kEnginePitchHigh - kEnginePitchLow)));
    const int rate = std::clamp(int(std::lround(double(tableSpeed) * kEngineNormalRate / kTableNormalSpeed)),
                                kEngineRateMin, kEngineRateMax);
    return {pitch, rate, tablePitch >= kHighVoiceFrom ? kFemaleGender : kMaleGender};
}

namespace TSpeechSynth {

bool EngineUsable()
{
    std::lock_guard lock(g_engineMutex);
    return StartEngineLocked();
}

QString EngineVersion()
{
    std::lock_guard lock(g_engineMutex);
    if (!StartEngineLocked())
        return {};
    return QString::fromUtf8(espeak_Info(nullptr));
}

QString EngineDataPath()
{
    std::lock_guard lock(g_engineMutex);
    if (!StartEngineLocked())
        return {};
    const char *path = nullptr;
    espeak_Info(&path);
    return path ? QString::fromLocal8Bit(path) : QString();
}

bool HasVoice(int languageId)
{
    std::lock_guard lock(g_engineMutex);
    return StartEngineLocked() && VoiceForLocked(languageId) != nullptr;
}

QList<int> InstalledLanguages()
{
    QList<int> result;
    std::lock_guard lock(g_engineMutex);
    if (!StartEngineLocked())
        return result;
    for (const TSpeechMode &m : SpeechEngineTable())
        if (!result.contains(m.languageId) && VoiceForLocked(m.languageId))
            result.append(m.languageId);
    return result;
}

QString VoiceName(int languageId)
{
    std::lock_guard lock(g_engineMutex);
    if (!StartEngineLocked())
        return {};
    const espeak_VOICE *v = VoiceForLocked(languageId);
    return v ? QString::fromUtf8(v->name) : QString();
}

TSpeechAudio Synthesize(const QString &text, const TSpeechVoice &voice)
{
    TSpeechAudio audio;
    std::lock_guard lock(g_engineMutex);
    if (!StartEngineLocked())
        return audio;
    audio.sampleRate = g_sampleRate;
    if (!VoiceForLocked(voice.languageId))
        return audio;
    const TEngineVoiceParameters params = EngineVoiceParameters(voice.pitch, voice.speed);
    const QByteArray language = SpeechLanguageTag(voice.languageId).toLatin1();
    espeak_VOICE selector{};
    selector.languages = language.constData();
    selector.gender = static_cast<unsigned char>(params.gender);
    if (espeak_SetVoiceByProperties(&selector) != EE_OK)
        return audio;
    espeak_SetParameter(espeakRATE, params.rate, 0);
    espeak_SetParameter(espeakPITCH, params.pitch, 0);
    espeak_SetParameter(espeakVOLUME, kEngineVolume, 0);
    audio.ok = true;
    const QByteArray utf8 = text.trimmed().toUtf8();
    if (utf8.isEmpty())
        return audio;
    g_target = &audio.samples;
    const espeak_ERROR err = espeak_Synth(utf8.constData(), size_t(utf8.size()) + 1, 0, POS_CHARACTER, 0,
                                          espeakCHARS_UTF8, nullptr, nullptr);
    if (err == EE_OK)
        espeak_Synchronize();
    g_target = nullptr;
    audio.ok = err == EE_OK;
    return audio;
}

void SynthesizeAsync(const QString &text, const TSpeechVoice &voice, QObject *context,
                     std::function<void(TSpeechAudio)> done)
{
    QPointer<QObject> guard(context);
    SpeechWorker().start([text, voice, guard, done = std::move(done)]() {
        TSpeechAudio audio = Synthesize(text, voice);
        QCoreApplication *app = QCoreApplication::instance();
        if (!app)
            return;
        // Delivered on the window thread, where the guard may be tested safely.
        QMetaObject::invokeMethod(
            app,
            [guard, done, audio = std::move(audio)]() {
                if (guard)
                    done(audio);
            },
            Qt::QueuedConnection);
    });
}

} // namespace TSpeechSynth
