// Whole small models through the translation: renumbering, supports, releases, groups, units, and the
// current profile's addressing by number and load sections across repeated blocks.
#include "TestSupport.h"

namespace {

const char* const kFrame = "*UNIT\nKN, M, KJ, C\n\n*NODE\n10, 0, 0, 0\n20, 0, 0, 3\n30, 4, 0, 3\n40, 4, 0, 0\n\n"
                           "*ELEMENT\n5, BEAM, 1, 1, 10, 20, 0\n7, BEAM, 1, 1, 20, 30, 0\n8, TRUSS, 1, 1, 30, 40, 0\n"
                           "9, PLATE, 1, 1, 10, 20, 30, 40, 0\n11, TENSTR, 1, 1, 10, 99, 0\n\n"
                           "*CONSTRAINT\n1, 111000,\n4, 111111,\n2, 000000,\n\n"
                           "*FRAME-RLS\n   2, NO, 000011, 0, 0, 0, 0, 0, 0\n          000001, 0, 0, 0, 0, 0, 0,\n"
                           "   3, NO, 111111, 0, 0, 0, 0, 0, 0\n          111111, 0, 0, 0, 0, 0, 0,\n\n*GROUP\nA, , 1 2\nB, , 2 5\n\n";

// The host model in short: nodes "ID x y z restraint loads, ", members "| ID start-end releases group section
// material kind loads ", then nodal loads "| case/kind FZ " and member loads "| end position ".
std::string Summary(const ModalData_Orvo& m)
{
    std::string text;
    for (const Node_Orvo* n : m.m_Nodes)
        text += Num(n->ID) + " " + Num(n->X) + " " + Num(n->Y) + " " + Num(n->Z) + " " + Num(n->Restraint) + " " + Num(n->PointLoads.Count) + ", ";
    for (const Line_Orvo* l : m.m_Lines)
        text += "| " + Num(l->ID) + " " + Num(l->StartNode) + "-" + Num(l->EndNode) + " " + Num(l->StartRelease) + "/" + Num(l->EndRelease) +
                " " + l->GroupName + " " + Num(l->SectionID) + " " + Num(l->MaterialID) + " " + Num(l->Kind) + " " + Num(l->LineLoads.Count) + " ";
    for (const PointLoad_Orvo* p : m.m_PointLoads) text += "| " + Num(p->CaseID) + "/" + Num(p->CaseKind) + " " + Num(p->FZ) + " ";
    for (const LineLoad_Orvo* l : m.m_LineLoads) text += "| " + Num(l->Position2) + " ";
    return text;
}

} // namespace

TEST(Translation, RenumbersScalesRestrainsReleasesAndGroups)
{
    // The plate is no line member; element 2 is released and listed by A then B; a truss is pinned
    // whatever *FRAME-RLS says; an unknown end node keeps the file's number.
    const std::pair<std::string, const char*> rows[] = {
        {kFrame, "1 0 0 0 224 0, 2 0 0 3000 0 0, 3 4000 0 3000 0 0, 4 4000 0 0 252 0, | 1 1-2 0/0 A 1 1 0 0 | 2 2-3 12/4 B 1 1 0 0 "
                 "| 3 3-4 12/12  1 1 0 0 | 4 1-99 12/12 B 1 1 0 0 "},
        {"*UNIT\nKN,MM\n\n*NODE\n1,0,0,0\n7,1,0,0\n7,2,0,0\n\n*ELEMENT\n1,BEAM,1,1,7,1,0\n\n", "1 0 0 0 0 0, 2 1 0 0 0 0, 3 2 0 0 0 0, | 1 2-1 0/0  1 1 0 0 "},
        {"*UNIT\nKN,MM\n\n*ELEMENT\n3,BEAM,2,4,5,6,0\n\n", "| 1 5-6 0/0  4 2 0 0 "},  // elements without nodes still become lines
        // numbers outside the blocks are passed over: element 7 ends the group step before element 1, and
        // release 9 the release step before element 1
        {"*UNIT\nKN,MM\n\n*NODE\n1,0,0,0\n2,1,0,0\n\n*ELEMENT\n1,BEAM,1,1,1,2,0\n2,BEAM,1,1,2,1,0\n\n*CONSTRAINT\n0 -1 9 2, 111111,\n\n"
         "*GROUP\nG, , 0 -3 2 7 1\n\n*FRAME-RLS\n0, NO, 100000, 0\n000001,\n 9, NO, 100000, 0\n000001,\n 1, NO, 100000, 0\n000001,\n\n",
         "1 0 0 0 0 0, 2 1 0 0 252 0, | 1 1-2 0/0  1 1 0 0 | 2 2-1 0/0 G 1 1 0 0 "}};
    for (const auto& [text, summary] : rows) {
        const Translated m(text);
        EXPECT_TRUE(m.ok && m.model.m_bUpdated);
        EXPECT_EQ(Summary(m.model), summary) << text.substr(0, 60);
    }
}

