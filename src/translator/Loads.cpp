// Loads of a *USE-STLD section: nodal loads and member loads stamped with their load case and attached
// to the working nodes and members that carry them.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <set>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "Translation.h"
#include "LoadTargets.h"
#include "NumberIndex.h"
#include "WorkRecords.h"
#include "reader/LoadBlocks.h"
#include "reader/MidasBlock.h"

namespace {

// Load case type word to the host's load case kind: dead 0, live 1, wind 2. The classic rule knows D and W
// and counts any other word as live. Today's types: dead loads of every kind (construction stage,
// prestress, creep, shrinkage, earth and water pressure) are dead, wind is wind, live ones live; any
// other type counts as live and is not known.
int CaseKindOf(const std::string& type, bool todaysTypes, bool& known)
{
    known = true;
    if (!todaysTypes)
        return type == "D" ? 0 : type == "W" ? 2 : 1;
    for (const char* dead : {"D", "DC", "DW", "DD", "CS", "PS", "CR", "SH", "EP", "EH", "ES", "BF"})
        if (type == dead)
            return 0;
    if (type == "W" || type == "WL")
        return 2;
    known = type == "L" || type == "LR" || type == "IL";
    return 1;
}

// Direction word of a member load: global X, Y, Z, then local x, z, y (the host's order).
int DirectionOf(std::string_view word)
{
    static const char* const kDirections[] = {"GX", "GY", "GZ", "LX", "LZ", "LY"};
    for (int code = 0; code < 6; ++code)
        if (word == kDirections[code])
            return code;
    return -1;
}

// Member load types. Concentrated forces and moments make one entry per (distance, value) pair, all four
// whatever their values; uniform ones make one entry spanning the first two pairs.
struct LoadTypeRule {
    const char* word;
    int loadType;
    bool concentrated;
};
constexpr LoadTypeRule kLoadTypes[] = {
    {"CONLOAD", 2, true},
    {"CONMOMENT", 3, true},
    {"UNILOAD", 1, false},
    {"UNIMOMEMT", 4, false},  // the classic spelling of the uniform moment
    {"UNIMOMENT", 4, false},  // as MIDAS writes it today: read where the rules scale by dimension
};

const LoadTypeRule* LoadTypeOf(std::string_view word, bool todaysWords)
{
    for (const LoadTypeRule& rule : kLoadTypes)
        if (word == rule.word && (todaysWords || word != "UNIMOMENT"))
            return &rule;
    return nullptr;
}

struct Point {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// Where a member end stands; a missing node stands at the origin.
Point PointOf(const WorkNode* node) { return node ? Point{node->X, node->Y, node->Z} : Point{}; }

// Load cases by name: the first position of each name, and the lengths the names come in, so that the
// load case of a section is found by looking up the section name's substrings of those lengths.
class CaseNames {
public:
    void Build(const LoadCaseBlock* cases)
    {
        m_bBuilt = true;
        for (int i = 0; cases && i < cases->GetCount(); ++i) {
            const std::string& name = cases->GetRecord(i)->m_strName;
            if (m_First.try_emplace(name, i + 1).second)
                m_Lengths.insert(name.size());
        }
    }
    bool IsBuilt() const { return m_bBuilt; }

    int Exact(const std::string& sectionName) const
    {
        const auto found = m_First.find(sectionName);
        return found == m_First.end() ? 0 : found->second;
    }

