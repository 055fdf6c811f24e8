// The two class families of the reader: keyword block readers and the parsed data lines they keep.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "LayoutProfile.h"
#include "LineStream.h"
#include "midas2orvo/OrvoModel.h"
#include "midas2orvo/PooledArray.h"

// One parsed data line of a keyword block.
class MidasRecord {
public:
    virtual ~MidasRecord() = default;
    // Fills the record from one data line. True keeps it; false rejects the line and ends the block.
    virtual bool Parse(const char* line) = 0;
};

// A keyword block reader: reads the data lines after its keyword line and keeps one record per accepted
// line, in file order.
class MidasBlock {
public:
    virtual ~MidasBlock() = default;

    // Reads data lines until a line is rejected (false: the usual end, at the blank line after the
    // block) or no data line is left (true).
    virtual bool ReadBlock(LineStream& stream);
    // Fetches the next data line into out, passing over comment lines. False when the stream has no
    // further line, or (current layout) when the next line is a keyword line, which is left for the
    // driver to read.
    virtual bool ReadDataLine(LineStream& stream, std::string& out);
    // Makes an empty record for line in the block's own storage (see MakeRecord).
    virtual MidasRecord* CreateRecord(const char* line) = 0;
    virtual void EndBlock() = 0;

    // Looks at an accepted line and its record for findings; called only while a sink is set.
    virtual void Inspect(const char* line, const MidasRecord& record, long long offset);

    void SetProfile(const LayoutProfile& profile) { m_pProfile = &profile; }
    const LayoutProfile& Profile() const { return *m_pProfile; }
    // The sink for findings (null for none); while set, the block keeps the file offset of each record.
    void SetDiagnostics(MidasDiagnostics* sink) { m_pDiagnostics = sink; }
    MidasDiagnostics* Diagnostics() const { return m_pDiagnostics; }
    // Byte offset of the line of record index, or -1 when not kept.
    long long RecordOffset(int index) const;
    // Byte offset of the non-blank line the last ReadBlock ended at, or -1 (kept while a sink is set).
    long long RejectedOffset() const { return m_nRejectedOffset; }

    PooledArray<MidasRecord> m_Records;

protected:
    // An empty record of class R, made in the block's storage; ReadBlock keeps or discards it.
    template <class R>
    MidasRecord* MakeRecord()
    {
        return m_Records.template Make<R>();
    }
    // The record class of the profile: Current where the profile reads today's columns, else Classic.
    template <class Classic, class Current>
    MidasRecord* MakeRecordFor()
    {
        return Profile().ReadsCurrentColumns() ? MakeRecord<Current>() : MakeRecord<Classic>();
    }

    // Byte offset of the line the last ReadDataLine delivered.
    std::int64_t m_nLineOffset = -1;

private:
    const LayoutProfile* m_pProfile = &LayoutProfile::For(MidasReadingProfile::Classic);
    MidasDiagnostics* m_pDiagnostics = nullptr;
    std::vector<long long> m_RecordOffsets;
    long long m_nRejectedOffset = -1;
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
    MidasRecord* CreateRecord(const char*) override { return this->template MakeRecord<R>(); }
    void EndBlock() override {}
    R* GetRecord(int index) const { return static_cast<R*>(m_Records.GetAt(index)); }
    int GetCount() const { return m_Records.GetSize(); }
};
