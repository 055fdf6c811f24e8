// ValueArray<T>: the growable array of plain values (int or double) shared by records and the host model.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>

// A growable array of trivially copyable values with public fields, so that hosts written against the
// classic layout (Data, Capacity, Count, GrowBy) can walk it directly.
//
// Growth: when an insertion finds Count == Capacity the increment is the larger of GrowBy and Count,
// except that once the buffer holds 64 KiB or more the candidate is 64 KiB worth of elements instead of
// Count. So with GrowBy 8 the capacities run 8, 16, 32, 64, ... then grow by 64 KiB steps. Capacity
// follows that rule exactly; the memory behind it is reserved at least twice over whenever it has to
// move, so appending stays linear however many 64 KiB steps a large array takes.
template <class T>
class ValueArray {
    static_assert(std::is_trivially_copyable_v<T>, "ValueArray holds plain values");

public:
    T* Data = nullptr;
    int Capacity = 0;
    int Count = 0;
    int GrowBy = 8;

    ValueArray() = default;
    ValueArray(int initialCapacity, int growBy) : GrowBy(growBy)
    {
        if (initialCapacity > 0) {
            Data = static_cast<T*>(std::malloc(sizeof(T) * static_cast<std::size_t>(initialCapacity)));
            Capacity = Data ? initialCapacity : 0;
            m_nReserved = Capacity;
        }
    }
    ValueArray(const ValueArray& other) : GrowBy(other.GrowBy) { CopyFrom(other); }
    ValueArray& operator=(const ValueArray& other)
    {
        if (this != &other) {
            Count = 0;
            GrowBy = other.GrowBy;
            CopyFrom(other);
        }
        return *this;
    }
    ~ValueArray() { std::free(Data); }

    // Makes Count equal to n; new elements are left uninitialised for the caller to fill.
    // Returns false (and changes nothing) when n is negative or the memory cannot be had.
    bool SetSize(int n)
    {
        if (n < 0)
            return false;
        if (n > Capacity) {
            std::int64_t grown = std::int64_t(Capacity) + Increment(Capacity);
            if (!Reserve(n > grown ? n : grown))
                return false;
        }
        Count = n;
        return true;
    }

    // Inserts value at index (0..Count), moving the later elements up by one.
    bool InsertAt(int index, T value)
    {
        if (index < 0 || index > Count)
            return false;
        if (Count == Capacity && !Reserve(std::int64_t(Count) + Increment(Count)))
            return false;
        if (index < Count)
            std::memmove(Data + index + 1, Data + index, sizeof(T) * std::size_t(Count - index));
        Data[index] = value;
        ++Count;
        return true;
    }

    bool Add(T value) { return InsertAt(Count, value); }

    // Frees the buffer and empties the array.
    void RemoveAll()
    {
        std::free(Data);
        Data = nullptr;
        Capacity = 0;
        Count = 0;
        m_nReserved = 0;
    }

    T& operator[](int index) { return Data[index]; }
    const T& operator[](int index) const { return Data[index]; }
    int GetSize() const { return Count; }
    T* begin() { return Data; }
    T* end() { return Data + Count; }
    const T* begin() const { return Data; }
    const T* end() const { return Data + Count; }

private:
    static constexpr std::int64_t kLargeBytes = 65536;

    std::int64_t Increment(int current) const
    {
        std::int64_t candidate = current;
        if (std::int64_t(Capacity) * std::int64_t(sizeof(T)) >= kLargeBytes)
            candidate = kLargeBytes / std::int64_t(sizeof(T));
        return candidate > GrowBy ? candidate : (GrowBy > 0 ? GrowBy : 1);
    }

    bool Reserve(std::int64_t capacity)
    {
        constexpr std::int64_t kMax = 0x7fffffff;
        if (capacity > kMax)
            capacity = kMax;
        if (capacity <= Capacity)
            return false;
        if (capacity > m_nReserved) {
            const std::int64_t doubled = 2 * std::int64_t(m_nReserved);
            const std::int64_t reserve = doubled > capacity ? (doubled < kMax ? doubled : kMax) : capacity;
            void* grown = std::realloc(Data, sizeof(T) * static_cast<std::size_t>(reserve));
            if (!grown)
                return false;
            Data = static_cast<T*>(grown);
            m_nReserved = static_cast<int>(reserve);
        }
        Capacity = static_cast<int>(capacity);
        return true;
    }

    int m_nReserved = 0;  // elements the buffer really holds (at least Capacity)

    void CopyFrom(const ValueArray& other)
    {
        if (other.Count > 0 && SetSize(other.Count))
            std::memcpy(Data, other.Data, sizeof(T) * std::size_t(other.Count));
    }
};
