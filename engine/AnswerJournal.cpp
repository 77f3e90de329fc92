// The answer journal: written line by line while a file is studied.
#include "engine/AnswerJournal.h"

#include "base/TError.h"
#include "base/TextFiles.h"
#include "data/RecordFile.h"
#include "data/WordTable.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <array>
#include <cerrno>
#include <climits>
#include <limits>
#include <optional>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QByteArray kMagic = QByteArrayLiteral("TessarionAnswerJournal");
const QByteArray kFormat = QByteArrayLiteral("1");
const QString kJournalSuffix = QStringLiteral(".journal");
const QString kNoRecord = QStringLiteral("-");
constexpr int kGenerationDigits = 16;
constexpr int kChecksumDigits = 8;
constexpr int kEntryPrefixFields = 6;   // question, word, grade, raises, correct, day
constexpr int kHeaderFields = 4;
// One question raises the counters once; more between two lines of one run
// cannot happen, and a line that says so is not replayed.
constexpr qint32 kMostRaisesPerLine = 1000;
constexpr char kRight = 'R';
constexpr char kWrong = 'W';

constexpr std::array<quint32, 256> MakeCrcTable()
{
    std::array<quint32, 256> table{};
    for (quint32 n = 0; n < 256; ++n) {
        quint32 c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}
constexpr std::array<quint32, 256> kCrcTable = MakeCrcTable();

quint32 Crc32(QByteArrayView bytes)
{
    quint32 c = 0xFFFFFFFFu;
    for (const char ch : bytes)
        c = kCrcTable[(c ^ static_cast<quint8>(ch)) & 0xFFu] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

QByteArray WithChecksum(const QByteArray &content)
{
    return content + '\t' + QByteArray::number(Crc32(content), 16).rightJustified(kChecksumDigits, '0') + '\n';
}

// The content of a whole line (without its end) whose checksum holds.
std::optional<QByteArrayView> CheckedContent(QByteArrayView line)
{
    const qsizetype tab = line.lastIndexOf('\t');
    if (tab < 0 || line.size() - tab - 1 != kChecksumDigits)
        return std::nullopt;
    bool ok = false;
    const quint32 stored = line.sliced(tab + 1).toByteArray().toUInt(&ok, 16);
    const QByteArrayView content = line.first(tab);
    if (!ok || stored != Crc32(content))
        return std::nullopt;
    return content;
}

std::optional<QString> StrictUtf8(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return std::nullopt;
    return text;
}

std::optional<qint64> Number(QStringView text, qint64 least, qint64 most)
{
    if (text.isEmpty() || (text.size() > 1 && text.front() == u'0'))
        return std::nullopt;
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    if (!ok || n < least || n > most || text.front() == u'+')
        return std::nullopt;
    return n;
}

std::optional<TJournalEntry> ParseEntry(QByteArrayView line)
{
    const std::optional<QByteArrayView> content = CheckedContent(line);
    if (!content)
        return std::nullopt;
    const std::optional<QString> text = StrictUtf8(*content);
    if (!text)
        return std::nullopt;
    QList<QStringView> prefix;
    qsizetype at = 0;
    while (prefix.size() < kEntryPrefixFields) {
        const qsizetype tab = text->indexOf(u'\t', at);
        if (tab < 0)
            return std::nullopt;
        prefix.append(QStringView(*text).sliced(at, tab - at));
        at = tab + 1;
    }
    TJournalEntry e;
    const auto question = Number(prefix[0], 1, INT_MAX);
    const auto word = Number(prefix[1], 1, kMaxWords);
    const auto raises = Number(prefix[3], 0, kMostRaisesPerLine);
    const auto correct = Number(prefix[4], 0, INT_MAX);
    const auto day = Number(prefix[5], 0, std::numeric_limits<qint64>::max());
    const bool grade = prefix[2] == QString(QChar(kRight)) || prefix[2] == QString(QChar(kWrong));
    if (!question || !word || !raises || !correct || !day || !grade)
        return std::nullopt;
    e.question = static_cast<qint32>(*question);
    e.word = static_cast<qint32>(*word);
    e.correct = prefix[2] == QString(QChar(kRight));
    e.raises = static_cast<qint32>(*raises);
    e.correctToday = static_cast<qint32>(*correct);
    e.day = *day;
    e.record = text->sliced(at);
    if (e.record.count(u'\t') != kRecordFieldCount - 1)
        return std::nullopt;
    // The fields must read as a record file's line would.
    try {
        TTango t;
        ReadRecordFields(e.record, e.record.indexOf(u'\t') + 1, t);
        RebuildHistoryArrays(t);
    } catch (const TFatalError &) {
        return std::nullopt;
    }
    return e;
}

TJournalStepObserver &StepObserver()
{
    static TJournalStepObserver observer;
    return observer;
}

void Tell(TJournalStep step)
{
    if (const TJournalStepObserver &observer = StepObserver())
        observer(step);
}

[[noreturn]] void RaiseJournalError(const QString &path, int systemError)
{
    throw TFatalError(QStringLiteral("解答の控えを書き込めません。\n%1\n%2")
                          .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(systemError))));
}

// A new name in a folder lasts a power cut only once the folder is synced.
void SyncFolderOf(const QString &path)
{
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}
} // namespace

QString AnswerJournalPath(const QString &userFolder, const QString &fileCode)
{
    QString path = RecordFilePath(userFolder, fileCode);
    path.chop(QFileInfo(path).suffix().size() + 1);
    return path + kJournalSuffix;
}

QString RecordGeneration(const QByteArray &recordBytes)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(recordBytes, QCryptographicHash::Sha256).toHex().left(kGenerationDigits));
}

