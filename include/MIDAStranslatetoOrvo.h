// MIDAS text model importer: the one header a host application includes.
//
// A host translates a MIDAS plain-text model (.mgt) into its own model like this:
//
//     #include <MIDAStranslatetoOrvo.h>
//
//     ModalData_Orvo model;
//     MIDAStranslatetoOrvo translator;
//     if (!translator.ReadMidasFile("frame.mgt"))
//         return;                               // the file could not be opened
//     if (translator.TranMidastoOrvo(model)) {
//         // model.m_Nodes, m_Lines, m_Materials, m_LSections, m_ASections,
//         // m_PointLoads and m_LineLoads now hold the model in kN and mm.
//     }
//
// The translator owns everything it builds on the way and frees it when destroyed; the host owns every
// record appended to its model.
#pragma once

#include <memory>
#include <string>

#include "midas2orvo/Export.h"
#include "midas2orvo/OrvoModel.h"
#include "midas2orvo/OwnedArray.h"
#include "midas2orvo/PooledArray.h"
#include "midas2orvo/ValueArray.h"

class LineStream;
class VersionBlock;
class UnitBlock;
class NodeBlock;
class ElementBlock;
class MaterialBlock;
class SectionBlock;
class ThicknessBlock;
class GroupBlock;
class LoadCaseBlock;
class ConstraintBlock;
class FrameReleaseBlock;
class ConLoadBlock;
class BeamLoadBlock;
class WorkNode;
class WorkLine;
class WorkArea;
class WorkLSection;
class WorkASection;
class WorkMaterial;
class WorkPointLoad;
class WorkLineLoad;
class TextPool;

struct LoadTargets;

// Replaces the handler that shows the unit refusal message (by default: the text and a newline on
// standard error). A null handler restores the default. Returns the previous handler. The handler is
// process-wide: translations on two threads may call it at the same time.
using MessageBoxHandler = void (*)(const char* text, void* context);
MIDAS2ORVO_API MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler, void* context);

// How a MIDAS text file is read. Classic (the default) reads the older layout exactly as the format's
// original reader did. Current reads the files MIDAS Gen/Civil 8.x and 9.x write: whole lines and "\"
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

// One translator serves one thread at a time. Translators on different threads, each filling its own
// ModalData_Orvo, do not interfere; only Material_Orvo IDs, counts of the materials alive in the whole
// process, depend on what the other threads hold.
class MIDAS2ORVO_API MIDAStranslatetoOrvo {
public:
    MIDAStranslatetoOrvo();
    virtual ~MIDAStranslatetoOrvo();
    MIDAStranslatetoOrvo(const MIDAStranslatetoOrvo&) = delete;
    MIDAStranslatetoOrvo& operator=(const MIDAStranslatetoOrvo&) = delete;

    // Reads the MIDAS text file at path into block readers (and, for load sections, working loads).
    // False only when the file cannot be opened or read, or is not a regular file (a directory, FIFO or
    // device is refused at once, never waited on); nothing then changes. A line longer than 1 MiB keeps
    // its first MiB where whole lines are read (current profile).
    bool ReadMidasFile(const char* path);

    // True once ReadMidasFile has succeeded.
    bool HaveReadFile() const;

    // Chooses the reading profile; call before ReadMidasFile. Classic by default.
    void SetReadingProfile(MidasReadingProfile profile);
    MidasReadingProfile GetReadingProfile() const;

    // Sets the sink that receives findings and progress (not owned; null for none, the default).
    void SetDiagnostics(MidasDiagnostics* sink);

    // Builds the working records, renumbers them, scales them to kN and mm and appends fresh records to
    // model. False when the units cannot be converted (model untouched).
    bool TranMidastoOrvo(ModalData_Orvo& model);

    // Runs the translation steps into the translator's own working collections; returns 0.
    int Write();

private:
    friend struct TranslatorAccess;

    void ReadStream(LineStream& stream);
    int ReadLoadCaseForConLoadAndBeamLoad(LineStream& stream);
    void CreateSectionLoads(const std::string& caseName, long long headerOffset, const LoadTargets& targets);
    bool GetUnitType();
    bool TranslateUnit();
    int InitialObjectID();
    int MIDAStranslatetoOrvo_Node();
    int MIDAStranslatetoOrvo_Element();
    double GetElementLength(int index);
    double MeasureLine(const WorkLine& line, const LoadTargets& targets) const;
    int MIDAStranslatetoOrvo_Material();
    int MIDAStranslatetoOrvo_Section();
    int GetBeamSectionID(ModalData_Orvo& model);
    bool SetReferencePoint(WorkLine& line, int shapeCode) const;
    int MIDAStranslatetoOrvo_Areasec();
    int GetAreaSectionID();
    int MIDAStranslatetoOrvo_Constraint();
    int MIDAStranslatetoOrvo_FrameRelease();
    int MIDAStranslateOrvo_Group();
    void ClaimLoadReaderLines();
    void BuildWorkNodes(int firstRecord);
    void BuildWorkLines(int firstRecord);
    void ReleasePoint();
    MidasDiagnostics* StepDiagnostics() const;
    void NotePositionalAddressing() const;
    void HandOver(ModalData_Orvo& model);
    void AppendShapeCodes(ModalData_Orvo& model) const;

    bool m_bHaveReadFile = false;
    MidasReadingProfile m_eProfile = MidasReadingProfile::Classic;
    MidasDiagnostics* m_pDiagnostics = nullptr;
    bool m_bWriting = false;
    PooledArray<WorkNode> m_NodeArray;
    PooledArray<WorkLine> m_LineArray;
    OwnedArray<WorkLSection> m_LSectionArray;
    ValueArray<int> m_SectionTypes;
    OwnedArray<WorkArea> m_AreaArray;
    OwnedArray<WorkASection> m_ASectionArray;
    OwnedArray<WorkMaterial> m_MaterialArray;
    PooledArray<WorkPointLoad> m_PointLoadArray;
    PooledArray<WorkLineLoad> m_LineLoadArray;
    int m_nLengthUnit = 0;
    int m_nForceUnit = 0;
    double m_dLengthFactor = 0.0;
    double m_dForceFactor = 0.0;
    VersionBlock* m_pVersionBlock = nullptr;
    UnitBlock* m_pUnitBlock = nullptr;
    NodeBlock* m_pNodeBlock = nullptr;
    ElementBlock* m_pElementBlock = nullptr;
    MaterialBlock* m_pMaterialBlock = nullptr;
    SectionBlock* m_pSectionBlock = nullptr;
    ThicknessBlock* m_pThicknessBlock = nullptr;
    GroupBlock* m_pGroupBlock = nullptr;
    LoadCaseBlock* m_pLoadCaseBlock = nullptr;
    ConstraintBlock* m_pConstraintBlock = nullptr;
    FrameReleaseBlock* m_pFrameReleaseBlock = nullptr;
    ConLoadBlock* m_pConLoadBlock = nullptr;
    BeamLoadBlock* m_pBeamLoadBlock = nullptr;

    // Working nodes and lines that the load reader built from the current node and element blocks and
    // that no Write has claimed yet: how many records of each block they were built from, -1 for none.
    // Replacing a block resets its count; a block that grows (repeated blocks kept together) has only
    // its new records built.
    int m_nLoadReaderNodeRecords = -1;
    int m_nLoadReaderElementRecords = -1;
    // Attachment counters of the load reader (numbers given to loads attached to nodes and members).
    int m_nPointLoadCounter = 0;
    int m_nLineLoadCounter = 0;
    // One copy of each group name, shared by the element records and working lines of that group.
    std::unique_ptr<TextPool> m_GroupNames;
};
