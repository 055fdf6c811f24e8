// Load cases, nodal loads and member loads: from the *USE-STLD sections to the host's load records.
#include "TestSupport.h"

#include <charconv>
#include <tuple>

namespace {

// A small frame in kN and m: member 7 is 4 m long, member 8 (listed end node first) 3 m, truss 9 6 m.
const std::string kFrame = "*UNIT\nKN, M, KJ, C\n\n*NODE\n1, 0, 0, 0\n2, 4, 0, 0\n3, 4, 0, 3\n4, 0, 0, 6\n\n"
                           "*ELEMENT\n7, BEAM, 1, 1, 1, 2, 0\n8, BEAM, 1, 1, 3, 2, 0\n9, TRUSS, 1, 1, 1, 4, 0\n\n";
const std::string kCases = "*STLDCASE\nDL, D, dead\nLL, L, live\nWL, W, wind\n\n";

// One load section as MIDAS writes it: header, the two load blocks, the end line and a blank line.
std::string Section(const std::string& name, const std::string& conLoads, const std::string& beamLoads = "")
{
    std::string text = "*USE-STLD, " + name + "\n\n";
    if (!conLoads.empty())
        text += "*CONLOAD    ; Nodal Loads\n; NODE_LIST, FX, FY, FZ, MX, MY, MZ, GROUP\n" + conLoads + "\n";
    if (!beamLoads.empty())
        text += "*BEAMLOAD    ; Element Beam Loads\n" + beamLoads + "\n";
    return text + "; End of data for load case [" + name + "] -------------------------\n\n";
}

std::string UniformLoad(int element, const std::string& dir = "GZ")
{
    return "   " + std::to_string(element) + ", BEAM, UNILOAD, " + dir + ", NO, 0, -2, 1, -3, 0, 0, 0, 0,\n";
}

std::string Num(double v) { char b[32]; return {b, std::to_chars(b, b + sizeof b, v).ptr}; }

// Loads, working or host: nodal ones as "FX FY FZ MX MY MZ; ...", member ones as
// "type direction position1:value1 position2:value2; ...".
template <class Loads>
std::string Text(const Loads& loads)
{
    std::string text;
    for (const auto* l : loads) {
        if constexpr (requires { l->FX; })
            text += Num(l->FX) + " " + Num(l->FY) + " " + Num(l->FZ) + " " + Num(l->MX) + " " + Num(l->MY) + " " +
                    Num(l->MZ);
        else
            text += std::to_string(l->LoadType) + " " + std::to_string(l->Direction) + " " + Num(l->Position1) + ":" +
                    Num(l->Value1) + " " + Num(l->Position2) + ":" + Num(l->Value2);
        text += "; ";
    }
    return text;
}

template <class List>
std::string Ids(const List& numbers)
{
    std::string text = "[";
    for (int k = 0; k < numbers.Count; ++k)
        text += (k ? "," : "") + std::to_string(numbers[k]);
    return text + "] ";
}

// The load numbers listed by each node, then by each member: "[] [1] / [1,2] [] ".
template <class Nodes, class Lines>
std::string Lists(const Nodes& nodes, const Lines& lines)
{
    std::string text;
    for (const auto* node : nodes)
        text += Ids(node->PointLoads);
    text += "/ ";
    for (const auto* line : lines)
        text += Ids(line->LineLoads);
    return text;
}

// Supports, end releases and groups stand after the load sections, which the load reader has
// already read; the extra blank lines give the following keyword line back to the driver.
const std::string kLoadedFrame = kFrame + kCases + Section("DL", "2, 0, 0, -10, 0, 0, 0,\n") + "\n" +
                                 Section("LL", "", UniformLoad(7)) +
                                 "\n*CONSTRAINT\n1, 111111,\n\n*FRAME-RLS\n   1, NO, 000011, 0, 0, 0, 0, 0, 0\n"
                                 "          000001, 0, 0, 0, 0, 0, 0,\n\n*GROUP\nG1, , 1 3\n\n";

// Each member's start and end release and group: "12 4 G1, 0 0 , ...".
std::string Fixings(const ModalData_Orvo& model)
{
    std::string text;
    for (const Line_Orvo* line : model.m_Lines)
        text += std::to_string(line->StartRelease) + " " + std::to_string(line->EndRelease) + " " + line->GroupName +
                ", ";
    return text;
}

// The translator's state after reading a model text (the loads are made while reading).
struct Loaded {
    Translation t;
    explicit Loaded(const std::string& text) { TranslatorAccess::ReadText(t, text); }
    PooledArray<WorkPointLoad>& points() { return TranslatorAccess::PointLoads(t); }
    PooledArray<WorkLineLoad>& lines() { return TranslatorAccess::LineLoads(t); }
    std::string pointText() { return Text(points()); }
    std::string lineText() { return Text(lines()); }
    std::string lists() { return Lists(TranslatorAccess::Nodes(t), TranslatorAccess::Lines(t)); }
    // Load case and kind of each nodal load, then of each member load: "1/0 | 1/0 2/1 ".
    std::string cases()
    {
        std::string text;
        for (const auto* load : points())
            text += std::to_string(load->CaseID) + "/" + std::to_string(load->CaseKind) + " ";
        text += "|";
        for (const auto* load : lines())
            text += " " + std::to_string(load->CaseID) + "/" + std::to_string(load->CaseKind);
        return text;
    }
};

} // namespace

