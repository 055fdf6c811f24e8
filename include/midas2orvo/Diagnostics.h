// What a host can learn about an import besides the model: the reading profile it chose, findings on
// what did not arrive, and the stages as they finish.
#pragma once

#include <string>

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
};

// One finding: where in the file (byte offset of the line, -1 when it concerns no single line), what it
// names, and how many lines or records it stands for.
struct MidasFindingInfo {
    MidasFinding kind;
    long long offset;
    std::string detail;
    int count;
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
};

// For a finding of a classic read, what the current profile reads differently (a short phrase such as
// "*MATERIAL lines have the current layout"); null when the current profile would find the same.
MIDAS2ORVO_API const char* MidasCurrentProfileHint(MidasFinding kind);
