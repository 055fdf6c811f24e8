// PooledArray<T>: the translator's ordered collections of parsed and working records, kept side by side
// in a few large segments instead of one heap block (and one pointer) per record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <new>
#include <utility>

namespace midas2orvo {

// Segment memory for the record pools: segments of 2 MiB and more are mapped on their own, so that a
// freed one goes back to the system (or, while a file is read, serves the next segment made).
void* AllocateSegment(std::size_t bytes);
void FreeSegment(void* segment, std::size_t bytes);

} // namespace midas2orvo

// Records of class T, or of one class derived from it, in file order and read by 0-based position like
// OwnedArray. The array makes the records itself, all of one size, in segments that double in size
// (64 records, then 128, 256, ...), so a record's place follows from its position: a model of a
// million members costs no heap block, header or pointer per record. A derived class must derive from T
// alone (single, non-virtual inheritance), so that its T part starts where the record does; the records
// are destroyed through T's destructor, which must then be virtual.
template <class T>
class PooledArray {
public:
    PooledArray() = default;
    PooledArray(const PooledArray&) = delete;
    PooledArray& operator=(const PooledArray&) = delete;
    ~PooledArray() { DeleteAll(); }

    // Makes a record in the next free place, not yet in the array: Append keeps it, Discard destroys it;
    // one of the two must come before the next Make. Every record of the array has the size of the
    // first one made; null when a record would not fit that size or memory ran out.
    template <class U = T, class... Args>
    U* Make(Args&&... args)
    {
        static_assert(alignof(U) <= kAlignment, "records are aligned to at most 16 bytes");
        if (m_nStride == 0)
            m_nStride = sizeof(U);  // a multiple of alignof(U); segments start 16-byte aligned
        if (sizeof(U) > m_nStride || m_nStride % alignof(U) != 0 || m_nCount == kMaxCount)
            return nullptr;
        void* place = Place(m_nCount, true);
        return place ? ::new (place) U(std::forward<Args>(args)...) : nullptr;
    }

    // Appends the record made by the latest Make; returns its position.
    int Append(T* item)
    {
        (void)item;  // always the record in place m_nCount
        return m_nCount++;
    }

    // Destroys the record made by the latest Make, which was not appended.
    void Discard(T* item)
    {
        if (item)
            item->~T();
    }

    // Makes a record and appends it; null when memory ran out.
    template <class U = T, class... Args>
    U* Emplace(Args&&... args)
    {
        U* item = Make<U>(std::forward<Args>(args)...);
        if (item)
            Append(item);
        return item;
    }

    // Makes room for records of class U in the places up to end, so that MakeAt can make them on several
    // threads at once; false when they would not fit (as Make would refuse them) or memory ran out.
    template <class U = T>
    bool Reserve(int end)
    {
        static_assert(alignof(U) <= kAlignment, "records are aligned to at most 16 bytes");
        if (m_nStride == 0)
            m_nStride = sizeof(U);
        if (sizeof(U) > m_nStride || m_nStride % alignof(U) != 0 || end < m_nCount || end >= kMaxCount)
            return false;
        for (int index = m_nCount; index < end;) {
            if (!Place(index, true))
                return false;
            const int segment = HighestBit((std::uint64_t(index) >> kFirstShift) + 1);
            index = int(((std::int64_t(1) << (segment + 1)) - 1) << kFirstShift);  // first place of the next
        }
        return true;
    }
    // Makes a record in a reserved place at or after GetSize(); records made so are kept by AppendMade or
    // destroyed by DestroyAt. Places apart may be filled on different threads.
    template <class U = T>
    U* MakeAt(int index)
    {
        return ::new (Place(index, false)) U();
    }
    void DestroyAt(int index) { static_cast<T*>(Place(index, false))->~T(); }
    // The places up to count, each holding a record MakeAt made, join the array.
    void AppendMade(int count) { m_nCount = count; }

    int GetSize() const { return m_nCount; }
    int GetCount() const { return m_nCount; }

    // The record at a 0-based position, or null outside the range (a "missing entry") or released.
    T* GetAt(int index) const
    {
        return index >= m_nReleased && index < m_nCount ? static_cast<T*>(Place(index, false)) : nullptr;
    }
    T* operator[](int index) const { return GetAt(index); }

    // Destroys every record in index order and empties the array.
    void DeleteAll()
    {
        for (int i = m_nReleased; i < m_nCount; ++i)
            GetAt(i)->~T();
        for (int k = 0; k < kSegments; ++k) {
            midas2orvo::FreeSegment(m_Segments[k], SegmentBytes(k));
            m_Segments[k] = nullptr;
        }
        m_nCount = 0;
        m_nReleased = 0;
        m_nStride = 0;
    }

