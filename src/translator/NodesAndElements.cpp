// Node and element steps: working nodes with their restraints, working lines with releases and groups,
// working areas of plates and walls.
#include <algorithm>
#include <numeric>
#include <unordered_set>
#include <utility>
#include <vector>

#include "Translation.h"
#include "NumberIndex.h"
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

// The host's area kind of a PLATE (1) or WALL (2) element; 0 for any other type.
int AreaKindOf(std::string_view type) { return type == "PLATE" ? 1 : type == "WALL" ? 2 : 0; }

// Numbers that name nothing, with how many areas name each, in the order first met.
class UnmatchedNumbers {
public:
    void Add(int number)
    {
        const auto [entry, first] = m_Index.try_emplace(number, m_Counts.size());
        if (first)
            m_Counts.emplace_back(number, 0);
        ++m_Counts[entry->second].second;
    }
    // One finding per number: "<what> <number>", counting its areas.
    void Note(MidasDiagnostics* sink, MidasFinding kind, const char* what) const
    {
        for (const auto& [number, areas] : m_Counts)
            ::Note(sink, kind, -1, what + std::to_string(number), areas);
    }

private:
    std::vector<std::pair<int, int>> m_Counts;
    std::unordered_map<int, std::size_t> m_Index;
};

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
        m_Blocks.node->MarkUsed(i);
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
        m_Blocks.element->MarkUsed(i);
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
    if (m_bWriting)
        BuildWorkAreas();  // not when the load reader runs this step early: loads go on nodes and members only
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
    // The records are shared out in ranges: each range counts its line members, and then gives them to
    // the lines that follow those of the ranges before it.
    const ElementBlock& elements = *m_Blocks.element;
    std::vector<int> firstLine(std::size_t(PartsFor(elements.GetCount())) + 1, 0);
    InParts(elements.GetCount(), [&](int part, int first, int end) {
        int& members = firstLine[std::size_t(part) + 1];
        for (int i = first; i < end; ++i)
            members += KindOf(elements.GetRecord(i)->m_strType) != LineKind::None;
    });
    firstLine[0] = m_LineArray.GetSize() - std::accumulate(firstLine.begin(), firstLine.end(), 0);
    std::partial_sum(firstLine.begin(), firstLine.end(), firstLine.begin());
    InParts(elements.GetCount(), [&](int part, int first, int end) {
        int line = firstLine[std::size_t(part)];
        for (int i = first; i < end; ++i) {
            const ElementRecord* record = elements.GetRecord(i);
            const LineKind kind = KindOf(record->m_strType);
            if (kind == LineKind::None)
                continue;
            if (WorkLine* work = m_LineArray.GetAt(line++))
                CopyReleasesAndGroup(*record, kind, *work);
        }
    });
}

void Translation::BuildWorkAreas()
{
    m_AreaArray.DeleteAll();
    if (!m_pRules->translatesAreas || !m_Blocks.element)
        return;
    for (int i = 0; i < m_Blocks.element->GetCount(); ++i) {
        const ElementRecord* record = m_Blocks.element->GetRecord(i);
        const int kind = AreaKindOf(record->m_strType);
        if (kind == 0)
            continue;
        // The corners are the first four numbers of the record's node list; the sub-type and wall ID that
        // follow them are no nodes. A list too short for three corners makes no area.
        const int corners = std::min(record->m_NodeIDs.Count, 4);
        if (corners < 3) {
            Note(m_pDiagnostics, MidasFinding::UntranslatedElement, m_Blocks.element->RecordOffset(i),
                 record->m_strType.str() + " with fewer than three nodes");
            continue;
        }
        auto* area = new WorkArea;
        area->ID = record->m_nID;
        area->Kind = kind;
        area->SectionID = record->m_nSectionID;
        area->MaterialID = record->m_nMaterialID;
        for (int k = 0; k < corners; ++k)
            area->Nodes.Add(record->m_NodeIDs[k]);
        if (area->Nodes.Count != corners) {
            delete area;  // out of memory: the areas end here
            return;
        }
        if (m_AreaArray.Add(area) < 0)
            return;
        m_Blocks.element->MarkUsed(i);
    }
}

void Translation::RenumberAreas(const NumberIndex& newID)
{
    for (int j = 0; j < m_AreaArray.GetSize(); ++j) {
        WorkArea* area = m_AreaArray[j];
        // A corner whose number names no node keeps the file's number, as a member end does.
        for (int& node : area->Nodes) {
            if (const int first = newID.Find(node).first; first >= 0)
                node = first + 1;
            else if (m_pDiagnostics)
                Note(m_pDiagnostics, MidasFinding::UnmatchedMemberEnd, -1,
                     std::string(area->Kind == 1 ? "plate " : "wall ") + std::to_string(area->ID) + " node " +
                         std::to_string(node));
        }
        area->ID = j + 1;
    }
}

void Translation::HandOverAreas(ModalData_Orvo& model)
{
    // Thicknesses reach the host with the file's numbers, so an area's thickness is linked when the
    // file defines its number.
    std::unordered_set<int> thicknesses;
    for (const WorkASection* section : m_ASectionArray)
        thicknesses.insert(section->ID);
    UnmatchedNumbers unmatchedThickness, unmatchedMaterial;
    for (const WorkArea* work : m_AreaArray) {
        auto* area = new Area_Orvo;
        area->Kind = work->Kind;
        area->ID = work->ID;
        for (int node : work->Nodes)
            area->Nodes.Add(node);
        const bool linked = thicknesses.count(work->SectionID) > 0;
        area->SectionID = linked ? work->SectionID : 0;
        if (!linked)
            unmatchedThickness.Add(work->SectionID);
        area->MaterialID = work->MaterialID;
        if (m_pRules->linksMaterialsByHostID && (area->MaterialID = HostMaterialID(work->MaterialID)) == 0)
            unmatchedMaterial.Add(work->MaterialID);
        if (model.m_Areas.Add(area) < 0)
            break;
    }
    unmatchedThickness.Note(m_pDiagnostics, MidasFinding::UnmatchedThickness, "thickness ");
    unmatchedMaterial.Note(m_pDiagnostics, MidasFinding::UnmatchedMaterial, "material ");
}
