// ReadLoadCaseForConLoadAndBeamLoad: reads the *USE-STLD load sections with their load blocks.
#include <string_view>

#include "Keywords.h"
#include "GeometryBlocks.h"
#include "LoadBlocks.h"
#include "MidasBlock.h"
#include "MIDAStranslatetoOrvo.h"
#include "TextUtils.h"
#include "translator/LoadTargets.h"

namespace {

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

// Reads a *CONLOAD or *BEAMLOAD block of the section: a fresh block, or where the profile keeps
// repeated blocks together, the section's earlier block of that kind.
template <class Block>
void ReadLoadBlock(Block*& slot, LineStream& stream, const LayoutProfile& profile, MidasDiagnostics* sink)
{
    if (!slot || !profile.AccumulatesRepeatedBlocks()) {
        delete slot;
        slot = new Block;
        slot->SetProfile(profile);
        slot->SetDiagnostics(sink);
    }
    slot->ReadBlock(stream);
    slot->EndBlock();
}

// Reads the line that may open the next load section. In the classic layout that is simply the next
// line. Where sections chain, blank and comment lines are passed over and a line that is no section
// header is left for the driver to read (false).
bool NextSectionHeader(LineStream& stream, std::string& line, const LayoutProfile& profile, std::int64_t& offset)
{
    if (!profile.ChainsLoadSections())
        return profile.ReadLine(stream, line);
    for (;;) {
        offset = stream.Tell();
        if (!profile.ReadLine(stream, line))
            return false;
        if (profile.PassesOver(line))
            continue;
        if (profile.IsKeywordLine(TrimView(line), "*USE-STLD", true))
            return true;
        stream.Seek(offset);
        return false;
    }
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
    if (m_nLoadReaderNodeRecords < 0) {
        MIDAStranslatetoOrvo_Node();
        m_nLoadReaderNodeRecords = m_pNodeBlock ? m_pNodeBlock->GetCount() : -1;
    } else if (m_nLoadReaderNodeRecords < m_pNodeBlock->GetCount()) {
        BuildWorkNodes(m_nLoadReaderNodeRecords);  // the block grew since: build only its new records
        m_nLoadReaderNodeRecords = m_pNodeBlock->GetCount();
    }
    if (m_nLoadReaderElementRecords < 0) {
        MIDAStranslatetoOrvo_Element();
        m_nLoadReaderElementRecords = m_pElementBlock ? m_pElementBlock->GetCount() : -1;
    } else if (m_nLoadReaderElementRecords < m_pElementBlock->GetCount()) {
        BuildWorkLines(m_nLoadReaderElementRecords);
        m_nLoadReaderElementRecords = m_pElementBlock->GetCount();
    }
    m_nPointLoadCounter = 0;
    m_nLineLoadCounter = 0;

    // The working nodes and lines stay as they are for the rest of the call, so every section of it
    // finds its nodes and members through the same indexes.
    const LoadTargets targets(m_NodeArray, m_LineArray, m_pLoadCaseBlock);

    const LayoutProfile& profile = LayoutProfile::For(m_eProfile);
    std::string line;
    std::int64_t headerOffset = stream.Tell();
    if (!profile.ReadLine(stream, line))
        return 0;
    for (;;) {
        bool isHeader = false;
        const std::string caseName = SectionCaseName(line, isHeader);
        if (!isHeader)
            return 0;  // the line after a section is no further section: back to the driver

        bool nextHeaderRead = false;
        bool backToDriver = false;
        std::int64_t lineStart = stream.Tell();
        for (; profile.ReadLine(stream, line); lineStart = stream.Tell()) {
            if (profile.IsLoadBlockLine(line, "*CONLOAD")) {
                ReadLoadBlock(m_pConLoadBlock, stream, profile, m_pDiagnostics);
            } else if (profile.IsLoadBlockLine(line, "*BEAMLOAD")) {
                ReadLoadBlock(m_pBeamLoadBlock, stream, profile, m_pDiagnostics);
            } else if (line.find("End of data") != std::string::npos) {
                if (!profile.ChainsLoadSections())
                    profile.ReadLine(stream, line);  // the line after the end marker goes too
                break;
            } else if (profile.ChainsLoadSections() && profile.IsKeywordLine(TrimView(line), "*USE-STLD", true)) {
                nextHeaderRead = true;  // a section without its end marker ends at the next header
                headerOffset = lineStart;
                break;
            } else if (profile.ChainsLoadSections() && IsBlockKeywordLine(TrimView(line), profile)) {
                stream.Seek(lineStart);  // a block of the model, not of the section: for the driver
                backToDriver = true;
                break;
            }
            // Anything else in a section (comments, blank lines, other load kinds) is passed over.
        }

        // Without load cases the section's loads cannot be stamped; they are dropped with their blocks.
        if (m_pLoadCaseBlock)
            CreateSectionLoads(caseName, headerOffset, targets);
        else if (m_pDiagnostics)
            Note(m_pDiagnostics, MidasFinding::LoadSectionWithoutCases, headerOffset, caseName);
        Release(m_pConLoadBlock);
        Release(m_pBeamLoadBlock);
        if (!m_pLoadCaseBlock || backToDriver)
            return 0;
        if (!nextHeaderRead) {
            headerOffset = stream.Tell();
            if (!NextSectionHeader(stream, line, profile, headerOffset))
                return 0;
        }
    }
}
