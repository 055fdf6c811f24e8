// Fuzz target: a whole model text through the reader, in both reading profiles. No block may hold more
// records than the text has lines, the load reader must leave no load block behind, and reading the
// same bytes from a file (buffered, stepping back with fseek) must leave exactly what reading them from
// memory leaves. In the classic profile every kept record must also satisfy its block's contract.
#include <string>
#include <type_traits>

#include "fuzz_common.h"

namespace {

// A printable account of everything the reader kept, numbers in hexadecimal floating point so that
// two accounts are equal only when every value is.
class Account {
public:
    std::string text;

    void Real(double value) { Append("%a,", value); }
    void Int(long long value) { Append("%lld,", value); }
    void Text(std::string_view value)
    {
        Int(static_cast<long long>(value.size()));
        text += value;
        text += ',';
    }
    template <class List>
    void Values(const List& values)
    {
        Int(values.Count);
        for (const auto& value : values)
            if constexpr (std::is_floating_point_v<std::decay_t<decltype(value)>>)
                Real(value);
            else
                Int(value);
    }
    void Label(const char* name)
    {
        text += '\n';
        text += name;
        text += ':';
    }

private:
    template <class... Args>
    void Append(const char* format, Args... args)
    {
        char buffer[64];
        const int length = std::snprintf(buffer, sizeof buffer, format, args...);
        text.append(buffer, std::size_t(length));
    }
};

void Describe(Account& a, const VersionRecord& r) { a.Text(r.m_strVersion); }
void Describe(Account& a, const UnitRecord& r)
{
    for (const std::string* word : {&r.m_strForce, &r.m_strLength, &r.m_strHeat, &r.m_strTemper})
        a.Text(*word);
}
void Describe(Account& a, const NodeRecord& r)
{
    a.Int(r.m_nID);
    for (double value : {r.m_dX, r.m_dY, r.m_dZ})
        a.Real(value);
}
void Describe(Account& a, const ElementRecord& r)
{
    a.Int(r.m_nID);
    a.Text(r.m_strType);
    a.Int(r.m_nMaterialID);
    a.Int(r.m_nSectionID);
    a.Values(r.m_NodeIDs);
    a.Real(r.m_dAngle);
}
void Describe(Account& a, const MaterialRecord& r)
{
    a.Int(r.m_nID);
    for (const std::string* word : {&r.m_strType, &r.m_strName, &r.m_strStandardCode, &r.m_strGradeName})
        a.Text(*word);
    a.Int(r.m_nDataKind);
    for (double value : {r.m_dElasticity, r.m_dPoisson, r.m_dThermal, r.m_dDensity, r.m_dMass})
        a.Real(value);
}
void Describe(Account& a, const SectionRecord& r)
{
    a.Int(r.m_nID);
    for (const std::string* word : {&r.m_strType, &r.m_strName, &r.m_strExtra, &r.m_strShape,
                                    &r.m_strStandardCode, &r.m_strCatalogName})
        a.Text(*word);
    a.Int(r.m_nDataKind);
    a.Values(r.m_Dimensions);
}
void Describe(Account& a, const ThicknessRecord& r)
{
    a.Int(r.m_nID);
    a.Text(r.m_strType);
    a.Text(r.m_strExtra);
    a.Real(r.m_dThickness);
    a.Int(r.m_nExtra);
}
void Describe(Account& a, const GroupRecord& r)
{
    a.Text(r.m_strName);
    a.Values(r.m_NodeIDs);
    a.Values(r.m_ElementIDs);
}
void Describe(Account& a, const ConstraintRecord& r)
{
    a.Text(r.m_strFlags);
    a.Values(r.m_NodeIDs);
}
void Describe(Account& a, const FrameReleaseRecord& r)
{
    a.Int(r.m_nElementID);
    a.Text(r.m_strPartial);
    a.Text(r.m_strEndIFlags);
    a.Text(r.m_strEndJFlags);
}
void Describe(Account& a, const LoadCaseRecord& r)
{
    a.Text(r.m_strName);
    a.Text(r.m_strType);
    a.Text(r.m_strDescription);
}

template <class Block>
void DescribeBlock(Account& a, const char* name, const Block* block)
{
    a.Label(name);
    if (!block) {
        a.text += "none";
        return;
    }
    for (int i = 0; i < block->GetCount(); ++i) {
        a.text += '\n';
        Describe(a, *block->GetRecord(i));
    }
}

// The blocks and the working records the load reader built.
std::string AccountOf(const Translation& t)
{
    Account a;
    DescribeBlock(a, "version", TranslatorAccess::Version(t));
    DescribeBlock(a, "unit", TranslatorAccess::Unit(t));
    DescribeBlock(a, "node", TranslatorAccess::Node(t));
    DescribeBlock(a, "element", TranslatorAccess::Element(t));
    DescribeBlock(a, "material", TranslatorAccess::Material(t));
    DescribeBlock(a, "section", TranslatorAccess::Section(t));
    DescribeBlock(a, "thickness", TranslatorAccess::Thickness(t));
    DescribeBlock(a, "group", TranslatorAccess::Group(t));
    DescribeBlock(a, "constraint", TranslatorAccess::Constraint(t));
    DescribeBlock(a, "release", TranslatorAccess::FrameRelease(t));
    DescribeBlock(a, "loadcase", TranslatorAccess::LoadCase(t));
    a.Label("work nodes");
    for (const WorkNode* node : TranslatorAccess::Nodes(t)) {
        a.Int(node->ID);
        a.Values(node->PointLoads);
    }
    a.Label("work lines");
    for (const WorkLine* line : TranslatorAccess::Lines(t)) {
        a.Int(line->ID);
        a.Values(line->LineLoads);
    }
    a.Label("point loads");
    for (const WorkPointLoad* load : TranslatorAccess::PointLoads(t)) {
        a.Int(load->CaseID);
        for (double value : {load->FX, load->FY, load->FZ, load->MX, load->MY, load->MZ})
            a.Real(value);
    }
    a.Label("line loads");
    for (const WorkLineLoad* load : TranslatorAccess::LineLoads(t)) {
        a.Int(load->CaseID);
        a.Int(load->LoadType);
        for (double value : {load->Value1, load->Value2, load->Position1, load->Position2})
            a.Real(value);
    }
    return a.text;
}

void CheckClassicBlocks(const Translation& t, int physical)
{
    fuzz::CheckBlock(TranslatorAccess::Version(t), physical);
    fuzz::CheckBlock(TranslatorAccess::Unit(t), physical);
    fuzz::CheckBlock(TranslatorAccess::Node(t), physical);
    fuzz::CheckBlock(TranslatorAccess::Element(t), physical);
    fuzz::CheckBlock(TranslatorAccess::Material(t), physical);
    fuzz::CheckBlock(TranslatorAccess::Section(t), physical);
    fuzz::CheckBlock(TranslatorAccess::Thickness(t), physical);
    fuzz::CheckBlock(TranslatorAccess::Group(t), physical);
    fuzz::CheckBlock(TranslatorAccess::Constraint(t), physical);
    fuzz::CheckBlock(TranslatorAccess::FrameRelease(t), physical);
    fuzz::CheckBlock(TranslatorAccess::LoadCase(t), physical);
    // Each load record is one physical line of a load section, and the sections of a file do not
    // overlap, so no more loads are made than lines read (four entries for a concentrated member load).
    FUZZ_CHECK(TranslatorAccess::PointLoads(t).GetSize() <= physical);
    FUZZ_CHECK(TranslatorAccess::LineLoads(t).GetSize() <= 4 * physical);
}

// Today's layout reads node and element lists with ranges in load and group lines, so only the record
// counts of the blocks are bounded by the lines.
template <class Block>
void CheckCount(const Block* block, int physical)
{
    FUZZ_CHECK(!block || block->GetCount() <= physical);
}

void CheckCurrentBlocks(const Translation& t, int physical)
{
    CheckCount(TranslatorAccess::Version(t), physical);
    CheckCount(TranslatorAccess::Unit(t), physical);
    CheckCount(TranslatorAccess::Node(t), physical);
    CheckCount(TranslatorAccess::Element(t), physical);
    CheckCount(TranslatorAccess::Material(t), physical);
    CheckCount(TranslatorAccess::Section(t), physical);
    CheckCount(TranslatorAccess::Thickness(t), physical);
    CheckCount(TranslatorAccess::Group(t), physical);
    CheckCount(TranslatorAccess::Constraint(t), physical);
    CheckCount(TranslatorAccess::FrameRelease(t), physical);
    CheckCount(TranslatorAccess::LoadCase(t), physical);
}

// Where two accounts first differ, for the report of a mismatch.
void ReportDifference(const std::string& memory, const std::string& file)
{
    std::size_t at = 0;
    while (at < memory.size() && at < file.size() && memory[at] == file[at])
        ++at;
    const std::size_t from = at > 80 ? at - 80 : 0;
    std::fprintf(stderr, "read from memory and from a file differ at byte %zu of the account\nmemory: ...%s\nfile:   ...%s\n",
                 at, memory.substr(from, 160).c_str(), file.substr(from, 160).c_str());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::SilenceMessageBox();
    const std::string text = fuzz::TextOf(data, size);
    const int physical = fuzz::PhysicalLines(text);

    const char* const path = fuzz::ScratchFile(text);

    for (MidasReadingProfile profile : fuzz::kProfiles) {
        Translation fromMemory;
        fromMemory.SetReadingProfile(profile);
        TranslatorAccess::ReadText(fromMemory, text);
        if (profile == MidasReadingProfile::Classic)
            CheckClassicBlocks(fromMemory, physical);
        else
            CheckCurrentBlocks(fromMemory, physical);

        Translation fromFile;
        fromFile.SetReadingProfile(profile);
        FUZZ_CHECK(fromFile.ReadMidasFile(path));
        FUZZ_CHECK(fromFile.HaveReadFile());

        const std::string memoryAccount = AccountOf(fromMemory);
        const std::string fileAccount = AccountOf(fromFile);
        if (memoryAccount != fileAccount) {
            std::fprintf(stderr, "profile %s\n", profile == MidasReadingProfile::Classic ? "classic" : "current");
            ReportDifference(memoryAccount, fileAccount);
            std::abort();
        }
    }
    return 0;
}
