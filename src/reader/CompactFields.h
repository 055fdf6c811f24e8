// Compact field types for the records a large model makes by the million: a short text and a short
// list of numbers that keep their contents inside the record, reaching for the heap only when a field
// is longer than usual.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>
#include <unordered_set>

// Text of any length in 16 bytes: up to 14 bytes are kept inside (type words, directions, group names),
// longer text in a heap block. Always terminated by a zero byte, so c_str() is cheap.
class ShortText {
public:
    ShortText() { m_Bytes[kTag] = 0; m_Bytes[0] = '\0'; }
    ShortText(std::string_view text) : ShortText() { Assign(text); }
    ShortText(const char* text) : ShortText(std::string_view(text)) {}
    ShortText(const std::string& text) : ShortText(std::string_view(text)) {}
    ShortText(const ShortText& other) : ShortText() { Assign(other.View()); }
    ShortText& operator=(const ShortText& other)
    {
        if (this != &other)
            Assign(other.View());
        return *this;
    }
    ShortText& operator=(std::string_view text)
    {
        Assign(text);
        return *this;
    }
    ShortText& operator=(const std::string& text) { return *this = std::string_view(text); }
    ShortText& operator=(const char* text) { return *this = std::string_view(text); }
    ~ShortText() { FreeHeap(); }

    std::string_view View() const { return {data(), size()}; }
    operator std::string_view() const { return View(); }
    std::string str() const { return std::string(View()); }
    const char* data() const { return OnHeap() ? HeapPointer() : m_Bytes; }
    const char* c_str() const { return data(); }
    std::size_t size() const { return OnHeap() ? HeapSize() : std::size_t(m_Bytes[kTag]); }
    bool empty() const { return size() == 0; }

    friend bool operator==(const ShortText& a, std::string_view b) { return a.View() == b; }
    friend bool operator==(const ShortText& a, const char* b) { return a.View() == std::string_view(b); }
    friend bool operator==(const ShortText& a, const std::string& b) { return a.View() == std::string_view(b); }
    friend bool operator==(const ShortText& a, const ShortText& b) { return a.View() == b.View(); }
    friend std::string operator+(const std::string& a, const ShortText& b) { return a + std::string(b.View()); }
    friend std::string operator+(const ShortText& a, const std::string& b) { return std::string(a.View()) + b; }
    friend std::string operator+(const ShortText& a, const char* b) { return std::string(a.View()) + b; }
    friend std::ostream& operator<<(std::ostream& out, const ShortText& text) { return out << text.View(); }

private:
    static constexpr int kTag = 15;          // inline length (0..14), or kHeap
    static constexpr char kHeap = char(0x7f);
    static constexpr std::size_t kInline = 14;

    bool OnHeap() const { return m_Bytes[kTag] == kHeap; }
    char* HeapPointer() const
    {
        char* pointer;
        std::memcpy(&pointer, m_Bytes, sizeof pointer);
        return pointer;
    }
    std::size_t HeapSize() const
    {
        std::uint32_t length;
        std::memcpy(&length, m_Bytes + 8, sizeof length);
        return length;
    }
    void FreeHeap()
    {
        if (OnHeap())
            std::free(HeapPointer());
        m_Bytes[kTag] = 0;
        m_Bytes[0] = '\0';
    }
    void Assign(std::string_view text)
    {
        if (text.size() <= kInline) {
            char copy[kInline];  // text may lie inside this object
            if (!text.empty())   // an empty view may have no data at all (a missing token)
                std::memcpy(copy, text.data(), text.size());
            FreeHeap();
            std::memcpy(m_Bytes, copy, text.size());
            m_Bytes[text.size()] = '\0';
            m_Bytes[kTag] = char(text.size());
            return;
        }
        // Lines are at most a few kilobytes, so a 32-bit length always holds them.
        const auto length = std::uint32_t(text.size() > 0xffffffffu ? 0xffffffffu : text.size());
        char* heap = static_cast<char*>(std::malloc(std::size_t(length) + 1));
        if (!heap) {
            FreeHeap();
            return;
        }
        std::memcpy(heap, text.data(), length);
        heap[length] = '\0';
        FreeHeap();
        std::memcpy(m_Bytes, &heap, sizeof heap);
        std::memcpy(m_Bytes + 8, &length, sizeof length);
        m_Bytes[kTag] = kHeap;
    }

    char m_Bytes[16];
};

