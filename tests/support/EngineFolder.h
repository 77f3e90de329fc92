#pragma once
// An engine object on a temporary program folder whose user folder has the
// tree the program creates at start, with one learning file made current.
#include "engine/CommonUnit.h"
#include "support/TestSupport.h"

#include <QDir>

struct TEngineFolder {
    TTempProgramFolder dir;
    TCC cc;

    // code and slot of the current file; words 1..tangoTotal take part.
    explicit TEngineFolder(const QString &code = QStringLiteral("TT"), int slot = 6,
                           int tangoTotal = 3)
    {
        cc.programFolder = dir.path();
        cc.userFolder = dir.path() + QStringLiteral("user/");
        for (const char *sub : {"record", "setting", "FileInfo"})
            QDir().mkpath(cc.userFolder + QLatin1String(sub));
        cc.random.Seed(7);
        cc.clock.FixToday(QDate(2009, 7, 5));
        UseFile(code, slot, tangoTotal);
    }

    void UseFile(const QString &code, int slot, int tangoTotal)
    {
        cc.fileCode = code;
        cc.fileSlot = slot;
        cc.userFile = slot > kLastBuiltInSlot;
        cc.catalog.rows[slot].Code = code;
        cc.catalog.rows[slot].TangoTotal = tangoTotal;
        cc.catalog.rows[slot].DBTangoTotal = tangoTotal;
    }

    QString userFile(const QString &relative) const { return QStringLiteral("user/") + relative; }
    TCollectingNotifier &messages() { return cc.defaultNotifier; }
};
