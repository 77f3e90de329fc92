// The history texts of a record ("0[2]40[3]160[4]", "2009/7/5[6]2009/7/25[7]")
// on any text: parsed entry by entry, counted, and shortened by their last
// entry, as the level rules do when a retry replaces an answer.
#include "data/RecordFile.h"
#include "fuzz/FuzzTarget.h"

namespace {
template <typename Parse>
void CheckHistory(const QString &text, Parse parse)
{
    qsizetype entries = 0;
    if (!FuzzCleanly([&] { entries = parse(text).size(); }))
        return;
    // Every "[" of a history that reads opens an entry, so the count is exact,
    // and without its last entry the text is a history one shorter.
    FuzzExpect(HistoryEntryCount(text) == entries, "the entry count matches the parsed entries");
    const QString shorter = WithoutLastHistoryEntry(text);
    qsizetype left = -1;
    FuzzExpect(FuzzCleanly([&] { left = parse(shorter).size(); }),
               "a history without its last entry still reads");
    FuzzExpect(left == qMax<qsizetype>(entries - 1, 0), "removing the last entry removes one entry");
}
}

TESSARION_FUZZ_TARGET(history, input)
{
    const QString text = FuzzText(input);
    CheckHistory(text, ParseStage1History);
    CheckHistory(text, ParseStage2History);

    // The arrays take the first 99 entries; the rest are read from the text.
    TTango t;
    t.stage1History = text;
    t.stage2History = text;
    for (TStage stage : {TStage::One, TStage::Two}) {
        t.stage = stage;
        t.stage1Count = t.stage2Count = HistoryEntryCount(text);
        if (!FuzzCleanly([&] { RebuildHistoryArrays(t); }))
            continue;
        for (int k : {1, kMaxHistory, kMaxHistory + 1, t.stage1Count}) {
            if (k < 1 || k > t.stage1Count)
                continue;
            if (stage == TStage::One)
                FuzzCleanly([&] { Stage1EntryAt(t, k); });
            else
                FuzzCleanly([&] { Stage2EntryAt(t, k); });
        }
    }
}
