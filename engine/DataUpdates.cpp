// The updates of the program's data from the server, and the checks that keep
// a misbehaving server from touching the learner's files.
#include "engine/DataUpdates.h"
#include "base/TError.h"
#include "base/TextFiles.h"
#include "data/LearningFile.h"
#include "data/RelatedWords.h"

#include <QCryptographicHash>
#include <algorithm>
#include <cctype>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QUrl>

const QString kServerCatalogPath = QStringLiteral("Programs/FileInfo_SITE.dat");
const QString kServerRelatedWordsPath = QStringLiteral("Programs/ENG_Quote_enc.dat");
const QString kServerProgramPath = QStringLiteral("Programs/tessarion_amd64.deb");
const QString kServerProgramChecksumPath = kServerProgramPath + QStringLiteral(".sha256");
const QString kNoConnectionStatus = QStringLiteral("インターネットの接続に問題があるのでチェックできませんでした");
const QString kUpToDateStatus = QStringLiteral("この Tessarion は最新版です。");
const QString kDownloadFailedStatus = QStringLiteral("ダウンロードに失敗しました。");

namespace {
const QString kServerFolder = QStringLiteral("Programs/");
const QString kTemporaryName = QStringLiteral("uncompleted.dat");
const QString kChecksumTemporaryName = QStringLiteral("uncompleted.sha256");
// A Debian package is an ar archive whose first member is "debian-binary".
const QByteArray kArMagic = QByteArrayLiteral("!<arch>\n");
const QByteArray kDebianBinaryMember = QByteArrayLiteral("debian-binary");
constexpr int kArHeaderSize = 60;
constexpr int kSha256HexLength = 64;
const QString kServerAddressFile = QStringLiteral("ServerAddress.dat");
const QString kConfigFolderName = QStringLiteral("tessarion");
constexpr qint64 kMissingLearningFileSize = 500 * 1024;
constexpr qint64 kMissingRelatedWordsSize = 290 * 1024;

const QString kInterruptedMessage =
    QStringLiteral("ダウンロード中に問題が発生しました。安定したインターネット接続環境で実行してください。");
const QString kSizeMismatchMessage = QStringLiteral("学習ファイルのダウンロードに失敗しました【エラーコード 333 】");
const QString kTooLargeMessage = QStringLiteral("ダウンロードしたファイルが大きすぎるため、受け取りませんでした。");
const QString kRefusedFileMessage =
    QStringLiteral("ダウンロードしたファイルが正しくないため、使いませんでした。元のファイルはそのままです。");
const QString kRevisionStatus = QStringLiteral("学習ファイルの改訂版をダウンロードしています。しばらくお待ちください。");
const QString kRevisionDone = QStringLiteral("「%1」 の学習ファイルのアップデートが完了しました。");
const QString kRelatedWordsDone = QStringLiteral("関連語データファイルのアップデートが完了しました。");

QString OutcomeText(const TDownloadResult &result)
{
    switch (result.outcome) {
    case TDownloadOutcome::Completed: return QStringLiteral("completed");
    case TDownloadOutcome::NoConnection: return QStringLiteral("no connection");
    case TDownloadOutcome::NotOnServer: return QStringLiteral("not on the server");
    case TDownloadOutcome::Interrupted: return QStringLiteral("interrupted");
    case TDownloadOutcome::SizeMismatch: return QStringLiteral("size differs from Content-Length");
    case TDownloadOutcome::TooLarge: return QStringLiteral("too large");
    }
    return {};
}

qint64 SizeOrDefault(const QString &path, qint64 missing)
{
    const QFileInfo info(path);
    return info.exists() ? info.size() : missing;
}

QString ConfigFolder()
{
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QString base = env.value(QStringLiteral("XDG_CONFIG_HOME"));
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QLatin1Char('/') + kConfigFolderName + QLatin1Char('/');
}
}

QString ServerPathOfLearningFile(const QString &code)
{
    return kServerFolder + code + QStringLiteral("_enc.dat");
}

