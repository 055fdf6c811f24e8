// ReadModel: walks a MIDAS text file line by line, hands each keyword block to its reader and reads the
// *USE-STLD load sections with their load blocks.
#include "ModelReader.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <type_traits>

#include "CurrentRecords.h"
#include "TextUtils.h"

namespace {

// A fresh block of class Block, whose records are of class Current where the layout reads today's columns.
template <class Block, class Current>
std::unique_ptr<Block> MakeBlock(const ReadingLayout& layout, unsigned serial)
{
    auto block = std::make_unique<Block>();
    block->SetLayout(layout);
    block->SetSerial(serial);
    if (layout.currentColumns)
        block->SetRecordClass(RecordsOf<Current>::kClass);
    return block;
}

// Gives the block reader that a keyword's data lines go into: a fresh one (releasing the reader held
// before), or, where the layout keeps repeated blocks together, the one this file already opened.
template <auto Slot, class Current = void>
MidasBlock* Open(ModelBlocks& blocks, const ReadingLayout& layout, bool metBefore, Ledger& ledger)
{
    auto& slot = blocks.*Slot;
    using Block = typename std::remove_reference_t<decltype(slot)>::element_type;
    using Record = std::conditional_t<std::is_void_v<Current>, typename Block::Record, Current>;
    if (!slot || !metBefore || !layout.accumulatesRepeatedBlocks) {
        ledger.Freeze(slot.get());
        slot.reset();
        slot = MakeBlock<Block, Record>(layout, ++blocks.openings);
    }
    return slot.get();
}

// The keywords of the blocks the reader reads, in the order they are tested on each line, with the
// opener of each block.
struct BlockKeyword {
    std::string_view text;
    bool atStart;  // the keyword must begin the trimmed line
    MidasBlock* (*open)(ModelBlocks& blocks, const ReadingLayout& layout, bool metBefore, Ledger& ledger);
};

constexpr BlockKeyword kBlockKeywords[] = {
    // header and geometry
    {"*VERSION", false, Open<&ModelBlocks::version>},
    {"*UNIT", false, Open<&ModelBlocks::unit>},
    {"*NODE", true, Open<&ModelBlocks::node>},
    {"*ELEMENT", false, Open<&ModelBlocks::element, CurrentElementRecord>},
    // properties
    {"*MATERIAL", false, Open<&ModelBlocks::material, CurrentMaterialRecord>},
    {"*SECTION", false, Open<&ModelBlocks::section, CurrentSectionRecord>},
    {"*THICKNESS", false, Open<&ModelBlocks::thickness, CurrentThicknessRecord>},
    // groups, supports and end releases
    {"*GROUP", false, Open<&ModelBlocks::group, CurrentGroupRecord>},
    {"*CONSTRAINT", false, Open<&ModelBlocks::constraint, CurrentConstraintRecord>},
    {"*FRAME-RLS", false, Open<&ModelBlocks::frameRelease, CurrentFrameReleaseRecord>},
    // load cases
    {"*STLDCASE", true, Open<&ModelBlocks::loadCase, CurrentLoadCaseRecord>},
};

// Counts the data lines the driver passes over, for the findings: those of a keyword block that is not
// translated, and those after a block that ended at a line its parser rejected.
class PassedOverLines {
public:
    explicit PassedOverLines(MidasDiagnostics* sink) : m_pSink(sink) {}
    ~PassedOverLines() { Flush(); }
    PassedOverLines(const PassedOverLines&) = delete;
    PassedOverLines& operator=(const PassedOverLines&) = delete;

