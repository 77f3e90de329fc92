// The catalog files: FileInfo_PC.dat (built-in files), FileInfo_User.dat
// (user files), word_user/Title.dat (user-file titles) and the server's
// FileInfo_SITE.dat.
#include "workspace/CatalogStore.h"
#include "workspace/ProgramFolders.h"
#include "base/DateText.h"
#include "base/TError.h"
#include "base/TextFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
const QString kPcFile = QStringLiteral("FileInfo/FileInfo_PC.dat");
const QString kUserFile = QStringLiteral("FileInfo/FileInfo_User.dat");
const QString kShippedSiteFile = QStringLiteral("resource/FileInfo_SITE.dat");
const QString kUserFolderName = QStringLiteral("word_user");
const QString kTitleFile = QStringLiteral("word_user/Title.dat");
const QString kDefaultOnFile = QStringLiteral("Default_ON.dat");
const QString kDefaultOnCode = QStringLiteral("TT");
const QString kDefaultUserTitle = QStringLiteral("ユーザー %1");

const QString kHeader = QStringLiteral("Tessarion");
const QString kSeparator = QStringLiteral("--------");
const QString kLabelFileManager = QStringLiteral("FileManager");
const QString kLabelCode = QStringLiteral("Code");
const QString kLabelVersion = QStringLiteral("Version");
const QString kLabelOnOff = QStringLiteral("OnOff");
const QString kLabelOrder = QStringLiteral("Order");
const QString kLabelPopUp = QStringLiteral("PopUp");
const QString kLabelPopUpDate = QStringLiteral("PopUpDate");
const QString kLabelPopUpWN = QStringLiteral("PopUpWN");
const QString kLabelTitle = QStringLiteral("Title");
const QString kLabelTangoTotal = QStringLiteral("TangoTotal");
const QString kLabelDBTangoTotal = QStringLiteral("DBTangoTotal");
const QString kLabelRelatedWords = QStringLiteral("ENG_Quote_enc");
const QString kLabelEtymology = QStringLiteral("Etymology_enc");

const QString kDamagedCatalogMessage =
    QStringLiteral("学習ファイルの一覧が損傷しています。最初の起動と同じ内容に作り直します。\n%1");
const QString kDamagedServerCatalogMessage =
    QStringLiteral("サーバーの学習ファイル一覧が損傷しています。プログラムに付属の一覧を使います。\n%1");
const QString kKeptCopyNote = QStringLiteral("\n損傷したファイルは次の名前で残してあります。\n%1");

// From this data version on, FileInfo_PC.dat carries the etymology version.
constexpr qint32 kFirstVersionWithEtymology = 802;

// A value line after its label line (labels are skipped by position).
const QString &LabelledText(TLineReader &in)
{
    in.Next();
    return in.Next();
}

qint32 LabelledInt(TLineReader &in)
{
    in.Next();
    return in.NextInt();
}

// What a server row gives a local row: code, version, title and word counts.
void TakeServerRow(TDBF &row, const TDBF &server)
{
    row.Code = server.Code;
    row.Version = server.Version;
    row.Title = server.Title;
    row.TangoTotal = server.TangoTotal;
    row.DBTangoTotal = server.DBTangoTotal;
}

// A popup date that is no date would stop the file queue with a message that
// names no file: it reads as none (the file is queued as usual).
QString PopUpDateText(const QString &text)
{
    return ParseDateText(text) ? text : QString();
}

void SetPopUpDefaults(TDBF &row)
{
    row.PopUp = true;
    row.PopUpDate.clear();
    row.PopUpWN = kDefaultPopUpWN;
}

// A catalog file's lines, or nullopt when it does not exist.
std::optional<TLineReader> OpenCatalogFile(const QString &path)
{
    if (!QFileInfo::exists(path))
        return std::nullopt;
    auto lines = ReadStateLines(path);
    if (!lines)
        throw TFatalError(QStringLiteral("ファイルを読み込めません。\n%1").arg(QDir::toNativeSeparators(path)));
    return TLineReader(std::move(*lines), QDir::toNativeSeparators(path));
}