QString ServerAddressProblem(const QString &url)
{
    const QUrl parsed(url, QUrl::StrictMode);
    if (!parsed.isValid() || parsed.host().isEmpty()
        || (parsed.scheme() != QLatin1String("http") && parsed.scheme() != QLatin1String("https")))
        return QStringLiteral("サーバーのアドレスとして使えません（http:// か https:// で始まるアドレスを書いてください）: %1")
            .arg(url);
    return {};
}

TServerAddress ReadServerAddress(const QString &programFolder)
{
    QString path = ConfigFolder() + kServerAddressFile;
    if (!QFileInfo::exists(path))
        path = programFolder + kServerAddressFile;
    const std::optional<QStringList> lines = ReadStateLines(path);
    if (!lines)
        return {};
    for (const QString &line : *lines) {
        const QString text = line.trimmed();
        if (text.isEmpty() || text.startsWith(QLatin1Char('#')))
            continue;
        const QString problem = ServerAddressProblem(text);
        if (!problem.isEmpty())
            return {QString(), problem + QStringLiteral("\n") + QDir::toNativeSeparators(path)};
        return {text, QString()};
    }
    return {};
}

bool IsServedCodeOfSlot(const QString &code, int slot)
{
    return slot >= 1 && slot <= kLastBuiltInSlot && !code.isEmpty() && FileSlotOfCode(code) == slot
        && FileCodeOfSlot(slot) == code;
}

void CheckServerCatalogFile(const QString &path)
{
    const std::optional<QStringList> lines = ReadStateLines(path);
    if (!lines)
        throw TFatalError(QStringLiteral("読めません: ") + QDir::toNativeSeparators(path));
    const TCatalog site = ReadServerCatalogLines(*lines, QDir::toNativeSeparators(path));
    for (int slot = 1; slot <= kLastBuiltInSlot; ++slot) {
        const QString &code = site.rows[slot].Code;
        if (!code.isEmpty() && !IsServedCodeOfSlot(code, slot))
            throw TFatalError(QStringLiteral("番号 %1 のファイルコード「%2」はこのプログラムにありません。").arg(slot).arg(code));
    }
}

void CheckDownloadedLearningFile(const QString &path, const QString &code, int tangoTotal, qint32 version)
{
    TWordTable words;
    TCollectingNotifier quiet;
    qint32 read = 0;
    ReadLearningFile(path, code, tangoTotal, read, words, quiet);
    if (version > 0 && read != version)
        throw TFatalError(QStringLiteral("版が %1 ではなく %2 です。").arg(version).arg(read));
}

void CheckDownloadedRelatedWords(const QString &path, qint32 version)
{
    QTemporaryDir dir;
    if (!dir.isValid() || !QDir().mkpath(dir.filePath(QStringLiteral("resource")))
        || !QFile::copy(path, dir.filePath(kRelatedWordsFile)))
        throw TFatalError(QStringLiteral("一時フォルダーに確認用のファイルを作れません: ") + dir.path());
    TRelatedWords table;
    LoadRelatedWords(dir.path() + QLatin1Char('/'), table);
    if (table.entryCount == 0)
        throw TFatalError(QStringLiteral("関連語がひとつもありません。"));
    if (table.version != version)
        throw TFatalError(QStringLiteral("版が %1 ではなく %2 です。").arg(version).arg(table.version));
}

QByteArray ListedProgramChecksum(const QByteArray &listing, const QString &fileName)
{
    for (const QByteArray &raw : listing.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const qsizetype gap = line.indexOf(' ');
        const QByteArray digest = line.left(gap).toLower();
        QByteArray name = gap < 0 ? QByteArray() : line.mid(gap).trimmed();
        if (name.startsWith('*'))   // sha256sum's binary-mode mark
            name.remove(0, 1);
        if (name != fileName.toUtf8())
            continue;
        const bool hex = digest.size() == kSha256HexLength
            && std::all_of(digest.begin(), digest.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
        if (!hex)
            throw TFatalError(QStringLiteral("%1 のチェックサムが SHA-256 の形（16 進数 64 桁）ではありません。").arg(fileName));
        return digest;
    }
    throw TFatalError(QStringLiteral("チェックサムの一覧に %1 の行がありません。").arg(fileName));
}

void CheckDownloadedProgram(const QString &path, const QByteArray &sha256Hex)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TFatalError(QStringLiteral("読めません: ") + QDir::toNativeSeparators(path));
    const QByteArray head = file.peek(kArMagic.size() + kArHeaderSize);
    const QByteArray member = head.mid(kArMagic.size(), kDebianBinaryMember.size() + 1);
    const bool package = head.startsWith(kArMagic)
        && member.startsWith(kDebianBinaryMember)
        && (member.endsWith(' ') || member.endsWith('/'));
    if (!package)
        throw TFatalError(QStringLiteral("Debian パッケージ（.deb）ではありません。"));
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        throw TFatalError(QStringLiteral("読めません: ") + QDir::toNativeSeparators(path));
    const QByteArray actual = hash.result().toHex();
    if (actual != sha256Hex.toLower())
        throw TFatalError(QStringLiteral("チェックサムがサーバーの一覧と違います。途中で壊れたか、別のファイルです。"));
}

