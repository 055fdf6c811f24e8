// ReadLoadCaseForConLoadAndBeamLoad: reads the *USE-STLD load sections with their load blocks.
#include <string_view>

#include "LoadBlocks.h"
#include "MIDAStranslatetoOrvo.h"
#include "TextUtils.h"

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// The load case name of a section header "*USE-STLD, name": spaces and '*' removed, the text after the
// first comma. Empty when the line is no load section header.
std::string SectionCaseName(std::string_view header, bool& isHeader)
{
    std::string text;
    for (char c : header)
        if (c != ' ' && c != '*')
            text.push_back(c);
    const std::size_t comma = text.find(',');
    isHeader = comma != std::string::npos && comma > 0 && text.find("USE-STLD") != std::string::npos;
    return isHeader ? text.substr(comma + 1) : std::string();
}

template <class Block>
void Release(Block*& slot)
{
    delete slot;
    slot = nullptr;
}

} // namespace

int MIDAStranslatetoOrvo::ReadLoadCaseForConLoadAndBeamLoad(LineStream& stream)
{
    // Loads are attached to working nodes and lines and measured on them, so they must exist. Ones built
    // by an earlier call from the same blocks and not yet claimed by Write are used again.
    if (!m_bLoadReaderNodesUnclaimed) {
        MIDAStranslatetoOrvo_Node();
        m_bLoadReaderNodesUnclaimed = m_pNodeBlock != nullptr;
    }
    if (!m_bLoadReaderLinesUnclaimed) {
        MIDAStranslatetoOrvo_Element();
        m_bLoadReaderLinesUnclaimed = m_pElementBlock != nullptr;
    }
    m_nPointLoadCounter = 0;
    m_nLineLoadCounter = 0;

    // The working nodes and lines stay as they are for the rest of the call, so every section of it
    // finds its nodes and members through the same indexes.
    const LoadTargets targets(m_NodeArray, m_LineArray);

    std::string line;
    if (!stream.ReadLine(line))
        return 0;
    for (;;) {
        bool isHeader = false;
        const std::string caseName = SectionCaseName(line, isHeader);
        if (!isHeader)
            return 0;  // the line after a section is no further section: back to the driver

        while (stream.ReadLine(line)) {
            if (StartsWith(line, "*CONLOAD")) {
                delete m_pConLoadBlock;
                m_pConLoadBlock = new ConLoadBlock;
                m_pConLoadBlock->ReadBlock(stream);
                m_pConLoadBlock->EndBlock();
            } else if (StartsWith(line, "*BEAMLOAD")) {
                delete m_pBeamLoadBlock;
                m_pBeamLoadBlock = new BeamLoadBlock;
                m_pBeamLoadBlock->ReadBlock(stream);
                m_pBeamLoadBlock->EndBlock();
            } else if (line.find("End of data") != std::string::npos) {
                stream.ReadLine(line);  // the line after the end marker goes too
                break;
            }
            // Anything else in a section (comments, blank lines, other load kinds) is passed over.
        }

        // Without load cases the section's loads cannot be stamped; they are dropped with their blocks.
        if (m_pLoadCaseBlock)
            CreateSectionLoads(caseName, targets);
        Release(m_pConLoadBlock);
        Release(m_pBeamLoadBlock);
        if (!m_pLoadCaseBlock)
            return 0;
        if (!stream.ReadLine(line))
            return 0;
    }
}
