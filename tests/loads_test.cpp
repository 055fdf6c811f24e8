// Load cases, nodal loads and member loads: from the *USE-STLD sections to the host's load records.
#include "TestSupport.h"

#include <tuple>

namespace {

// A frame in kN and m: member 7 is 4 m long, member 8 (listed end node first) 3 m, truss 9 6 m.
const std::string kFrame = "*UNIT\nKN, M, KJ, C\n\n*NODE\n1, 0, 0, 0\n2, 4, 0, 0\n3, 4, 0, 3\n4, 0, 0, 6\n\n"
                           "*ELEMENT\n7, BEAM, 1, 1, 1, 2, 0\n8, BEAM, 1, 1, 3, 2, 0\n9, TRUSS, 1, 1, 1, 4, 0\n\n";
const std::string kCases = "*STLDCASE\nDL, D, dead\nLL, L, live\nWL, W, wind\n\n";

// One load section as MIDAS writes it: header, the two load blocks, the end line and a blank line.
std::string Section(const std::string& name, const std::string& conLoads, const std::string& beamLoads = "")
{
    return "*USE-STLD, " + name + "\n\n" +
           (conLoads.empty() ? "" : "*CONLOAD    ; Nodal Loads\n; NODE_LIST, FX, FY, FZ, MX, MY, MZ, GROUP\n" + conLoads + "\n") +
           (beamLoads.empty() ? "" : "*BEAMLOAD    ; Element Beam Loads\n" + beamLoads + "\n") + "; End of data for load case [" + name +
           "] -------------------------\n\n";
}

std::string UniformLoad(int element) { return "   " + Num(element) + ", BEAM, UNILOAD, GZ, NO, 0, -2, 1, -3, 0, 0, 0, 0,\n"; }

// Loads, working or host: nodal ones as "FX FY FZ MX MY MZ; ...", member ones as
// "type direction position1:value1 position2:value2; ...", each with "case/kind " before it where asked.
template <class Loads>
std::string Text(const Loads& loads, bool withCase = false)
{
    std::string text;
    for (const auto* l : loads) {
        text += withCase ? Num(l->CaseID) + "/" + Num(l->CaseKind) + " " : "";
        if constexpr (requires { l->FX; })
            text += Num(l->FX) + " " + Num(l->FY) + " " + Num(l->FZ) + " " + Num(l->MX) + " " + Num(l->MY) + " " + Num(l->MZ) + "; ";
        else
            text += Num(l->LoadType) + " " + Num(l->Direction) + " " + Num(l->Position1) + ":" + Num(l->Value1) +
                    " " + Num(l->Position2) + ":" + Num(l->Value2) + "; ";
    }
    return text;
}

// The load numbers listed by each node, then by each member: "[] [1] / [1 2] [] ".
template <class Nodes, class Lines>
std::string Lists(const Nodes& nodes, const Lines& lines)
{
    std::string text;
    for (const auto* node : nodes) text += "[" + Ids(node->PointLoads) + "] ";
    text += "/ ";
    for (const auto* line : lines) text += "[" + Ids(line->LineLoads) + "] ";
    return text;
}

// The translator's state after reading a model text (the loads are made while reading).
struct Loaded {
    Translation t;
    explicit Loaded(const std::string& text) { ReadText(t, text); }
    std::string points(bool withCase = false) const { return Text(t.m_PointLoadArray, withCase); }
    std::string lines(bool withCase = false) const { return Text(t.m_LineLoadArray, withCase); }
    std::string lists() const { return Lists(t.m_NodeArray, t.m_LineArray); }
};

} // namespace

