// Which files are learned today, which word is asked next, its answer
// choices, and the quota statistics of a file.
#include "engine/Selection.h"

#include "engine/CommonUnit.h"
#include "base/TError.h"
#include "base/DateText.h"

#include <QDir>
#include <algorithm>
#include <atomic>
#include <utility>
#include <vector>

namespace {
constexpr int kLastStage1Level = 5;
// Random draws tried before the qualifying words are counted out; the
// outcome is uniform over them either way, but a draw never runs for ever.
constexpr int kDrawAttempts = 256;
}

// ---- fixed-capacity lists -------------------------------------------------

namespace {
// Values for TQuestionList::Removals(), handed out once each.
std::atomic<quint64> g_lastRemovals{0};
quint64 NextRemovals() { return ++g_lastRemovals; }
}

TQuestionList::TQuestionList(const TQuestionList &other)
    : m_items(other.m_items), m_head(other.m_head), m_count(other.m_count), m_member(other.m_member),
      m_removals(NextRemovals())
{
}

TQuestionList &TQuestionList::operator=(const TQuestionList &other)
{
    m_items = other.m_items;
    m_head = other.m_head;
    m_count = other.m_count;
    m_member = other.m_member;
    m_removals = NextRemovals();
    return *this;
}

bool TQuestionList::Append(int position)
{
    if (m_count >= kQuestionListCapacity || !IsMember(position) || Contains(position))
        return false;
    m_items[static_cast<size_t>((m_head + m_count) % kQuestionListCapacity)] = position;
    ++m_count;
    m_member.set(static_cast<size_t>(position));
    return true;
}

int TQuestionList::TakeFirst()
{
    if (m_count == 0)
        return 0;
    const int first = m_items[static_cast<size_t>(m_head)];
    m_head = (m_head + 1) % kQuestionListCapacity;
    --m_count;
    m_member.reset(static_cast<size_t>(first));
    m_removals = NextRemovals();
    return first;
}

void TQuestionList::Clear()
{
    m_head = 0;
    m_count = 0;
    m_member.reset();
    m_removals = NextRemovals();
}

void TAskedWordList::Set(int index, int position)
{
    if (index >= 1 && index <= kAskedWordCapacity)
        m_items[static_cast<size_t>(index)] = position;
}

int TAskedWordList::At(int index) const
{
    if (index < 1 || index > kAskedWordCapacity)
        return 0;
    return m_items[static_cast<size_t>(index)];
}

int TAskedWordList::Count() const
{
    int n = 0;
    while (n < kAskedWordCapacity && m_items[static_cast<size_t>(n + 1)] != 0)
        ++n;
    return n;
}

bool TFileQueue::Append(const QString &code)
{
    if (m_count >= kFileQueueCapacity)
        return false;
    m_codes[static_cast<size_t>(m_count++)] = code;
    return true;
}

void TFileQueue::RemoveFirst()
{
    if (m_count == 0)
        return;
    std::move(m_codes.begin() + 1, m_codes.begin() + m_count, m_codes.begin());
    m_codes[static_cast<size_t>(--m_count)].clear();
}

void TFileQueue::Clear()
{
    for (QString &c : m_codes)
        c.clear();
    m_count = 0;
}

// ---- the file queue -------------------------------------------------------

void TCC::BuildFileQueue()
{
    struct TEntry {
        int key;
        int slot;
    };
    std::vector<TEntry> entries;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const TDBF &row = catalog.rows[static_cast<size_t>(slot)];
        if (!row.OnOff || row.Code.isEmpty())
            continue;
        if (!row.PopUpDate.isEmpty() && !IsDateReached(row.PopUpDate))
            continue;   // left out until its popup date
        int key = 0;
        try {
            key = StrToInt(row.Order);
        } catch (const TFatalError &e) {
            const QString catalogFile = slot > kLastBuiltInSlot ? QStringLiteral("FileInfo/FileInfo_User.dat")
                                                                : QStringLiteral("FileInfo/FileInfo_PC.dat");
            RaiseFileError(QDir::toNativeSeparators(userFolder + catalogFile), 0,
                           e.Message() + QStringLiteral("（%1 の Order）").arg(row.Code));
        }
        if (key != 0)
            entries.push_back({key, slot});
    }
    // Equal keys keep the lower slot first.
    std::stable_sort(entries.begin(), entries.end(),
                     [](const TEntry &a, const TEntry &b) { return a.key < b.key; });
    fileQueue.Clear();
    for (const TEntry &e : entries)
        fileQueue.Append(catalog.rows[static_cast<size_t>(e.slot)].Code);
}

bool TStudyRun::SelectNextLearningFile(bool advance)
{
    const QString code = state.fileQueue.First();
    if (code.isEmpty())
        return false;
    m_cc.SetCurrentFile(code);
    if (advance)
        state.fileQueue.RemoveFirst();
    return true;
}

