// Chunks of the record pools: plain heap blocks, or 2 MiB-aligned blocks backed by large pages where
// the system offers them.
#include "midas2orvo/PooledArray.h"

#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace midas2orvo {

namespace {
constexpr std::size_t kLargePage = std::size_t(2) << 20;
}

void* RecordArena::AllocateChunk(std::size_t size)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (size >= kLargePage) {
        void* chunk = std::aligned_alloc(kLargePage, size);
        if (chunk)
            madvise(chunk, size, MADV_HUGEPAGE);  // advice only: a refusal leaves ordinary pages
        return chunk;
    }
#endif
    return std::malloc(size);
}

void RecordArena::FreeChunk(void* chunk, std::size_t) { std::free(chunk); }

bool RecordArena::Grow(std::size_t bytes)
{
    std::size_t size = m_nChunkBytes;
    while (size < bytes + sizeof(Chunk) + 16)
        size *= 2;
    auto* chunk = static_cast<Chunk*>(AllocateChunk(size));
    if (!chunk)
        return false;
    chunk->previous = m_pChunk;
    chunk->size = size;
    m_pChunk = chunk;
    m_nNext = reinterpret_cast<std::uintptr_t>(chunk + 1);
    m_nEnd = reinterpret_cast<std::uintptr_t>(chunk) + size;
    m_nLast = m_nNext;
    if (m_nChunkBytes < kLargestChunk)
        m_nChunkBytes *= 2;
    return true;
}

} // namespace midas2orvo
