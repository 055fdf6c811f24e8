// Load cases, nodal loads and member loads: from the *USE-STLD sections to the host's load records.
#include "TestSupport.h"

namespace {

// A small frame in kN and m: member 7 is 4 m long, member 8 (listed end node first) 3 m, truss 9 6 m.
const std::string kFrame = R"(*UNIT
KN, M, KJ, C

*NODE
1, 0, 0, 0
2, 4, 0, 0
3, 4, 0, 3
4, 0, 0, 6

*ELEMENT
7, BEAM, 1, 1, 1, 2, 0
8, BEAM, 1, 1, 3, 2, 0
9, TRUSS, 1, 1, 1, 4, 0

)";

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

// The translator's state after reading a model text (the loads are made while reading).
struct Loaded {
    MIDAStranslatetoOrvo t;
    explicit Loaded(const std::string& text) { TranslatorAccess::ReadText(t, text); }
    OwnedArray<WorkPointLoad>& points() { return TranslatorAccess::PointLoads(t); }
    OwnedArray<WorkLineLoad>& lines() { return TranslatorAccess::LineLoads(t); }
    WorkNode& node(int i) { return *TranslatorAccess::Nodes(t)[i]; }
    WorkLine& member(int i) { return *TranslatorAccess::Lines(t)[i]; }
};

std::vector<int> Ids(const ValueArray<int>& values) { return std::vector<int>(values.begin(), values.end()); }

using V = std::vector<int>;

} // namespace

TEST(LoadCase, SectionTakesTheFirstLoadCaseNamedInsideIt)
{
    const struct {
        const char* cases;
        const char* section;
        int id, kind;
    } rows[] = {
        {"DL, D\nLL, L\n", "DL", 1, 0},
        {"DL, D\nLL, L\n", "LL", 2, 1},
        {"L, L\nLL, D\n", "LL", 1, 1},    // 'L' stands inside 'LL' and comes first
        {"LL, D\nL, W\n", "LL", 1, 0},    // order of *STLDCASE decides, not the closest name
        {"LL, D\nL, W\n", "L", 2, 2},
        {"DL, D\n", "XDLY", 1, 0},        // anywhere inside the section name
        {"DL 1, D\n", "DL 1", 1, 0},      // spaces go from both names
        {"DL, D\n", "dl", 0, -1},         // names are case-sensitive
        {"DL, D\n", "LL", 0, -1},         // no load case named: case 0, no kind
        {"S, SNOW\n", "S", 1, 1},         // any other type word counts as live
        {"S, d\n", "S", 1, 1},
        {"S\n", "S", 1, 1},               // no type word at all
    };
    for (const auto& row : rows) {
        Loaded m(kFrame + "*STLDCASE\n" + row.cases + "\n" +
                 Section(row.section, "1, 0, 0, -10, 0, 0, 0,\n", UniformLoad(7)));
        ASSERT_EQ(m.points().GetSize(), 1) << row.section;
        ASSERT_EQ(m.lines().GetSize(), 1) << row.section;
        EXPECT_EQ(m.points()[0]->CaseID, row.id) << row.cases << row.section;
        EXPECT_EQ(m.points()[0]->CaseKind, row.kind) << row.cases << row.section;
        EXPECT_EQ(m.lines()[0]->CaseID, row.id) << row.cases << row.section;
        EXPECT_EQ(m.lines()[0]->CaseKind, row.kind) << row.cases << row.section;
    }
}

TEST(PointLoad, CopiesForcesAndMomentsOfTheFirstListedNode)
{
    Loaded m(kFrame + kCases + Section("DL", "3to5, 1, 2, -3, 4, 5, 6, G1\n"));
    ASSERT_EQ(m.points().GetSize(), 1);
    const WorkPointLoad& load = *m.points()[0];
    EXPECT_EQ(load.CaseID, 1);
    EXPECT_EQ(load.CaseKind, 0);
    const double expected[] = {1, 2, -3, 4, 5, 6};
    const double actual[] = {load.FX, load.FY, load.FZ, load.MX, load.MY, load.MZ};
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(actual[k], expected[k]) << k;
    EXPECT_EQ(Ids(m.node(2).PointLoads), V{1});  // only node 3 of the list "3to5" is loaded
    EXPECT_EQ(Ids(m.node(3).PointLoads), V{});
}