void ReadPcFile(TLineReader &in, TCatalog &catalog)
{
    in.Next();   // "Tessarion"
    catalog.dataVersion = in.NextInt();
    catalog.fileManager = SwitchFromText(LabelledText(in));
    for (int slot = 1; slot <= kLastBuiltInSlot; ++slot) {
        TDBF &row = catalog.rows[slot];
        in.Next();   // "--------"
        row.Code = LabelledText(in);
        row.Version = LabelledInt(in);
        row.OnOff = SwitchFromText(LabelledText(in));
        row.Order = LabelledText(in);
        if (in.Next() == kLabelPopUp) {
            row.PopUp = SwitchFromText(in.Next());
            row.PopUpDate = PopUpDateText(LabelledText(in));
            row.PopUpWN = LabelledInt(in);
            row.Title = LabelledText(in);
        } else {
            // An older row without popup lines: the label just read was "Title".
            SetPopUpDefaults(row);
            row.Title = in.Next();
        }
        row.TangoTotal = LabelledInt(in);
        row.DBTangoTotal = LabelledInt(in);
    }
    const QString *next = in.Peek();
    if (!next || *next != kSeparator) {
        catalog.relatedWordsVersion = kDefaultDataVersion;
        catalog.etymologyVersion = kDefaultDataVersion;
        return;
    }
    in.Next();
    catalog.relatedWordsVersion = LabelledInt(in);
    catalog.etymologyVersion =
        catalog.dataVersion >= kFirstVersionWithEtymology ? LabelledInt(in) : kDefaultDataVersion;
}

void ReadUserFile(TLineReader &in, TCatalog &catalog)
{
    bool olderLayout = false;   // rows of 7 lines, no popup lines
    for (int slot = kFirstUserSlot; slot <= kSlotCount; ++slot) {
        TDBF &row = catalog.rows[slot];
        if (!olderLayout)
            in.Next();   // "--------"
        row.Code = LabelledText(in);
        row.OnOff = SwitchFromText(LabelledText(in));
        row.Order = LabelledText(in);
        const QString *next = in.Peek();
        if (next && *next == kLabelPopUp) {
            row.PopUp = SwitchFromText(LabelledText(in));
            row.PopUpDate = PopUpDateText(LabelledText(in));
            row.PopUpWN = LabelledInt(in);
        } else {
            // Older layout: the line after Order is the next row's separator
            // (or the end of the file after the last row).
            if (next)
                in.Next();
            olderLayout = true;
            SetPopUpDefaults(row);
        }
    }
}

void ReadSiteFile(TLineReader &in, TCatalog &site)
{
    in.Next();
    site.dataVersion = in.NextInt();
    for (int slot = 1; slot <= kLastBuiltInSlot; ++slot) {
        TDBF &row = site.rows[slot];
        in.Next();   // "--------"
        row.Code = LabelledText(in);
        row.Version = LabelledInt(in);
        row.Title = LabelledText(in);
        row.TangoTotal = LabelledInt(in);
        row.DBTangoTotal = LabelledInt(in);
    }
    in.Next();   // "--------"
    site.relatedWordsVersion = LabelledInt(in);
    site.etymologyVersion = in.AtEnd() ? kDefaultDataVersion : LabelledInt(in);
}

// The server catalog used when there is none at all: the slot table's codes
// (empty for slots without a file, as the server writes them), every version
// and count 0, so a first start goes on and the first catalog download fills
// the rows in.
TCatalog EmptySiteCatalog()
{
    TCatalog site;
    for (int slot = 1; slot <= kLastBuiltInSlot; ++slot) {
        const QString code = FileCodeOfSlot(slot);
        if (FileSlotOfCode(code) == slot)
            site.rows[slot].Code = code;
    }
    return site;
}
}

