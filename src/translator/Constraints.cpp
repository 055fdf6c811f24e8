// Constraint, release and group steps: supports, end releases and group names onto the parsed records.
#include <string>
#include <string_view>
#include <unordered_map>

#include "ExistingNumbers.h"
#include "Translation.h"
#include "reader/GeometryBlocks.h"
#include "reader/GroupBlocks.h"
#include "reader/MidasBlock.h"

namespace {

// Six "0"/"1" characters (translations X, Y, Z, rotations X, Y, Z) to the flag byte 0x80 ... 0x04.
unsigned char FlagsFromText(std::string_view text)
{
    unsigned char flags = 0;
    for (std::size_t k = 0; k < 6 && k < text.size(); ++k)
        if (text[k] == '1')
            flags = static_cast<unsigned char>(flags | (0x80u >> k));
    return flags;
}

// How supports, releases and groups find the node or element record a number names: by position in the
// block (classic: number n is the n-th record) or by the number written in the file (the first record
// with that number).
template <class Block>
class RecordAddress {
public:
    using Record = typename Block::Record;

    RecordAddress(const Block& block, bool byNumber) : m_Block(block), m_bByNumber(byNumber)
    {
        if (!byNumber)
            return;
        m_Position.reserve(std::size_t(block.GetCount()));
        for (int i = 0; i < block.GetCount(); ++i)
            m_Position.try_emplace(block.GetRecord(i)->m_nID, i);
        m_Numbers.Build(block.GetCount(), [&block](int i) { return block.GetRecord(i)->m_nID; });
    }

    // The numbers of the records, for walking ID lists (by number only).
    const ExistingNumbers& Numbers() const { return m_Numbers; }

    // The record number n names, or null. beyondBlock tells that a position lies past the block's end.
    Record* Find(int n, bool& beyondBlock) const
    {
        beyondBlock = false;
        if (m_bByNumber) {
            const auto found = m_Position.find(n);
            return found == m_Position.end() ? nullptr : m_Block.GetRecord(found->second);
        }
        beyondBlock = n > m_Block.GetCount();
        return n > 0 && !beyondBlock ? m_Block.GetRecord(n - 1) : nullptr;
    }

private:
    const Block& m_Block;
    bool m_bByNumber;
    std::unordered_map<int, int> m_Position;
    ExistingNumbers m_Numbers;
};

} // namespace

int Translation::MIDAStranslatetoOrvo_Constraint()
{
    if (!m_Blocks.constraint || !m_Blocks.node)
        return 0;
    const RecordAddress nodes(*m_Blocks.node, m_pRules->addressesByNumber);
    MissingNumbers missing(StepDiagnostics(), MidasFinding::UnaddressedSupport);
    bool beyond;
    for (int c = 0; c < m_Blocks.constraint->GetCount(); ++c) {
        ConstraintRecord* constraint = m_Blocks.constraint->GetRecord(c);
        const unsigned char flags = FlagsFromText(constraint->m_strFlags);
        const bool unite = m_pRules->unitesSupportLines;
        auto restrain = [&](NodeRecord* node) {
            node->m_pConstraint = constraint;
            node->m_byRestraint = unite ? static_cast<unsigned char>(node->m_byRestraint | flags) : flags;
            m_Blocks.constraint->MarkUsed(c);
        };
        for (int n : constraint->m_NodeIDs) {
            if (NodeRecord* node = nodes.Find(n, beyond))
                restrain(node);
            else  // a number that addresses no node record: named with the block's other such numbers
                missing.Add(m_Blocks.constraint->RecordOffset(c), IdRange{n, 1, 1}, 1);
        }
        // Today's lists reach the nodes whose numbers they name.
        for (const IdRange& item : constraint->m_NodeRanges) {
            const long long none = nodes.Numbers().Walk(item, [&](int n) { restrain(nodes.Find(n, beyond)); });
            missing.Add(m_Blocks.constraint->RecordOffset(c), item, none);
        }
    }
    return 0;
}

// A release for a position beyond the element block ends the step.
int Translation::MIDAStranslatetoOrvo_FrameRelease()
{
    if (!m_Blocks.node || !m_Blocks.element || !m_Blocks.frameRelease)
        return 0;
    const RecordAddress elements(*m_Blocks.element, m_pRules->addressesByNumber);
    bool beyond;
    for (int r = 0; r < m_Blocks.frameRelease->GetCount(); ++r) {
        FrameReleaseRecord* release = m_Blocks.frameRelease->GetRecord(r);
        ElementRecord* element = elements.Find(release->m_nElementID, beyond);
        if (!element) {
            if (MidasDiagnostics* sink = StepDiagnostics())
                Note(sink, MidasFinding::UnaddressedRelease, m_Blocks.frameRelease->RecordOffset(r),
                     std::to_string(release->m_nElementID), beyond ? m_Blocks.frameRelease->GetCount() - r : 1);
            if (beyond)
                return 0;
            continue;
        }
        element->m_pFrameRelease = release;
        m_Blocks.frameRelease->MarkUsed(r);
        element->m_byStartRelease = FlagsFromText(release->m_strEndIFlags);
        element->m_byEndRelease = FlagsFromText(release->m_strEndJFlags);
    }
    return 0;
}

// A group member at a position beyond the element block ends the step.
int Translation::MIDAStranslateOrvo_Group()
{
    if (!m_Blocks.group || !m_Blocks.element)
        return 0;
    const RecordAddress elements(*m_Blocks.element, m_pRules->addressesByNumber);
    MissingNumbers missing(StepDiagnostics(), MidasFinding::UnaddressedGroupMember);
    bool beyond;
    for (int g = 0; g < m_Blocks.group->GetCount(); ++g) {
        const GroupRecord* group = m_Blocks.group->GetRecord(g);
        const PooledText name = m_GroupNames->Intern(group->m_strName);
        // Today's lists reach the elements whose numbers they name.
        for (const IdRange& item : group->m_ElementRanges) {
            const long long none = elements.Numbers().Walk(item, [&](int e) {
                elements.Find(e, beyond)->m_strGroupName = name;
                m_Blocks.group->MarkUsed(g);
            });
            missing.Add(m_Blocks.group->RecordOffset(g), item, none);
        }
        for (int e : group->m_ElementIDs) {
            ElementRecord* element = elements.Find(e, beyond);
            if (!element) {
                if (MidasDiagnostics* sink = StepDiagnostics())
                    Note(sink, MidasFinding::UnaddressedGroupMember, m_Blocks.group->RecordOffset(g),
                         group->m_strName + ": " + std::to_string(e));
                if (beyond)
                    return 0;
                continue;
            }
            element->m_strGroupName = name;
            m_Blocks.group->MarkUsed(g);
        }
    }
    return 0;
}
