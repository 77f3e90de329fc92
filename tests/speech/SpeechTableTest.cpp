#include "speech/SpeechSynth.h"
#include "speech/SpeechTable.h"

#include <QHash>
#include <QSet>
#include <gtest/gtest.h>

TEST(SpeechTable, ThirtyDistinctModesTwoPerLanguageAndTenForUsEnglish)
{
    const auto table = SpeechEngineTable();
    ASSERT_EQ(table.size(), 30u);
    QSet<QString> ids;
    QHash<int, int> perLanguage;
    for (const TSpeechMode &m : table) {
        const QString id = QString::fromLatin1(m.modeId);
        EXPECT_EQ(id, id.toUpper());
        EXPECT_TRUE(id.startsWith(u'{') && id.endsWith(u'}')) << m.modeId;
        ids.insert(id);
        ++perLanguage[m.languageId];
        EXPECT_FALSE(SpeechLanguageTag(m.languageId).isEmpty()) << m.languageId;
    }
    EXPECT_EQ(ids.size(), 30);
    EXPECT_EQ(perLanguage.value(1033), 10);
    for (int lang : {2057, 1040, 1036, 1031, 3082, 1046, 1049, 1041, 1042, 1043})
        EXPECT_EQ(perLanguage.value(lang), 2) << lang;
}

TEST(SpeechTable, FindsModesInAnyCaseAndNothingElse)
{
    const TSpeechMode *fr = FindSpeechMode(QStringLiteral("{0879a4e0-a92c-11d1-b17b-0020afed142e}"));
    ASSERT_NE(fr, nullptr);
    EXPECT_EQ(fr->pitch, 159);
    EXPECT_EQ(fr->speed, 156);
    EXPECT_EQ(fr->languageId, 1036);
    EXPECT_EQ(FindSpeechMode(QStringLiteral("void")), nullptr);
    EXPECT_EQ(FindSpeechMode(QString()), nullptr);
    EXPECT_EQ(FindSpeechMode(QStringLiteral("{0879A4E0-A92C-11D1-B17B-0020AFED142F}")), nullptr);
}

TEST(SpeechTable, DefaultModeEngineFileAndLanguageBySlot)
{
    struct TCase {
        int slot;
        const char *mode;
        const char *engineFile;
        int language;
    };
    const TCase cases[] = {
        {8, "{7EF71700-A92D-11D1-B17B-0020AFED142E}", "roa/it", 1040},
        {9, "{0879A4E0-A92C-11D1-B17B-0020AFED142E}", "roa/fr", 1036},
        {10, "{3A1FB760-A92B-11D1-B17B-0020AFED142E}", "gmw/de", 1031},
        {11, "{06377F80-D48E-11D1-B17B-0020AFED142E}", "zle/ru", 1049},
        {12, "{2CE326E0-A935-11D1-B17B-0020AFED142E}", "roa/es", 3082},
        {13, "{8AA08CA0-A1AE-11D3-9BC5-00A0C967A2D1}", "roa/pt-BR", 1046},
        {1, "{CA141FD0-AC7F-11D1-97A3-006008273002}", "gmw/en-US", 1033},
        {7, "{CA141FD0-AC7F-11D1-97A3-006008273002}", "gmw/en-US", 1033},
        {14, "{CA141FD0-AC7F-11D1-97A3-006008273002}", "gmw/en-US", 1033},
        {32, "{CA141FD0-AC7F-11D1-97A3-006008273002}", "gmw/en-US", 1033},
        {0, "{CA141FD0-AC7F-11D1-97A3-006008273002}", "gmw/en-US", 1033},
    };
    for (const TCase &c : cases) {
        EXPECT_EQ(DefaultSpeechMode(c.slot), QString::fromLatin1(c.mode)) << c.slot;
        EXPECT_EQ(SpeechEngineFile(c.slot), QString::fromLatin1(c.engineFile)) << c.slot;
        EXPECT_EQ(SpeechLanguageOfSlot(c.slot), c.language) << c.slot;
    }
}

TEST(SpeechTable, EngineParametersRiseWithTheTableAndSplitEachLanguagesTwoVoices)
{
    int lastPitch = -1;
    for (int p = 50; p <= 230; p += 5) {
        const TEngineVoiceParameters e = EngineVoiceParameters(p, 150);
        EXPECT_GE(e.pitch, lastPitch);
        EXPECT_GE(e.pitch, 0);
        EXPECT_LE(e.pitch, 100);
        lastPitch = e.pitch;
    }
    EXPECT_LT(EngineVoiceParameters(100, 100).rate, EngineVoiceParameters(100, 150).rate);
    EXPECT_LT(EngineVoiceParameters(100, 150).rate, EngineVoiceParameters(100, 180).rate);
    EXPECT_EQ(EngineVoiceParameters(100, 150).rate, 175);
    // The two voices of every language other than US English differ in voice
    // (gender) and in pitch.
    QHash<int, QList<TSpeechMode>> byLanguage;
    for (const TSpeechMode &m : SpeechEngineTable())
        byLanguage[m.languageId].append(m);
    for (auto it = byLanguage.cbegin(); it != byLanguage.cend(); ++it) {
        if (it.key() == 1033)
            continue;
        const TEngineVoiceParameters a = EngineVoiceParameters(it.value()[0].pitch, it.value()[0].speed);
        const TEngineVoiceParameters b = EngineVoiceParameters(it.value()[1].pitch, it.value()[1].speed);
        EXPECT_NE(a.gender, b.gender) << it.key();
        EXPECT_GE(std::abs(a.pitch - b.pitch), 25) << it.key();
    }
}