TEST(LoadCase, SectionTakesTheFirstLoadCaseNamedInsideIt)
{
    // (load cases, section name, "case/kind" of its nodal and member load)
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"DL, D\nLL, L\n", "DL", "1/0"}, {"DL, D\nLL, L\n", "LL", "2/1"},
        {"L, L\nLL, D\n", "LL", "1/1"},  // 'L' stands inside 'LL' and comes first
        {"LL, D\nL, W\n", "LL", "1/0"}, {"LL, D\nL, W\n", "L", "2/2"},  // the order of *STLDCASE decides
        {"DL, D\n", "XDLY", "1/0"}, {"XY, W\nB, D\nAB, L\n", "ZAB", "2/0"},  // anywhere inside the name, first in file order
        {"DL 1, D\n", "DL 1", "1/0"},  // spaces go from both names
        {"DL, D\n", "dl", "0/-1"}, {"DL, D\n", "LL", "0/-1"},  // case-sensitive; no load case named: case 0, no kind
        {"S, SNOW\n", "S", "1/1"}, {"S, d\n", "S", "1/1"}, {"S\n", "S", "1/1"}};  // other type words, or none: live
    for (const auto& [cases, section, expected] : rows) {
        Loaded m(kFrame + "*STLDCASE\n" + cases + "\n" + Section(section, "1, 0, 0, -10, 0, 0, 0,\n", UniformLoad(7)));
        EXPECT_EQ(m.points(true) + m.lines(true), expected + std::string(" 0 0 -10 0 0 0; ") + expected + " 1 2 0:-2 4:-3; ") << section;
    }
}

TEST(MemberLoad, RecordsBecomeEntriesAtFractionsOfTheMemberLength)
{
    // Concentrated loads make an entry per (distance, value) pair, all four; uniform ones one over the first
    // two pairs. Type and direction words are case-sensitive: an unknown type makes no entry, an unknown
    // direction direction -1, and the member lists a number for each record all the same. The long line form
    // has two more words before the pairs; a line starting "aDir" ends the block.
    Loaded m(kFrame + kCases +
             Section("DL", "",
                     "7, BEAM, CONLOAD, GZ, NO, 0.25, -10, 0.5, -5, 0, 0, 0, 0,\n"
                     "8, BEAM, CONMOMENT, LY, NO, 1, 7, 0, 0, 0, 0, 0.5, 2,\n"
                     "9, BEAM, UNILOAD, GX, NO, 0.5, -2, 1, -4, 0.1, 99, 0.2, 99,\n8, BEAM, UNIMOMEMT, LZ, NO, 0, 3, 1, 3,\n"
                     "   8, LINE   , UNILOAD, GZ, NO , NO, aDir[1], , , , 0, -2, 1, -3, 0, 0, 0, 0, G, NO, 0, 0, NO,\n"
                     "7, BEAM, UNILOAD, GY, NO, 0, 1, 1, 1,\n7, BEAM, UNILOAD, LX, NO, 0, 1, 1, 1,\n"
                     "7, BEAM, UNILOAD, gz, NO, 0, 1, 1, 1,\n7, BEAM, UNILOAD, X, NO, 0, 1, 1, 1,\n"
                     "7, BEAM, UNIMOMENT, GZ, NO, 0, 1, 1, 1,\n"  // only the file's own spelling is a uniform moment
                     "7, BEAM, uniload, GZ, NO, 0, 1, 1, 1,\n7, BEAM, TRAPLOAD, GZ, NO, 0, 1, 1, 1,\n"
                     "aDir[1], 8, BEAM, UNILOAD, GZ, NO, 0, -2, 1, -3,\n" + UniformLoad(7)));
    EXPECT_EQ(m.lines(), "2 2 1:-10 0:0; 2 2 2:-5 0:0; 2 2 0:0 0:0; 2 2 0:0 0:0; "  // member 7: 4 m
                         "3 5 3:7 0:0; 3 5 0:0 0:0; 3 5 0:0 0:0; 3 5 1.5:2 0:0; "   // member 8: 3 m, ends reversed
                         "1 0 3:-2 6:-4; "                                          // member 9: 6 m
                         "4 4 0:3 3:3; 1 2 0:-2 3:-3; 1 1 0:1 4:1; 1 3 0:1 4:1; 1 -1 0:1 4:1; 1 -1 0:1 4:1; ");
    EXPECT_EQ(m.lists(), "[] [] [] [] / [1 6 7 8 9 10 11 12] [2 4 5] [3] ");
    // The length runs from the first start node to the last end node. Elements 1 to 5: origin to the last
    // node 2 (3, 4, 0); the first node 2 (3, 0, 0) to the last node 1 (10, 0, 0); a missing start node, then
    // a missing end node, stands at the origin; none. Nothing outside the elements, nor before the steps ran.
    Translation t, withoutNodes;
    EXPECT_EQ(t.GetElementLength(0), 0.0);
    ReadText(t, "*NODE\n1, 0, 0, 0\n2, 3, 0, 0\n1, 10, 0, 0\n2, 3, 4, 0\n5, 0, 0, 12\n\n*ELEMENT\n1, BEAM, 1, 1, 1, 2, 0\n"
                "2, BEAM, 1, 1, 2, 1, 0\n3, BEAM, 1, 1, 9, 5, 0\n4, TRUSS, 1, 1, 5, 9, 0\n5, BEAM, 1, 1, 9, 9, 0\n\n");
    ReadText(withoutNodes, "*ELEMENT\n1, BEAM, 1, 1, 1, 2, 0\n\n");
    t.Write(), withoutNodes.Write();
    std::string lengths;
    for (int i = -1; i < 6; ++i) lengths += Num(t.GetElementLength(i)) + " ";
    EXPECT_EQ(lengths + Num(withoutNodes.GetElementLength(0)) + Num(withoutNodes.m_LineArray.GetSize()), "0 5 7 12 12 0 0 01");
}

