// tessarion-tool study: one headless study run of a learning file.
//
//   tessarion-tool study --program-folder P --file CODE --answers SEQ
//                        [--typed TEXT]... [--day-offset N] [--seed N] [--random-ok]
//
// SEQ holds one 1 (right) or 0 (wrong) per question. With --typed, the k-th
// TEXT is what was typed for the k-th question and is graded as typed: in a
// typing question it alone decides; otherwise a right option or a matching
// text is right. The run stops when the quota or SEQ ends; the file is then
// closed with saving ("このファイルを終了" when SEQ ends first). --random-ok
// answers the no-questions case with "ランダム出題で続行", otherwise with "終了".
//
// Output, TAB-separated: one line per question (number, word position, stored
// headword, level before, level after, stage after, correct, retry, random,
// new, typing, the three choice positions), then "quota-statistics" with
// learning days, answers total, overall correct rate, average achievement.
// Messages to the learner, and how the run ended, go to stderr.
#include "engine/CommonUnit.h"
#include "base/TError.h"
#include "tools/Commands.h"
#include "tools/EngineSession.h"

#include <cstdio>

namespace {
const QString kUsage = QStringLiteral(
    "usage: tessarion-tool study --program-folder P --file CODE --answers SEQ "
    "[--typed TEXT]... [--day-offset N] [--seed N] [--random-ok]");

QString Flag(bool b) { return b ? QStringLiteral("1") : QStringLiteral("0"); }

QList<TScriptedAnswer> ParseAnswers(const QString &seq, const QStringList &typed)
{
    QList<TScriptedAnswer> answers;
    for (QChar c : seq) {
        if (c != u'0' && c != u'1')
            throw TFatalError(QStringLiteral("--answers takes 1 and 0 only, not '%1'").arg(c));
        answers.append({c == u'1', std::nullopt});
    }
    if (typed.size() > answers.size())
        throw TFatalError(QStringLiteral("more --typed texts (%1) than answers (%2)").arg(typed.size()).arg(answers.size()));
    for (qsizetype k = 0; k < typed.size(); ++k)
        answers[k].typed = typed.at(k);
    return answers;
}

QString RunEndText(const TScriptedRunResult &run)
{
    const QString saved = run.saved ? QStringLiteral(", saved") : QStringLiteral(", nothing saved");
    switch (run.end) {
    case TRunEnd::NoFile:
        return QStringLiteral("no file to learn");
    case TRunEnd::TooFewWords:
        return QStringLiteral("the file has fewer than 3 words") + saved;
    case TRunEnd::DamagedFile:
        return QStringLiteral("the learning file is damaged: refused") + saved;
    case TRunEnd::NothingAtStart:
        return QStringLiteral("nothing to ask at the start") + saved;
    case TRunEnd::QuotaUsedUp:
        return QStringLiteral("quota used up") + saved;
    case TRunEnd::ScriptEnded:
        return QStringLiteral("answers ended: file closed") + saved;
    case TRunEnd::NothingToAsk:
        return QStringLiteral("nothing more to ask") + saved;
    }
    return {};
}

// A run the program refuses (no file, a damaged file, too few words) is a
// refusal for a script too.
bool Refused(TRunEnd end)
{
    return end == TRunEnd::NoFile || end == TRunEnd::DamagedFile || end == TRunEnd::TooFewWords;
}

int RunStudy(const QStringList &rawArgs)
{
    const TToolArgs args(rawArgs);
    if (!args.Value(QStringLiteral("--program-folder")) || !args.Value(QStringLiteral("--file"))
        || !args.Value(QStringLiteral("--answers")))
        throw TFatalError(kUsage);
    const QString code = args.Required(QStringLiteral("--file"));
    const QList<TScriptedAnswer> answers =
        ParseAnswers(args.Required(QStringLiteral("--answers")), args.Values(QStringLiteral("--typed")));

    const auto engine = OpenEngine(args, TAccess::Writes);
    TCC &cc = *engine;
    if (auto seed = args.Value(QStringLiteral("--seed")))
        cc.random.Seed(static_cast<quint32>(StrToInt(*seed)));
    if (auto offset = args.Value(QStringLiteral("--day-offset")))
        cc.clock.FixToday(QDate::currentDate().addDays(StrToInt(*offset)));
    TFixedNoQuestionsAnswer noQuestions(args.HasFlag(QStringLiteral("--random-ok"))
                                            ? TNoQuestionsChoice::GoOnRandom
                                            : TNoQuestionsChoice::End);
    cc.noQuestions = &noQuestions;

    // The first step of a run: server catalog, local catalog, merged.
    LoadCatalogAsProgram(cc);
    cc.MergeServerCatalog();
    if (FileSlotOfCode(code) == 0)
        throw TFatalError(QStringLiteral("unknown file code '%1'").arg(code));
    cc.fileQueue.Clear();
    cc.fileQueue.Append(code);

    const TScriptedRunResult run = RunScriptedStudy(cc, answers);
    std::fprintf(stderr, "study: %s\n", RunEndText(run).toUtf8().constData());
    for (const TQuestionRecord &q : run.questions) {
        PrintFields({QString::number(q.number), QString::number(q.word), q.headword,
                     QString::number(q.levelBefore), QString::number(q.levelAfter),
                     QString::number(StageNumber(q.stageAfter)), Flag(q.correct), Flag(q.retry), Flag(q.random),
                     Flag(q.newWord), Flag(q.typing), QString::number(q.choices[0]),
                     QString::number(q.choices[1]), QString::number(q.choices[2])});
    }
    PrintFields({QStringLiteral("quota-statistics"), QString::number(cc.settings.learningDays),
                 QString::number(cc.settings.answersTotal), QString::number(cc.settings.overallCorrectRate),
                 QString::number(cc.settings.averageAchievement)});
    return Refused(run.end) ? kExitFailed : kExitDone;
}

const TToolCommand reg(QStringLiteral("study"),
                       {QStringLiteral("Runs one study run of a learning file without a window, answering from a script, and saves the record as the program does."),
                        QStringLiteral("Prints one TAB-separated line per question (number, word position, headword, level before and after, stage, correct, retry, random, new, typing, the three choice positions), then the quota statistics. How the run ended goes to stderr. A damaged learning file, or one with fewer than 3 words, is refused with exit status 1 and nothing saved."),
                        {ProgramFolderOption(),
                         FileCodeOption(),
                         {QStringLiteral("answers"), QStringLiteral("SEQ"), QStringLiteral("One 1 (right) or 0 (wrong) per question; the run ends when the quota or SEQ ends."), TOptionValue::Text, true},
                         {QStringLiteral("typed"), QStringLiteral("TEXT"), QStringLiteral("What was typed for the next question, graded as typed (give it once per question, in order; an empty TEXT types nothing).")},
                         DayOffsetOption(),
                         {QStringLiteral("seed"), QStringLiteral("N"), QStringLiteral("Seeds the random choices, so that a run can be repeated.")},
                         {QStringLiteral("random-ok"), {}, QStringLiteral("Answers the no-questions window with \"ランダム出題で続行\" instead of \"終了\"."), TOptionValue::None}},
                        {},
                        {QStringLiteral("tessarion-tool study --program-folder build --file TT --answers 1101101111 --seed 3")}},
                       &RunStudy);
}
