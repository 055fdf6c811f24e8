// Constraint, release and group steps: supports, end releases and group names onto the parsed records.
#include <string_view>

#include "MIDAStranslatetoOrvo.h"
#include "reader/GeometryBlocks.h"
#include "reader/GroupBlocks.h"

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

} // namespace

// Supports address node records by position: node n is the n-th record of *NODE.
int MIDAStranslatetoOrvo::MIDAStranslatetoOrvo_Constraint()
{
    if (!m_pConstraintBlock || !m_pNodeBlock)
        return 0;
    const int nodeCount = m_pNodeBlock->GetCount();
    for (int c = 0; c < m_pConstraintBlock->GetCount(); ++c) {
        ConstraintRecord* constraint = m_pConstraintBlock->GetRecord(c);
        const unsigned char flags = FlagsFromText(constraint->m_strFlags);
        for (int n : constraint->m_NodeIDs) {
            if (n <= 0 || n > nodeCount)
                continue;  // a number that addresses no node record is passed over
            NodeRecord* node = m_pNodeBlock->GetRecord(n - 1);
            node->m_pConstraint = constraint;
            node->m_byRestraint = flags;
        }
    }
    return 0;
}

// Releases address element records by position; a number beyond the block ends the step.
int MIDAStranslatetoOrvo::MIDAStranslatetoOrvo_FrameRelease()
{
    if (!m_pNodeBlock || !m_pElementBlock || !m_pFrameReleaseBlock)
        return 0;
    const int elementCount = m_pElementBlock->GetCount();
    for (int r = 0; r < m_pFrameReleaseBlock->GetCount(); ++r) {
        FrameReleaseRecord* release = m_pFrameReleaseBlock->GetRecord(r);
        const int e = release->m_nElementID;
        if (e > elementCount)
            return 0;
        if (e <= 0)
            continue;
        ElementRecord* element = m_pElementBlock->GetRecord(e - 1);
        element->m_pFrameRelease = release;
        element->m_byStartRelease = FlagsFromText(release->m_strEndIFlags);
        element->m_byEndRelease = FlagsFromText(release->m_strEndJFlags);
    }
    return 0;
}

// Groups address element records by position; a number beyond the block ends the step.
int MIDAStranslatetoOrvo::MIDAStranslateOrvo_Group()
{
    if (!m_pGroupBlock || !m_pElementBlock)
        return 0;
    const int elementCount = m_pElementBlock->GetCount();
    for (int g = 0; g < m_pGroupBlock->GetCount(); ++g) {
        const GroupRecord* group = m_pGroupBlock->GetRecord(g);
        for (int e : group->m_ElementIDs) {
            if (e > elementCount)
                return 0;
            if (e > 0)
                m_pElementBlock->GetRecord(e - 1)->m_strGroupName = group->m_strName;
        }
    }
    return 0;
}
