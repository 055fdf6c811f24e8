// LoadTargets: indexes from node and element numbers to the working nodes and lines that carry loads.
#pragma once

#include "MIDAStranslatetoOrvo.h"

// Where the load reader finds the working node or member a load goes to, and the two nodes that measure
// a member: indexes over the translator's working nodes and lines, so that no load walks the
// collections. They give exactly what a walk in collection order gives (first node with a number for a
// nodal load and a member's start, last one for a member's end, first line with an element number).
// Each index is built at its first use; the load reader makes one object per call, during which the
// working nodes and lines do not change. Positions are 0-based; -1 when nothing carries the number.
struct LoadTargets {
    LoadTargets(const OwnedArray<WorkNode>& nodes, const OwnedArray<WorkLine>& lines);
    ~LoadTargets();
    LoadTargets(const LoadTargets&) = delete;
    LoadTargets& operator=(const LoadTargets&) = delete;

    int FirstNode(int number) const;
    int LastNode(int number) const;
    int FirstLine(int number) const;

private:
    struct Index;
    const OwnedArray<WorkNode>& m_Nodes;
    const OwnedArray<WorkLine>& m_Lines;
    Index* m_pIndex;
};
