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
    QString OnOff;
    QString Order;
    QString PopUp;
    QString PopUpDate;
    qint32 PopUpWN = kDefaultPopUpWN;
    QString Title;
    qint32 TangoTotal = 0;
    qint32 DBTangoTotal = 0;
};

// Rows indexed by slot (index 0 unused).
struct TCatalog {
    std::array<TDBF, kSlotCount + 1> rows;
    qint32 dataVersion = 0;
    QString fileManager;                        // "ON" / "OFF"
    qint32 relatedWordsVersion = kDefaultDataVersion;
    qint32 etymologyVersion = kDefaultDataVersion;
};