TDataUpdater::TDataUpdater(TCC &cc, TDownloadService *service, TUpdateObserver observer)
    : m_cc(cc), m_service(service), m_observer(std::move(observer))
{
}

void TDataUpdater::Status(const QString &text)
{
    if (m_observer.status)
        m_observer.status(text);
}

void TDataUpdater::Report(const QString &line)
{
    if (m_observer.report)
        m_observer.report(line);
}

void TDataUpdater::Refuse(const QString &what, const QString &why)
{
    Report(QStringLiteral("refused\t%1\t%2").arg(what, why));
}

bool TDataUpdater::IsInternetConnected()
{
    return m_service && m_service->IsInternetConnected();
}

qint64 TDataUpdater::RemoteFileSize(const QString &path)
{
    return m_service ? m_service->RemoteFileSize(path) : 0;
}

bool TDataUpdater::DownloadFile(const QString &serverPath, const QString &temporaryPath, QByteArray &body)
{
    body.clear();
    if (!m_service)
        return false;
    const auto progress = [this](qint64 received) {
        if (m_observer.progress)
            m_observer.progress(received);
    };
    TDownloadResult result = m_service->Fetch(serverPath, progress);
    const QString where = serverPath + (result.detail.isEmpty() ? QString() : QStringLiteral(" (") + result.detail + QLatin1Char(')'));
    switch (result.outcome) {
    case TDownloadOutcome::Completed:
        break;
    case TDownloadOutcome::NoConnection:
    case TDownloadOutcome::NotOnServer:
        // The caller says the download failed; no box of its own.
        Refuse(serverPath, OutcomeText(result) + (result.detail.isEmpty() ? QString() : QStringLiteral(": ") + result.detail));
        return false;
    case TDownloadOutcome::Interrupted:
        m_cc.notifier->Error(kInterruptedMessage + QStringLiteral("\n") + where);
        Refuse(serverPath, OutcomeText(result) + QStringLiteral(": ") + result.detail);
        return false;
    case TDownloadOutcome::SizeMismatch:
        m_cc.notifier->Error(kSizeMismatchMessage + QStringLiteral("\n") + where);
        Refuse(serverPath, OutcomeText(result) + QStringLiteral(": ") + result.detail);
        return false;
    case TDownloadOutcome::TooLarge:
        m_cc.notifier->Error(kTooLargeMessage + QStringLiteral("\n") + where);
        Refuse(serverPath, OutcomeText(result) + QStringLiteral(": ") + result.detail);
        return false;
    }
    try {
        QDir().mkpath(QFileInfo(temporaryPath).absolutePath());
        WriteFileAtomic(temporaryPath, result.body);
    } catch (const TFatalError &e) {
        m_cc.notifier->Error(e.Message());
        Refuse(serverPath, e.Message());
        return false;
    }
    body = std::move(result.body);
    Report(QStringLiteral("fetched\t%1\t%2 bytes").arg(serverPath).arg(body.size()));
    return true;
}

