#include "workspace/RecordFolderTransfer.h"

#include "base/TError.h"
#include "base/TextFiles.h"
#include "workspace/Paths.h"
#include "workspace/RecycleBin.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {
const QString kOldLayoutFolder = QStringLiteral("word_VORKAL");
const QString kRecordSubfolder = QStringLiteral("record");
const QString kBuiltInCatalog = QStringLiteral("FileInfo/FileInfo_PC.dat");
const QString kPartialExportSuffix = QStringLiteral(".partial-");
const QString kImportingSuffix = QStringLiteral(".importing-");
const QString kBackupSuffix = QStringLiteral("-before-import-");
const QString kStampFormat = QStringLiteral("yyyyMMdd-HHmmss");

// A folder as one comparable text: the real path when it exists (links
// resolved), otherwise the cleaned absolute path; never with a final "/".
QString FolderKey(const QString &folder)
{
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

bool IsSameOrInside(const QString &path, const QString &folder)
{
    return path == folder || path.startsWith(folder.endsWith(u'/') ? folder : folder + u'/');
}

QString Native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// What went wrong with one file: the file and the system's reason.
struct TCopyFailure {
    QString detail;
};

[[noreturn]] void FailOn(const QString &path, const QString &reason)
{
    throw TCopyFailure{Native(path) + u'\n' + reason};
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        FailOn(path, file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        FailOn(path, file.errorString());
    return bytes;
}

// Every folder and file below root, relative and sorted (folders before the
// files in them). A link to a folder, or anything that is neither a file nor
// a folder, cannot be copied faithfully and fails the whole copy.
void ListTree(const QString &root, QStringList &folders, QStringList &files)
{
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    const QDir base(root);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        const QString relative = base.relativeFilePath(path);
        if (info.isSymLink() && info.isDir())
            FailOn(path, QStringLiteral("フォルダへのリンクは写せません"));
        if (info.isDir())
            folders.append(relative);
        else if (info.isFile())
            files.append(relative);
        else
            FailOn(path, QStringLiteral("通常のファイルではありません"));
    }
    folders.sort();
    files.sort();
}

// Copies every file below source into destination (which must not exist
// yet), each written whole, read back and compared with its original, with
// its permissions and modification time kept (the user workbooks are told
// apart from edited ones by their modification time). Returns the files
// copied; throws TCopyFailure at the first file that fails.
QStringList CopyTree(const QString &source, const QString &destination)
{
    QStringList folders;
    QStringList files;
    ListTree(source, folders, files);
    const QDir target(destination);
    if (!QDir().mkpath(destination))
        FailOn(destination, QStringLiteral("フォルダを作れません"));
    for (const QString &folder : folders) {
        if (!target.mkpath(folder))
            FailOn(target.filePath(folder), QStringLiteral("フォルダを作れません"));
    }
    for (const QString &relative : files) {
        const QString from = QDir(source).filePath(relative);
        const QString to = target.filePath(relative);
        const QByteArray bytes = ReadAll(from);
        try {
            WriteFileAtomic(to, bytes);
        } catch (const TFatalError &e) {
            throw TCopyFailure{e.Message()};
        }
        if (ReadAll(to) != bytes)
            FailOn(to, QStringLiteral("写したファイルが元のファイルと一致しません"));
        const QFileInfo original(from);
        QFile copy(to);
        copy.setPermissions(original.permissions());
        if (!copy.open(QIODevice::ReadOnly)
            || !copy.setFileTime(original.lastModified(), QFileDevice::FileModificationTime))
            FailOn(to, QStringLiteral("更新日時を写せません: %1").arg(copy.errorString()));
    }
    return files;
}

// A name beside `stem` that is not taken: stem, then stem-2, stem-3, ...
QString FreeName(const QString &stem)
{
    QString name = stem;
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = stem + QStringLiteral("-%1").arg(n);
    return name;
}

bool HoldsAnyFile(const QString &folder)
{
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    return it.hasNext();
}

TTransferResult Outcome(TTransferOutcome outcome, const QString &message)
{
    TTransferResult result;
    result.outcome = outcome;
    result.message = message;
    return result;
}

TTransferResult Failure(const QString &headline, const QString &detail)
{
    return Outcome(TTransferOutcome::Failed, headline + u'\n' + detail);
}
}

TExportPlan PlanExport(const QString &recordFolder, const QString &chosenFolder)
{
    TExportPlan plan;
    const QString record = FolderKey(recordFolder);
    const QString chosen = FolderKey(chosenFolder);
    if (chosen == record) {
        plan.outcome = TTransferOutcome::SameFolder;
        return plan;
    }
    plan.target = chosen + u'/' + QFileInfo(record).fileName();
    // A copy into the record folder would copy itself without end, and a
    // target that is the record folder (its parent chosen) would be removed
    // to make room for its own copy.
    if (IsSameOrInside(chosen, record) || FolderKey(plan.target) == record) {
        plan.outcome = TTransferOutcome::Refused;
        plan.message = kExportIntoRecordFolderText;
        return plan;
    }
    if (!QFileInfo(chosen).isDir()) {
        plan.outcome = TTransferOutcome::Refused;
        plan.message = kExportFailedText + u'\n' + Native(chosen) + u'\n' + QStringLiteral("フォルダがありません");
        return plan;
    }
    plan.targetExists = QFileInfo::exists(plan.target);
    return plan;
}

