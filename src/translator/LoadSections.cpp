// Load sections as the reader meets them: the working nodes and members their loads go to, and which
// of those a later Write takes over instead of building them again.
#include "LoadTargets.h"
#include "Translation.h"

namespace {

// Records of block that working records were built from, when the claim is on this very block.
template <class Block>
int ClaimedRecords(const std::unique_ptr<Block>& block, int records, unsigned serial)
{
    return block && block->Serial() == serial ? records : -1;
}

} // namespace

int Translation::TakeLoadReaderNodes()
{
    const int built = ClaimedRecords(m_Blocks.node, m_Claims.nodeRecords, m_Claims.nodeBlock);
    m_Claims.nodeRecords = -1;
    return built;
}

int Translation::TakeLoadReaderLines()
{
    const int built = ClaimedRecords(m_Blocks.element, m_Claims.elementRecords, m_Claims.elementBlock);
    m_Claims.elementRecords = -1;
    return built;
}

void Translation::StartLoadSections(const ModelBlocks&)
{
    // Loads are attached to working nodes and lines and measured on them, so they must exist. Ones built
    // by an earlier run from the same blocks and not yet claimed by Write are used again; of a block that
    // grew since, only the new records are built.
    const int nodes = ClaimedRecords(m_Blocks.node, m_Claims.nodeRecords, m_Claims.nodeBlock);
    if (nodes < 0)
        MIDAStranslatetoOrvo_Node();
    else if (nodes < m_Blocks.node->GetCount())
        BuildWorkNodes(nodes);
    m_Claims.nodeRecords = m_Blocks.node ? m_Blocks.node->GetCount() : -1;
    m_Claims.nodeBlock = m_Blocks.node ? m_Blocks.node->Serial() : 0;

    const int lines = ClaimedRecords(m_Blocks.element, m_Claims.elementRecords, m_Claims.elementBlock);
    if (lines < 0)
        MIDAStranslatetoOrvo_Element();
    else if (lines < m_Blocks.element->GetCount())
        BuildWorkLines(lines);
    m_Claims.elementRecords = m_Blocks.element ? m_Blocks.element->GetCount() : -1;
    m_Claims.elementBlock = m_Blocks.element ? m_Blocks.element->Serial() : 0;

    m_nPointLoadCounter = 0;
    m_nLineLoadCounter = 0;
    // The working nodes and lines stay as they are for the rest of the run, so every section of it finds
    // its nodes and members through the same indexes.
    m_pTargets = std::make_unique<LoadTargets>(m_NodeArray, m_LineArray, m_Blocks.loadCase.get());
}

void Translation::LoadSection(const ModelBlocks&, const ::LoadSection& section)
{
    CreateSectionLoads(section, *m_pTargets);
}
