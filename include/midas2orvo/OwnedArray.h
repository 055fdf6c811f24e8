// OwnedArray<T>: an ordered array of owned pointers (record lists, working collections, host collections).
#pragma once

#include "ValueArray.h"

// Holds pointers to objects with virtual destructors, appended in order and read by 0-based position.
// The array owns what it holds and deletes it through the virtual destructor. It grows by the same rule
// as ValueArray.
template <class T>
class OwnedArray {
public:
    OwnedArray() = default;
    OwnedArray(const OwnedArray&) = delete;
    OwnedArray& operator=(const OwnedArray&) = delete;
    virtual ~OwnedArray() { DeleteAll(); }

    // Appends item and takes ownership; returns its position, or -1 when memory ran out (item deleted).
    int Add(T* item)
    {
        if (!m_Items.Add(item)) {
            delete item;
            return -1;
        }
        return m_Items.Count - 1;
    }

    int GetSize() const { return m_Items.Count; }
    int GetCount() const { return m_Items.Count; }

    // The element at a 0-based position, or null outside the range (a "missing entry").
    T* GetAt(int index) const { return index >= 0 && index < m_Items.Count ? m_Items[index] : nullptr; }
    T* operator[](int index) const { return GetAt(index); }

    // Deletes every element in index order and empties the array.
    void DeleteAll()
    {
        for (int i = 0; i < m_Items.Count; ++i)
            delete m_Items[i];
        m_Items.RemoveAll();
    }

    T* const* begin() const { return m_Items.Data; }
    T* const* end() const { return m_Items.Data + m_Items.Count; }

private:
    ValueArray<T*> m_Items;
};