    void Start(MidasFinding kind, long long offset, std::string_view keyword)
    {
        Flush();
        m_eKind = kind;
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

// Reads a *CONLOAD or *BEAMLOAD block of the section: a fresh block, or where the layout keeps
// repeated blocks together, the section's earlier block of that kind.
// opened(replaced, block) learns of a fresh block before the block it replaces is frozen.
template <class Block, class Current, class Opened>
void ReadLoadBlock(std::unique_ptr<Block>& slot, LineSource& lines, MidasDiagnostics* sink, Ledger& ledger,
                   std::string_view keyword, Opened opened)
{
    if (!slot || !lines.Layout().accumulatesRepeatedBlocks) {
        std::unique_ptr<Block> fresh = MakeBlock<Block, Current>(lines.Layout(), 0);
        fresh->SetDiagnostics(sink);
        opened(slot.get(), *fresh);
        ledger.Freeze(slot.get());
        slot = std::move(fresh);
    }
    lines.OpenRow(std::string(keyword));
    ledger.Attach(slot.get(), slot->RecordCount());
    slot->ReadBlock(lines);
}

// Reads the line that may open the next load section. In the classic layout that is simply the next
// line. Where sections chain, blank and comment lines are passed over and a line that is no section
// header is handed back to the driver (false).
bool NextSectionHeader(LineSource& lines, std::string& line)
{
    const ReadingLayout& layout = lines.Layout();
    if (!layout.chainsLoadSections)
        return lines.Next(line);
    while (lines.Next(line)) {
        if (layout.PassesOver(line))
            continue;
        if (layout.IsKeywordLine(TrimView(line), "*USE-STLD", true))
            return true;
        lines.HandBack(line);
        return false;
    }
    return false;
}

// Blocks of a load section that no translation step carries: each is passed over, named in a finding.
constexpr std::string_view kOtherSectionLoads[] = {
    "*SELFWEIGHT", "*WIND",     "*SEIS",     "*PRESTRESS", "*TDN-PRESTRESS", "*PRETENSION", "*SYSTEMPER",
    "*ELTEMPER",   "*BSTEMPER", "*THERGRAD", "*FLOORLOAD", "*PRESSURE",      "*SPDISP",     "*NODALTEMP",
};

// The keyword word of a keyword line: up to the first blank, ';' or ','.
std::string_view KeywordWord(std::string_view trimmed) { return trimmed.substr(0, trimmed.find_first_of(" \t;,")); }

// The load section the reader is in or was last in (today's layout: load blocks met after it has ended
// still belong to it).
struct SectionState {
    std::string caseName;
    long long headerOffset = -1;
    bool any = false;
};

// Reads load sections from a *USE-STLD line on, until a line that is no further section (in today's
// layout: a keyword line of no load block, which is handed back to the driver). With resume, the first
// section is the last one read before, met again at a load block line the driver handed back.
void ReadLoadSections(LineSource& lines, const ModelBlocks& blocks, LoadSectionSink& loads, MidasDiagnostics* sink,
                      Ledger& ledger, SectionState& state, bool resume)
{
    const ReadingLayout& layout = lines.Layout();
    loads.StartLoadSections(blocks);
    // The blocks of the section handed over last, kept until the sink is done with them.
    struct Handed {
        LoadSectionSink& loads;
        Ledger& ledger;
        std::unique_ptr<ConLoadBlock> conLoads;
        std::unique_ptr<BeamLoadBlock> beamLoads;
        void Settle()
        {
            loads.SectionDone();
            ledger.FixUse(conLoads.get());
            ledger.FixUse(beamLoads.get());
            conLoads.reset();
            beamLoads.reset();
        }
        ~Handed()
        {
            try {
                Settle();  // the sink lets go of the blocks before they go
            } catch (...) {
            }
        }
    } handed{loads, ledger, nullptr, nullptr};
    std::string line;
    if (!resume && !lines.Next(line)) {
        handed.Settle();
        return;
    }
    long long headerOffset = resume ? state.headerOffset : lines.Offset();
    for (;;) {
        bool isHeader = resume;
        const std::string caseName = resume ? state.caseName : SectionCaseName(line, isHeader);
        if (!isHeader) {
            handed.Settle();
            return;  // the line after a section is no further section: back to the driver
        }
        if (!resume)
            lines.OpenRow("*USE-STLD");
        resume = false;
        state = {caseName, headerOffset, true};

        std::unique_ptr<ConLoadBlock> conLoads;
        std::unique_ptr<BeamLoadBlock> beamLoads;
        bool nextHeaderRead = false;
        bool backToDriver = false;
        while (lines.Next(line)) {
            const std::string_view trimmed = TrimView(line);
            if (layout.IsLoadBlockLine(line, "*CONLOAD")) {
                ReadLoadBlock<ConLoadBlock, CurrentConLoadRecord>(conLoads, lines, sink, ledger, "*CONLOAD",
                                                                  [](ConLoadBlock*, ConLoadBlock&) {});
            } else if (layout.IsLoadBlockLine(line, "*BEAMLOAD")) {
                ReadLoadBlock<BeamLoadBlock, CurrentBeamLoadRecord>(
                    beamLoads, lines, sink, ledger, "*BEAMLOAD", [&](BeamLoadBlock* replaced, BeamLoadBlock& block) {
                        if (blocks.loadCase)
                            loads.MemberLoadBlock(caseName, replaced, block);
                    });
            } else if (line.find("End of data") != std::string::npos) {
                if (!layout.chainsLoadSections)
                    lines.Next(line);  // the line after the end marker goes too
                break;
            } else if (!layout.chainsLoadSections || trimmed.empty() || trimmed[0] != '*') {
                continue;  // anything else in a section (comments, blank and other lines) is passed over
            } else if (layout.IsKeywordLine(trimmed, "*USE-STLD", true)) {
                nextHeaderRead = true;  // a section without its end marker ends at the next header
                break;
            } else if (const std::string_view word = KeywordWord(trimmed);
                       std::find(std::begin(kOtherSectionLoads), std::end(kOtherSectionLoads), word) !=
                       std::end(kOtherSectionLoads)) {
                lines.OpenRow(std::string(word));  // its lines are passed over in its own row
                Note(sink, MidasFinding::UntranslatedLoadBlock, lines.Offset(), std::string(word));
            } else {
                lines.HandBack(line);  // a keyword of no load block ends the section: for the driver
                backToDriver = true;
                break;
            }
        }

        // Without load cases the section's loads cannot be stamped; they are dropped with their blocks.
        handed.Settle();
        if (blocks.loadCase)
            loads.LoadSection(blocks, {caseName, headerOffset, conLoads.get(), beamLoads.get()});
        else
            Note(sink, MidasFinding::LoadSectionWithoutCases, headerOffset, caseName);
        ledger.Release(conLoads.get());
        ledger.Release(beamLoads.get());
        handed.conLoads = std::move(conLoads);
        handed.beamLoads = std::move(beamLoads);
        if (!blocks.loadCase || backToDriver || (!nextHeaderRead && !NextSectionHeader(lines, line))) {
            handed.Settle();
            return;
        }
        headerOffset = lines.Offset();
    }
}

} // namespace

void ReadModel(LineStream& stream, const ReadingLayout& layout, ModelBlocks& blocks, LoadSectionSink& loads,
               MidasDiagnostics* sink, Ledger* ledgerIn, ChunkedReading* chunks)
{
    Ledger off;
    Ledger& ledger = ledgerIn ? *ledgerIn : off;
    // ID ranges of one file expand to at most 64 Mi IDs plus 16 per byte of the file.
    const IdBudget idBudget((std::int64_t(1) << 26) + 16 * stream.Size());
    bool met[std::size(kBlockKeywords)] = {};
    PassedOverLines passedOver(sink);
    stream.SetProgress(sink);
    LineSource lines(stream, layout, &ledger);
    lines.SetChunks(chunks);
    SectionState section;
    std::string line;
    line.reserve(LineStream::kPhysicalLine + 1);
    while (lines.Next(line)) {
        const std::int64_t lineStart = lines.Offset();
        const std::string_view trimmed = TrimView(line);
        if (trimmed.empty())
            continue;  // opens no block; a file may hold millions of blank lines
        bool opened = false;
        // A line may open several blocks; each reads on from where the previous one stopped.
        for (std::size_t k = 0; k < std::size(kBlockKeywords); ++k) {
            const BlockKeyword& keyword = kBlockKeywords[k];
            if (!layout.IsKeywordLine(trimmed, keyword.text, keyword.atStart))
                continue;
            if (met[k] && !layout.accumulatesRepeatedBlocks)
                Note(sink, MidasFinding::RepeatedBlock, lineStart, std::string(keyword.text));
            MidasBlock* block = keyword.open(blocks, layout, met[k], ledger);
            met[k] = opened = true;
            passedOver.Flush();
            lines.OpenRow(std::string(keyword.text));
            ledger.Attach(block, block->RecordCount());
            if (block == blocks.version.get() || block == blocks.unit.get())
                ledger.MarkRead();
            else if (block == blocks.loadCase.get())
                ledger.MarkLoadCases();
            block->SetDiagnostics(sink);
            block->ReadBlock(lines);
            if (block->RejectedOffset() >= 0)
                passedOver.Start(MidasFinding::SkippedDataLines, block->RejectedOffset(), keyword.text);
        }
        // A load section is read from its header line on by the load reader, also when the line opened a
        // block as well: the load reader then reads the block's lines again from the header line on (the
        // ledger counts them once).
        if (layout.IsKeywordLine(trimmed, "*USE-STLD", true)) {
            passedOver.Flush();
            if (opened)
                lines.Rewind(lineStart);
            else
                lines.HandBack(line);
            ReadLoadSections(lines, blocks, loads, sink, ledger, section, false);
            continue;
        }
        // Today's layout: a load block met after its section ended belongs to the last section read.
        if (!opened && section.any && layout.chainsLoadSections &&
            (layout.IsLoadBlockLine(line, "*CONLOAD") || layout.IsLoadBlockLine(line, "*BEAMLOAD"))) {
            passedOver.Flush();
            lines.HandBack(line);
            ReadLoadSections(lines, blocks, loads, sink, ledger, section, true);
            continue;
        }
        // Every other line (other keywords and their data, blank and title lines) is passed over. A
        // keyword line of another block opens its own ledger row; *ENDDATA ends the file, it is no block.
        if (!opened && trimmed[0] == '*') {
            const std::string_view word = KeywordWord(trimmed);
            lines.OpenRow(std::string(word));
            if (word == "*ENDDATA")
                passedOver.Flush();
            else if (sink)
                passedOver.Start(MidasFinding::UnreadBlock, lineStart, word);
        } else if (!opened && sink) {
            passedOver.Line(trimmed);
        }
    }
    ledger.Close();
    stream.SetProgress(nullptr);
}
