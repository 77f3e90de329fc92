// tessarion-tool settings --program-folder P --file CODE: the settings of a
// learning file as the program reads them at file start (defaults when the
// file has none), printed as the 39 lines the settings file is written with.
#include "tools/EngineSession.h"

namespace {
int RunSettings(const QStringList &rawArgs)
{
    const TToolArgs args(rawArgs);
    const QString code = args.Required(QStringLiteral("--file"));
    auto cc = OpenEngine(args, TAccess::ReadOnly);
    LoadCatalogAsProgram(*cc);
    cc->SetCurrentFile(code);
    cc->LoadFileSettings();
    for (const QString &line : cc->FileSettingsLinesToSave())
        PrintLine(line);
    return 0;
}

const TToolCommand reg(QStringLiteral("settings"),
                       {QStringLiteral("Prints the settings of a learning file as the program reads them when the file starts."),
                        QStringLiteral("The 39 lines the settings file is written with; the defaults when the file has none. Nothing is written."),
                        {ProgramFolderOption(),
                         FileCodeOption()},
                        {},
                        {QStringLiteral("tessarion-tool settings --file TT")}},
                       &RunSettings);
}
