#include "data/MeaningRules.h"

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
    QString text = meaning;
    ReplacePair(text, QChar(u'｜'), QChar(u'（'), QChar(u'）'), false);
    ReplacePair(text, QChar(u'：'), QChar(u'〈'), QChar(u'〉'), true);
    if (text.isEmpty() || text.at(0).unicode() >= 128)
        return text;
    const char16_t first = text.at(0).unicode();
    if (rules == TMeaningRules::Standard) {
        if (first >= u'1' && first <= u'9')
            return text;
        return text.mid(1);
    }
    text.remove(0, 1);
    for (const TLabel &l : kItalianLabels)
        if (l.letter == first)
            return QString::fromUtf16(l.label) + text;
    return text;
}

QString JoinMeanings(const std::array<QString, 6> &meanings)
{
    QString joined = meanings[0];
    for (size_t i = 1; i < meanings.size() && !meanings[i].isEmpty(); ++i)
        joined += QStringLiteral("、") + meanings[i];
    return joined;
}