    // The smallest position among the names that occur in sectionName.
    int Contained(const std::string& sectionName) const
    {
        int best = 0;
        for (std::size_t length : m_Lengths) {
            if (length > sectionName.size())
                break;
            for (std::size_t start = 0; start + length <= sectionName.size(); ++start) {
                const auto found = m_First.find(std::string_view(sectionName).substr(start, length));
                if (found != m_First.end() && (best == 0 || found->second < best))
                    best = found->second;
                if (length == 0)
                    break;  // the empty name occurs everywhere: one look is enough
            }
        }
        return best;
    }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
    };
    bool m_bBuilt = false;
    std::unordered_map<std::string, int, Hash, std::equal_to<>> m_First;
    std::set<std::size_t> m_Lengths;
};

// The load case of a section: the first record (in file order) whose name stands anywhere inside the
// section's name, so with load cases "L" and "LL" the section "LL" is load case 1. Where the profile asks
// for it, a load case with exactly the section's name comes first.
LoadCase FindLoadCase(const LoadCaseBlock& cases, const LoadTargets& targets, const std::string& sectionName,
                      const TranslationRules& rules, bool& knownType)
{
    knownType = true;
    int position = rules.matchesLoadCaseExactlyFirst ? targets.ExactCase(sectionName) : 0;
    if (position == 0)
        position = targets.ContainedCase(sectionName);
    if (position == 0)
        return {};
    return {position, CaseKindOf(cases.GetRecord(position - 1)->m_strType, rules.knowsLoadCaseTypes, knownType)};
}

void AddPointLoad(const ConLoadRecord& record, const LoadCase& loadCase, PooledArray<WorkPointLoad>& loads)
{
    WorkPointLoad* load = loads.Emplace();
    if (!load)
        return;
    load->CaseKind = loadCase.kind;
    load->CaseID = loadCase.id;
    load->FX = record.m_dFX;
    load->FY = record.m_dFY;
    load->FZ = record.m_dFZ;
    load->MX = record.m_dMX;
    load->MY = record.m_dMY;
    load->MZ = record.m_dMZ;
}

// Distances of the file are fractions of the member length; positions are lengths from the start end,
// in the file's length unit.
void AddLineLoads(const BeamLoadRecord& record, const LoadTypeRule& rule, int direction, const LoadCase& loadCase,
                  double length, double scale, PooledArray<WorkLineLoad>& loads)
{
    const double distances[4] = {record.m_dD1, record.m_dD2, record.m_dD3, record.m_dD4};
    const double values[4] = {record.m_dP1, record.m_dP2, record.m_dP3, record.m_dP4};
    for (int k = 0; k < (rule.concentrated ? 4 : 1); ++k) {
        WorkLineLoad* load = loads.Emplace();
        if (!load)
            return;
        load->CaseKind = loadCase.kind;
        load->CaseID = loadCase.id;
        load->LoadType = rule.loadType;
        load->Direction = direction;
        load->Position1 = distances[k] * length;
        load->Value1 = values[k] * scale;
        if (!rule.concentrated) {
            load->Position2 = distances[1] * length;
            load->Value2 = values[1] * scale;
        }
    }
}

// The index of a collection, built at its first use.
template <class T>
const NumberIndex& Ready(NumberIndex& index, const PooledArray<T>& items)
{
    if (!index.IsBuilt())
        index.Build(items);
    return index;
}

} // namespace

struct LoadTargets::Index {
    NumberIndex nodes;
    NumberIndex lines;
    std::vector<double> lengths;
    CaseNames cases;
    ExistingNumbers nodeNumbers;
    ExistingNumbers lineNumbers;
};

// The numbers of a working collection, built at their first use.
template <class T>
const ExistingNumbers& Numbers(ExistingNumbers& numbers, const PooledArray<T>& items)
{
    if (!numbers.IsBuilt())
        numbers.Build(items.GetSize(), [&items](int i) { return items[i] ? items[i]->ID : 0; });
    return numbers;
}

const ExistingNumbers& LoadTargets::NodeNumbers() const { return Numbers(m_pIndex->nodeNumbers, m_Nodes); }

const ExistingNumbers& LoadTargets::LineNumbers() const { return Numbers(m_pIndex->lineNumbers, m_Lines); }

LoadTargets::LoadTargets(const PooledArray<WorkNode>& nodes, const PooledArray<WorkLine>& lines,
                         const LoadCaseBlock* cases)
    : m_Nodes(nodes), m_Lines(lines), m_pCases(cases), m_pIndex(new Index)
{
}

int LoadTargets::ExactCase(const std::string& sectionName) const
{
    if (!m_pIndex->cases.IsBuilt())
        m_pIndex->cases.Build(m_pCases);
    return m_pIndex->cases.Exact(sectionName);
}

int LoadTargets::ContainedCase(const std::string& sectionName) const
{
    if (!m_pIndex->cases.IsBuilt())
        m_pIndex->cases.Build(m_pCases);
    return m_pIndex->cases.Contained(sectionName);
}

LoadTargets::~LoadTargets() { delete m_pIndex; }

double& LoadTargets::LengthSlot(int position) const
{
    std::vector<double>& lengths = m_pIndex->lengths;
    if (std::size_t(position) >= lengths.size())
        lengths.resize(std::max(std::size_t(position) + 1, std::size_t(m_Lines.GetSize())), std::nan(""));
    return lengths[std::size_t(position)];
}

int LoadTargets::FirstNode(int number) const { return Ready(m_pIndex->nodes, m_Nodes).Find(number).first; }

int LoadTargets::LastNode(int number) const { return Ready(m_pIndex->nodes, m_Nodes).Find(number).last; }