bool TDataUpdater::FetchAndReplace(const QString &serverPath, const QString &temporaryPath, const QString &target,
                                   const std::function<void(const QString &temporary)> &check)
{
    QByteArray body;
    if (!DownloadFile(serverPath, temporaryPath, body))
        return false;
    try {
        check(temporaryPath);
    } catch (const TFatalError &e) {
        QFile::remove(temporaryPath);
        m_cc.notifier->Error(kRefusedFileMessage + QStringLiteral("\n") + serverPath + QStringLiteral("\n") + e.Message());
        Refuse(serverPath, e.Message().section(QLatin1Char('\n'), 0, 0));
        return false;
    }
    try {
        QDir().mkpath(QFileInfo(target).absolutePath());
        WriteFileAtomic(target, body);
    } catch (const TFatalError &e) {
        QFile::remove(temporaryPath);
        m_cc.notifier->Error(e.Message());
        Refuse(serverPath, e.Message());
        return false;
    }
    QFile::remove(temporaryPath);
    Report(QStringLiteral("replaced\t%1").arg(QDir::toNativeSeparators(target)));
    return true;
}

void TDataUpdater::RefreshServerCatalog(bool loading)
{
    if (!loading && m_service) {
        const QString target = m_cc.userFolder + kServerCatalogFile;
        FetchAndReplace(kServerCatalogPath, m_cc.userFolder + kTemporaryName, target, &CheckServerCatalogFile);
    }
    m_cc.LoadServerCatalog();
}

bool TDataUpdater::RevisedLearningFile(int slot, const TDBF &server)
{
    const QString code = server.Code;
    const QString target = m_cc.BuiltInLearningFilePath(code);
    Status(kRevisionStatus);
    if (m_observer.showGauge)
        m_observer.showGauge(SizeOrDefault(target, kMissingLearningFileSize));
    const bool done = FetchAndReplace(ServerPathOfLearningFile(code), m_cc.programFolder + QStringLiteral("resource/") + kTemporaryName,
                                      target, [&](const QString &temporary) {
        // It must read as the learning file the server announced.
        CheckDownloadedLearningFile(temporary, code, server.TangoTotal, server.Version);
    });
    if (m_observer.hideGauge)
        m_observer.hideGauge();
    if (!done) {
        Status(kDownloadFailedStatus);
        return false;
    }
    // The revision's word counts come with it, so that its new rows are
    // learned; the file that is open keeps its loaded words until the restart.
    m_cc.catalogs.InstallRevision(slot, CountsOfRow(server));
    m_cc.SaveCatalog();
    m_replaced = true;
    if (m_observer.dataReplaced)
        m_observer.dataReplaced();
    Status(kRevisionDone.arg(m_cc.catalog.rows[slot].Title));
    return true;
}

void TDataUpdater::RevisedRelatedWords()
{
    const qint32 serverVersion = m_cc.siteCatalog.relatedWordsVersion;
    const QString target = m_cc.programFolder + kRelatedWordsFile;
    Status(kRevisionStatus);
    if (m_observer.showGauge)
        m_observer.showGauge(SizeOrDefault(target, kMissingRelatedWordsSize));
    const bool done = FetchAndReplace(kServerRelatedWordsPath, m_cc.programFolder + QStringLiteral("resource/") + kTemporaryName,
                                      target, [&](const QString &temporary) { CheckDownloadedRelatedWords(temporary, serverVersion); });
    if (m_observer.hideGauge)
        m_observer.hideGauge();
    if (!done) {
        Status(kDownloadFailedStatus);
        return;
    }
    m_cc.catalog.relatedWordsVersion = serverVersion;
    m_cc.SaveCatalog();
    m_replaced = true;
    if (m_observer.dataReplaced)
        m_observer.dataReplaced();
    Status(kRelatedWordsDone);
}

void TDataUpdater::DownloadRevisions()
{
    for (int slot = 1; slot <= kLastBuiltInSlot; ++slot) {
        const TDBF &local = m_cc.catalog.rows[slot];
        if (local.Code.isEmpty())
            continue;
        const TDBF *server = nullptr;
        for (int s = 1; s <= kLastBuiltInSlot && !server; ++s) {
            if (m_cc.siteCatalog.rows[s].Code == local.Code)
                server = &m_cc.siteCatalog.rows[s];
        }
        if (!server || m_cc.catalogs.SavedCounts(slot).Version >= server->Version || !local.OnOff)
            continue;
        if (!IsServedCodeOfSlot(local.Code, slot)) {
            Refuse(local.Code, QStringLiteral("not a file code of slot %1").arg(slot));
            continue;
        }
        RevisedLearningFile(slot, *server);
    }
    if (m_cc.catalog.relatedWordsVersion < m_cc.siteCatalog.relatedWordsVersion)
        RevisedRelatedWords();
}

