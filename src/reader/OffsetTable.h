// OffsetTable: the file offset of each record of a block, kept in segments that never move, so that a
// block of millions of records grows without copying (and touching afresh) what it holds.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

class OffsetTable {
public:
    std::size_t size() const { return m_nSize; }

    // Grows with entries of value fill, or drops the entries from size on.
    void resize(std::size_t size, long long fill = -1)
    {
        while (m_nSize < size) {
            const std::size_t segment = m_nSize >> kShift;
            if (segment == m_Segments.size()) {
                m_Segments.emplace_back();
                if (segment > 0)
                    m_Segments.back().reserve(kSegment);  // a full segment: grows no more
            }
            std::vector<long long>& values = m_Segments[segment];
            const std::size_t end = std::min(size - (segment << kShift), kSegment);
            values.resize(end, fill);
            m_nSize = (segment << kShift) + end;
        }
        if (size < m_nSize) {
            m_Segments.resize(size == 0 ? 0 : ((size - 1) >> kShift) + 1);
            if (size > 0)
                m_Segments.back().resize(size - ((size - 1) >> kShift << kShift));
            m_nSize = size;
        }
    }
    void push_back(long long value)
    {
        // Into the segment that holds the last entry while it has room; else through resize.
        if (const std::size_t segment = m_nSize >> kShift; segment < m_Segments.size()) {
            m_Segments[segment].push_back(value);
            ++m_nSize;
            return;
        }
        resize(m_nSize + 1, value);
    }

    long long& operator[](std::size_t index) { return m_Segments[index >> kShift][index & (kSegment - 1)]; }
    long long operator[](std::size_t index) const { return m_Segments[index >> kShift][index & (kSegment - 1)]; }

private:
    static constexpr unsigned kShift = 16;
    static constexpr std::size_t kSegment = std::size_t(1) << kShift;
    std::vector<std::vector<long long>> m_Segments;  // the first grows as a vector, up to kSegment entries
    std::size_t m_nSize = 0;
};
