// Aligned blocks: aligned_alloc with madvise(MADV_HUGEPAGE) on Linux, _aligned_malloc on Windows.
#include "LargePageMemory.h"

#include <cstdlib>

#if defined(_WIN32)
#include <malloc.h>
#elif defined(__linux__)
#include <sys/mman.h>
#endif

namespace midas2orvo {

void* AllocateAligned(std::size_t bytes, std::size_t alignment)
{
    if (bytes >= kLargePage && alignment < kLargePage)
        alignment = kLargePage;  // a large page must start on its own boundary
    const std::size_t rounded = (bytes + alignment - 1) & ~(alignment - 1);
    if (rounded < bytes)
        return nullptr;
#if defined(_WIN32)
    return _aligned_malloc(rounded, alignment);
#else
    void* block = std::aligned_alloc(alignment, rounded);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (block && rounded >= kLargePage)
        madvise(block, rounded, MADV_HUGEPAGE);  // advice only: a refusal leaves ordinary pages
#endif
    return block;
#endif
}

void FreeAligned(void* block)
{
#if defined(_WIN32)
    _aligned_free(block);
#else
    std::free(block);
#endif
}

} // namespace midas2orvo