TEST(MemberLoad, TypeWordsMakeTheirEntries)
{
    const struct {
        const char* type;
        int loadType, entries;
    } rows[] = {
        {"CONLOAD", 2, 4}, {"CONMOMENT", 3, 4}, {"UNILOAD", 1, 1}, {"UNIMOMEMT", 4, 1},
        {"UNIMOMENT", -1, 0},  // only the file's own spelling is a uniform moment
        {"uniload", -1, 0},    // type words are case-sensitive
        {"TRAPLOAD", -1, 0},
    };
    for (const auto& row : rows) {
        Loaded m(kFrame + kCases +
                 Section("DL", "", std::string("7, BEAM, ") + row.type + ", GZ, NO, 0, -2, 1, -3, 0, 0, 0, 0,\n" +
                                       UniformLoad(7)));
        ASSERT_EQ(m.lines().GetSize(), row.entries + 1) << row.type;
        for (int i = 0; i < row.entries; ++i)
            EXPECT_EQ(m.lines()[i]->LoadType, row.loadType) << row.type;
        // The member lists one number per record, including one that made no entry.
        EXPECT_EQ(Ids(m.member(0).LineLoads), (V{1, 2})) << row.type;
    }
}

TEST(MemberLoad, DirectionWords)
{
    const struct {
        const char* word;
        int direction;
    } rows[] = {{"GX", 0}, {"GY", 1}, {"GZ", 2}, {"LX", 3}, {"LZ", 4}, {"LY", 5}, {"gz", -1}, {"X", -1}};
    for (const auto& row : rows) {
        Loaded m(kFrame + kCases + Section("DL", "", UniformLoad(7, row.word)));
        ASSERT_EQ(m.lines().GetSize(), 1) << row.word;
        EXPECT_EQ(m.lines()[0]->Direction, row.direction) << row.word;
    }
}

TEST(MemberLoad, ShortAndLongLineFormsReadTheSameLoad)
{
    const char* const forms[] = {
        "   8, BEAM, UNILOAD, GZ, NO, 0, -2, 1, -3, 0, 0, 0, 0,\n",
        "   8, LINE   , UNILOAD, GZ, NO , NO, aDir[1], , , , 0, -2, 1, -3, 0, 0, 0, 0, G, NO, 0, 0, NO,\n",
    };
    for (const char* form : forms) {
        Loaded m(kFrame + kCases + Section("DL", "", form));
        ASSERT_EQ(m.lines().GetSize(), 1) << form;
        const WorkLineLoad& load = *m.lines()[0];
        EXPECT_EQ(load.LoadType, 1) << form;
        EXPECT_EQ(load.Direction, 2) << form;
        EXPECT_EQ(load.Value1, -2.0) << form;
        EXPECT_EQ(load.Value2, -3.0) << form;
        EXPECT_EQ(load.Position1, 0.0) << form;
        EXPECT_EQ(load.Position2, 3.0) << form;
    }
}

TEST(MemberLoad, LineStartingWithADirEndsTheBlock)
{
    Loaded m(kFrame + kCases +
             Section("DL", "", UniformLoad(7) + "aDir[1], 8, BEAM, UNILOAD, GZ, NO, 0, -2, 1, -3,\n" + UniformLoad(8)));
    ASSERT_EQ(m.lines().GetSize(), 1);  // the load after the rejected line is not read
    EXPECT_EQ(Ids(m.member(0).LineLoads), V{1});
    EXPECT_EQ(Ids(m.member(1).LineLoads), V{});
}

