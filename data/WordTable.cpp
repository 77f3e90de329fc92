#include "data/WordTable.h"

#include <QHashFunctions>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace {
constexpr size_t kWordCount = kMaxWords + 1;
constexpr size_t kLargePage = size_t(2) << 20;
}

TWordTable::TWordTable()
{
    m_bytes = (kWordCount * sizeof(TTango) + kLargePage - 1) / kLargePage * kLargePage;
    void *block = std::aligned_alloc(kLargePage, m_bytes);
    if (!block)
        throw std::bad_alloc();
#ifdef Q_OS_LINUX
    // Only a hint: without large pages the table works the same, slower.
    madvise(block, m_bytes, MADV_HUGEPAGE);
#endif
    m_words = static_cast<TTango *>(block);
    for (size_t i = 0; i < kWordCount; ++i)
        new (&m_words[i]) TTango();
    m_raisedTo.assign(kWordCount, 0);
    m_changedMark.assign(kWordCount, 0);
}

TWordTable::~TWordTable()
{
    for (size_t i = 0; i < kWordCount; ++i)
        m_words[i].~TTango();
    std::free(m_words);
}

void TWordTable::Clear()
{
    for (size_t i = 0; i < kWordCount; ++i)
        m_words[i] = TTango{};
    m_meaningIndex.clear();
    m_meaningIndexMade = false;
    ForgetChanges();
    m_allChanged = true;
}

void TWordTable::CatchUpSlow(size_t p) const
{
    TTango &t = m_words[p];
    if (p <= static_cast<size_t>(m_raisedTotal) && t.stage1Counter >= 1 && !t.stage1Limit) {
        const qint64 raised = qint64(t.stage1Counter) + (m_raises - m_raisedTo[p]);
        t.stage1Counter = static_cast<qint32>(qMin<qint64>(raised, std::numeric_limits<qint32>::max()));
    }
    m_raisedTo[p] = m_raises;
}

void TWordTable::RaiseStage1Counters(int total)
{
    if (total != m_raisedTotal) {
        // Every record catches up under the old reach before the new one holds.
        for (size_t p = 0; p < kWordCount; ++p)
            CatchUp(p);
        m_raisedTotal = total;
    }
    ++m_raises;
}

void TWordTable::ForgetChanges()
{
    for (const int p : m_changed)
        m_changedMark[static_cast<size_t>(p)] = 0;
    m_changed.clear();
    m_allChanged = false;
}

std::pair<const TWordTable::TMeaningKey *, const TWordTable::TMeaningKey *>
TWordTable::WordsWithMeaning(const QString &meaning) const
{
    if (!m_meaningIndexMade) {
        m_meaningIndex.clear();
        for (int p = 1; p <= kMaxWords; ++p)
            for (const QString &m : m_words[p].meanings)
                if (!m.isEmpty())
                    m_meaningIndex.push_back({qHash(m), p});
        std::sort(m_meaningIndex.begin(), m_meaningIndex.end(), [](const TMeaningKey &a, const TMeaningKey &b) {
            return a.hash < b.hash || (a.hash == b.hash && a.position < b.position);
        });
        m_meaningIndexMade = true;
    }
    const size_t hash = qHash(meaning);
    const auto first = std::lower_bound(m_meaningIndex.begin(), m_meaningIndex.end(), hash,
                                        [](const TMeaningKey &k, size_t h) { return k.hash < h; });
    auto last = first;
    while (last != m_meaningIndex.end() && last->hash == hash)
        ++last;
    return {std::to_address(first), std::to_address(last)};
}
