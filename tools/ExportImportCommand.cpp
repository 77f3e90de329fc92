// tessarion-tool export-records --program-folder P --to DIR [--replace]
// tessarion-tool import-records --program-folder P --from DIR
//
// The record window's export and import without a window. export-records
// copies the learner's whole user folder to DIR/<its name> (normally
// DIR/user; DIR is made when missing, its parent must exist); an existing copy there is replaced only with --replace, and
// then goes to the trash. import-records brings a copied folder back as the
// user folder; the previous folder is kept beside it under a dated name.
// Both print one line per file copied, then a line saying what was done.
// Both take the user folder's lock, so that the copy is one state of the
// folder and an import never comes between another program's saves; while
// another program holds it they wait briefly, then refuse.
// A refusal or a failure changes nothing, says why on stderr (naming the
// file) and exits with 1.
#include "base/TError.h"
#include "tools/EngineSession.h"
#include "workspace/RecordFolderTransfer.h"
#include "workspace/UserFolderLock.h"

#include <QDir>
#include <QFileInfo>

namespace {
int Report(const TTransferResult &result, const QString &summary)
{
    switch (result.outcome) {
    case TTransferOutcome::Done:
        for (const QString &file : result.copied)
            PrintLine(file);
        PrintLine(summary);
        return 0;
    case TTransferOutcome::SameFolder:
        throw TFatalError(QStringLiteral("the folder given is the user folder itself: nothing done"));
    case TTransferOutcome::TargetExists:
        throw TFatalError(QStringLiteral("%1 exists: give --replace to replace it (the old copy goes to the trash)")
                              .arg(QDir::toNativeSeparators(result.target)));
    case TTransferOutcome::Refused:
    case TTransferOutcome::Failed:
        throw TFatalError(result.message + QStringLiteral("\nnothing was changed"));
    }
    return 1;
}

QString RecordFolderOf(const TCC &cc)
{
    if (!QFileInfo(cc.userFolder).isDir())
        throw TFatalError(QStringLiteral("there is no user folder at %1").arg(QDir::toNativeSeparators(cc.userFolder)));
    return cc.userFolder;
}

// Makes the folder given to --to when it does not exist and its parent does
// (a backup folder on a fresh account); true when it was made. A folder
// inside the user folder is left to the export's own refusal.
bool MakeExportFolder(const QString &record, const QString &to)
{
    if (QFileInfo::exists(to) || QDir::cleanPath(to).startsWith(QDir::cleanPath(record) + u'/'))
        return false;
    const QString parent = QFileInfo(QDir::cleanPath(to)).path();
    if (!QFileInfo(parent).isDir())
        throw TFatalError(QStringLiteral("%1 does not exist, and neither does its parent folder %2")
                              .arg(QDir::toNativeSeparators(to), QDir::toNativeSeparators(parent)));
    if (!QDir().mkdir(to))
        throw TFatalError(QStringLiteral("%1 cannot be made").arg(QDir::toNativeSeparators(to)));
    return true;
}

int RunExportRecords(const QStringList &rawArgs)
{
    const TToolArgs args(rawArgs);
    const QString to = args.Required(QStringLiteral("--to"));
    // Only the folder given is written: the program folder stays as it is.
    const auto cc = OpenEngine(args, TAccess::ReadOnly);
    const QString record = RecordFolderOf(*cc);
    // The copy is one state of the folder: no other program writes it meanwhile.
    TUserFolderLock lock(record);
    if (!lock.Acquire())
        throw TFatalError(lock.RefusalMessage());
    const bool made = MakeExportFolder(record, to);
    const TExportPlan plan = PlanExport(record, to);
    TTransferResult result = ExportRecordFolder(
        record, plan, args.HasFlag(QStringLiteral("--replace")) ? TReplaceTarget::Yes : TReplaceTarget::No);
    if (made && result.outcome != TTransferOutcome::Done)
        QDir().rmdir(to);   // the folder made above, still empty
    if (result.outcome == TTransferOutcome::TargetExists)
        result.target = plan.target;
    return Report(result, QStringLiteral("exported %1 files to %2")
                              .arg(result.copied.size())
                              .arg(QDir::toNativeSeparators(result.target)));
}

int RunImportRecords(const QStringList &rawArgs)
{
    const TToolArgs args(rawArgs);
    const QString from = args.Required(QStringLiteral("--from"));
    const auto cc = OpenEngine(args, TAccess::Writes);
    const TTransferResult result = ImportRecordFolder(RecordFolderOf(*cc), from);
    QString summary = QStringLiteral("imported %1 files into %2")
                          .arg(result.copied.size())
                          .arg(QDir::toNativeSeparators(result.target));
    if (!result.backup.isEmpty())
        summary += QStringLiteral("; the previous records are kept in %1").arg(QDir::toNativeSeparators(result.backup));
    return Report(result, summary);
}

const TToolCommand exportReg(QStringLiteral("export-records"),
                       {QStringLiteral("Copies the learner's whole user folder into a folder, as the record window's export does."),
                        QStringLiteral("Writes DIR/user (the user folder's own name). DIR is made when it does not exist; its parent must. An existing copy is replaced only with --replace, and then goes to the trash. Prints one line per file copied, then what was done."),
                        {ProgramFolderOption(),
                         {QStringLiteral("to"), QStringLiteral("DIR"), QStringLiteral("The folder that receives the copy."), TOptionValue::Folder, true},
                         {QStringLiteral("replace"), {}, QStringLiteral("Replaces an existing copy in DIR (the old one goes to the trash)."), TOptionValue::None}},
                        {},
                        {QStringLiteral("tessarion-tool export-records --to ~/backup")}},
                       &RunExportRecords);
const TToolCommand importReg(QStringLiteral("import-records"),
                       {QStringLiteral("Brings a copied user folder back as the learner's user folder, as the record window's import does."),
                        QStringLiteral("The previous user folder is kept beside it under a dated name. A folder without record/ and FileInfo/FileInfo_PC.dat is refused. Prints one line per file copied, then what was done."),
                        {ProgramFolderOption(),
                         {QStringLiteral("from"), QStringLiteral("DIR"), QStringLiteral("The copied user folder (such as ~/backup/user)."), TOptionValue::Folder, true}},
                        {},
                        {QStringLiteral("tessarion-tool import-records --from ~/backup/user")}},
                       &RunImportRecords);
}
