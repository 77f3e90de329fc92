#include "app/GradingFeedback.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

const QString kStage2 = QStringLiteral("　（ ステージ 2 に移行しました！）");
const QString kFirst = QStringLiteral("初めての出題で");

QString Rise(int from, int to)
{
    return QStringLiteral("正解でしたので、習熟レベルが %1 から %2 に上昇しました").arg(from).arg(to);
}
QString Fall(int from, int to)
{
    return QStringLiteral("不正解でしたので、習熟レベルが %1 から %2 に下がりました").arg(from).arg(to);
}

struct TLineCase {
    const char *what;
    TExplanationInput in;
    QString expected;
};

TExplanationInput Answer(int previous, int level, bool correct)
{
    TExplanationInput in;
    in.previousLevel = previous;
    in.level = level;
    in.correct = correct;
    return in;
}

template <typename F> TExplanationInput With(TExplanationInput in, F change)
{
    change(in);
    return in;
}

TEST(ExplanationLine, EveryConditionInItsOrder)
{
    const QString mark = QStringLiteral("※ ");
    const std::vector<TLineCase> cases = {
        {"excluded word, whatever else holds",
         With(Answer(3, 99, true), [](auto &in) { in.randomQuestion = true; in.stage = TStage::Three; }),
         mark + QStringLiteral("出題停止中")},
        {"random question before stage 3",
         With(Answer(4, 4, true), [](auto &in) { in.randomQuestion = true; in.stage = TStage::Three; }),
         mark + QStringLiteral("ランダム出題ですので習熟レベルの変動はありません")},
        {"stage 3", With(Answer(11, 11, true), [](auto &in) { in.stage = TStage::Three; }),
         mark + QStringLiteral("ステージ 3 においては習熟レベルの変動はありません")},
        {"a new word left at 0", Answer(0, 0, false), QString()},
        {"new word, default rise 2", With(Answer(0, 2, true), [](auto &in) { in.newWord = true; }),
         mark + kFirst + Rise(0, 2)},
        {"new word, rise 1 has no prefix",
         With(Answer(0, 1, true), [](auto &in) { in.newWord = true; in.firstTimeIncrement = 1; }),
         mark + Rise(0, 1)},
        {"new word, rise 6 reaches stage 2",
         With(Answer(0, 6, true), [](auto &in) { in.newWord = true; in.firstTimeIncrement = 6; }),
         mark + kFirst + Rise(0, 6) + kStage2},
        {"a retry of a new word has no prefix",
         With(Answer(0, 1, true), [](auto &in) { in.newWord = true; in.previousRetry = true; }),
         mark + Rise(0, 1)},
        {"level 5 to 6", Answer(5, 6, true), mark + Rise(5, 6) + kStage2},
        {"level 6 to 7 has no suffix", Answer(6, 7, true), mark + Rise(6, 7)},
        {"level 12 stays 12", Answer(12, 12, true),
         mark + QStringLiteral("正解でしたが、習熟レベルは変化しませんでした　（習熟レベルは 12 が最大値です）")},
        {"wrong at 2", Answer(2, 1, false), mark + Fall(2, 1)},
        {"wrong at 1", Answer(1, 1, false),
         mark + QStringLiteral("不正解でしたが、習熟レベルは変化しませんでした　（習熟レベル 1 の語はレベル 0 には下がりません）")},
        {"wrong at 6", With(Answer(6, 6, false), [](auto &in) { in.level6Miss = true; }),
         mark + QStringLiteral("不正解でしたが、習熟レベルは変化しませんでした　（習熟レベル 6 の語は 5 には下がりません）")},
        {"wrong at 6 as a retry keeps the level-6 text",
         With(Answer(6, 6, false), [](auto &in) { in.level6Miss = true; in.previousRetry = true; }),
         mark + QStringLiteral("不正解でしたが、習熟レベルは変化しませんでした　（習熟レベル 6 の語は 5 には下がりません）")},
        {"wrong retry", With(Answer(3, 3, false), [](auto &in) { in.previousRetry = true; }),
         mark + QStringLiteral("不正解による再出題でしたので、習熟レベルの変動はありません")},
        {"right retry rises", With(Answer(3, 4, true), [](auto &in) { in.previousRetry = true; }),
         mark + Rise(3, 4)},
        {"a new word answered wrongly once more as a retry",
         With(Answer(0, 0, false), [](auto &in) { in.newWord = true; in.previousRetry = true; }), QString()},
    };
    for (const TLineCase &c : cases)
        EXPECT_EQ(ExplanationLine(c.in), c.expected) << c.what;
}

