#pragma once
// The pronunciation code of a word entry: plain ASCII, one element per phonetic
// glyph. An element is one character (a-z, 0-9, a space) or a bracketed name
// running from "[" to the first "]" that is not followed by another "]", so
// "[k[adv]]" is one element. Stress marks: "!" primary, "!2" secondary; "_k0"
// adds an optional length mark; "[k..." names are marks and punctuation;
// "...()" names are optional sounds shown in parentheses.
//
// The glyph table lives here, engine-free, so the data checkers can validate
// codes; drawing the glyphs is speech/Pronunciation.
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

inline constexpr int kPronunciationGlyphCount = 127;   // glyphs 0..126

// The element name of a glyph (0..126); empty outside the table.
QString PronunciationElement(int glyph);
// The glyph of an element (exact, case-sensitive), or -1 when there is none.
int PronunciationGlyph(QStringView element);
bool IsKnownPronunciationElement(QStringView element);

// Length of the element that starts at `from` (0 at the end of the text). A
// "[" that is never closed takes the rest of the text: one element that is in
// no table.
qsizetype PronunciationElementLength(QStringView code, qsizetype from = 0);
// The code cut into its elements, in order.
QStringList SplitPronunciationCode(QStringView code);
// The first element of the code that has no glyph, if any.
std::optional<QString> FirstUnknownPronunciationElement(QStringView code);
