// The etymology file resource/Etymology_enc.dat as the program reads it on
// the first chart request, then the lookups and relation queries a chart and
// the etymology window run over what was read.
#include "etymology/db/EtymologyDatabase.h"
#include "fuzz/FuzzTarget.h"
#include "base/Notifier.h"
#include "workspace/Catalog.h"

namespace {
// Queries run for the first records only: each one scans the whole table.
constexpr int kQueriedRecords = 8;
}

TESSARION_FUZZ_TARGET(etymology, input)
{
    TFuzzEngine &engine = FuzzEngine();
    engine.Reset(QStringLiteral("TT"), 6, 3, 0);
    engine.Write(kEtymologyFile, input);
    TEtymologyDatabase db;
    TCatalog catalog;
    if (!FuzzCleanly([&] { db.LoadEtymologyData(engine.cc().programFolder, catalog); }))
        return;
    FuzzExpect(catalog.etymologyVersion == db.Version(), "the file's version goes into the catalog");
    FuzzExpect(db.RecordCount() >= 1 && db.RecordCount() <= kEtymologyRecordCapacity, "the records fit their table");
    FuzzExpect(db.AffixCount() >= 1 && db.AffixCount() <= kAffixCapacity, "the affixes fit their table");
    TCollectingNotifier notifier;
    int queried = 0;
    for (int index : db.UsedIndices()) {
        if (++queried > kQueriedRecords)
            break;
        const TEtymologyRecord &record = db.Record(index);
        FuzzExpect(db.FindHeadword(record[TEtymologyLine::Headword]) <= index, "a headword finds its first record");
        db.ListPrefixRelatives(index);
        db.ListSuffixRelatives(index);
        db.ListWordFamily(index);
        if (db.FindRootKey(record[TEtymologyLine::RootCode], record[TEtymologyLine::RootForms], notifier)) {
            const TRootCoordinates at = db.LastLocatedRoot();
            db.IsDerivedRootKey(record[TEtymologyLine::RootCode], record[TEtymologyLine::RootForms], notifier);
            db.ListRootRelatives(TRootRelativesKind::RootChild, index, at.first, at.second, at.third);
            db.ListRootRelatives(TRootRelativesKind::RootParent, index, at.first, at.second, at.third);
            FuzzExpect(db.LeafCodes().size() <= kRootLeafCapacity, "the leaf list keeps to its room");
        }
        db.FindAffix(record[TEtymologyLine::Prefix]);
        OriginLanguageName(record[TEtymologyLine::RootCode], true);
    }
}
