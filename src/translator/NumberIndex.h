// NumberIndex: from record numbers to the positions of the working records that carry them.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "reader/PooledArray.h"

// Positions of the first and the last entry with one number; -1 when none has it.
struct Span {
    int first = -1;
    int last = -1;
};

// Number -> span of positions in a working collection. Node and element numbers of a model are mostly
// dense, so a table indexed by number serves them; scattered numbers go to a hash map instead.
class NumberIndex {
public:
    template <class T>
    void Build(const PooledArray<T>& items)
    {
        m_bBuilt = true;
        bool any = false;
        std::int64_t low = 0;
        std::int64_t high = 0;
        for (const T* item : items) {
            if (!item)
                continue;
            low = any ? std::min<std::int64_t>(low, item->ID) : item->ID;
            high = any ? std::max<std::int64_t>(high, item->ID) : item->ID;
            any = true;
        }
        const std::int64_t range = high - low + 1;
        m_bDense = any && range <= 2 * std::int64_t(items.GetSize()) + 1024;
        if (m_bDense) {
            m_nLow = low;
            m_Table.assign(std::size_t(range), Span{});
        } else {
            m_Map.reserve(std::size_t(items.GetSize()));
        }
        for (int i = 0; i < items.GetSize(); ++i) {
            if (const T* item = items[i]) {
                Span& span = m_bDense ? m_Table[std::size_t(item->ID - m_nLow)] : m_Map[item->ID];
                if (span.first < 0)
                    span.first = i;
                span.last = i;
            }
        }
    }

    bool IsBuilt() const { return m_bBuilt; }

    Span Find(int number) const
    {
        if (m_bDense) {
            const std::int64_t slot = number - m_nLow;
            return slot >= 0 && slot < std::int64_t(m_Table.size()) ? m_Table[std::size_t(slot)] : Span{};
        }
        const auto found = m_Map.find(number);
        return found == m_Map.end() ? Span{} : found->second;
    }

private:
    bool m_bBuilt = false;
    bool m_bDense = false;
    std::int64_t m_nLow = 0;
    std::vector<Span> m_Table;
    std::unordered_map<int, Span> m_Map;
};
