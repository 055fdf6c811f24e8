// The two class families of the reader: keyword block readers and the parsed data lines they keep.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "OffsetTable.h"
#include "PooledArray.h"
#include "ReadingLayout.h"
#include "midas2orvo/Diagnostics.h"
#include "midas2orvo/ValueArray.h"

// One parsed data line of a keyword block.
class MidasRecord {
public:
    virtual ~MidasRecord() = default;
    // Fills the record from one data line. True keeps it; false rejects the line and ends the block.
    virtual bool Parse(const char* line) = 0;
};

// How a block makes the records of its class in its storage: the next one (ReadBlock keeps or discards
// it), or in places reserved ahead, for data lines parsed on several threads.
struct RecordClass {
    MidasRecord* (*make)(PooledArray<MidasRecord>& records);
    bool (*reserve)(PooledArray<MidasRecord>& records, int end);
    MidasRecord* (*makeAt)(PooledArray<MidasRecord>& records, int index);
};

template <class R>
struct RecordsOf {
    static MidasRecord* Make(PooledArray<MidasRecord>& records) { return records.template Make<R>(); }
    static bool Reserve(PooledArray<MidasRecord>& records, int end) { return records.template Reserve<R>(end); }
    static MidasRecord* MakeAt(PooledArray<MidasRecord>& records, int index) { return records.template MakeAt<R>(index); }
    static constexpr RecordClass kClass{&Make, &Reserve, &MakeAt};
};

class ChunkedReading;

// Takes a block's records as they are read, a batch at a time, while they are still in the processor's
// cache: the block keeps only their count, offsets and ledger marks.
class RecordWalker {
public:
    virtual ~RecordWalker() = default;
    // records[k] is the block's record first + k; the block destroys them when this returns.
    virtual void Walk(const PooledArray<MidasRecord>& records, int first) = 0;
};

// A keyword block reader: reads the data lines after its keyword line and keeps one record per accepted
// line, in file order.
class MidasBlock {
public:
    explicit MidasBlock(const RecordClass& records) : m_pRecordClass(&records) {}
    virtual ~MidasBlock() = default;

    // Reads data lines until a line is rejected (false: the usual end, at the blank line after the
    // block) or no data line is left (true). A line that ends the block unparsed is handed back.
    bool ReadBlock(LineSource& lines);
    bool ReadRecords(LineSource& lines);
    // Whether the data lines may be cut into pieces parsed on several threads: each is read by
    // ReadDataLine as the block reads it and parsed on its own.
    virtual bool ReadsInChunks() const { return true; }
    // Fetches the next data line into out, passing over comment lines. False when the source has no
    // further line, or (current layout) when the next line ends the block; that line is handed back.
    virtual bool ReadDataLine(LineSource& lines, std::string& out);

    // Looks at an accepted line and its record for findings to sink; called only while the block has a
    // sink (sink is that one, or one that keeps the findings of a piece read on another thread).
    virtual void Inspect(MidasDiagnostics* sink, const char* line, const MidasRecord& record, long long offset) const;

