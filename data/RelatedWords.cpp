#include "data/RelatedWords.h"

#include "data/LearningFile.h"
#include "data/MeaningRules.h"
#include "base/TError.h"
#include "base/TextFiles.h"

#include <QDir>

namespace {
constexpr int kWordField = 1;
constexpr int kFirstMeaningField = 2;
constexpr int kLastMeaningField = 5;
constexpr int kLinkKey1Field = 6;

// Fields are taken from the left; an empty one ends the entry.
TQuoteEnglish ParseEntry(const QString &line)
{
    TQuoteEnglish e;
    const QStringList fields = line.split(u'\t');
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QString &value = fields.at(i);
        if (value.isEmpty())
            break;
        const int field = static_cast<int>(i) + 1;
        if (field == kWordField)
            e.word = value;
        else if (field <= kLastMeaningField)
            e.meanings[static_cast<size_t>(field - kFirstMeaningField)] =
                NormalizeMeaningText(value, TMeaningRules::Standard);
        else if (field == kLinkKey1Field)
            e.linkKeys[0] = value;
        else
            e.linkKeys[1] = value;
    }
    e.joinedMeanings = JoinMeanings(e.meanings);
    return e;
}
}

void LoadRelatedWords(const QString &programFolder, TRelatedWords &table)
{
    const QStringList lines =
        SplitLines(ReadLearningDataFile(programFolder + kRelatedWordsFile));
    for (TQuoteEnglish &e : table.m_entries)
        e = TQuoteEnglish{};
    table.entryCount = 0;
    table.lineCount = 0;
    try {
        table.version = StrToInt(lines.value(0).mid(1));
    } catch (const TFatalError &e) {
        RaiseFileError(QDir::toNativeSeparators(programFolder + kRelatedWordsFile), 1, e.Message());
    }
    if (lines.size() < 3)
        return;
    // Lines 2..n-1 are entries; the last line is the trailer.
    const qsizetype entries = std::min<qsizetype>(lines.size() - 2, kMaxRelatedWords);
    for (qsizetype k = 1; k <= entries; ++k)
        table.m_entries[static_cast<size_t>(k)] = ParseEntry(lines.at(k));
    table.entryCount = static_cast<int>(entries);
    table.lineCount = table.entryCount + 2;
}
