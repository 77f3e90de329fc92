#include "tools/EngineSession.h"

#include "base/TError.h"
#include "workspace/ProgramFolders.h"
#include "workspace/UserFolderLock.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace {
const QString kProgramFolderOption = QStringLiteral("--program-folder");
// How often a reader reads again when a writer changed the files under it.
constexpr int kReadAttempts = 5;

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
    const auto open = [&] {
        auto cc = OpenEngine(args, access);
        cc->clock.SetDayOffset(dayOffset);
        return cc;
    };
    const auto load = [&](TCC &cc) {
        LoadCatalogAsProgram(cc);
        cc.SetCurrentFile(code);
        cc.LoadFileSettings();   // the record reading may need them, as in a study run
        cc.LoadLearningFile();
    };
    if (access == TAccess::Writes) {
        auto cc = open();
        load(*cc);
        return cc;
    }
    // A reader takes no lock: it reads once no set of files is being put in
    // place, and reads again when one was put in place while it read.
    for (int attempt = 1;; ++attempt) {
        auto cc = open();
        // A set still being put in place after the wait is read all the same,
        // and read again below when it changed meanwhile.
        const quint64 before = SettledCommitCount(cc->userFolder).value_or(CommitCount(cc->userFolder));
        load(*cc);
        if (CommitCount(cc->userFolder) == before)
            return cc;
        if (attempt == kReadAttempts)
            throw TFatalError(QStringLiteral("the files in %1 kept changing while they were read; try again")
                                  .arg(QDir::toNativeSeparators(cc->userFolder)));
    }
}
