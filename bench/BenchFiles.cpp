#include "bench/BenchFiles.h"

#include "engine/CommonUnit.h"
#include "workspace/DateText.h"

namespace {
constexpr int kSlotTT = 6;
constexpr quint32 kSeed = 20240401;
const QDate kToday(2024, 4, 1);
}

void FillRealisticWordTable(TCC &cc, int n)
{
    TRandom draw(kSeed);
    cc.clock.FixToday(kToday);
    cc.random.Seed(kSeed);
    cc.fileCode = QStringLiteral("TT");
    cc.fileSlot = kSlotTT;
    cc.userFile = false;
    cc.settings.dailyQuota = 80;
    cc.catalog.rows[kSlotTT].Code = cc.fileCode;
    cc.catalog.rows[kSlotTT].TangoTotal = n;
    cc.catalog.rows[kSlotTT].DBTangoTotal = n;
    for (int p = 1; p <= n; ++p) {
        TTango &t = cc.words[p];
        t = TTango{};
        t.number = p;
        t.word = QStringLiteral("word%1x").arg(p);
        t.meanings[0] = QStringLiteral("意味%1").arg(p);
        t.meanings[1] = QStringLiteral("別の意味%1").arg(p % 997);
        const int kind = draw.Below(100);
        if (kind < 20) {
            t.level = draw.Between(6, 12);
            t.stage = t.level >= 10 && draw.Below(4) == 0 ? 3 : 2;
            t.nextDueDate = BuildDateText(kToday.addDays(draw.Between(-20, 260)));
            t.timesAsked = draw.Between(6, 30);
        } else if (kind < 40) {
            t.level = draw.Between(1, 5);
            t.stage = 1;
            t.stage1Counter = draw.Between(1, 500);
            t.timesAsked = draw.Between(1, 10);
        } else if (kind < 42) {
            t.level = kExcludedLevel;
        }
    }
}