void TDataUpdater::RunDataUpdates()
{
    RefreshServerCatalog(false);
    m_cc.LoadCatalog();
    DownloadRevisions();
    MergeNewReleases();
}

void TDataUpdater::MergeNewReleases()
{
    for (int slot = 1; slot <= kLastBuiltInSlot; ++slot) {
        const TDBF &server = m_cc.siteCatalog.rows[slot];
        TDBF &row = m_cc.catalog.rows[slot];
        if (server.Version <= 0 || row.Version != 0)
            continue;
        if (!IsServedCodeOfSlot(server.Code, slot)) {
            Refuse(server.Code, QStringLiteral("not a file code of slot %1").arg(slot));
            continue;
        }
        row.Code = server.Code;
        row.Version = server.Version;
        row.Title = server.Title;
        row.TangoTotal = server.TangoTotal;
        row.DBTangoTotal = server.DBTangoTotal;
        row.OnOff = false;
        row.Order = QString::number(slot);
        Report(QStringLiteral("merged\t%1\t%2").arg(row.Code, row.Title));
    }
    m_cc.SaveCatalog();
}

bool TDataUpdater::DownloadLearningFile(const QString &code)
{
    const int slot = FileSlotOfCode(code);
    if (!IsServedCodeOfSlot(code, slot)) {
        Refuse(code, QStringLiteral("not a built-in file code"));
        return false;
    }
    // The server may have revised the file since the catalog listed it: it
    // then arrives as the server catalog announces it, with its word counts.
    const TFileCounts listed = m_cc.catalogs.SavedCounts(slot);
    const TDBF &offered = m_cc.siteCatalog.rows[slot];
    const TFileCounts counts = offered.Code == code && offered.Version > listed.Version ? CountsOfRow(offered) : listed;
    const bool done = FetchAndReplace(ServerPathOfLearningFile(code), m_cc.userFolder + kTemporaryName,
                                      m_cc.BuiltInLearningFilePath(code), [&](const QString &temporary) {
        CheckDownloadedLearningFile(temporary, code, counts.TangoTotal, counts.Version);
    });
    if (done && counts != listed) {
        m_cc.catalogs.InstallRevision(slot, counts);
        m_cc.SaveCatalog();
    }
    return done;
}

bool TDataUpdater::NewerProgramOffered() const
{
    return m_cc.catalog.dataVersion < m_cc.siteCatalog.dataVersion;
}

bool TDataUpdater::DownloadProgram(const QString &destination)
{
    // The package is only saved where the learner chose; nothing installs it.
    // It must be the package the server lists beside it: a Debian package
    // whose SHA-256 is the one in the checksum file.
    QByteArray listing;
    const QString checksumTemporary = m_cc.userFolder + kChecksumTemporaryName;
    if (!DownloadFile(kServerProgramChecksumPath, checksumTemporary, listing)) {
        QFile::remove(checksumTemporary);
        m_cc.notifier->Error(kRefusedFileMessage + QStringLiteral("\n") + kServerProgramPath + QStringLiteral("\n")
                             + QStringLiteral("チェックサムの一覧 %1 を受け取れませんでした。").arg(kServerProgramChecksumPath));
        return false;
    }
    QFile::remove(checksumTemporary);
    QByteArray digest;
    try {
        digest = ListedProgramChecksum(listing, QFileInfo(kServerProgramPath).fileName());
    } catch (const TFatalError &e) {
        m_cc.notifier->Error(kRefusedFileMessage + QStringLiteral("\n") + kServerProgramChecksumPath + QStringLiteral("\n") + e.Message());
        Refuse(kServerProgramChecksumPath, e.Message());
        return false;
    }
    return FetchAndReplace(kServerProgramPath, m_cc.userFolder + kTemporaryName, destination,
                           [&](const QString &temporary) { CheckDownloadedProgram(temporary, digest); });
}
