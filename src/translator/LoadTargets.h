// LoadTargets: indexes from node and element numbers to the working nodes and lines that carry loads;
// and what the walk of a member load block made as it was read (MemberLoadWalk), to be told or undone.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "ExistingNumbers.h"
#include "WorkRecords.h"
#include "reader/LoadBlocks.h"
#include "reader/PooledArray.h"

// Where the load reader finds the working node or member a load goes to, and the two nodes that measure
// a member: indexes over the translator's working nodes and lines, so that no load walks the
// collections. They give exactly what a walk in collection order gives (first node with a number for a
// nodal load and a member's start, last one for a member's end, first line with an element number).
// Each index is built at its first use; the load reader makes one object per call, during which the
// working nodes and lines do not change. Positions are 0-based; -1 when nothing carries the number.
//
// Load cases are found the same way: the 1-based position of the first *STLDCASE record whose name
// stands inside a section's name, through a table of names by length rather than a walk per section.
struct LoadTargets {
    LoadTargets(const PooledArray<WorkNode>& nodes, const PooledArray<WorkLine>& lines,
                const LoadCaseBlock* cases = nullptr);
    ~LoadTargets();
    LoadTargets(const LoadTargets&) = delete;
    LoadTargets& operator=(const LoadTargets&) = delete;

    int FirstNode(int number) const;
    int LastNode(int number) const;
    int FirstLine(int number) const;
    // The numbers of the working nodes and lines, for walking ID lists over them.
    const ExistingNumbers& NodeNumbers() const;
    const ExistingNumbers& LineNumbers() const;
    // The length of the working line at position, as measure(line) gives it: measured at its first load
    // and kept, since the loads of every section of a run go to the same lines.
    template <class Measure>
    double LineLength(int position, Measure measure) const
    {
        double& length = LengthSlot(position);
        if (std::isnan(length))
            length = measure();
        return length;
    }
    // Position (1-based) of the first load case named exactly sectionName, or 0.
    int ExactCase(const std::string& sectionName) const;
    // Position (1-based) of the first load case whose name occurs inside sectionName, or 0.
    int ContainedCase(const std::string& sectionName) const;

private:
    double& LengthSlot(int position) const;  // NaN until measured
    struct Index;
    const PooledArray<WorkNode>& m_Nodes;
    const PooledArray<WorkLine>& m_Lines;
    const LoadCaseBlock* m_pCases;
    Index* m_pIndex;
};

// The load case loads are stamped with: its 1-based position among the *STLDCASE records and its kind
// (dead 0, live 1, wind 2); 0 and -1 when the section names none.
struct LoadCase {
    int id = 0;
    int kind = -1;
};

// Findings held back, to be passed on later in the order they came.
class HeldFindings final : public MidasDiagnostics {
public:
    void Report(const MidasFindingInfo& finding) override { m_Findings.push_back(finding); }
    void PassOn(MidasDiagnostics& sink)
    {
        for (const MidasFindingInfo& finding : m_Findings)
            sink.Report(finding);
        m_Findings.clear();
    }

private:
    std::vector<MidasFindingInfo> m_Findings;
};

class Translation;

// The member loads of one *BEAMLOAD block, made as the reader reads it on one thread: the records are
// walked in batches while still in the cache, and never kept. What the walk made is undone if a later
// block of the section replaces this one; its findings are held until the section's nodal loads are made.
class MemberLoadWalk final : public RecordWalker {
public:
    MemberLoadWalk(Translation& translation, BeamLoadBlock& block, const LoadCase& loadCase, bool findings,
                   int lineLoads, int counter)
        : translation(translation), block(&block), loadCase(loadCase), sink(findings ? &held : nullptr),
          missing(sink, MidasFinding::LoadOnMissingMember), lineLoadsBefore(lineLoads), counterBefore(counter)
    {
    }
    void Walk(const PooledArray<MidasRecord>& batch, int first) override;

    Translation& translation;
    BeamLoadBlock* block;
    LoadCase loadCase;
    HeldFindings held;
    MidasDiagnostics* sink;  // the held findings where the reading has a sink, else null
    MissingNumbers missing;
    int lineLoadsBefore;      // working member loads before the block
    int counterBefore;        // the member load counter before the block
    std::vector<int> loaded;  // the working line each member load number of the walk went to, in order
};
