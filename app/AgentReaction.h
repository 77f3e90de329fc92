#pragma once
// The agent's reaction to a graded answer, a little while after the grading:
// now and then an animation, rarely a short English phrase of praise or
// encouragement (only while the speech engine speaks US English). Nothing at
// all while the learner asked the agent to keep quiet.
#include <QString>
#include <QStringList>
#include <functional>

class TRandom;
class TSpeechAndSound;
struct TFileSettings;

enum class TReactionKind { None, Animation, Phrase };

struct TAgentReaction {
    TReactionKind kind = TReactionKind::None;
    QString text;   // the animation's name or the phrase
    bool operator==(const TAgentReaction &) const = default;
};

// The draws a reaction is made of: oneIn(n) is true with chance 1/n, below(n)
// a uniform whole number 0..n-1. Each call is a fresh draw.
struct TReactionDraws {
    std::function<bool(int)> oneIn;
    std::function<int(int)> below;
};
TReactionDraws DrawsFrom(TRandom &random);

// The fifteen phrases of each kind, in their table order.
const QStringList &PraisePhrases();
const QStringList &EncouragementPhrases();

// After a correct or a wrong answer; usEnglish: the selected speech
// engine's language is US English (1033).
TAgentReaction ChooseAgentReaction(bool correct, bool usEnglish, const TReactionDraws &draws);

// The quiet-agent setting, also on whenever only pronunciations are spoken.
bool AgentKeepsQuiet(const TFileSettings &settings);

// Chooses and shows the reaction: the animation or the phrase, untracked.
void ReactToAnswer(TSpeechAndSound &media, const TFileSettings &settings, bool correct, TRandom &random);
