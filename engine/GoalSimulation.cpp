// The goal simulation on the engine's own rules.
#include "engine/GoalSimulation.h"

#include "engine/CommonUnit.h"

#include <vector>

namespace {
constexpr int kLeastDays = 3;
constexpr int kLeastQuota = 30;
constexpr int kGoalShare = 10;   // the goal holds when fewer than W / 10 words lag behind
constexpr quint64 kFnvOffset = 14695981039346656037ull;
constexpr quint64 kFnvPrime = 1099511628211ull;

const QString kSelfReportFirst = QStringLiteral("古いバージョンからご使用の方は、まず赤字の項目を自己申請してください");
const QString kChooseGoal = QStringLiteral("目標を選択してください");
const QString kTooFewDays =
    QStringLiteral("まだ学習記録が少ないので予測できません。少なくとも 3 日間の学習記録が必要です。");
const QString kQuotaTooSmall = QStringLiteral("1 日の平均ノルマ処理数の実績が少なすぎるので、目標達成までに時間がかかりすぎます。"
                                              "\r\n\r\n少なくとも実績が 30 問以上となるようにノルマ設定をしてください。");

// The run works on the live engine with a copy of the study run's state and
// of every word record taken first; both are put back when it ends, however
// it ends, so nothing it does leaks into the study run: the question on
// screen (a pending retry asks the same word afterwards), the flags, the
// lists, the quota, the words. The engine's random generator is the
// program's one generator and goes on from where the run left it.
class TSimulationBackup {
public:
    explicit TSimulationBackup(TCC &cc) : m_cc(cc), m_state(cc.studyRun.state)
    {
        TWordTable &words = cc.wordRecords.words;
        m_words.reserve(kMaxWords);
        for (int p = 1; p <= kMaxWords; ++p)
            m_words.push_back(words[p]);
    }
    ~TSimulationBackup()
    {
        TWordTable &words = m_cc.wordRecords.words;
        for (int p = 1; p <= kMaxWords; ++p)
            words[p] = std::move(m_words[static_cast<size_t>(p - 1)]);
        m_cc.studyRun.state = std::move(m_state);
        m_cc.context.clock = m_clock;
        m_cc.context.simulationRunning = false;
    }
    TSimulationBackup(const TSimulationBackup &) = delete;
    TSimulationBackup &operator=(const TSimulationBackup &) = delete;

private:
    TCC &m_cc;
    TRunState m_state;
    std::vector<TTango> m_words;
    // The clock as it was: the run holds its first day fixed, so that a
    // midnight passing while it runs does not move its days.
    TClock m_clock = m_cc.context.clock;
};
}

TGoalSimulation::TGoalSimulation(TCC &cc) : m_cc(cc)
{
}

int TGoalSimulation::ExpectedCorrectRate() const
{
    const qint64 days = m_cc.settings.learningDays;
    return static_cast<int>((m_cc.QuotaCorrectRate() + qint64(m_cc.settings.overallCorrectRate) * days) / (days + 1));
}

int TGoalSimulation::SimulatedQuota() const
{
    return static_cast<int>(qint64(m_cc.settings.dailyQuota) * m_cc.settings.averageAchievement / 100);
}

std::optional<QString> TGoalSimulation::Refusal(int goalLevel, bool selfReportPending) const
{
    if (selfReportPending)
        return kSelfReportFirst;
    if (goalLevel < kFirstGoalLevel || goalLevel > kLastGoalLevel)
        return kChooseGoal;
    if (m_cc.settings.learningDays < kLeastDays)
        return kTooFewDays;
    if (SimulatedQuota() < kLeastQuota)
        return kQuotaTooSmall;
    return std::nullopt;
}

bool TGoalSimulation::GoalReached(int goalLevel, int threshold) const
{
    const TLevelHistogram h = m_cc.BuildLevelHistogram();
    qint64 behind = 0;
    for (int level = 0; level < goalLevel; ++level)
        behind += h[static_cast<size_t>(level)];
    return behind < threshold;
}

// Words that fell behind their schedule start over, and words that stayed
// 800 days in stage 2 move on or start over, as at the start of a file.
void TGoalSimulation::GiveUpPass()
{
    const int total = m_cc.TangoTotal();
    const qint64 today = m_cc.clock.TodayDay();
    for (int p = 1; p <= total; ++p) {
        m_cc.ApplyStageRuleOn(p, today);
        m_cc.training.retryPending = false;
        m_cc.training.newWord = false;
        m_cc.training.randomQuestion = false;
    }
}

TSimulationResult TGoalSimulation::Run(int goalLevel)
{
    TSimulationResult result;
    const int p = ExpectedCorrectRate();
    const int quota = SimulatedQuota();
    const int threshold = m_cc.TangoTotal() / kGoalShare;
    TSimulationBackup backup(m_cc);
    m_cc.simulationRunning = true;
    m_cc.clock.SetDayOffset(0);
    m_cc.clock.FixToday(m_cc.clock.Today());
    m_cc.training.remaining = quota;
    quint64 hash = kFnvOffset;
    int day = 0;
    for (;;) {
        if (afterQuestion && afterQuestion()) {
            result.aborted = true;
            break;
        }
        // The day is over: the next one starts, unless the goal holds.
        if (quota > 0 && m_cc.training.remaining == 0) {
            m_cc.todaysQuestions.Clear();
            m_cc.training.remaining = quota;
            if (GoalReached(goalLevel, threshold)) {
                result.goalReached = true;
                break;
            }
            if (atDayChange)
                atDayChange(day);
            ++day;
            if (day > kSimulationDayLimit) {
                result.dayLimitReached = true;
                break;
            }
            m_cc.clock.SetDayOffset(day);
            GiveUpPass();
        }
        // One question.
        m_cc.training.remaining -= 1;
        const bool firstOfDay = m_cc.training.remaining + 1 == quota;
        const int word = m_cc.SelectNextQuestion(firstOfDay ? TSelectMode::FirstOfDay : TSelectMode::Next);
        if (word == 0) {
            m_cc.training.remaining = 0;
            continue;
        }
        ++result.questions;
        for (int shift = 0; shift < 32; shift += 8)
            hash = (hash ^ ((quint64(word) >> shift) & 0xFF)) * kFnvPrime;
        m_cc.question.word = word;
        CountUp(m_cc.words[word].timesAsked);
        const bool correct = m_cc.random.Between(1, 100) <= p;
        if (correct) {
            if (!m_cc.training.randomQuestion)
                m_cc.ApplyCorrectAnswer(word);
        } else {
            m_cc.ApplyWrongAnswer(word);
            m_cc.training.retryPending = true;
        }
    }
    result.days = day;
    result.histogram = m_cc.BuildLevelHistogram();
    result.chosenWordsHash = hash;
    return result;
}
