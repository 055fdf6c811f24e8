// Load sections as the reader meets them: the working nodes and members their loads go to, and which
// of those a later Write takes over instead of building them again.
#include <functional>
#include <utility>

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

// Records a new block read again from lines the load reader built working records from before (a block
// re-read from a load section header that opened it too): those records are not built a second time.
template <class Block>
int NotBuiltBefore(const std::unique_ptr<Block>& block, long long builtTo)
{
    const int first = block ? block->FirstRecordFrom(builtTo) : 0;
    return first > 0 ? first : -1;
}

int Translation::TakeLoadReaderNodes()
{
    int built = ClaimedRecords(m_Blocks.node, m_Claims.nodeRecords, m_Claims.nodeBlock);
    if (built < 0 && m_Claims.loadReading)
        built = NotBuiltBefore(m_Blocks.node, m_Claims.nodesBuiltTo);
    m_Claims.nodeRecords = -1;
    return built;
}

int Translation::TakeLoadReaderLines()
{
    int built = ClaimedRecords(m_Blocks.element, m_Claims.elementRecords, m_Claims.elementBlock);
    if (built < 0 && m_Claims.loadReading)
        built = NotBuiltBefore(m_Blocks.element, m_Claims.linesBuiltTo);
    m_Claims.elementRecords = -1;
    return built;
}

namespace {
thread_local bool t_bSectionThread = false;  // this thread translates beside the reading
}

bool Translation::OnSectionThread() { return t_bSectionThread; }

void Translation::Beside(long long records, const std::function<void()>& work)
{
    SectionDone();
    if (!m_pThreads || records < OverlappedLoads()) {
        work();
        return;
    }
    // Nothing the calling thread does until SectionDone (the reading, or the hand-over of the nodes)
    // touches what the work reads or writes: the working nodes, lines and loads, the blocks of the model
    // and of the section; the findings of both are held.
    if (m_pDiagnostics)
        m_Tap.Hold();
    m_SectionThread = std::thread([this, work] {
        t_bSectionThread = true;
        try {
            work();
        } catch (...) {
            m_SectionFailure = std::current_exception();
        }
    });
}

void Translation::StartLoadSections(const ModelBlocks&)
{
    const long long records =
        (m_Blocks.node ? m_Blocks.node->GetCount() : 0) + (m_Blocks.element ? m_Blocks.element->GetCount() : 0);
    Beside(records, [this] { BuildLoadTargets(); });
}

void Translation::BuildLoadTargets()
{
    // Loads are attached to working nodes and lines and measured on them, so they must exist. Ones built
    // by an earlier run from the same blocks and not yet claimed by Write are used again; of a block that
    // grew since, only the new records are built.
    m_Claims.loadReading = true;
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
    m_Claims.loadReading = false;
    if (m_Blocks.node)
        m_Claims.nodesBuiltTo = std::max(m_Claims.nodesBuiltTo, m_Blocks.node->EndOffset());
    if (m_Blocks.element)
        m_Claims.linesBuiltTo = std::max(m_Claims.linesBuiltTo, m_Blocks.element->EndOffset());

    m_nPointLoadCounter = 0;
    m_nLineLoadCounter = 0;
    // The working nodes and lines stay as they are for the rest of the run, so every section of it finds
    // its nodes and members through the same indexes.
    m_pTargets = std::make_unique<LoadTargets>(m_NodeArray, m_LineArray, m_Blocks.loadCase.get());
}

void Translation::LoadSection(const ModelBlocks&, const ::LoadSection& section)
{
    const long long records = (section.conLoads ? section.conLoads->GetCount() : 0) +
                              (section.beamLoads ? section.beamLoads->GetCount() : 0);
    Beside(records, [this, section] { CreateSectionLoads(section, *m_pTargets); });
}

void Translation::SectionDone()
{
    if (!m_SectionThread.joinable())
        return;
    m_SectionThread.join();
    if (m_pDiagnostics)
        m_Tap.PassHeld();
    if (m_SectionFailure)
        std::rethrow_exception(std::exchange(m_SectionFailure, nullptr));
}

void Translation::FindingTap::Report(const MidasFindingInfo& finding)
{
    if (m_bHolding) {
        (t_bSectionThread ? m_SectionHeld : m_ReadingHeld).push_back({finding});
        return;
    }
    m_Ledger.Explain(finding.kind, finding.offset);
    host->Report(finding);
}

void Translation::FindingTap::Progress(long long read, long long total)
{
    if (m_bHolding && !t_bSectionThread) {
        m_ReadingHeld.push_back({{}, true, read, total});
        return;
    }
    host->Progress(read, total);
}

void Translation::FindingTap::PassHeld()
{
    m_bHolding = false;
    for (std::vector<Held>* held : {&m_SectionHeld, &m_ReadingHeld}) {
        for (const Held& call : *held)
            call.progress ? Progress(call.read, call.total) : Report(call.finding);
        held->clear();
    }
}
