// The real MIDAS files shared with the project: every one is read in both profiles without a fault, and
// the current profile delivers what each file holds, counted here independently from the file's text.
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "TestSupport.h"

namespace {

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (char c : line) {
        if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            fields.push_back(field), field.clear();
        else
            field += c;
    }
    fields.push_back(field);
    for (std::string& f : fields) {
        const auto first = f.find_first_not_of(" \t");
        const auto last = f.find_last_not_of(" \t");
        f = first == std::string::npos ? "" : f.substr(first, last - first + 1);
    }
    return fields;
}

// Number of IDs in a space-separated list with "AtoB" and "AtoBbyC" items.
int ListSize(const std::string& list)
{
    std::istringstream items(list);
    std::string item;
    int count = 0;
    while (items >> item) {
        const auto to = item.find("to");
        if (to == std::string::npos) {
            ++count;
            continue;
        }
        const auto by = item.find("by");
        const long a = std::stol(item.substr(0, to));
        const long b = std::stol(item.substr(to + 2, by == std::string::npos ? std::string::npos : by - to - 2));
        const long c = by == std::string::npos ? 1 : std::stol(item.substr(by + 2));
        count += int((b - a) / c + 1);
    }
    return count;
}

bool IsInteger(const std::string& text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// What a MIDAS file holds, from a plain walk over its lines.
struct Holdings {
    int nodes = 0, lines = 0, materials = 0, sections = 0, thicknesses = 0, pointLoads = 0, lineLoads = 0;
    std::vector<bool> gradeKnown;        // per material: a user material or a grade of the built-in table
    std::vector<bool> memberHasSection;  // per line member: its section number is in *SECTION
};

// A standard grade the built-in table holds, under a code that names steels or concretes.
bool KnownGrade(const std::string& code, const std::string& grade)
{
    static const std::set<std::string> kSteels = {"Q235", "Q345", "Q390", "Q420"};
    static const std::set<std::string> kConcretes = {"C15", "C20", "C25", "C30", "C35", "C40", "C45",
                                                     "C50", "C55", "C60", "C65", "C70", "C75", "C80"};
    return (code.find("(S)") != std::string::npos && kSteels.count(grade)) ||
           (code.find("(RC)") != std::string::npos && kConcretes.count(grade));
}

Holdings Count(const std::string& path)
{
    static const std::set<std::string> kOffsets = {"CC", "CT", "CB", "LT", "LC", "LB", "RT", "RC", "RB"};
    Holdings held;
    std::ifstream file(path, std::ios::binary);
    std::string line, keyword;
    std::set<std::string> cases;
    std::set<int> sectionNumbers;
    std::vector<int> memberSections;
    bool caseKnown = false;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const auto start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == ';')
            continue;
        if (line[start] == '*') {
            keyword = line.substr(start, line.find_first_of(" \t;,", start) - start);
            if (keyword == "*USE-STLD")
                caseKnown = !cases.empty();
            continue;
        }
        const std::vector<std::string> f = Fields(line);
        if (keyword == "*NODE")
            ++held.nodes;
        else if (keyword == "*ELEMENT" && f.size() > 3 && (f[1] == "BEAM" || f[1] == "TRUSS" || f[1] == "TENSTR"))
            ++held.lines, memberSections.push_back(std::stoi(f[3]));
        else if (keyword == "*MATERIAL")
            ++held.materials, held.gradeKnown.push_back(f.size() > 12 && (f[9] == "2" || KnownGrade(f[10], f[12])));
        else if (keyword == "*SECTION" && f.size() > 3 && IsInteger(f[0]) && kOffsets.count(f[3]))
            ++held.sections, sectionNumbers.insert(std::stoi(f[0]));
        else if (keyword == "*THICKNESS")
            ++held.thicknesses;
        else if (keyword == "*STLDCASE")
            cases.insert(f[0]);
        else if (keyword == "*CONLOAD" && caseKnown)
            held.pointLoads += ListSize(f[0]);
        else if (keyword == "*BEAMLOAD" && caseKnown && f.size() > 2)
            held.lineLoads += ListSize(f[0]) * (f[2] == "CONLOAD" || f[2] == "CONMOMENT" ? 4 : 1);
    }
    for (int number : memberSections)
        held.memberHasSection.push_back(sectionNumbers.count(number) > 0);
    return held;
}

struct Translated {
    bool read = false;
    bool ok = false;
    ModalData_Orvo model;
    Translated(const std::string& path, MidasReadingProfile profile)
    {
        MessageCapture quiet;
        MIDAStranslatetoOrvo translator;
        translator.SetReadingProfile(profile);
        read = translator.ReadMidasFile(path.c_str());
        ok = read && translator.TranMidastoOrvo(model);
    }
};

