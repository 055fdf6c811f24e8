// The shared reading loop of every keyword block.
#include "MidasBlock.h"

#include <algorithm>

#include "ChunkedReading.h"
#include "TextUtils.h"

bool MidasBlock::ReadBlock(LineSource& lines)
{
    m_Runs.push_back({RecordCount(), lines.NextOffset(), lines.NextOffset()});
    const bool ended = ReadRecords(lines);
    m_Runs.back().end = lines.NextOffset();
    return ended;
}

bool MidasBlock::ReadRecords(LineSource& lines)
{
    std::string line;
    line.reserve(2048);
    m_nRejectedOffset = -1;
    PooledArray<MidasRecord>& records = m_pWalker ? m_Batch : m_Records;
    for (int read = 0;; ++read) {
        // A block that has run to many records goes on in pieces on several threads, where the reading has them.
        if (lines.Chunks() && read == lines.Chunks()->LeadRecords() && ReadsInChunks() && !m_pWalker)
            ReadInChunks(lines, *lines.Chunks());
        const long long counted = lines.CountedLines();
        const int index = m_Records.GetSize() + m_Batch.GetSize();  // the record's place in the block
        MidasRecord* record = nullptr;
        if ((m_pWalker && index == PooledArray<MidasRecord>::MaxCount()) || !ReadDataLine(lines, line) ||
            !(record = m_pRecordClass->make(records))) {
            PassBatch();
            return true;
        }
        if (!record->Parse(line.c_str())) {
            // A rejected line (normally the blank line after the block) ends the block.
            records.Discard(record);
            PassBatch();
            if (m_pDiagnostics && !TrimView(line).empty()) {
                m_nRejectedOffset = m_nLineOffset;
                Note(m_pDiagnostics, MidasFinding::BlockEndedEarly, m_nLineOffset, line);
            }
            return false;
        }
        if (m_pDiagnostics) {
            Inspect(m_pDiagnostics, line.c_str(), *record, m_nLineOffset);
            if (m_RecordOffsets.size() < std::size_t(index))
                m_RecordOffsets.resize(std::size_t(index), -1);
            m_RecordOffsets.push_back(m_nLineOffset);
        }
        // A record read from other than one data line (a release over two) says so for the ledger.
        if (const long long spanned = lines.CountedLines() - counted; lines.LedgerOf() && spanned != 1) {
            m_LinesOf.resize(std::size_t(index), 1);
            m_LinesOf.push_back(static_cast<unsigned char>(std::min<long long>(spanned, 255)));
        }
        records.Append(record);
        if (m_Batch.GetSize() == kWalkBatch)
            PassBatch();
    }
}

void MidasBlock::PassBatch()
{
    const int count = m_Batch.GetSize();
    if (count == 0)
        return;
    m_pWalker->Walk(m_Batch, m_Records.GetSize());
    m_Batch.Clear();
    m_Records.ReleaseBefore(m_Records.GetSize());
    m_Records.AppendReleased(count);
}

void MidasBlock::Inspect(MidasDiagnostics*, const char*, const MidasRecord&, long long) const {}

long long MidasBlock::RecordOffset(int index) const
{
    return index >= 0 && std::size_t(index) < m_RecordOffsets.size() ? m_RecordOffsets[std::size_t(index)] : -1;
}

bool MidasBlock::ReadDataLine(LineSource& lines, std::string& out)
{
    while (lines.Next(out)) {
        if (Layout().EndsBlock(out)) {
            lines.HandBack(out);  // the driver reads this keyword line next
            break;
        }
        if (Layout().PassesOver(out))
            continue;
        m_nLineOffset = lines.Offset();
        return true;
    }
    out.clear();
    return false;
}