TTransferResult ExportRecordFolder(const QString &recordFolder, const TExportPlan &plan, TReplaceTarget replace)
{
    if (plan.outcome != TTransferOutcome::Done)
        return Outcome(plan.outcome, plan.message);
    const bool targetExists = QFileInfo::exists(plan.target);
    if (targetExists && replace != TReplaceTarget::Yes)
        return Outcome(TTransferOutcome::TargetExists, QString());

    const QString stamp = QDateTime::currentDateTime().toString(kStampFormat);
    const QString partial = FreeName(plan.target + kPartialExportSuffix + stamp);
    TTransferResult result;
    try {
        result.copied = CopyTree(FolderKey(recordFolder), partial);
    } catch (const TCopyFailure &failure) {
        QDir(partial).removeRecursively();
        return Failure(kExportFailedText, failure.detail);
    }
    // Only a complete copy replaces the old one, which goes to the trash.
    if (targetExists && !MoveToRecycleBin(plan.target)) {
        QDir(partial).removeRecursively();
        return Failure(kDeleteFailedText, Native(plan.target));
    }
    if (!QDir().rename(partial, plan.target))
        return Failure(kExportFailedText, Native(partial) + u'\n' + QStringLiteral("名前を %1 に変えられません").arg(Native(plan.target)));
    result.outcome = TTransferOutcome::Done;
    result.message = kExportDoneText;
    result.target = plan.target;
    return result;
}

TTransferResult CheckImportSource(const QString &recordFolder, const QString &chosenFolder)
{
    const QString record = FolderKey(recordFolder);
    const QString chosen = FolderKey(chosenFolder);
    if (chosen == record)
        return Outcome(TTransferOutcome::SameFolder, QString());
    const QString base = WithSeparator(chosen);
    if (QFileInfo(ResolvePathIgnoringCase(base, kOldLayoutFolder)).isDir())
        return Outcome(TTransferOutcome::Refused, kOldLayoutText);
    const QString records = ResolvePathIgnoringCase(base, kRecordSubfolder);
    const QString catalog = ResolvePathIgnoringCase(base, kBuiltInCatalog);
    if (!QFileInfo(chosen).isDir() || !QFileInfo(records).isDir() || !QFileInfo(catalog).isFile()
        || IsSameOrInside(record, chosen))
        return Outcome(TTransferOutcome::Refused, kNotRecordFolderText);
    try {
        ReadAll(catalog);
        const QDir recordDir(records);
        for (const QString &name : recordDir.entryList(QDir::Files | QDir::Hidden | QDir::System))
            ReadAll(recordDir.filePath(name));
    } catch (const TCopyFailure &failure) {
        return Outcome(TTransferOutcome::Refused, kImportFailedText + u'\n' + failure.detail);
    }
    return Outcome(TTransferOutcome::Done, QString());
}

TTransferResult ImportRecordFolder(const QString &recordFolder, const QString &chosenFolder, const QDateTime &now)
{
    TTransferResult check = CheckImportSource(recordFolder, chosenFolder);
    if (check.outcome != TTransferOutcome::Done)
        return check;
    const QString record = FolderKey(recordFolder);
    const QString stamp = now.toString(kStampFormat);
    const QString incoming = FreeName(record + kImportingSuffix + stamp);

    TTransferResult result;
    try {
        result.copied = CopyTree(FolderKey(chosenFolder), incoming);
    } catch (const TCopyFailure &failure) {
        QDir(incoming).removeRecursively();
        return Failure(kImportFailedText, failure.detail);
    }

    // The swap: the current folder steps aside under its dated name, the
    // complete copy takes its place; if that fails, the current one returns.
    QString backup;
    if (QFileInfo::exists(record)) {
        backup = FreeName(record + kBackupSuffix + stamp);
        if (!QDir().rename(record, backup)) {
            QDir(incoming).removeRecursively();
            return Failure(kImportFailedText, Native(record) + u'\n' + QStringLiteral("名前を変えられません"));
        }
    }
    if (!QDir().rename(incoming, record)) {
        if (!backup.isEmpty())
            QDir().rename(backup, record);
        QDir(incoming).removeRecursively();
        return Failure(kImportFailedText, Native(incoming) + u'\n' + QStringLiteral("名前を %1 に変えられません").arg(Native(record)));
    }
    // A previous folder without a single file (a fresh start) is not worth keeping.
    if (!backup.isEmpty() && !HoldsAnyFile(backup)) {
        QDir(backup).removeRecursively();
        backup.clear();
    }
    result.outcome = TTransferOutcome::Done;
    result.message = kImportDoneText;
    result.target = record;
    result.backup = backup;
    return result;
}
