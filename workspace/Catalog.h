#pragma once
// The catalog of learning files: one TDBF row per file slot 1..49.
#include <QString>
#include <QtGlobal>
#include <array>

inline constexpr int kSlotCount = 49;        // slots 1..49
inline constexpr int kLastBuiltInSlot = 31;  // 1..31 built in, 32..49 user files U1..U18
inline constexpr int kUserFileCount = 18;
inline constexpr int kDefaultPopUpWN = 10;
inline constexpr int kDefaultDataVersion = 201;

struct TDBF {
    QString Code;
    qint32 Version = 0;
    bool OnOff = false;      // the file is studied
    QString Order;
    bool PopUp = false;      // the reminder looks at this file
    QString PopUpDate;
    qint32 PopUpWN = kDefaultPopUpWN;
    QString Title;
    qint32 TangoTotal = 0;
    qint32 DBTangoTotal = 0;

    bool operator==(const TDBF &) const = default;
};

// Rows indexed by slot (index 0 unused).
struct TCatalog {
    std::array<TDBF, kSlotCount + 1> rows;
    qint32 dataVersion = 0;
    bool fileManager = false;   // the file manager opens before the first file
    qint32 relatedWordsVersion = kDefaultDataVersion;
    qint32 etymologyVersion = kDefaultDataVersion;

    bool operator==(const TCatalog &) const = default;
};

// ---- switches ----
// A switch is stored as "ON" or "OFF"; any other text reads as off.
bool SwitchFromText(const QString &text);
QString SwitchText(bool on);

// ---- file slots and file codes ----
// Slots 1..31 are built-in files (the fixed table below), 32..49 the user
// files U1..U18. "YET" is slot 99 and back; any other text is slot 0, and a
// slot without a file is the code "NIL".
inline constexpr int kYetSlot = 99;
inline constexpr int kFirstUserSlot = kLastBuiltInSlot + 1;

int FileSlotOfCode(const QString &code);
QString FileCodeOfSlot(int slot);

// Language kinds choose the speech engine: 2 English, 3 Italian, 4 French,
// 5 German, 6 Spanish, 7 Russian, 8 Portuguese, 0 none (user files and slots
// without a file).
enum class TLanguageKind : int {
    None = 0,
    English = 2,
    Italian = 3,
    French = 4,
    German = 5,
    Spanish = 6,
    Russian = 7,
    Portuguese = 8,
};
int LanguageKindOfSlot(int slot);
// The slot of the main word file of a language kind 2..8; 0 for any other kind.
int MainSlotOfLanguageKind(int kind);
