// Laying out and painting one etymology chart, as the main window does after
// every answer: a word with four generations of ancestors, each with a
// prefix, a suffix and two roots with parent roots, in a database of the
// size the data is written for (2500 words). The page must never delay the
// next question: one chart within 20 ms.
#include "etymology/EtymologyChart.h"

#include <benchmark/benchmark.h>

namespace {
constexpr int kFillerWords = 2500;
constexpr int kChainLength = 6;   // the word and five generations, one more than the chart shows

QString ChartBenchText()
{
    QString text = QStringLiteral("#812\r\n");
    const auto line = [&text](const QString &s) { text += s + QStringLiteral("\r\n"); };
    const auto word = [&](int group, const QString &headword, const QString &parent) {
        line(QString::number(group));
        for (int l = 1; l < kEtymologyRecordLines; ++l) {
            switch (static_cast<TEtymologyLine>(l)) {
            case TEtymologyLine::Meaning1: line(QStringLiteral("建設する")); break;
            case TEtymologyLine::Meaning2: line(QStringLiteral("組み立てる")); break;
            case TEtymologyLine::Headword: line(headword); break;
            case TEtymologyLine::Parent1: line(parent); break;
            case TEtymologyLine::Prefix: line(QStringLiteral("con")); break;
            case TEtymologyLine::PrefixGloss: line(QStringLiteral("共に")); break;
            case TEtymologyLine::RootCode: line(QStringLiteral("L")); break;
            case TEtymologyLine::RootForms: line(QStringLiteral("struct")); break;
            case TEtymologyLine::RootSense: line(QStringLiteral("積み上げる")); break;
            case TEtymologyLine::RootSenseHere: line(QStringLiteral("＝")); break;
            case TEtymologyLine::Root2Code: line(QStringLiteral("E")); break;
            case TEtymologyLine::Root2Forms: line(QStringLiteral("timber;timbre")); break;
            case TEtymologyLine::Root2SenseHere: line(QStringLiteral("材木")); break;
            case TEtymologyLine::Suffix: line(QStringLiteral("tion")); break;
            case TEtymologyLine::SuffixGloss: line(QStringLiteral("こと")); break;
            case TEtymologyLine::Remark: line(QStringLiteral("ラテン語 construere（積み上げる）から")); break;
            case TEtymologyLine::LayoutType: line(parent.isEmpty() ? QString() : QStringLiteral("3")); break;
            default: line(QString()); break;
            }
        }
    };
    for (int w = 0; w < kFillerWords; ++w)
        word(w / kEtymologyGroupSize + 1, QStringLiteral("filler%1x").arg(w), QString());
    for (int n = 0; n < kChainLength; ++n)
        word(kEtymologyLastGroup, QStringLiteral("chain%1x").arg(n),
             n + 1 < kChainLength ? QStringLiteral("chain%1x").arg(n + 1) : QString());
    line(QStringLiteral("root"));
    for (const char *entry : {"1", "L", "stru", "積む", "2", "L", "struct", "積み上げる", "1", "IE", "deru",
                              "木", "2", "E", "timber;timbre", "材木"})
        line(QString::fromUtf8(entry));
    line(QStringLiteral("affix"));
    for (const char *entry : {"con-", "共に", "", "", "-tion", "こと、状態", "", ""})
        line(QString::fromUtf8(entry));
    line(QStringLiteral("end"));
    return text + QLatin1Char('~');
}

void EtymologyChartLayoutAndPaint(benchmark::State &state)
{
    TEtymologyDatabase db;
    db.ParseEtymologyText(ChartBenchText(), QStringLiteral("bench/Etymology_enc.dat"));
    TEtymologyChart chart(db);
    const int word = db.FindHeadword(QStringLiteral("chain0x"));
    for (auto _ : state) {
        chart.Build(word);
        const QImage image = chart.Render(ChartColoursOf(kDefaultScreenType));
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["labels"] = static_cast<double>(chart.Labels().size());
    state.counters["texts"] = static_cast<double>(chart.Texts().size());
}
}

// Goal: at most 20 ms a chart.
BENCHMARK(EtymologyChartLayoutAndPaint)->Unit(benchmark::kMillisecond);
