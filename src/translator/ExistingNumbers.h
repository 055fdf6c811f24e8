// ExistingNumbers: the numbers that name records, and the walk of an ID list over them, so that a range
// such as "1to2147483647" costs the records it reaches, never its numeric span.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "reader/MidasBlock.h"
#include "reader/TextUtils.h"

class ExistingNumbers {
public:
    // numberOf(i) for i in [0, count): the number of record i.
    template <class NumberOf>
    void Build(int count, NumberOf numberOf)
    {
        m_Sorted.clear();
        m_Sorted.reserve(std::size_t(count > 0 ? count : 0));
        for (int i = 0; i < count; ++i)
            m_Sorted.push_back(numberOf(i));
        std::sort(m_Sorted.begin(), m_Sorted.end());
        m_Sorted.erase(std::unique(m_Sorted.begin(), m_Sorted.end()), m_Sorted.end());
        m_bBuilt = true;
    }
    bool IsBuilt() const { return m_bBuilt; }

    // Calls visit(number) for each number of range that names a record, in list order; returns how many
    // listed numbers name nothing. The work is at most the records whose numbers lie inside the range.
    template <class Visit>
    long long Walk(const IdRange& range, Visit visit) const
    {
        const long long last = range.Last();
        const auto from = std::lower_bound(m_Sorted.begin(), m_Sorted.end(), std::min<long long>(range.first, last));
        const auto to = std::upper_bound(from, m_Sorted.end(), std::max<long long>(range.first, last));
        const long long step = range.step;
        long long reached = 0;
        if (range.count <= to - from) {
            // Fewer numbers listed than records inside: look each number up.
            for (long long k = 0; k < range.count; ++k) {
                const long long number = range.first + k * step;
                if (std::binary_search(from, to, number))
                    visit(int(number)), ++reached;
            }
        } else if (step > 0) {
            for (auto it = from; it != to; ++it)
                if ((*it - static_cast<long long>(range.first)) % step == 0)
                    visit(*it), ++reached;
        } else {
            for (auto it = to; it != from;) {
                --it;
                if ((static_cast<long long>(range.first) - *it) % -step == 0)
                    visit(*it), ++reached;
            }
        }
        return range.count - reached;
    }

private:
    std::vector<int> m_Sorted;
    bool m_bBuilt = false;
};

// The numbers of one block's ID lists that name no record, reported as a few findings: one for each of
// the first lines that have such numbers, and one for all the lines after those.
class MissingNumbers {
public:
    MissingNumbers(MidasDiagnostics* sink, MidasFinding kind) : m_pSink(sink), m_eKind(kind) {}
    ~MissingNumbers() { Flush(); }
    MissingNumbers(const MissingNumbers&) = delete;
    MissingNumbers& operator=(const MissingNumbers&) = delete;

    void Add(long long offset, const IdRange& item, long long count)
    {
        if (!m_pSink || count <= 0)
            return;
        if (offset != m_nOffset && m_nCount > 0 && m_nLines < kLinesNamed) {
            Flush();
            ++m_nLines;
        }
        if (m_nCount == 0) {
            m_nOffset = offset;
            m_Detail = item.Text();
        }
        m_nCount += count;
    }

    // Notes the numbers counted since the last note.
    void Flush()
    {
        if (m_nCount > 0)
            Note(m_pSink, m_eKind, m_nOffset, m_Detail, int(std::min<long long>(m_nCount, 0x7fffffff)));
        m_nCount = 0;
    }

private:
    static constexpr int kLinesNamed = 3;
    MidasDiagnostics* m_pSink;
    MidasFinding m_eKind;
    long long m_nOffset = -1;
    long long m_nCount = 0;
    int m_nLines = 0;
    std::string m_Detail;
};
