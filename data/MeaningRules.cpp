#include "data/MeaningRules.h"

#include <algorithm>

namespace {
struct TLabel {
    char16_t letter;
    const char16_t *label;
};
// Labels of the Italian list's leading letters.
constexpr TLabel kItalianLabels[] = {
    {u'm', u"【音楽】"},
    {u's', u"【スポーツ】"},
    {u'o', u"【大文字で】"},
    {u'f', u"【複】"},
};

// The first `open` becomes `left`, the next `open` after it `right`; without a
// second one, `right` is appended when closeAtEnd is set.
void ReplacePair(QString &text, QChar open, QChar left, QChar right, bool closeAtEnd)
{
    const qsizetype first = text.indexOf(open);
    if (first < 0)
        return;
    text[first] = left;
    const qsizetype second = text.indexOf(open, first + 1);
    if (second >= 0)
        text[second] = right;
    else if (closeAtEnd)
        text.append(right);
}
}

TMeaningRules MeaningRulesOf(const QString &fileCode, bool userFile)
{
    if (userFile || fileCode == QStringLiteral("TJ") || fileCode == QStringLiteral("DJ"))
        return TMeaningRules::Plain;
    if (fileCode == QStringLiteral("IT"))
        return TMeaningRules::Italian;
    return TMeaningRules::Standard;
}

QString NormalizeMeaningText(const QString &meaning, TMeaningRules rules)
{
    if (rules == TMeaningRules::Plain)
        return meaning;
    return NormalizeMeaningView(meaning, rules);
}

QString NormalizeMeaningView(QStringView meaning, TMeaningRules rules)
{
    if (rules == TMeaningRules::Plain)
        return meaning.toString();
    // A leading ASCII character is never a bracket: it is dropped (and its
    // label put in front) before the one string is made, and the brackets
    // are replaced in that string.
    const char16_t first = meaning.isEmpty() ? 0 : meaning.front().unicode();
    const bool leading = !meaning.isEmpty() && first < 128;
    QString text;
    if (!leading || (rules == TMeaningRules::Standard && first >= u'1' && first <= u'9')) {
        text = meaning.toString();
    } else {
        const QStringView rest = meaning.sliced(1);
        const char16_t *label = nullptr;
        if (rules == TMeaningRules::Italian)
            for (const TLabel &l : kItalianLabels)
                if (l.letter == first)
                    label = l.label;
        if (label) {
            text = QString::fromUtf16(label);
            text += rest;
        } else {
            text = rest.toString();
        }
    }
    // Most meanings hold no markup: one look at the units spares the searches.
    const bool markup = std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c == u'｜' || c == u'：'; });
    if (markup) {
        ReplacePair(text, QChar(u'｜'), QChar(u'（'), QChar(u'）'), false);
        ReplacePair(text, QChar(u'：'), QChar(u'〈'), QChar(u'〉'), true);
    }
    return text;
}

QString JoinMeanings(const std::array<QString, 6> &meanings)
{
    // One string of the joined length, or meaning 1 itself when alone.
    size_t count = 1;
    qsizetype length = meanings[0].size();
    while (count < meanings.size() && !meanings[count].isEmpty()) {
        length += 1 + meanings[count].size();
        ++count;
    }
    if (count == 1)
        return meanings[0];
    QString joined(length, Qt::Uninitialized);
    QChar *out = joined.data();
    for (size_t i = 0; i < count; ++i) {
        if (i > 0)
            *out++ = QChar(u'、');
        out = std::copy(meanings[i].cbegin(), meanings[i].cend(), out);
    }
    return joined;
}
