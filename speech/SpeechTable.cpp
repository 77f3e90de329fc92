#include "speech/SpeechTable.h"

#include <array>

namespace {

constexpr int kUsEnglish = 1033;
constexpr int kBritishEnglish = 2057;
constexpr int kItalian = 1040;
constexpr int kFrench = 1036;
constexpr int kGerman = 1031;
constexpr int kSpanish = 3082;
constexpr int kBrazilianPortuguese = 1046;
constexpr int kRussian = 1049;
constexpr int kJapanese = 1041;
constexpr int kKorean = 1042;
constexpr int kDutch = 1043;

constexpr std::array<TSpeechMode, 30> kModes{{
    {"{CA141FD0-AC7F-11D1-97A3-006008273009}", 152, 150, kUsEnglish},
    {"{CA141FD0-AC7F-11D1-97A3-006008273008}", 208, 150, kUsEnglish},
    {"{CA141FD0-AC7F-11D1-97A3-006008273007}", 230, 150, kUsEnglish},
    {"{CA141FD0-AC7F-11D1-97A3-006008273006}", 117, 150, kUsEnglish},
    {"{CA141FD0-AC7F-11D1-97A3-006008273005}", 89, 120, kUsEnglish},
    {"{CA141FD0-AC7F-11D1-97A3-006008273004}", 129, 150, kUsEnglish},
    {"{CA141FD0-AC7F-11D1-97A3-006008273003}", 73, 150, kUsEnglish},
    {"{CA141FD0-AC7F-11D1-97A3-006008273002}", 135, 150, kUsEnglish},
    {"{CA141FD0-AC7F-11D1-97A3-006008273001}", 50, 150, kUsEnglish},
    {"{CA141FD0-AC7F-11D1-97A3-006008273000}", 85, 150, kUsEnglish},
    {"{A778E061-A936-11D1-B17B-0020AFED142E}", 100, 140, kJapanese},
    {"{A778E060-A936-11D1-B17B-0020AFED142E}", 170, 140, kJapanese},
    {"{A0DDCA41-A92C-11D1-B17B-0020AFED142E}", 86, 114, kDutch},
    {"{A0DDCA40-A92C-11D1-B17B-0020AFED142E}", 165, 114, kDutch},
    {"{8AA08CA1-A1AE-11D3-9BC5-00A0C967A2D1}", 85, 129, kBrazilianPortuguese},
    {"{8AA08CA0-A1AE-11D3-9BC5-00A0C967A2D1}", 190, 129, kBrazilianPortuguese},
    {"{7EF71701-A92D-11D1-B17B-0020AFED142E}", 85, 170, kItalian},
    {"{7EF71700-A92D-11D1-B17B-0020AFED142E}", 165, 170, kItalian},
    {"{3A1FB761-A92B-11D1-B17B-0020AFED142E}", 85, 122, kGerman},
    {"{3A1FB760-A92B-11D1-B17B-0020AFED142E}", 160, 131, kGerman},
    {"{2CE326E1-A935-11D1-B17B-0020AFED142E}", 100, 136, kSpanish},
    {"{2CE326E0-A935-11D1-B17B-0020AFED142E}", 178, 136, kSpanish},
    {"{227A0E41-A92A-11D1-B17B-0020AFED142E}", 85, 180, kBritishEnglish},
    {"{227A0E40-A92A-11D1-B17B-0020AFED142E}", 170, 180, kBritishEnglish},
    {"{12E0B721-A936-11D1-B17B-0020AFED142E}", 105, 100, kKorean},
    {"{12E0B720-A936-11D1-B17B-0020AFED142E}", 200, 100, kKorean},
    {"{0879A4E1-A92C-11D1-B17B-0020AFED142E}", 79, 156, kFrench},
    {"{0879A4E0-A92C-11D1-B17B-0020AFED142E}", 159, 156, kFrench},
    {"{06377F81-D48E-11D1-B17B-0020AFED142E}", 84, 128, kRussian},
    {"{06377F80-D48E-11D1-B17B-0020AFED142E}", 158, 128, kRussian},
}};

// File slots of the language files that do not speak US English.
constexpr int kSlotIT = 8;
constexpr int kSlotFT = 9;
constexpr int kSlotGT = 10;
constexpr int kSlotRT = 11;
constexpr int kSlotST = 12;
constexpr int kSlotPT = 13;

struct TSlotVoice {
    int slot;
    const char *defaultMode;
    const char *engineFile;
};

constexpr std::array<TSlotVoice, 6> kSlotVoices{{
    {kSlotIT, "{7EF71700-A92D-11D1-B17B-0020AFED142E}", "roa/it"},
    {kSlotFT, "{0879A4E0-A92C-11D1-B17B-0020AFED142E}", "roa/fr"},
    {kSlotGT, "{3A1FB760-A92B-11D1-B17B-0020AFED142E}", "gmw/de"},
    {kSlotRT, "{06377F80-D48E-11D1-B17B-0020AFED142E}", "zle/ru"},
    {kSlotST, "{2CE326E0-A935-11D1-B17B-0020AFED142E}", "roa/es"},
    {kSlotPT, "{8AA08CA0-A1AE-11D3-9BC5-00A0C967A2D1}", "roa/pt-BR"},
}};
const char *const kOtherDefaultMode = "{CA141FD0-AC7F-11D1-97A3-006008273002}";
const char *const kOtherEngineFile = "gmw/en-US";

struct TLanguage {
    int languageId;
    const char *tag;       // the speech engine's language tag
    const char *name;      // as the learner reads it
};

constexpr std::array<TLanguage, 11> kLanguages{{
    {kUsEnglish, "en-us", "英語（米国）"},
    {kBritishEnglish, "en-gb", "英語（英国）"},
    {kItalian, "it", "イタリア語"},
    {kFrench, "fr", "フランス語"},
    {kGerman, "de", "ドイツ語"},
    {kSpanish, "es", "スペイン語"},
    {kBrazilianPortuguese, "pt-br", "ポルトガル語（ブラジル）"},
    {kRussian, "ru", "ロシア語"},
    {kJapanese, "ja", "日本語"},
    {kKorean, "ko", "韓国語"},
    {kDutch, "nl", "オランダ語"},
}};

const TSlotVoice *SlotVoice(int fileSlot)
{
    for (const TSlotVoice &v : kSlotVoices)
        if (v.slot == fileSlot)
            return &v;
    return nullptr;
}

const TLanguage *Language(int languageId)
{
    for (const TLanguage &l : kLanguages)
        if (l.languageId == languageId)
            return &l;
    return nullptr;
}

} // namespace

