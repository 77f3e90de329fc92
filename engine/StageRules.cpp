// The stage rules and the lists of the stage-notice window.
#include "engine/StageRules.h"

#include "data/RecordFile.h"
#include "engine/AnswerCheck.h"
#include "engine/WordRecords.h"
#include "engine/MasteryLevels.h"

QString StageNoticeEntryText(TStageNoticeKind kind, qint32 level, const QString &displayForm,
                             const QString &joinedMeanings)
{
    QString head;
    switch (kind) {
    case TStageNoticeKind::PassedStage2:
        head = QStringLiteral(" 【Level %1】 ").arg(level);
        break;
    case TStageNoticeKind::FailedStage1:
        head = QStringLiteral(" 【Stage 1】 ");
        break;
    case TStageNoticeKind::FailedStage2:
    case TStageNoticeKind::Limbo:
        head = QStringLiteral(" 【Stage 2】 ");
        break;
    }
    return head + displayForm + QStringLiteral(" （ ") + joinedMeanings + QStringLiteral(" ）");
}

std::optional<TStageNoticeKind> TWordRecords::StageRuleOf(int position) const
{
    return StageRuleOn(position, m_context.clock.TodayDay());
}

std::optional<TStageNoticeKind> TWordRecords::StageRuleOn(int position, qint64 today) const
{
    const TTango &t = words[position];
    if (t.stage >= TStage::Three)
        return std::nullopt;
    if (t.stage1Limit)
        return TStageNoticeKind::FailedStage1;
    // A stage-2 word without any stage-2 answer has no date to measure from.
    if (t.stage != TStage::Two || t.stage2Count < 1)
        return std::nullopt;
    if (today >= Stage2EntryAt(t, 1).day + kStage2Duration) {
        return t.level >= kStage3EntryLevel ? TStageNoticeKind::PassedStage2
                                            : TStageNoticeKind::FailedStage2;
    }
    const TStage2Entry last = Stage2EntryAt(t, t.stage2Count);
    if (today >= last.day + GiveUpDaysOfLevel(last.level))
        return TStageNoticeKind::Limbo;
    return std::nullopt;
}

bool TWordRecords::AnyStageNoticeDue() const
{
    const int total = TangoTotal();
    const qint64 today = m_context.clock.TodayDay();
    for (int p = 1; p <= total; ++p)
        if (StageRuleOn(p, today))
            return true;
    return false;
}

TStageNoticeLists TWordRecords::ApplyStageRules()
{
    TStageNoticeLists lists;
    const THeadwordKind headwords = HeadwordKindOf(m_context.fileCode, m_context.userFile);
    const int total = TangoTotal();
    const qint64 today = m_context.clock.TodayDay();
    for (int p = 1; p <= total; ++p) {
        const auto kind = StageRuleOn(p, today);
        if (!kind)
            continue;
        const TTango &t = words[p];
        const TStageNoticeEntry entry{
            p, *kind, t.level,
            StageNoticeEntryText(*kind, t.level, FormatHeadword(t.word, false, headwords), t.joinedMeanings)};
        ApplyStageRule(p, *kind);
        (*kind == TStageNoticeKind::PassedStage2 ? lists.stage2OK
         : *kind == TStageNoticeKind::Limbo      ? lists.limbo
                                                 : lists.stageNG)
            .append(entry);
    }
    return lists;
}

void TWordRecords::ApplyStageRule(int position, TStageNoticeKind kind)
{
    TTango &t = words[position];
    if (kind == TStageNoticeKind::PassedStage2) {
        t.stage = TStage::Three;
        RestartStage2Today(position);   // asked once more today as a final check
        return;
    }
    ResetWordProgress(position);
    CountUp(t.resetCount);
}

void TWordRecords::ApplyStageRule(int position)
{
    ApplyStageRuleOn(position, m_context.clock.TodayDay());
}

void TWordRecords::ApplyStageRuleOn(int position, qint64 today)
{
    if (const auto kind = StageRuleOn(position, today))
        ApplyStageRule(position, *kind);
}
