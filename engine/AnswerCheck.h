#pragma once
// Headword markup, typed-answer checking and the typing hint.
//
// Stored headwords carry a small markup: "a/b" alternatives, "(x)" optional
// parts, "@" for the object, "_i" verb marks, a trailing homonym digit,
// "[x]" bracketed parts and the placeholders A, B, C of phrases. The
// functions here turn a stored headword into what a choice button shows and
// into the forms a learner may type. They are plain text functions;
// TAnswerChecker binds them to one learning file (its word table and kind).
#include <QString>
#include <QStringList>
#include "base/HomonymDigit.h"

#include <array>

class TWordTable;

// How a file's headwords are read: user files keep them verbatim, the
// phrase files (TJ, DJ) follow the phrase rules, every other file the word
// rules.
enum class THeadwordKind { Word, Phrase, UserFile };

THeadwordKind HeadwordKindOf(const QString &fileCode, bool userFile);

inline constexpr int kMaxAcceptedForms = 9;
// Words of this length or shorter are never typing questions.
inline constexpr int kShortestTypingHintLength = 3;

// Display and typing form of a headword ("come/go on" -> "come on",
// "look (at)" -> "look", "bank2" -> "bank (2)" or "bank", "go_i" ->
// "go <v.i.>").
QString FormatHeadword(const QString &word, bool stripDigit, THeadwordKind kind);

// Form of a phrase: the headword form without "～" and its following
// character and without the verb mark; in phrase files without "[" "]".
// Unless plain, the placeholders A, B, C are put in double quotes.
QString FormatPhraseHeadword(const QString &word, bool plain, THeadwordKind kind);

// The form a file shows on its choice buttons and compares typed answers
// with: the phrase form (plain) in phrase files, otherwise the headword form
// with the homonym digit stripped.
QString DisplayForm(const QString &word, THeadwordKind kind);

// The further typed forms of a phrase ("come/go on" also "go on",
// "look (at)" also "look at", "a, b" also "a,b"); at most nine, in order.
QStringList ExpandAcceptedAnswers(const QString &word);

// Accented Latin letters replaced by their plain forms ("café" -> "cafe",
// "Œuvre" -> "OEuvre").
QString FoldDiacritics(const QString &text);

// The replacement table of FoldDiacritics, one group of letters per plain
// form, in the order the learner reads it (the help lists it from here).
struct TDiacriticGroup {
    QString letters;
    QString plain;
};
const QList<TDiacriticGroup> &DiacriticGroups();

// True when the typed text is a correct answer for the stored headword. The
// stored form may be taken in lower case or without accents; the typed text
// is compared as typed.
bool CheckTypedAnswer(const QString &word, const QString &typed, THeadwordKind kind);

// The per-keystroke test of phrase files: the typed text is the phrase, one of
// the three choices, or one of the phrase's accepted forms.
bool CheckTypedAnswerAlternatives(const QString &word, const QString &typed,
                                  const QStringList &choiceWords, THeadwordKind kind);

// First-letter hint of a typing question, built from the typing form: the
// first character, then "*" for each further one. Word files show the last
// character when a look-alike word exists; phrase files keep "'", ",",
// spaces, the placeholders and "?" visible. The window puts four spaces in
// front.
QString TypingHint(const QString &typingForm, bool lookAlike, THeadwordKind kind);

// The look-alike test of a word's typing hint.
struct TTypingHintCheck {
    bool allowed = false;     // no look-alike word has the same last letter
    bool lookAlike = false;   // some word of the same length and first letter means the same
};

// The answer rules of one learning file: its word table and the kind of its
// headwords, bound together as a small value that holds nothing of its own
// (TCC::AnswerChecker makes one for the current file).
class TAnswerChecker {
public:
    // lookupRows: the rows of the file the look-alike test covers.
    TAnswerChecker(const TWordTable &words, THeadwordKind kind, int lookupRows)
        : m_words(words), m_kind(kind), m_lookupRows(lookupRows)
    {
    }

    THeadwordKind Kind() const { return m_kind; }
    QString FormatHeadword(const QString &word, bool stripDigit) const;
    QString FormatPhraseHeadword(const QString &word, bool plain) const;
    // What a choice button shows for the word at a position (also its typing form).
    QString DisplayForm(int position) const;
    bool CheckTypedAnswer(const QString &word, const QString &typed) const;
    bool CheckTypedAnswerAlternatives(const QString &word, const QString &typed,
                                      const std::array<int, 3> &choices) const;
    // Two words share a meaning.
    bool AreConfusable(int a, int b) const;
    // Whether the first-letter hint of the word would not give a look-alike
    // word away, and whether a look-alike exists at all.
    TTypingHintCheck CheckTypingHint(int position) const;

private:
    const TWordTable &m_words;
    THeadwordKind m_kind;
    int m_lookupRows;
};
