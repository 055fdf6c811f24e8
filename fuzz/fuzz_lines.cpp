// Fuzz targets: one data line through one record parser of a family. The same source builds one
// target per family, chosen by MIDAS2ORVO_LINE_FAMILY: Geometry (node, element, unit, version),
// Property (material, section, thickness), Group (group, constraint, frame release), Load (load case,
// nodal load, member load) and Current (today's field splitter and record parsers). The first byte
// picks a parser of the family (its letter names one, any other byte picks by its value); the rest, up
// to a line feed, is the line, as the reader hands it over. Each classic parser must keep or reject the
// line by its rule, convert numbers exactly as atoi and strtod would, and leave a record that satisfies
// its block's contract. The field splitter of today's layout must cut the line at its commas outside
// quotes; the record parsers of today's layout must run clean under the sanitizers.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_common.h"
#include "reader/CurrentRecords.h"
#include "reader/TextUtils.h"

namespace {

using fuzz::ReferenceInt;
using fuzz::ReferenceReal;
using fuzz::SameReal;

bool HasNonSpace(std::string_view line) { return line.find_first_not_of(' ') != std::string_view::npos; }

std::string WithoutSpaces(std::string_view line)
{
    std::string out;
    for (char c : line)
        if (c != ' ')
            out.push_back(c);
    return out;
}

std::size_t Commas(std::string_view text) { return std::size_t(std::count(text.begin(), text.end(), ',')); }

// Comma fields, empty ones included ("a,,b" has three).
std::vector<std::string_view> Fields(std::string_view text)
{
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t comma = text.find(',');
        fields.push_back(text.substr(0, comma));
        if (comma == std::string_view::npos)
            return fields;
        text.remove_prefix(comma + 1);
    }
}

// Comma-separated tokens with empty ones passed over, as the block parsers' tokenizer gives them;
// a token beyond the list reads as empty.
struct Tokens {
    explicit Tokens(std::string_view text)
    {
        for (std::string_view field : Fields(text))
            if (!field.empty())
                items.push_back(field);
    }
    std::string_view operator[](std::size_t k) const { return k < items.size() ? items[k] : std::string_view(); }
    std::vector<std::string_view> items;
};

// Parses line into r, which must be kept exactly when expectKept says so; a kept record must meet its
// block's contract. Whether it was kept.
template <class Record>
bool ParseAs(Record& r, const std::string& line, bool expectKept)
{
    const bool kept = r.Parse(line.c_str());
    FUZZ_CHECK(kept == expectKept);
    if (kept)
        fuzz::CheckKept(r);
    return kept;
}

// *NODE: kept with three commas or more; number and coordinates as atoi and strtod read them.
void CheckNode(const std::string& line)
{
    NodeRecord r;
    const std::string text = WithoutSpaces(line);
    if (!ParseAs(r, line, Commas(text) >= 3))
        return;
    const auto f = Fields(text);
    const std::size_t zStart = f[0].size() + f[1].size() + f[2].size() + 3;
    FUZZ_CHECK(r.m_nID == ReferenceInt(f[0]));
    FUZZ_CHECK(SameReal(r.m_dX, fuzz::Snapped(ReferenceReal(f[1]))));
    FUZZ_CHECK(SameReal(r.m_dY, fuzz::Snapped(ReferenceReal(f[2]))));
    FUZZ_CHECK(SameReal(r.m_dZ, fuzz::Snapped(ReferenceReal(std::string_view(text).substr(zStart)))));
}

// *ELEMENT: four commas, five for a line member; the end nodes of a line member follow the fourth.
void CheckElement(const std::string& line)
{
    ElementRecord r;
    const std::string text = WithoutSpaces(line);
    const auto f = Fields(text);
    const bool member = f.size() > 1 && fuzz::IsLineMember(std::string(f[1]));
    if (!ParseAs(r, line, Commas(text) >= (member ? 5u : 4u)))
        return;
    FUZZ_CHECK(r.m_nID == ReferenceInt(f[0]));
    FUZZ_CHECK(r.m_strType == f[1]);
    FUZZ_CHECK(r.m_nMaterialID == ReferenceInt(f[2]));
    FUZZ_CHECK(r.m_nSectionID == ReferenceInt(f[3]));
    if (member) {
        FUZZ_CHECK(r.m_NodeIDs[0] == ReferenceInt(f[4]));
        FUZZ_CHECK(r.m_NodeIDs[1] == ReferenceInt(f[5]));
        FUZZ_CHECK(SameReal(r.m_dAngle, f.size() > 6 ? ReferenceReal(f[6]) : 0.0));
    }
}

void CheckUnit(const std::string& line)
{
    UnitRecord r;
    ParseAs(r, line, HasNonSpace(line));
}

void CheckVersion(const std::string& line)
{
    VersionRecord r;
    if (ParseAs(r, line, !line.empty()))
        FUZZ_CHECK(r.m_strVersion == line);
}