TEST(MemberLoad, PositionsAreFractionsOfTheMemberLength)
{
    Loaded m(kFrame + kCases +
             Section("DL", "",
                     "7, BEAM, CONLOAD, GZ, NO, 0.25, -10, 0.5, -5, 0, 0, 0, 0,\n"
                     "8, BEAM, CONMOMENT, LY, NO, 1, 7, 0, 0, 0, 0, 0.5, 2,\n"
                     "9, BEAM, UNILOAD, GX, NO, 0.5, -2, 1, -4, 0.1, 99, 0.2, 99,\n"
                     "8, BEAM, UNIMOMEMT, LZ, NO, 0, 3, 1, 3,\n"));
    const struct {
        int loadType;
        double position1, value1, position2, value2;
    } rows[] = {
        {2, 1, -10, 0, 0}, {2, 2, -5, 0, 0}, {2, 0, 0, 0, 0}, {2, 0, 0, 0, 0},  // member 7: 4 m
        {3, 3, 7, 0, 0},   {3, 0, 0, 0, 0},  {3, 0, 0, 0, 0}, {3, 1.5, 2, 0, 0},  // member 8: 3 m, ends reversed
        {1, 3, -2, 6, -4},                                                       // member 9: 6 m, pairs 3, 4 unused
        {4, 0, 3, 3, 3},
    };
    ASSERT_EQ(m.lines().GetSize(), 10);
    for (int i = 0; i < 10; ++i) {
        const WorkLineLoad& load = *m.lines()[i];
        EXPECT_EQ(load.LoadType, rows[i].loadType) << i;
        EXPECT_DOUBLE_EQ(load.Position1, rows[i].position1) << i;
        EXPECT_EQ(load.Value1, rows[i].value1) << i;
        EXPECT_DOUBLE_EQ(load.Position2, rows[i].position2) << i;
        EXPECT_EQ(load.Value2, rows[i].value2) << i;
    }
    EXPECT_EQ(Ids(m.member(0).LineLoads), V{1});
    EXPECT_EQ(Ids(m.member(1).LineLoads), (V{2, 4}));
    EXPECT_EQ(Ids(m.member(2).LineLoads), V{3});
}

TEST(ElementLength, RunsFromFirstStartNodeToLastEndNode)
{
    MIDAStranslatetoOrvo t;
    EXPECT_EQ(TranslatorAccess::ElementLength(t, 0), 0.0);  // nothing built yet
    TranslatorAccess::ReadText(t, R"(*NODE
1, 0, 0, 0
2, 3, 0, 0
1, 10, 0, 0
2, 3, 4, 0
5, 0, 0, 12

*ELEMENT
1, BEAM, 1, 1, 1, 2, 0
2, BEAM, 1, 1, 2, 1, 0
3, BEAM, 1, 1, 9, 5, 0
4, TRUSS, 1, 1, 5, 9, 0
5, BEAM, 1, 1, 9, 9, 0

)");
    t.Write();
    const double lengths[] = {
        5,   // first node 1 (origin) to the last node 2 (3, 4, 0)
        7,   // first node 2 (3, 0, 0) to the last node 1 (10, 0, 0)
        12,  // a missing start node stands at the origin
        12,  // and so does a missing end node
        0,
    };
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(TranslatorAccess::ElementLength(t, i), lengths[i]) << i;
    EXPECT_EQ(TranslatorAccess::ElementLength(t, 5), 0.0);
    EXPECT_EQ(TranslatorAccess::ElementLength(t, -1), 0.0);

    MIDAStranslatetoOrvo withoutNodes;
    TranslatorAccess::ReadText(withoutNodes, "*ELEMENT\n1, BEAM, 1, 1, 1, 2, 0\n\n");
    withoutNodes.Write();
    ASSERT_EQ(TranslatorAccess::Lines(withoutNodes).GetSize(), 1);
    EXPECT_EQ(TranslatorAccess::ElementLength(withoutNodes, 0), 0.0);
}

TEST(LoadSection, LoadsOnMissingNodesAndMembersAreKeptUnattached)
{
    Loaded m(kFrame + kCases +
             Section("DL", "99, 0, 0, -1, 0, 0, 0,\n2, 0, 0, -2, 0, 0, 0,\n",
                     "99, BEAM, UNILOAD, GZ, NO, 0.5, -2, 1, -3,\n" + UniformLoad(9)));
    ASSERT_EQ(m.points().GetSize(), 2);
    EXPECT_EQ(m.points()[0]->FZ, -1.0);
    EXPECT_EQ(Ids(m.node(1).PointLoads), V{1});  // the counter did not move for node 99
    ASSERT_EQ(m.lines().GetSize(), 2);
    EXPECT_EQ(m.lines()[0]->Position1, 0.0);  // an unknown member has no length
    EXPECT_EQ(m.lines()[0]->Position2, 0.0);
    EXPECT_EQ(m.lines()[0]->Value2, -3.0);
    EXPECT_EQ(m.lines()[0]->CaseID, 1);
    EXPECT_EQ(Ids(m.member(2).LineLoads), V{1});
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(Ids(m.member(i).LineLoads), V{}) << i;
}

