#include "engine/WordBrowser.h"

#include "engine/CommonUnit.h"

#include <algorithm>

QStringList WordBrowserLines(const TCC &cc, int level)
{
    QStringList lines;
    const int total = cc.TangoTotal();
    for (int p = 1; p <= total; ++p) {
        const TTango &t = cc.words[p];
        if (t.level == level)
            lines.append(cc.FormatHeadword(t.word, true) + kMeaningsOpen + t.joinedMeanings + kMeaningsClose);
    }
    std::sort(lines.begin(), lines.end(), [](const QString &a, const QString &b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    return lines;
}

QString SpokenPartOfLine(const QString &line)
{
    const qsizetype end = line.indexOf(QStringLiteral("（ "));
    return (end < 0 ? line : line.left(end)).trimmed();
}
