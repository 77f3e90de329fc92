#include "data/PronunciationCode.h"

#include <QHash>
#include <array>

namespace {

// Glyph n is kElements[n].
constexpr std::array<const char16_t *, kPronunciationGlyphCount> kElements = {
    u"[k1]",  u"[k2]",  u"[k3]",   u"[k4]",  u"[k5]",  u"[k6]",   u"[k7]",   u"[k8]",
    u"[k9]",  u"[A!]",  u"[A!2]",  u"[A]",   u"[A2!]", u"[A2!2]", u"[A2]",   u"[ae!]",
    u"[ae!2]", u"[ae]", u"[D]",    u"[E!]",  u"[E!2]", u"[E]",    u"[E2!]",  u"[E2!2]",
    u"[E2]",  u"[E3!]", u"[E3!2]", u"[E3]",  u"[I]",   u"[N]",    u"[O!]",   u"[O!2]",
    u"[O]",   u"[oe!]", u"[oe!2]", u"[oe]",  u"[S]",   u"[T]",    u"[W]",    u"[X]",
    u"[Z]",   u"[k10]", u"[k11]",  u"[k12]", u"0",     u"1",      u"2",      u"3",
    u"4",     u"5",     u"6",      u"7",     u"8",     u"9",      u"[a!]",   u"[a!2]",
    u"a",     u"[k13]", u"b",      u"c",     u"[k0]",  u"d",      u"[k15]",  u"[e!]",
    u"[e!2]", u"e",     u"f",      u"g",     u"h",     u"[i!]",   u"[i!2]",  u"i",
    u"j",     u"k",     u"l",      u"m",     u"n",     u"[o!]",   u"[o!2]",  u"o",
    u"p",     u"[k16]", u"q",      u"[k17]", u"r",     u"[k18]",  u"s",      u"[k19]",
    u"t",     u"[u!]",  u"[u!2]",  u"u",     u"v",     u"w",      u"x",      u"y",
    u"z",     u" ",     u"[k7!2]", u"[k7!]", u"[E_I]", u"[E()]",  u"[k0()]", u"[k[a]]",
    u"[k[n]]", u"[k[p]]", u"[k[v]]", u"[k[adv]]", u"[O_A]", u"[O_A!]", u"[O_A!2]", u"[j()]",
    u"[t()]", u"[s_z]", u"[Es]",   u"[U!]",  u"[U!2]", u"[U]",    u"[dz]",   u"[ts]",
    u"[A!_k0]", u"[A!2_k0]", u"[O_A!_k0]", u"[O_A!2_k0]", u"[A_k0]", u"[O_A_k0]", u"[h()]",
};

const QHash<QString, int> &GlyphByElement()
{
    static const QHash<QString, int> table = [] {
        QHash<QString, int> t;
        for (int n = 0; n < kPronunciationGlyphCount; ++n)
            t.insert(QString::fromUtf16(kElements[static_cast<size_t>(n)]), n);
        return t;
    }();
    return table;
}

}   // namespace

QString PronunciationElement(int glyph)
{
    if (glyph < 0 || glyph >= kPronunciationGlyphCount)
        return {};
    return QString::fromUtf16(kElements[static_cast<size_t>(glyph)]);
}

int PronunciationGlyph(QStringView element)
{
    return GlyphByElement().value(element.toString(), -1);
}

bool IsKnownPronunciationElement(QStringView element)
{
    return PronunciationGlyph(element) >= 0;
}

qsizetype PronunciationElementLength(QStringView code, qsizetype from)
{
    const qsizetype size = code.size();
    if (from >= size)
        return 0;
    if (code[from] != u'[')
        return 1;
    for (qsizetype i = from + 1; i < size; ++i) {
        if (code[i] == u']' && (i + 1 == size || code[i + 1] != u']'))
            return i + 1 - from;
    }
    return size - from;   // never closed
}

QStringList SplitPronunciationCode(QStringView code)
{
    QStringList elements;
    for (qsizetype at = 0; at < code.size();) {
        const qsizetype length = PronunciationElementLength(code, at);
        elements.append(code.mid(at, length).toString());
        at += length;
    }
    return elements;
}

std::optional<QString> FirstUnknownPronunciationElement(QStringView code)
{
    for (const QString &element : SplitPronunciationCode(code)) {
        if (!IsKnownPronunciationElement(element))
            return element;
    }
    return std::nullopt;
}
