#pragma once
// The word table: a fixed, preallocated array of TTango records, positions 1
// to 30000 (position 0 is never used). A position is the word's number in its
// learning file. Positions 1..TangoTotal take part in learning, positions up
// to DBTangoTotal in look-ups.
#include "base/DateText.h"

#include <QString>
#include <QtGlobal>
#include <algorithm>
#include <array>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

inline constexpr int kMaxWords = 30000;      // positions 1..30000
inline constexpr int kMaxHistory = 99;       // entries per history array

// One history array of a record: kMaxHistory entries, held outside the
// record and only once the word has history, so that the word table stays
// small enough for choosing a question to scan it quickly. Reading an
// entry of an empty array gives 0.
template <typename T>
class THistoryArray {
public:
    using Entries = std::array<T, kMaxHistory>;

    THistoryArray() = default;
    THistoryArray(const THistoryArray &other) : m_entries(other.m_entries ? std::make_unique<Entries>(*other.m_entries) : nullptr) {}
    THistoryArray &operator=(const THistoryArray &other)
    {
        if (this != &other)
            m_entries = other.m_entries ? std::make_unique<Entries>(*other.m_entries) : nullptr;
        return *this;
    }
    THistoryArray(THistoryArray &&) noexcept = default;
    THistoryArray &operator=(THistoryArray &&) noexcept = default;

    T operator[](size_t i) const { return m_entries ? (*m_entries)[i] : T{}; }
    T &operator[](size_t i)
    {
        if (!m_entries)
            m_entries = std::make_unique<Entries>();
        return (*m_entries)[i];
    }
    // Every entry becomes value; 0 gives the room back.
    void fill(T value)
    {
        if (value == T{}) {
            m_entries.reset();
            return;
        }
        if (!m_entries)
            m_entries = std::make_unique<Entries>();
        m_entries->fill(value);
    }
    static constexpr size_t size() { return kMaxHistory; }
    friend bool operator==(const THistoryArray &a, const THistoryArray &b)
    {
        for (size_t i = 0; i < kMaxHistory; ++i)
            if (a[i] != b[i])
                return false;
        return true;
    }

private:
    std::unique_ptr<Entries> m_entries;
};

// A word's stage: new and being learned (levels 1..5, spaced in questions),
// known (levels 6..12, spaced in days), mastered (long intervals). A damaged
// record may hold another number; it is kept as read.
enum class TStage : qint32 { One = 1, Two = 2, Three = 3 };

// The stage as its number (record file, tools, pictures).
constexpr qint32 StageNumber(TStage stage) { return static_cast<qint32>(stage); }

struct TTango {
    // ---- what choosing a question reads, together at the front ----
    qint32 number = 0;                 // 0 for a row that had no number
    qint32 level = 0;                  // 0..12; 99: never asked again
    TStage stage = TStage::One;
    qint32 stage1Counter = 0;          // 0 never asked; else 1 + questions since last asked
    bool stage1Limit = false;

    // ---- word entry (from the learning file) ----
    QString word;                      // as written, with its markup
    std::array<QString, 4> attributes; // [0] pronunciation code, [2] 4th column of TT/DT
    QString itColumn9;
    std::array<QString, 2> links;
    QString itColumn12;
    std::array<QString, 6> meanings;
    std::array<QString, 3> itColumns13to15;
    QString joinedMeanings;

    // ---- word record (from the record file) ----
    QString stage1History;                              // "0[1]3[2]..."
    qint32 stage1Count = 0;
    THistoryArray<qint32> stage1Questions;              // entry k at index k-1
    THistoryArray<qint8> stage1Levels;
    QString stage2History;                              // "2009/7/5[6]2009/7/25[7]"
    qint32 stage2Count = 0;
    THistoryArray<qint32> stage2Days;                   // entry dates as Julian day numbers
    THistoryArray<qint8> stage2Levels;
    qint32 timesAsked = 0;
    qint32 wrongCount = 0;
    qint32 resetCount = 0;
    TDueDate nextDueDate;              // stage 2 and 3; empty in stage 1
    qint32 starX = 0;
    qint32 starY = 0;
};

