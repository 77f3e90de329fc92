#pragma once
// Word tables and files shaped like a learner's real ones, for the benchmarks.
#include <QTemporaryDir>

class TCC;

// Fills positions 1..n of a built-in word file (TT) in memory, as after
// months of study: a fifth of the words in stage 2 or 3 with due dates
// around today, a fifth in stage 1 at various points of their spacing, a few
// excluded, the rest new. The same every time.
void FillRealisticWordTable(TCC &cc, int n);

// Gives the words of such a table the histories, due dates and star
// positions their levels imply, as the stage rules of earlier starts left them.
void GiveRealisticHistories(TCC &cc, int n);

// A program folder with a TT learning file of n words, its record file as
// the two functions above shape it, a daily quota of 200,
// and a catalog that queues TT alone.
class TBenchProgramFolder {
public:
    explicit TBenchProgramFolder(int n);
    QString Path() const { return m_dir.path() + QLatin1Char('/'); }
    // An engine on that folder with the catalog in memory, TT current.
    void Open(TCC &cc) const;
    // Open, then TT queued, opened and its study run begun; false when the
    // file did not open.
    bool OpenStudyRun(TCC &cc) const;
    // Puts the record and settings files back as they were made.
    void Restore() const;

private:
    QTemporaryDir m_dir;
    int m_words;
};