QString RecordGenerationOnDisk(const QString &path)
{
    if (!QFileInfo::exists(path))
        return kNoRecord;
    return RecordGeneration(ReadStateFileBytes(path));
}

QByteArray JournalHeaderLine(const QString &code, const QString &generation)
{
    return WithChecksum(kMagic + '\t' + kFormat + '\t' + code.toUtf8() + '\t' + generation.toUtf8());
}

QByteArray JournalEntryLine(const TJournalEntry &e)
{
    const QByteArray content = QByteArray::number(e.question) + '\t' + QByteArray::number(e.word) + '\t'
                               + (e.correct ? kRight : kWrong) + '\t' + QByteArray::number(e.raises) + '\t'
                               + QByteArray::number(e.correctToday) + '\t' + QByteArray::number(e.day) + '\t'
                               + e.record.toUtf8();
    return WithChecksum(content);
}

TJournalRead ReadAnswerJournal(const QByteArray &bytes)
{
    TJournalRead read;
    qsizetype start = 0;
    int lineNumber = 0;
    while (start < bytes.size()) {
        const qsizetype end = bytes.indexOf('\n', start);
        ++lineNumber;
        if (end < 0) {
            // Cut while it was written: the answer being graded when the
            // program ended, or the journal's very first line.
            read.tornLastLine = lineNumber > 1;
            return read;
        }
        const QByteArrayView line = QByteArrayView(bytes).sliced(start, end - start);
        start = end + 1;
        if (lineNumber == 1) {
            read.headerComplete = true;
            const std::optional<QByteArrayView> content = CheckedContent(line);
            const QList<QByteArray> fields = content ? content->toByteArray().split('\t') : QList<QByteArray>();
            if (fields.size() != kHeaderFields || fields[0] != kMagic || fields[1] != kFormat) {
                read.headerDamaged = true;
                return read;
            }
            read.code = QString::fromUtf8(fields[2]);
            read.generation = QString::fromUtf8(fields[3]);
            continue;
        }
        std::optional<TJournalEntry> entry = ParseEntry(line);
        if (!entry) {
            read.damagedLine = lineNumber;
            return read;
        }
        read.entries.append(std::move(*entry));
    }
    return read;
}

// ---- writing ---------------------------------------------------------------

TAnswerJournal::~TAnswerJournal()
{
    Close();
}

TAnswerJournal::TIdentity TAnswerJournal::IdentityOf(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {static_cast<quint64>(st.st_dev), static_cast<quint64>(st.st_ino), static_cast<qint64>(st.st_size),
            static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

void TAnswerJournal::Append(const QString &journalPath, const QString &recordPath, const QString &code,
                            const TJournalEntry &entry)
{
    if (IsOpen() && m_path != journalPath)
        Close();   // another file's journal waits for that file's next load
    if (IsOpen() && !(IdentityOf(recordPath) == m_record)) {
        // The record was written since the journal started: a save that
        // landed holds every answer of the journal; one that failed left it
        // as it was.
        const QString generation = RecordGenerationOnDisk(recordPath);
        if (generation != m_generation) {
            Remove();
            Start(journalPath, recordPath, code, generation, entry);
            return;
        }
        m_record = IdentityOf(recordPath);
    }
    if (!IsOpen()) {
        Start(journalPath, recordPath, code, RecordGenerationOnDisk(recordPath), entry);
        return;
    }
    Tell(TJournalStep::BeforeLine);
    Write(JournalEntryLine(entry));
    ++m_unsynced;
    if (m_unsynced >= kAnswersPerSync || m_sinceSync.elapsed() >= kJournalSyncIntervalMs)
        Sync();
    Tell(TJournalStep::AfterLine);
}

void TAnswerJournal::Start(const QString &journalPath, const QString &recordPath, const QString &code,
                           const QString &generation, const TJournalEntry &entry)
{
    // The load of the file replays or removes a journal before a run
    // begins; one still here is kept, not overwritten.
    if (QFileInfo(journalPath).isFile())
        KeepCopy(journalPath, QStringLiteral("unreplayed"));
    m_record = IdentityOf(recordPath);
    m_generation = generation;
    Tell(TJournalStep::BeforeLine);
    m_fd = ::open(QFile::encodeName(journalPath).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC,
                  0644);
    if (m_fd < 0)
        RaiseJournalError(journalPath, errno);
    m_path = journalPath;
    m_file = IdentityOf(journalPath);
    // The header and the first answer in one write: a journal is never
    // without the generation its answers apply to.
    Write(JournalHeaderLine(code, generation) + JournalEntryLine(entry));
    Sync();
    SyncFolderOf(journalPath);
    Tell(TJournalStep::AfterLine);
}

void TAnswerJournal::Write(const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(m_fd, data, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            CloseFile();
            RaiseJournalError(m_path, error);
        }
        data += n;
        left -= n;
    }
}

void TAnswerJournal::Sync()
{
    if (::fdatasync(m_fd) != 0) {
        const int error = errno;
        CloseFile();
        RaiseJournalError(m_path, error);
    }
    m_unsynced = 0;
    m_sinceSync.start();
}

void TAnswerJournal::CloseFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_unsynced = 0;
}

void TAnswerJournal::Close()
{
    CloseFile();
    m_path.clear();
}

void TAnswerJournal::Remove()
{
    if (m_path.isEmpty())
        return;
    CloseFile();
    // A journal put in its place since (a record folder imported over the
    // one being studied) belongs to that folder.
    const TIdentity now = IdentityOf(m_path);
    if (now.device == m_file.device && now.inode == m_file.inode)
        QFile::remove(m_path);
    SyncFolderOf(m_path);
    m_path.clear();
}

void SetJournalStepObserver(TJournalStepObserver observer)
{
    StepObserver() = std::move(observer);
}
