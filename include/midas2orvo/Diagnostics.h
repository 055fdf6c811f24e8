// What a host can learn about an import besides the model: the reading profile it chose, findings on
// what did not arrive, and the stages as they finish.
#pragma once

#include <string>
#include <vector>

#include "Export.h"

// How a MIDAS text file is read. Classic (the default) reads the older layout exactly: 511-byte line
// pieces, keywords anywhere in a line, blocks ended by blank lines, records addressed by position and
// forces in KN or N. Current reads the files MIDAS Gen/Civil 8.x and 9.x write: whole lines and "\"
// continuations, keyword lines that end any block, repeated blocks kept together, supports, releases
// and groups addressed by number, today's column orders, and every force unit converted to kN.
enum class MidasReadingProfile { Classic, Current };

// What a translation did not deliver, or may have delivered wrongly.
enum class MidasFinding {
    UnreadBlock,              // a keyword block that is not translated; count: its data lines
    UntranslatedElement,      // an element of a type that is not a line member (detail: type word)
    BlockEndedEarly,          // a block ended at a line its parser rejected (detail: the line)
    SkippedDataLines,         // data lines after such an end, passed over; count: lines
    RepeatedBlock,            // a keyword block met again replaced the earlier one (detail: keyword)
    UnaddressedSupport,       // a *CONSTRAINT node number that names no node record (detail: number)
    UnaddressedRelease,       // a *FRAME-RLS element number that names no element record
    UnaddressedGroupMember,   // a *GROUP element number that names no element record
    PositionalAddressing,     // numbers are not 1..N in file order, but records are found by position
    UnmatchedMemberEnd,       // a member end whose node number names no node (detail: member, node)
    UnmatchedSection,         // a member whose section number names no section; count: members left unlinked
    UnknownCatalogueName,     // a section name the library does not hold; count: sections lost
    UnmatchedGrade,           // a standard material whose grade is not in the table (detail: code, grade)
    NewerMaterialLayout,      // a *MATERIAL line written in today's column order
    NewerSectionLayout,       // a *SECTION line written in today's column order
    LoadOnMissingNode,        // a nodal load on a node number no node has
    LoadOnMissingMember,      // a member load on an element number no line member has
    LoadCaseNotNamed,         // a load section whose name contains no load case name
    LoadSectionWithoutCases,  // a load section read before any *STLDCASE: its loads are dropped
    UnknownLoadType,          // a member load type word outside the table: no entries made
    UnknownDirection,         // a member load direction word outside the table
    UnitWords,                // the force and length words of the file (detail)
    UnitFactors,              // the factors applied (detail)
    RefusedUnit,              // a unit that cannot be converted (detail: the word)
    UntranslatedSection,      // a section the host's 13 values cannot describe (detail: number, name, TYPE)
    UnmatchedMaterial,        // a member or area whose material number names no material; count: records
    GradeFromLine,            // a grade not in the table: modulus from the line, constants of its TYPE (detail: grade)
    UnmatchedThickness,       // an area whose thickness number names no thickness; count: areas
    UnknownLoadCaseType,      // a load case type outside the known lists, taken as live (detail: type)
    UntranslatedLoadBlock,    // a load block inside a load section that is not translated (detail: keyword)
    CablePretension,          // a TENSTR pretension: the host has no field for it
    LoadEccentricity,         // a member load's eccentricity: the host has no field for it
    ProjectedLoad,            // a projected member load, converted to a load per length of the member
    AreaDataDropped,          // data of a PLATE or WALL element beyond what the host's area holds
    PassedOverLines,          // data lines passed over for a reason no other finding names; count: lines
};

// One finding: where in the file (byte offset of the line, -1 when it concerns no single line), what it
// names, and how many lines or records it stands for.
struct MidasFindingInfo {
    MidasFinding kind;
    long long offset;
    std::string detail;
    int count;
};

// One entry of the ledger: a keyword line of the file with the data lines of its block, and how many of
// them reached the host model. Entry keyword "" at line 0 stands for data lines before the first keyword.
struct MidasLedgerEntry {
    std::string keyword;
    long long line;        // 1-based physical line of the keyword line; 0 for ""
    long long offset;      // byte offset of the keyword line; -1 for ""
    int dataLines;         // logical lines of the block, blank and comment lines left out
    int used;              // data lines whose content reached the host model (or was read: *VERSION, *UNIT)
    int passedOver;        // dataLines - used
    std::vector<MidasFinding> reasons;  // the finding kinds that explain the lines passed over
};

// The stages of an import, in the order they finish: ReadMidasFile reads the file (Read);
// TranMidastoOrvo builds the working records (Translate), converts them to kN and mm (Scale) and
// hands them over to the host model (HandOver).
enum class MidasPhase { Read, Translate, Scale, HandOver };

// An optional sink for findings and progress. The translator calls it only when a host has set one.
class MIDAS2ORVO_API MidasDiagnostics {
public:
    virtual ~MidasDiagnostics();
    virtual void Report(const MidasFindingInfo& finding) = 0;
    // Reading progress in bytes of the file; called every few megabytes.
    virtual void Progress(long long bytesRead, long long bytesTotal);
    // A stage has finished (a refused translation finishes no stage after Translate).
    virtual void PhaseFinished(MidasPhase phase);
    // The ledger, one call per entry in file order, once TranMidastoOrvo has finished or been refused.
    virtual void LedgerEntry(const MidasLedgerEntry& entry);
};

// For a finding of a classic read, what the current profile reads differently (a short phrase such as
// "*MATERIAL lines have the current layout"); null when the current profile would find the same.
MIDAS2ORVO_API const char* MidasCurrentProfileHint(MidasFinding kind);
// The same phrase to follow a count: in the singular for 1 ("1 block ended early (...)"), else plural.
MIDAS2ORVO_API const char* MidasCurrentProfileHint(MidasFinding kind, long long count);
