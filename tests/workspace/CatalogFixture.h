#pragma once
// Catalog files for tests, written line by line as the formats lay them out.
#include "support/TestSupport.h"
#include "workspace/Catalog.h"

#include <QStringList>
#include <map>
#include <optional>

struct TSiteRow {
    QString code;
    int version = 0;
    QString title;
    int tangoTotal = 0;
    int dbTangoTotal = 0;
};

// FileInfo_SITE.dat: slots not given carry the slot table's code (empty for a
// slot without a file) and zeros.
inline QStringList SiteCatalogLines(int dataVersion, const std::map<int, TSiteRow> &rows, int relatedWordsVersion = 201,
                                    std::optional<int> etymologyVersion = std::nullopt)
{
    QStringList lines{QStringLiteral("Tessarion"), QString::number(dataVersion)};
    for (int slot = 1; slot <= kLastBuiltInSlot; ++slot) {
        auto it = rows.find(slot);
        const TSiteRow row = it != rows.end() ? it->second : TSiteRow{FileSlotOfCode(FileCodeOfSlot(slot)) == slot ? FileCodeOfSlot(slot) : QString(), 0, QString(), 0, 0};
        lines << QStringLiteral("--------") << QStringLiteral("Code") << row.code << QStringLiteral("Version")
              << QString::number(row.version) << QStringLiteral("Title") << row.title << QStringLiteral("TangoTotal")
              << QString::number(row.tangoTotal) << QStringLiteral("DBTangoTotal") << QString::number(row.dbTangoTotal);
    }
    lines << QStringLiteral("--------") << QStringLiteral("ENG_Quote_enc") << QString::number(relatedWordsVersion);
    if (etymologyVersion)
        lines << QStringLiteral("Etymology_enc") << QString::number(*etymologyVersion);
    return lines;
}

// FileInfo_PC.dat as the program writes it, with the rows of a server
// catalog: every file off, in slot order, popups on.
inline QStringList PcCatalogLines(int dataVersion, const std::map<int, TSiteRow> &rows)
{
    QStringList lines{QStringLiteral("Tessarion"), QString::number(dataVersion), QStringLiteral("FileManager"), QStringLiteral("ON")};
    for (int slot = 1; slot <= kLastBuiltInSlot; ++slot) {
        auto it = rows.find(slot);
        const TSiteRow row = it != rows.end() ? it->second : TSiteRow{};
        lines << QStringLiteral("--------") << QStringLiteral("Code") << row.code << QStringLiteral("Version")
              << QString::number(row.version) << QStringLiteral("OnOff") << QStringLiteral("OFF") << QStringLiteral("Order")
              << QString::number(slot) << QStringLiteral("PopUp") << QStringLiteral("ON") << QStringLiteral("PopUpDate")
              << QString() << QStringLiteral("PopUpWN") << QStringLiteral("10") << QStringLiteral("Title") << row.title
              << QStringLiteral("TangoTotal") << QString::number(row.tangoTotal) << QStringLiteral("DBTangoTotal")
              << QString::number(row.dbTangoTotal);
    }
    lines << QStringLiteral("--------") << QStringLiteral("ENG_Quote_enc") << QStringLiteral("201")
          << QStringLiteral("Etymology_enc") << QStringLiteral("201");
    return lines;
}

// The usual server catalog of the tests: TT, TJ, IT and DT on offer.
inline std::map<int, TSiteRow> UsualSiteRows()
{
    return {
        {6, {QStringLiteral("TT"), 305, QStringLiteral("TOEIC 頻出単語"), 2000, 2100}},
        {7, {QStringLiteral("TJ"), 210, QStringLiteral("TOEIC 熟語"), 800, 800}},
        {8, {QStringLiteral("IT"), 201, QStringLiteral("イタリア語"), 1500, 1600}},
        {27, {QStringLiteral("DT"), 0, QString(), 0, 0}},
    };
}