int LoadTargets::FirstLine(int number) const { return Ready(m_pIndex->lines, m_Lines).Find(number).first; }

// Length of a member from the first node with its start number to the last node with its end number,
// in the file's length unit.
double Translation::MeasureLine(const WorkLine& line, const LoadTargets& targets, double* axis) const
{
    const Point start = PointOf(m_NodeArray.GetAt(targets.FirstNode(line.StartNode)));
    const Point end = PointOf(m_NodeArray.GetAt(targets.LastNode(line.EndNode)));
    const double dx = end.x - start.x;
    const double dy = end.y - start.y;
    const double dz = end.z - start.z;
    if (axis) {
        axis[0] = dx;
        axis[1] = dy;
        axis[2] = dz;
    }
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// Measures one working line; it indexes the collections afresh, so loads use MeasureLine instead.
double Translation::GetElementLength(int index)
{
    const WorkLine* line = m_LineArray.GetAt(index);
    if (m_NodeArray.GetSize() == 0 || !line)
        return 0.0;
    return MeasureLine(*line, LoadTargets(m_NodeArray, m_LineArray));
}

// Makes the section's nodal loads, then its member loads. Each load's number goes to the node or member
// carrying it; a load whose node or member does not exist is still made, and nothing lists it.
void Translation::CreateSectionLoads(const ::LoadSection& section, const LoadTargets& targets)
{
    bool knownType = true;
    const LoadCase loadCase =
        m_Blocks.loadCase ? FindLoadCase(*m_Blocks.loadCase, targets, section.caseName, *m_pRules, knownType) : LoadCase{};
    MidasDiagnostics* const sink = m_pDiagnostics;
    if (sink && loadCase.id == 0)
        Note(sink, MidasFinding::LoadCaseNotNamed, section.headerOffset, section.caseName);
    if (sink && !knownType) {
        const std::string& type = m_Blocks.loadCase->GetRecord(loadCase.id - 1)->m_strType;
        if (m_NamedCaseTypes.insert(type).second)  // each type named once
            Note(sink, MidasFinding::UnknownLoadCaseType, m_Blocks.loadCase->RecordOffset(loadCase.id - 1), type);
    }
    ConLoadBlock* const conLoads = section.conLoads;
    BeamLoadBlock* const beamLoads = section.beamLoads;

    // A classic record loads its one number, whether a node has it or not. A list of today's layout loads
    // the numbers that name a node or member; the others make nothing and are counted per block.
    const bool walks = m_pRules->walksIdLists;
    MissingNumbers missingNodes(sink, MidasFinding::LoadOnMissingNode);
    for (int i = 0; conLoads && i < conLoads->GetCount(); ++i) {
        const ConLoadRecord* record = conLoads->GetRecord(i);
        auto load = [&](int number) {
            if (WorkNode* node = m_NodeArray.GetAt(targets.FirstNode(number)))
                node->PointLoads.Add(++m_nPointLoadCounter);
            else if (sink)
                Note(sink, MidasFinding::LoadOnMissingNode, conLoads->RecordOffset(i), std::to_string(number));
            AddPointLoad(*record, loadCase, m_PointLoadArray);
            conLoads->MarkUsed(i);
        };
        if (!walks)
            load(record->m_nNode);
        for (const IdRange& item : record->m_NodeList)
            missingNodes.Add(conLoads->RecordOffset(i), item, targets.NodeNumbers().Walk(item, load));
    }

    if (m_pMemberWalk && m_pMemberWalk->block == beamLoads) {
        // Walked as the block was read: its findings come now, after those of the nodal loads.
        m_pMemberWalk->missing.Flush();
        if (sink)
            m_pMemberWalk->held.PassOn(*sink);
        beamLoads->SetWalker(nullptr);
        m_pMemberWalk.reset();
        return;
    }
    MissingNumbers missingMembers(sink, MidasFinding::LoadOnMissingMember);
    for (int i = 0; beamLoads && i < beamLoads->GetCount(); ++i) {
        WalkMemberLoad(*beamLoads, i, *beamLoads->GetRecord(i), loadCase, targets, sink, missingMembers, nullptr);
        // Nothing reads a section's member load records after this walk: each is destroyed while it is
        // at hand, and the memory of those walked holds the working loads made from the rest (a reading
        // keeps freed blocks for reuse).
        beamLoads->m_Records.DestroyAt(i);
        beamLoads->m_Records.ReleaseBefore(i + 1, true);
    }
}

void Translation::WalkMemberLoad(BeamLoadBlock& block, int i, const BeamLoadRecord& record, const LoadCase& loadCase,
                                 const LoadTargets& targets, MidasDiagnostics* sink, MissingNumbers& missing,
                                 std::vector<int>* loaded)
{
    const LoadTypeRule* rule = LoadTypeOf(record.m_strType, m_pRules->scalesByDimension);
    const int direction = DirectionOf(record.m_strDir);
    if (sink) {
        const long long offset = block.RecordOffset(i);
        if (!rule)
            Note(sink, MidasFinding::UnknownLoadType, offset, record.m_strType.str());
        if (direction < 0)
            Note(sink, MidasFinding::UnknownDirection, offset, record.m_strDir.str());
    }
    // Today's layout: an eccentricity has no field in the host; a load per projected length in a global
    // direction becomes a load per length of the member.
    const bool projected = m_pRules->convertsProjectedLoads && record.m_strProjection == "YES" && rule &&
                           !rule->concentrated && direction >= 0 && direction <= 2;
    if (sink && m_pRules->convertsProjectedLoads && record.m_strExtra1 == "YES")
        Note(sink, MidasFinding::LoadEccentricity, block.RecordOffset(i), record.m_strExtra2.str());
    if (sink && projected)
        Note(sink, MidasFinding::ProjectedLoad, block.RecordOffset(i), record.m_strDir.str());
    auto load = [&](int number) {
        // A member lists one number per member-load record, even one whose type word makes no entry.
        double length = 0.0;
        double scale = 1.0;
        const int position = targets.FirstLine(number);
        if (WorkLine* line = m_LineArray.GetAt(position)) {
            if (line->LineLoads.Add(++m_nLineLoadCounter) && loaded)
                loaded->push_back(position);  // only a number listed is taken back
            double axis[3];
            length = projected ? MeasureLine(*line, targets, axis)
                               : targets.LineLength(position, [&] { return MeasureLine(*line, targets); });
            if (projected && length > 0.0) {
                axis[direction] = 0.0;  // the member seen along the load: its length normal to the load
                scale = std::sqrt(axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2]) / length;
            }
        } else if (sink) {
            Note(sink, MidasFinding::LoadOnMissingMember, block.RecordOffset(i), std::to_string(number));
        }
        if (rule) {
            AddLineLoads(record, *rule, direction, loadCase, length, scale, m_LineLoadArray);
            block.MarkUsed(i);
        }
    };
    if (!m_pRules->walksIdLists)
        load(record.m_nElement);
    for (const IdRange& item : record.m_ElementList)
        missing.Add(block.RecordOffset(i), item, targets.LineNumbers().Walk(item, load));
}

