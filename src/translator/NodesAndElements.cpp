// Node and element steps: working nodes with their restraints, working lines with releases and groups.
#include <algorithm>

#include "Translation.h"
#include "WorkRecords.h"
#include "reader/GeometryBlocks.h"

namespace {

enum class LineKind { None, Beam, Truss };

// BEAM keeps the end releases of *FRAME-RLS; TRUSS and TENSTR members are pinned (rotations about
// y and z released) whatever the file says.
LineKind KindOf(std::string_view type)
{
    if (type == "BEAM")
        return LineKind::Beam;
    if (type == "TRUSS" || type == "TENSTR")
        return LineKind::Truss;
    return LineKind::None;
}

constexpr unsigned char kPinned = kFreeRY | kFreeRZ;

void CopyReleasesAndGroup(const ElementRecord& record, LineKind kind, WorkLine& line)
{
    line.GroupName = record.m_strGroupName;
    if (kind == LineKind::Beam) {
        line.StartRelease = record.m_byStartRelease;
        line.EndRelease = record.m_byEndRelease;
    } else {
        line.StartRelease = kPinned;
        line.EndRelease = kPinned;
    }
}

} // namespace

void Translation::BuildWorkNodes(int firstRecord)
{
    for (int i = firstRecord; i < m_Blocks.node->GetCount(); ++i) {
        const NodeRecord* record = m_Blocks.node->GetRecord(i);
        WorkNode* node = m_NodeArray.Emplace();
        if (!node)
            return;
        node->ID = record->m_nID;
        node->X = record->m_dX;
        node->Y = record->m_dY;
        node->Z = record->m_dZ;
    }
}

int Translation::MIDAStranslatetoOrvo_Node()
{
    if (!m_Blocks.node)
        return 0;
    // Nodes the load reader built from this block are taken over instead of built a second time.
    BuildWorkNodes(std::max(TakeLoadReaderNodes(), 0));
    MIDAStranslatetoOrvo_Constraint();
    // Record i pairs with working node i, whatever the collection held before.
    for (int i = 0; i < m_Blocks.node->GetCount(); ++i) {
        const NodeRecord* record = m_Blocks.node->GetRecord(i);
        WorkNode* node = m_NodeArray.GetAt(i);
        if (record->m_byRestraint != 0 && node)
            node->Restraint = record->m_byRestraint;
    }
    return 0;
}

void Translation::BuildWorkLines(int firstRecord)
{
    for (int i = firstRecord; i < m_Blocks.element->GetCount(); ++i) {
        const ElementRecord* record = m_Blocks.element->GetRecord(i);
        const LineKind kind = KindOf(record->m_strType);
        if (kind == LineKind::None)
            continue;  // plates, walls and other element types are not line members
        WorkLine* line = m_LineArray.Emplace();
        if (!line)
            return;
        line->ID = record->m_nID;
        line->StartNode = record->m_NodeIDs.Count > 0 ? record->m_NodeIDs[0] : 0;
        line->EndNode = record->m_NodeIDs.Count > 1 ? record->m_NodeIDs[1] : 0;
        line->MaterialID = record->m_nMaterialID;
        line->SectionID = record->m_nSectionID;
        CopyReleasesAndGroup(*record, kind, *line);
    }
}

int Translation::MIDAStranslatetoOrvo_Element()
{
    if (!m_Blocks.element)
        return 0;
    MIDAStranslatetoOrvo_FrameRelease();
    MIDAStranslateOrvo_Group();
    // Lines the load reader built from this block are taken over: they get the releases and groups.
    const int built = TakeLoadReaderLines();
    BuildWorkLines(std::max(built, 0));
    if (built >= 0)
        ClaimLoadReaderLines();
    return 0;
}

// Takes over the lines the load reader built from the current element block: the k-th line member
// record gives its releases and group to the k-th of those lines, which are the last ones built (nothing
// else adds lines while they are unclaimed).
void Translation::ClaimLoadReaderLines()
{
    int memberCount = 0;
    for (int i = 0; i < m_Blocks.element->GetCount(); ++i)
        if (KindOf(m_Blocks.element->GetRecord(i)->m_strType) != LineKind::None)
            ++memberCount;
    int k = m_LineArray.GetSize() - memberCount;
    for (int i = 0; i < m_Blocks.element->GetCount(); ++i) {
        const ElementRecord* record = m_Blocks.element->GetRecord(i);
        const LineKind kind = KindOf(record->m_strType);
        if (kind == LineKind::None)
            continue;
        if (WorkLine* line = m_LineArray.GetAt(k++))
            CopyReleasesAndGroup(*record, kind, *line);
    }
}
