// A learner's real case: the shipped TT list after three weeks of daily study
// runs (80 answers a day, four in five right), on the real clock and in the
// environment a learner has (TZ not set, so every local-time conversion of
// the C library reads the time-zone file again). The goal simulation of the
// status window to levels 6, 8 and 10, and the window's figures.
#include "engine/CommonUnit.h"
#include "engine/GoalSimulation.h"
#include "engine/LearningStatus.h"
#include "workspace/Catalog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>

namespace {
constexpr int kHistoryDays = 21;
constexpr int kAnswersPerDay = 80;
constexpr int kRightOfFive = 4;
constexpr quint32 kSeed = 35;
const QString kCode = QStringLiteral("TT");

// Without TZ, as on a learner's desktop, for as long as it lives.
class TNoTimeZoneVariable {
public:
    TNoTimeZoneVariable() : m_had(qEnvironmentVariableIsSet("TZ")), m_old(qgetenv("TZ"))
    {
        qunsetenv("TZ");
        tzset();
    }
    ~TNoTimeZoneVariable()
    {
        if (m_had)
            qputenv("TZ", m_old);
        tzset();
    }

private:
    bool m_had;
    QByteArray m_old;
};

// A program folder with the shipped learning files and a user folder that
// three weeks of study runs, ending yesterday, have written.
class TLearnersFolder {
public:
    TLearnersFolder()
    {
        if (!m_dir.isValid() || !QFile::link(QStringLiteral(TESSARION_SOURCE_DIR "/resource"), Path() + QStringLiteral("resource")))
            throw std::runtime_error("no program folder for the benchmark");
        QList<TScriptedAnswer> answers;
        for (int i = 0; i < kAnswersPerDay; ++i)
            answers.append({i % 5 < kRightOfFive, std::nullopt});
        const QDate today = QDate::currentDate();
        for (int day = kHistoryDays; day >= 1; --day) {
            TCC cc;
            cc.RunStartupFileSteps(Path());
            cc.clock.FixToday(today.addDays(-day));
            cc.random.Seed(kSeed + static_cast<quint32>(day));
            cc.LoadServerCatalog();
            cc.LoadCatalog();
            cc.MergeServerCatalog();
            cc.fileQueue.Clear();
            cc.fileQueue.Append(kCode);
            RunScriptedStudy(cc, answers);
        }
    }
    QString Path() const { return m_dir.path() + QLatin1Char('/'); }

    // The file opened as the status window finds it, on the real clock.
    std::unique_ptr<TCC> Open() const
    {
        auto cc = std::make_unique<TCC>();
        cc->context.readOnly = true;
        cc->RunStartupFileSteps(Path());
        cc->LoadServerCatalog();
        cc->LoadCatalog();
        cc->SetCurrentFile(kCode);
        cc->LoadFileSettings();
        cc->LoadLearningFile();
        cc->training.remaining = cc->UsableQuota();
        return cc;
    }

private:
    QTemporaryDir m_dir;
};

const TLearnersFolder &Folder()
{
    static const TLearnersFolder folder;
    return folder;
}

void BM_GoalSimulationLearnersFile(benchmark::State &state)
{
    const TNoTimeZoneVariable noTz;
    const auto cc = Folder().Open();
    const int goal = static_cast<int>(state.range(0));
    TSimulationResult result;
    for (auto _ : state) {
        cc->random.Seed(kSeed);
        result = TGoalSimulation(*cc).Run(goal);
        if (!result.goalReached)
            state.SkipWithError("the goal was not reached");
    }
    state.counters["questions"] = static_cast<double>(result.questions);
    state.counters["days"] = result.days;
}
BENCHMARK(BM_GoalSimulationLearnersFile)->Arg(6)->Arg(8)->Arg(10)->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()->UseRealTime()->Repetitions(3)->ReportAggregatesOnly(true);

void BM_StatusFiguresLearnersFile(benchmark::State &state)
{
    const TNoTimeZoneVariable noTz;
    const auto cc = Folder().Open();
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeLearningStatus(*cc, TStatusMode::Manager).toeicEstimate);
}
BENCHMARK(BM_StatusFiguresLearnersFile)->Unit(benchmark::kMicrosecond);
}
