// The .xls writer and the sample workbook.
//
// A classic workbook is an OLE2 compound file with one stream, "Workbook",
// holding BIFF8 records: the workbook globals (fonts, cell formats, the sheet
// list and the shared string table) followed by one worksheet whose text
// cells point into that table.

// libgsf's headers come first: Qt's keyword macros must not reach glib's.
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>

#include "data/SampleWorkbook.h"

#include "base/TError.h"
#include "base/TextFiles.h"
#include "data/UserWorkbook.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QtEndian>

namespace {
// Record types.
constexpr quint16 kBof = 0x0809;
constexpr quint16 kEof = 0x000A;
constexpr quint16 kCodePage = 0x0042;
constexpr quint16 kWindow1 = 0x003D;
constexpr quint16 kFont = 0x0031;
constexpr quint16 kXf = 0x00E0;
constexpr quint16 kStyle = 0x0293;
constexpr quint16 kBoundSheet = 0x0085;
constexpr quint16 kSst = 0x00FC;
constexpr quint16 kExtSst = 0x00FF;
constexpr quint16 kContinue = 0x003C;
constexpr quint16 kDimensions = 0x0200;
constexpr quint16 kWindow2 = 0x023E;
constexpr quint16 kLabelSst = 0x00FD;

constexpr int kMaxRecordData = 8224;          // bytes after a record's header
constexpr int kRecordHeader = 4;
constexpr quint16 kBiff8 = 0x0600;
constexpr quint16 kGlobalsSubstream = 0x0005;
constexpr quint16 kWorksheetSubstream = 0x0010;
constexpr quint16 kUtf16CodePage = 1200;
constexpr int kFontCount = 5;                 // font 4 is never used by readers
constexpr quint16 kFontHeight = 220;          // 11 points, in twentieths
constexpr quint8 kShiftJisCharSet = 128;
const QString kFontName = QStringLiteral("ＭＳ Ｐゴシック");
constexpr int kStyleXfCount = 15;             // the built-in styles' formats
constexpr quint16 kCellXf = 15;               // the format of every cell
constexpr int kStringsPerExtSstBucket = 8;
constexpr quint8 kUtf16Flag = 0x01;
// Spreadsheet programs write the Workbook stream at least this long (shorter
// streams go into the compound file's small-block area, which some readers
// do not handle); the bytes after the last record are zero.
constexpr int kMinimumStreamSize = 4096;
const char kStreamName[] = "Workbook";

// The sample as a learner would paste it: rows by line, cells by TAB.
const QString kSampleText = QStringLiteral(
    "capybara\tカピバラ\r\ncatfish\tナマズ\r\ncassowary\tカソワリ\t火食い鳥\r\nwombat\tウォンバット\r\n"
    "dormouse\tヤマネ\r\npika\tナキウサギ\r\ncockatiel\tオカメインコ\r\ngratitude\t感謝\r\n"
    "gentle\t優しい\t穏やかな\t上品な\r\nsincerity\t誠実\t正直\r\n\r\n\r\n"
    "※上記のサンプルの形式に倣ってファイルを作成してください\r\n"
    "※語義は６個まで有効です\r\n"
    "※単語の追加、削除、行の変更は自由に何度でも可能です（削除した単語の学習記録は消滅します）\r\n"
    "※重複した単語がある場合、最も若い行の単語だけが有効となります\r\n"
    "※忘却曲線による出題で効率的な学習をするには、少なくとも１００個以上の単語を作成してください\r\n"
    "※ファイル名は変更しないでください");

class TBytes {
public:
    void U8(quint8 v) { m_data.append(char(v)); }
    void U16(quint16 v)
    {
        U8(quint8(v & 0xFF));
        U8(quint8(v >> 8));
    }
    void U32(quint32 v)
    {
        U16(quint16(v & 0xFFFF));
        U16(quint16(v >> 16));
    }
    void Utf16(const QString &text)
    {
        for (const QChar c : text)
            U16(c.unicode());
    }
    void Append(const QByteArray &bytes) { m_data.append(bytes); }
    // Overwrites four bytes already written.
    void Patch32(qint64 at, quint32 v) { qToLittleEndian(v, m_data.data() + at); }
    const QByteArray &Data() const { return m_data; }

private:
    QByteArray m_data;
};

// The stream of records; each record is its type, its length and its data.
class TRecords {
public:
    void Add(quint16 type, const QByteArray &data)
    {
        m_stream.U16(type);
        m_stream.U16(quint16(data.size()));
        m_stream.Append(data);
    }
    void Add(quint16 type, const TBytes &data) { Add(type, data.Data()); }
    qint64 Size() const { return m_stream.Data().size(); }
    const QByteArray &Data() const { return m_stream.Data(); }
    void Patch32(qint64 at, quint32 value) { m_stream.Patch32(at, value); }

private:
    TBytes m_stream;
};

QByteArray Bof(quint16 substream)
{
    TBytes b;
    b.U16(kBiff8);
    b.U16(substream);
    b.U16(0x0DBB);   // build
    b.U16(0x07CC);   // year
    b.U32(0);        // history flags
    b.U32(0x0006);   // lowest version that reads the file
    return b.Data();
}

QByteArray Window1()
{
    TBytes b;
    b.U16(0x0168);   // horizontal position
    b.U16(0x001E);   // vertical position
    b.U16(0x3A20);   // width
    b.U16(0x2328);   // height
    b.U16(0x0038);   // scroll bars and sheet tabs shown
    b.U16(0);        // active sheet
    b.U16(0);        // first visible tab
    b.U16(1);        // selected tabs
    b.U16(0x0258);   // tab bar width
    return b.Data();
}

QByteArray Font()
{
    TBytes b;
    b.U16(kFontHeight);
    b.U16(0);        // no italics or strike-through
    b.U16(0x7FFF);   // automatic colour
    b.U16(400);      // normal weight
    b.U16(0);        // no super- or subscript
    b.U8(0);         // no underline
    b.U8(0);         // family
    b.U8(kShiftJisCharSet);
    b.U8(0);
    b.U8(quint8(kFontName.size()));
    b.U8(kUtf16Flag);
    b.Utf16(kFontName);
    return b.Data();
}

QByteArray Xf(bool style)
{
    TBytes b;
    b.U16(0);                        // font 0
    b.U16(0);                        // "General"
    b.U16(style ? 0xFFF5 : 0x0001);  // locked; a style has no parent, a cell the Normal style
    b.U8(0x20);                      // general alignment, at the bottom
    b.U8(0);                         // no rotation
    b.U8(0);                         // no indent
    b.U8(0);                         // attributes as the parent's
    b.U32(0);                        // no borders
    b.U32(0);
    b.U16(0x20C0);                   // default foreground and background
    return b.Data();
}

QByteArray NormalStyle()
{
    TBytes b;
    b.U16(0x8000);   // built-in, format 0
    b.U8(0);         // "Normal"
    b.U8(0xFF);
    return b.Data();
}

QByteArray BoundSheet(const QString &name)
{
    TBytes b;
    b.U32(0);        // the sheet's offset, patched once known
    b.U8(0);         // visible
    b.U8(0);         // a worksheet
    b.U8(quint8(name.size()));
    b.U8(kUtf16Flag);
    b.Utf16(name);
    return b.Data();
}

// The shared string table with its CONTINUE records, and the index into it
// (EXTSST). A string's header never splits; its characters may, and the
// record that continues them starts with the string's flags again.
void AddStringTable(TRecords &records, const QStringList &strings, int cellCount)
{
    struct TPlace {
        qint64 streamOffset;
        int recordOffset;
    };
    QList<TPlace> places;
    QList<QByteArray> parts;   // SST data, then each CONTINUE's data
    TBytes head;
    head.U32(quint32(cellCount));
    head.U32(quint32(strings.size()));
    parts.append(head.Data());
    // Where the record of the part being filled starts in the stream.
    qint64 partStart = records.Size();
    auto startPart = [&](bool continuesString) {
        partStart += kRecordHeader + parts.last().size();
        parts.append(QByteArray());
        if (continuesString)
            parts.last().append(char(kUtf16Flag));
    };
    for (const QString &text : strings) {
        // The header and at least one character together.
        if (parts.last().size() + 3 + 2 > kMaxRecordData)
            startPart(false);
        places.append({partStart + kRecordHeader + parts.last().size(), int(kRecordHeader + parts.last().size())});
        TBytes header;
        header.U16(quint16(text.size()));
        header.U8(kUtf16Flag);
        parts.last().append(header.Data());
        QStringView rest = text;
        while (!rest.isEmpty()) {
            qsizetype room = qMin<qsizetype>((kMaxRecordData - parts.last().size()) / 2, rest.size());
            // A character of two UTF-16 units stays in one record.
            if (room < rest.size() && room > 0 && rest.at(room - 1).isHighSurrogate())
                --room;
            if (room == 0) {
                startPart(true);
                continue;
            }
            TBytes chars;
            chars.Utf16(rest.first(room).toString());
            parts.last().append(chars.Data());
            rest = rest.sliced(room);
        }
    }
    records.Add(kSst, parts.first());
    for (int i = 1; i < parts.size(); ++i)
        records.Add(kContinue, parts.at(i));

    TBytes index;
    index.U16(kStringsPerExtSstBucket);
    for (int i = 0; i < places.size(); i += kStringsPerExtSstBucket) {
        index.U32(quint32(places.at(i).streamOffset));
        index.U16(quint16(places.at(i).recordOffset));
        index.U16(0);
    }
    records.Add(kExtSst, index);
}

QByteArray Dimensions(int rowCount, int columnCount)
{
    TBytes b;
    b.U32(0);                        // first row
    b.U32(quint32(rowCount));        // last row + 1
    b.U16(0);                        // first column
    b.U16(quint16(columnCount));     // last column + 1
    b.U16(0);
    return b.Data();
}

QByteArray Window2()
{
    TBytes b;
    b.U16(0x06B6);   // grid, headers, zeros, outline symbols, selected, shown
    b.U16(0);        // top row
    b.U16(0);        // left column
    b.U32(0x40);     // grid colour: automatic
    b.U16(0);        // page-break zoom: default
    b.U16(0);        // normal zoom: default
    b.U32(0);
    return b.Data();
}

QByteArray LabelSst(int row, int column, int stringIndex)
{
    TBytes b;
    b.U16(quint16(row));
    b.U16(quint16(column));
    b.U16(kCellXf);
    b.U32(quint32(stringIndex));
    return b.Data();
}

// The compound file around the Workbook stream, in memory.
QByteArray CompoundFile(const QByteArray &stream)
{
    gsf_init();
    GsfOutput *memory = gsf_output_memory_new();
    GsfOutfile *ole = gsf_outfile_msole_new(memory);
    GsfOutput *workbook = gsf_outfile_new_child(ole, kStreamName, FALSE);
    bool written = workbook
                   && gsf_output_write(workbook, gsize(stream.size()),
                                       reinterpret_cast<const guint8 *>(stream.constData()));
    if (workbook) {
        written = gsf_output_close(workbook) && written;
        g_object_unref(workbook);
    }
    written = gsf_output_close(GSF_OUTPUT(ole)) && written;
    g_object_unref(ole);
    QByteArray bytes;
    if (written) {
        const guint8 *data = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(memory));
        bytes = QByteArray(reinterpret_cast<const char *>(data), qsizetype(gsf_output_size(memory)));
    }
    // Closing the compound file closed the memory it was written to.
    if (!gsf_output_is_closed(memory))
        gsf_output_close(memory);
    g_object_unref(memory);
    if (bytes.isEmpty())
        throw TFatalError(QStringLiteral("ブックの組み立てに失敗しました。"));
    return bytes;
}
} // namespace

