#include "engine/AnswerCheck.h"

#include "engine/CommonUnit.h"

#include <QHash>

#include <algorithm>
#include <vector>

namespace {
const QString kPhraseFileTJ = QStringLiteral("TJ");
const QString kPhraseFileDJ = QStringLiteral("DJ");
const QString kObjectMark = QStringLiteral("～");
const QString kVerbMark = QStringLiteral(" <v.i.>");
const QString kCommaSpace = QStringLiteral(", ");
constexpr QChar kAlternative = u'/';
constexpr QChar kOpen = u'(';
constexpr QChar kClose = u')';
constexpr QChar kPlaceholderAt = u'@';
constexpr QChar kVerbMarkStart = u'_';
constexpr QChar kBracketOpen = u'[';
constexpr QChar kBracketClose = u']';
constexpr QChar kApostrophe = u'\'';
constexpr QChar kHidden = u'*';

bool IsMarkedDigit(QChar c) { return c == u'1' || c == u'2' || c == u'3'; }

// True when the character at i is the last one and its first occurrence.
bool IsOnlyAtEnd(const QString &s, qsizetype i)
{
    return i == s.size() - 1 && s.indexOf(s.at(i)) == i;
}

// Position of the first space at or after from, or the end of the text.
qsizetype NextSpaceOrEnd(const QString &s, qsizetype from)
{
    const qsizetype sp = s.indexOf(u' ', from);
    return sp < 0 ? s.size() : sp;
}

// Deletes apostrophes at the positions 0 .. typedLength-1, each position
// looked at once from left to right (the character that moves into a deleted
// place is not looked at again).
QString RemoveApostrophes(QString form, qsizetype typedLength)
{
    for (qsizetype i = 0; i < typedLength && i < form.size(); ++i)
        if (form.at(i) == kApostrophe)
            form.remove(i, 1);
    return form;
}

bool MatchesExactOrLower(const QString &typed, const QString &form)
{
    return typed == form || typed == form.toLower();
}

bool MatchesExactLowerOrFolded(const QString &typed, const QString &form)
{
    return MatchesExactOrLower(typed, form) || typed == FoldDiacritics(form);
}

// Typed text against the phrase's accepted forms. A last accepted form that
// is the beginning of the full form would end typing too early, so then
// nothing is accepted this way.
bool MatchesAcceptedForms(const QString &word, const QString &typed, const QString &form)
{
    const QStringList accepted = ExpandAcceptedAnswers(word);
    bool result = false;
    for (const QString &candidate : accepted) {
        if (MatchesExactLowerOrFolded(typed, candidate)
            || MatchesExactOrLower(typed, RemoveApostrophes(candidate, typed.size())))
            result = true;
    }
    if (!accepted.isEmpty()) {
        const QString &last = accepted.last();
        if (last != form && form.startsWith(last))
            result = false;
    }
    return result;
}

// The form a typed answer is compared with: display form without a trailing
// digit of any kind.
QString CheckedForm(const QString &word, THeadwordKind kind)
{
    QString form = DisplayForm(word, kind);
    if (!form.isEmpty() && form.back().isDigit())
        form.chop(1);
    return form;
}

// One pass of the accepted-forms expansion: the k-th alternative taken, the
// optional parts kept, the marks removed.
struct TCandidate {
    QString text;
    bool marked = false;   // used an alternative or an optional part, or is a question
};

TCandidate ExpandPass(const QString &word, int k)
{
    TCandidate c;
    QString &s = c.text;
    s = word;
    int slashes = 0;
    qsizetype i = 0;
    while (i < s.size()) {
        const QChar ch = s.at(i);
        if (ch == kAlternative) {
            ++slashes;
            if (slashes != k) {
                ++i;
                continue;
            }
            // The k-th alternative: drop the text before it back to the
            // preceding space, then the first remaining alternative mark with
            // what follows it up to the next space.
            const qsizetype start = i > 0 ? s.lastIndexOf(u' ', i - 1) + 1 : 0;
            s.remove(start, i + 1 - start);
            i = start;
            const qsizetype j = s.indexOf(kAlternative);
            if (j >= 0) {
                const qsizetype removed = NextSpaceOrEnd(s, j) - j;
                s.remove(j, removed);
                if (j < i)
                    i -= removed;   // an earlier word: the scan stays where it was
            }
            c.marked = true;
        } else if (ch == kOpen) {
            s.remove(i, 1);
            const qsizetype close = s.indexOf(kClose, i);
            if (close >= 0)
                s.remove(close, 1);
            c.marked = true;
        } else if (ch == kBracketOpen) {
            s.remove(i, 1);
            const qsizetype close = s.indexOf(kBracketClose);
            if (close >= 0) {
                s.remove(close, 1);
                if (close < i)
                    --i;
            }
        } else if (ch == kVerbMarkStart) {
            s.remove(i, 2);
        } else if (ch == kPlaceholderAt) {
            if (i > 0) {
                s.remove(i - 1, 2);
                --i;
            } else {
                s.remove(i, 1);
            }
        } else if (IsMarkedDigit(ch) && IsOnlyAtEnd(s, i)) {
            s.remove(i, 1);
        } else {
            ++i;
        }
    }
    if (!s.isEmpty() && (s.back() == u'?' || s.back() == u'¿' || s.back() == u'¡')) {
        c.marked = true;
        const qsizetype q = s.indexOf(u'?');
        if (q > 0)
            s.remove(q - 1, 2);
        else if (q == 0)
            s.remove(0, 1);
    }
    return c;
}

const QHash<QChar, QString> &DiacriticTable()
{
    static const QHash<QChar, QString> table = [] {
        QHash<QChar, QString> t;
        for (const TDiacriticGroup &group : DiacriticGroups())
            for (QChar c : group.letters)
                t.insert(c, group.plain);
        return t;
    }();
    return table;
}

// Puts the first standalone occurrence of a placeholder letter in quotes:
// "A " at the start, " A " inside, or " A" at the end.
void QuotePlaceholder(QString &s, QChar letter)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s.at(i) != letter)
            continue;
        const bool spaceBefore = i > 0 && s.at(i - 1) == u' ';
        const bool atStart = i == 0;
        const bool spaceAfter = i + 1 < s.size() && s.at(i + 1) == u' ';
        const bool atEnd = i + 1 == s.size();
        if ((atStart && spaceAfter) || (spaceBefore && (spaceAfter || atEnd))) {
            s.insert(i + 1, u'"');
            s.insert(i, u'"');
            return;
        }
    }
}
}

