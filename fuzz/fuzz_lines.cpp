// Fuzz targets: one data line through one record parser. The source builds one target per family of
// parsers, MIDAS2ORVO_LINE_PARSERS naming them by letter: geometry NEUV (node, element, unit, version),
// property MST (material, section, thickness), group GCR (group, constraint, frame release), load LPB
// (load case, nodal load, member load), current F and mstgclpbr (today's field splitter and record
// parsers). The first byte picks the parser (its letter, any other byte by its value); the rest, up to a
// line feed or NUL, is the line as the reader hands it over. A classic parser must keep or reject the
// line by its rule and leave a record that meets its block's contract, with numbers read exactly as atoi
// and strtod read them; the splitter must cut at the commas outside quotes; today's parsers must run clean.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_common.h"
#include "reader/CurrentRecords.h"
#include "reader/TextUtils.h"

namespace {

// atoi (clamped to int32, as strtoll saturates) and strtod in the "C" locale, on a field.
int Int(std::string_view f)
{
    return int(std::clamp<long long>(std::strtoll(std::string(f).c_str(), nullptr, 10), INT32_MIN, INT32_MAX));
}
double Real(std::string_view f) { return std::strtod(std::string(f).c_str(), nullptr); }
// The same value bit for bit (so -0.0 differs from 0.0), or both not a number.
bool Same(double a, double b) { return std::isnan(a) ? std::isnan(b) : std::memcmp(&a, &b, sizeof a) == 0; }
std::size_t Commas(std::string_view s) { return std::size_t(std::count(s.begin(), s.end(), ',')); }

// Comma fields ("a,,b" has three; none for an empty text); a field past the end reads as empty.
struct Fields {
    std::vector<std::string_view> items;
    explicit Fields(std::string_view s)
    {
        for (std::size_t at = 0, comma = 0; comma < s.size(); at = comma + 1)
            items.push_back(s.substr(at, (comma = std::min(s.find(',', at), s.size())) - at));
    }
    std::string_view operator[](std::size_t k) const { return k < items.size() ? items[k] : std::string_view(); }
};

// A fresh Record parses line; it must be kept exactly when expected, then meet its contract and check.
template <class Record, class Check = void (*)(const Record&)>
void Keep(const std::string& line, bool expected, Check check = [](const Record&) {})
{
    Record r;
    const bool kept = r.Parse(line.c_str());
    FUZZ_CHECK(kept == expected);
    if (kept) {
        fuzz::CheckKept(r);
        check(r);
    }
}
template <class Record>
void Run(const std::string& line) { Record().Parse(line.c_str()); }

void Check(char parser, const std::string& line)
{
    std::string text = line;  // the line without blanks, as the classic parsers read it
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    const Fields f(text);
    const auto snapped = [](std::string_view field) { return std::fabs(Real(field)) <= 1e-07 ? 0.0 : Real(field); };
    const bool member = fuzz::IsLineMember(f[1]);
    switch (parser) {
    case 'N':  // *NODE: kept with three commas
        return Keep<NodeRecord>(line, Commas(text) >= 3, [&](const NodeRecord& r) {
            FUZZ_CHECK(r.m_nID == Int(f[0]) && Same(r.m_dX, snapped(f[1])) && Same(r.m_dY, snapped(f[2])));
            FUZZ_CHECK(Same(r.m_dZ, snapped(f[3])));
        });
    case 'E':  // *ELEMENT: four commas, five for a line member, whose end nodes follow the fourth
        return Keep<ElementRecord>(line, Commas(text) >= (member ? 5u : 4u), [&](const ElementRecord& r) {
            FUZZ_CHECK(r.m_nID == Int(f[0]) && r.m_strType == f[1] && r.m_nMaterialID == Int(f[2]));
            FUZZ_CHECK(r.m_nSectionID == Int(f[3]) && (!member || (r.m_NodeIDs[0] == Int(f[4]) && r.m_NodeIDs[1] == Int(f[5]))));
            FUZZ_CHECK(!member || Same(r.m_dAngle, Real(f[6])));
        });
    case 'U': return Keep<UnitRecord>(line, line.find_first_not_of(' ') != line.npos);
    case 'V': return Keep<VersionRecord>(line, !line.empty());
    case 'M': return Keep<MaterialRecord>(line, Commas(text) >= 9);  // the data kind stands after the ninth comma
    case 'S': return Keep<SectionRecord>(line, !text.empty());
    case 'T': return Keep<ThicknessRecord>(line, !text.empty());
    case 'G': {  // kept with a list
        GroupRecord r;
        if (r.Parse(line.c_str()))
            fuzz::CheckKept(r);
        else
            FUZZ_CHECK(r.m_NodeIDs.Count + r.m_ElementIDs.Count == 0);
        return;
    }
    case 'C': return Keep<ConstraintRecord>(line, line.find(',') != line.npos);  // a comma after the node list
    case 'R': return Keep<FrameReleaseRecord>(line, !text.empty());
    case 'L': return Keep<LoadCaseRecord>(line, !text.empty());
    case 'P': return Keep<ConLoadRecord>(line, !text.empty());
    case 'B': return Keep<BeamLoadRecord>(line, !text.empty() && text.rfind("aDir", 0) != 0);  // "aDir" first: no load
    case 'F': {  // one trimmed field per comma outside quotes, plus one; without quotes, the comma fields
        std::vector<std::string_view> fields;
        SplitFields(line, fields);
        const Fields pieces(line);
        const bool quoted = line.find('"') != line.npos;
        FUZZ_CHECK(line.empty() ? fields.empty() : !fields.empty() && fields.size() <= Commas(line) + 1);
        FUZZ_CHECK(line.empty() || quoted || fields.size() == pieces.items.size());
        for (std::size_t k = 0; k < fields.size(); ++k)
            FUZZ_CHECK(fields[k] == TrimView(fields[k]) && (quoted || fields[k] == TrimView(pieces[k])));
        return;
    }
    case 'm': return Run<CurrentMaterialRecord>(line);
    case 's': return Run<CurrentSectionRecord>(line);
    case 't': return Run<CurrentThicknessRecord>(line);
    case 'g': return Run<CurrentGroupRecord>(line);
    case 'c': return Run<CurrentConstraintRecord>(line);
    case 'l': return Run<CurrentLoadCaseRecord>(line);
    case 'p': return Run<CurrentConLoadRecord>(line);
    case 'b': return Run<CurrentBeamLoadRecord>(line);
    case 'r': return Run<CurrentFrameReleaseRecord>(line);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view parsers = MIDAS2ORVO_LINE_PARSERS;
    if (size == 0)
        return 0;
    fuzz::Quiet();
    std::string line(reinterpret_cast<const char*>(data) + 1, size - 1);
    line.resize(std::min(line.find('\n'), std::strlen(line.c_str())));  // the line as the stream gives it
    const IdBudget budget(1 << 20);  // ranges expand within a budget, as while a file is read
    Check(parsers.find(char(data[0])) != parsers.npos ? char(data[0]) : parsers[data[0] % parsers.size()], line);
    return 0;
}
