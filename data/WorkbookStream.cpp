// Reading a Workbook stream out of its compound file and walking its records.

// libgsf's headers come first: Qt's keyword macros must not reach glib's.
#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-utils.h>

#include "data/WorkbookStream.h"

#include <QByteArrayView>
#include <QList>
#include <QtEndian>

namespace {
constexpr quint16 kSst = 0x00FC;
constexpr quint16 kContinue = 0x003C;
constexpr quint16 kLabelSst = 0x00FD;
constexpr quint16 kFilePass = 0x002F;
constexpr quint16 kBoundSheet = 0x0085;
constexpr qsizetype kRecordHeader = 4;
constexpr qsizetype kMaxRecordData = 8224;
constexpr quint8 kHighByte = 0x01;
constexpr quint8 kExtended = 0x04;
constexpr quint8 kRich = 0x08;
const char *const kStreamNames[] = {"Workbook", "Book"};

// Reads the string table's strings across its SST and CONTINUE records.
class TStringTableReader {
public:
    explicit TStringTableReader(QList<QByteArrayView> parts) : m_parts(std::move(parts)) {}

    // Empty when `count` strings read whole.
    QString Read(quint32 count)
    {
        m_at = 8;   // after the total and unique counts
        for (quint32 i = 0; i < count; ++i) {
            if (!ReadString())
                return QStringLiteral("共有文字列 %1 が壊れています。").arg(i + 1);
        }
        return QString();
    }

private:
    qsizetype Left() const { return m_parts.at(m_part).size() - m_at; }
    // At the end of a record, the next one (false when there is none).
    bool NextPartIfAtEnd()
    {
        if (Left() > 0)
            return true;
        if (m_part + 1 >= m_parts.size())
            return false;
        ++m_part;
        m_at = 0;
        return true;
    }
    // A field that must lie in one record.
    bool Field(qsizetype size, quint32 &value)
    {
        if (!NextPartIfAtEnd() || Left() < size)
            return false;
        const char *data = m_parts.at(m_part).data() + m_at;
        value = size == 1 ? quint8(*data) : size == 2 ? qFromLittleEndian<quint16>(data) : qFromLittleEndian<quint32>(data);
        m_at += size;
        return true;
    }
    // Bytes that may run on into the next records.
    bool Skip(quint64 size)
    {
        while (size > 0) {
            if (!NextPartIfAtEnd())
                return false;
            const qsizetype step = qsizetype(qMin<quint64>(size, quint64(Left())));
            m_at += step;
            size -= quint64(step);
        }
        return true;
    }
    bool ReadString()
    {
        quint32 chars = 0, flags = 0, runs = 0, extended = 0;
        if (!Field(2, chars) || !Field(1, flags))
            return false;
        if ((flags & kRich) && !Field(2, runs))
            return false;
        if ((flags & kExtended) && !Field(4, extended))
            return false;
        // The characters; a record that continues them starts with their width.
        while (chars > 0) {
            if (Left() == 0) {
                if (m_part + 1 >= m_parts.size())
                    return false;
                ++m_part;
                m_at = 0;
                if (!Field(1, flags))
                    return false;
            }
            const qsizetype width = (flags & kHighByte) ? 2 : 1;
            const quint32 fit = quint32(qMin<qsizetype>(Left() / width, chars));
            if (fit == 0)
                return false;   // half a character at the end of a record
            m_at += qsizetype(fit) * width;
            chars -= fit;
        }
        return Skip(quint64(runs) * 4) && Skip(extended);
    }

    QList<QByteArrayView> m_parts;
    qsizetype m_part = 0;
    qsizetype m_at = 0;
};
} // namespace

QByteArray ReadWorkbookStream(const QByteArray &file, QString &problem)
{
    gsf_init();
    GsfInput *memory = gsf_input_memory_new(reinterpret_cast<const guint8 *>(file.constData()), gsf_off_t(file.size()), FALSE);
    GError *error = nullptr;
    GsfInfile *ole = gsf_infile_msole_new(memory, &error);
    g_object_unref(memory);
    if (!ole) {
        problem = QStringLiteral("複合ファイルとして読めません（%1）。")
                      .arg(error ? QString::fromUtf8(error->message) : QString());
        if (error)
            g_error_free(error);
        return {};
    }
    QByteArray stream;
    bool found = false;
    for (const char *name : kStreamNames) {
        GsfInput *child = gsf_infile_child_by_name(ole, name);
        if (!child)
            continue;
        found = true;
        const gsf_off_t size = gsf_input_size(child);
        if (size >= 0 && size <= gsf_off_t(file.size())) {
            stream.resize(qsizetype(size));
            if (size > 0 && !gsf_input_read(child, size_t(size), reinterpret_cast<guint8 *>(stream.data())))
                stream.clear();
        }
        g_object_unref(child);
        break;
    }
    g_object_unref(ole);
    if (stream.isEmpty())
        problem = found ? QStringLiteral("ブックのデータを読めません。") : QStringLiteral("ブックのデータがありません。");
    return stream;
}

QString WorkbookStreamProblem(const QByteArray &stream)
{
    qsizetype at = 0;
    qint64 strings = -1;   // none read yet
    while (at + kRecordHeader <= stream.size()) {
        const quint16 type = qFromLittleEndian<quint16>(stream.constData() + at);
        const quint16 length = qFromLittleEndian<quint16>(stream.constData() + at + 2);
        const qsizetype dataAt = at + kRecordHeader;
        if (length > kMaxRecordData || dataAt + length > stream.size())
            return QStringLiteral("%1 バイト目のレコードが壊れています。").arg(at);
        const QByteArrayView data(stream.constData() + dataAt, length);
        if (type == kFilePass)
            return QString();   // encrypted: the reader says so itself
        if (type == kBoundSheet && (length < 4 || qFromLittleEndian<quint32>(data.data()) >= quint32(stream.size())))
            return QStringLiteral("%1 バイト目のシートの位置が壊れています。").arg(at);
        if (type == kSst) {
            if (length < 8)
                return QStringLiteral("%1 バイト目の共有文字列表が壊れています。").arg(at);
            QList<QByteArrayView> parts{data};
            qsizetype next = dataAt + length;
            while (next + kRecordHeader <= stream.size()
                   && qFromLittleEndian<quint16>(stream.constData() + next) == kContinue) {
                const quint16 partLength = qFromLittleEndian<quint16>(stream.constData() + next + 2);
                if (partLength > kMaxRecordData || next + kRecordHeader + partLength > stream.size())
                    return QStringLiteral("%1 バイト目のレコードが壊れています。").arg(next);
                parts.append(QByteArrayView(stream.constData() + next + kRecordHeader, partLength));
                next += kRecordHeader + partLength;
            }
            const quint32 count = qFromLittleEndian<quint32>(data.data() + 4);
            const QString problem = TStringTableReader(parts).Read(count);
            if (!problem.isEmpty())
                return problem;
            strings = count;
            at = next;
            continue;
        }
        if (type == kLabelSst) {
            if (length < 10 || strings < 0 || qFromLittleEndian<quint32>(data.data() + 6) >= quint64(strings))
                return QStringLiteral("%1 バイト目のセルが、ない共有文字列を指しています。").arg(at);
        }
        at = dataAt + length;
    }
    return QString();
}
