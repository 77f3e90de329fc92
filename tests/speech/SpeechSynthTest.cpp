#include "speech/SpeechSynth.h"
#include "speech/SpeechTable.h"

#include <QHash>
#include <QTest>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace {

struct TWord {
    int languageId;
    const char *text;
};
const TWord kWords[] = {
    {1033, "important"}, {2057, "remember"},  {1040, "ricordare"}, {1036, "bonjour"},
    {1031, "Wasser"},    {3082, "mañana"},    {1046, "obrigado"},  {1049, "спасибо"},
    {1041, "ありがとう"}, {1042, "감사합니다"}, {1043, "dankjewel"},
};

double Rms(const QVector<qint16> &s)
{
    double sum = 0;
    for (qint16 v : s)
        sum += double(v) * v;
    return s.isEmpty() ? 0 : std::sqrt(sum / s.size());
}

// Mean fundamental frequency over the voiced frames (a cumulative-mean
// normalised difference function, as pitch trackers use).
double MeanPitchHz(const TSpeechAudio &a)
{
    const int frame = a.sampleRate / 18;
    const int minLag = a.sampleRate / 500;
    const int maxLag = a.sampleRate / 60;
    double total = 0;
    int count = 0;
    std::vector<double> d(size_t(maxLag) + 1);
    for (int start = 0; start + frame + maxLag < a.samples.size(); start += frame / 2) {
        double energy = 0;
        for (int i = 0; i < frame; ++i)
            energy += double(a.samples[start + i]) * a.samples[start + i];
        if (energy / frame < 4e5)
            continue;
        double running = 0;
        for (int lag = 1; lag <= maxLag; ++lag) {
            double diff = 0;
            for (int i = 0; i < frame; ++i) {
                const double x = double(a.samples[start + i]) - a.samples[start + i + lag];
                diff += x * x;
            }
            running += diff;
            d[size_t(lag)] = running > 0 ? diff * lag / running : 1;
        }
        for (int lag = minLag; lag < maxLag; ++lag) {
            if (d[size_t(lag)] < 0.15) {
                while (lag + 1 < maxLag && d[size_t(lag) + 1] < d[size_t(lag)])
                    ++lag;
                total += double(a.sampleRate) / lag;
                ++count;
                break;
            }
        }
    }
    return count ? total / count : 0;
}

TSpeechVoice VoiceOf(const char *modeId)
{
    const TSpeechMode *m = FindSpeechMode(QString::fromLatin1(modeId));
    return {m->languageId, m->pitch, m->speed};
}

} // namespace

TEST(SpeechSynth, EveryLanguageOfTheTableHasAVoice)
{
    ASSERT_TRUE(TSpeechSynth::EngineUsable());
    const QList<int> installed = TSpeechSynth::InstalledLanguages();
    for (const TWord &w : kWords) {
        EXPECT_TRUE(TSpeechSynth::HasVoice(w.languageId)) << w.languageId;
        EXPECT_TRUE(installed.contains(w.languageId)) << w.languageId;
        EXPECT_FALSE(TSpeechSynth::VoiceName(w.languageId).isEmpty()) << w.languageId;
    }
    EXPECT_FALSE(TSpeechSynth::HasVoice(1044));   // Norwegian: not a language of the table
    EXPECT_FALSE(TSpeechSynth::HasVoice(0));
}

TEST(SpeechSynth, AWordInEachLanguageIsAudibleAndOfAPlausibleLength)
{
    for (const TWord &w : kWords) {
        const TSpeechAudio a = TSpeechSynth::Synthesize(QString::fromUtf8(w.text), {w.languageId, 135, 150});
        SCOPED_TRACE(w.text);
        ASSERT_TRUE(a.ok);
        EXPECT_GT(a.sampleRate, 8000);
        EXPECT_GE(a.DurationMs(), 250);
        EXPECT_LE(a.DurationMs(), 3000);
        EXPECT_GT(Rms(a.samples), 400.0);
        const auto peak = std::max_element(a.samples.cbegin(), a.samples.cend(),
                                           [](qint16 x, qint16 y) { return std::abs(x) < std::abs(y); });
        EXPECT_GT(std::abs(*peak), 4000);
        // Sound most of the way, not a click: a good part of the 20 ms frames is loud.
        const int step = a.sampleRate / 50;
        int loud = 0, frames = 0;
        for (int at = 0; at + step <= a.samples.size(); at += step, ++frames)
            loud += Rms(a.samples.mid(at, step)) > 800;
        EXPECT_GT(loud * 3, frames) << loud << " of " << frames;
    }
}