TEST(LoadSection, RepeatedNumbersLoadTheFirstNodeAndMember)
{
    Loaded m("*NODE\n1, 0, 0, 0\n2, 5, 0, 0\n1, 9, 9, 9\n2, 3, 4, 0\n\n"
             "*ELEMENT\n7, BEAM, 1, 1, 1, 2, 0\n7, BEAM, 1, 1, 2, 1, 0\n\n" +
             kCases + Section("DL", "1, 0, 0, -1, 0, 0, 0,\n", UniformLoad(7)));
    EXPECT_EQ(Ids(m.node(0).PointLoads), V{1});
    EXPECT_EQ(Ids(m.node(2).PointLoads), V{});
    EXPECT_EQ(Ids(m.member(0).LineLoads), V{1});
    EXPECT_EQ(Ids(m.member(1).LineLoads), V{});
    ASSERT_EQ(m.lines().GetSize(), 1);
    EXPECT_EQ(m.lines()[0]->Position2, 5.0);  // from the first node 1 to the last node 2
}

TEST(LoadSection, CountersRunAcrossTheSectionsOfOneCall)
{
    const std::string dl = Section("DL", "2, 0, 0, -1, 0, 0, 0,\n", UniformLoad(7));
    const std::string ll = Section("LL", "2, 0, 0, -2, 0, 0, 0,\n", UniformLoad(7) + UniformLoad(7));
    // Sections that follow each other are read by one call; an extra line between them ends the call,
    // and the next call numbers from 1 again.
    const struct {
        std::string between;
        V nodeLoads, memberLoads;
    } rows[] = {
        {"", {1, 2}, {1, 2, 3}},
        {"\n", {1, 1}, {1, 1, 2}},
    };
    for (const auto& row : rows) {
        Loaded m(kFrame + kCases + dl + row.between + ll);
        EXPECT_EQ(Ids(m.node(1).PointLoads), row.nodeLoads);
        EXPECT_EQ(Ids(m.member(0).LineLoads), row.memberLoads);
        ASSERT_EQ(m.points().GetSize(), 2);
        EXPECT_EQ(m.points()[1]->CaseID, 2);  // each section keeps its own load case
        ASSERT_EQ(m.lines().GetSize(), 3);
        EXPECT_EQ(m.lines()[0]->CaseID, 1);
        EXPECT_EQ(m.lines()[2]->CaseKind, 1);
        // The second call found the nodes and members of the first and built none.
        EXPECT_EQ(TranslatorAccess::Nodes(m.t).GetSize(), 4);
        EXPECT_EQ(TranslatorAccess::Lines(m.t).GetSize(), 3);
    }
}

TEST(LoadSection, SectionsEndAtTheEndLineOrTheEndOfTheFile)
{
    const std::string dl = "*USE-STLD, DL\n\n*CONLOAD\n1, 0, 0, -1, 0, 0, 0,\n\n";
    const struct {
        std::string text;
        std::vector<double> loads;  // FZ of the point loads made, in order
    } rows[] = {
        {dl + "; End of data\n\n" + Section("LL", "1, 0, 0, -2, 0, 0, 0,\n"), {-1, -2}},
        // The end line takes the line under it along: here LL's header, so LL is never read.
        {dl + "; End of data\n" + Section("LL", "1, 0, 0, -2, 0, 0, 0,\n"), {-1}},
        {dl, {-1}},                                                        // no end line before the end of file
        {"*USE-STLD, DL\n\n*CONLOAD\n1, 0, 0, -1, 0, 0, 0,", {-1}},       // nor a line end
        {dl + "*CONLOAD\n3, 0, 0, -5, 0, 0, 0,\n4, 0, 0, -6, 0, 0, 0,\n\n", {-5, -6}},  // the later block replaces
    };
    for (const auto& row : rows) {
        Loaded m(kFrame + kCases + row.text);
        std::vector<double> loads;
        for (const WorkPointLoad* load : m.points())
            loads.push_back(load->FZ);
        EXPECT_EQ(loads, row.loads) << row.text;
        EXPECT_EQ(TranslatorAccess::ConLoad(m.t), nullptr);
    }
}

