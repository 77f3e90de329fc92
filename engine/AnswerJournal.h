#pragma once
// The answer journal record/Record_<code>.journal: every graded answer of a
// study run, one line each, written the moment it is graded. The record file
// is written only when the file ends; until then the journal is what a
// killed or crashed program leaves of the run, and the next load of the file
// puts its answers back into the record (TStudyRun::ReplayAnswerJournal).
//
// UTF-8, LF line ends, fields separated by TAB, each line ending in the
// CRC-32 of what comes before its last TAB (8 hexadecimal digits):
//   header: "TessarionAnswerJournal", format 1, file code, record generation
//   answer: question number, word position, "R" or "W", stage-1 counter
//           raises since the line before, correct answers so far, the day
//           (Julian day number), then the word's 15 record fields after the
//           answer exactly as the record file writes them.
// The record generation is a digest of the record file's bytes the journal's
// answers apply to: once the record has been saved again, the journal is
// of an older generation and is never replayed.
//
// Flushing: each line reaches the system at once (a killed program loses
// nothing written); fdatasync follows when kAnswersPerSync answers are
// waiting or a second has passed since the last one, so at a learner's pace
// every answer is on the disk before the next question, and a scripted run
// pays for a sync only every few answers.
#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <functional>

inline constexpr int kAnswersPerSync = 4;
inline constexpr int kJournalSyncIntervalMs = 1000;

struct TJournalEntry {
    qint32 question = 0;       // 1.. within the run (daily quota - remaining)
    qint32 word = 0;           // position when graded
    bool correct = false;
    qint32 raises = 0;         // stage-1 counter raises since the line before
    qint32 correctToday = 0;   // correct answers in the run, this one included
    qint64 day = 0;            // Julian day of the answer
    QString record;            // the word's record line after the answer (15 fields)

    QString Headword() const { return record.left(record.indexOf(u'\t')); }
};

// What a journal's bytes hold. Lines past the first one that does not read
// are not used: the answers after a gap would miss what it changed.
struct TJournalRead {
    bool headerComplete = false;   // false: empty, or cut inside its first line
    bool headerDamaged = false;    // a whole first line that is no journal header
    QString code;
    QString generation;
    QList<TJournalEntry> entries;
    int damagedLine = 0;           // 1-based (the header is line 1); 0: none
    bool tornLastLine = false;     // the last line stops without its end: dropped
};

QString AnswerJournalPath(const QString &userFolder, const QString &fileCode);
// The generation of a record file: a digest of its bytes.
QString RecordGeneration(const QByteArray &recordBytes);
// The generation of the record file at path as it is on disk ("-" for none).
QString RecordGenerationOnDisk(const QString &path);

QByteArray JournalHeaderLine(const QString &code, const QString &generation);
QByteArray JournalEntryLine(const TJournalEntry &entry);
TJournalRead ReadAnswerJournal(const QByteArray &bytes);

// The journal of the file being studied, written line by line.
class TAnswerJournal {
public:
    TAnswerJournal() = default;
    ~TAnswerJournal();
    TAnswerJournal(const TAnswerJournal &) = delete;
    TAnswerJournal &operator=(const TAnswerJournal &) = delete;

    // Appends one graded answer for the record file at recordPath. The first
    // answer starts the journal with the record's generation on disk; when
    // the record file has been replaced since (a save in the middle of the
    // run), the old journal is removed, as that record holds its answers,
    // and a new one starts. A journal of another file is closed and left
    // for that file's next load. Throws TFatalError naming the journal
    // when it cannot be written.
    void Append(const QString &journalPath, const QString &recordPath, const QString &code,
                const TJournalEntry &entry);
    // Closes the journal and deletes it (its answers are in the saved
    // record, or the run is dropped on purpose); also one whose writing
    // failed. Nothing when none was started.
    void Remove();
    // Closes the journal and leaves it where it is.
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    const QString &Path() const { return m_path; }

private:
    struct TIdentity {
        quint64 device = 0;
        quint64 inode = 0;
        qint64 size = -1;
        qint64 modifiedNs = 0;
        bool operator==(const TIdentity &) const = default;
    };
    static TIdentity IdentityOf(const QString &path);
    void Start(const QString &journalPath, const QString &recordPath, const QString &code,
               const QString &generation, const TJournalEntry &entry);
    void Write(const QByteArray &bytes);
    void Sync();
    void CloseFile();   // the path stays known, so that Remove() can delete it

    int m_fd = -1;
    QString m_path;
    QString m_generation;
    TIdentity m_record;    // the record file the journal started on
    TIdentity m_file;      // the journal itself: only this one is removed
    int m_unsynced = 0;
    QElapsedTimer m_sinceSync;
};

// Tests only: told just before a line is written and once it is written
// (and synced when its turn came). Empty: nobody is told.
enum class TJournalStep { BeforeLine, AfterLine };
using TJournalStepObserver = std::function<void(TJournalStep step)>;
void SetJournalStepObserver(TJournalStepObserver observer);
