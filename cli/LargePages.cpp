// Large pages for the heap. A translation makes millions of small records (the host's nodes, members and
// loads among them) that the general heap carves out of fresh memory; on a virtual machine the first
// touch of each 4 KiB page costs microseconds, more than the rest of the work. glibc's heap takes no
// large pages by itself (only with GLIBC_TUNABLES=glibc.malloc.hugetlb=1 set before the program
// starts), so the tool prepares it: the heap is kept in one piece (no separate mappings for large
// blocks, no return of its top to the system), grown once to the room the import needs, advised to use
// large pages there, and given back to the heap's free top, from which the records are then carved.
#include "LargePages.h"

#if defined(__linux__) && defined(__GLIBC__)
#include <cstdlib>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

void PrepareHeapForImport(std::int64_t fileBytes)
{
#if defined(__linux__) && defined(__GLIBC__) && defined(MADV_HUGEPAGE)
    constexpr std::int64_t kLargePage = std::int64_t(2) << 20;
    if (fileBytes < 16 * kLargePage)
        return;  // a small model gains nothing worth the set-up
    // The records of an import take about three times the file's size in all; the room is only
    // reserved, so a smaller need costs nothing.
    const std::int64_t room = ((fileBytes * 3) / kLargePage + 2) * kLargePage;
    // One heap without separate mappings for large blocks, and a top that is never given back (-1): a
    // trimmed top would take the advice with it.
    if (mallopt(M_MMAP_MAX, 0) == 0 || mallopt(M_TRIM_THRESHOLD, -1) == 0)
        return;
    void* block = std::malloc(std::size_t(room));
    if (!block)
        return;
    // Advise the whole large pages inside the block; the heap's later growth lands there.
    const auto start = (reinterpret_cast<std::uintptr_t>(block) + std::uintptr_t(kLargePage) - 1) &
                       ~std::uintptr_t(kLargePage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(block) + std::uintptr_t(room)) & ~std::uintptr_t(kLargePage - 1);
    if (end > start)
        madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
    std::free(block);
#else
    (void)fileBytes;
#endif
}
