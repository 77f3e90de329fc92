#pragma once
// The meaning rules of the built-in learning data: markup characters in a
// stored meaning turned into the brackets the learner sees, and the joined
// meanings line.
#include <QString>
#include <array>

enum class TMeaningRules {
    Plain,     // TJ, DJ and user files: meanings stay exactly as written
    Standard,  // TT, DT and the related-words file
    Italian,   // IT: a leading letter also names a label ("m" music, ...)
};

// Which rules apply to a file code (user files: Plain).
TMeaningRules MeaningRulesOf(const QString &fileCode, bool userFile);

// "｜…｜" becomes "（…）", "：…：" becomes "〈…〉" (an unclosed one is closed at
// the end); a leading ASCII character is removed unless it is a digit 1..9
// (Italian: always removed, and "m", "s", "o", "f" put their label in front).
QString NormalizeMeaningText(const QString &meaning, TMeaningRules rules);
// The same for a meaning read as a view of a larger text: the result is
// the one string it makes.
QString NormalizeMeaningView(QStringView meaning, TMeaningRules rules);

// Meaning 1, then each further meaning after "、", stopping at the first
// empty one.
QString JoinMeanings(const std::array<QString, 6> &meanings);
