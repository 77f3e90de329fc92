// tessarion-tool simulate --program-folder P --file CODE --goal N --seed S [--literal]
//
// The goal simulation of the status window on a learning file: the number of
// simulated days until 90 % of the words reach level N, the level histogram
// at the end of the run, and a hash of the sequence of chosen words. With
// --literal every question is followed by an event pass and a 1 ms sleep, as
// the window's literal mode does; the results are the same either way.
// Nothing is written.
#include "base/TError.h"
#include "engine/CommonUnit.h"
#include "engine/GoalSimulation.h"
#include "tools/EngineSession.h"

#include <QCoreApplication>
#include <QThread>

namespace {
int RunSimulate(const QStringList &rawArgs)
{
    const TToolArgs args(rawArgs);
    const int goal = StrToInt(args.Required(QStringLiteral("--goal")));
    const std::optional<QString> seed = args.Value(QStringLiteral("--seed"));
    const bool literal = args.HasFlag(QStringLiteral("--literal"));
    auto cc = OpenFileAsProgram(args, TAccess::ReadOnly);
    // Outside a study run nothing has been answered today.
    cc->training.remaining = cc->UsableQuota();
    cc->training.correctToday = 0;
    if (seed)
        cc->random.Seed(static_cast<quint32>(StrToInt(*seed)));

    TGoalSimulation simulation(*cc);
    if (const auto refusal = simulation.Refusal(goal, false))
        throw TFatalError(*refusal);
    if (literal) {
        simulation.afterQuestion = [] {
            QCoreApplication::processEvents();
            QThread::msleep(1);
            return false;
        };
    }
    const TSimulationResult result = simulation.Run(goal);
    PrintLine(QStringLiteral("days\t%1").arg(result.days));
    PrintLine(QStringLiteral("questions\t%1").arg(result.questions));
    for (int level = 0; level <= kTopLevel; ++level)
        PrintLine(QStringLiteral("level-%1\t%2").arg(level).arg(result.histogram[static_cast<size_t>(level)]));
    PrintLine(QStringLiteral("level-99\t%1").arg(result.histogram[kExcludedLevel]));
    PrintLine(QStringLiteral("chosen-words\t%1").arg(result.chosenWordsHash, 16, 16, QLatin1Char('0')));
    return 0;
}

const TToolCommand reg(QStringLiteral("simulate"),
                       {QStringLiteral("Runs the status window's goal simulation on a learning file."),
                        QStringLiteral("Prints the simulated days until 90 % of the words reach the goal level, the questions asked, the level histogram at the end and a hash of the words chosen. Nothing is written."),
                        {ProgramFolderOption(),
                         FileCodeOption(),
                         {QStringLiteral("goal"), QStringLiteral("N"), QStringLiteral("The level 90 % of the words are to reach."), TOptionValue::Text, true},
                         {QStringLiteral("seed"), QStringLiteral("S"), QStringLiteral("Seeds the random choices, so that a run can be repeated.")},
                         {QStringLiteral("literal"), {}, QStringLiteral("Follows every question with an event pass and a 1 ms pause, as the window's literal mode does (same results, slower)."), TOptionValue::None}},
                        {},
                        {QStringLiteral("tessarion-tool simulate --file TT --goal 5 --seed 1")}},
                       &RunSimulate);
}