TCatalog ReadServerCatalogLines(const QStringList &lines, const QString &fileName)
{
    TCatalog site = EmptySiteCatalog();
    TLineReader in(lines, fileName);
    ReadSiteFile(in, site);
    return site;
}

TCatalog ReadCatalogFiles(const QString &folder)
{
    TCatalog catalog;
    const QString pc = folder + kPcFile;
    auto in = OpenCatalogFile(pc);
    if (!in)
        throw TFatalError(QStringLiteral("ファイルがありません。\n%1").arg(QDir::toNativeSeparators(pc)));
    ReadPcFile(*in, catalog);
    if (auto user = OpenCatalogFile(folder + kUserFile))
        ReadUserFile(*user, catalog);
    return catalog;
}

TCatalogStore::TCatalogStore(TEngineContext &context)
    : m_context(context), userFolder(context.userFolder),
      m_readOnly(context.readOnly), m_notifier(context.notifier)
{
}

void TCatalogStore::LoadServerCatalog()
{
    QString path = userFolder + kServerCatalogFile;
    const QString shipped = ShippedFilePath(m_context, kShippedSiteFile);
    if (!QFileInfo::exists(path) && m_readOnly) {
        // Read from where a first start would copy it from.
        path = shipped;
    } else if (!QFileInfo::exists(path)) {
        // First start: the catalog shipped with the program stands in until
        // the server's own is downloaded.
        if (QFileInfo::exists(shipped)) {
            QDir().mkpath(QFileInfo(path).absolutePath());
            if (QFile::copy(shipped, path))
                QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
        }
    }
    // A damaged server catalog gives way to the one shipped with the program
    // until the next download.
    TCatalog site = EmptySiteCatalog();
    const auto readSite = [&](TLineReader &in) { ReadSiteFile(in, site); };
    const TKeep keep = path == shipped ? TKeep::Nothing : TKeep::CopyOfDamage;
    if (!ReadCatalogPart(path, kDamagedServerCatalogMessage, readSite, keep)) {
        site = EmptySiteCatalog();
        if (path != shipped && !ReadCatalogPart(shipped, kDamagedServerCatalogMessage, readSite, TKeep::Nothing))
            site = EmptySiteCatalog();
    }
    siteCatalog = site;
    // The server's etymology version lands in the catalog-wide value; the
    // local catalog, read right after, has the last word.
    catalog.etymologyVersion = site.etymologyVersion;
}

void TCatalogStore::LoadUserFileTitles()
{
    const QString path = userFolder + kTitleFile;
    if (QFileInfo::exists(path)) {
        const bool read = ReadCatalogPart(path, kDamagedCatalogMessage, [&](TLineReader &in) {
            for (int n = 1; n <= kUserFileCount; ++n)
                catalog.rows[kLastBuiltInSlot + n].Title = in.Next();
        });
        if (read)
            return;
    }
    QStringList titles;
    for (int n = 1; n <= kUserFileCount; ++n) {
        titles.append(kDefaultUserTitle.arg(n));
        catalog.rows[kLastBuiltInSlot + n].Title = titles.last();
    }
    if (m_readOnly)
        return;
    QDir().mkpath(userFolder + kUserFolderName);
    WriteStateLines(path, titles);
}

TFileCounts CountsOfRow(const TDBF &row)
{
    return {row.Version, row.TangoTotal, row.DBTangoTotal};
}

void SetCountsOfRow(TDBF &row, const TFileCounts &counts)
{
    row.Version = counts.Version;
    row.TangoTotal = counts.TangoTotal;
    row.DBTangoTotal = counts.DBTangoTotal;
}

