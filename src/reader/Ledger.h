// Ledger: every keyword line the reader meets, with the data lines of its block and the records they
// became, so that after the translation each line is either used or passed over with a reason.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "midas2orvo/Diagnostics.h"

class MidasBlock;

struct LedgerRow {
    std::string keyword;
    long long offset = -1;  // of the keyword line; -1 for the lines before the first keyword line
    long long line = 0;     // 1-based physical line of the keyword line; 0 for those lines
    int dataLines = 0;
    long long firstDataOffset = -1;
    // The records of this row: [firstRecord, endRecord) of block (null: the lines make no record).
    MidasBlock* block = nullptr;
    unsigned blockSerial = 0;
    int firstRecord = 0;
    int endRecord = 0;
    int frozenUsed = -1;       // lines used, fixed when the block was released before the translation
    bool read = false;         // *VERSION, *UNIT: a line read is a line used
    bool loadCases = false;    // *STLDCASE: every load case can be referred to
    std::uint64_t reasons = 0;  // bit k: MidasFinding k explains lines passed over
};

class Ledger {
public:
    bool IsOn() const { return m_bOn; }
    void TurnOn() { m_bOn = true; }
    void Clear() { m_Rows.clear(); }
    // The reading has ended: the last row holds the records read so far.
    void Close() { CloseCurrent(); }

    // A keyword line opens a row; its own line is no data line.
    void Open(std::string keyword, long long offset, long long line);
    // The block whose records the lines of the current row become, from record firstRecord on.
    void Attach(MidasBlock* block, int firstRecord);
    void MarkRead() { if (!m_Rows.empty()) m_Rows.back().read = true; }
    void MarkLoadCases() { if (!m_Rows.empty()) m_Rows.back().loadCases = true; }
    // A data line of the current row (a row "" is made for data lines before any keyword line).
    void CountLine(long long offset);
    // n data lines of the current row, the first at offset.
    void CountLines(long long n, long long offset);
    void UncountLines(int n);
    // A block is released: the lines its records used so far are fixed in its rows. Where the translation
    // may still be marking its records, in two steps: Release when it is let go of in the reading (its
    // row ends there), FixUse once the translation is done with it.
    void Freeze(const MidasBlock* block)
    {
        Release(block);
        FixUse(block);
    }
    void Release(const MidasBlock* block)
    {
        if (m_bOn && block)
            CloseCurrent();
    }
    void FixUse(const MidasBlock* block);
    // A finding at offset explains lines of the row that holds that offset.
    void Explain(MidasFinding kind, long long offset);

    std::vector<LedgerRow>& Rows() { return m_Rows; }
    // The lines of row used so far by the translation.
    static int UsedLines(const LedgerRow& row);

private:
    void CloseCurrent();
    bool m_bOn = false;
    std::vector<LedgerRow> m_Rows;
};
