// ReadingLayout: how the reader cuts a MIDAS text file into lines, keyword lines and records, in the
// classic layout or the one MIDAS writes today. Chosen once per read and passed down; its answers are
// data, and the few rules that differ in more than a yes or no branch on them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

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

// The lines of a stream as a layout cuts them, with the byte offset each starts at. A reader that meets
// a line meant for another hands it back, and the next Next delivers it again without reading.
class LineSource {
public:
    LineSource(LineStream& stream, const ReadingLayout& layout) : m_Stream(stream), m_Layout(layout) {}

    bool Next(std::string& out);
    // Byte offset of the line the last Next delivered.
    std::int64_t Offset() const { return m_nOffset; }
    // The line the last Next delivered is delivered again.
    void HandBack(const std::string& line)
    {
        m_Pending = line;
        m_bPending = true;
    }
    // Reads the bytes from offset again, cut afresh (for a join that cut them differently).
    void Rewind(std::int64_t offset)
    {
        m_bPending = false;
        m_Stream.Seek(offset);
    }
    // The stream itself, for readers that take physical lines of their own; nothing may be handed back.
    LineStream& Stream() { return m_Stream; }
    const ReadingLayout& Layout() const { return m_Layout; }

private:
    LineStream& m_Stream;
    const ReadingLayout& m_Layout;
    std::string m_Pending;
    bool m_bPending = false;
    std::int64_t m_nOffset = 0;
};
