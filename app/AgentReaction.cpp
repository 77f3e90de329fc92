#include "app/AgentReaction.h"

#include "app/Farewell.h"
#include "speech/SpeechAndSound.h"
#include "base/Random.h"
#include "workspace/FileSettings.h"

namespace {
// A phrase comes from the first eight, or (a second draw) from all fifteen.
constexpr int kPhraseChance = 22;
constexpr int kShortPhraseList = 8;

struct TAnimationDraw {
    int oneIn;
    const char *animation;
};
constexpr TAnimationDraw kAfterCorrect[] = {
    {3, "Pleased"}, {3, "Acknowledge"}, {33, "Surprised"}, {33, "GetAttentionContinued"}};
constexpr TAnimationDraw kAfterWrong[] = {
    {7, "Sad"}, {15, "Decline"}, {22, "Uncertain"}, {22, "DontRecognize"}, {22, "StopListening"}};

template <size_t N>
TAgentReaction Choose(const TAnimationDraw (&animations)[N], const QStringList &phrases, bool usEnglish,
                      const TReactionDraws &draws)
{
    for (const TAnimationDraw &a : animations)
        if (draws.oneIn(a.oneIn))
            return {TReactionKind::Animation, QString::fromLatin1(a.animation)};
    if (!usEnglish)
        return {};
    if (draws.oneIn(kPhraseChance))
        return {TReactionKind::Phrase, phrases[draws.below(kShortPhraseList)]};
    if (draws.oneIn(kPhraseChance))
        return {TReactionKind::Phrase, phrases[draws.below(static_cast<int>(phrases.size()))]};
    return {};
}
}   // namespace

TReactionDraws DrawsFrom(TRandom &random)
{
    return {[&random](int n) { return random.Below(n) == 0; }, [&random](int n) { return random.Below(n); }};
}

const QStringList &PraisePhrases()
{
    static const QStringList phrases = {
        QStringLiteral("Keep going!"),    QStringLiteral("OK."),
        QStringLiteral("Good!"),          QStringLiteral("Way to go!"),
        QStringLiteral("That's it!"),     QStringLiteral("Excellent!"),
        QStringLiteral("Wow!"),           QStringLiteral("That's the ticket!"),
        QStringLiteral("Bingo!"),         QStringLiteral("You're doing so well!"),
        QStringLiteral("Gooood."),        QStringLiteral("Nice going!"),
        QStringLiteral("I'm impressed!"), QStringLiteral("Right on!"),
        QStringLiteral("Good for you!")};
    return phrases;
}

const QStringList &EncouragementPhrases()
{
    static const QStringList phrases = {
        QStringLiteral("Come on!"),
        QStringLiteral("Take it easy!"),
        QStringLiteral("Don't worry."),
        QStringLiteral("Cheer up!"),
        QStringLiteral("Oh my goodness!"),
        QStringLiteral("Hang in there!"),
        QStringLiteral("Pull yourself together!"),
        QStringLiteral("What's the matter?"),
        QStringLiteral("It's still too early to despair."),
        QStringLiteral("My goodness! What happened?"),
        QStringLiteral("Oh dear, what can the matter be?"),
        QStringLiteral("What is it with you?"),
        QStringLiteral("You need a lot more training."),
        QStringLiteral("You still need a lot of practice."),
        QStringLiteral("You really let me down.")};
    return phrases;
}

TAgentReaction ChooseAgentReaction(bool correct, bool usEnglish, const TReactionDraws &draws)
{
    if (correct)
        return Choose(kAfterCorrect, PraisePhrases(), usEnglish, draws);
    return Choose(kAfterWrong, EncouragementPhrases(), usEnglish, draws);
}

bool AgentKeepsQuiet(const TFileSettings &settings)
{
    return settings.quietAgent == 1 || settings.speechMode == kSpeechPronunciationOnly;
}

void ReactToAnswer(TSpeechAndSound &media, const TFileSettings &settings, bool correct, TRandom &random)
{
    if (AgentKeepsQuiet(settings))
        return;
    const bool usEnglish = media.SpeechLanguageId() == kUsEnglishLanguageId;
    const TAgentReaction reaction = ChooseAgentReaction(correct, usEnglish, DrawsFrom(random));
    if (reaction.kind == TReactionKind::Animation)
        media.PlayAgentAnimation(reaction.text, false);
    else if (reaction.kind == TReactionKind::Phrase)
        media.SpeakText(reaction.text, false);
}