THeadwordKind HeadwordKindOf(const QString &fileCode, bool userFile)
{
    if (userFile)
        return THeadwordKind::UserFile;
    if (fileCode == kPhraseFileTJ || fileCode == kPhraseFileDJ)
        return THeadwordKind::Phrase;
    return THeadwordKind::Word;
}

QString FormatHeadword(const QString &word, bool stripDigit, THeadwordKind kind)
{
    if (kind == THeadwordKind::UserFile)
        return word;
    QString s = stripDigit ? StripHomonymDigit(word) : word;
    qsizetype i = 0;
    while (i < s.size()) {
        const QChar ch = s.at(i);
        if (ch == kAlternative) {
            // Only the first alternative stays; go on after the space.
            s.remove(i, NextSpaceOrEnd(s, i) - i);
            ++i;
        } else if (ch == kOpen) {
            // An optional part goes with its brackets; an unclosed one runs
            // to the end of the text.
            const qsizetype close = s.indexOf(kClose, i + 1);
            s.remove(i, (close < 0 ? s.size() : close + 1) - i);
            if (i < s.size() && s.at(i) == u' ') {
                s.remove(i, 1);
            } else if (i >= s.size()) {
                // At the end: the space in front of the bracket goes too.
                if (i > 0 && s.at(i - 1) == u' ')
                    s.remove(i - 1, 1);
                break;
            } else {
                i += 1;
            }
        } else if (ch == kPlaceholderAt) {
            s[i] = u'～';
            ++i;
        } else if (IsMarkedDigit(ch) && IsOnlyAtEnd(s, i)) {
            s.insert(i + 1, kClose);
            s.insert(i, QStringLiteral(" ("));
            break;
        } else if (ch == kVerbMarkStart) {
            s.replace(i, 2, kVerbMark);
            break;
        } else {
            ++i;
        }
    }
    return s;
}

QString FormatPhraseHeadword(const QString &word, bool plain, THeadwordKind kind)
{
    if (kind == THeadwordKind::UserFile)
        return word;
    QString s = FormatHeadword(word, true, kind);
    if (const qsizetype p = s.indexOf(kObjectMark); p >= 0) {
        s.remove(p, 2);
        if (s.endsWith(u' '))
            s.chop(1);
    }
    if (const qsizetype p = s.indexOf(kVerbMark); p >= 0)
        s.remove(p, kVerbMark.size());
    if (kind == THeadwordKind::Phrase) {
        if (const qsizetype p = s.indexOf(kBracketOpen); p >= 0)
            s.remove(p, 1);
        if (const qsizetype p = s.indexOf(kBracketClose); p >= 0)
            s.remove(p, 1);
    }
    if (!plain)
        for (QChar letter : {u'A', u'B', u'C'})
            QuotePlaceholder(s, letter);
    return s;
}

