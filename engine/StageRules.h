#pragma once
// The stage rules, checked when a learning file starts: a word that could not
// reach level 6 within 1600 questions, or level 10 within 800 days of stage 2,
// starts over; a stage-2 word at level 10 or more after those 800 days moves
// to stage 3; a stage-2 word left unasked past its give-up interval starts
// over. The stage-notice window lists what happened.
#include <QList>
#include <QString>
#include <QtGlobal>

enum class TStageNoticeKind {
    PassedStage2,   // to stage 3
    FailedStage1,   // limit flag: level 6 no longer reachable within 1600 questions
    FailedStage2,   // 800 days in stage 2 below level 10
    Limbo,          // past the give-up interval of its last stage-2 answer
};

struct TStageNoticeEntry {
    int position = 0;
    TStageNoticeKind kind = TStageNoticeKind::FailedStage1;
    qint32 level = 0;   // the word's level when the rule applied
    QString text;       // as the notice window lists it
};

// The three lists of the stage-notice window, each in position order.
struct TStageNoticeLists {
    QList<TStageNoticeEntry> stage2OK;   // passed stage 2
    QList<TStageNoticeEntry> stageNG;    // failed stage 1 or stage 2
    QList<TStageNoticeEntry> limbo;      // lost for lack of study
};

// " 【Level 10】 bank (2) （ 銀行、土手 ）" and the like.
QString StageNoticeEntryText(TStageNoticeKind kind, qint32 level, const QString &displayForm,
                             const QString &joinedMeanings);
