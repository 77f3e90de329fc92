#include "data/WordTable.h"

#include <QHashFunctions>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <memory>
#include <new>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace {
constexpr size_t kWordCount = kMaxWords + 1;
constexpr size_t kLargePage = size_t(2) << 20;
constexpr size_t kLeastMeaningBuckets = 1024;
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
    // Records past the last one reached for writing hold nothing to give back.
    std::destroy(m_words, m_words + m_reached + 1);
    std::free(m_words);
}

void TWordTable::Clear()
{
    // Records past the last one reached for writing are still empty.
    for (size_t i = 0; i <= m_reached; ++i) {
        std::destroy_at(&m_words[i]);
        new (&m_words[i]) TTango();
    }
    m_reached = 0;
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
        // Every meaning by its hash, gathered bucket by bucket in one
        // counting pass (no sort): a bucket holds the words of the meanings
        // whose hashes end in its bits.
        std::vector<TMeaningKey> keys;
        keys.reserve(kWordCount * 2);
        for (size_t p = 1; p < kWordCount; ++p)
            for (const QString &m : m_words[p].meanings)
                if (!m.isEmpty())
                    keys.push_back({qHash(m), static_cast<int>(p)});
        const size_t buckets = std::bit_ceil(std::max(keys.size(), kLeastMeaningBuckets));
        m_meaningMask = buckets - 1;
        m_meaningBuckets.assign(buckets + 1, 0);
        for (const TMeaningKey &k : keys)
            ++m_meaningBuckets[(k.hash & m_meaningMask) + 1];
        for (size_t b = 0; b < buckets; ++b)
            m_meaningBuckets[b + 1] += m_meaningBuckets[b];
        m_meaningIndex.resize(keys.size());
        std::vector<quint32> next(m_meaningBuckets.begin(), m_meaningBuckets.end() - 1);
        for (const TMeaningKey &k : keys)
            m_meaningIndex[next[k.hash & m_meaningMask]++] = k;
        m_meaningIndexMade = true;
    }
    const size_t bucket = qHash(meaning) & m_meaningMask;
    const TMeaningKey *entries = m_meaningIndex.data();
    return {entries + m_meaningBuckets[bucket], entries + m_meaningBuckets[bucket + 1]};
}
