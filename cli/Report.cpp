// The translation report: what did not reach the host model, collected from the library's findings.
#include "Report.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "Counted.h"
#include "JsonWriter.h"
#include "System.h"

namespace {

// How each kind of finding reads in the report, and whether its detail names a category (entries are
// kept apart by it) or an instance (kept as examples).
struct KindText {
    MidasFinding kind;
    const char* name;   // stable name in the JSON report
    const char* title;  // what it means for the engineer
    bool keyed;
};

constexpr KindText kKinds[] = {
    {MidasFinding::UnitWords, "UnitWords", "unit words of the file", true},
    {MidasFinding::UnitFactors, "UnitFactors", "factors applied", true},
    {MidasFinding::RefusedUnit, "RefusedUnit", "unit that cannot be converted: nothing was translated", true},
    {MidasFinding::UnreadBlock, "UnreadBlock", "keyword block not translated (data lines)", true},
    {MidasFinding::UntranslatedElement, "UntranslatedElement",
     "elements not translated (BEAM, TRUSS, TENSTR are; PLATE, WALL in the current profile)", true},
    {MidasFinding::AreaDataDropped, "AreaDataDropped", "PLATE and WALL data the host's area does not hold (lines)", true},
    {MidasFinding::RepeatedBlock, "RepeatedBlock", "block met again: replaced the earlier block and its records", true},
    {MidasFinding::BlockEndedEarly, "BlockEndedEarly", "block ended at a line its parser rejected", false},
    {MidasFinding::SkippedDataLines, "SkippedDataLines", "data lines after an early block end, passed over", true},
    {MidasFinding::PositionalAddressing, "PositionalAddressing",
     "numbers are not 1..N in file order, but supports, releases and groups address records by position: their targets may differ from the numbers written", true},
    {MidasFinding::UnaddressedSupport, "UnaddressedSupport", "support node numbers that address no node record", false},
    {MidasFinding::UnaddressedRelease, "UnaddressedRelease", "release element numbers that address no element record (records not applied)", false},
    {MidasFinding::UnaddressedGroupMember, "UnaddressedGroupMember", "group element numbers that address no element record", false},
    {MidasFinding::UnmatchedMemberEnd, "UnmatchedMemberEnd", "member ends and area corners whose node number matches no node", false},
    {MidasFinding::UnmatchedSection, "UnmatchedSection", "members whose section number matches no section (left unlinked)", false},
    {MidasFinding::UntranslatedSection, "UntranslatedSection", "sections the host's 13 section values cannot describe (not translated)", false},
    {MidasFinding::UnmatchedThickness, "UnmatchedThickness", "areas whose thickness number names no thickness (thickness 0)", true},
    {MidasFinding::UnmatchedMaterial, "UnmatchedMaterial", "members and areas whose material number names no material (material 0)", true},
    {MidasFinding::UnknownCatalogueName, "UnknownCatalogueName", "catalogue names the section library does not hold (with the sections lost)", true},
    {MidasFinding::UnmatchedGrade, "UnmatchedGrade", "standard materials whose grade matched nothing (constants 0)", true},
    {MidasFinding::GradeFromLine, "GradeFromLine",
     "grades not in the table: modulus from the line, the other constants typical of the material type", true},
    {MidasFinding::NewerMaterialLayout, "NewerMaterialLayout", "*MATERIAL lines in a newer column order (damping ratio in field 9)", false},
    {MidasFinding::NewerSectionLayout, "NewerSectionLayout", "*SECTION lines in a newer column order (bWE field before the shape)", false},
    {MidasFinding::LoadOnMissingNode, "LoadOnMissingNode", "nodal loads on nodes that do not exist", false},
    {MidasFinding::LoadOnMissingMember, "LoadOnMissingMember", "member loads on members that do not exist", false},
    {MidasFinding::LoadCaseNotNamed, "LoadCaseNotNamed", "load sections whose name contains no load case name (case 0)", true},
    {MidasFinding::LoadSectionWithoutCases, "LoadSectionWithoutCases", "load sections before any *STLDCASE: their loads were dropped", true},
    {MidasFinding::UnknownLoadType, "UnknownLoadType", "member load type words outside the table (no entries made)", true},
    {MidasFinding::UnknownDirection, "UnknownDirection", "member load direction words outside the table", true},
    {MidasFinding::UnknownLoadCaseType, "UnknownLoadCaseType", "load case types outside the known lists, taken as live", true},
    {MidasFinding::UntranslatedLoadBlock, "UntranslatedLoadBlock", "load blocks inside a load section that are not translated", true},
    {MidasFinding::ProjectedLoad, "ProjectedLoad", "projected member loads, converted to loads per length of the member", true},
    {MidasFinding::LoadEccentricity, "LoadEccentricity", "member load eccentricities: the host has no field for them", true},
    {MidasFinding::CablePretension, "CablePretension", "TENSTR pretensions: the host has no field for them", false},
    {MidasFinding::PassedOverLines, "PassedOverLines", "data lines passed over for a reason no other finding names", true},
};

const KindText& TextOf(MidasFinding kind)
{
    for (const KindText& text : kKinds)
        if (text.kind == kind)
            return text;
    return kKinds[0];
}

int Rank(MidasFinding kind)
{
    for (std::size_t i = 0; i < std::size(kKinds); ++i)
        if (kKinds[i].kind == kind)
            return int(i);
    return int(std::size(kKinds));
}

// The order of the hints: these kinds first, then any other kind the library has a hint for, in the
// order of the report.
constexpr MidasFinding kHintOrder[] = {
    MidasFinding::NewerMaterialLayout, MidasFinding::NewerSectionLayout, MidasFinding::RepeatedBlock,
    MidasFinding::BlockEndedEarly,     MidasFinding::PositionalAddressing, MidasFinding::RefusedUnit,
};

std::vector<const ReportCollector::Entry*> Sorted(const ReportCollector& report)
{
    std::vector<const ReportCollector::Entry*> entries;
    for (const auto& entry : report.Entries())
        entries.push_back(&entry);
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto* a, const auto* b) { return Rank(a->kind) < Rank(b->kind); });
    return entries;
}

