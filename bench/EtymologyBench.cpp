// Loading the etymology database: a file of the size the data is written for (2500 words, 400
// first-level roots with derived forms, 250 affixes) and one filled to the
// table's capacity (100 words in each of the 201 groups).
#include "data/LearningFile.h"
#include "etymology/db/EtymologyDatabase.h"
#include "workspace/Catalog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
constexpr int kWrittenWords = 2500;
constexpr int kWrittenRoots = 400;
constexpr int kWrittenAffixes = 250;
constexpr int kDerivedPerRoot = 4;

// A plain etymology text with realistic field lengths.
QString SyntheticEtymologyText(int words, int roots, int affixes)
{
    QString text = QStringLiteral("#812\r\n");
    const auto line = [&text](const QString &s) { text += s + QStringLiteral("\r\n"); };
    for (int w = 0; w < words; ++w) {
        line(QString::number(w / kEtymologyGroupSize + 1));
        for (int l = 1; l < kEtymologyRecordLines; ++l) {
            switch (static_cast<TEtymologyLine>(l)) {
            case TEtymologyLine::Meaning1: line(QStringLiteral("建設する")); break;
            case TEtymologyLine::Headword: line(QStringLiteral("construction%1").arg(w)); break;
            case TEtymologyLine::Parent1: line(QStringLiteral("construct%1").arg(w / 3)); break;
            case TEtymologyLine::Prefix: line(QStringLiteral("con")); break;
            case TEtymologyLine::PrefixGloss: line(QStringLiteral("共に")); break;
            case TEtymologyLine::RootCode: line(QStringLiteral("L")); break;
            case TEtymologyLine::RootForms: line(QStringLiteral("struct%1").arg(w % roots)); break;
            case TEtymologyLine::RootSense: line(QStringLiteral("積み上げる")); break;
            case TEtymologyLine::RootSenseHere: line(QStringLiteral("＝")); break;
            case TEtymologyLine::Suffix: line(QStringLiteral("tion")); break;
            case TEtymologyLine::SuffixGloss: line(QStringLiteral("こと")); break;
            case TEtymologyLine::Remark: line(QStringLiteral("建物を組み立てること")); break;
            case TEtymologyLine::LayoutType: line(QStringLiteral("1")); break;
            default: line(QString()); break;
            }
        }
    }
    line(QStringLiteral("root"));
    for (int r = 0; r < roots; ++r) {
        line(QStringLiteral("1"));
        line(QStringLiteral("L"));
        line(QStringLiteral("stru%1").arg(r));
        line(QStringLiteral("積む"));
        line(QStringLiteral("2"));   // the derived forms that follow are siblings: no marker
        for (int d = 0; d < kDerivedPerRoot; ++d) {
            line(QStringLiteral("L"));
            line(QStringLiteral("struct%1-%2").arg(r).arg(d));
            line(QStringLiteral("積み上げる"));
        }
    }
    line(QStringLiteral("affix"));
    for (int a = 0; a < affixes; ++a) {
        line(QStringLiteral("[af%1]-").arg(a));
        line(QStringLiteral("共に"));
        line(QString());
        line(QString());
    }
    line(QStringLiteral("end"));
    return text;
}

void LoadFrom(benchmark::State &state, const QString &programFolder)
{
    for (auto _ : state) {
        TEtymologyDatabase db;
        TCatalog catalog;
        db.LoadEtymologyData(programFolder, catalog);
        benchmark::DoNotOptimize(db.RecordCount());
    }
}

void LoadSynthetic(benchmark::State &state, int words)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/");
    QDir().mkpath(folder + QStringLiteral("resource"));
    QFile file(folder + kEtymologyFile);
    if (!file.open(QIODevice::WriteOnly)) {
        state.SkipWithError("cannot write the file");
        return;
    }
    file.write(EncodeLearningText(SyntheticEtymologyText(words, kWrittenRoots, kWrittenAffixes)).toUtf8());
    file.close();
    LoadFrom(state, folder);
}

void BM_LoadEtymologyWrittenSize(benchmark::State &state) { LoadSynthetic(state, kWrittenWords); }
BENCHMARK(BM_LoadEtymologyWrittenSize)->Unit(benchmark::kMillisecond);

void BM_LoadEtymologyFullTable(benchmark::State &state) { LoadSynthetic(state, kEtymologyLastGroup * kEtymologyGroupSize); }
BENCHMARK(BM_LoadEtymologyFullTable)->Unit(benchmark::kMillisecond);

}
