// Aligned blocks. Linux: blocks of kMappedBlock bytes and more are mapped on their own (so that freeing
// one gives its memory back to the system at once, or to a reading that reuses it); smaller ones come
// from aligned_alloc. Windows: _aligned_malloc.
#include "MappedMemory.h"

#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <utility>
#include <vector>

#if defined(_WIN32)
#include <malloc.h>
#elif defined(__linux__)
#include <sys/mman.h>
#endif

namespace midas2orvo {
namespace {

std::size_t Rounded(std::size_t bytes, std::size_t alignment) { return (bytes + alignment - 1) & ~(alignment - 1); }

// The large blocks freed while some ReusedMemory is alive, each a whole number of kMappedBlock bytes.
struct KeptBlocks {
    std::mutex mutex;
    int users = 0;
    std::vector<std::pair<void*, std::size_t>> blocks;
    std::size_t total = 0;                               // bytes kept
    std::size_t limit = static_cast<std::size_t>(-1);  // bytes that may be kept (KeepAtMost)
};
KeptBlocks& Kept()
{
    static KeptBlocks* kept = new KeptBlocks;  // never destroyed: blocks may be freed at exit
    return *kept;
}

#if defined(__linux__)
// The smallest kept block of size bytes or more, cut to size (its tail goes back); null when none.
void* TakeKept(std::size_t size)
{
    KeptBlocks& kept = Kept();
    std::lock_guard<std::mutex> lock(kept.mutex);
    std::size_t best = kept.blocks.size();
    for (std::size_t k = 0; k < kept.blocks.size(); ++k)
        if (kept.blocks[k].second >= size && (best == kept.blocks.size() || kept.blocks[k].second < kept.blocks[best].second))
            best = k;
    if (best == kept.blocks.size())
        return nullptr;
    const auto [block, bytes] = kept.blocks[best];
    kept.blocks[best] = kept.blocks.back();
    kept.blocks.pop_back();
    kept.total -= bytes;
    if (bytes > size)
        munmap(static_cast<char*>(block) + size, bytes - size);
    return block;
}

// The largest kept block of at most size bytes, or the front of the smallest larger one (its tail stays
// kept); null when none is kept.
void* TakeKeptUpTo(std::size_t size, std::size_t& taken)
{
    KeptBlocks& kept = Kept();
    std::lock_guard<std::mutex> lock(kept.mutex);
    const std::size_t none = kept.blocks.size();
    std::size_t fits = none, larger = none;
    for (std::size_t k = 0; k < kept.blocks.size(); ++k) {
        const std::size_t bytes = kept.blocks[k].second;
        if (bytes <= size && (fits == none || bytes > kept.blocks[fits].second))
            fits = k;
        if (bytes > size && (larger == none || bytes < kept.blocks[larger].second))
            larger = k;
    }
    if (fits != none) {
        const auto [block, bytes] = kept.blocks[fits];
        kept.blocks[fits] = kept.blocks.back();
        kept.blocks.pop_back();
        kept.total -= bytes;
        taken = bytes;
        return block;
    }
    if (larger == none)
        return nullptr;
    auto& [block, bytes] = kept.blocks[larger];
    void* front = block;
    block = static_cast<char*>(block) + size;
    bytes -= size;
    kept.total -= size;
    taken = size;
    return front;
}

// Keeps a freed block while some ReusedMemory is alive, as much of it as the limit allows (the rest
// goes back); false when none is alive.
bool Keep(void* block, std::size_t size)
{
    KeptBlocks& kept = Kept();
    std::unique_lock<std::mutex> lock(kept.mutex);
    if (kept.users == 0)
        return false;
    const std::size_t room = kept.limit > kept.total ? (kept.limit - kept.total) / kMappedBlock * kMappedBlock : 0;
    const std::size_t keep = size < room ? size : room;
    if (keep > 0) {
        kept.blocks.emplace_back(block, keep);
        kept.total += keep;
    }
    lock.unlock();
    if (keep < size)
        munmap(static_cast<char*>(block) + keep, size - keep);
    return true;
}
#endif

} // namespace

ReusedMemory::ReusedMemory()
{
    KeptBlocks& kept = Kept();
    std::lock_guard<std::mutex> lock(kept.mutex);
    ++kept.users;
}

ReusedMemory::~ReusedMemory()
{
    std::vector<std::pair<void*, std::size_t>> blocks;
    {
        KeptBlocks& kept = Kept();
        std::lock_guard<std::mutex> lock(kept.mutex);
        if (--kept.users == 0) {
            blocks.swap(kept.blocks);
            kept.total = 0;
            kept.limit = static_cast<std::size_t>(-1);
        }
    }
#if defined(__linux__)
    for (const auto& [block, bytes] : blocks)
        munmap(block, bytes);
#endif
}

void ReusedMemory::KeepAtMost(std::size_t bytes)
{
    std::vector<std::pair<void*, std::size_t>> excess;
    {
        KeptBlocks& kept = Kept();
        std::lock_guard<std::mutex> lock(kept.mutex);
        kept.limit = bytes;
        while (kept.total > kept.limit && !kept.blocks.empty()) {
            excess.push_back(kept.blocks.back());
            kept.total -= kept.blocks.back().second;
            kept.blocks.pop_back();
        }
    }
#if defined(__linux__)
    for (const auto& [block, size] : excess)
        munmap(block, size);
#endif
}

void* AllocateAligned(std::size_t bytes, std::size_t alignment)
{
    if (bytes == 0 || Rounded(bytes, alignment) < bytes)
        return nullptr;
#if defined(_WIN32)
    return _aligned_malloc(Rounded(bytes, alignment), alignment);
#elif defined(__linux__)
    if (bytes >= kMappedBlock) {
        const std::size_t size = Rounded(bytes, kMappedBlock);
        if (alignment <= kMappedBlock)
            if (void* block = TakeKept(size))
                return block;
        // Map kMappedBlock bytes more than needed and unmap what lies outside the aligned block.
        const std::size_t align = alignment > kMappedBlock ? alignment : kMappedBlock;
        void* mapped = mmap(nullptr, size + align, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED)
            return nullptr;
        const auto start = reinterpret_cast<std::uintptr_t>(mapped);
        const std::uintptr_t block = (start + align - 1) & ~std::uintptr_t(align - 1);
        if (block > start)
            munmap(mapped, block - start);
        if (const std::uintptr_t tail = start + size + align - (block + size))
            munmap(reinterpret_cast<void*>(block + size), tail);
        return reinterpret_cast<void*>(block);
    }
    return std::aligned_alloc(alignment, Rounded(bytes, alignment));
#else
    return std::aligned_alloc(alignment, Rounded(bytes, alignment));
#endif
}

void* TakeReused(std::size_t bytes, std::size_t& taken)
{
#if defined(__linux__)
    if (bytes >= kMappedBlock && bytes % kMappedBlock == 0)
        return TakeKeptUpTo(bytes, taken);
#endif
    (void)bytes;
    (void)taken;
    return nullptr;
}

void FreeAligned(void* block, std::size_t bytes)
{
    if (!block)
        return;
#if defined(_WIN32)
    (void)bytes;
    _aligned_free(block);
#elif defined(__linux__)
    if (bytes >= kMappedBlock) {
        if (!Keep(block, Rounded(bytes, kMappedBlock)))
            munmap(block, Rounded(bytes, kMappedBlock));
    } else {
        std::free(block);
    }
#else
    (void)bytes;
    std::free(block);
#endif
}

} // namespace midas2orvo
