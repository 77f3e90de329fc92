#include "workspace/RecordFolderTransfer.h"

#include "base/TError.h"
#include "base/FileErrors.h"
#include "base/TextFiles.h"
#include "data/RecordFile.h"
#include "workspace/CatalogStore.h"
#include "workspace/FileSettings.h"
#include "workspace/Paths.h"
#include "workspace/RecycleBin.h"
#include "workspace/UserFolderLock.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <QRegularExpression>
#include <cstdio>
#include <fcntl.h>
#include <memory>

namespace {
const QString kOldLayoutFolder = QStringLiteral("word_VORKAL");
const QString kRecordSubfolder = QStringLiteral("record");
const QString kBuiltInCatalog = QStringLiteral("FileInfo/FileInfo_PC.dat");
const QString kPartialExportSuffix = QStringLiteral(".partial-");
const QString kImportingSuffix = QStringLiteral(".importing-");
const QString kBackupSuffix = QStringLiteral("-before-import-");
const QString kReplacedSuffix = QStringLiteral(".replaced-");
const QString kStampFormat = QStringLiteral("yyyyMMdd-HHmmss");
constexpr int kSwapPollMs = 10;
const QString kSettingSubfolder = QStringLiteral("setting");
const QString kFormPositionFile = QStringLiteral("setting/FormPosition.dat");
const QRegularExpression kRecordFileName(QStringLiteral("^Record_([A-Za-z0-9]+)\\.dat$"));
const QRegularExpression kSettingsFileName(QStringLiteral("^Setting_([A-Za-z0-9]+)\\.dat$"));
const QString kDamagedContentText = QStringLiteral("読み込むフォルダのファイルが損傷しているので、読み込みません。");
const QString kUnreadableLinesText = QStringLiteral("読めない行があります（%1）");
const QString kCutRecordText = QStringLiteral("記録ファイルが途中で切れています");
const QString kDamagedFileText = QStringLiteral("ファイルが損傷しています");
// A message names at most this many lines of a file.
constexpr qsizetype kLinesNamed = 10;

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
    // A pipe or a device would block the reader or never end.
    if (!QFileInfo(path).isFile())
        FailOn(path, QStringLiteral("通常のファイルではありません"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        FailOn(path, FileErrorText(file));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        FailOn(path, FileErrorText(file));
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
        // The lock files belong to the programs running on the folder.
        if (IsUserFolderLockFile(relative))
            continue;
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
            FailOn(to, QStringLiteral("更新日時を写せません: %1").arg(FileErrorText(copy)));
    }
    return files;
}

// Folders beside `folder` named folder's name + suffix + anything, newest
// (by the time in their names) first.
QStringList SiblingsNamed(const QString &folder, const QString &suffix)
{
    const QFileInfo info(folder);
    const QDir parent = info.dir();
    const QString prefix = info.fileName() + suffix;
    QStringList found;
    for (const QString &entry : parent.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name))
        if (entry.startsWith(prefix))
            found.prepend(parent.filePath(entry));
    return found;
}

// Puts two folders in each other's place in one step; false where the file
// system cannot (nothing then changed).
bool ExchangeFolders(const QString &a, const QString &b)
{
    return ::renameat2(AT_FDCWD, QFile::encodeName(a).constData(), AT_FDCWD, QFile::encodeName(b).constData(),
                       RENAME_EXCHANGE) == 0;
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
    const QDir base(folder);
    while (it.hasNext()) {
        if (!IsUserFolderLockFile(base.relativeFilePath(it.next())))
            return true;
    }
    return false;
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

QString LinesText(const QList<int> &lines)
{
    QStringList shown;
    for (qsizetype i = 0; i < lines.size() && i < kLinesNamed; ++i)
        shown.append(QStringLiteral("%1 行目").arg(lines.at(i)));
    QString text = shown.join(QStringLiteral("、"));
    if (lines.size() > kLinesNamed)
        text += QStringLiteral(" ほか %1 行").arg(lines.size() - kLinesNamed);
    return text;
}

// The files of a folder whose names match, sorted.
QStringList MatchingFiles(const QString &folder, const QRegularExpression &name)
{
    QStringList found;
    for (const QString &entry : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name))
        if (name.match(entry).hasMatch())
            found.append(entry);
    return found;
}

