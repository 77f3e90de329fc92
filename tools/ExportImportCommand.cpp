// tessarion-tool export-records --program-folder P --to DIR [--replace]
// tessarion-tool import-records --program-folder P --from DIR
//
// The record window's export and import without a window. export-records
// copies the learner's whole user folder to DIR/<its name> (normally
// DIR/user); an existing copy there is replaced only with --replace, and
// then goes to the trash. import-records brings a copied folder back as the
// user folder; the previous folder is kept beside it under a dated name.
// Both print one line per file copied, then a line saying what was done.
// A refusal or a failure changes nothing, says why on stderr (naming the
// file) and exits with 1.
#include "base/TError.h"
#include "tools/EngineSession.h"
#include "workspace/RecordFolderTransfer.h"

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

int RunExportRecords(const QStringList &rawArgs)
{
    const TToolArgs args(rawArgs);
    const QString to = args.Required(QStringLiteral("--to"));
    // Only the folder given is written: the program folder stays as it is.
    const auto cc = OpenEngine(args, TAccess::ReadOnly);
    const QString record = RecordFolderOf(*cc);
    const TExportPlan plan = PlanExport(record, to);
    TTransferResult result = ExportRecordFolder(
        record, plan, args.HasFlag(QStringLiteral("--replace")) ? TReplaceTarget::Yes : TReplaceTarget::No);
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

const TToolCommand exportReg(QStringLiteral("export-records"), &RunExportRecords);
const TToolCommand importReg(QStringLiteral("import-records"), &RunImportRecords);
}
