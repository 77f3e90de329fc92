#pragma once
// Reading and writing of the line-by-line state files (catalog, settings,
// FormPosition.dat, UserDirectory.dat, Title.dat, ...).
//
// They are written as UTF-8 with CR LF line ends and read as UTF-8, or as
// CP932 when the bytes are not valid UTF-8 (files carried over from a Japanese
// Windows installation). Every write is atomic: a temporary file beside the
// target is flushed and renamed over it, so a crash or a full disk never
// leaves half a file in place of a good one.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// Text of a state file's bytes: UTF-8 (a leading BOM dropped) or CP932.
QString DecodeStateBytes(const QByteArray &bytes);

// Splits at CR LF, CR or LF. A final line break does not make an extra line.
QStringList SplitLines(const QString &text);
// The same lines as views of text (which must outlive them).
QList<QStringView> SplitLineViews(QStringView text);

// Only regular files are opened as data: a named pipe would block its reader
// for ever, a device never end. Throws TFatalError naming the file when
// something other than a regular file (or a link to one) is at path; a
// missing file is left to the caller.
void RequireRegularFile(const QString &path);

// Lines of a state file; std::nullopt when it does not exist or cannot be
// read. Anything but a regular file is refused (RequireRegularFile).
std::optional<QStringList> ReadStateLines(const QString &path);

// Writes lines joined and ended by CR LF, atomically. Throws TFatalError when
// the file cannot be written; the old file then stays as it was.
void WriteStateLines(const QString &path, const QStringList &lines);

// Atomic write of raw bytes (same guarantees as above).
void WriteFileAtomic(const QString &path, const QByteArray &bytes);

// Keeps a damaged file before it is reset or rebuilt: a copy beside it named
// "<name>.damaged-<yyyyMMdd-HHmmss>" (a further "-2", "-3" when that name is
// taken). Returns the copy's path; throws TFatalError, and nothing is
// changed, when the copy cannot be made.
QString KeepDamagedCopy(const QString &path);
// The same with another word in place of "damaged" ("<name>.<tag>-<time>").
QString KeepCopy(const QString &path, const QString &tag);

// Several files replaced as one. Each file is written and flushed to a
// temporary file beside its target first; only when every one is written
// are they renamed into place, in the order they were added. A failure
// before the renames changes nothing (the temporary files are discarded); a
// crash between renames leaves the files added first newer than the rest.
// Errors name the file and give the system's reason.
class TFileCommit {
public:
    void Add(const QString &path, const QByteArray &bytes);
    void AddLines(const QString &path, const QStringList &lines);
    void Commit();
    bool IsEmpty() const { return m_files.isEmpty(); }

private:
    struct TFile {
        QString path;
        QByteArray bytes;
    };
    QList<TFile> m_files;
};

// Tests only: asked before each step of a save (writing a file's temporary
// copy, or renaming it into place); true makes that step fail as a full disk
// would. Empty: no step fails.
enum class TSaveStep { Write, Rename };
using TSaveFault = std::function<bool(TSaveStep step, const QString &path)>;
void SetSaveFault(TSaveFault fault);

// Told the path of every state file once it has been written in full (tests
// follow the order in which the program saves; empty: nobody is told).
using TStateWriteObserver = std::function<void(const QString &path)>;
void SetStateWriteObserver(TStateWriteObserver observer);

// Sequential reader over the lines of a state file: asking for a line past
// the end raises the error that ends the program, never reads past the list.
class TLineReader {
public:
    TLineReader(QStringList lines, QString fileName);
    const QString &Next();
    qint32 NextInt();
    const QString *Peek() const;
    bool AtEnd() const { return m_pos >= m_lines.size(); }
    qsizetype Position() const { return m_pos; }

private:
    QStringList m_lines;
    QString m_fileName;
    qsizetype m_pos = 0;
};