TEST(LoadSection, LoadsFindTheirTargetsAndCountersRunOverOneCall)
{
    // A nodal load loads the first node of a list ("3to5": 3). A load on a node or member that does not exist
    // is made and listed nowhere, the counter does not move for it, and an unknown member has no length.
    const Loaded missing(kFrame + kCases + Section("DL", "99, 0, 0, -1, 0, 0, 0,\n2, 0, 0, -2, 0, 0, 0,\n3to5, 1, 2, -3, 4, 5, 6, G1\n",
                                                   "99, BEAM, UNILOAD, GZ, NO, 0.5, -2, 1, -3,\n" + UniformLoad(9)));
    EXPECT_EQ(missing.points(true), "1/0 0 0 -1 0 0 0; 1/0 0 0 -2 0 0 0; 1/0 1 2 -3 4 5 6; ");
    EXPECT_EQ(missing.lines(true), "1/0 1 2 0:-2 0:-3; 1/0 1 2 0:-2 6:-3; ");
    EXPECT_EQ(missing.lists(), "[] [1] [2] [] / [] [] [1] ");
    // Repeated numbers load the first node and member; the member runs to the last node with its end number.
    Loaded repeated("*NODE\n1, 0, 0, 0\n2, 5, 0, 0\n1, 9, 9, 9\n2, 3, 4, 0\n\n*ELEMENT\n7, BEAM, 1, 1, 1, 2, 0\n"
                    "7, BEAM, 1, 1, 2, 1, 0\n\n" + kCases + Section("DL", "1, 0, 0, -1, 0, 0, 0,\n", UniformLoad(7)));
    EXPECT_EQ(repeated.lists(), "[1] [] [] [] / [1] [] ");
    EXPECT_EQ(repeated.lines(), "1 2 0:-2 5:-3; ");
    const std::string dl = Section("DL", "2, 0, 0, -1, 0, 0, 0,\n", UniformLoad(7));
    const std::string ll = Section("LL", "2, 0, 0, -2, 0, 0, 0,\n", UniformLoad(7) + UniformLoad(7));
    // Sections that follow each other are read by one call; an extra line between them ends the call,
    // and the next call numbers from 1 again, finding the nodes and members of the first.
    for (const auto& [between, lists] : {std::pair{"", "[] [1 2] [] [] / [1 2 3] [] [] "}, {"\n", "[] [1 1] [] [] / [1 1 2] [] [] "}}) {
        Loaded m(kFrame + kCases + dl + between + ll);
        EXPECT_EQ(m.lists(), lists);
        EXPECT_EQ(m.points(true) + m.lines(true), "1/0 0 0 -1 0 0 0; 2/1 0 0 -2 0 0 0; 1/0 1 2 0:-2 4:-3; 2/1 1 2 0:-2 4:-3; "
                                                  "2/1 1 2 0:-2 4:-3; ");  // each section keeps its own load case
    }
    const std::string head = "*USE-STLD, DL\n\n*CONLOAD\n1, 0, 0, -1, 0, 0, 0,\n\n";
    const std::pair<std::string, const char*> rows[] = {
        {head + "; End of data\n\n" + Section("LL", "1, 0, 0, -2, 0, 0, 0,\n"), "0 0 -1 0 0 0; 0 0 -2 0 0 0; "},
        {head + "; End of data\n" + Section("LL", "1, 0, 0, -2, 0, 0, 0,\n"), "0 0 -1 0 0 0; "},  // the end line takes LL's header
        {head, "0 0 -1 0 0 0; "}, {"*USE-STLD, DL\n\n*CONLOAD\n1, 0, 0, -1, 0, 0, 0,", "0 0 -1 0 0 0; "},  // the end of the file
        {head + "*CONLOAD\n3, 0, 0, -5, 0, 0, 0,\n4, 0, 0, -6, 0, 0, 0,\n\n", "0 0 -5 0 0 0; 0 0 -6 0 0 0; "}};  // the later block wins
    for (const auto& [text, loads] : rows) EXPECT_EQ(Loaded(kFrame + kCases + text).points(), loads) << text;
    // Member loads are made as their block is read: a later *BEAMLOAD of the section takes back what the
    // earlier one made (classic; member 7 had six load numbers for a moment), today's layout keeps both.
    const std::string twoBlocks = Section("DL", "", Times(3, UniformLoad(7))) + "*USE-STLD, LL\n\n*BEAMLOAD\n" +
                                  Times(3, UniformLoad(7)) + "\n*BEAMLOAD\n" + UniformLoad(8) + "\n; End of data\n\n";
    for (const auto& [profile, lists] : {std::pair{kClassic, "/ [1 2 3] [4] [] "}, {kCurrent, "/ [1 2 3 4 5 6] [7] [] "}}) {
        Translation t;
        t.SetReadingProfile(profile);
        ReadText(t, kFrame + kCases + twoBlocks);
        EXPECT_EQ(Lists(std::vector<WorkNode*>(), t.m_LineArray), lists);
        EXPECT_EQ(t.m_LineLoadArray.GetSize(), profile == kClassic ? 4 : 7);
    }
    // A section read before any load case drops its blocks; LL, after *STLDCASE, has none of its own.
    Loaded early(kFrame + Section("DL", "1, 0, 0, -1, 0, 0, 0,\n", UniformLoad(7)) + kCases + Section("LL", ""));
    EXPECT_EQ(early.points() + early.lines() + early.lists(), "[] [] [] [] / [] [] [] ");
}

