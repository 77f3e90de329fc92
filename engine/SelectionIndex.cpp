// The words of a file as choosing a question sees them, kept up to date.
#include "engine/SelectionIndex.h"

#include "engine/MasteryLevels.h"

#include <algorithm>
#include <functional>

namespace {
enum TFlag : quint8 {
    kStage1Word = 1,               // in stage 1 and not excluded
    kNotExcluded = 2,
    kNotExcludedOutsideStage1 = 4,
    kReviewWord = 8,               // levels 6..12
    kNewWord = 16,                 // level 0
};

quint8 FlagsOf(const TTango &t)
{
    quint8 flags = 0;
    if (t.level != kExcludedLevel) {
        flags |= kNotExcluded;
        flags |= t.stage == TStage::One ? kStage1Word : kNotExcludedOutsideStage1;
    }
    if (t.level >= kFirstStage2Level && t.level <= kTopLevel)
        flags |= kReviewWord;
    if (t.level == 0)
        flags |= kNewWord;
    return flags;
}

// Whether the word's stage-1 counter makes it due at some raise: counted
// (1 or more, limit clear) and at level 0 to 5.
bool FallsDueByCounter(const TTango &t)
{
    return t.stage1Counter >= 1 && !t.stage1Limit && t.level >= 0 && t.level < kFirstStage2Level;
}

// A word whose counter stands at c at raise r is due at every raise from
// r + interval + 1 - c on: its counter then exceeds its level's interval
// (a new word's is 0, so it is due at once).
qint64 DueAt(const TTango &t, qint64 raises)
{
    return raises + LevelInterval(t.level) + 1 - t.stage1Counter;
}

template <typename T>
void PushSmallestFirst(std::vector<T> &heap, T entry)
{
    heap.push_back(entry);
    std::push_heap(heap.begin(), heap.end(), std::greater<T>());
}

template <typename T>
void PopSmallest(std::vector<T> &heap)
{
    std::pop_heap(heap.begin(), heap.end(), std::greater<T>());
    heap.pop_back();
}
}

TSelectionIndex::TSelectionIndex()
    : m_flags(kMaxWords + 1, 0), m_due(kMaxWords + 1, TDue::None), m_dueAt(kMaxWords + 1, 0),
      m_number(kMaxWords + 1, 0)
{
}

void TSelectionIndex::Update(TWordTable &words, int total, const TQuestionList &list)
{
    const TWordTable &table = words;
    if (total != m_total || words.AllChanged()) {
        Rebuild(table, total, list);
    } else {
        const qint64 raises = words.Stage1Raises();
        for (const int p : words.ChangedPositions())
            if (p >= 1 && p <= m_total)
                Reread(p, table[p], raises, list);
    }
    words.ForgetChanges();
    if (list.Removals() != m_listRemovals) {
        // Words put in the list may have left it without being asked.
        m_listedBits.ForEach([&](int p) {
            if (!list.Contains(p))
                SetDue(p, TDue::Due);
        });
        m_listRemovals = list.Removals();
    }
}

void TSelectionIndex::Rebuild(const TWordTable &words, int total, const TQuestionList &list)
{
    std::fill(m_flags.begin(), m_flags.end(), 0);
    std::fill(m_due.begin(), m_due.end(), TDue::None);
    m_dueBits.Clear();
    m_listedBits.Clear();
    m_review.Clear();
    m_waiting.clear();
    m_newWords.clear();
    m_stage1Words = 0;
    m_notExcluded = 0;
    m_notExcludedOutsideStage1 = 0;
    m_total = qBound(0, total, kMaxWords);
    const qint64 raises = words.Stage1Raises();
    for (int p = 1; p <= m_total; ++p)
        Enter(p, words[p], raises, list, {});
    m_listRemovals = list.Removals();
}

void TSelectionIndex::SetDue(int p, TDue due)
{
    const size_t i = static_cast<size_t>(p);
    if (m_due[i] == TDue::Due)
        m_dueBits.Reset(p);
    else if (m_due[i] == TDue::Listed)
        m_listedBits.Reset(p);
    m_due[i] = due;
    if (due == TDue::Due)
        m_dueBits.Set(p);
    else if (due == TDue::Listed)
        m_listedBits.Set(p);
}

