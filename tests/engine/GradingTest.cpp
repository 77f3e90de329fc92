#include "engine/Grading.h"

#include <gtest/gtest.h>

namespace {
const QDate kToday(2009, 7, 5);

TTango StageTwoWord(int level)
{
    TTango t;
    t.word = QStringLiteral("harbour");
    t.stage = TStage::Two;
    t.level = level;
    t.stage2History = QStringLiteral("2009/6/15[%1]").arg(level);
    t.stage2Count = 1;
    return t;
}
}

// The outcome is computed from the inputs alone: they stay as they were
// until the caller commits the outcome.
TEST(Grading, AnOutcomeLeavesItsInputsAlone)
{
    const TTango word = StageTwoWord(8);
    TTrainingState training;
    training.correctToday = 4;
    const TGradeOutcome right = GradeAnswer(word, training, {2, kToday}, true);
    EXPECT_EQ(word.level, 8);
    EXPECT_EQ(training.correctToday, 4);
    EXPECT_EQ(right.word.level, 9);
    EXPECT_EQ(right.training.correctToday, 5);
    EXPECT_EQ(right.word.nextDueDate, QStringLiteral("2009/11/22"));
    EXPECT_EQ(right.effect.previousLevel, 8);
    EXPECT_EQ(right.effect.level, 9);

    const TGradeOutcome wrong = GradeAnswer(word, training, {2, kToday}, false);
    EXPECT_EQ(wrong.word.level, 7);
    EXPECT_EQ(wrong.word.wrongCount, 1);
    EXPECT_TRUE(wrong.training.retryPending);
    EXPECT_FALSE(training.retryPending);
}

// A level-6 word answered wrongly stays at 6 and says so, also when the
// question was the retry of a wrong answer; a random question says nothing.
TEST(Grading, ALevelSixMissIsReportedOnRetriesToo)
{
    const struct {
        bool retry;
        bool random;
        bool miss;
    } cases[] = {{false, false, true}, {true, false, true}, {false, true, false}, {true, true, false}};
    for (const auto &c : cases) {
        TTrainingState training;
        training.retryPending = c.retry;
        training.randomQuestion = c.random;
        const TGradeOutcome o = GradeAnswer(StageTwoWord(6), training, {2, kToday}, false);
        EXPECT_EQ(o.effect.level6Miss, c.miss) << c.retry << c.random;
        EXPECT_EQ(o.word.level, 6);
        EXPECT_TRUE(o.effect.previousRetry == c.retry);
    }
}

TEST(Grading, TypedTextVerdicts)
{
    TTypedAnswerQuestion words;
    words.correctWord = QStringLiteral("cart");
    words.optionWords = {QStringLiteral("cart"), QStringLiteral("car"), QStringLiteral("carton")};
    TTypedAnswerQuestion phrases;
    phrases.kind = THeadwordKind::Phrase;
    phrases.correctWord = QStringLiteral("give up");
    phrases.optionWords = {QStringLiteral("take off"), QStringLiteral("give up"), QStringLiteral("look after")};
    const struct {
        const TTypedAnswerQuestion &question;
        const char *typed;
        TTypedVerdict verdict;
    } cases[] = {
        {words, "cart", TTypedVerdict::Correct},
        {words, "Cart", TTypedVerdict::Wrong},
        {words, "carton", TTypedVerdict::CompletesOption},
        // "car" begins the other options: the learner may still be typing.
        {words, "car", TTypedVerdict::Incomplete},
        {words, "ca", TTypedVerdict::Incomplete},
        {words, "", TTypedVerdict::Incomplete},
        {words, "dog", TTypedVerdict::Wrong},
        {phrases, "give up", TTypedVerdict::Correct},
        {phrases, "take off", TTypedVerdict::CompletesOption},
        {phrases, "look", TTypedVerdict::Incomplete},
        {phrases, "run", TTypedVerdict::Wrong},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ValidateTypedAnswer(c.question, QString::fromUtf8(c.typed)), c.verdict) << c.typed;
    }
}
