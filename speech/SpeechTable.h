#pragma once
// The speech engine table: every voice the program knows, by its mode
// identifier, with the pitch and speed it speaks at and the language it
// speaks. The two modes of one language are the two voices of that language.
// Also the default voice and the engine file of each learning-file slot.
#include <QString>
#include <QtGlobal>
#include <span>

struct TSpeechMode {
    const char *modeId;   // "{...}", upper case
    int pitch;            // higher is higher
    int speed;            // higher is faster
    int languageId;       // Windows language identifier (1033 US English, ...)
};

// The 30 modes, in the engine's order.
std::span<const TSpeechMode> SpeechEngineTable();

// The table entry of an identifier (compared in upper case); nullptr when the
// identifier is not in the table.
const TSpeechMode *FindSpeechMode(const QString &modeId);

// The mode used for a learning-file slot when no mode is stored.
QString DefaultSpeechMode(int fileSlot);

// The voice file that speaks the language of a learning-file slot, relative
// to the speech engine's voice folder (the speech-component check asks for it).
QString SpeechEngineFile(int fileSlot);

// The language of a learning-file slot (that of its default mode).
int SpeechLanguageOfSlot(int fileSlot);

// The speech engine's language tag for a language identifier ("en-us",
// "it", ...); empty for a language the program has no voice for.
QString SpeechLanguageTag(int languageId);

// The learner-facing name of a language ("英語（米国）", ...).
QString SpeechLanguageName(int languageId);

// Pitch and speed the program speaks at when no mode has given them.
inline constexpr int kFallbackPitch = 166;
inline constexpr int kFallbackSpeed = 150;