void MemberLoadWalk::Walk(const PooledArray<MidasRecord>& batch, int first)
{
    for (int k = 0; k < batch.GetSize(); ++k)
        translation.WalkMemberLoad(*block, first + k, *static_cast<const BeamLoadRecord*>(batch[k]), loadCase,
                                   *translation.m_pTargets, sink, missing, &loaded);
}

void Translation::MemberLoadBlock(const std::string& caseName, BeamLoadBlock* replaced, BeamLoadBlock& block)
{
    // Where the reading has threads, a section's blocks are read in pieces and walked beside the reading
    // (on a thread of their own: nothing here may touch what that walk reads).
    if (m_pThreads)
        return;
    if (m_pMemberWalk && m_pMemberWalk->block == replaced)
        UndoMemberWalk();
    m_pMemberWalk.reset();
    if (!m_pTargets || !m_Blocks.loadCase)
        return;
    bool knownType = true;
    const LoadCase loadCase = FindLoadCase(*m_Blocks.loadCase, *m_pTargets, caseName, *m_pRules, knownType);
    m_pMemberWalk = std::make_unique<MemberLoadWalk>(*this, block, loadCase, m_pDiagnostics != nullptr,
                                                     m_LineLoadArray.GetSize(), m_nLineLoadCounter);
    block.SetWalker(m_pMemberWalk.get());
}

void Translation::UndoMemberWalk()
{
    MemberLoadWalk& walk = *m_pMemberWalk;
    for (auto line = walk.loaded.rbegin(); line != walk.loaded.rend(); ++line)
        m_LineArray.GetAt(*line)->LineLoads.RemoveLast();
    m_LineLoadArray.Truncate(walk.lineLoadsBefore);
    m_nLineLoadCounter = walk.counterBefore;
    walk.block->ClearUsed();
    walk.block->SetWalker(nullptr);
}
