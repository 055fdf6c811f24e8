// RecordArena: chunks carved by one thread each, given back by a count of the records alive in them.
#include "RecordArena.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <new>

#include "platform/MappedMemory.h"

#if defined(__SANITIZE_ADDRESS__)
#define MIDAS2ORVO_RECORDS_ON_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MIDAS2ORVO_RECORDS_ON_HEAP 1
#endif
#endif

namespace midas2orvo {
namespace {

// Every 64 KiB page of a chunk starts with the address of its chunk, so a record finds its chunk from its
// own address; records never cross a page boundary.
constexpr std::size_t kPage = std::size_t(64) << 10;
constexpr std::size_t kFirstChunk = kPage;
constexpr std::size_t kLastChunk = std::size_t(32) << 20;
constexpr std::size_t kAlign = 16;
// Added to a chunk's count while a thread still carves from it, so that records deleted meanwhile never
// bring the count to zero.
constexpr std::int64_t kCarving = std::int64_t(1) << 62;

struct Chunk;
struct alignas(kAlign) PageHead {
    Chunk* chunk;
};

struct Chunk {
    PageHead head;  // the head of the chunk's first page
    std::atomic<std::int64_t> live{kCarving};
    std::size_t bytes = 0;
    Chunk* prev = nullptr;  // every chunk held is listed, so leak checkers see them reachable
    Chunk* next = nullptr;
};
constexpr std::size_t kChunkHead = (sizeof(Chunk) + kAlign - 1) & ~(kAlign - 1);

struct Registry {
    std::mutex mutex;
    Chunk* first = nullptr;
    std::size_t count = 0;
};
Registry& Chunks()
{
    static Registry* registry = new Registry;  // never destroyed: records may be deleted at exit
    return *registry;
}

// A chunk of at most bytes: memory a reading or hand-over released and keeps first (of whatever size
// it comes in, so that none of it waits beside fresh chunks), else a fresh block of bytes. A kept block
// is resident whole, where a fresh one is only where records were carved: kept memory comes in chunks
// of at most kMappedBlock, so that the last chunk of each thread, partly empty, holds little of it.
Chunk* NewChunk(std::size_t bytes)
{
    std::size_t taken = 0;
    void* memory = bytes >= kMappedBlock ? TakeReused(kMappedBlock, taken) : nullptr;
    if (memory)
        bytes = taken;
    else
        memory = AllocateAligned(bytes, kPage);
    if (!memory)
        return nullptr;
    auto* chunk = ::new (memory) Chunk;
    chunk->head.chunk = chunk;
    chunk->bytes = bytes;
    Registry& registry = Chunks();
    std::lock_guard<std::mutex> lock(registry.mutex);
    chunk->next = registry.first;
    if (registry.first)
        registry.first->prev = chunk;
    registry.first = chunk;
    ++registry.count;
    return chunk;
}

void ReleaseChunk(Chunk* chunk)
{
    {
        Registry& registry = Chunks();
        std::lock_guard<std::mutex> lock(registry.mutex);
        (chunk->prev ? chunk->prev->next : registry.first) = chunk->next;
        if (chunk->next)
            chunk->next->prev = chunk->prev;
        --registry.count;
    }
    const std::size_t bytes = chunk->bytes;
    chunk->~Chunk();
    FreeAligned(chunk, bytes);
}

// Subtracts count from the chunk's records alive; the one who brings it to zero gives the chunk back.
void Drop(Chunk* chunk, std::int64_t count)
{
    if (chunk->live.fetch_sub(count, std::memory_order_acq_rel) == count)
        ReleaseChunk(chunk);
}

// The chunk a thread carves its records from.
class Carver {
public:
    Carver() = default;
    Carver(const Carver&) = delete;
    Carver& operator=(const Carver&) = delete;
    ~Carver() { Retire(); }

    void* Carve(std::size_t bytes)
    {
        if (std::size_t(m_pPageEnd - m_pNext) < bytes && !NextPage(bytes))
            return nullptr;
        void* record = m_pNext;
        m_pNext += bytes;
        ++m_nCarved;
        return record;
    }

private:
    bool NextPage(std::size_t bytes)
    {
        char* page = m_pPageEnd;
        if (!m_pChunk || page == reinterpret_cast<char*>(m_pChunk) + m_pChunk->bytes) {
            Retire();
            m_pChunk = NewChunk(m_nNextBytes);
            if (!m_pChunk)
                return false;
            m_nNextBytes = m_nNextBytes < kLastChunk ? 2 * m_nNextBytes : kLastChunk;
            page = reinterpret_cast<char*>(m_pChunk);
            m_pNext = page + kChunkHead;
        } else {
            ::new (page) PageHead{m_pChunk};
            m_pNext = page + sizeof(PageHead);
        }
        m_pPageEnd = page + kPage;
        return std::size_t(m_pPageEnd - m_pNext) >= bytes;
    }

    void Retire()
    {
        if (m_pChunk)
            Drop(m_pChunk, kCarving - m_nCarved);
        m_pChunk = nullptr;
        m_pNext = m_pPageEnd = nullptr;
        m_nCarved = 0;
    }

    Chunk* m_pChunk = nullptr;
    char* m_pNext = nullptr;
    char* m_pPageEnd = nullptr;
    std::int64_t m_nCarved = 0;
    std::size_t m_nNextBytes = kFirstChunk;
};

thread_local Carver t_Carver;

[[maybe_unused]] constexpr std::size_t Rounded(std::size_t bytes) { return (bytes + kAlign - 1) & ~(kAlign - 1); }

} // namespace

void* RecordArena::Allocate(std::size_t bytes)
{
#if !defined(MIDAS2ORVO_RECORDS_ON_HEAP)
    if (bytes <= kLargestRecord) {
        if (void* record = t_Carver.Carve(Rounded(bytes ? bytes : 1)))
            return record;
        throw std::bad_alloc();
    }
#endif
    return ::operator new(bytes);
}

void RecordArena::Free(void* record, std::size_t bytes) noexcept
{
    if (!record)
        return;
#if !defined(MIDAS2ORVO_RECORDS_ON_HEAP)
    if (bytes <= kLargestRecord) {
        const auto page = reinterpret_cast<std::uintptr_t>(record) & ~std::uintptr_t(kPage - 1);
        Drop(reinterpret_cast<PageHead*>(page)->chunk, 1);
        return;
    }
#endif
    (void)bytes;
    ::operator delete(record);
}

std::size_t RecordArena::ChunksHeld()
{
    Registry& registry = Chunks();
    std::lock_guard<std::mutex> lock(registry.mutex);
    return registry.count;
}

bool RecordArena::Carves()
{
#if defined(MIDAS2ORVO_RECORDS_ON_HEAP)
    return false;
#else
    return true;
#endif
}

} // namespace midas2orvo