TEST(LoadClaim, HostReceivesOneSetOfNodesAndMembersUnlessWrittenBefore)
{
    // Supports, releases and groups after the load sections (the blank lines hand their keyword lines back to
    // the driver). A node block after the loads is built anew after the load reader's four nodes; a Write
    // before the translation hands over a second set, the loads made while reading staying on the first.
    const std::string loaded = kFrame + kCases + Section("DL", "2, 0, 0, -10, 0, 0, 0,\n") + "\n" + Section("LL", "", UniformLoad(7)) +
                               "\n*CONSTRAINT\n1, 111111,\n\n*FRAME-RLS\n   1, NO, 000011, 0, 0, 0, 0, 0, 0\n"
                               "          000001, 0, 0, 0, 0, 0, 0,\n\n*GROUP\nG1, , 1 3\n\n";
    const std::tuple<std::string, bool, const char*, const char*> rows[] = {
        {"", false, "[] [1] [] [] / [1] [] [] ", "1 12 4 G1, 2 0 0 , 3 12 12 G1, "},
        {"*NODE\n1, 0, 0, 0\n2, 4, 0, 0\n\n", false, "[] [1] [] [] [] [] / [1] [] [] ", "1 12 4 G1, 2 0 0 , 3 12 12 G1, "},
        {"", true, "[] [1] [] [] [] [] [] [] / [1] [] [] [] [] [] ", "1 12 4 G1, 2 0 0 , 3 12 12 G1, 4 12 4 G1, 5 0 0 , 6 12 12 G1, "}};
    for (const auto& [after, writeFirst, lists, fixings] : rows) {
        Translation t;
        ReadText(t, loaded + after);
        if (writeFirst) t.Write();
        ModalData_Orvo model;
        ASSERT_TRUE(t.TranMidastoOrvo(model));
        EXPECT_EQ(Lists(model.m_Nodes, model.m_Lines), lists);
        std::string text;  // each member's number, start and end release and group
        for (const Line_Orvo* l : model.m_Lines)
            text += Num(l->ID) + " " + Num(l->StartRelease) + " " + Num(l->EndRelease) + " " + l->GroupName + ", ";
        EXPECT_EQ(text, fixings);
        // Supports go to the first nodes of the collection, not to repeats; the loads are made once.
        int restraints = model.m_Nodes[0]->Restraint == 0xFC ? 0 : -1000;
        for (const Node_Orvo* n : model.m_Nodes) restraints += n->Restraint;
        EXPECT_EQ(restraints + model.m_PointLoads.GetSize() * 1000 + model.m_LineLoads.GetSize() * 100, 0xFC + 1100);
    }
}

