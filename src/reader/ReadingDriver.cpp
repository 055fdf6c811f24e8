// ReadMidasFile: walks a MIDAS text file line by line and hands each keyword block to its reader.
#include <iterator>
#include <string_view>

#include "GeometryBlocks.h"
#include "GroupBlocks.h"
#include "Keywords.h"
#include "LoadBlocks.h"
#include "MIDAStranslatetoOrvo.h"
#include "PropertyBlocks.h"
#include "TextUtils.h"

namespace {

// Gives the block reader that the keyword's data lines go into: a fresh one (releasing the reader held
// before), or, where the profile keeps repeated blocks together, the one this file already opened.
template <class Block>
Block* Open(Block*& slot, const LayoutProfile& profile, bool metBefore)
{
    if (!slot || !metBefore || !profile.AccumulatesRepeatedBlocks()) {
        delete slot;
        slot = new Block;
        slot->SetProfile(profile);
    }
    return slot;
}

// Opener of the block held in one translator member.
template <auto Slot>
MidasBlock* OpenSlot(MIDAStranslatetoOrvo& translator, const LayoutProfile& profile, bool metBefore)
{
    return Open(translator.*Slot, profile, metBefore);
}

// Counts the data lines the driver passes over, for the findings: those of a keyword block that is not
// translated, and those after a block that ended at a line its parser rejected.
class PassedOverLines {
public:
    explicit PassedOverLines(MidasDiagnostics* sink) : m_pSink(sink) {}
    ~PassedOverLines() { Flush(); }
    PassedOverLines(const PassedOverLines&) = delete;
    PassedOverLines& operator=(const PassedOverLines&) = delete;

    void StartUnreadBlock(long long offset, std::string_view keywordLine)
    {
        Flush();
        m_eKind = MidasFinding::UnreadBlock;
        m_nOffset = offset;
        m_Keyword = keywordLine.substr(0, keywordLine.find_first_of(" \t;,"));
        m_bActive = true;
    }
    void StartAfterEarlyEnd(long long offset, std::string_view keyword)
    {
        Flush();
        m_eKind = MidasFinding::SkippedDataLines;
        m_nOffset = offset;
        m_Keyword = keyword;
        m_bActive = true;
    }
    void Line(std::string_view trimmed)
    {
        if (m_bActive && !trimmed.empty() && trimmed[0] != ';')
            ++m_nCount;
    }
    void Flush()
    {
        if (m_bActive && (m_eKind == MidasFinding::UnreadBlock || m_nCount > 0))
            Note(m_pSink, m_eKind, m_nOffset, m_Keyword, m_nCount);
        m_bActive = false;
        m_nCount = 0;
    }

private:
    MidasDiagnostics* m_pSink;
    bool m_bActive = false;
    MidasFinding m_eKind = MidasFinding::UnreadBlock;
    long long m_nOffset = -1;
    std::string m_Keyword;
    int m_nCount = 0;
};

} // namespace

bool MIDAStranslatetoOrvo::ReadMidasFile(const char* path)
{
    LineStream stream;
    if (!stream.Open(path))
        return false;
    ReadStream(stream);
    m_bHaveReadFile = true;
    if (m_pDiagnostics)
        m_pDiagnostics->PhaseFinished(MidasPhase::Read);
    return true;
}