TEST(TypedWordHint, NamesAnotherWordOfTheFile)
{
    const std::vector<QString> forms = {QString(), QStringLiteral("apple"), QStringLiteral("bank"),
                                        QStringLiteral("bank"), QStringLiteral("cat")};
    const std::vector<QString> meanings = {QString(), QStringLiteral("りんご"), QStringLiteral("銀行"),
                                           QStringLiteral("土手"), QStringLiteral("猫")};
    const auto form = [&](int i) { return forms[static_cast<size_t>(i)]; };
    const auto meaning = [&](int i) { return meanings[static_cast<size_t>(i)]; };
    const std::array<QString, 3> options = {QStringLiteral("cat"), QStringLiteral("dog"), QStringLiteral("cow")};

    EXPECT_EQ(TypedWordHint(QStringLiteral("bank"), options, 4, form, meaning),
              QStringLiteral("※ bank ･･･ 銀行"));   // the first such word
    EXPECT_EQ(TypedWordHint(QStringLiteral("cat"), options, 4, form, meaning), QString());   // an option
    EXPECT_EQ(TypedWordHint(QStringLiteral("ban"), options, 4, form, meaning), QString());   // no word
    EXPECT_EQ(TypedWordHint(QString(), options, 4, form, meaning), QString());
    // Words beyond the file's count are not searched.
    const std::array<QString, 3> others = {QStringLiteral("dog"), QStringLiteral("cow"), QStringLiteral("pig")};
    EXPECT_EQ(TypedWordHint(QStringLiteral("cat"), others, 3, form, meaning), QString());
    EXPECT_EQ(TypedWordHint(QStringLiteral("cat"), others, 4, form, meaning), QStringLiteral("※ cat ･･･ 猫"));
}

TEST(OptionVerbHints, OnlyTheCorrectLabelOfAnIntransitiveVerb)
{
    EXPECT_EQ(OptionVerbHints(QStringLiteral("rise_i"), 2),
              (std::array<QString, 3>{QString(), kIntransitiveVerbHint, QString()}));
    EXPECT_EQ(OptionVerbHints(QStringLiteral("raise"), 2), (std::array<QString, 3>{}));
    EXPECT_EQ(OptionVerbHints(QStringLiteral("lie_i2"), 3),
              (std::array<QString, 3>{QString(), QString(), kIntransitiveVerbHint}));
}

TEST(Glimpse, FlashesGrowWithTheSetting)
{
    struct TCase {
        int setting, count, ms;
    };
    for (const TCase c : {TCase{0, 3, 1}, TCase{149, 3, 1}, TCase{150, 4, 1}, TCase{500, 6, 2},
                          TCase{1000, 9, 3}, TCase{-5, 3, 1}, TCase{5000, 9, 3}}) {
        const TGlimpseFlashes f = GlimpseFlashesOf(c.setting);
        EXPECT_EQ(f.count, c.count) << c.setting;
        EXPECT_EQ(f.milliseconds, c.ms) << c.setting;
    }
}

TEST(Glimpse, AHeldKeyStartsOneGlimpseEvery200Ms)
{
    TGlimpseThrottle throttle;
    EXPECT_TRUE(throttle.Allow(0));   // a tick count of 0 is a real time too
    EXPECT_FALSE(throttle.Allow(30));
    EXPECT_FALSE(throttle.Allow(199));
    EXPECT_TRUE(throttle.Allow(200));
    EXPECT_FALSE(throttle.Allow(399));
    EXPECT_TRUE(throttle.Allow(1000));
    throttle.Reset();
    EXPECT_TRUE(throttle.Allow(1001));
}

}