TEST(LoadCase, SectionTakesTheFirstLoadCaseNamedInsideIt)
{
    // (load cases, section name, "case/kind" of its nodal and member load)
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"DL, D\nLL, L\n", "DL", "1/0"}, {"DL, D\nLL, L\n", "LL", "2/1"},
        {"L, L\nLL, D\n", "LL", "1/1"},  // 'L' stands inside 'LL' and comes first
        {"LL, D\nL, W\n", "LL", "1/0"},  // order of *STLDCASE decides, not the closest name
        {"LL, D\nL, W\n", "L", "2/2"},
        {"DL, D\n", "XDLY", "1/0"},      // anywhere inside the section name
        {"XY, W\nB, D\nAB, L\n", "ZAB", "2/0"},  // of the names inside it, the first in file order
        {"DL 1, D\n", "DL 1", "1/0"},    // spaces go from both names
        {"DL, D\n", "dl", "0/-1"},       // names are case-sensitive
        {"DL, D\n", "LL", "0/-1"},       // no load case named: case 0, no kind
        {"S, SNOW\n", "S", "1/1"}, {"S, d\n", "S", "1/1"}, {"S\n", "S", "1/1"},  // other type words, or none: live
    };
    for (const auto& [cases, section, expected] : rows) {
        Loaded m(kFrame + "*STLDCASE\n" + cases + "\n" + Section(section, "1, 0, 0, -10, 0, 0, 0,\n", UniformLoad(7)));
        EXPECT_EQ(m.cases(), std::string(expected) + " | " + expected) << cases << section;
    }
}