std::vector<std::string> RealModels()
{
    std::vector<std::string> paths;
    const std::string dir = SharedModelsDir();
    if (dir.empty())
        return paths;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.path().extension() == ".mgt")
            paths.push_back(entry.path().string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

std::string ModelPath(const std::string& prefix)
{
    for (const std::string& path : RealModels())
        if (std::filesystem::path(path).filename().string().rfind(prefix, 0) == 0)
            return path;
    return {};
}

#define REQUIRE_SHARED_MODELS()                              \
    if (RealModels().empty()) {                              \
        GTEST_SKIP() << "no ../shared/real-models here";     \
    }

} // namespace

TEST(RealModels, CurrentProfileDeliversWhatEachFileHolds)
{
    REQUIRE_SHARED_MODELS();
    for (const std::string& path : RealModels()) {
        SCOPED_TRACE(path);
        Translated classic(path, MidasReadingProfile::Classic);
        EXPECT_TRUE(classic.read);
        Translated current(path, MidasReadingProfile::Current);
        ASSERT_TRUE(current.read);
        const Holdings held = Count(path);
        if (!current.ok) {
            // Only the fragments without a *UNIT block are refused.
            EXPECT_EQ(held.nodes, 0);
            continue;
        }
        EXPECT_EQ(current.model.m_Nodes.GetSize(), held.nodes);
        EXPECT_EQ(current.model.m_Lines.GetSize(), held.lines);
        EXPECT_EQ(current.model.m_Materials.GetSize(), held.materials);
        EXPECT_EQ(current.model.m_LSections.GetSize(), held.sections);
        EXPECT_EQ(current.model.m_ASections.GetSize(), held.thicknesses);
        EXPECT_EQ(current.model.m_PointLoads.GetSize(), held.pointLoads);
        EXPECT_EQ(current.model.m_LineLoads.GetSize(), held.lineLoads);
        // Materials of a known grade or with their own constants arrive with them; members arrive linked
        // to the sections *SECTION defines (others, such as PSC sections, are not translated).
        for (int i = 0; i < current.model.m_Materials.GetSize(); ++i)
            EXPECT_EQ(current.model.m_Materials[i]->Property.Grade != -1, bool(held.gradeKnown[std::size_t(i)])) << i;
        for (int i = 0; i < current.model.m_Lines.GetSize(); ++i)
            EXPECT_EQ(current.model.m_Lines[i]->SectionShape != 0, bool(held.memberHasSection[std::size_t(i)])) << i;
    }
}

TEST(RealModels, SpotValuesArriveInKilonewtonsAndMillimetres)
{
    REQUIRE_SHARED_MODELS();
    {
        Translated banpo(ModelPath("01-"), MidasReadingProfile::Current);  // KN, M
        ASSERT_TRUE(banpo.ok);
        const LSection_Orvo* lb = banpo.model.m_LSections[0];  // "LB": SB 1 x 0.2 m
        EXPECT_EQ(lb->ShapeCode, 29);
        EXPECT_EQ(lb->Properties[4], 1000.0);
        EXPECT_EQ(lb->Properties[6], 200.0);
        const LineLoad_Orvo* first = banpo.model.m_LineLoads[0];  // 71, UNILOAD, GZ, 0, -18, 1, -18
        EXPECT_EQ(first->LoadType, 1);
        EXPECT_EQ(first->Direction, 2);
        EXPECT_EQ(first->Value1, -18.0);
        EXPECT_GT(first->Position2, 0.0);
        EXPECT_EQ(banpo.model.m_ASections[0]->Thickness, 200.0);  // 0.2 m
    }
    {
        Translated tower(ModelPath("03-"), MidasReadingProfile::Current);  // KN, MM
        ASSERT_TRUE(tower.ok);
        EXPECT_EQ(tower.model.m_Materials[0]->Property.Grade, 2);   // GB 50917-13(S) Q345
        EXPECT_EQ(tower.model.m_Materials[1]->Property.Grade, 10);  // GB 50917-13(RC) C30
        EXPECT_EQ(tower.model.m_LSections[0]->Properties[5], 225.0);  // P 450x12: outer radius
        EXPECT_EQ(tower.model.m_ASections[0]->Thickness, 120.0);
    }
    {
        Translated pier(ModelPath("05-"), MidasReadingProfile::Current);  // TONF, M
        ASSERT_TRUE(pier.ok);
        ASSERT_EQ(pier.model.m_PointLoads.GetSize(), 2);
        EXPECT_EQ(pier.model.m_PointLoads[0]->FZ, -647 * 9.80665);
        EXPECT_EQ(pier.model.m_PointLoads[0]->CaseID, 2);  // the section named exactly as load case 2
    }
    {
        Translated girder(ModelPath("11-"), MidasReadingProfile::Current);  // N, MM
        ASSERT_TRUE(girder.ok);
        EXPECT_EQ(girder.model.m_PointLoads[0]->FZ, -4710 * 0.001);
        int listed = 0;
        for (const Node_Orvo* node : girder.model.m_Nodes)
            listed += node->PointLoads.Count;
        EXPECT_EQ(listed, 28);
    }
}
