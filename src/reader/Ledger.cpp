// The ledger of keyword lines and their data lines.
#include "Ledger.h"

#include <algorithm>

#include "MidasBlock.h"

void Ledger::CloseCurrent()
{
    if (!m_Rows.empty() && m_Rows.back().block)
        m_Rows.back().endRecord = m_Rows.back().block->RecordCount();
}

void Ledger::Open(std::string keyword, long long offset, long long line)
{
    if (!m_bOn)
        return;
    CloseCurrent();
    LedgerRow row;
    row.keyword = std::move(keyword);
    row.offset = offset;
    row.line = line;
    m_Rows.push_back(std::move(row));
}

void Ledger::Attach(MidasBlock* block, int firstRecord)
{
    if (!m_bOn || m_Rows.empty())
        return;
    LedgerRow& row = m_Rows.back();
    row.block = block;
    row.blockSerial = block->Serial();
    row.firstRecord = row.endRecord = firstRecord;
    if (block->FirstLedgerRow() < 0)
        block->SetFirstLedgerRow(int(m_Rows.size()) - 1);
}

void Ledger::CountLine(long long offset)
{
    if (!m_bOn)
        return;
    if (m_Rows.empty())
        m_Rows.push_back(LedgerRow{});
    LedgerRow& row = m_Rows.back();
    if (row.dataLines++ == 0)
        row.firstDataOffset = offset;
}

void Ledger::CountLines(long long n, long long offset)
{
    if (!m_bOn || n <= 0)
        return;
    if (m_Rows.empty())
        m_Rows.push_back(LedgerRow{});
    LedgerRow& row = m_Rows.back();
    if (row.dataLines == 0)
        row.firstDataOffset = offset;
    row.dataLines = int(std::min<long long>(row.dataLines + n, 0x7fffffff));
}

void Ledger::UncountLines(int n)
{
    if (!m_bOn || m_Rows.empty())
        return;
    m_Rows.back().dataLines = std::max(0, m_Rows.back().dataLines - n);
    if (m_Rows.size() == 1 && m_Rows.back().offset < 0 && m_Rows.back().dataLines == 0)
        m_Rows.pop_back();  // the first line was a keyword line: nothing stands before it
}

int Ledger::UsedLines(const LedgerRow& row)
{
    if (row.frozenUsed >= 0 || !row.block)
        return std::max(row.frozenUsed, 0);
    int used = 0;
    for (int r = row.firstRecord; r < row.endRecord; ++r)
        if (row.read || row.block->IsUsed(r))
            used += row.block->LinesOf(r);
    return used;
}

void Ledger::FixUse(const MidasBlock* block)
{
    if (!m_bOn || !block)
        return;
    for (std::size_t k = std::size_t(std::max(block->FirstLedgerRow(), 0)); k < m_Rows.size(); ++k) {
        LedgerRow& row = m_Rows[k];
        if (row.block == block && row.blockSerial == block->Serial()) {
            row.frozenUsed = UsedLines(row);
            row.block = nullptr;
        }
    }
}

void Ledger::Explain(MidasFinding kind, long long offset)
{
    if (!m_bOn || offset < 0 || m_Rows.empty())
        return;
    // The last row that starts at or before the offset (rows are in file order).
    auto after = std::upper_bound(m_Rows.begin(), m_Rows.end(), offset,
                                  [](long long value, const LedgerRow& row) { return value < row.offset; });
    if (after == m_Rows.begin())
        return;
    std::prev(after)->reasons |= std::uint64_t(1) << unsigned(kind);
}