std::span<const TSpeechMode> SpeechEngineTable() { return kModes; }

const TSpeechMode *FindSpeechMode(const QString &modeId)
{
    const QString upper = modeId.toUpper();
    for (const TSpeechMode &m : kModes)
        if (upper == QLatin1String(m.modeId))
            return &m;
    return nullptr;
}

QString DefaultSpeechMode(int fileSlot)
{
    const TSlotVoice *v = SlotVoice(fileSlot);
    return QString::fromLatin1(v ? v->defaultMode : kOtherDefaultMode);
}

QString SpeechEngineFile(int fileSlot)
{
    const TSlotVoice *v = SlotVoice(fileSlot);
    return QString::fromLatin1(v ? v->engineFile : kOtherEngineFile);
}

int SpeechLanguageOfSlot(int fileSlot)
{
    const TSpeechMode *m = FindSpeechMode(DefaultSpeechMode(fileSlot));
    return m ? m->languageId : kUsEnglish;
}

QString SpeechLanguageTag(int languageId)
{
    const TLanguage *l = Language(languageId);
    return l ? QString::fromLatin1(l->tag) : QString();
}

QString SpeechLanguageName(int languageId)
{
    const TLanguage *l = Language(languageId);
    return l ? QString::fromUtf8(l->name) : QString::number(languageId);
}