TEST(MemberLoad, RecordsBecomeEntriesAtFractionsOfTheMemberLength)
{
    // Concentrated loads make an entry per (distance, value) pair, all four; uniform ones one entry over
    // the first two pairs. Type and direction words are compared case-sensitively; an unknown type word
    // makes no entry, an unknown direction word direction -1. The member lists one number per record,
    // even one that made no entry. The long line form has two further words before the pairs. A line
    // starting with "aDir" ends the block, so the load after it is not read.
    Loaded m(kFrame + kCases +
             Section("DL", "",
                     "7, BEAM, CONLOAD, GZ, NO, 0.25, -10, 0.5, -5, 0, 0, 0, 0,\n"
                     "8, BEAM, CONMOMENT, LY, NO, 1, 7, 0, 0, 0, 0, 0.5, 2,\n"
                     "9, BEAM, UNILOAD, GX, NO, 0.5, -2, 1, -4, 0.1, 99, 0.2, 99,\n"
                     "8, BEAM, UNIMOMEMT, LZ, NO, 0, 3, 1, 3,\n"
                     "   8, LINE   , UNILOAD, GZ, NO , NO, aDir[1], , , , 0, -2, 1, -3, 0, 0, 0, 0, G, NO, 0, 0, NO,\n"
                     "7, BEAM, UNILOAD, GY, NO, 0, 1, 1, 1,\n7, BEAM, UNILOAD, LX, NO, 0, 1, 1, 1,\n"
                     "7, BEAM, UNILOAD, gz, NO, 0, 1, 1, 1,\n7, BEAM, UNILOAD, X, NO, 0, 1, 1, 1,\n"
                     "7, BEAM, UNIMOMENT, GZ, NO, 0, 1, 1, 1,\n"  // only the file's own spelling is a uniform moment
                     "7, BEAM, uniload, GZ, NO, 0, 1, 1, 1,\n7, BEAM, TRAPLOAD, GZ, NO, 0, 1, 1, 1,\n"
                     "aDir[1], 8, BEAM, UNILOAD, GZ, NO, 0, -2, 1, -3,\n" + UniformLoad(7)));
    EXPECT_EQ(m.lineText(), "2 2 1:-10 0:0; 2 2 2:-5 0:0; 2 2 0:0 0:0; 2 2 0:0 0:0; "  // member 7: 4 m
                            "3 5 3:7 0:0; 3 5 0:0 0:0; 3 5 0:0 0:0; 3 5 1.5:2 0:0; "   // member 8: 3 m, ends reversed
                            "1 0 3:-2 6:-4; "                                          // member 9: 6 m
                            "4 4 0:3 3:3; 1 2 0:-2 3:-3; "
                            "1 1 0:1 4:1; 1 3 0:1 4:1; 1 -1 0:1 4:1; 1 -1 0:1 4:1; ");
    EXPECT_EQ(m.lists(), "[] [] [] [] / [1,6,7,8,9,10,11,12] [2,4,5] [3] ");
}

TEST(ElementLength, RunsFromFirstStartNodeToLastEndNode)
{
    Translation t;
    EXPECT_EQ(TranslatorAccess::ElementLength(t, 0), 0.0);  // nothing built yet
    TranslatorAccess::ReadText(t, "*NODE\n1, 0, 0, 0\n2, 3, 0, 0\n1, 10, 0, 0\n2, 3, 4, 0\n5, 0, 0, 12\n\n*ELEMENT\n"
                                  "1, BEAM, 1, 1, 1, 2, 0\n2, BEAM, 1, 1, 2, 1, 0\n3, BEAM, 1, 1, 9, 5, 0\n"
                                  "4, TRUSS, 1, 1, 5, 9, 0\n5, BEAM, 1, 1, 9, 9, 0\n\n");
    t.Write();
    // Indices -1 to 5: none; origin to the last node 2 (3, 4, 0); the first node 2 (3, 0, 0) to the last
    // node 1 (10, 0, 0); a missing start node, then a missing end node, stands at the origin; none.
    const double lengths[] = {0, 5, 7, 12, 12, 0, 0};
    for (int i = -1; i < 6; ++i)
        EXPECT_EQ(TranslatorAccess::ElementLength(t, i), lengths[i + 1]) << i;

    Translation withoutNodes;
    TranslatorAccess::ReadText(withoutNodes, "*ELEMENT\n1, BEAM, 1, 1, 1, 2, 0\n\n");
    withoutNodes.Write();
    ASSERT_EQ(TranslatorAccess::Lines(withoutNodes).GetSize(), 1);
    EXPECT_EQ(TranslatorAccess::ElementLength(withoutNodes, 0), 0.0);
}