std::vector<std::string> Hints(const ReportCollector& report, MidasReadingProfile profile)
{
    std::vector<std::string> hints;
    if (profile != MidasReadingProfile::Classic)
        return hints;
    auto add = [&](MidasFinding kind) {
        const long long count = report.Count(kind);
        if (const char* text = count > 0 ? MidasCurrentProfileHint(kind, count) : nullptr)
            hints.push_back(std::to_string(count) + " " + text + ": try --profile current");
    };
    for (MidasFinding kind : kHintOrder)
        add(kind);
    for (const KindText& other : kKinds)
        if (std::find(std::begin(kHintOrder), std::end(kHintOrder), other.kind) == std::end(kHintOrder))
            add(other.kind);
    return hints;
}

// The ledger's totals: data lines used, passed over, and the blocks with lines passed over.
struct LedgerTotals {
    long long used = 0, passedOver = 0, blocks = 0;
};

LedgerTotals Totals(const std::vector<MidasLedgerEntry>& ledger)
{
    LedgerTotals totals;
    for (const MidasLedgerEntry& entry : ledger) {
        totals.used += entry.used;
        totals.passedOver += entry.passedOver;
        totals.blocks += entry.passedOver > 0;
    }
    return totals;
}

void LedgerJson(JsonWriter& json, const std::vector<MidasLedgerEntry>& ledger,
                const std::function<std::string(std::string_view)>& toUtf8)
{
    json.BeginArray();
    for (const MidasLedgerEntry& entry : ledger) {
        json.BeginObject();
        json.Key("keyword"), json.String(toUtf8(entry.keyword));
        json.Key("line"), json.Int(entry.line);
        json.Key("dataLines"), json.Int(entry.dataLines);
        json.Key("used"), json.Int(entry.used);
        json.Key("passedOver"), json.Int(entry.passedOver);
        json.Key("reasons");
        json.BeginArray();
        for (MidasFinding reason : entry.reasons)
            json.String(TextOf(reason).name);
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
}

const char* ProfileName(MidasReadingProfile profile)
{
    return profile == MidasReadingProfile::Current ? "current" : "classic";
}

} // namespace

void ReportCollector::Report(const MidasFindingInfo& finding)
{
    const std::string key = TextOf(finding.kind).keyed ? finding.detail : std::string();
    auto [slot, added] = m_Index.try_emplace({int(finding.kind), key}, m_Entries.size());
    if (added)
        m_Entries.push_back(Entry{finding.kind, key, 0, {}, {}});
    Entry& entry = m_Entries[slot->second];
    entry.count += finding.count;
    if (finding.offset >= 0 && entry.offsets.size() < kExamples &&
        (entry.offsets.empty() || entry.offsets.back() != finding.offset))
        entry.offsets.push_back(finding.offset);
    if (!TextOf(finding.kind).keyed && entry.examples.size() < kExamples)
        entry.examples.push_back(finding.detail);
}

void ReportCollector::LedgerEntry(const MidasLedgerEntry& entry) { m_Ledger.push_back(entry); }

void ReportCollector::Progress(long long bytesRead, long long bytesTotal)
{
    if (onProgress)
        onProgress(bytesRead, bytesTotal);
}

void ReportCollector::PhaseFinished(MidasPhase phase)
{
    if (onPhase)
        onPhase(phase);
}

bool ReportCollector::Has(MidasFinding kind) const { return Count(kind) > 0; }

