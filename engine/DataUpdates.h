#pragma once
// Keeping the program's data current from the server: the server catalog,
// revised learning files, the related-words file, newly released files and
// the offer of a newer program. The HTTP client itself is a platform service
// behind TDownloadService (net/ has the real one); everything here decides
// what to fetch, checks what arrived and replaces a file only when the new
// one reads as what it claims to be. Whatever goes wrong, the learner's files
// stay as they were and a message says why.
#include "engine/CommonUnit.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

// How one fetch ended.
enum class TDownloadOutcome {
    Completed,      // the whole body arrived and matched its Content-Length
    NoConnection,   // the server did not answer at all
    NotOnServer,    // an answer other than the file (404, 500, a redirect, ...)
    Interrupted,    // a read failed, the server stalled or the time ran out
    SizeMismatch,   // more or fewer bytes than Content-Length, or none given
    TooLarge,       // beyond the bound of a sane data file
};

struct TDownloadResult {
    TDownloadOutcome outcome = TDownloadOutcome::NoConnection;
    QByteArray body;   // only for Completed
    QString detail;    // what the server did, for the message
};

// The HTTP client as the updates see it. Paths are relative to the server's
// base address ("Programs/TT_enc.dat").
class TDownloadService {
public:
    virtual ~TDownloadService() = default;
    virtual bool IsInternetConnected() = 0;
    // The size the server reports for a path; 0 when unknown.
    virtual qint64 RemoteFileSize(const QString &path) = 0;
    // The body of a path, received bytes reported as they arrive.
    virtual TDownloadResult Fetch(const QString &path, const std::function<void(qint64 received)> &progress) = 0;
};

// The server's base address: the first line that is neither empty nor a
// comment ("#") of "ServerAddress.dat" in the user's configuration folder
// ($XDG_CONFIG_HOME/tessarion/, else ~/.config/tessarion/) or, when that
// file does not exist, beside the program. Only http and https addresses
// with a host are taken; `problem` says why any other text was not.
struct TServerAddress {
    QString url;       // empty: no server, every network action is offline
    QString problem;   // set when a configuration file holds no usable address
};
TServerAddress ReadServerAddress(const QString &programFolder);
// The same check for an address given on a command line; empty when usable.
QString ServerAddressProblem(const QString &url);

// True when a server catalog row may name a file: its code is the code the
// slot table gives that built-in slot. Every path formed from a code that
// came from outside goes through this first.
bool IsServedCodeOfSlot(const QString &code, int slot);

// The checks a download passes before it replaces anything; each raises
// TFatalError, naming what is wrong, to refuse the file.
// A server catalog: it reads as one and every code is its slot's own.
void CheckServerCatalogFile(const QString &path);
// A learning file of `code`: every word up to `tangoTotal` is there, and its
// version is `version` (any version when that is 0 or less).
void CheckDownloadedLearningFile(const QString &path, const QString &code, int tangoTotal, qint32 version);
// A related-words file: it has entries and the version `version`.
void CheckDownloadedRelatedWords(const QString &path, qint32 version);

// The SHA-256 (lower-case hex) that a checksum listing in the form sha256sum
// writes ("<64 hex digits>  <file name>") gives `fileName`.
QByteArray ListedProgramChecksum(const QByteArray &listing, const QString &fileName);
// A program package: a Debian package (an ar archive beginning with the
// member "debian-binary") whose SHA-256 is `sha256Hex`.
void CheckDownloadedProgram(const QString &path, const QByteArray &sha256Hex);

// What the updates tell whoever runs them. Every member may be empty.
struct TUpdateObserver {
    std::function<void(const QString &text)> status;   // replaces the status text
    std::function<void(const QString &line)> report;   // one line per file fetched, replaced, merged or refused
    std::function<void(qint64 maximum)> showGauge;
    std::function<void()> hideGauge;
    std::function<void(qint64 position)> progress;
    std::function<void()> dataReplaced;                // a data file was replaced: restart to use it
};

class TDataUpdater {
public:
    // `service` may be null: no server is configured, nothing is fetched.
    TDataUpdater(TCC &cc, TDownloadService *service, TUpdateObserver observer = {});

    bool IsInternetConnected();
    qint64 RemoteFileSize(const QString &path);

    // Fetches a server path into the temporary file `temporaryPath`. False,
    // with a message to the learner for a broken transfer, when anything
    // went wrong; `body` then stays empty and no file is written.
    bool DownloadFile(const QString &serverPath, const QString &temporaryPath, QByteArray &body);

    // Downloads the server catalog (unless `loading`) and reads it. A
    // download that does not read as a server catalog, or names a file
    // outside the slot table, is refused and the previous catalog is read.
    void RefreshServerCatalog(bool loading);
    // Revised learning files of switched-on slots, then the related words.
    void DownloadRevisions();
    // Files the server offers that the local catalog has not got yet join it
    // switched off, ordered by their slot. The data version stays.
    void MergeNewReleases();
    // The data updates of the version check, in order: the server catalog,
    // the local catalog read again, the revisions, the new releases.
    void RunDataUpdates();
    // A switched-on learning file missing from the program folder (the file
    // manager's download), at the version the server catalog offers when
    // that is newer than the listed one; false when it could not be fetched
    // or checked.
    bool DownloadLearningFile(const QString &code);

    // The server offers a newer program than this one.
    bool NewerProgramOffered() const;
    // Fetches the release package and saves it as `destination`, only when
    // it is the Debian package whose checksum the server lists beside it;
    // otherwise a message names what was wrong and nothing is written.
    bool DownloadProgram(const QString &destination);

    bool AnyDataReplaced() const { return m_replaced; }

private:
    // Fetches, checks with `check` (throws TFatalError to refuse) and
    // replaces `target` as one atomic step. False when anything failed.
    bool FetchAndReplace(const QString &serverPath, const QString &temporaryPath, const QString &target,
                         const std::function<void(const QString &temporary)> &check);
    bool RevisedLearningFile(int slot, const TDBF &server);
    void RevisedRelatedWords();
    void Status(const QString &text);
    void Report(const QString &line);
    void Refuse(const QString &what, const QString &why);

    TCC &m_cc;
    TDownloadService *m_service;
    TUpdateObserver m_observer;
    bool m_replaced = false;
};

// The server paths the updates use.
QString ServerPathOfLearningFile(const QString &code);
extern const QString kServerCatalogPath;
extern const QString kServerRelatedWordsPath;
extern const QString kServerProgramPath;
// Beside the package: its SHA-256 as sha256sum lists it.
extern const QString kServerProgramChecksumPath;
// The version check's own status texts.
extern const QString kNoConnectionStatus;
extern const QString kUpToDateStatus;
extern const QString kDownloadFailedStatus;