TEST(SpeechSynth, TheHigherVoiceOfEachLanguageIsHigherAndAFasterModeIsShorter)
{
    QHash<int, QList<TSpeechMode>> byLanguage;
    for (const TSpeechMode &m : SpeechEngineTable())
        byLanguage[m.languageId].append(m);
    for (const TWord &w : kWords) {
        QList<TSpeechMode> modes = byLanguage.value(w.languageId);
        std::sort(modes.begin(), modes.end(), [](const TSpeechMode &a, const TSpeechMode &b) { return a.pitch < b.pitch; });
        const TSpeechMode &low = modes.front();
        const TSpeechMode &high = modes.back();
        const double lowHz = MeanPitchHz(TSpeechSynth::Synthesize(QString::fromUtf8(w.text), {w.languageId, low.pitch, low.speed}));
        const double highHz = MeanPitchHz(TSpeechSynth::Synthesize(QString::fromUtf8(w.text), {w.languageId, high.pitch, high.speed}));
        EXPECT_GT(highHz, lowHz * 1.3) << w.text << " " << lowHz << " Hz vs " << highHz << " Hz";
    }
    const QString sentence = QStringLiteral("remember the beautiful garden");
    const TSpeechAudio slow = TSpeechSynth::Synthesize(sentence, VoiceOf("{CA141FD0-AC7F-11D1-97A3-006008273005}"));
    const TSpeechAudio normal = TSpeechSynth::Synthesize(sentence, {1033, 89, 150});
    EXPECT_GT(slow.DurationMs(), normal.DurationMs() * 1.1);
}

TEST(SpeechSynth, UnknownLanguageAndEmptyTextGiveNoSound)
{
    const TSpeechAudio none = TSpeechSynth::Synthesize(QStringLiteral("hello"), {1044, 135, 150});
    EXPECT_FALSE(none.ok);
    EXPECT_TRUE(none.samples.isEmpty());
    const TSpeechAudio blank = TSpeechSynth::Synthesize(QStringLiteral(" "), {1033, 135, 150});
    EXPECT_TRUE(blank.ok);
    EXPECT_EQ(blank.DurationMs(), 0);
}

TEST(SpeechSynth, SynthesisRunsOffTheWindowThreadAndReportsBackOnIt)
{
    QThread *const windowThread = QThread::currentThread();
    QObject context;
    bool done = false;
    QThread *reportedOn = nullptr;
    TSpeechAudio got;
    TSpeechSynth::SynthesizeAsync(QStringLiteral("a rather long sentence to say slowly"), {1033, 89, 120}, &context,
                                  [&](TSpeechAudio a) {
                                      done = true;
                                      reportedOn = QThread::currentThread();
                                      got = a;
                                  });
    EXPECT_FALSE(done);   // the call returned before the voice was made
    EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 10000));
    EXPECT_EQ(reportedOn, windowThread);
    EXPECT_TRUE(got.ok);
    EXPECT_GT(got.DurationMs(), 1000);

    // A receiver that is gone by then hears nothing.
    bool late = false;
    {
        QObject gone;
        TSpeechSynth::SynthesizeAsync(QStringLiteral("word"), {1033, 135, 150}, &gone, [&](TSpeechAudio) { late = true; });
    }
    bool marker = false;
    TSpeechSynth::SynthesizeAsync(QStringLiteral("word"), {1033, 135, 150}, &context, [&](TSpeechAudio) { marker = true; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return marker; }, 10000));
    EXPECT_FALSE(late);
}