// ---- the next question ----------------------------------------------------

// Whether the choice would reach step 4 with nothing left but to ask the
// learner: decided before anything is written, so that the counters do not
// move for a question the learner may decline.
bool TStudyRun::LearnerMustChoose(TSelectMode mode)
{
    const TEngineContext &context = m_cc.context;
    TTrainingState &training = state.training;
    if (training.randomAcceptedToday || context.simulationRunning)
        return false;
    if (mode == TSelectMode::Next && training.retryPending && TWordTable::IsPosition(state.question.word))
        return false;
    TWordTable &words = m_cc.wordRecords.words;
    TSelectionIndex &index = state.selectionIndex;
    index.Update(words, m_cc.TangoTotal(), state.todaysQuestions);
    if (index.AnyStage1Word() || index.NewestWord() != 0 || !state.todaysQuestions.IsEmpty())
        return false;
    if (mode == TSelectMode::FirstOfDay) {
        const TWordTable &table = words;
        bool due = false;
        const qint64 today = context.clock.TodayDay();
        index.ForEachReviewWord([&](int p) {
            if (!due && TCC::IsDueOn(table[p].nextDueDate, today))
                due = true;
        });
        return !due;
    }
    return !index.AnyDueWord(words.Stage1Raises());
}

TSelection TStudyRun::Select(TSelectMode mode)
{
    const bool firstOfDay = mode == TSelectMode::FirstOfDay;
    if (LearnerMustChoose(mode))
        return {0, true};

    TWordTable &words = m_cc.wordRecords.words;
    TTrainingState &training = state.training;
    TQuestionList &todaysQuestions = state.todaysQuestions;
    TSelectionIndex &index = state.selectionIndex;
    // Reading through a const table leaves the records unmarked as changed.
    const TWordTable &table = words;

    // 1. A wrong answer is followed by the same word; no counter moves.
    if (!firstOfDay && training.retryPending && TWordTable::IsPosition(state.question.word))
        return {state.question.word, false};

    const int total = m_cc.TangoTotal();
    index.Update(words, total, todaysQuestions);
    if (firstOfDay) {
        // Stage-2 and stage-3 words whose day has come, in position order.
        const qint64 today = m_cc.context.clock.TodayDay();
        index.ForEachReviewWord([&](int p) {
            if (TCC::IsDueOn(table[p].nextDueDate, today))
                todaysQuestions.Append(p);
        });
        if (!todaysQuestions.IsEmpty())
            return {todaysQuestions.First(), false};
    } else {
        // 2. Stage-1 words fall due by questions: every counter moves on.
        // The due ones join the list by position (a full list keeps a word
        // for a later question), then the counters rise.
        training.newWord = false;
        training.randomQuestion = false;
        index.AppendDueWords(words.Stage1Raises(), todaysQuestions);
        words.RaiseStage1Counters(total);
        ++state.raisesSinceJournal;
        if (!todaysQuestions.IsEmpty()) {
            const int w = index.TakeFirst(todaysQuestions);
            if (table[w].level <= kLastStage1Level)
                words[w].stage1Counter = 1;
            return {w, false};
        }
    }

    // 3. A new word: the lowest number; on equal numbers the lower position.
    const int newest = index.NewestWord();
    if (newest != 0) {
        if (!firstOfDay) {
            words[newest].stage1Counter = 1;
            training.newWord = true;
        }
        return {newest, false};
    }

    // 4. Nothing due and nothing new. While a word is still learned in stage
    // 1 random questions start at once; otherwise the learner has been asked
    // (LearnerMustChoose) before anything changed.
    if (!training.randomAcceptedToday && (m_cc.context.simulationRunning || !index.AnyStage1Word()))
        return {0, false};

    // 5. A random question: never an excluded word, and in a built-in file
    // never a stage-1 word. With no such word the file ends.
    const bool userFile = m_cc.context.userFile;
    training.randomQuestion = true;
    if (!index.AnyRandomCandidate(userFile))
        return {0, false};
    for (;;) {
        const int p = m_cc.context.random.Between(1, total);
        const TTango &t = table[p];
        if (t.level != kExcludedLevel && (userFile || t.stage != TStage::One))
            return {p, false};
    }
}

void TStudyRun::GoOnWithRandomQuestions()
{
    state.training.randomAcceptedToday = true;
}

// ---- answer choices -------------------------------------------------------

