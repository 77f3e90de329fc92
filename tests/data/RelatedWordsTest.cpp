#include "data/LearningFile.h"
#include "data/MeaningRules.h"
#include "data/RelatedWords.h"
#include "base/TError.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {
// Stores plain text the way the data pipeline does: every line ended by
// CR LF, then shifted.
void WriteRelatedWords(const TTempProgramFolder &folder, const QStringList &lines)
{
    QString plain;
    for (const QString &l : lines)
        plain += l + QStringLiteral("\r\n");
    folder.write(kRelatedWordsFile, EncodeLearningText(plain).toUtf8());
}
}

TEST(RelatedWords, ReadsWordMeaningsAndKeysFieldByField)
{
    TTempProgramFolder folder;
    WriteRelatedWords(folder, {
        QStringLiteral("#305"),
        QStringLiteral("nation\t国家\t国民\t｜集合的に｜民族\t\tnation\tpeople"),
        QStringLiteral("abandon\t見捨てる\t：船など：放棄する\tn断念する\t捨てる\tabandon\tleave\tx\ty"),
        QStringLiteral("lonely"),
        QStringLiteral("happy\t\t幸せな\thappy\tglad"),
    });
    TRelatedWords table;
    LoadRelatedWords(folder.path(), table);
    EXPECT_EQ(table.version, 305);
    ASSERT_EQ(table.entryCount, 4);
    EXPECT_EQ(table.lineCount, 6);

    // An empty field ends the entry: nation's fifth field is empty, so its
    // keys are never read.
    EXPECT_EQ(table[1].word, QStringLiteral("nation"));
    EXPECT_EQ(table[1].meanings[2], QStringLiteral("（集合的に）民族"));
    EXPECT_TRUE(table[1].linkKeys[0].isEmpty());
    EXPECT_EQ(table[1].joinedMeanings, QStringLiteral("国家、国民、（集合的に）民族"));

    // Nine fields: the last one is link key 2; a leading letter is dropped.
    EXPECT_EQ(table[2].meanings[1], QStringLiteral("〈船など〉放棄する"));
    EXPECT_EQ(table[2].meanings[2], QStringLiteral("断念する"));
    EXPECT_EQ(table[2].linkKeys[0], QStringLiteral("abandon"));
    EXPECT_EQ(table[2].linkKeys[1], QStringLiteral("y"));
    EXPECT_TRUE(table[2].meanings[4].isEmpty());

    EXPECT_EQ(table[3].word, QStringLiteral("lonely"));
    EXPECT_TRUE(table[3].joinedMeanings.isEmpty());

    // An empty second field: only the word.
    EXPECT_EQ(table[4].word, QStringLiteral("happy"));
    EXPECT_TRUE(table[4].meanings[1].isEmpty());
    EXPECT_TRUE(table[4].linkKeys[0].isEmpty());
}

TEST(RelatedWords, TwoLinesGiveAnEmptyTable)
{
    TTempProgramFolder folder;
    WriteRelatedWords(folder, {QStringLiteral("#201"), QStringLiteral("only\t唯一の")});
    TRelatedWords table;
    LoadRelatedWords(folder.path(), table);
    EXPECT_EQ(table.version, 201);
    // Line 2 is data, the trailer the program adds is line 3.
    EXPECT_EQ(table.entryCount, 1);

    // Without a final line break the second line is the trailer: two lines.
    folder.write(kRelatedWordsFile,
                 EncodeLearningText(QStringLiteral("#202\r\nonly\t唯一の")).toUtf8());
    LoadRelatedWords(folder.path(), table);
    EXPECT_EQ(table.version, 202);
    EXPECT_EQ(table.entryCount, 0);
    EXPECT_EQ(table.lineCount, 0);
    EXPECT_TRUE(table[1].word.isEmpty());
}

TEST(RelatedWords, KeepsTheFirst8000EntriesOnly)
{
    TTempProgramFolder folder;
    QStringList lines{QStringLiteral("#201")};
    for (int i = 1; i <= kMaxRelatedWords + 25; ++i)
        lines << QStringLiteral("w%1\t意味%1").arg(i);
    WriteRelatedWords(folder, lines);
    TRelatedWords table;
    LoadRelatedWords(folder.path(), table);
    EXPECT_EQ(table.entryCount, kMaxRelatedWords);
    EXPECT_EQ(table.lineCount, kMaxRelatedWords + 2);
    EXPECT_EQ(table[kMaxRelatedWords].word, QStringLiteral("w8000"));
}

TEST(RelatedWords, MissingFileOrBadVersionEndsTheProgram)
{
    TTempProgramFolder folder;
    TRelatedWords table;
    EXPECT_THROW(LoadRelatedWords(folder.path(), table), TFatalError);
    WriteRelatedWords(folder, {QStringLiteral("#2x1"), QStringLiteral("a\tb")});
    EXPECT_THROW(LoadRelatedWords(folder.path(), table), TFatalError);
}

TEST(MeaningRules, TurnsMarkupIntoBrackets)
{
    struct Case { const char16_t *in; TMeaningRules rules; const char16_t *out; };
    const Case cases[] = {
        {u"v：人を：見捨てる", TMeaningRules::Standard, u"〈人を〉見捨てる"},
        {u"：古語見捨てる", TMeaningRules::Standard, u"〈古語見捨てる〉"},
        {u"2番目の", TMeaningRules::Standard, u"2番目の"},
        {u"0番", TMeaningRules::Standard, u"番"},
        {u"｜米｜エレベーター", TMeaningRules::Standard, u"（米）エレベーター"},
        {u"mフォルテ", TMeaningRules::Italian, u"【音楽】フォルテ"},
        {u"fはさみ", TMeaningRules::Italian, u"【複】はさみ"},
        {u"o日曜日", TMeaningRules::Italian, u"【大文字で】日曜日"},
        {u"x何か", TMeaningRules::Italian, u"何か"},
        {u"v：人を：見捨てる", TMeaningRules::Plain, u"v：人を：見捨てる"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(NormalizeMeaningText(QString::fromUtf16(c.in), c.rules), QString::fromUtf16(c.out))
            << QString::fromUtf16(c.in).toStdString();
    EXPECT_EQ(MeaningRulesOf(QStringLiteral("TJ"), false), TMeaningRules::Plain);
    EXPECT_EQ(MeaningRulesOf(QStringLiteral("TT"), true), TMeaningRules::Plain);
    EXPECT_EQ(MeaningRulesOf(QStringLiteral("IT"), false), TMeaningRules::Italian);
    EXPECT_EQ(MeaningRulesOf(QStringLiteral("DT"), false), TMeaningRules::Standard);
}
