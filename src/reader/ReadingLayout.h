// ReadingLayout: how the reader cuts a MIDAS text file into lines, keyword lines and records, in the
// classic layout or the one MIDAS writes today. Chosen once per read and passed down; its answers are
// data, and the few rules that differ in more than a yes or no branch on them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "Ledger.h"
#include "LineStream.h"
#include "midas2orvo/Diagnostics.h"

struct ReadingLayout {
    // Today's layout: whole lines with "\" continuations (else 511-byte line pieces), keywords only as
    // whole words at the start of a line, keyword lines and the end marker of a load section end any
    // block, blank and comment lines inside blocks passed over.
    bool current;
    // A keyword block met again adds its records to the earlier block instead of replacing it.
    bool accumulatesRepeatedBlocks;
    // Records are parsed in today's column orders (the record makers choose the current classes).
    bool currentColumns;
    // Each *FRAME-RLS record is exactly two lines (else: joined until a line ends with ",").
    bool releasesOnTwoLines;
    // After a load section's end marker: blank and comment lines are passed over, a *USE-STLD line opens
    // the next section and any other keyword line goes back to the driver.
    bool chainsLoadSections;

    static const ReadingLayout& For(MidasReadingProfile profile);

    // Reads the next line as this layout sees it; false at the end of the stream.
    bool ReadLine(LineStream& stream, std::string& out) const;
    // Whether the trimmed line opens the block of keyword (atStart: the keyword must begin the line).
    bool IsKeywordLine(std::string_view trimmed, std::string_view keyword, bool atStart) const;
    // A line a block passes over: a comment (and, in today's files, a blank line inside a block).
    bool PassesOver(std::string_view line) const;
    // A line that ends the block before it is parsed; it is handed back to the driver or load reader.
    bool EndsBlock(std::string_view line) const;
    // A line inside a load section that opens its *CONLOAD or *BEAMLOAD block.
    bool IsLoadBlockLine(std::string_view line, std::string_view keyword) const;
};

// Not blank and not a comment (first non-blank byte ';'): a line the ledger counts.
bool IsDataLine(std::string_view line);

class ChunkedReading;

// The lines of a stream as a layout cuts them, with the byte offset each starts at. A reader that meets
// a line meant for another hands it back, and the next Next delivers it again without reading. With a
// ledger, each data line (not blank, not a comment) is counted once into the ledger's current row, however
// often it is read.
class LineSource {
public:
    LineSource(LineStream& stream, const ReadingLayout& layout, Ledger* ledger = nullptr)
        : m_Stream(stream), m_Layout(layout), m_pLedger(ledger && ledger->IsOn() ? ledger : nullptr)
    {
    }

    bool Next(std::string& out);
    // Byte offset of the line the next Next delivers.
    std::int64_t NextOffset() const { return m_bPending ? m_nOffset : m_Stream.Tell(); }
    // Byte offset and 1-based physical line number of the line the last Next delivered.
    std::int64_t Offset() const { return m_nOffset; }
    std::int64_t LineNumber() const { return m_nLine; }
    // The line the last Next delivered is delivered again.
    void HandBack(const std::string& line)
    {
        m_Pending = line;
        m_bPending = true;
    }
    // Reads the bytes from offset again, cut afresh: a join that cut them differently gives back the
    // data lines it counted from there (uncount), which are then counted as read again.
    void Rewind(std::int64_t offset, int uncount = -1)
    {
        m_bPending = false;
        m_Stream.Seek(offset);
        if (uncount >= 0 && m_pLedger) {
            m_pLedger->UncountLines(uncount);
            m_nCountedTotal -= uncount;
            m_nCountedTo = offset;
        }
    }
    // A physical line read from Stream() directly, from offset to end: counted as Next would.
    bool CountRaw(std::int64_t offset, std::int64_t end, std::string_view text);
    // The line the last Next delivered opens a ledger row: it is a keyword line, no data line.
    void OpenRow(std::string keyword);
    Ledger* LedgerOf() const { return m_pLedger; }
    // Data lines counted so far, less those given back.
    long long CountedLines() const { return m_nCountedTotal; }
    // The stream itself, for readers that take physical lines of their own; nothing may be handed back.
    LineStream& Stream() { return m_Stream; }
    bool HasPending() const { return m_bPending; }
    // Lines starting before this offset have been counted by the ledger.
    std::int64_t CountedTo() const { return m_nCountedTo; }
    // The next bytes of Stream(), with lineFeeds line feeds, were read elsewhere (pieces parsed on other
    // threads): counted of their lines are data lines for the ledger, the first at firstCounted (the
    // last one read among them when lastCounted), and lines starting before countedTo have been counted.
    void Consume(std::size_t bytes, std::int64_t lineFeeds, long long counted, long long firstCounted,
                 std::int64_t countedTo, bool lastCounted);
    // The threads that read large blocks in pieces (null: this thread reads every line).
    ChunkedReading* Chunks() const { return m_pChunks; }
    void SetChunks(ChunkedReading* chunks) { m_pChunks = chunks; }
    const ReadingLayout& Layout() const { return m_Layout; }

private:
    LineStream& m_Stream;
    const ReadingLayout& m_Layout;
    std::string m_Pending;
    bool m_bPending = false;
    std::int64_t m_nOffset = 0;
    std::int64_t m_nLine = 0;
    Ledger* m_pLedger;
    std::int64_t m_nCountedTo = 0;  // lines starting before here have been counted
    bool m_bCounted = false;        // the last line delivered was counted as a data line
    long long m_nCountedTotal = 0;
    ChunkedReading* m_pChunks = nullptr;
};
