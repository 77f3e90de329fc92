#include "app/GradingFeedback.h"
#include "engine/MasteryLevels.h"

namespace {
const QString kMark = QStringLiteral("※ ");
constexpr int kLowestKept = 1;
constexpr int kPlainFirstIncrement = 1;
constexpr int kGlimpseCountStep = 150;
constexpr int kGlimpseBaseCount = 3;
constexpr int kGlimpseTimeStep = 400;
constexpr int kGlimpseSettingMax = 1000;

QString Body(const TExplanationInput &in)
{
    const QString from = QString::number(in.previousLevel);
    const QString to = QString::number(in.level);
    if (in.level6Miss)
        return QStringLiteral("不正解でしたが、習熟レベルは変化しませんでした　（習熟レベル 6 の語は 5 には下がりません）");
    if (in.level == in.previousLevel && in.previousRetry)
        return QStringLiteral("不正解による再出題でしたので、習熟レベルの変動はありません");
    if (in.correct && in.previousLevel == kTopLevel && in.level == kTopLevel)
        return QStringLiteral("正解でしたが、習熟レベルは変化しませんでした　（習熟レベルは 12 が最大値です）");
    if (in.correct)
        return QStringLiteral("正解でしたので、習熟レベルが ") + from + QStringLiteral(" から ") + to +
               QStringLiteral(" に上昇しました");
    if (in.previousLevel == kLowestKept && in.level == kLowestKept)
        return QStringLiteral("不正解でしたが、習熟レベルは変化しませんでした　（習熟レベル 1 の語はレベル 0 には下がりません）");
    return QStringLiteral("不正解でしたので、習熟レベルが ") + from + QStringLiteral(" から ") + to +
           QStringLiteral(" に下がりました");
}
}

QString ExplanationLine(const TExplanationInput &in)
{
    if (in.level == kExcludedLevel)
        return kMark + QStringLiteral("出題停止中");
    if (in.randomQuestion)
        return kMark + QStringLiteral("ランダム出題ですので習熟レベルの変動はありません");
    if (in.stage == TStage::Three)
        return kMark + QStringLiteral("ステージ 3 においては習熟レベルの変動はありません");
    if (in.previousLevel == 0 && in.level == 0)
        return {};
    const QString prefix = in.newWord && !in.previousRetry && in.firstTimeIncrement != kPlainFirstIncrement
                               ? QStringLiteral("初めての出題で")
                               : QString();
    const QString suffix = in.previousLevel < kFirstStage2Level && in.level == kFirstStage2Level
                               ? QStringLiteral("　（ ステージ 2 に移行しました！）")
                               : QString();
    return kMark + prefix + Body(in) + suffix;
}

QString TypedWordHint(const QString &typed, const std::array<QString, 3> &optionForms, int wordCount,
                      const std::function<QString(int)> &displayFormOf,
                      const std::function<QString(int)> &meaningOf)
{
    if (typed.isEmpty())
        return {};
    for (const QString &form : optionForms)
        if (form == typed)
            return {};
    for (int i = 1; i <= wordCount; ++i)
        if (displayFormOf(i) == typed)
            return kMark + typed + QStringLiteral(" ･･･ ") + meaningOf(i);
    return {};
}

std::array<QString, 3> OptionVerbHints(const QString &storedHeadword, int correctPosition)
{
    std::array<QString, 3> hints;
    if (storedHeadword.contains(QStringLiteral("_i")) && correctPosition >= 1 && correctPosition <= 3)
        hints[static_cast<size_t>(correctPosition - 1)] = kIntransitiveVerbHint;
    return hints;
}

TGlimpseFlashes GlimpseFlashesOf(int glimpseSetting)
{
    const int g = qBound(0, glimpseSetting, kGlimpseSettingMax);
    return {g / kGlimpseCountStep + kGlimpseBaseCount, g / kGlimpseTimeStep + 1};
}

bool TGlimpseThrottle::Allow(qint64 nowMs)
{
    if (m_started && nowMs - m_last < kGlimpseKeyInterval)
        return false;
    m_started = true;
    m_last = nowMs;
    return true;
}