void TCatalogStore::LoadCatalog()
{
    // The current file's words were loaded with its row's counts; selection,
    // look-ups and the record file go by them until it is loaded again.
    const int current = m_context.fileSlot;
    const bool keepCurrent = current >= 1 && current <= kSlotCount;
    const TFileCounts loaded = keepCurrent ? CountsOfRow(catalog.rows[current]) : TFileCounts{};
    m_heldRevisions = {};
    catalog = TCatalog{};

    const bool pcRead = QFileInfo::exists(userFolder + kPcFile)
                        && ReadCatalogPart(userFolder + kPcFile, kDamagedCatalogMessage,
                                           [&](TLineReader &in) { ReadPcFile(in, catalog); });
    if (!pcRead) {
        catalog = TCatalog{};
        // First start: the built-in rows come from the server catalog.
        catalog.relatedWordsVersion = kDefaultDataVersion;
        catalog.etymologyVersion = kDefaultDataVersion;
        catalog.fileManager = true;
        catalog.dataVersion = siteCatalog.dataVersion;
        for (int slot = 1; slot <= kLastBuiltInSlot; ++slot) {
            TDBF &row = catalog.rows[slot];
            TakeServerRow(row, siteCatalog.rows[slot]);
            row.OnOff = false;
            row.Order = QString::number(slot);
            SetPopUpDefaults(row);
        }
        QString onCode = kDefaultOnCode;
        if (auto lines = ReadStateLines(ShippedFilePath(m_context, kDefaultOnFile)); lines && !lines->isEmpty())
            onCode = lines->first().trimmed();
        for (int slot = 1; slot <= kLastBuiltInSlot; ++slot)
            if (siteCatalog.rows[slot].Code == onCode)
                catalog.rows[slot].OnOff = true;
    }

    LoadUserFileTitles();

    const bool userRead = QFileInfo::exists(userFolder + kUserFile)
                          && ReadCatalogPart(userFolder + kUserFile, kDamagedCatalogMessage,
                                             [&](TLineReader &in) { ReadUserFile(in, catalog); });
    if (!userRead) {
        for (int n = 1; n <= kUserFileCount; ++n) {
            TDBF &row = catalog.rows[kLastBuiltInSlot + n];
            row.Code = FileCodeOfSlot(kLastBuiltInSlot + n);
            row.OnOff = false;
            row.Order = QString::number(kLastBuiltInSlot + n);
            SetPopUpDefaults(row);
        }
    }

    if (keepCurrent) {
        const TFileCounts inFiles = CountsOfRow(catalog.rows[current]);
        SetCountsOfRow(catalog.rows[current], loaded);
        if (current <= kLastBuiltInSlot && inFiles != loaded)
            m_heldRevisions[current] = inFiles;
    }

    SaveCatalog();
}

void TCatalogStore::InstallRevision(int slot, const TFileCounts &counts)
{
    if (slot < 1 || slot > kLastBuiltInSlot)
        return;
    if (slot == m_context.fileSlot) {
        m_heldRevisions[slot] = counts;
        return;
    }
    m_heldRevisions[slot].reset();
    SetCountsOfRow(catalog.rows[slot], counts);
}

TFileCounts TCatalogStore::SavedCounts(int slot) const
{
    if (slot < 1 || slot > kSlotCount)
        return {};
    return m_heldRevisions[slot].value_or(CountsOfRow(catalog.rows[slot]));
}

void TCatalogStore::TakeHeldRevision(int slot)
{
    if (slot < 1 || slot > kSlotCount || !m_heldRevisions[slot])
        return;
    SetCountsOfRow(catalog.rows[slot], *m_heldRevisions[slot]);
    m_heldRevisions[slot].reset();
}

bool TCatalogStore::ReadCatalogPart(const QString &path, const QString &damagedMessage,
                                    const std::function<void(TLineReader &)> &read, TKeep keep)
{
    auto in = OpenCatalogFile(path);
    if (!in)
        return false;
    try {
        read(*in);
        return true;
    } catch (const TFatalError &e) {
        // Damage never destroys: the file is kept aside before it is rebuilt.
        QString message = damagedMessage.arg(e.Message());
        if (!m_readOnly && keep == TKeep::CopyOfDamage)
            message += kKeptCopyNote.arg(QDir::toNativeSeparators(KeepDamagedCopy(path)));
        m_notifier->Error(message);
        return false;
    }
}