// Reads a record folder's catalog, settings and record files as the program
// reads them at start, changing nothing. Where the program would have to
// repair or reset something (a file it would call damaged, a line it could
// not read, a record cut short), throws TCopyFailure naming the file.
void CheckFolderContent(const QString &folder)
{
    const QString base = WithSeparator(folder);
    TCatalog catalog;
    try {
        catalog = ReadCatalogFiles(base);
    } catch (const TFatalError &e) {
        throw TCopyFailure{e.Message()};
    }
    const QString settings = ResolvePathIgnoringCase(base, kSettingSubfolder);
    for (const QString &name : MatchingFiles(settings, kSettingsFileName)) {
        const QString path = QDir(settings).filePath(name);
        const QByteArray bytes = ReadAll(path);
        if (IsDamagedStateBytes(bytes))
            FailOn(path, kDamagedFileText);
        const QString code = kSettingsFileName.match(name).captured(1);
        QList<int> unreadable;
        ParseFileSettings(SplitLines(DecodeStateBytes(bytes)), code,
                          DefaultFileSettings(code, catalog.dataVersion, TFormPosition{}), &unreadable);
        if (!unreadable.isEmpty())
            FailOn(path, kUnreadableLinesText.arg(LinesText(unreadable)));
    }
    const QString formPosition = ResolvePathIgnoringCase(base, kFormPositionFile);
    if (QFileInfo::exists(formPosition)) {
        QList<int> unreadable;
        ParseFormPosition(SplitLines(DecodeStateBytes(ReadAll(formPosition))), &unreadable);
        if (!unreadable.isEmpty())
            FailOn(formPosition, kUnreadableLinesText.arg(LinesText(unreadable)));
    }
    const QString records = ResolvePathIgnoringCase(base, kRecordSubfolder);
    const auto words = std::make_unique<TWordTable>();
    for (const QString &name : MatchingFiles(records, kRecordFileName)) {
        const QString path = QDir(records).filePath(name);
        const QByteArray bytes = ReadAll(path);
        if (IsDamagedStateBytes(bytes))
            FailOn(path, kDamagedFileText);
        const int slot = FileSlotOfCode(kRecordFileName.match(name).captured(1));
        // Built-in files' word counts are in the catalog; a user file's are not.
        const int expected = slot >= 1 && slot <= kLastBuiltInSlot ? catalog.rows[slot].TangoTotal : 0;
        const TRecordFileRead read = ReadRecordBytes(bytes, *words, std::nullopt);
        if (!read.unreadableLines.isEmpty())
            FailOn(path, kUnreadableLinesText.arg(LinesText(read.unreadableLines)));
        if (IsCutRecordFile(read, expected))
            FailOn(path, kCutRecordText);
    }
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
    // Copies left at this place by exports that were stopped (a kill, a
    // power cut) go to the trash; nothing else there is touched.
    for (const QString &suffix : {kPartialExportSuffix, kReplacedSuffix})
        for (const QString &leftover : SiblingsNamed(plan.target, suffix))
            MoveToRecycleBin(leftover);
    const QString partial = FreeName(plan.target + kPartialExportSuffix + stamp);
    TTransferResult result;
    try {
        result.copied = CopyTree(FolderKey(recordFolder), partial);
    } catch (const TCopyFailure &failure) {
        QDir(partial).removeRecursively();
        return Failure(kExportFailedText, failure.detail);
    }
    // Only a complete copy replaces the old one, which goes to the trash.
    // The two change places in one step, so that a kill never leaves the
    // place without a copy; where the file system cannot do that, the old
    // one steps aside first.
    if (targetExists) {
        // The old copy keeps its name in the trash: it waits in a folder of
        // its own beside the target until it is moved there.
        const QString aside = FreeName(plan.target + kReplacedSuffix + stamp);
        const QString old = aside + u'/' + QFileInfo(plan.target).fileName();
        if (!QDir().mkdir(aside)) {
            QDir(partial).removeRecursively();
            return Failure(kExportFailedText, Native(aside) + u'\n' + QStringLiteral("フォルダを作れません"));
        }
        if (ExchangeFolders(partial, plan.target)) {
            QDir().rename(partial, old);
        } else {
            if (!QDir().rename(plan.target, old)) {
                QDir(partial).removeRecursively();
                QDir().rmdir(aside);
                return Failure(kDeleteFailedText, Native(plan.target));
            }
            if (!QDir().rename(partial, plan.target)) {
                QDir().rename(old, plan.target);
                QDir(partial).removeRecursively();
                QDir().rmdir(aside);
                return Failure(kExportFailedText, Native(partial) + u'\n' + QStringLiteral("名前を %1 に変えられません").arg(Native(plan.target)));
            }
        }
        const QString trashed = QFileInfo::exists(old) ? old : partial;
        if (!MoveToRecycleBin(trashed)) {
            result.outcome = TTransferOutcome::Done;
            result.message = kExportDoneText + u'\n' + kDeleteFailedText + u'\n' + Native(trashed);
            result.target = plan.target;
            return result;
        }
        QDir().rmdir(aside);
    } else if (!QDir().rename(partial, plan.target)) {
        return Failure(kExportFailedText, Native(partial) + u'\n' + QStringLiteral("名前を %1 に変えられません").arg(Native(plan.target)));
    }
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
    // Nothing replaces the learner's records that the program would have to
    // repair or reset at its next start.
    try {
        CheckFolderContent(chosen);
    } catch (const TCopyFailure &failure) {
        return Outcome(TTransferOutcome::Refused, kDamagedContentText + u'\n' + failure.detail);
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
        // A folder without setting/ (every file then starts with its default
        // settings) gets it here: the program saves into it.
        const QString settings = ResolvePathIgnoringCase(WithSeparator(incoming), kSettingSubfolder);
        if (!QFileInfo(settings).isDir() && !QDir().mkpath(settings))
            FailOn(settings, QStringLiteral("フォルダを作れません"));
    } catch (const TCopyFailure &failure) {
        QDir(incoming).removeRecursively();
        return Failure(kImportFailedText, failure.detail);
    }

    // The swap: the current folder steps aside under its dated name, the
    // complete copy takes its place; if that fails, the current one returns.
    // The lock this process holds on the folder goes with its name, so no
    // other writer comes in between.
    const bool lockCarried = TUserFolderLock::PlaceHeldLockFileIn(record, incoming);
    // Readers of the folder see the swap as a change, and wait while it runs.
    const quint64 openCount = OpenCommitCountFor(record);
    if (lockCarried)
        SetCommitCount(incoming, openCount);
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
    if (lockCarried) {
        SetCommitCount(record, openCount + 1);
        if (!backup.isEmpty())
            TUserFolderLock::RemoveLockFilesFrom(backup);
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

namespace {
bool PassesImportChecks(const QString &folder)
{
    const QString base = WithSeparator(folder);
    if (!QFileInfo(ResolvePathIgnoringCase(base, kRecordSubfolder)).isDir())
        return false;
    try {
        CheckFolderContent(folder);
    } catch (const TCopyFailure &) {
        return false;
    }
    return true;
}
}

QString RecoverInterruptedImport(const QString &recordFolder)
{
    const QString record = QDir::cleanPath(QFileInfo(recordFolder).absoluteFilePath());
    if (QFileInfo(record).fileName().isEmpty())
        return {};
    // An import that a running program is doing was not interrupted: none of
    // its folders is touched, and a swap under way is given the moment it needs.
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        bool running = UserFolderInUse(record);
        for (const QString &sibling : SiblingsNamed(record, kImportingSuffix) + SiblingsNamed(record, kBackupSuffix))
            running = running || UserFolderInUse(sibling);
        if (!running)
            break;
        if (QFileInfo::exists(record) || clock.elapsed() >= kUserFolderLockWaitMs)
            return {};
        QThread::msleep(kSwapPollMs);
    }
    const QStringList copies = SiblingsNamed(record, kImportingSuffix);
    if (QFileInfo::exists(record)) {
        // Copies made while the folder was still in place never replaced it.
        for (const QString &copy : copies)
            QDir(copy).removeRecursively();
        return {};
    }
    const QStringList backups = SiblingsNamed(record, kBackupSuffix);
    if (copies.isEmpty() && backups.isEmpty())
        return {};
    // The folder is gone only once an import's copy was complete and
    // compared: the newest copy that reads as the program reads it finishes
    // the import; otherwise the folder the import replaced comes back.
    QString message;
    for (const QString &copy : copies) {
        if (message.isEmpty() && PassesImportChecks(copy) && QDir().rename(copy, record)) {
            message = kImportFinishedText + u'\n' + Native(record);
            if (!backups.isEmpty())
                message += QStringLiteral("\n以前の記録は次のフォルダに残してあります。\n") + Native(backups.first());
        }
    }
    if (message.isEmpty() && !backups.isEmpty() && QDir().rename(backups.first(), record))
        message = kImportRolledBackText + u'\n' + Native(record);
    if (message.isEmpty())
        return {};
    for (const QString &copy : copies)
        if (QFileInfo::exists(copy))
            QDir(copy).removeRecursively();
    return message;
}
