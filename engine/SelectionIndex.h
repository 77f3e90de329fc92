#pragma once
// What choosing the next question needs to know of a file's words, kept up
// to date as the words change, so that no choice passes over the table:
//  - stage-1 words not due yet, by the raise of the counters at which they
//    fall due;
//  - due stage-1 words, by position, apart from those already in today's
//    question list;
//  - new words (level 0) by number, then position;
//  - words of levels 6 to 12, by position;
//  - how many words are learned in stage 1, are not excluded, and are not
//    excluded outside stage 1.
// The word table lists the records reached for writing; only those are
// looked at again before a choice.
#include "data/WordTable.h"
#include "engine/Selection.h"

#include <QtGlobal>
#include <algorithm>
#include <bit>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

class TSelectionIndex {
public:
    TSelectionIndex();

    // Brings the index up to positions 1..total of the table and to the list.
    void Update(TWordTable &words, int total, const TQuestionList &list);
    // Appends the due stage-1 words that are not in the list yet, by
    // position, while it has room. Counters stand where the table's current
    // raise puts them (this question's raise comes after).
    void AppendDueWords(qint64 raises, TQuestionList &list);
    // Whether AppendDueWords would find a due word not yet in the list.
    bool AnyDueWord(qint64 raises);
    // Takes the list's first word; the caller changes it through the table.
    int TakeFirst(TQuestionList &list);
    // The new word with the lowest number (the lower position on equal
    // numbers); 0 when there is none.
    int NewestWord();
    bool AnyStage1Word() const { return m_stage1Words > 0; }
    // A word a random question may ask: never an excluded one, and in a
    // built-in file never one in stage 1.
    bool AnyRandomCandidate(bool userFile) const
    {
        return (userFile ? m_notExcluded : m_notExcludedOutsideStage1) > 0;
    }
    // Calls f with the position of every word of levels 6 to 12, in order.
    template <typename F>
    void ForEachReviewWord(F &&f) const
    {
        m_review.ForEach(f);
    }

private:
    // One bit per position, visited in position order.
    class TPositionBits {
    public:
        TPositionBits() : m_words((kMaxWords + 1 + 63) / 64, 0) {}
        void Set(int p) { m_words[Word(p)] |= Bit(p); }
        void Reset(int p) { m_words[Word(p)] &= ~Bit(p); }
        void Clear() { std::fill(m_words.begin(), m_words.end(), 0); }
        bool Any() const
        {
            return std::any_of(m_words.begin(), m_words.end(), [](quint64 w) { return w != 0; });
        }
        // f may set or reset any bit but the next ones visited are those
        // set when the visit reached their 64-bit word; returns early when
        // f returns false.
        template <typename F>
        void ForEach(F &&f) const
        {
            for (size_t w = 0; w < m_words.size(); ++w) {
                for (quint64 bits = m_words[w]; bits != 0; bits &= bits - 1) {
                    const int p = static_cast<int>(w * 64 + static_cast<size_t>(std::countr_zero(bits)));
                    if constexpr (std::is_same_v<decltype(f(p)), bool>) {
                        if (!f(p))
                            return;
                    } else {
                        f(p);
                    }
                }
            }
        }

    private:
        static size_t Word(int p) { return static_cast<size_t>(p) / 64; }
        static quint64 Bit(int p) { return quint64(1) << (static_cast<unsigned>(p) % 64); }
        std::vector<quint64> m_words;
    };

    enum class TDue : quint8 {
        None,      // no stage-1 counter that makes it due
        Waiting,   // falls due at m_dueAt
        Due,       // due, not in the list
        Listed,    // due and in the list
    };

    // The heap entries a word already has (none: values no entry holds).
    struct TQueued {
        std::optional<qint32> number;
        std::optional<qint64> dueAt;
    };

    void Rebuild(const TWordTable &words, int total, const TQuestionList &list);
    void Enter(int p, const TTango &t, qint64 raises, const TQuestionList &list, const TQueued &queued);
    void Reread(int p, const TTango &t, qint64 raises, const TQuestionList &list);
    void SetDue(int p, TDue due);
    // Waiting words whose raise has come become due.
    void PromoteDueWords(qint64 raises);

    int m_total = -1;                       // -1: not built
    quint64 m_listRemovals = 0;
    std::vector<quint8> m_flags;            // TFlag bits by position
    std::vector<TDue> m_due;
    std::vector<qint64> m_dueAt;            // the raise at which a waiting word falls due
    std::vector<qint32> m_number;           // a new word's number
    TPositionBits m_dueBits;                // TDue::Due
    TPositionBits m_listedBits;             // TDue::Listed
    TPositionBits m_review;
    // Smallest first; entries of words that have changed since are passed over.
    std::vector<std::pair<qint64, int>> m_waiting;
    std::vector<std::pair<qint32, int>> m_newWords;
    int m_stage1Words = 0;
    int m_notExcluded = 0;
    int m_notExcludedOutsideStage1 = 0;
};
