#pragma once
// The word table: a fixed, preallocated array of TTango records, positions 1
// to 30000 (position 0 is never used). A position is the word's number in its
// learning file. Positions 1..TangoTotal take part in learning, positions up
// to DBTangoTotal in look-ups.
#include <QString>
#include <QtGlobal>
#include <array>
#include <limits>
#include <vector>

inline constexpr int kMaxWords = 30000;      // positions 1..30000
inline constexpr int kMaxHistory = 99;       // entries per history array

struct TTango {
    // ---- word entry (from the learning file) ----
    qint32 number = 0;                 // 0 for a row that had no number
    QString word;                      // as written, with its markup
    std::array<QString, 4> attributes; // [0] pronunciation code, [2] 4th column of TT/DT
    QString itColumn9;
    std::array<QString, 2> links;
    QString itColumn12;
    std::array<QString, 6> meanings;
    std::array<QString, 3> itColumns13to15;
    QString joinedMeanings;

    // ---- word record (from the record file) ----
    qint32 stage = 1;
    QString stage1History;                              // "0[1]3[2]..."
    qint32 stage1Count = 0;
    std::array<qint32, kMaxHistory> stage1Questions{};  // entry k at index k-1
    std::array<qint8, kMaxHistory> stage1Levels{};
    QString stage2History;                              // "2009/7/5[6]2009/7/25[7]"
    qint32 stage2Count = 0;
    std::array<qint32, kMaxHistory> stage2Days{};       // entry dates as Julian day numbers
    std::array<qint8, kMaxHistory> stage2Levels{};
    qint32 timesAsked = 0;
    qint32 wrongCount = 0;
    qint32 resetCount = 0;
    qint32 level = 0;                  // 0..12; 99: never asked again
    qint32 stage1Counter = 0;          // 0 never asked; else 1 + questions since last asked
    QString nextDueDate;               // stage 2 and 3; empty in stage 1
    qint32 starX = 0;
    qint32 starY = 0;
    bool stage1Limit = false;
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

// Positions 0..kMaxWords; index by position directly.
class TWordTable {
public:
    TWordTable() : m_words(kMaxWords + 1) {}
    TTango &operator[](int position) { return m_words[static_cast<size_t>(position)]; }
    const TTango &operator[](int position) const { return m_words[static_cast<size_t>(position)]; }
    static bool IsPosition(qint64 position) { return position >= 1 && position <= kMaxWords; }
    // Zeroes every record before the next learning file loads.
    void Clear()
    {
        for (TTango &t : m_words)
            t = TTango{};
    }

private:
    std::vector<TTango> m_words;
};