int TStudyRun::DrawDistractor(int chosen, int first)
{
    const int total = m_cc.TangoTotal();
    TRandom &random = m_cc.context.random;
    const QString chosenForm = m_cc.DisplayForm(chosen);
    const QString firstForm = first != 0 ? m_cc.DisplayForm(first) : QString();
    // Strictness 0: no shared meaning, and the display form inside neither
    // the chosen word's nor the first distractor's. 1: the containment test
    // dropped. 2: any other word.
    const auto qualifies = [&](int p, int strictness) {
        if (p == chosen || p == first)
            return false;
        if (strictness >= 2)
            return true;
        if (m_cc.AreConfusable(p, chosen))
            return false;
        if (strictness >= 1)
            return true;
        const QString form = m_cc.DisplayForm(p);
        return !chosenForm.contains(form) && (first == 0 || !firstForm.contains(form));
    };
    for (int strictness = 0; strictness <= 2; ++strictness) {
        for (int attempt = 0; attempt < kDrawAttempts; ++attempt) {
            const int p = random.Between(1, total);
            if (qualifies(p, strictness))
                return p;
        }
        std::vector<int> candidates;
        for (int p = 1; p <= total; ++p)
            if (qualifies(p, strictness))
                candidates.push_back(p);
        if (!candidates.empty())
            return candidates[static_cast<size_t>(random.Below(static_cast<int>(candidates.size())))];
    }
    return 0;
}

TAskResult TStudyRun::PrepareQuestion()
{
    const bool retry = state.training.retryPending;
    const TSelection chosen = Select(TSelectMode::Next);
    if (chosen.needsLearnersChoice)
        return TAskResult::NoQuestions;
    const int w = chosen.word;
    if (w == 0)
        return TAskResult::NothingToAsk;
    TQuestion &question = state.question;
    question.word = w;
    const int first = DrawDistractor(w, 0);
    const int second = DrawDistractor(w, first);
    question.choices = {w, first, second};
    CountUp(m_cc.wordRecords.words[w].timesAsked);
    state.askedWords.Set(AskedCount(), w);
    // A retry of a typing question stays one.
    const TFileSettings &settings = m_cc.settingsStore.settings;
    if (!retry)
        question.typing = m_cc.DecideTypingQuestion(w, settings.typingForEvenLevels == 1, settings.answerDirection);
    if (question.typing.typing) {
        question.correctPosition = 1;
    } else {
        question.correctPosition = m_cc.context.random.Between(1, kChoiceCount);
        std::swap(question.choices[0], question.choices[static_cast<size_t>(question.correctPosition - 1)]);
    }
    return TAskResult::Asked;
}

// ---- the headless forwards: noQuestions answers for the learner ------------

bool TCC::AnswerNoQuestions()
{
    const TNoQuestionsChoice choice = noQuestions ? noQuestions->AskNoQuestions() : TNoQuestionsChoice::End;
    if (choice == TNoQuestionsChoice::End)
        return false;
    studyRun.GoOnWithRandomQuestions();
    return true;
}

int TCC::SelectNextQuestion(TSelectMode mode)
{
    for (;;) {
        const TSelection chosen = studyRun.Select(mode);
        if (!chosen.needsLearnersChoice)
            return chosen.word;
        if (!AnswerNoQuestions())
            return 0;
    }
}

bool TCC::PrepareQuestion()
{
    for (;;) {
        switch (studyRun.PrepareQuestion()) {
        case TAskResult::Asked:
            return true;
        case TAskResult::NoQuestions:
            if (!AnswerNoQuestions())
                return false;
            break;
        case TAskResult::QuotaUsedUp:
        case TAskResult::NothingToAsk:
            return false;
        }
    }
}

// ---- quota ----------------------------------------------------------------

int TStudyRun::AskedCount() const
{
    return m_cc.UsableQuota() - state.training.remaining;
}

bool TStudyRun::QuotaUsedUp() const
{
    return m_cc.UsableQuota() > 0 && state.training.remaining <= 0;
}

int TCC::QuotaCorrectRate() const
{
    const int asked = AskedCount();
    if (asked <= 0)
        return 0;
    return static_cast<int>(qint64(training.correctToday) * 100 / asked);
}

void TCC::UpdateQuotaStatistics()
{
    // Integer arithmetic gives the truncated value of each exact quotient.
    const qint64 asked = AskedCount();
    if (asked <= 0)
        return;
    const qint64 quota = UsableQuota();
    const qint64 dayRate = qint64(training.correctToday) * 100 / asked;
    // A damaged settings file may hold negative counts: they count as none.
    const qint64 total = qMax<qint64>(0, settings.answersTotal);
    settings.overallCorrectRate =
        static_cast<qint32>((total * settings.overallCorrectRate + asked * dayRate) / (asked + total));
    settings.answersTotal = static_cast<qint32>(total + asked);
    // Without a quota there is nothing to achieve: the average stays.
    if (quota <= 0)
        return;
    const qint64 achievement = asked * 100 / quota;
    const qint64 days = qMax<qint64>(0, settings.learningDays);
    settings.averageAchievement =
        static_cast<qint32>((achievement + qint64(settings.averageAchievement) * days) / (days + 1));
}
