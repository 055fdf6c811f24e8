// Segments of the record pools: plain heap blocks, or 2 MiB-aligned blocks backed by large pages where
// the system offers them.
#include "PooledArray.h"

#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace midas2orvo {

void* AllocateSegment(std::size_t bytes)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::size_t kLargePage = std::size_t(2) << 20;
    if (bytes >= kLargePage) {
        const std::size_t rounded = (bytes + kLargePage - 1) & ~(kLargePage - 1);
        void* segment = std::aligned_alloc(kLargePage, rounded);
        if (segment)
            madvise(segment, rounded, MADV_HUGEPAGE);  // advice only: a refusal leaves ordinary pages
        return segment;
    }
#endif
    return std::malloc(bytes);
}

void FreeSegment(void* segment) { std::free(segment); }

} // namespace midas2orvo
