#include "data/WordTable.h"

#include <cstdlib>
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
}