QByteArray Biff8Workbook(const QList<QStringList> &rows, const QString &sheetName)
{
    if (rows.size() > kWorkbookMaxRows)
        throw TFatalError(QStringLiteral("ブックに書ける行は%1行までです。").arg(kWorkbookMaxRows));
    // The strings in order of first use, each stored once.
    QStringList strings;
    QHash<QString, int> stringIndex;
    int cellCount = 0;
    int columnCount = 0;
    for (const QStringList &cells : rows) {
        if (cells.size() > kWorkbookMaxColumns)
            throw TFatalError(QStringLiteral("ブックに書ける列は%1列までです。").arg(kWorkbookMaxColumns));
        for (const QString &text : cells) {
            if (text.size() > kWorkbookMaxCellText)
                throw TFatalError(QStringLiteral("セルに書ける文字は%1文字までです。").arg(kWorkbookMaxCellText));
            if (text.isEmpty())
                continue;
            ++cellCount;
            if (!stringIndex.contains(text)) {
                stringIndex.insert(text, int(strings.size()));
                strings.append(text);
            }
        }
        columnCount = qMax(columnCount, int(cells.size()));
    }

    TRecords records;
    records.Add(kBof, Bof(kGlobalsSubstream));
    TBytes codePage;
    codePage.U16(kUtf16CodePage);
    records.Add(kCodePage, codePage);
    records.Add(kWindow1, Window1());
    for (int f = 0; f < kFontCount; ++f)
        records.Add(kFont, Font());
    for (int x = 0; x < kStyleXfCount; ++x)
        records.Add(kXf, Xf(true));
    records.Add(kXf, Xf(false));
    records.Add(kStyle, NormalStyle());
    const qint64 sheetOffsetAt = records.Size() + kRecordHeader;
    records.Add(kBoundSheet, BoundSheet(sheetName));
    AddStringTable(records, strings, cellCount);
    records.Add(kEof, QByteArray());

    records.Patch32(sheetOffsetAt, quint32(records.Size()));
    records.Add(kBof, Bof(kWorksheetSubstream));
    records.Add(kDimensions, Dimensions(int(rows.size()), columnCount));
    records.Add(kWindow2, Window2());
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList &cells = rows.at(r);
        for (int c = 0; c < cells.size(); ++c) {
            if (!cells.at(c).isEmpty())
                records.Add(kLabelSst, LabelSst(r, c, stringIndex.value(cells.at(c))));
        }
    }
    records.Add(kEof, QByteArray());

    QByteArray stream = records.Data();
    if (stream.size() < kMinimumStreamSize)
        stream.append(QByteArray(kMinimumStreamSize - stream.size(), '\0'));
    return CompoundFile(stream);
}

QList<QStringList> SampleWorkbookRows()
{
    QList<QStringList> rows;
    for (const QString &line : kSampleText.split(QStringLiteral("\r\n")))
        rows.append(line.isEmpty() ? QStringList() : line.split(u'\t'));
    return rows;
}

void WriteSampleWorkbook(const QString &path)
{
    if (QFileInfo::exists(path)) {
        throw TFatalError(QStringLiteral("ブックがすでにあるので、サンプルは作りません。\n%1")
                              .arg(QDir::toNativeSeparators(path)));
    }
    QByteArray bytes;
    try {
        bytes = Biff8Workbook(SampleWorkbookRows());
    } catch (const TFatalError &error) {
        throw TFatalError(error.Message() + u'\n' + QDir::toNativeSeparators(path));
    }
    WriteFileAtomic(path, bytes);
}

QString CreateSampleWorkbook(const QString &userFolder, int number)
{
    const QString path = UserWorkbookPath(userFolder, number);
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        throw TFatalError(QStringLiteral("フォルダーを作れません。\n%1").arg(QDir::toNativeSeparators(folder)));
    }
    WriteSampleWorkbook(path);
    return path;
}