// A name that many records share (the group of a member), held as a pointer to the one copy a TextPool
// keeps: 8 bytes per record however long the name. Empty when no name was given.
class PooledText {
public:
    PooledText() = default;
    explicit PooledText(const std::string* text) : m_pText(text) {}

    std::string_view View() const { return m_pText ? std::string_view(*m_pText) : std::string_view(); }
    operator std::string_view() const { return View(); }
    std::string str() const { return std::string(View()); }
    bool empty() const { return View().empty(); }

    friend bool operator==(const PooledText& a, std::string_view b) { return a.View() == b; }
    friend bool operator==(const PooledText& a, const char* b) { return a.View() == std::string_view(b); }
    friend std::ostream& operator<<(std::ostream& out, const PooledText& text) { return out << text.View(); }

private:
    const std::string* m_pText = nullptr;
};

// The one copy of each name handed out as PooledText; the copies live as long as the pool.
class TextPool {
public:
    PooledText Intern(const std::string& text) { return PooledText(&*m_Texts.insert(text).first); }

private:
    std::unordered_set<std::string> m_Texts;  // nodes never move, so handed-out pointers stay valid
};

// A list of int32 that holds up to Inline numbers inside (the two ends of a member, the load numbers of a
// member under four load cases) and moves to the heap beyond that. Reads like ValueArray: Count, [],
// begin/end, Add. The record keeps only the count and the numbers (or the heap pointer in their place):
// the heap buffer's size follows from the count, twice Inline and then the next power of two.
template <int Inline>
class SmallIntList {
    static_assert(Inline >= 2, "room for two numbers at least (the size of the heap pointer)");

public:
    int Count = 0;

    SmallIntList() = default;
    SmallIntList(const SmallIntList& other) { CopyFrom(other); }
    SmallIntList& operator=(const SmallIntList& other)
    {
        if (this != &other) {
            RemoveAll();
            CopyFrom(other);
        }
        return *this;
    }
    ~SmallIntList() { RemoveAll(); }

    // Appends value; false when the memory cannot be had (nothing changes).
    bool Add(int value)
    {
        if (Count < Inline) {
            m_Ints[Count++] = value;
            return true;
        }
        if (Count == 0x3fffffff || (IsFull(Count) && !Grow()))
            return false;
        Heap()[Count++] = value;  // at Inline numbers, Grow has just moved them to the heap
        return true;
    }

    // Drops the last number (back inside once Inline or fewer are left).
    void RemoveLast()
    {
        if (Count == Inline + 1) {
            int* heap = Heap();
            std::memcpy(m_Ints, heap, sizeof m_Ints);
            std::free(heap);
        }
        Count -= Count > 0;
    }

    void RemoveAll()
    {
        if (Count > Inline)
            std::free(Heap());
        Count = 0;
    }

    int GetSize() const { return Count; }
    int& operator[](int index) { return Data()[index]; }
    const int& operator[](int index) const { return Data()[index]; }
    int* begin() { return Data(); }
    int* end() { return Data() + Count; }
    const int* begin() const { return Data(); }
    const int* end() const { return Data() + Count; }

private:
    // The buffer is full at Inline (inside) and at 2 * Inline, 4 * Inline, ... (on the heap).
    static bool IsFull(int count)
    {
        return count >= Inline && count % Inline == 0 && ((count / Inline) & (count / Inline - 1)) == 0;
    }

    int* Heap() const
    {
        int* heap;
        std::memcpy(&heap, m_Ints, sizeof heap);
        return heap;
    }
    int* Data() { return Count > Inline ? Heap() : m_Ints; }
    const int* Data() const { return Count > Inline ? Heap() : m_Ints; }

    bool Grow()
    {
        const std::size_t bytes = sizeof(int) * std::size_t(Count) * 2;
        int* grown = static_cast<int*>(Count > Inline ? std::realloc(Heap(), bytes) : std::malloc(bytes));
        if (!grown)
            return false;
        if (Count == Inline)
            std::memcpy(grown, m_Ints, sizeof m_Ints);
        std::memcpy(m_Ints, &grown, sizeof grown);
        return true;
    }

    void CopyFrom(const SmallIntList& other)
    {
        for (int value : other)
            if (!Add(value))
                return;
    }

    int m_Ints[Inline] = {};  // the numbers, or (beyond Inline of them) the heap pointer's bytes
};
