// The translation report: what did not reach the host model, collected from the library's findings.
#include "Report.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "JsonWriter.h"

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
    {MidasFinding::UntranslatedElement, "UntranslatedElement", "elements not translated (only BEAM, TRUSS, TENSTR are)", true},
    {MidasFinding::RepeatedBlock, "RepeatedBlock", "block met again: replaced the earlier block and its records", true},
    {MidasFinding::BlockEndedEarly, "BlockEndedEarly", "block ended at a line its parser rejected", false},
    {MidasFinding::SkippedDataLines, "SkippedDataLines", "data lines after an early block end, passed over", true},
    {MidasFinding::PositionalAddressing, "PositionalAddressing",
     "numbers are not 1..N in file order, but supports, releases and groups address records by position: their targets may differ from the numbers written", true},
    {MidasFinding::UnaddressedSupport, "UnaddressedSupport", "support node numbers that address no node record", false},
    {MidasFinding::UnaddressedRelease, "UnaddressedRelease", "release element numbers that address no element record (records not applied)", false},
    {MidasFinding::UnaddressedGroupMember, "UnaddressedGroupMember", "group element numbers that address no element record", false},
    {MidasFinding::UnmatchedMemberEnd, "UnmatchedMemberEnd", "member ends whose node number matches no node", false},
    {MidasFinding::UnmatchedSection, "UnmatchedSection", "members whose section number matches no section (left unlinked)", false},
    {MidasFinding::UnknownCatalogueName, "UnknownCatalogueName", "catalogue names the section library does not hold (with the sections lost)", true},
    {MidasFinding::UnmatchedGrade, "UnmatchedGrade", "standard materials whose grade matched nothing (constants 0)", true},
    {MidasFinding::NewerMaterialLayout, "NewerMaterialLayout", "*MATERIAL lines in a newer column order (damping ratio in field 9)", false},
    {MidasFinding::NewerSectionLayout, "NewerSectionLayout", "*SECTION lines in a newer column order (bWE field before the shape)", false},
    {MidasFinding::LoadOnMissingNode, "LoadOnMissingNode", "nodal loads on nodes that do not exist", false},
    {MidasFinding::LoadOnMissingMember, "LoadOnMissingMember", "member loads on members that do not exist", false},
    {MidasFinding::LoadCaseNotNamed, "LoadCaseNotNamed", "load sections whose name contains no load case name (case 0)", true},
    {MidasFinding::LoadSectionWithoutCases, "LoadSectionWithoutCases", "load sections before any *STLDCASE: their loads were dropped", true},
    {MidasFinding::UnknownLoadType, "UnknownLoadType", "member load type words outside the table (no entries made)", true},
    {MidasFinding::UnknownDirection, "UnknownDirection", "member load direction words outside the table", true},
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

// Findings of a classic read that the current profile reads right.
struct Hint {
    MidasFinding kind;
    const char* text;
};
constexpr Hint kHints[] = {
    {MidasFinding::NewerMaterialLayout, "*MATERIAL lines have the current layout"},
    {MidasFinding::NewerSectionLayout, "*SECTION lines have the current layout"},
    {MidasFinding::RepeatedBlock, "repeated blocks were replaced (the current profile keeps them all)"},
    {MidasFinding::BlockEndedEarly, "blocks ended early (the current profile ends blocks at keyword lines)"},
    {MidasFinding::PositionalAddressing, "records addressed by position (the current profile uses numbers)"},
    {MidasFinding::RefusedUnit, "a refused unit (the current profile converts KGF, TONF, LBF, KIPS and N)"},
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
    for (const Hint& hint : kHints)
        if (long long count = report.Count(hint.kind))
            hints.push_back(std::to_string(count) + " " + hint.text + ": try --profile current");
    return hints;
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
    std::ifstream file(path, std::ios::binary);
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
    return text.str();
}

void ReportJson(JsonWriter& json, const ReportCollector& report, const LineNumbers& lines,
                MidasReadingProfile profile, const std::function<std::string(std::string_view)>& toUtf8)
{
    json.BeginObject();
    json.Key("profile"), json.String(ProfileName(profile));
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
