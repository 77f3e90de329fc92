// Reading the learner's workbooks and the modification times of the files.
#include "data/UserWorkbook.h"
#include "base/FileErrors.h"

#include "data/LearningFile.h"
#include "data/WordTable.h"
#include "data/WorkbookStream.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QDataStream>
#include <QElapsedTimer>
#include <QProcess>

#include <freexl.h>

#include <cerrno>
#include <cstring>
#include <csignal>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
const QString kUserWorkbookPattern = QStringLiteral("word_user/User_%1.xls");
const QString kModificationTimesFile = QStringLiteral("FileInfo/FileModifiedDate.dat");
const QByteArray kCompoundFileMagic = QByteArrayLiteral("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
const QByteArray kZipMagic = QByteArrayLiteral("PK\x03\x04");
constexpr int kMagicLength = 8;
constexpr qint64 kMaxWorkbookBytes = 64LL * 1024 * 1024;
// How long the reading child may take before it is given up (a workbook of
// the largest size allowed reads in a few seconds).
constexpr int kDefaultWorkbookReadLimitMs = 60000;
constexpr int kPipeChunk = 65536;
// What the reading child hands back, first in its reply.
enum class TChildReply : quint8 { Rows = 1, Refused = 2 };
const QString kCannotBeReadText =
    QStringLiteral("このブックは読み込めません（ブックを読む途中で読み取りが異常終了しました）。"
                   "表計算ソフトで開けるか確かめ、「Excel 97-2003 ブック（.xls）」の形式で保存し直してください。");
const QString kTooSlowText = QStringLiteral("このブックは読み込めません（%1 秒たっても読み終わりませんでした）。");

std::function<void()> &ReadFault()
{
    static std::function<void()> fault;
    return fault;
}

int &ReadLimitMs()
{
    static int limit = kDefaultWorkbookReadLimitMs;
    return limit;
}

[[noreturn]] void Refuse(const QString &path, const QString &why)
{
    throw TLearningFileRefused(QStringLiteral("ユーザーファイルを読み込めません。\n%1\n%2")
                                   .arg(QDir::toNativeSeparators(path), why));
}

// Closes the workbook however reading ends.
class TFreeXlHandle {
public:
    ~TFreeXlHandle()
    {
        if (handle)
            freexl_close(handle);
    }
    const void *handle = nullptr;
};

QString CellText(const FreeXL_CellValue &cell)
{
    switch (cell.type) {
    case FREEXL_CELL_INT:
        return QString::number(cell.value.int_value);
    case FREEXL_CELL_DOUBLE:
        // As the sheet shows it: 1984 rather than 1984.0, 0.5 as 0.5.
        return QString::number(cell.value.double_value, 'g', 15);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
        return cell.value.text_value ? QString::fromUtf8(cell.value.text_value) : QString();
    default:
        return QString();
    }
}

// Which of the 27 first-letter buckets a word goes into.
int FirstLetterBucket(const QString &word)
{
    const QChar first = word.at(0);
    if (first >= u'a' && first <= u'z')
        return first.unicode() - u'a';
    return kFirstLetterBuckets - 1;
}

// The first worksheet's rows as the reader library gives them. Runs in the
// reading child only.
QList<QStringList> ReadRowsWithFreeXl(const QString &path)
{
    TFreeXlHandle xls;
    const QByteArray nativePath = QFile::encodeName(path);
    const int opened = freexl_open(nativePath.constData(), &xls.handle);
    if (opened == FREEXL_BIFF_PASSWORD)
        Refuse(path, QStringLiteral("パスワードで保護されています。保護を外して保存し直してください。"));
    if (opened != FREEXL_OK)
        Refuse(path, QStringLiteral("ブックが壊れているか、読めない形式です（%1）。").arg(opened));
    unsigned int sheets = 0;
    if (freexl_get_info(xls.handle, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK || sheets == 0)
        Refuse(path, QStringLiteral("ワークシートがありません。"));
    unsigned int rowCount = 0;
    unsigned short columnCount = 0;
    if (freexl_select_active_worksheet(xls.handle, 0) != FREEXL_OK
        || freexl_worksheet_dimensions(xls.handle, &rowCount, &columnCount) != FREEXL_OK) {
        Refuse(path, QStringLiteral("最初のワークシートを読めません。"));
    }
    // Only the word and its meanings are ever read.
    const unsigned short usedColumns = qMin<unsigned short>(columnCount, 1 + kUserMeaningCount);
    QList<QStringList> rows;
    rows.reserve(qMin<unsigned int>(rowCount, kMaxWords * 2));
    for (unsigned int r = 0; r < rowCount; ++r) {
        QStringList cells;
        for (unsigned short c = 0; c < usedColumns; ++c) {
            FreeXL_CellValue cell;
            if (freexl_get_cell_value(xls.handle, r, c, &cell) != FREEXL_OK)
                Refuse(path, QStringLiteral("%1 行目のセルを読めません。").arg(r + 1));
            cells.append(CellText(cell));
        }
        rows.append(cells);
    }
    return rows;
}

bool WriteAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// The reading child: reads the workbook, writes its reply to `fd` and ends
// without running anything of the parent's (no exit handlers, no buffers
// flushed twice).
[[noreturn]] void RunReadingChild(const QString &path, int fd)
{
    QByteArray reply;
    {
        QDataStream out(&reply, QIODevice::WriteOnly);
        try {
            if (ReadFault())
                ReadFault()();
            const QList<QStringList> rows = ReadRowsWithFreeXl(path);
            out << quint8(TChildReply::Rows) << rows;
        } catch (const TFatalError &e) {
            out << quint8(TChildReply::Refused) << e.Message();
        } catch (...) {
            out << quint8(TChildReply::Refused) << kCannotBeReadText;
        }
    }
    _exit(WriteAll(fd, reply) ? 0 : 1);
}

// Reads the child's reply until it closes its end; false when the time
// limit passed first.
bool ReadReply(int fd, QByteArray &reply, int limitMs)
{
    QElapsedTimer clock;
    clock.start();
    char chunk[kPipeChunk];
    for (;;) {
        const qint64 left = limitMs - clock.elapsed();
        if (left <= 0)
            return false;
        pollfd wait{fd, POLLIN, 0};
        const int ready = ::poll(&wait, 1, int(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return ready == 0 ? false : true;
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return true;   // the child closed its end (or died)
        reply.append(chunk, n);
    }
}

// The reader library trusts the lengths and offsets it finds in a file: a
// damaged or hostile workbook can make it read past its buffers or crash,
// in ways no check made beforehand can foresee in full. It therefore reads
// in a short-lived child process, which hands back the rows; a child that
// dies, or does not finish in time, means the workbook cannot be read, and
// the program goes on with a message.
QList<QStringList> ReadRowsInChild(const QString &path)
{
    int fds[2];
    if (::pipe(fds) != 0)
        Refuse(path, QStringLiteral("読み込みの準備ができません（%1）。").arg(QString::fromLocal8Bit(strerror(errno))));
    const pid_t child = ::fork();
    if (child < 0) {
        const int error = errno;
        ::close(fds[0]);
        ::close(fds[1]);
        Refuse(path, QStringLiteral("読み込みの準備ができません（%1）。").arg(QString::fromLocal8Bit(strerror(error))));
    }
    if (child == 0) {
        ::close(fds[0]);
        RunReadingChild(path, fds[1]);
    }
    ::close(fds[1]);
    QByteArray reply;
    const bool finished = ReadReply(fds[0], reply, ReadLimitMs());
    ::close(fds[0]);
    if (!finished)
        ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!finished)
        Refuse(path, kTooSlowText.arg(ReadLimitMs() / 1000));
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        Refuse(path, kCannotBeReadText);
    QDataStream in(reply);
    quint8 kind = 0;
    in >> kind;
    QList<QStringList> rows;
    QString refusal;
    if (kind == quint8(TChildReply::Rows))
        in >> rows;
    else if (kind == quint8(TChildReply::Refused))
        in >> refusal;
    if (in.status() != QDataStream::Ok || !in.atEnd() || (kind != quint8(TChildReply::Rows) && kind != quint8(TChildReply::Refused)))
        Refuse(path, kCannotBeReadText);
    if (kind == quint8(TChildReply::Refused))
        throw TLearningFileRefused(refusal);
    return rows;
}
} // namespace

void SetWorkbookReadFault(std::function<void()> fault)
{
    ReadFault() = std::move(fault);
}

void SetWorkbookReadLimit(int milliseconds)
{
    ReadLimitMs() = milliseconds > 0 ? milliseconds : kDefaultWorkbookReadLimitMs;
}

QString UserWorkbookPath(const QString &userFolder, int number)
{
    return userFolder + kUserWorkbookPattern.arg(number);
}

QString ModificationTimesPath(const QString &userFolder)
{
    return userFolder + kModificationTimesFile;
}

QList<QStringList> ReadWorkbookRows(const QString &path)
{
    // A pipe or a device in its place would block the reader or never end.
    if (const QFileInfo info(path); info.exists() && !info.isFile())
        Refuse(path, QStringLiteral("通常のファイルではありません。"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        Refuse(path, QStringLiteral("ファイルを開けません（%1）。").arg(FileErrorText(file)));
    if (file.size() > kMaxWorkbookBytes)
        Refuse(path, QStringLiteral("ユーザーファイルのブックとしては大きすぎます。"));
    const QByteArray bytes = file.readAll();
    file.close();
    const QByteArray magic = bytes.left(kMagicLength);
    if (magic.startsWith(kZipMagic)) {
        Refuse(path, QStringLiteral("新しい形式（.xlsx や .ods）で保存されています。"
                                    "表計算ソフトで「Excel 97-2003 ブック（.xls）」の形式で保存し直してください。"));
    }
    if (magic != kCompoundFileMagic)
        Refuse(path, QStringLiteral("Excel ブック（.xls）ではありません。"));
    // The reader library trusts the records it is given: a damaged file is
    // checked here first, so that it is refused instead of read past its ends.
    QString problem;
    const QByteArray stream = ReadWorkbookStream(bytes, problem);
    if (problem.isEmpty())
        problem = WorkbookStreamProblem(stream);
    if (!problem.isEmpty())
        Refuse(path, QStringLiteral("ブックが壊れています。%1").arg(problem));

    return ReadRowsInChild(path);
}

TUserWords ApplyUserRowRules(const QList<QStringList> &rows, const QString &path)
{
    TUserWords result;
    std::array<int, kFirstLetterBuckets> bucketSizes{};
    int emptyRun = 0;
    for (const QStringList &cells : rows) {
        if (emptyRun >= kEmptyRowsEndingList)
            break;
        const QString word = cells.value(0);
        if (word.isEmpty()) {
            ++emptyRun;
            continue;
        }
        if (result.positions.contains(word))
            continue;
        const QString firstMeaning = cells.value(1);
        if (firstMeaning.isEmpty()) {
            // A word without a meaning is taken back; the next word takes its place.
            ++emptyRun;
            continue;
        }
        emptyRun = 0;
        int &bucket = bucketSizes[FirstLetterBucket(word)];
        if (++bucket > kWordsPerFirstLetter) {
            throw TLearningFileRefused(
                QStringLiteral("学習ファイル内で、特定の文字で始まるデータが%1を超えました（「%2」）。\n%3")
                    .arg(kWordsPerFirstLetter + 1).arg(word.at(0)).arg(QDir::toNativeSeparators(path)));
        }
        if (result.words.size() >= kMaxWords) {
            throw TLearningFileRefused(QStringLiteral("ユーザーファイルの単語が%1個を超えました。\n%2")
                                           .arg(kMaxWords).arg(QDir::toNativeSeparators(path)));
        }
        TUserWord entry;
        entry.word = word;
        for (int m = 0; m < kUserMeaningCount; ++m) {
            const QString meaning = cells.value(1 + m);
            if (meaning.isEmpty())
                break;
            entry.meanings[m] = meaning;
        }
        result.words.append(entry);
        result.positions.insert(word, int(result.words.size()));
    }
    return result;
}

QString ModificationTimeText(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QString::fromUtf16(kNoModificationTime);
    const QDateTime time = info.lastModified().toLocalTime();
    const QString date = time.date().toString(QStringLiteral("yyyy/MM/dd"));
    const QTime t = time.time();
    if (t.hour() == 0 && t.minute() == 0 && t.second() == 0)
        return date;
    return date + u' ' + t.toString(QStringLiteral("H:mm:ss"));
}

QStringList WidenModificationTimes(const QStringList &lines)
{
    if (lines.size() == kModificationTimeLines)
        return lines;
    if (lines.size() != kOlderModificationTimeLines)
        return {};
    QStringList widened = lines;
    // Lines 37..44 unknown, lines 45..49 copies of lines 32..36.
    while (widened.size() < kModificationTimeLines - 5)
        widened.append(QString::fromUtf16(kNoModificationTime));
    for (int line = 32; line <= 36; ++line)
        widened.append(lines.at(line - 1));
    return widened;
}

bool IsExcelAvailable()
{
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("application/vnd.ms-excel")});
    if (!query.waitForFinished(5000) || query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return false;
    return !query.readAllStandardOutput().trimmed().isEmpty();
}
