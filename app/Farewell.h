#pragma once
// What the agent says when the program ends.
#include <QString>

class TRandom;

inline constexpr int kUsEnglishLanguageId = 1033;

// The farewell phrase for the current file, the speech language and the local
// hour; each chance is a fresh draw and the first that succeeds decides. An
// empty text: nothing is said.
QString ChooseFarewellPhrase(const QString &fileCode, int languageId, int hour, TRandom &random);