QString DisplayForm(const QString &word, THeadwordKind kind)
{
    if (kind == THeadwordKind::Phrase)
        return FormatPhraseHeadword(word, true, kind);
    return FormatHeadword(word, true, kind);
}

QStringList ExpandAcceptedAnswers(const QString &word)
{
    QStringList forms;
    for (int k = 1; forms.size() < kMaxAcceptedForms; ++k) {
        const TCandidate c = ExpandPass(word, k);
        if (!c.marked || (!forms.isEmpty() && c.text == forms.last()))
            break;
        forms.append(c.text);
    }
    // "a, b" is also accepted as "a,b", for the headword and every form.
    QStringList bases{word};
    bases += forms;
    for (QString text : bases) {
        qsizetype p;
        while ((p = text.indexOf(kCommaSpace)) >= 0 && forms.size() < kMaxAcceptedForms) {
            text.remove(p + 1, 1);
            forms.append(text);
        }
    }
    return forms;
}

const QList<TDiacriticGroup> &DiacriticGroups()
{
    static const QList<TDiacriticGroup> groups = {
        {QStringLiteral("àáâãäå"), QStringLiteral("a")}, {QStringLiteral("ÀÁÂÃÄÅ"), QStringLiteral("A")},
        {QStringLiteral("æ"), QStringLiteral("ae")},     {QStringLiteral("Æ"), QStringLiteral("AE")},
        {QStringLiteral("ç"), QStringLiteral("c")},      {QStringLiteral("Ç"), QStringLiteral("C")},
        {QStringLiteral("èéêë"), QStringLiteral("e")},   {QStringLiteral("ÈÉÊË"), QStringLiteral("E")},
        {QStringLiteral("ìíîï"), QStringLiteral("i")},   {QStringLiteral("ÌÍÎÏ"), QStringLiteral("I")},
        {QStringLiteral("ñ"), QStringLiteral("n")},      {QStringLiteral("Ñ"), QStringLiteral("N")},
        {QStringLiteral("òóôõö"), QStringLiteral("o")},  {QStringLiteral("ÒÓÔÕÖ"), QStringLiteral("O")},
        {QStringLiteral("œ"), QStringLiteral("oe")},     {QStringLiteral("Œ"), QStringLiteral("OE")},
        {QStringLiteral("ß"), QStringLiteral("s")},      {QStringLiteral("ùúûü"), QStringLiteral("u")},
        {QStringLiteral("ÙÚÛÜ"), QStringLiteral("U")},
    };
    return groups;
}

QString FoldDiacritics(const QString &text)
{
    const auto &table = DiacriticTable();
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const auto it = table.constFind(c);
        if (it == table.cend())
            out += c;
        else
            out += *it;
    }
    return out;
}

bool CheckTypedAnswer(const QString &word, const QString &typed, THeadwordKind kind)
{
    if (typed.isEmpty())
        return false;
    const QString form = CheckedForm(word, kind);
    if (MatchesExactLowerOrFolded(typed, form))
        return true;
    if (MatchesExactOrLower(typed, RemoveApostrophes(form, typed.size())))
        return true;
    if (kind == THeadwordKind::Phrase)
        return MatchesAcceptedForms(word, typed, form);
    return false;
}

bool CheckTypedAnswerAlternatives(const QString &word, const QString &typed,
                                  const QStringList &choiceWords, THeadwordKind kind)
{
    if (typed.isEmpty())
        return false;
    const QString form = DisplayForm(word, kind);
    if (MatchesExactLowerOrFolded(typed, form))
        return true;
    for (const QString &choice : choiceWords) {
        const QString choiceForm = DisplayForm(choice, kind);
        if (MatchesExactOrLower(typed, choiceForm)
            || MatchesExactOrLower(typed, RemoveApostrophes(choiceForm, typed.size())))
            return true;
    }
    return kind == THeadwordKind::Phrase && MatchesAcceptedForms(word, typed, form);
}

QString TypingHint(const QString &typingForm, bool lookAlike, THeadwordKind kind)
{
    if (typingForm.isEmpty())
        return {};
    QString hint(typingForm.at(0));
    const qsizetype n = typingForm.size();
    for (qsizetype i = 1; i < n; ++i) {
        const QChar c = typingForm.at(i);
        if (kind == THeadwordKind::Phrase) {
            const bool visible = c == kApostrophe || c == u',' || c == u' ' || c == u'A'
                                 || c == u'B' || c == u'C' || c == u'?';
            hint += visible ? c : kHidden;
        } else {
            hint += (lookAlike && i == n - 1) ? c : kHidden;
        }
    }
    return hint;
}