TEST(LoadSection, SectionBeforeAnyLoadCaseNeverYieldsLoads)
{
    // DL's blocks are dropped when it is read; LL, read after *STLDCASE, has none of its own.
    Loaded m(kFrame + Section("DL", "1, 0, 0, -1, 0, 0, 0,\n", UniformLoad(7)) + kCases + Section("LL", ""));
    EXPECT_EQ(m.points().GetSize(), 0);
    EXPECT_EQ(m.lines().GetSize(), 0);
    EXPECT_EQ(Ids(m.node(0).PointLoads), V{});
    EXPECT_EQ(Ids(m.member(0).LineLoads), V{});
    EXPECT_EQ(TranslatorAccess::ConLoad(m.t), nullptr);
    EXPECT_EQ(TranslatorAccess::BeamLoad(m.t), nullptr);
}

namespace {

// Supports, end releases and groups stand after the load sections, which the load reader has
// already read; the extra blank lines give the following keyword line back to the driver.
const std::string kLoadedFrame = kFrame + kCases + Section("DL", "2, 0, 0, -10, 0, 0, 0,\n") + "\n" +
                                 Section("LL", "", UniformLoad(7)) + R"(
*CONSTRAINT
1, 111111,

*FRAME-RLS
   1, NO, 000011, 0, 0, 0, 0, 0, 0
          000001, 0, 0, 0, 0, 0, 0,

*GROUP
G1, , 1 3

)";

} // namespace

TEST(LoadClaim, HostReceivesOneSetOfNodesAndMembers)
{
    ModalData_Orvo model;
    ASSERT_TRUE(TranslateText(kLoadedFrame, model));
    ASSERT_EQ(model.m_Nodes.GetSize(), 4);
    ASSERT_EQ(model.m_Lines.GetSize(), 3);
    EXPECT_EQ(model.m_Nodes[0]->Restraint, 0xFC);
    EXPECT_EQ(Ids(model.m_Nodes[1]->PointLoads), V{1});
    const struct {
        unsigned char startRelease, endRelease;
        const char* group;
        V loads;
    } rows[] = {{0x0C, 0x04, "G1", {1}}, {0, 0, "", {}}, {0x0C, 0x0C, "G1", {}}};
    for (int i = 0; i < 3; ++i) {
        const Line_Orvo& line = *model.m_Lines[i];
        EXPECT_EQ(line.ID, i + 1);
        EXPECT_EQ(line.StartRelease, rows[i].startRelease) << i;
        EXPECT_EQ(line.EndRelease, rows[i].endRelease) << i;
        EXPECT_EQ(line.GroupName, rows[i].group) << i;
        EXPECT_EQ(Ids(line.LineLoads), rows[i].loads) << i;
    }
    EXPECT_EQ(model.m_PointLoads.GetSize(), 1);
    EXPECT_EQ(model.m_LineLoads.GetSize(), 1);
}

TEST(LoadClaim, WriteBeforeTranslationHandsOverTwoSets)
{
    MIDAStranslatetoOrvo t;
    TempFile file(kLoadedFrame);
    ASSERT_TRUE(t.ReadMidasFile(file.path().c_str()));
    t.Write();
    ModalData_Orvo model;
    ASSERT_TRUE(t.TranMidastoOrvo(model));
    ASSERT_EQ(model.m_Nodes.GetSize(), 8);
    ASSERT_EQ(model.m_Lines.GetSize(), 6);
    EXPECT_EQ(Ids(model.m_Nodes[1]->PointLoads), V{1});  // the loads stay on the first set
    EXPECT_EQ(Ids(model.m_Nodes[5]->PointLoads), V{});
    EXPECT_EQ(Ids(model.m_Lines[0]->LineLoads), V{1});
    EXPECT_EQ(Ids(model.m_Lines[3]->LineLoads), V{});
    EXPECT_EQ(model.m_Nodes[0]->Restraint, 0xFC);
    EXPECT_EQ(model.m_Lines[3]->StartRelease, 0x0C);
    EXPECT_EQ(model.m_Lines[3]->GroupName, "G1");
    EXPECT_EQ(model.m_PointLoads.GetSize(), 1);  // loads are made once, while reading
}

