// One-time migration of an older installation, whose state files carried the
// extension ".txt". Runs at start while the marker W.qda is in the program
// folder. Every move and delete that fails is passed over: the migration
// never stops the program from starting.
#include "workspace/Workspace.h"

#include "workspace/Catalog.h"
#include "workspace/Paths.h"
#include "workspace/RecycleBin.h"
#include "base/TextFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
const QString kOldUserDirectoryFile = QStringLiteral("UserDirectory.txt");
const QString kUserDirectoryFile = QStringLiteral("UserDirectory.dat");
const QString kOldWordFolder = QStringLiteral("word_VORKAL");
const QString kMigrationMarker = QStringLiteral("W.qda");
const QString kReplacer = QStringLiteral("Tessarion_replacer.exe");
const QString kOldSiteCatalog = QStringLiteral("FileInfo/FileInfo_SITE.txt");
const QString kOldPcCatalog = QStringLiteral("FileInfo/FileInfo_PC.txt");
const QString kPcCatalog = QStringLiteral("FileInfo/FileInfo_PC.dat");

// Simple renames: older name, newer name (relative to the user folder).
const struct {
    const char16_t *from;
    const char16_t *to;
} kRenamesBeforeCatalog[] = {
    {u"FileInfo/FileModifiedDate.txt", u"FileInfo/FileModifiedDate.dat"},
    {u"word_user/Title.txt", u"word_user/Title.dat"},
    {u"FileInfo/FileInfo_User.txt", u"FileInfo/FileInfo_User.dat"},
};

// The learning files whose catalog version the older installation had.
const char16_t *const kMigratedCodes[] = {u"TT", u"TJ", u"DT", u"IT"};
constexpr qint32 kMigratedFileVersion = 201;
constexpr qint32 kMigratedRelatedWordsVersion = 201;
constexpr qint32 kMigratedDataVersion = 801;
const QString kSwitchedOffCode = QStringLiteral("IT");

// Settings files of the older installation (setting_<code>.txt).
QStringList OldSettingsCodes()
{
    QStringList codes{QStringLiteral("TT"), QStringLiteral("TJ"), QStringLiteral("DT"), QStringLiteral("IT")};
    for (int n = 1; n <= kUserFileCount; ++n)
        codes.append(QStringLiteral("U%1").arg(n));
    return codes;
}

// A plain move that never replaces an existing file; failures are passed over.
void MoveQuietly(const QString &from, const QString &to)
{
    if (QFileInfo::exists(from) && !QFileInfo::exists(to))
        QFile::rename(from, to);
}

void MoveInFolder(const QString &folder, const QString &from, const QString &to)
{
    const QString source = ResolvePathIgnoringCase(folder, from);
    const QString target = ResolvePathIgnoringCase(folder, to);
    // Only the case of the file name itself may differ (setting_TT.txt
    // becomes Setting_TT.dat): the target sits beside the source.
    MoveQuietly(source, QFileInfo(source).absolutePath() + u'/' + QFileInfo(target).fileName());
}

void DeleteQuietly(const QString &path)
{
    if (QFileInfo(path).isFile())
        QFile::remove(path);
}
}

void TWorkspace::MigrateOldWorkspace()
{
    // 1. The user folder of the older installation. Without UserDirectory.txt
    //    the older state lives where UserDirectory.dat points (a migration cut
    //    short by a crash), or else in the program folder: never in whatever
    //    folder the process happens to be started from.
    QString folder;
    const QString oldUserDirectory = ResolvePathIgnoringCase(programFolder, kOldUserDirectoryFile);
    if (auto lines = ReadStateLines(oldUserDirectory)) {
        folder = WithSeparator(lines->value(0));
        MoveQuietly(oldUserDirectory, programFolder + kUserDirectoryFile);
    } else if (auto current = ReadStateLines(programFolder + kUserDirectoryFile);
               current && !current->isEmpty() && QFileInfo(StoredUserFolder(programFolder, current->first())).isDir()) {
        folder = WithSeparator(StoredUserFolder(programFolder, current->first()));
    }
    if (folder.isEmpty() || QFileInfo(folder).isRelative())
        folder = programFolder + folder;
    const QString savedUserFolder = userFolder;
    userFolder = folder;

    // 2. The word folder of the oldest versions goes to the recycle bin.
    const QString oldWords = ResolvePathIgnoringCase(folder, kOldWordFolder);
    if (QFileInfo(oldWords).isDir())
        MoveToRecycleBin(oldWords);

    // 3.-5.
    for (const auto &rename : kRenamesBeforeCatalog)
        MoveInFolder(folder, QString::fromUtf16(rename.from), QString::fromUtf16(rename.to));

    // 6. The built-in catalog, with the versions of the older data, so the
    //    catalog download offers the newer files.
    MoveInFolder(folder, kOldPcCatalog, kPcCatalog);
    if (QFileInfo::exists(folder + kPcCatalog)) {
        LoadCatalog();
        for (const char16_t *code : kMigratedCodes)
            catalog.rows[FileSlotOfCode(QString::fromUtf16(code))].Version = kMigratedFileVersion;
        catalog.relatedWordsVersion = kMigratedRelatedWordsVersion;
        catalog.dataVersion = kMigratedDataVersion;
        catalog.rows[FileSlotOfCode(kSwitchedOffCode)].OnOff = false;
        SaveCatalog();
    }

    // 7. The older server catalog is fetched anew.
    DeleteQuietly(ResolvePathIgnoringCase(folder, kOldSiteCatalog));

    // 8. Settings files.
    for (const QString &code : OldSettingsCodes()) {
        MoveInFolder(folder, QStringLiteral("setting/setting_%1.txt").arg(code),
                     QStringLiteral("setting/Setting_%1.dat").arg(code));
    }

    // 9. The marker and the updater left behind.
    DeleteQuietly(programFolder + kMigrationMarker);
    DeleteQuietly(programFolder + kReplacer);

    userFolder = savedUserFolder;
}