TEST(Units, LengthFactorsAndForceRefusalsInBothProfiles)
{
    // (profile, unit line, x of a node at 1.5, or the force unit a refusal names; missing or unknown units fail quietly)
    const std::tuple<MidasReadingProfile, const char*, double, const char*> rows[] = {
        {kClassic, "KN,MM", 1.5, ""}, {kClassic, "KN,M", 1500, ""}, {kClassic, "KN,CM", 15, ""}, {kClassic, "KN,IN", 1.5 * 25.4, ""},
        {kClassic, "KN,FT", 1.5 * 304.8, ""}, {kClassic, "N,MM", 1.5, ""}, {kClassic, "kn,MM", 1.5, ""}, {kClassic, "KGF, M, KJ, C", 0, "KGF"},
        {kClassic, "TONF, M", 0, "TONF"}, {kClassic, "LBF, M", 0, "LBF"}, {kClassic, "KIPS, M", 0, "KIPS"}, {kCurrent, "DAN, MM", 0, "DAN"},
        {kCurrent, "KN, M", 1500, ""}, {kClassic, "", 0, nullptr}, {kClassic, "KN,mm", 0, nullptr}, {kClassic, "KN,KM", 0, nullptr}};
    for (const auto& [profile, units, x, message] : rows) {
        MessageCapture messages;
        Translated m(std::string("*UNIT\n") + units + "\n\n*NODE\n1,1.5,0,0\n\n", profile);
        EXPECT_EQ(m.ok, message && !*message) << units;
        EXPECT_EQ(m.model.m_bUpdated, m.ok) << units;
        EXPECT_EQ(m.ok ? m.model.m_Nodes[0]->X : m.model.m_Nodes.GetSize(), m.ok ? x : 0) << units;
        const std::string unit = message ? message : "";  // the classic text exactly; today's names the unit
        ASSERT_EQ(messages.texts.size(), unit.empty() ? 0u : 1u) << units;
        EXPECT_TRUE(unit.empty() || (profile == kClassic ? messages.texts[0] == unit + " Can't Convert,Please use KN,mm Unit!"
                                                         : messages.texts[0].find('"' + unit + '"') != std::string::npos)) << messages.texts[0];
    }
    for (const char* text : {"", "*NODE\n1,0,0,0\n", "*UNIT\nKN,MM\n"})  // no unit block, or nothing but units
        EXPECT_EQ(Translated(text).ok, *text == '*' && text[1] == 'U') << text;
}