TEST(LoadClaim, NodeBlockReadAfterTheLoadsIsBuiltAnew)
{
    ModalData_Orvo model;
    ASSERT_TRUE(TranslateText(kLoadedFrame + "*NODE\n1, 0, 0, 0\n2, 4, 0, 0\n\n", model));
    ASSERT_EQ(model.m_Nodes.GetSize(), 6);  // the load reader's four, then the two of the new block
    EXPECT_EQ(Ids(model.m_Nodes[1]->PointLoads), V{1});
    EXPECT_EQ(model.m_Nodes[0]->Restraint, 0xFC);  // supports go to the first nodes of the collection
    EXPECT_EQ(model.m_Lines.GetSize(), 3);
}

TEST(LoadUnits, LoadsAreScaledToKilonewtonsAndMetres)
{
    // Member 1 is 6 file units long. Forces scale by F, moments of nodal loads by F x L x 0.001, forces
    // of member loads by F and their positions by L x 0.001; member moments keep what was read.
    const struct {
        const char* units;
        double memberEnd;
        double fz, mx, value, position2, momentPosition;
    } rows[] = {
        {"KN, MM", 6000, -10, 0.004, -2, 6, 3000},
        {"KN, M", 6, -10, 4, -2, 6, 3},
        {"N, MM", 6000, -10000, 4, -2000, 6, 3000},
    };
    for (const auto& row : rows) {
        const std::string text = std::string("*UNIT\n") + row.units + "\n\n*NODE\n1, 0, 0, 0\n2, " +
                                 std::to_string(row.memberEnd) + ", 0, 0\n\n*ELEMENT\n1, BEAM, 1, 1, 1, 2, 0\n\n" +
                                 kCases +
                                 Section("DL", "2, 0, 0, -10, 4, 0, 0,\n",
                                         "1, BEAM, UNILOAD, GZ, NO, 0, -2, 1, -2,\n"
                                         "1, BEAM, CONMOMENT, GY, NO, 0.5, 7, 0, 0, 0, 0, 0, 0,\n");
        ModalData_Orvo model;
        ASSERT_TRUE(TranslateText(text, model)) << row.units;
        ASSERT_EQ(model.m_PointLoads.GetSize(), 1);
        const PointLoad_Orvo& point = *model.m_PointLoads[0];
        EXPECT_DOUBLE_EQ(point.FZ, row.fz) << row.units;
        EXPECT_DOUBLE_EQ(point.MX, row.mx) << row.units;
        EXPECT_EQ(point.CaseID, 1);
        EXPECT_EQ(point.CaseKind, 0);
        ASSERT_EQ(model.m_LineLoads.GetSize(), 5);
        const LineLoad_Orvo& uniform = *model.m_LineLoads[0];
        EXPECT_EQ(uniform.LoadType, 1);
        EXPECT_EQ(uniform.Direction, 2);
        EXPECT_DOUBLE_EQ(uniform.Value1, row.value) << row.units;
        EXPECT_DOUBLE_EQ(uniform.Value2, row.value) << row.units;
        EXPECT_EQ(uniform.Position1, 0.0);
        EXPECT_DOUBLE_EQ(uniform.Position2, row.position2) << row.units;
        const LineLoad_Orvo& moment = *model.m_LineLoads[1];
        EXPECT_EQ(moment.LoadType, 3);
        EXPECT_EQ(moment.Value1, 7.0) << row.units;
        EXPECT_DOUBLE_EQ(moment.Position1, row.momentPosition) << row.units;
        EXPECT_EQ(Ids(model.m_Lines[0]->LineLoads), (V{1, 2}));
        EXPECT_EQ(Ids(model.m_Nodes[1]->PointLoads), V{1});
    }
}
