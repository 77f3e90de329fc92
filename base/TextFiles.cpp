#include "base/TextFiles.h"

#include "base/FileErrors.h"
#include "base/TError.h"

#include <QDateTime>
#include <QDir>
#include <QStorageInfo>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

namespace {
// SplitLineViews makes room for lines of this many units on average.
constexpr qsizetype kReservedLineLength = 8;
}

QString DecodeStateBytes(const QByteArray &bytes)
{
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(view);
    if (!utf8.hasError())
        return text;
    QStringDecoder cp932("windows-31j");
    if (cp932.isValid())
        return cp932.decode(view);
    return QString::fromLatin1(view);
}

QStringList SplitLines(const QString &text)
{
    QStringList lines;
    for (QStringView line : SplitLineViews(text))
        lines.append(line.toString());
    return lines;
}

namespace {
// Line by line, unit by unit: every kind of line break.
QList<QStringView> SplitLineViewsByUnit(QStringView text, QList<QStringView> &&lines)
{
    lines.clear();
    const char16_t *units = text.utf16();
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = units[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.sliced(start, i - start));
        if (c == u'\r' && i + 1 < n && units[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.sliced(start));
    return std::move(lines);
}
}

QList<QStringView> SplitLineViews(QStringView text)
{
    QList<QStringView> lines;
    const qsizetype n = text.size();
    // Room for lines of eight units on average: a list that grows while it
    // is filled copies itself again and again, and room that is never used
    // costs nothing.
    lines.reserve(n / kReservedLineLength + 1);
    // Lines that end in LF or CR LF are found by searches for LF and CR,
    // which pass over long stretches at once; a CR anywhere else sends the
    // text the slow way.
    qsizetype cr = text.indexOf(u'\r');
    qsizetype start = 0;
    while (start < n) {
        const qsizetype lf = text.indexOf(u'\n', start);
        const qsizetype end = lf < 0 ? n : lf;
        qsizetype length = end - start;
        if (cr >= 0 && cr < end) {
            if (lf < 0 || cr != end - 1)
                return SplitLineViewsByUnit(text, std::move(lines));
            --length;
            cr = text.indexOf(u'\r', lf + 1);
        }
        lines.append(text.sliced(start, length));
        if (lf < 0)
            break;
        start = lf + 1;
    }
    return lines;
}

void RequireRegularFile(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        throw TFatalError(QStringLiteral("通常のファイルではないので読み込めません。\n%1").arg(QDir::toNativeSeparators(path)));
    }
}

