// LoadTargets: indexes from node and element numbers to the working nodes and lines that carry loads.
#pragma once

#include <string>

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
    // Position (1-based) of the first load case named exactly sectionName, or 0.
    int ExactCase(const std::string& sectionName) const;
    // Position (1-based) of the first load case whose name occurs inside sectionName, or 0.
    int ContainedCase(const std::string& sectionName) const;

private:
    struct Index;
    const PooledArray<WorkNode>& m_Nodes;
    const PooledArray<WorkLine>& m_Lines;
    const LoadCaseBlock* m_pCases;
    Index* m_pIndex;
};
