#include "tools/EngineSession.h"

#include "base/TError.h"
#include "workspace/ProgramFolders.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace {
const QString kProgramFolderOption = QStringLiteral("--program-folder");

void PrintToStderr(const char *kind, const QString &text)
{
    std::fprintf(stderr, "%s: %s\n", kind, text.toUtf8().constData());
}
}

void TStderrNotifier::Information(const QString &text) { PrintToStderr("information", text); }
void TStderrNotifier::Error(const QString &text) { PrintToStderr("error", text); }
bool TStderrNotifier::Confirm(const QString &text)
{
    PrintToStderr("confirm (answered No)", text);
    return false;
}

std::unique_ptr<TCC> OpenEngine(const TToolArgs &args, TAccess access)
{
    const QString folder = args.Required(kProgramFolderOption);
    if (!QFileInfo(folder).isDir())
        throw TFatalError(QStringLiteral("program folder %1 does not exist").arg(folder));
    static TStderrNotifier notifier;
    auto cc = std::make_unique<TCC>();
    cc->notifier = &notifier;
    cc->context.readOnly = access == TAccess::ReadOnly;
    // An installed program folder is only read: its own files live in the
    // learner's data folder, as for the program.
    const TProgramFolders folders = LocateProgramFolders(
        folder, access == TAccess::ReadOnly ? TCreateOwnFolder::No : TCreateOwnFolder::Yes);
    if (folders.Installed())
        cc->context.installedFolder = folders.installed;
    cc->RunStartupFileSteps(folders.own);
    return cc;
}

void LoadCatalogAsProgram(TCC &cc)
{
    cc.LoadServerCatalog();
    cc.LoadCatalog();
}

std::unique_ptr<TCC> OpenFileAsProgram(const TToolArgs &args, TAccess access, int dayOffset)
{
    const QString code = args.Required(QStringLiteral("--file"));
    auto cc = OpenEngine(args, access);
    cc->clock.SetDayOffset(dayOffset);
    LoadCatalogAsProgram(*cc);
    cc->SetCurrentFile(code);
    cc->LoadFileSettings();   // the record reading may need them, as in a study run
    cc->LoadLearningFile();
    return cc;
}