std::optional<QStringList> ReadStateLines(const QString &path)
{
    RequireRegularFile(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return SplitLines(DecodeStateBytes(file.readAll()));
}

namespace {
TStateWriteObserver &StateWriteObserver()
{
    static TStateWriteObserver observer;
    return observer;
}
}

void SetStateWriteObserver(TStateWriteObserver observer)
{
    StateWriteObserver() = std::move(observer);
}

namespace {

TSaveFault &SaveFault()
{
    static TSaveFault fault;
    return fault;
}

bool Fails(TSaveStep step, const QString &path)
{
    const TSaveFault &fault = SaveFault();
    return fault && fault(step, path);
}

// The system's reason for a failed write. QSaveFile sometimes has none to give
// ("Unknown error") when the disk filled up while the data was flushed.
QString FailureReason(const QSaveFile &file, int systemError, const QString &path, qsizetype size)
{
    if (file.error() != QFileDevice::NoError && file.errorString() != QStringLiteral("Unknown error"))
        return FileErrorText(file);
    if (systemError != 0)
        return SystemErrorText(systemError);
    const QStorageInfo storage(QFileInfo(path).absolutePath());
    if (storage.isValid() && storage.bytesAvailable() < size)
        return SystemErrorText(ENOSPC);
    return FileErrorText(file);
}

[[noreturn]] void RaiseWriteError(const QString &path, const QString &reason)
{
    throw TFatalError(QStringLiteral("ファイルに書き込めません。\n%1\n%2").arg(QDir::toNativeSeparators(path), reason));
}
}

void SetSaveFault(TSaveFault fault)
{
    SaveFault() = std::move(fault);
}

void TFileCommit::Add(const QString &path, const QByteArray &bytes)
{
    m_files.append({path, bytes});
}

void TFileCommit::AddLines(const QString &path, const QStringList &lines)
{
    QString text;
    for (const QString &line : lines) {
        text += line;
        text += QStringLiteral("\r\n");
    }
    Add(path, text.toUtf8());
}

void TFileCommit::Commit()
{
    // Every temporary file is written in full before the first rename; the
    // ones not committed are discarded when they go out of scope.
    std::vector<std::unique_ptr<QSaveFile>> written;
    for (const TFile &f : m_files) {
        auto file = std::make_unique<QSaveFile>(f.path);
        errno = 0;
        // The buffered bytes reach the disk only when flushed, and commit()
        // does not see a write that fails then (a full disk): it would put the
        // short temporary file in place of the good one and report success.
        const bool ok = !Fails(TSaveStep::Write, f.path) && file->open(QIODevice::WriteOnly)
                        && file->write(f.bytes) == f.bytes.size() && file->flush()
                        && file->error() == QFileDevice::NoError;
        if (!ok) {
            const int systemError = Fails(TSaveStep::Write, f.path) ? ENOSPC : errno;
            RaiseWriteError(f.path, FailureReason(*file, systemError, f.path, f.bytes.size()));
        }
        written.push_back(std::move(file));
    }
    for (size_t i = 0; i < written.size(); ++i) {
        const TFile &f = m_files.at(static_cast<qsizetype>(i));
        errno = 0;
        if (Fails(TSaveStep::Rename, f.path))
            RaiseWriteError(f.path, QString::fromLocal8Bit(std::strerror(EIO)));
        if (!written[i]->commit())
            RaiseWriteError(f.path, FailureReason(*written[i], errno, f.path, f.bytes.size()));
        if (const TStateWriteObserver &observer = StateWriteObserver())
            observer(f.path);
    }
    m_files.clear();
}

void WriteFileAtomic(const QString &path, const QByteArray &bytes)
{
    TFileCommit commit;
    commit.Add(path, bytes);
    commit.Commit();
}

QString KeepDamagedCopy(const QString &path)
{
    return KeepCopy(path, QStringLiteral("damaged"));
}

QString KeepCopy(const QString &path, const QString &tag)
{
    const QString stem = path + u'.' + tag + u'-'
                         + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString copy = stem;
    for (int n = 2; QFileInfo::exists(copy); ++n)
        copy = stem + QStringLiteral("-%1").arg(n);
    QFile source(path);
    if (!source.copy(copy)) {
        throw TFatalError(QStringLiteral("損傷したファイルの控えを作れません。ファイルはそのままにしてあります。\n%1\n%2")
                              .arg(QDir::toNativeSeparators(path), FileErrorText(source)));
    }
    return copy;
}

void WriteStateLines(const QString &path, const QStringList &lines)
{
    TFileCommit commit;
    commit.AddLines(path, lines);
    commit.Commit();
}

TLineReader::TLineReader(QStringList lines, QString fileName)
    : m_lines(std::move(lines)), m_fileName(std::move(fileName))
{
}

const QString &TLineReader::Next()
{
    if (m_pos >= m_lines.size()) {
        throw TFatalError(QStringLiteral("ファイルの行が足りません。\n%1（%2 行目）")
                              .arg(m_fileName)
                              .arg(m_pos + 1));
    }
    return m_lines.at(m_pos++);
}

qint32 TLineReader::NextInt()
{
    const QString &text = Next();
    try {
        return StrToInt(text);
    } catch (const TFatalError &e) {
        RaiseFileError(m_fileName, static_cast<int>(m_pos), e.Message());
    }
}

const QString *TLineReader::Peek() const
{
    return m_pos < m_lines.size() ? &m_lines.at(m_pos) : nullptr;
}
