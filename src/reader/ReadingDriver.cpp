// ReadMidasFile: walks a MIDAS text file line by line and hands each keyword block to its reader.
#include <string_view>

#include "GeometryBlocks.h"
#include "GroupBlocks.h"
#include "LoadBlocks.h"
#include "MIDAStranslatetoOrvo.h"
#include "PropertyBlocks.h"
#include "TextUtils.h"

namespace {

// Where a keyword may stand in the trimmed line.
enum class Place { Anywhere, AtStart };

bool Matches(std::string_view trimmed, std::string_view keyword, Place place)
{
    return place == Place::AtStart ? trimmed.substr(0, keyword.size()) == keyword
                                   : trimmed.find(keyword) != std::string_view::npos;
}

// Stores a fresh reader for a keyword, releasing the reader held there before.
template <class Block>
Block* Renew(Block*& slot)
{
    delete slot;
    slot = new Block;
    return slot;
}

} // namespace

bool MIDAStranslatetoOrvo::ReadMidasFile(const char* path)
{
    LineStream stream;
    if (!stream.Open(path))
        return false;
    ReadStream(stream);
    m_bHaveReadFile = true;
    return true;
}

void MIDAStranslatetoOrvo::ReadStream(LineStream& stream)
{
    using Opener = MidasBlock* (*)(MIDAStranslatetoOrvo&);
    struct Keyword {
        std::string_view text;
        Place place;
        Opener open;
    };
    // Keywords in the order they are tested on each line. A line may open several blocks; each reads on
    // from where the previous one stopped.
    static const Keyword kKeywords[] = {
        // header and geometry
        {"*VERSION", Place::Anywhere, [](MIDAStranslatetoOrvo& t) -> MidasBlock* { return Renew(t.m_pVersionBlock); }},
        {"*UNIT", Place::Anywhere, [](MIDAStranslatetoOrvo& t) -> MidasBlock* { return Renew(t.m_pUnitBlock); }},
        {"*NODE", Place::AtStart,
         [](MIDAStranslatetoOrvo& t) -> MidasBlock* {
             t.m_bLoadReaderNodesUnclaimed = false;
             return Renew(t.m_pNodeBlock);
         }},
        {"*ELEMENT", Place::Anywhere,
         [](MIDAStranslatetoOrvo& t) -> MidasBlock* {
             t.m_bLoadReaderLinesUnclaimed = false;
             return Renew(t.m_pElementBlock);
         }},
        // properties
        {"*MATERIAL", Place::Anywhere, [](MIDAStranslatetoOrvo& t) -> MidasBlock* { return Renew(t.m_pMaterialBlock); }},
        {"*SECTION", Place::Anywhere, [](MIDAStranslatetoOrvo& t) -> MidasBlock* { return Renew(t.m_pSectionBlock); }},
        {"*THICKNESS", Place::Anywhere, [](MIDAStranslatetoOrvo& t) -> MidasBlock* { return Renew(t.m_pThicknessBlock); }},
        // groups, supports and end releases
        {"*GROUP", Place::Anywhere, [](MIDAStranslatetoOrvo& t) -> MidasBlock* { return Renew(t.m_pGroupBlock); }},
        {"*CONSTRAINT", Place::Anywhere, [](MIDAStranslatetoOrvo& t) -> MidasBlock* { return Renew(t.m_pConstraintBlock); }},
        {"*FRAME-RLS", Place::Anywhere, [](MIDAStranslatetoOrvo& t) -> MidasBlock* { return Renew(t.m_pFrameReleaseBlock); }},
        // load cases
        {"*STLDCASE", Place::AtStart, [](MIDAStranslatetoOrvo& t) -> MidasBlock* { return Renew(t.m_pLoadCaseBlock); }},
    };

    std::string line;
    line.reserve(LineStream::kPhysicalLine + 1);
    for (;;) {
        const std::int64_t lineStart = stream.Tell();
        if (!stream.ReadLine(line))
            break;
        const std::string_view trimmed = TrimView(line);
        for (const Keyword& keyword : kKeywords) {
            if (!Matches(trimmed, keyword.text, keyword.place))
                continue;
            MidasBlock* block = keyword.open(*this);
            block->ReadBlock(stream);
            block->EndBlock();
        }
        // A load section is read from its header line on by the load reader.
        if (Matches(trimmed, "*USE-STLD", Place::AtStart)) {
            stream.Seek(lineStart);
            ReadLoadCaseForConLoadAndBeamLoad(stream);
        }
        // Every other line (other keywords and their data, blank and title lines) is passed over.
    }
}
