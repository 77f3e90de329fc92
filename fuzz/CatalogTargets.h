#pragma once
// The catalog files share one run: the input is put in place of one of them
// (the others are missing, as on a first start), the server catalog and the
// local catalog are read as a study run reads them and merged, and the
// catalog that was saved must read back exactly.
#include "fuzz/FuzzTarget.h"

inline const QString kFuzzPcFile = QStringLiteral("user/FileInfo/FileInfo_PC.dat");
inline const QString kFuzzUserFile = QStringLiteral("user/FileInfo/FileInfo_User.dat");
inline const QString kFuzzSiteFile = QStringLiteral("user/FileInfo/FileInfo_SITE.dat");
inline const QString kFuzzTitleFile = QStringLiteral("user/word_user/Title.dat");

inline void FuzzCatalogFile(const QString &relative, QByteArrayView input)
{
    TFuzzEngine &engine = FuzzEngine();
    TCC &cc = engine.cc();
    engine.Reset(QStringLiteral("TT"), 6, 3, 0);
    engine.Write(relative, input);
    const auto readAll = [&] {
        cc.LoadServerCatalog();
        cc.LoadCatalog();
        cc.MergeServerCatalog();
    };
    if (!FuzzCleanly(readAll))
        return;
    for (int slot = 1; slot <= kSlotCount; ++slot)
        FileCodeOfSlot(FileSlotOfCode(cc.catalog.rows[slot].Code));
    const TCatalog read = cc.catalog;
    FuzzExpect(FuzzCleanly(readAll), "a saved catalog reads back");
    FuzzExpect(cc.catalog == read, "a saved catalog reads back unchanged");
}
