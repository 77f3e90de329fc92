#pragma once
// The per-file settings block (setting/Setting_<code>.dat, 39 lines) and the
// window positions shared by all files (setting/FormPosition.dat, 6 lines).
//
// Every value of the settings file has a field here, in file order, except
// lines 4 and 5: those are the main window's top and left, which live in
// TFormPosition and are copied into the settings file when it is written (and
// skipped when it is read). Values are kept exactly as stored, flags included
// (1 on, 0 off), so that a file read and written again is unchanged.
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <array>

inline constexpr int kSettingsLineCount = 39;
inline constexpr int kFormPositionLineCount = 6;

// The daily quota the preferences offer; a file may hold anything.
inline constexpr int kMinDailyQuota = 50;
// Capacity of the asked-word list: no study run asks more questions.
inline constexpr int kMaxDailyQuota = 200;

// What a question shows: the meaning (the word is chosen or typed) or the
// word (its meaning is chosen). A file may hold another number; it is kept
// as read and shows the meaning.
enum class TAnswerDirection : qint32 { MeaningToWord = 0, WordToMeaning = 1 };

struct TFileSettings {
    qint32 version = 0;                  //  1 catalog data version at the last write
    qint32 reservedA = 0;                //  2 set once when the file is created (5..9)
    qint32 reservedB = 0;                //  3 set once when the file is created (0..6)
    //                                       4, 5: main window top, left (TFormPosition)
    QString skin;                        //  6 window skin
    qint32 effectVolume = 0;             //  7 0..2000
    qint32 dailyQuota = 0;               //  8 50..200 questions (see TSettingsStore::UsableQuota)
    qint32 answerTime = 0;               //  9 200..1200, length of the answer gauge
    qint32 optionDelay = 0;              // 10 0..80, delay before the choices appear
    qint32 startTab = 0;                 // 11 0 curve, 1 related words, 2 etymology
    QString learningStartDate;           // 12 "yyyy/mm/dd": the current record's start
    qint32 firstTimeIncrement = 0;       // 13 level after a first correct answer: 1, 2 or 6
    qint32 typingForEvenLevels = 0;      // 14 1: words at even levels are typed
    qint32 glimpse = 0;                  // 15 0..1000
    TAnswerDirection answerDirection = TAnswerDirection::MeaningToWord;   // 16
    qint32 typingSound = 0;              // 17 1..16, sound set of the key clicks
    qint32 reservedC = 0;                // 18 carried unchanged
    qint32 typingVolume = 0;             // 19 0..2000
    qint32 speechMode = 0;               // 20 0 off, 1 pronunciation, 2 with the agent
    qint32 quietAgent = 0;               // 21 1: the agent moves and talks less
    qint32 speakAfterQuestion = 0;       // 22
    qint32 speakAfterGrading = 0;        // 23
    qint32 reservedD = 0;                // 24 carried; 0 once the preferences are confirmed
    qint32 agentTop = 0;                 // 25
    qint32 agentLeft = 0;                // 26
    qint32 learningDays = 0;             // 27 days on which this file was finished
    qint32 overallCorrectRate = 0;       // 28 percent
    qint32 averageAchievement = 0;       // 29 percent of the quota, averaged over days
    qint32 topRightDisplay = 0;          // 30 0 nothing, 1 logo, 2 picture of the week
    QString speechEngine;                // 31 "void" or a mode identifier in braces
    qint32 quickResponseAfterQuota = 0;  // 32 1: the drill runs when the quota is done
    std::array<qint32, 3> quickResponseValues{};   // 33..35
    QString quickResponseFont;           // 36
    qint32 quickResponseFontSize = 0;    // 37
    qint32 answersTotal = 0;             // 38 questions answered in this file, all days
    qint32 showProgressAtEnd = 0;        // 39 1: the progress window opens at file end

    bool operator==(const TFileSettings &) const = default;
};

// setting/FormPosition.dat, in line order.
struct TFormPosition {
    qint32 mainTop = 0;
    qint32 mainLeft = 0;
    qint32 etymologyTop = 0;
    qint32 etymologyLeft = 0;
    qint32 reserved = 0;                 // read and written back unchanged
    qint32 etymologyScreenType = 3;      // 1..5

    bool operator==(const TFormPosition &) const = default;
};

// The defaults of a file code. Values set only for a new file (version,
// reserved A and B, skin, typing sound, reserved C) are included with their
// new-file defaults, except reserved A and B, which are drawn at random by
// TSettingsStore::SetDefaultFileSettings and left 0 here. The learning start date is left
// empty.
TFileSettings DefaultFileSettings(const QString &fileCode, qint32 dataVersion,
                                  const TFormPosition &position);

// The 39 lines of a settings file, as written.
QStringList FileSettingsLines(const TFileSettings &settings, const TFormPosition &position);

// Reads the lines of a settings file of any older layout, for the given file
// code. Missing values take their defaults (from `defaults`); a non-numeric
// value where a number belongs is the conversion error (TFatalError).
// A number that cannot be read keeps its default; its line goes into
// unreadableLines when given.
TFileSettings ParseFileSettings(const QStringList &lines, const QString &fileCode,
                                const TFileSettings &defaults, QList<int> *unreadableLines = nullptr);

QStringList FormPositionLines(const TFormPosition &position);
// Missing lines keep their defaults; a non-numeric line is the conversion error.
TFormPosition ParseFormPosition(const QStringList &lines, QList<int> *unreadableLines = nullptr);