void MIDAStranslatetoOrvo::ReadStream(LineStream& stream)
{
    // The reader of each keyword of kBlockKeywords, in the same order.
    using Opener = MidasBlock* (*)(MIDAStranslatetoOrvo&, const LayoutProfile&, bool metBefore);
    static const Opener kOpeners[] = {
        OpenSlot<&MIDAStranslatetoOrvo::m_pVersionBlock>,
        OpenSlot<&MIDAStranslatetoOrvo::m_pUnitBlock>,
        // Nodes and lines the load reader built from a node or element block that is replaced are stale.
        [](MIDAStranslatetoOrvo& t, const LayoutProfile& p, bool met) -> MidasBlock* {
            if (!met || !p.AccumulatesRepeatedBlocks())
                t.m_nLoadReaderNodeRecords = -1;
            return OpenSlot<&MIDAStranslatetoOrvo::m_pNodeBlock>(t, p, met);
        },
        [](MIDAStranslatetoOrvo& t, const LayoutProfile& p, bool met) -> MidasBlock* {
            if (!met || !p.AccumulatesRepeatedBlocks())
                t.m_nLoadReaderElementRecords = -1;
            return OpenSlot<&MIDAStranslatetoOrvo::m_pElementBlock>(t, p, met);
        },
        OpenSlot<&MIDAStranslatetoOrvo::m_pMaterialBlock>,
        OpenSlot<&MIDAStranslatetoOrvo::m_pSectionBlock>,
        OpenSlot<&MIDAStranslatetoOrvo::m_pThicknessBlock>,
        OpenSlot<&MIDAStranslatetoOrvo::m_pGroupBlock>,
        OpenSlot<&MIDAStranslatetoOrvo::m_pConstraintBlock>,
        OpenSlot<&MIDAStranslatetoOrvo::m_pFrameReleaseBlock>,
        OpenSlot<&MIDAStranslatetoOrvo::m_pLoadCaseBlock>,
    };
    static_assert(std::size(kOpeners) == std::size(kBlockKeywords));

    const LayoutProfile& profile = LayoutProfile::For(m_eProfile);
    // ID ranges of one file expand to at most 64 Mi IDs plus 16 per byte of the file.
    const IdBudget idBudget((std::int64_t(1) << 26) + 16 * stream.Size());
    bool met[std::size(kBlockKeywords)] = {};
    PassedOverLines passedOver(m_pDiagnostics);
    stream.SetProgress(m_pDiagnostics);
    std::string line;
    line.reserve(LineStream::kPhysicalLine + 1);
    for (;;) {
        const std::int64_t lineStart = stream.Tell();
        if (!profile.ReadLine(stream, line))
            break;
        const std::string_view trimmed = TrimView(line);
        if (trimmed.empty())
            continue;  // opens no block; a file may hold millions of blank lines
        bool opened = false;
        // A line may open several blocks; each reads on from where the previous one stopped.
        for (std::size_t k = 0; k < std::size(kBlockKeywords); ++k) {
            if (!profile.IsKeywordLine(trimmed, kBlockKeywords[k].text, kBlockKeywords[k].atStart))
                continue;
            if (m_pDiagnostics && met[k] && !profile.AccumulatesRepeatedBlocks())
                Note(m_pDiagnostics, MidasFinding::RepeatedBlock, lineStart, std::string(kBlockKeywords[k].text));
            MidasBlock* block = kOpeners[k](*this, profile, met[k]);
            met[k] = opened = true;
            passedOver.Flush();
            block->SetDiagnostics(m_pDiagnostics);
            block->ReadBlock(stream);
            block->EndBlock();
            if (block->RejectedOffset() >= 0)
                passedOver.StartAfterEarlyEnd(block->RejectedOffset(), kBlockKeywords[k].text);
        }
        // A load section is read from its header line on by the load reader. A line that also opened a
        // block is not one: its following lines were the block's, and reading them again from the
        // header would read the file over and over.
        if (!opened && profile.IsKeywordLine(trimmed, "*USE-STLD", true)) {
            passedOver.Flush();
            stream.Seek(lineStart);
            ReadLoadCaseForConLoadAndBeamLoad(stream);
            continue;
        }
        // Every other line (other keywords and their data, blank and title lines) is passed over.
        if (!opened && m_pDiagnostics) {
            if (!trimmed.empty() && trimmed[0] == '*')
                passedOver.StartUnreadBlock(lineStart, trimmed);
            else
                passedOver.Line(trimmed);
        }
    }
    stream.SetProgress(nullptr);
}