// *MATERIAL: the data kind stands after the ninth comma, so fewer commas reject the line.
void CheckMaterial(const std::string& line)
{
    MaterialRecord r;
    const std::string text = WithoutSpaces(line);
    if (!ParseAs(r, line, !text.empty() && Commas(text) >= 9))
        return;
    const auto f = Fields(text);
    FUZZ_CHECK(r.m_nID == ReferenceInt(f[0]));
    FUZZ_CHECK(r.m_nDataKind == ReferenceInt(f[8]));
    if (r.m_nDataKind != 1)
        FUZZ_CHECK(SameReal(r.m_dElasticity, f.size() > 9 ? ReferenceReal(f[9]) : 0.0));
}

void CheckSection(const std::string& line)
{
    SectionRecord r;
    const std::string text = WithoutSpaces(line);
    if (!ParseAs(r, line, !text.empty()))
        return;
    if (text.rfind("YES", 0) == 0)
        return;  // an empty record
    const Tokens t(text);
    FUZZ_CHECK(r.m_nID == ReferenceInt(t[0]));
    FUZZ_CHECK(r.m_Dimensions.Count <= int(t.items.size()));
}

void CheckThickness(const std::string& line)
{
    ThicknessRecord r;
    const std::string text = WithoutSpaces(line);
    if (!ParseAs(r, line, !text.empty()))
        return;
    const Tokens t(text);
    FUZZ_CHECK(r.m_nID == ReferenceInt(t[0]));
    FUZZ_CHECK(SameReal(r.m_dThickness, ReferenceReal(t[3])));
    FUZZ_CHECK(r.m_nExtra == ReferenceInt(t[4]));
}

// Space-separated numbers of a list, each read as atoi reads it. A group list reads an item of blanks
// as 0; a support list passes over it.
std::vector<int> ReferenceList(std::string_view list, bool blankItemIsZero)
{
    std::vector<int> ids;
    for (std::size_t at = 0;;) {
        at = list.find_first_not_of(' ', at);
        if (at == std::string_view::npos)
            return ids;
        const std::size_t end = std::min(list.find(' ', at), list.size());
        const std::string_view item = TrimView(list.substr(at, end - at));
        if (!item.empty() || blankItemIsZero)
            ids.push_back(ReferenceInt(item));
        at = end;
    }
}

void CheckGroup(const std::string& line)
{
    GroupRecord r;
    const bool kept = r.Parse(line.c_str());
    if (!kept) {
        FUZZ_CHECK(r.m_NodeIDs.Count == 0 && r.m_ElementIDs.Count == 0);
        return;
    }
    fuzz::CheckKept(r);
    const std::vector<int> nodes = ReferenceList(r.m_strNodeList, true);
    const std::vector<int> elements = ReferenceList(r.m_strElementList, true);
    FUZZ_CHECK(std::vector<int>(r.m_NodeIDs.begin(), r.m_NodeIDs.end()) == nodes);
    FUZZ_CHECK(std::vector<int>(r.m_ElementIDs.begin(), r.m_ElementIDs.end()) == elements);
}

// *CONSTRAINT: kept when a comma follows the node list. Without ranges, every item is one node.
void CheckConstraint(const std::string& line)
{
    ConstraintRecord r;
    if (!ParseAs(r, line, !line.empty() && line.find(',') != std::string::npos))
        return;
    const std::string_view nodes = std::string_view(line).substr(0, line.find(','));
    if (nodes.find("to") == std::string_view::npos) {
        const std::vector<int> expected = ReferenceList(nodes, false);
        FUZZ_CHECK(std::vector<int>(r.m_NodeIDs.begin(), r.m_NodeIDs.end()) == expected);
    }
}

void CheckFrameRelease(const std::string& line)
{
    FrameReleaseRecord r;
    const std::string text = WithoutSpaces(line);
    if (!ParseAs(r, line, !text.empty()))
        return;
    FUZZ_CHECK(r.m_nElementID == ReferenceInt(Tokens(text)[0]));
}

void CheckLoadCase(const std::string& line)
{
    LoadCaseRecord r;
    const std::string text = WithoutSpaces(line);
    if (!ParseAs(r, line, !text.empty()))
        return;
    const Tokens t(text);
    FUZZ_CHECK(r.m_strName == TrimView(t[0]));
    FUZZ_CHECK(r.m_strType == TrimView(t[1]));
}

void CheckConLoad(const std::string& line)
{
    ConLoadRecord r;
    const std::string text = WithoutSpaces(line);
    if (!ParseAs(r, line, !text.empty()))
        return;
    const Tokens t(text);
    FUZZ_CHECK(r.m_nNode == ReferenceInt(t[0]));
    const double values[] = {r.m_dFX, r.m_dFY, r.m_dFZ, r.m_dMX, r.m_dMY, r.m_dMZ};
    for (std::size_t k = 0; k < 6; ++k)
        FUZZ_CHECK(SameReal(values[k], ReferenceReal(TrimView(t[k + 1]))));
}

