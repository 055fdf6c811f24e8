// PooledArray<T>: the translator's ordered collections of parsed and working records, kept in large
// chunks of memory instead of one heap block per record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>

#include "ValueArray.h"

namespace midas2orvo {

// Hands out memory from chunks that grow geometrically (16 KiB up to 8 MiB) and gives it all back at
// once. A model of a million members makes millions of small records; taking each from the general
// heap costs a call, a header and a scattered page per record. Chunks of 2 MiB and more are asked to
// be backed by large pages where the system offers them (one page fault per 2 MiB instead of per
// 4 KiB).
class RecordArena {
public:
    RecordArena() = default;
    RecordArena(const RecordArena&) = delete;
    RecordArena& operator=(const RecordArena&) = delete;
    ~RecordArena() { Clear(); }

    // Memory for bytes with the given alignment (a power of two no larger than 16); null when the
    // system has none left.
    void* Allocate(std::size_t bytes, std::size_t alignment)
    {
        std::uintptr_t start = (m_nNext + (alignment - 1)) & ~std::uintptr_t(alignment - 1);
        if (!m_pChunk || start + bytes > m_nEnd) {
            if (!Grow(bytes))
                return nullptr;
            start = (m_nNext + (alignment - 1)) & ~std::uintptr_t(alignment - 1);
        }
        m_nLast = m_nNext;
        m_nNext = start + bytes;
        return reinterpret_cast<void*>(start);
    }

    // Takes back the latest allocation (a record that was made and then rejected); any other pointer
    // stays where it is until Clear.
    void ReleaseLatest(void* pointer)
    {
        if (m_pChunk && reinterpret_cast<std::uintptr_t>(pointer) >= m_nLast &&
            reinterpret_cast<std::uintptr_t>(pointer) < m_nNext)
            m_nNext = m_nLast;
    }

    // Frees every chunk.
    void Clear()
    {
        while (m_pChunk) {
            Chunk* previous = m_pChunk->previous;
            FreeChunk(m_pChunk, m_pChunk->size);
            m_pChunk = previous;
        }
        m_nNext = m_nEnd = m_nLast = 0;
        m_nChunkBytes = kFirstChunk;
    }

private:
    struct alignas(16) Chunk {
        Chunk* previous;
        std::size_t size;
    };
    static constexpr std::size_t kFirstChunk = std::size_t(16) << 10;
    static constexpr std::size_t kLargestChunk = std::size_t(8) << 20;

    // Starts a chunk that holds at least bytes more; false when the system has no memory left.
    bool Grow(std::size_t bytes);
    static void* AllocateChunk(std::size_t size);
    static void FreeChunk(void* chunk, std::size_t size);

    Chunk* m_pChunk = nullptr;
    std::uintptr_t m_nNext = 0;  // first free byte of the current chunk
    std::uintptr_t m_nEnd = 0;   // end of the current chunk
    std::uintptr_t m_nLast = 0;  // where the latest allocation began (before its alignment)
    std::size_t m_nChunkBytes = kFirstChunk;
};

} // namespace midas2orvo

// Records of class T (or of classes derived from it) in file order, read by 0-based position like
// OwnedArray. The array makes the records itself in its arena and destroys them through T's virtual
// destructor when it is emptied or destroyed.
template <class T>
class PooledArray {
public:
    PooledArray() = default;
    PooledArray(const PooledArray&) = delete;
    PooledArray& operator=(const PooledArray&) = delete;
    ~PooledArray() { DeleteAll(); }

    // Makes a record that is not yet in the array: Append keeps it, Discard destroys it. Null when the
    // memory ran out.
    template <class U = T, class... Args>
    U* Make(Args&&... args)
    {
        static_assert(alignof(U) <= 16, "records are aligned to at most 16 bytes");
        void* memory = m_Arena.Allocate(sizeof(U), alignof(U));
        return memory ? ::new (memory) U(std::forward<Args>(args)...) : nullptr;
    }

    // Appends a record made by Make; returns its position, or -1 when memory ran out (record destroyed).
    int Append(T* item)
    {
        if (!m_Items.Add(item)) {
            item->~T();
            return -1;
        }
        return m_Items.Count - 1;
    }

    // Destroys a record made by Make that was not appended.
    void Discard(T* item)
    {
        if (!item)
            return;
        item->~T();
        m_Arena.ReleaseLatest(item);
    }

    // Makes a record and appends it; null when memory ran out.
    template <class U = T, class... Args>
    U* Emplace(Args&&... args)
    {
        U* item = Make<U>(std::forward<Args>(args)...);
        return item && Append(item) >= 0 ? item : nullptr;
    }

    int GetSize() const { return m_Items.Count; }
    int GetCount() const { return m_Items.Count; }

    // The record at a 0-based position, or null outside the range (a "missing entry").
    T* GetAt(int index) const { return index >= 0 && index < m_Items.Count ? m_Items[index] : nullptr; }
    T* operator[](int index) const { return GetAt(index); }

    // Destroys every record in index order and empties the array.
    void DeleteAll()
    {
        for (int i = 0; i < m_Items.Count; ++i)
            m_Items[i]->~T();
        m_Items.RemoveAll();
        m_Arena.Clear();
    }

    T* const* begin() const { return m_Items.Data; }
    T* const* end() const { return m_Items.Data + m_Items.Count; }

private:
    ValueArray<T*> m_Items;
    midas2orvo::RecordArena m_Arena;
};
