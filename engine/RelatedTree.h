#pragma once
// The related-words tree of a word: the words of the current file derived
// from it or from its base, the words sharing one of its meanings, and (for
// the Italian file) the words sharing its prefix, suffix or origin, with the
// related-words entries of that origin. The tree page shows it; the tool
// prints it.
#include "data/RelatedWords.h"

#include <QList>
#include <QString>
#include <QStringList>

class TCC;

// Icon of a related-words entry; words of the file carry the file's
// language kind.
inline constexpr int kRelatedEntryIcon = 2;
inline constexpr int kMaxListedRelated = 999;   // words and entries each

struct TRelatedNode {
    QString text;
    int icon = 0;
    QList<TRelatedNode> children;
};

// The root is the word at `position`; its children are the groups
// ("派生", "同義", "接頭辞", "接尾辞", "同語源", in order of first use), each
// sorted by text. With no related word at all the root has the one child
// " nothing".
TRelatedNode BuildRelatedTree(const TCC &cc, const TRelatedWords &related, int position);

// The stored headwords of the telop line above the options, in this order:
// the words whose link 1 or 2 is the word at `position`, then the words that
// are its link 1, then those that are its link 2 (words 1 to the file's
// DBTangoTotal, the word itself left out).
QStringList TelopHeadwords(const TCC &cc, int position);
