// tessarion-tool stage-rules --program-folder P --file CODE [--day-offset N]:
// loads the file as the program does and, when a stage rule is due, applies
// the rules as the stage-notice window does and saves the record file. Prints
// the window's three lists, one line per entry: list name, TAB, entry text
// (lists Stage2OK, StageNG, Limbo).
#include "base/TError.h"
#include "tools/EngineSession.h"

namespace {
void PrintList(const QString &name, const QList<TStageNoticeEntry> &entries)
{
    for (const TStageNoticeEntry &entry : entries)
        PrintFields({name, entry.text});
}

int RunStageRules(const QStringList &rawArgs)
{
    const TToolArgs args(rawArgs);
    const int dayOffset = StrToInt(args.Value(QStringLiteral("--day-offset")).value_or(QStringLiteral("0")));
    auto cc = OpenFileAsProgram(args, TAccess::Writes, dayOffset);
    if (!cc->AnyStageNoticeDue())
        return 0;
    const TStageNoticeLists lists = cc->ApplyStageRules();
    PrintList(QStringLiteral("Stage2OK"), lists.stage2OK);
    PrintList(QStringLiteral("StageNG"), lists.stageNG);
    PrintList(QStringLiteral("Limbo"), lists.limbo);
    cc->SaveRecordFile();
    return 0;
}

const TToolCommand reg(QStringLiteral("stage-rules"),
                       {QStringLiteral("Applies the stage rules to a learning file when they are due, as the stage-notice window does, and saves its record."),
                        QStringLiteral("Prints the window's three lists, one entry a line: list name (Stage2OK, StageNG, Limbo), TAB, entry text. When no rule is due nothing is printed or written."),
                        {ProgramFolderOption(),
                         FileCodeOption(),
                         DayOffsetOption()},
                        {},
                        {QStringLiteral("tessarion-tool stage-rules --file TT --day-offset 7")}},
                       &RunStageRules);
}