    void SetLayout(const ReadingLayout& layout) { m_pLayout = &layout; }
    const ReadingLayout& Layout() const { return *m_pLayout; }
    // The record class of today's columns where the layout reads them; chosen once, when the block opens.
    void SetRecordClass(const RecordClass& records) { m_pRecordClass = &records; }
    // The sink for findings (null for none); while set, the block keeps the file offset of each record.
    void SetDiagnostics(MidasDiagnostics* sink) { m_pDiagnostics = sink; }
    MidasDiagnostics* Diagnostics() const { return m_pDiagnostics; }
    // Byte offset of the line of record index, or -1 when not kept.
    long long RecordOffset(int index) const;
    // Byte offset of the non-blank line the last ReadBlock ended at, or -1 (kept while a sink is set).
    long long RejectedOffset() const { return m_nRejectedOffset; }
    // What reached the host model: the translation marks each record something of which it handed over
    // (for the ledger of data lines used and passed over).
    void MarkUsed(int index)
    {
        if (index < 0)
            return;
        if (std::size_t(index) >= m_Used.size())
            m_Used.resize(std::size_t(std::max(index + 1, RecordCount())));
        m_Used[std::size_t(index)] = true;
    }
    void ClearUsed() { m_Used.clear(); }
    bool IsUsed(int index) const { return index >= 0 && std::size_t(index) < m_Used.size() && m_Used[std::size_t(index)]; }
    int RecordCount() const { return m_Records.GetSize(); }
    // The data lines record index was read from (a release record spans two).
    int LinesOf(int index) const
    {
        return index >= 0 && std::size_t(index) < m_LinesOf.size() ? m_LinesOf[std::size_t(index)] : 1;
    }
    // The first record read from at or after the file offset (records are read in runs, each in file
    // order; a run that ends before the offset is passed); RecordCount() when none.
    int FirstRecordFrom(long long offset) const
    {
        for (const Run& run : m_Runs)
            if (run.end > offset)
                return run.firstRecord;
        return RecordCount();
    }
    // Where the last run of records ended in the file (-1 before any).
    long long EndOffset() const { return m_Runs.empty() ? -1 : m_Runs.back().end; }
    // The first ledger row of this block (-1 before the ledger has one).
    int FirstLedgerRow() const { return m_nFirstLedgerRow; }
    void SetFirstLedgerRow(int row) { m_nFirstLedgerRow = row; }
    // Which opening of a model's blocks made this one: a block that replaces another has a new serial.
    unsigned Serial() const { return m_nSerial; }
    void SetSerial(unsigned serial) { m_nSerial = serial; }

    // With a walker, the records read from now on go to it in batches instead of staying in m_Records
    // (read on the calling thread alone); null keeps them.
    void SetWalker(RecordWalker* walker) { m_pWalker = walker; }

    PooledArray<MidasRecord> m_Records;

protected:
    // Byte offset of the line the last ReadDataLine delivered.
    std::int64_t m_nLineOffset = -1;

private:
    // Reads on from lines in pieces parsed on the threads of chunks, as far as the records are accepted;
    // leaves lines at the first line that may end the block (or wherever the pieces stop).
    void ReadInChunks(LineSource& lines, ChunkedReading& chunks);
    // Hands the batch to the walker and counts its records as read and released.
    void PassBatch();

    // A batch fills the first five segments of its pool: 1,984 records, under 400 KiB of member loads,
    // so that they are still in the second-level cache when walked.
    static constexpr int kWalkBatch = 1984;

    RecordWalker* m_pWalker = nullptr;
    PooledArray<MidasRecord> m_Batch;  // the records read since the last batch, with a walker
    const RecordClass* m_pRecordClass;
    const ReadingLayout* m_pLayout = &ReadingLayout::For(MidasReadingProfile::Classic);
    MidasDiagnostics* m_pDiagnostics = nullptr;
    OffsetTable m_RecordOffsets;
    std::vector<bool> m_Used;
    std::vector<unsigned char> m_LinesOf;  // only where some record spans other than one line
    struct Run {
        int firstRecord;
        long long start;
        long long end;
    };
    std::vector<Run> m_Runs;  // one per ReadBlock: the records it read and the file span they came from
    int m_nFirstLedgerRow = -1;
    long long m_nRejectedOffset = -1;
    unsigned m_nSerial = 0;
};

// Reports a finding to sink when there is one.
inline void Note(MidasDiagnostics* sink, MidasFinding kind, long long offset, std::string detail, int count = 1)
{
    if (sink)
        sink->Report({kind, offset, std::move(detail), count});
}

// A block whose records are all of class R (or of a class derived from R for today's column order).
template <class R>
class BlockOf : public MidasBlock {
public:
    using Record = R;
    BlockOf() : MidasBlock(RecordsOf<R>::kClass) {}
    R* GetRecord(int index) const { return static_cast<R*>(m_Records.GetAt(index)); }
    int GetCount() const { return m_Records.GetSize(); }
};