inline constexpr int kExcludedLevel = 99;

// Counters of a record (times asked, wrong answers, history counts, ...)
// count up but stop at the largest value a record file can hold: a damaged
// or edited file may already hold it.
inline void CountUp(qint32 &counter)
{
    if (counter < std::numeric_limits<qint32>::max())
        ++counter;
}

// Positions 0..kMaxWords; index by position directly. The records sit in
// one block of large memory pages: choosing a question reads the front of
// every record, and with small pages that pass would spend its time on
// address translation.
class TWordTable {
public:
    TWordTable();
    ~TWordTable();
    TWordTable(const TWordTable &) = delete;
    TWordTable &operator=(const TWordTable &) = delete;

    // A record reached through the table is always up to date (its stage-1
    // counter included); reaching it for writing also notes it as changed.
    TTango &operator[](int position)
    {
        const size_t p = static_cast<size_t>(position);
        CatchUp(p);
        NoteChange(p);
        m_reached = std::max(m_reached, p);
        return m_words[p];
    }
    const TTango &operator[](int position) const
    {
        const size_t p = static_cast<size_t>(position);
        CatchUp(p);
        return m_words[p];
    }
    static bool IsPosition(qint64 position) { return position >= 1 && position <= kMaxWords; }
    // Zeroes every record before the next learning file loads.
    void Clear();

    // One more question for the stage-1 counters of positions 1..total:
    // every counter of 1 or more whose limit flag is clear counts up (and
    // stops at the largest value a record file can hold). A record catches
    // up the next time it is reached, so the raise itself is one increment.
    void RaiseStage1Counters(int total);
    // How many raises there have been; a counter that counts up from value
    // v at raise r has the value v + (n - r) at raise n.
    qint64 Stage1Raises() const { return m_raises; }

    // The positions reached for writing since the last ForgetChanges(), in
    // the order first reached; AllChanged() when that was too many to list
    // (a load, a clear) and every record must be looked at again.
    bool AllChanged() const { return m_allChanged; }
    const std::vector<int> &ChangedPositions() const { return m_changed; }
    void ForgetChanges();

    // The words that may have this meaning among their six: every word that
    // has it, and by chance a few that do not (callers compare the texts).
    // The index behind it is made at the first call after Clear(), so the
    // meanings must be complete by then; a loader starts with Clear().
    struct TMeaningKey {
        size_t hash;
        int position;
    };
    std::pair<const TMeaningKey *, const TMeaningKey *> WordsWithMeaning(const QString &meaning) const;

private:
    void CatchUp(size_t p) const
    {
        if (m_raisedTo[p] != m_raises)
            CatchUpSlow(p);
    }
    void CatchUpSlow(size_t p) const;
    void NoteChange(size_t p)
    {
        if (m_allChanged || m_changedMark[p])
            return;
        if (m_changed.size() >= kChangeListLength) {
            m_allChanged = true;
            return;
        }
        m_changedMark[p] = 1;
        m_changed.push_back(static_cast<int>(p));
    }
    static constexpr size_t kChangeListLength = 2048;

    TTango *m_words = nullptr;
    size_t m_bytes = 0;
    qint64 m_raises = 0;
    int m_raisedTotal = 0;                     // positions the raises reach
    mutable std::vector<qint64> m_raisedTo;    // the raise each record has caught up to
    std::vector<int> m_changed;
    std::vector<quint8> m_changedMark;
    bool m_allChanged = true;
    size_t m_reached = 0;                      // no record past it was reached for writing since Clear()
    // Every non-empty meaning of every word as (hash, position), by bucket:
    // bucket b (the hash's bits in the mask) from m_meaningBuckets[b] to
    // m_meaningBuckets[b + 1].
    mutable std::vector<TMeaningKey> m_meaningIndex;
    mutable std::vector<quint32> m_meaningBuckets;
    mutable size_t m_meaningMask = 0;
    mutable bool m_meaningIndexMade = false;
};