TEST(LoadSection, LoadsFindTheirNodesAndMembersByNumber)
{
    // A nodal load copies forces and moments and loads the first node of a list ("3to5": node 3). A load on
    // a node or member that does not exist is made and listed nowhere; the counter does not move for it,
    // and an unknown member has no length.
    Loaded missing(kFrame + kCases +
                   Section("DL", "99, 0, 0, -1, 0, 0, 0,\n2, 0, 0, -2, 0, 0, 0,\n3to5, 1, 2, -3, 4, 5, 6, G1\n",
                           "99, BEAM, UNILOAD, GZ, NO, 0.5, -2, 1, -3,\n" + UniformLoad(9)));
    EXPECT_EQ(missing.pointText(), "0 0 -1 0 0 0; 0 0 -2 0 0 0; 1 2 -3 4 5 6; ");
    EXPECT_EQ(missing.lineText(), "1 2 0:-2 0:-3; 1 2 0:-2 6:-3; ");
    EXPECT_EQ(missing.cases(), "1/0 1/0 1/0 | 1/0 1/0");
    EXPECT_EQ(missing.lists(), "[] [1] [2] [] / [] [] [1] ");

    // Repeated numbers load the first node and member; the member runs to the last node with its end number.
    Loaded repeated("*NODE\n1, 0, 0, 0\n2, 5, 0, 0\n1, 9, 9, 9\n2, 3, 4, 0\n\n"
                    "*ELEMENT\n7, BEAM, 1, 1, 1, 2, 0\n7, BEAM, 1, 1, 2, 1, 0\n\n" +
                    kCases + Section("DL", "1, 0, 0, -1, 0, 0, 0,\n", UniformLoad(7)));
    EXPECT_EQ(repeated.lists(), "[1] [] [] [] / [1] [] ");
    EXPECT_EQ(repeated.lineText(), "1 2 0:-2 5:-3; ");
}

TEST(LoadSection, CountersRunAcrossTheSectionsOfOneCall)
{
    const std::string dl = Section("DL", "2, 0, 0, -1, 0, 0, 0,\n", UniformLoad(7));
    const std::string ll = Section("LL", "2, 0, 0, -2, 0, 0, 0,\n", UniformLoad(7) + UniformLoad(7));
    // Sections that follow each other are read by one call; an extra line between them ends the call,
    // and the next call numbers from 1 again. It finds the nodes and members of the first and builds none.
    const std::pair<std::string, const char*> rows[] = {
        {"", "[] [1,2] [] [] / [1,2,3] [] [] "},
        {"\n", "[] [1,1] [] [] / [1,1,2] [] [] "},
    };
    for (const auto& [between, lists] : rows) {
        Loaded m(kFrame + kCases + dl + between + ll);
        EXPECT_EQ(m.lists(), lists);
        EXPECT_EQ(m.cases(), "1/0 2/1 | 1/0 2/1 2/1");  // each section keeps its own load case
    }
}

TEST(LoadSection, SectionsEndAtTheEndLineOrTheEndOfTheFile)
{
    const std::string dl = "*USE-STLD, DL\n\n*CONLOAD\n1, 0, 0, -1, 0, 0, 0,\n\n";
    const std::pair<std::string, const char*> rows[] = {
        {dl + "; End of data\n\n" + Section("LL", "1, 0, 0, -2, 0, 0, 0,\n"), "0 0 -1 0 0 0; 0 0 -2 0 0 0; "},
        // The end line takes the line under it along: here LL's header, so LL is never read.
        {dl + "; End of data\n" + Section("LL", "1, 0, 0, -2, 0, 0, 0,\n"), "0 0 -1 0 0 0; "},
        {dl, "0 0 -1 0 0 0; "},                                                   // no end line before the end of file
        {"*USE-STLD, DL\n\n*CONLOAD\n1, 0, 0, -1, 0, 0, 0,", "0 0 -1 0 0 0; "},  // nor a line end
        // the later block replaces the earlier
        {dl + "*CONLOAD\n3, 0, 0, -5, 0, 0, 0,\n4, 0, 0, -6, 0, 0, 0,\n\n", "0 0 -5 0 0 0; 0 0 -6 0 0 0; "},
    };
    for (const auto& [text, loads] : rows) {
        Loaded m(kFrame + kCases + text);
        EXPECT_EQ(m.pointText(), loads) << text;
    }
}

TEST(LoadSection, SectionBeforeAnyLoadCaseNeverYieldsLoads)
{
    // DL's blocks are dropped when it is read; LL, read after *STLDCASE, has none of its own.
    Loaded m(kFrame + Section("DL", "1, 0, 0, -1, 0, 0, 0,\n", UniformLoad(7)) + kCases + Section("LL", ""));
    EXPECT_EQ(m.pointText() + m.lineText(), "");
    EXPECT_EQ(m.lists(), "[] [] [] [] / [] [] [] ");
}

