// tessarion-tool status --program-folder P --file CODE: the numbers of the
// status window for a learning file, one per line with its label, as the
// window shows them for a file opened outside a study run (from the file
// manager). Nothing is written.
#include "engine/LearningStatus.h"
#include "tools/EngineSession.h"

namespace {
void PrintValue(const QString &label, const QString &value)
{
    PrintLine(label + QStringLiteral("\t") + value);
}

int RunStatus(const QStringList &rawArgs)
{
    const TToolArgs args(rawArgs);
    auto cc = OpenFileAsProgram(args, TAccess::ReadOnly);
    // Outside a study run nothing has been answered today.
    cc->training.remaining = cc->UsableQuota();
    cc->training.correctToday = 0;
    const TLearningStatus status = ComputeLearningStatus(*cc, TStatusMode::Manager);
    const auto number = [](int v) { return QString::number(v); };
    PrintValue(QStringLiteral("file"), status.fileCaption);
    PrintValue(QStringLiteral("days-since-start"), number(status.daysSinceStart));
    PrintValue(QStringLiteral("learning-days"), number(status.learningDays));
    PrintValue(QStringLiteral("answers-total"), number(cc->settings.answersTotal));
    PrintValue(QStringLiteral("correct-rate-today"), number(status.todayCorrectRate));
    PrintValue(QStringLiteral("correct-rate-total"), number(status.totalCorrectRate));
    PrintValue(QStringLiteral("answered-today"), number(status.answeredToday));
    PrintValue(QStringLiteral("daily-quota"), number(status.dailyQuota));
    PrintValue(QStringLiteral("quota-achievement"), number(status.achievement));
    PrintValue(QStringLiteral("words"), number(status.wordCount));
    for (const TStatusLevel &level : status.levels)
        PrintValue(QStringLiteral("level-%1").arg(level.level), number(level.count) + QStringLiteral("\t") + level.name.trimmed());
    if (status.toeicFile)
        PrintValue(QStringLiteral("toeic-estimate"), status.toeicEstimate ? number(*status.toeicEstimate) : QStringLiteral("-"));
    return 0;
}

const TToolCommand reg(QStringLiteral("status"),
                       {QStringLiteral("Prints the numbers of the status window for a learning file."),
                        QStringLiteral("One labelled value a line, as the window shows them for a file opened from the file manager: days, answers, correct rates, quota, words per level. Nothing is written."),
                        {ProgramFolderOption(),
                         FileCodeOption()},
                        {},
                        {QStringLiteral("tessarion-tool status --file TT")}},
                       &RunStatus);
}