long long ReportCollector::Count(MidasFinding kind) const
{
    long long count = 0;
    for (const Entry& entry : m_Entries)
        if (entry.kind == kind)
            count += entry.count;
    return count;
}

LineNumbers::LineNumbers(const std::string& path)
{
    std::ifstream file(Utf8Path(path), std::ios::binary);
    m_LineStarts.push_back(0);
    char buffer[1 << 16];
    long long base = 0;
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
        const std::streamsize got = file.gcount();
        for (std::streamsize i = 0; i < got; ++i)
            if (buffer[i] == '\n')
                m_LineStarts.push_back(base + i + 1);
        base += got;
    }
}

long long LineNumbers::LineOf(long long offset) const
{
    if (offset < 0)
        return 0;
    return std::upper_bound(m_LineStarts.begin(), m_LineStarts.end(), offset) - m_LineStarts.begin();
}

std::string ReportText(const ReportCollector& report, const LineNumbers& lines, MidasReadingProfile profile,
                       const std::function<std::string(std::string_view)>& toUtf8)
{
    std::ostringstream text;
    text << "Translation report (profile " << ProfileName(profile) << ")\n";
    if (report.Entries().empty())
        text << "  nothing to report: everything read was translated\n";
    for (const ReportCollector::Entry* entry : Sorted(report)) {
        text << "  " << TextOf(entry->kind).title;
        if (!entry->key.empty())
            text << ": " << toUtf8(entry->key);
        text << " [" << entry->count << "]";
        if (!entry->offsets.empty()) {
            text << " lines";
            for (long long offset : entry->offsets)
                text << ' ' << lines.LineOf(offset);
            if (entry->count > (long long)entry->offsets.size())
                text << " ...";
        }
        text << "\n";
        for (const std::string& example : entry->examples)
            text << "      " << toUtf8(example) << "\n";
    }
    for (const std::string& hint : Hints(report, profile))
        text << "  hint: " << hint << "\n";
    const LedgerTotals totals = Totals(report.Ledger());
    text << "data lines: " << totals.used << " used, " << totals.passedOver << " passed over in "
         << Counted(totals.blocks, "block", "blocks") << "\n";
    return text.str();
}

void ReportJson(JsonWriter& json, const ReportCollector& report, const LineNumbers& lines,
                MidasReadingProfile profile, const std::function<std::string(std::string_view)>& toUtf8)
{
    json.BeginObject();
    json.Key("profile"), json.String(ProfileName(profile));
    json.Key("ledger"), LedgerJson(json, report.Ledger(), toUtf8);
    json.Key("findings");
    json.BeginArray();
    for (const ReportCollector::Entry* entry : Sorted(report)) {
        json.BeginObject();
        json.Key("kind"), json.String(TextOf(entry->kind).name);
        json.Key("title"), json.String(TextOf(entry->kind).title);
        json.Key("name"), json.String(toUtf8(entry->key));
        json.Key("count"), json.Int(entry->count);
        json.Key("lines");
        json.BeginArray();
        for (long long offset : entry->offsets)
            json.Int(lines.LineOf(offset));
        json.EndArray();
        json.Key("examples");
        json.BeginArray();
        for (const std::string& example : entry->examples)
            json.String(toUtf8(example));
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.Key("hints");
    json.BeginArray();
    for (const std::string& hint : Hints(report, profile))
        json.String(hint);
    json.EndArray();
    json.EndObject();
}

std::string RefusalCause(const ReportCollector& report, MidasReadingProfile profile)
{
    // The UnitWords finding names "FORCE, LENGTH"; a refused word is the length unit when it is the
    // file's length word and none the library knows.
    std::string lengthWord;
    for (const ReportCollector::Entry& entry : report.Entries())
        if (entry.kind == MidasFinding::UnitWords && entry.key.find(", ") != std::string::npos)
            lengthWord = entry.key.substr(entry.key.find(", ") + 2);
    static const std::string kLengthWords[] = {"IN", "FT", "M", "CM", "MM"};
    std::string cause;
    for (const ReportCollector::Entry& entry : report.Entries()) {
        if (entry.kind != MidasFinding::RefusedUnit)
            continue;
        const std::string word = entry.key.empty() ? "(blank)" : entry.key;
        if (!cause.empty())
            cause += "; ";
        if (entry.key == "no *UNIT record")
            cause += "no *UNIT block";
        else if (entry.key == lengthWord && std::find(std::begin(kLengthWords), std::end(kLengthWords), word) ==
                                                std::end(kLengthWords))
            cause += "length unit " + word + " unknown";
        else if (profile == MidasReadingProfile::Classic)
            cause += "force unit " + word + " cannot be converted in the classic profile (try --profile current)";
        else
            cause += "force unit " + word + " cannot be converted";
    }
    return cause.empty() ? "refused" : cause;
}