// *BEAMLOAD: a line that starts with "aDir" is no member load; "aDir" later adds two words.
void CheckBeamLoad(const std::string& line)
{
    BeamLoadRecord r;
    const std::string text = WithoutSpaces(line);
    if (!ParseAs(r, line, !text.empty() && text.rfind("aDir", 0) != 0))
        return;
    const Tokens t(text);
    FUZZ_CHECK(r.m_nElement == ReferenceInt(t[0]));
    FUZZ_CHECK(r.m_strType == TrimView(t[2]));
    const std::size_t first = text.find("aDir") == std::string::npos ? 5 : 7;
    const double values[] = {r.m_dD1, r.m_dP1, r.m_dD2, r.m_dP2, r.m_dD3, r.m_dP3, r.m_dD4, r.m_dP4};
    for (std::size_t k = 0; k < 8; ++k)
        FUZZ_CHECK(SameReal(values[k], ReferenceReal(TrimView(t[first + k]))));
}

// Today's field splitter: one field per comma outside quotes (plus one), each trimmed of blanks, and
// without quotes every field is the trimmed text between two commas.
void CheckSplitFields(const std::string& line)
{
    std::vector<std::string_view> fields;
    SplitFields(line, fields);
    if (line.empty()) {
        FUZZ_CHECK(fields.empty());
        return;
    }
    FUZZ_CHECK(!fields.empty() && fields.size() <= Commas(line) + 1);
    for (std::string_view field : fields)
        FUZZ_CHECK(field == TrimView(field));
    if (line.find('"') == std::string::npos) {
        const auto pieces = Fields(line);
        FUZZ_CHECK(fields.size() == pieces.size());
        for (std::size_t k = 0; k < pieces.size(); ++k)
            FUZZ_CHECK(fields[k] == TrimView(pieces[k]));
    }
}

// A record parser of today's layout: only what the sanitizers see is checked.
template <class Record>
void RunCurrent(const std::string& line)
{
    Record r;
    r.Parse(line.c_str());
}

enum class Family { Geometry, Property, Group, Load, Current };

#ifndef MIDAS2ORVO_LINE_FAMILY
#error "build with -DMIDAS2ORVO_LINE_FAMILY=Geometry, Property, Group, Load or Current"
#endif
constexpr Family kFamily = Family::MIDAS2ORVO_LINE_FAMILY;

using Checker = void (*)(const std::string&);
struct Parser {
    Family family;
    char letter;  // a letter per parser, so a hand-written seed shows which one it feeds
    Checker check;
};
constexpr Parser kParsers[] = {
    {Family::Geometry, 'N', CheckNode},
    {Family::Geometry, 'E', CheckElement},
    {Family::Geometry, 'U', CheckUnit},
    {Family::Geometry, 'V', CheckVersion},
    {Family::Property, 'M', CheckMaterial},
    {Family::Property, 'S', CheckSection},
    {Family::Property, 'T', CheckThickness},
    {Family::Group, 'G', CheckGroup},
    {Family::Group, 'C', CheckConstraint},
    {Family::Group, 'R', CheckFrameRelease},
    {Family::Load, 'L', CheckLoadCase},
    {Family::Load, 'P', CheckConLoad},
    {Family::Load, 'B', CheckBeamLoad},
    // today's layout: the field splitter, then the record parsers in lower case
    {Family::Current, 'F', CheckSplitFields},
    {Family::Current, 'm', RunCurrent<CurrentMaterialRecord>},
    {Family::Current, 's', RunCurrent<CurrentSectionRecord>},
    {Family::Current, 't', RunCurrent<CurrentThicknessRecord>},
    {Family::Current, 'g', RunCurrent<CurrentGroupRecord>},
    {Family::Current, 'l', RunCurrent<CurrentLoadCaseRecord>},
    {Family::Current, 'p', RunCurrent<CurrentConLoadRecord>},
    {Family::Current, 'b', RunCurrent<CurrentBeamLoadRecord>},
    {Family::Current, 'r', RunCurrent<CurrentFrameReleaseRecord>},
};

// The parsers of this target's family, in table order.
const std::vector<const Parser*>& FamilyParsers()
{
    static const std::vector<const Parser*> parsers = [] {
        std::vector<const Parser*> chosen;
        for (const Parser& parser : kParsers)
            if (parser.family == kFamily)
                chosen.push_back(&parser);
        return chosen;
    }();
    return parsers;
}

Checker PickParser(unsigned char first)
{
    const std::vector<const Parser*>& parsers = FamilyParsers();
    for (const Parser* parser : parsers)
        if (parser->letter == char(first))
            return parser->check;
    return parsers[first % parsers.size()]->check;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    fuzz::SilenceMessageBox();
    std::string line = fuzz::TextOf(data + 1, size - 1);
    // What the stream gives a parser: one line without its line feed, cut at a NUL byte.
    line.resize(std::min(line.find('\n'), line.size()));
    line.resize(std::strlen(line.c_str()));
    // Ranges expand within a budget, as they do while a file is read.
    const IdBudget budget(1 << 20);
    PickParser(data[0])(line);
    return 0;
}