TEST(LoadClaim, HostReceivesOneSetOfNodesAndMembersUnlessWrittenBefore)
{
    // A node block read after the loads is built anew: the load reader's four nodes, then the block's two. A Write
    // before the translation hands over a second set; the loads, made once while reading, stay on the first.
    const std::tuple<std::string, bool, const char*, const char*> rows[] = {
        {"", false, "[] [1] [] [] / [1] [] [] ", "12 4 G1, 0 0 , 12 12 G1, "},
        {"*NODE\n1, 0, 0, 0\n2, 4, 0, 0\n\n", false, "[] [1] [] [] [] [] / [1] [] [] ", "12 4 G1, 0 0 , 12 12 G1, "},
        {"", true, "[] [1] [] [] [] [] [] [] / [1] [] [] [] [] [] ",
         "12 4 G1, 0 0 , 12 12 G1, 12 4 G1, 0 0 , 12 12 G1, "},
    };
    for (const auto& [after, writeFirst, lists, fixings] : rows) {
        Translation t;
        TempFile file(kLoadedFrame + after);
        ASSERT_TRUE(t.ReadMidasFile(file.path().c_str()));
        if (writeFirst)
            t.Write();
        ModalData_Orvo model;
        ASSERT_TRUE(t.TranMidastoOrvo(model));
        EXPECT_EQ(Lists(model.m_Nodes, model.m_Lines), lists);
        EXPECT_EQ(Fixings(model), fixings);
        EXPECT_EQ(model.m_Nodes[0]->Restraint, 0xFC);  // supports go to the first nodes of the collection
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(model.m_Lines[i]->ID, i + 1);
        EXPECT_EQ(model.m_PointLoads.GetSize(), 1);
        EXPECT_EQ(model.m_LineLoads.GetSize(), 1);
    }
}

TEST(LoadUnits, LoadsAreScaledToKilonewtonsAndMetres)
{
    // Member 1 is 6 file units long. Forces scale by F, moments of nodal loads by F x L x 0.001, forces
    // of member loads by F and their positions by L x 0.001; member moments keep what was read.
    const struct {
        const char* units;
        const char* memberEnd;
        const char *points, *lines;
    } rows[] = {
        {"KN, MM", "6000", "0 0 -10 0.004 0 0; ", "1 2 3:-2 6:-2; 3 1 3000:7 0:0; "},
        {"KN, M", "6", "0 0 -10 4 0 0; ", "1 2 3:-2 6:-2; 3 1 3:7 0:0; "},
        {"N, MM", "6000", "0 0 -10000 4 0 0; ", "1 2 3:-2000 6:-2000; 3 1 3000:7 0:0; "},
    };
    for (const auto& row : rows) {
        const std::string text = std::string("*UNIT\n") + row.units + "\n\n*NODE\n1, 0, 0, 0\n2, " + row.memberEnd +
                                 ", 0, 0\n\n*ELEMENT\n1, BEAM, 1, 1, 1, 2, 0\n\n" + kCases +
                                 Section("DL", "2, 0, 0, -10, 4, 0, 0,\n",
                                         "1, BEAM, UNILOAD, GZ, NO, 0.5, -2, 1, -2,\n"
                                         "1, BEAM, CONMOMENT, GY, NO, 0.5, 7, 0, 0, 0, 0, 0, 0,\n");
        ModalData_Orvo model;
        ASSERT_TRUE(TranslateText(text, model)) << row.units;
        EXPECT_EQ(Text(model.m_PointLoads), row.points) << row.units;
        ASSERT_EQ(model.m_LineLoads.GetSize(), 5);
        EXPECT_EQ(Text(model.m_LineLoads).substr(0, std::string(row.lines).size()), row.lines) << row.units;
        EXPECT_EQ(std::make_pair(model.m_PointLoads[0]->CaseID, model.m_PointLoads[0]->CaseKind), std::make_pair(1, 0));
        EXPECT_EQ(Lists(model.m_Nodes, model.m_Lines), "[] [1] / [1,2] ");
    }
}
