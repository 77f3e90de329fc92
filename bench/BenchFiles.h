#pragma once
// Word tables and files shaped like a learner's real ones, for the benchmarks.
class TCC;

// Fills positions 1..n of a built-in word file (TT) in memory, as after
// months of study: a fifth of the words in stage 2 or 3 with due dates
// around today, a fifth in stage 1 at various points of their spacing, a few
// excluded, the rest new. The same every time.
void FillRealisticWordTable(TCC &cc, int n);