TEST(CurrentProfile, NumbersAddressRecordsAndLoadSectionsChainAcrossRepeatedBlocks)
{
    const std::pair<const char*, const char*> rows[] = {
        // sections, supports, releases and groups by number, ranges walking the numbers that exist (up, down, by
        // steps); blocks met again add their records (and their numbers)
        {"*UNIT\nKN,MM\n*NODE\n100,0,0,0\n200,0,0,1\n*ELEMENT\n51,BEAM,1,7,100,200,0\n*NODE\n300,1,0,1\n*ELEMENT\n52,BEAM,1,7,200,300,0\n"
         "*SECTION\n7, DBUSER, B, CC, 0, 0, 0, 0, 0, 0, YES, NO, SB, 2, 400, 200\n*CONSTRAINT\n100 2000000000to250by-50 999, 111111,\n"
         "*FRAME-RLS\n52, NO, 000011, 0, 0, 0, 0, 0, 0\n   000001, 0, 0, 0, 0, 0, 0, GRP\n1, NO, 000011, 0, 0, 0, 0, 0, 0\n   000001, 0, 0, 0, 0, 0, 0,\n"
         "*GROUP\nBeams, 100to300by100, 1to2147483647, 0\nB2, , 52to2000000000by2, 0\n",
         "1 0 0 0 252 0, 2 0 0 1 0 0, 3 1 0 1 252 0, | 1 1-2 0/0 Beams 1 0 0 0 | 2 2-3 12/4 B2 1 0 0 0 "},
        // a load on each node of a list; DL2 is a name of its own, not DL inside it; after the end marker
        // comments and blank lines are passed over, and the driver reads *CONSTRAINT after the loads
        {"*UNIT\nKN,M\n*NODE\n1,0,0,0\n2,4,0,0\n3,8,0,0\n*ELEMENT\n1,BEAM,1,1,1,2,0\n2,BEAM,1,1,2,3,0\n*STLDCASE\nDL, D\nDL2, L\n"
         "*USE-STLD, DL\n*SELFWEIGHT, 0, 0, -1\n*CONLOAD\n1 3 ,0,0,-5,0,0,0,\n"
         "*BEAMLOAD\n 1to2, BEAM, UNILOAD, GZ, NO, NO, aDir[1], , , , 0, -2, 1, -2, 0, 0, 0, 0, , NO,\n"
         "; End of data for load case [DL] -------------------------\n\n; comment\n*USE-STLD, DL2\n*CONLOAD\n2, 0, 0, -7, 0, 0, 0,\n"
         "; End of data for load case [DL2]\n\n*LOADCOMB\nC1, GEN, ACTIVE, 0, 0, , 0, 0\n*CONSTRAINT\n1, 111111,\n",
         "1 0 0 0 252 1, 2 4000 0 0 0 1, 3 8000 0 0 0 1, | 1 1-2 0/0  1 0 0 1 | 2 2-3 0/0  1 0 0 1 | 1/0 -5 | 1/0 -5 | 2/1 -7 | 4 | 4 "},
        // load sections between repeated blocks: each node and member is built once and keeps its loads
        {"*UNIT\nKN,MM\n*STLDCASE\nDL, D\n*NODE\n1,0,0,0\n*ELEMENT\n1,BEAM,1,1,1,2,0\n*USE-STLD, DL\n*CONLOAD\n1,0,0,-1,0,0,0,\n"
         "; End of data for load case [DL]\n*NODE\n2,0,0,1000\n*ELEMENT\n2,BEAM,1,1,2,1,0\n*USE-STLD, DL\n*CONLOAD\n2,0,0,-2,0,0,0,\n"
         "*BEAMLOAD\n2, BEAM, UNILOAD, GZ, NO, NO, aDir[1], , , , 0, -2, 1, -2\n; End of data for load case [DL]\n*GROUP\nG, , 1to2\n",
         "1 0 0 0 0 1, 2 0 0 1000 0 1, | 1 1-2 0/0 G 1 0 0 0 | 2 2-1 0/0 G 1 0 0 1 | 1/0 -1 | 1/0 -2 | 1 "}};  // a 1000 mm member, positions in m
    for (const auto& [text, summary] : rows) {
        const Translated m(text, kCurrent);
        EXPECT_TRUE(m.ok);
        EXPECT_EQ(Summary(m.model), summary);
    }
}