void TCatalogStore::SaveCatalog()
{
    if (m_readOnly)
        return;
    TFileCommit commit;
    AddToCommit(commit);
    commit.Commit();
}

void TCatalogStore::TakeRevisionsOfOtherRuns()
{
    TCatalog inFiles;
    try {
        auto in = OpenCatalogFile(userFolder + kPcFile);
        if (!in)
            return;
        ReadPcFile(*in, inFiles);
    } catch (const TFatalError &) {
        // A damaged file holds no revision; reading the catalog tells the learner.
        return;
    }
    for (int slot = 1; slot <= kLastBuiltInSlot; ++slot) {
        const TDBF &row = inFiles.rows[slot];
        const std::optional<qint32> &written = m_versionsInFiles[slot];
        if (!written || row.Version == *written || row.Code.isEmpty() || row.Code != catalog.rows[slot].Code)
            continue;
        if (row.Version > SavedCounts(slot).Version)
            InstallRevision(slot, CountsOfRow(row));
    }
}

void TCatalogStore::AddToCommit(TFileCommit &commit)
{
    TakeRevisionsOfOtherRuns();
    QStringList pc{kHeader, QString::number(catalog.dataVersion), kLabelFileManager, SwitchText(catalog.fileManager)};
    for (int slot = 1; slot <= kLastBuiltInSlot; ++slot) {
        const TDBF &row = catalog.rows[slot];
        const TFileCounts counts = SavedCounts(slot);
        pc << kSeparator << kLabelCode << row.Code << kLabelVersion << QString::number(counts.Version)
           << kLabelOnOff << SwitchText(row.OnOff) << kLabelOrder << row.Order << kLabelPopUp << SwitchText(row.PopUp)
           << kLabelPopUpDate << row.PopUpDate << kLabelPopUpWN << QString::number(row.PopUpWN)
           << kLabelTitle << row.Title << kLabelTangoTotal << QString::number(counts.TangoTotal)
           << kLabelDBTangoTotal << QString::number(counts.DBTangoTotal);
    }
    for (int slot = 1; slot <= kLastBuiltInSlot; ++slot)
        m_versionsInFiles[slot] = SavedCounts(slot).Version;
    pc << kSeparator << kLabelRelatedWords << QString::number(catalog.relatedWordsVersion)
       << kLabelEtymology << QString::number(catalog.etymologyVersion);

    QStringList user;
    for (int slot = kFirstUserSlot; slot <= kSlotCount; ++slot) {
        const TDBF &row = catalog.rows[slot];
        user << kSeparator << kLabelCode << row.Code << kLabelOnOff << SwitchText(row.OnOff) << kLabelOrder << row.Order
             << kLabelPopUp << SwitchText(row.PopUp) << kLabelPopUpDate << row.PopUpDate << kLabelPopUpWN
             << QString::number(row.PopUpWN);
    }

    QDir().mkpath(userFolder + QFileInfo(kPcFile).path());
    commit.AddLines(userFolder + kPcFile, pc);
    commit.AddLines(userFolder + kUserFile, user);
}

void TCatalogStore::MergeServerCatalog()
{
    if (catalog.dataVersion < siteCatalog.dataVersion) {
        catalog.dataVersion = siteCatalog.dataVersion;
        for (int slot = 1; slot <= kLastBuiltInSlot; ++slot) {
            const TDBF &server = siteCatalog.rows[slot];
            TDBF &row = catalog.rows[slot];
            // A row whose code is not the slot's own never names a file here.
            if (server.Version > 0 && row.Version == 0 && FileSlotOfCode(server.Code) == slot)
                TakeServerRow(row, server);
        }
    }
    SaveCatalog();
}
