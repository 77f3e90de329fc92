#pragma once
// The quick-response drill after the quota: the words of the study run are
// flashed one after another, each fading from black to white, and a key
// pressed while a word is shown scores it ○; no key scores it ×. A pass over
// all words, or over the missed ones only, then the results. This is the
// drill's bookkeeping and timing; the window draws and takes the keys.
#include <QList>
#include <QString>
#include <QtGlobal>

// The drill after the quota needs this many words asked in the run.
inline constexpr int kQuickResponseMinWords = 3;
inline constexpr int kQuickResponseSlowest = 8;
inline constexpr int kQuickResponseFastest = 92;
inline constexpr int kQuickResponseDefaultSpeed = 50;
// A meaning text longer than this loses its trailing meanings.
inline constexpr int kQuickResponseLongestMeanings = 27;

// Seconds a word stays on screen at a speed (8..92): (100 - speed) / 20, or
// / 15 for the phrase files.
double QuickResponseItemSeconds(int speed, bool phraseFile);

// The grey level of the text after `elapsedMs` of an item of `seconds`: black
// at the start, white at five sixths of the time.
int QuickResponseGrey(qint64 elapsedMs, double seconds);

// The meanings as the drill shows them: cut before the last "、" while longer
// than 27 characters.
QString QuickResponseMeanings(QString joined);

class TQuickResponseDrill {
public:
    // The words of the run, in the order they were asked; a retry that
    // follows its word directly is not drilled twice.
    explicit TQuickResponseDrill(const QList<int> &words = {});

    int WordCount() const { return static_cast<int>(m_words.size()); }
    int WordAt(int item) const { return m_words.value(item - 1); }   // items 1..n

    // A new pass over every word, or over the ones not yet ○.
    void BeginPass(bool missesOnly);
    // The next item of the pass (false when the pass is over).
    bool NextItem();
    // Where the pass stands: "k / total".
    int CurrentItem() const { return m_current; }
    int CountInPass() const { return m_counted; }
    int TotalInPass() const;
    // A key while the current word is shown: true when it newly scored ○.
    bool Press();
    void EndPass();

    bool MissesOnly() const { return m_missesOnly; }
    bool IsCorrect(int item) const { return m_result.value(item - 1); }
    // The items this pass listed (all, or those still missed before it).
    QList<int> ListedItems() const;
    bool AnyMissedInList() const;

private:
    QList<int> m_words;
    QList<bool> m_result;
    QList<bool> m_previous;
    bool m_missesOnly = false;
    int m_correctInPass = 0;
    int m_skipped = 0;
    int m_current = 0;
    int m_counted = 0;
    int m_lastMarked = 0;
    bool m_running = false;
};