TEST(LoadUnits, LoadsAreScaledToKilonewtonsAndMetres)
{
    // Member 1 is 6 file units long. Forces scale by F, moments of nodal loads by F x L x 0.001, forces
    // of member loads by F and their positions by L x 0.001; member moments keep what was read.
    const std::tuple<const char*, const char*, const char*, const char*> rows[] = {
        {"KN, MM", "6000", "1/0 0 0 -10 0.004 0 0; ", "1 2 3:-2 6:-2; 3 1 3000:7 0:0; "},
        {"KN, M", "6", "1/0 0 0 -10 4 0 0; ", "1 2 3:-2 6:-2; 3 1 3:7 0:0; "},
        {"N, MM", "6000", "1/0 0 0 -10000 4 0 0; ", "1 2 3:-2000 6:-2000; 3 1 3000:7 0:0; "}};
    for (const auto& [units, memberEnd, points, lines] : rows) {
        Translated m(std::string("*UNIT\n") + units + "\n\n*NODE\n1, 0, 0, 0\n2, " + memberEnd + ", 0, 0\n\n*ELEMENT\n"
                     "1, BEAM, 1, 1, 1, 2, 0\n\n" + kCases +
                     Section("DL", "2, 0, 0, -10, 4, 0, 0,\n",
                             "1, BEAM, UNILOAD, GZ, NO, 0.5, -2, 1, -2,\n1, BEAM, CONMOMENT, GY, NO, 0.5, 7, 0, 0, 0, 0, 0, 0,\n"));
        ASSERT_TRUE(m.ok) << units;
        EXPECT_EQ(Text(m.model.m_PointLoads, true), points) << units;
        EXPECT_EQ(Text(m.model.m_LineLoads), lines + std::string("3 1 0:0 0:0; 3 1 0:0 0:0; 3 1 0:0 0:0; ")) << units;
        EXPECT_EQ(Lists(m.model.m_Nodes, m.model.m_Lines), "[] [1] / [1 2] ");
    }
}
