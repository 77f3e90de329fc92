// tessarion-tool record --program-folder P --file CODE: the record of a
// learning file after it is loaded as the program loads it (settings,
// learning file, record file; a fresh record is created and saved when there
// is none). One line per position 1..TangoTotal with the 15 fields exactly as
// the record file holds them.
#include "data/RecordFile.h"
#include "tools/EngineSession.h"

namespace {
int RunRecord(const QStringList &rawArgs)
{
    const TToolArgs args(rawArgs);
    auto cc = OpenFileAsProgram(args, TAccess::ReadOnly);
    const int total = cc->TangoTotal();
    for (int position = 1; position <= total; ++position)
        PrintFields(RecordFields(cc->words[position]));
    return 0;
}

const TToolCommand reg(QStringLiteral("record"),
                       {QStringLiteral("Prints the record of a learning file as the program loads it."),
                        QStringLiteral("One line per word position with the 15 fields exactly as the record file holds them. Nothing is written, not even the fresh record of a file studied for the first time."),
                        {ProgramFolderOption(),
                         FileCodeOption()},
                        {},
                        {QStringLiteral("tessarion-tool record --program-folder build --file TT")}},
                       &RunRecord);
}
