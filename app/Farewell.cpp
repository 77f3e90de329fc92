#include "app/Farewell.h"

#include "base/Random.h"

#include <array>

namespace {
constexpr int kMorningFrom = 4;
constexpr int kMorningTo = 13;
constexpr int kNightFrom = 21;
constexpr int kGoodDayChance = 3;
constexpr int kGoodNightChance = 6;
constexpr int kByeChance = 9;

bool Draw(TRandom &random, int n)
{
    return random.Below(n) == 0;
}
}

QString ChooseFarewellPhrase(const QString &fileCode, int languageId, int hour, TRandom &random)
{
    if (fileCode == QStringLiteral("IT"))
        return Draw(random, 2) ? QStringLiteral("Ciao!") : QStringLiteral("Arrivederci!");
    if (languageId != kUsEnglishLanguageId)
        return {};
    if (hour >= kMorningFrom && hour <= kMorningTo && Draw(random, kGoodDayChance))
        return QStringLiteral("Have a good day!");
    if (hour >= kNightFrom && Draw(random, kGoodNightChance))
        return QStringLiteral("Good night!");
    static const std::array<const char16_t *, 8> kByes = {
        u"Bye for now!", u"Ciao!", u"See you next time.", u"Take care!",
        u"Bye-bye!",     u"Talk to you soon.", u"See you!", u"Good job today!"};
    for (const char16_t *phrase : kByes)
        if (Draw(random, kByeChance))
            return QString::fromUtf16(phrase);
    return {};
}
