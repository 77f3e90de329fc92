// The record file as the engine reads it when a learning file starts:
// damage test, UTF-8 or older UTF-16 layout, the 15 fields of every line and
// the history texts unpacked into the arrays. A record that was read is then
// saved and read again, and must come back exactly as it was.
#include "data/RecordFile.h"
#include "fuzz/FuzzTarget.h"

#include <QStringDecoder>
#include <vector>

namespace {
const QString kCode = QStringLiteral("TT");
constexpr int kSlot = 6;
constexpr int kFewestWords = 3;

// A text as the UTF-8 file can hold it: a lone surrogate (possible in a
// damaged file of the older UTF-16 layout) is saved as U+FFFD. A field that
// starts with U+FEFF keeps it: inside a line it is no byte-order mark.
QString Storable(const QString &text)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return utf8.decode(text.toUtf8());
}

// `b` is `a` saved and read again.
bool SameRecord(const TTango &a, const TTango &b)
{
    return a.stage == b.stage && Storable(a.stage1History) == b.stage1History
           && a.stage1Count == b.stage1Count && a.stage1Questions == b.stage1Questions
           && a.stage1Levels == b.stage1Levels && Storable(a.stage2History) == b.stage2History
           && a.stage2Count == b.stage2Count && a.stage2Days == b.stage2Days
           && a.stage2Levels == b.stage2Levels && a.timesAsked == b.timesAsked
           && a.wrongCount == b.wrongCount && a.resetCount == b.resetCount
           && a.level == b.level && a.stage1Counter == b.stage1Counter
           && Storable(a.nextDueDate) == b.nextDueDate && a.starX == b.starX && a.starY == b.starY
           && a.stage1Limit == b.stage1Limit;
}
}

TESSARION_FUZZ_TARGET(record_file, input)
{
    TFuzzEngine &engine = FuzzEngine();
    TCC &cc = engine.cc();
    // Every line of the file takes part, up to the table's size. A file of
    // fewer than three words is never learned (and a single line is the
    // damage test's sign of a broken file), so there are at least three.
    const int lines = qBound(kFewestWords, static_cast<int>(DecodeRecordLines(input.toByteArray()).size()),
                             kMaxWords);
    const int touched = qMax(lines, FuzzLineBound(input));
    engine.Reset(kCode, kSlot, lines, touched);
    engine.Write(QStringLiteral("user/record/Record_TT.dat"), input);
    if (!FuzzCleanly([&] { cc.LoadRecordFile(); }))
        return;

    // The entries of a long history are read from the text past the arrays.
    for (int p = 1; p <= lines; ++p) {
        const TTango &t = cc.words[p];
        if (t.stage == TStage::One && t.stage1Count > 0)
            FuzzCleanly([&] { Stage1EntryAt(t, t.stage1Count); });
        if (t.stage == TStage::Two && t.stage2Count > 0)
            FuzzCleanly([&] { Stage2EntryAt(t, t.stage2Count); });
    }

    std::vector<TTango> read;
    for (int p = 1; p <= lines; ++p)
        read.push_back(cc.words[p]);
    cc.SaveRecordFile();
    for (int p = 1; p <= lines; ++p)
        cc.words[p] = TTango{};
    const bool readAgain = FuzzCleanly([&] { cc.LoadRecordFile(); });
    FuzzExpect(readAgain, "a saved record file reads back");
    for (int p = 1; p <= lines; ++p)
        FuzzExpect(SameRecord(read[static_cast<size_t>(p - 1)], cc.words[p]),
                   "a saved record reads back unchanged");
}