void TSelectionIndex::Enter(int p, const TTango &t, qint64 raises, const TQuestionList &list, const TQueued &queued)
{
    const size_t i = static_cast<size_t>(p);
    const quint8 flags = FlagsOf(t);
    m_flags[i] = flags;
    m_stage1Words += (flags & kStage1Word) ? 1 : 0;
    m_notExcluded += (flags & kNotExcluded) ? 1 : 0;
    m_notExcludedOutsideStage1 += (flags & kNotExcludedOutsideStage1) ? 1 : 0;
    if (flags & kReviewWord)
        m_review.Set(p);
    if (flags & kNewWord) {
        m_number[i] = t.number;
        if (queued.number != t.number)
            PushSmallestFirst(m_newWords, std::pair<qint32, int>(t.number, p));
    }
    if (FallsDueByCounter(t)) {
        const qint64 at = DueAt(t, raises);
        if (at <= raises) {
            SetDue(p, list.Contains(p) ? TDue::Listed : TDue::Due);
        } else {
            SetDue(p, TDue::Waiting);
            m_dueAt[i] = at;
            if (queued.dueAt != at)
                PushSmallestFirst(m_waiting, std::pair<qint64, int>(at, p));
        }
    }
}

void TSelectionIndex::Reread(int p, const TTango &t, qint64 raises, const TQuestionList &list)
{
    // Entries still queued for the word as it was serve as they are.
    const size_t i = static_cast<size_t>(p);
    TQueued queued;
    if (m_flags[i] & kNewWord)
        queued.number = m_number[i];
    if (m_due[i] == TDue::Waiting)
        queued.dueAt = m_dueAt[i];

    const quint8 flags = m_flags[i];
    m_stage1Words -= (flags & kStage1Word) ? 1 : 0;
    m_notExcluded -= (flags & kNotExcluded) ? 1 : 0;
    m_notExcludedOutsideStage1 -= (flags & kNotExcludedOutsideStage1) ? 1 : 0;
    if (flags & kReviewWord)
        m_review.Reset(p);
    m_flags[i] = 0;
    SetDue(p, TDue::None);
    Enter(p, t, raises, list, queued);
}

void TSelectionIndex::PromoteDueWords(qint64 raises)
{
    while (!m_waiting.empty() && m_waiting.front().first <= raises) {
        const auto [at, p] = m_waiting.front();
        PopSmallest(m_waiting);
        const size_t i = static_cast<size_t>(p);
        if (m_due[i] == TDue::Waiting && m_dueAt[i] == at)
            SetDue(p, TDue::Due);
    }
}

bool TSelectionIndex::AnyDueWord(qint64 raises)
{
    PromoteDueWords(raises);
    return m_dueBits.Any();
}

void TSelectionIndex::AppendDueWords(qint64 raises, TQuestionList &list)
{
    PromoteDueWords(raises);
    m_dueBits.ForEach([&](int p) {
        if (list.Contains(p) || list.Append(p)) {
            SetDue(p, TDue::Listed);
            return true;
        }
        return false;   // the list is full: the rest wait for a later question
    });
}

int TSelectionIndex::TakeFirst(TQuestionList &list)
{
    const bool known = list.Removals() == m_listRemovals;
    const int w = list.TakeFirst();
    if (known)
        m_listRemovals = list.Removals();
    if (w >= 1 && w <= kMaxWords && m_due[static_cast<size_t>(w)] == TDue::Listed)
        SetDue(w, TDue::Due);
    return w;
}

int TSelectionIndex::NewestWord()
{
    while (!m_newWords.empty()) {
        const auto [number, p] = m_newWords.front();
        const size_t i = static_cast<size_t>(p);
        if ((m_flags[i] & kNewWord) && m_number[i] == number)
            return p;
        PopSmallest(m_newWords);
    }
    return 0;
}