// ---- the rules bound to one file: its word table and headword kind ----

QString TAnswerChecker::FormatHeadword(const QString &word, bool stripDigit) const
{
    return ::FormatHeadword(word, stripDigit, m_kind);
}

QString TAnswerChecker::FormatPhraseHeadword(const QString &word, bool plain) const
{
    return ::FormatPhraseHeadword(word, plain, m_kind);
}

QString TAnswerChecker::DisplayForm(int position) const
{
    return ::DisplayForm(m_words[position].word, m_kind);
}

bool TAnswerChecker::CheckTypedAnswer(const QString &word, const QString &typed) const
{
    return ::CheckTypedAnswer(word, typed, m_kind);
}

bool TAnswerChecker::CheckTypedAnswerAlternatives(const QString &word, const QString &typed,
                                                  const std::array<int, 3> &choices) const
{
    QStringList choiceWords;
    for (int p : choices)
        if (TWordTable::IsPosition(p))
            choiceWords.append(m_words[p].word);
    return ::CheckTypedAnswerAlternatives(word, typed, choiceWords, m_kind);
}

namespace {
// Exact equality, with the cheap tests first: this runs for every word of
// the file on every typing decision.
bool SameMeaning(const QString &x, const QString &y)
{
    return x.size() == y.size() && x.front() == y.front() && x == y;
}
}

bool TAnswerChecker::AreConfusable(int a, int b) const
{
    const auto &ma = m_words[a].meanings;
    const auto &mb = m_words[b].meanings;
    for (const QString &m : ma) {
        if (m.isEmpty())
            break;
        for (const QString &other : mb)
            if (!other.isEmpty() && SameMeaning(m, other))
                return true;
    }
    return false;
}

TTypingHintCheck TAnswerChecker::CheckTypingHint(int position) const
{
    TTypingHintCheck check;
    const QString form = DisplayForm(position);
    if (form.size() <= kShortestTypingHintLength)
        return check;
    const QChar first = form.front();
    const QChar last = form.back();
    const int rows = m_lookupRows;
    // Only a word that shares a meaning can look alike: those are found
    // through the meaning index, each once (the outcome does not depend on
    // the order in which they are met).
    std::vector<int> sharing;
    for (const QString &m : m_words[position].meanings) {
        if (m.isEmpty())
            break;
        const auto [from, to] = m_words.WordsWithMeaning(m);
        for (auto k = from; k != to; ++k)
            sharing.push_back(k->position);
    }
    std::sort(sharing.begin(), sharing.end());
    sharing.erase(std::unique(sharing.begin(), sharing.end()), sharing.end());
    for (const int p : sharing) {
        if (p == position || p > rows)
            continue;
        // Markup never touches a letter at the start of a headword: a word
        // that starts with another letter cannot look alike.
        const QString &stored = m_words[p].word;
        if (stored.isEmpty() || (stored.front() != first && stored.front().isLetter()))
            continue;
        if (!AreConfusable(position, p))
            continue;
        const QString other = DisplayForm(p);
        if (other.size() != form.size() || other.front() != first)
            continue;
        check.lookAlike = true;
        if (other.back() == last)
            return check;
    }
    check.allowed = true;
    return check;
}

// ---- the engine object's side: the current file ----

TAnswerChecker TCC::AnswerChecker() const
{
    // The look-alike test covers every row of the file.
    const int rows = qBound(0, catalog.rows[static_cast<size_t>(qBound(0, fileSlot, kSlotCount))].DBTangoTotal,
                            kMaxWords);
    return TAnswerChecker(wordRecords.words, HeadwordKind(), rows);
}

void TCC::ExpandAcceptedAnswers(const QString &word)
{
    acceptedForms = ::ExpandAcceptedAnswers(word);
}

TTypingDecision TCC::DecideTypingQuestion(int position, bool typingForEvenLevels,
                                          TAnswerDirection answerDirection) const
{
    TTypingDecision decision;
    if (!typingForEvenLevels || answerDirection != TAnswerDirection::MeaningToWord)
        return decision;
    const TTango &t = wordRecords.words[position];
    const bool evenLevel = t.level > 0 && t.level <= 12 && t.level % 2 == 0;
    if (t.stage != TStage::Three && !evenLevel)
        return decision;
    const TAnswerChecker checker = AnswerChecker();
    const TTypingHintCheck check = checker.CheckTypingHint(position);
    if (!check.allowed)
        return decision;
    decision.typing = true;
    decision.lookAlike = check.lookAlike;
    decision.hint = ::TypingHint(checker.DisplayForm(position), check.lookAlike, checker.Kind());
    return decision;
}
