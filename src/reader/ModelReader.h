// ReadModel: reads a MIDAS text file into keyword blocks, and hands each load section to a sink.
//
// The reader knows the blocks and their records only. What becomes of a load section (working loads on
// nodes and members) is the business of whoever implements LoadSectionSink; the reader calls it at the
// moment the section is read, so the sink sees the blocks exactly as they stand at that point of the file.
#pragma once

#include <memory>
#include <string>

#include "GeometryBlocks.h"
#include "GroupBlocks.h"
#include "LoadBlocks.h"
#include "PropertyBlocks.h"

// The blocks of a model: null until the keyword is met. A block met again replaces the earlier one, or,
// where the layout keeps repeated blocks together, takes its records.
struct ModelBlocks {
    std::unique_ptr<VersionBlock> version;
    std::unique_ptr<UnitBlock> unit;
    std::unique_ptr<NodeBlock> node;
    std::unique_ptr<ElementBlock> element;
    std::unique_ptr<MaterialBlock> material;
    std::unique_ptr<SectionBlock> section;
    std::unique_ptr<ThicknessBlock> thickness;
    std::unique_ptr<GroupBlock> group;
    std::unique_ptr<ConstraintBlock> constraint;
    std::unique_ptr<FrameReleaseBlock> frameRelease;
    std::unique_ptr<LoadCaseBlock> loadCase;
    unsigned openings = 0;  // blocks opened so far: the serial of the next one

    // Frees the records of every block; the blocks keep what the ledger needs (record offsets, the
    // records used and the lines each spans).
    void ReleaseRecords()
    {
        auto release = [](auto&... slots) { ((slots ? slots->m_Records.DeleteAll() : void()), ...); };
        release(version, unit, node, element, material, section, thickness, group, constraint, frameRelease, loadCase);
    }
};

// One load section "*USE-STLD, name" with the load blocks read inside it (null where it has none).
struct LoadSection {
    std::string caseName;
    long long headerOffset = -1;
    ConLoadBlock* conLoads = nullptr;
    BeamLoadBlock* beamLoads = nullptr;
};

// Receives the load sections as they are read. One run of the load reader (from a *USE-STLD line until
// it hands the stream back) is announced by StartLoadSections, then each section of the run follows.
// A section read while the model has no *STLDCASE block is not handed over.
// The sink may go on with the work StartLoadSections or LoadSection began after they have returned, while
// the reader reads on: the model's blocks, and the section's, stay as they are until SectionDone has
// returned, which the reader calls before it hands over the next section, before it hands the stream back,
// and before it lets go of the section's blocks.
class LoadSectionSink {
public:
    virtual ~LoadSectionSink() = default;
    virtual void StartLoadSections(const ModelBlocks& blocks) = 0;
    virtual void LoadSection(const ModelBlocks& blocks, const LoadSection& section) = 0;
    virtual void SectionDone() {}
    // A section of a model with load cases opens a member load block (replacing replaced, the section's
    // earlier one, where the layout keeps only the last): the sink may set a walker on it, before any
    // record is read.
    virtual void MemberLoadBlock(const std::string& /*caseName*/, BeamLoadBlock* /*replaced*/, BeamLoadBlock& /*block*/) {}
};

class ChunkedReading;

// Reads stream to its end into blocks, in the given layout. Findings and progress go to sink (may be null);
// a ledger that is on gets a row per keyword line with the data lines of its block. With chunks, large
// blocks are parsed in pieces on its threads, to the same blocks.
void ReadModel(LineStream& stream, const ReadingLayout& layout, ModelBlocks& blocks, LoadSectionSink& loads,
               MidasDiagnostics* sink, Ledger* ledger = nullptr, ChunkedReading* chunks = nullptr);
