// LayoutProfile: every place where the classic MIDAS text layout and the one MIDAS writes today differ.
//
// The classic profile reads files exactly as the format's original reader did; the current profile
// reads MIDAS Gen/Civil 8.x and 9.x files (whole lines, "\" continuations, keyword lines that end any
// block, repeated blocks, numbered addressing, today's column orders and force units). The reader and
// the translation steps ask the profile at each such place and otherwise share one code path.
#pragma once

#include <string>
#include <string_view>

#include "LineStream.h"
#include "MIDAStranslatetoOrvo.h"

class LayoutProfile {
public:
    static const LayoutProfile& For(MidasReadingProfile profile);
    virtual ~LayoutProfile() = default;

    // ---- lines and blocks ----
    // Reads the next line as the reader sees it; false at the end of the stream.
    virtual bool ReadLine(LineStream& stream, std::string& out) const = 0;
    // Whether the trimmed line opens the block of keyword (atStart: the keyword must begin the line).
    virtual bool IsKeywordLine(std::string_view trimmed, std::string_view keyword, bool atStart) const = 0;
    // A line a block passes over: a comment (and, in today's files, a blank line inside a block).
    virtual bool PassesOver(std::string_view line) const = 0;
    // A line that ends the block before it is parsed and is read again by the driver or load reader.
    virtual bool EndsBlock(std::string_view line) const = 0;
    // A keyword block met again adds its records to the earlier block instead of replacing it.
    virtual bool AccumulatesRepeatedBlocks() const = 0;
    // Record parsers of today's column orders.
    virtual bool ReadsCurrentColumns() const = 0;
    // A line inside a load section that opens its *CONLOAD or *BEAMLOAD block.
    virtual bool IsLoadBlockLine(std::string_view line, std::string_view keyword) const = 0;
    // After a load section's end marker: pass over blank and comment lines, open the next section at a
    // *USE-STLD line and hand any other keyword line back to the driver.
    virtual bool ChainsLoadSections() const = 0;

    // ---- translation ----
    // Supports, releases, groups (and members' sections) find their records by number, not position.
    virtual bool AddressesByNumber() const = 0;
    // The force unit code of a force word, or 0 with the message to show (possibly empty) when the
    // word cannot be converted; and the factor to kN of a code (0.0 for no valid code).
    virtual int ForceUnit(const std::string& word, std::string& message) const = 0;
    virtual double ForceFactor(int code) const = 0;
    // Position in the grade table of a standard code and grade name, or -1.
    virtual int FindGrade(const std::string& code, const std::string& grade) const = 0;
    // Grade-table constants are already in kN and mm, so they are scaled as for a KN/MM file.
    virtual bool GradeTableInHostUnits() const = 0;
    // Section dimensions written in the file are lengths in the file's unit, scaled to mm.
    virtual bool ScalesSectionDimensions() const = 0;
    // Load case of a section name: exact name first, then the first name contained in it.
    virtual bool MatchesLoadCaseExactlyFirst() const = 0;
};