    // Destroys every record and empties the array, keeping its segments for the records made next.
    void Clear()
    {
        for (int i = m_nReleased; i < m_nCount; ++i)
            GetAt(i)->~T();
        m_nCount = 0;
        m_nReleased = 0;
    }
    // Counts count records that were read and are done with (walked elsewhere) after the records it
    // holds, all of which must be released: they read as missing, and take no memory.
    void AppendReleased(int count)
    {
        m_nCount += count;
        m_nReleased = m_nCount;
    }
    // Destroys the records from position count on (released ones stay released); the array ends there.
    void Truncate(int count)
    {
        count = count < m_nReleased ? m_nReleased : count < m_nCount ? count : m_nCount;
        for (int i = count; i < m_nCount; ++i)
            GetAt(i)->~T();
        m_nCount = count;
    }
    static constexpr int MaxCount() { return kMaxCount; }
    // Gives back the memory of the records before position count that are done with: every segment
    // that holds only such records is destroyed and freed; they read as missing from then on. Called
    // with a growing count while the array is walked, it frees each segment once the walk has left it.
    // With destroyed, the records before count were destroyed already (by DestroyAt) and are only freed.
    void ReleaseBefore(int count, bool destroyed = false)
    {
        count = count < m_nCount ? count : m_nCount;
        for (;;) {
            const int segment = HighestBit((std::uint64_t(m_nReleased) >> kFirstShift) + 1);
            const std::int64_t end = ((std::int64_t(1) << (segment + 1)) - 1) << kFirstShift;
            if (end > count && count < m_nCount)
                return;
            const int last = int(end < m_nCount ? end : m_nCount);
            for (int i = m_nReleased; i < last && !destroyed; ++i)
                GetAt(i)->~T();
            midas2orvo::FreeSegment(m_Segments[segment], SegmentBytes(segment));
            m_Segments[segment] = nullptr;
            m_nReleased = last;
            if (last == m_nCount)
                return;
        }
    }

    // Walks the records in order, as pointers.
    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T*;
        using difference_type = std::ptrdiff_t;
        using pointer = T* const*;
        using reference = T*;
        Iterator(const PooledArray* array, int index) : m_pArray(array), m_nIndex(index) {}
        T* operator*() const { return m_pArray->GetAt(m_nIndex); }
        Iterator& operator++()
        {
            ++m_nIndex;
            return *this;
        }
        bool operator==(const Iterator& other) const { return m_nIndex == other.m_nIndex; }
        bool operator!=(const Iterator& other) const { return m_nIndex != other.m_nIndex; }

    private:
        const PooledArray* m_pArray;
        int m_nIndex;
    };
    Iterator begin() const { return Iterator(this, 0); }
    Iterator end() const { return Iterator(this, m_nCount); }

private:
    static constexpr std::size_t kAlignment = 16;
    static constexpr int kFirstShift = 6;  // the first segment holds 64 records
    static constexpr int kSegments = 26;   // 64 * (2^26 - 1) places: more than any int32 position
    static constexpr int kMaxCount = 0x7fffffff;

    static int HighestBit(std::uint64_t value)
    {
#if defined(__GNUC__) || defined(__clang__)
        return 63 - __builtin_clzll(value);
#else
        int bit = 0;
        while (value >>= 1)
            ++bit;
        return bit;
#endif
    }

    std::size_t SegmentBytes(int segment) const { return (std::size_t(1) << (segment + kFirstShift)) * m_nStride; }

    // Segment k holds the places 64 * (2^k - 1) to 64 * (2^(k+1) - 1) - 1.
    void* Place(int index, bool allocate) const
    {
        const int segment = HighestBit((std::uint64_t(index) >> kFirstShift) + 1);
        const std::uint64_t first = ((std::uint64_t(1) << segment) - 1) << kFirstShift;
        void*& memory = m_Segments[segment];
        if (!memory) {
            if (!allocate)
                return nullptr;
            memory = midas2orvo::AllocateSegment(SegmentBytes(segment));
            if (!memory)
                return nullptr;
        }
        return static_cast<char*>(memory) + (std::uint64_t(index) - first) * m_nStride;
    }

    mutable void* m_Segments[kSegments] = {};
    int m_nCount = 0;
    int m_nReleased = 0;  // records before this position are released
    std::size_t m_nStride = 0;
};
