#include "engine/QuickResponse.h"

#include <QtMath>

namespace {
constexpr double kWordDivisor = 20.0;
constexpr double kPhraseDivisor = 15.0;
constexpr double kWhiteAt = 1.2;   // white at 1 / 1.2 = five sixths of the time
constexpr int kWhite = 255;
}

double QuickResponseItemSeconds(int speed, bool phraseFile)
{
    return (100 - speed) / (phraseFile ? kPhraseDivisor : kWordDivisor);
}

int QuickResponseGrey(qint64 elapsedMs, double seconds)
{
    if (seconds <= 0)
        return kWhite;
    const qint64 level = static_cast<qint64>(elapsedMs * 255 / (seconds * 1000));
    return static_cast<int>(qMin<qint64>(static_cast<qint64>(level * kWhiteAt), kWhite));
}

QString QuickResponseMeanings(QString joined)
{
    const QChar comma = QChar(0x3001);   // "、"
    while (joined.size() > kQuickResponseLongestMeanings && joined.contains(comma))
        joined.truncate(joined.lastIndexOf(comma));
    return joined;
}

namespace {
// A word asked again right after a wrong answer (its retry) is one word of
// the drill, not two in a row.
QList<int> WithoutRetries(const QList<int> &asked)
{
    QList<int> words;
    for (const int word : asked)
        if (words.isEmpty() || words.constLast() != word)
            words.append(word);
    return words;
}
}

TQuickResponseDrill::TQuickResponseDrill(const QList<int> &words)
    : m_words(WithoutRetries(words)), m_result(m_words.size(), false), m_previous(m_words.size(), false)
{
}

void TQuickResponseDrill::BeginPass(bool missesOnly)
{
    if (missesOnly) {
        m_skipped += m_correctInPass;
        m_previous = m_result;
    } else {
        m_skipped = 0;
        m_result.fill(false);
        m_previous.fill(false);
    }
    m_missesOnly = missesOnly;
    m_correctInPass = 0;
    m_current = 0;
    m_counted = 0;
    m_lastMarked = 0;
    m_running = true;
}

bool TQuickResponseDrill::NextItem()
{
    for (int item = m_current + 1; item <= WordCount(); ++item) {
        if (m_missesOnly && m_previous.at(item - 1))
            continue;   // answered ○ in an earlier pass
        m_current = item;
        ++m_counted;
        m_result[item - 1] = false;
        return true;
    }
    m_current = WordCount() + 1;
    return false;
}

int TQuickResponseDrill::TotalInPass() const
{
    return m_missesOnly ? WordCount() - m_skipped : WordCount();
}

bool TQuickResponseDrill::Press()
{
    if (!m_running || m_current < 1 || m_current > WordCount() || m_lastMarked == m_current)
        return false;
    m_result[m_current - 1] = true;
    ++m_correctInPass;
    m_lastMarked = m_current;
    return true;
}

void TQuickResponseDrill::EndPass()
{
    m_running = false;
    m_current = 0;
    m_lastMarked = 0;
}

QList<int> TQuickResponseDrill::ListedItems() const
{
    QList<int> items;
    for (int item = 1; item <= WordCount(); ++item)
        if (!m_missesOnly || !m_previous.at(item - 1))
            items.append(item);
    return items;
}

bool TQuickResponseDrill::AnyMissedInList() const
{
    for (const int item : ListedItems())
        if (!IsCorrect(item))
            return true;
    return false;
}
