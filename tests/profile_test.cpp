// The current reading profile end to end: numbers that address records, load lists and chained load
// sections, and repeated blocks around them.
#include "TestSupport.h"

// The host model in short: nodes "ID x restraint loads", members "start-end releases group loads", nodal
// loads "case/kind FZ", member loads "end position".
static std::string Summary(const ModalData_Orvo& m)
{
    std::string text;
    for (const Node_Orvo* n : m.m_Nodes)
        text += std::to_string(n->ID) + " " + Num(n->X) + " " + std::to_string(n->Restraint) + " " + std::to_string(n->PointLoads.Count) + ", ";
    for (const Line_Orvo* l : m.m_Lines)
        text += "| " + std::to_string(l->StartNode) + "-" + std::to_string(l->EndNode) + " " + std::to_string(l->StartRelease) + "/" +
                std::to_string(l->EndRelease) + " " + l->GroupName + " " + std::to_string(l->LineLoads.Count) + " ";
    for (const PointLoad_Orvo* p : m.m_PointLoads) text += "| " + std::to_string(p->CaseID) + "/" + std::to_string(p->CaseKind) + " " + Num(p->FZ) + " ";
    for (const LineLoad_Orvo* l : m.m_LineLoads) text += "| " + Num(l->Position2) + " ";
    return text;
}

TEST(CurrentProfile, NumbersAddressRecordsAndLoadSectionsChainAcrossRepeatedBlocks)
{
    const std::pair<const char*, const char*> rows[] = {
        // supports, releases and groups by number; blocks met again add their records (and their numbers)
        {"*UNIT\nKN,MM\n*NODE\n100,0,0,0\n200,0,0,1\n*ELEMENT\n51,BEAM,1,1,100,200,0\n*NODE\n300,1,0,1\n*ELEMENT\n52,BEAM,1,1,200,300,0\n"
         "*CONSTRAINT\n100 300 999, 111111,\n*FRAME-RLS\n52, NO, 000011, 0, 0, 0, 0, 0, 0\n   000001, 0, 0, 0, 0, 0, 0, GRP\n"
         "1, NO, 000011, 0, 0, 0, 0, 0, 0\n   000001, 0, 0, 0, 0, 0, 0,\n*GROUP\nBeams, 100to300by100, 51to52, 0\n",
         "1 0 252 0, 2 0 0 0, 3 1 252 0, | 1-2 0/0 Beams 0 | 2-3 12/4 Beams 0 "},
        // a load on each node of a list; DL2 is a name of its own, not DL inside it; after the end marker
        // comments and blank lines are passed over, and the driver reads *CONSTRAINT after the loads
        {"*UNIT\nKN,M\n*NODE\n1,0,0,0\n2,4,0,0\n3,8,0,0\n*ELEMENT\n1,BEAM,1,1,1,2,0\n2,BEAM,1,1,2,3,0\n*STLDCASE\nDL, D\nDL2, L\n"
         "*USE-STLD, DL\n*SELFWEIGHT, 0, 0, -1\n*CONLOAD\n1 3 ,0,0,-5,0,0,0,\n"
         "*BEAMLOAD\n 1to2, BEAM, UNILOAD, GZ, NO, NO, aDir[1], , , , 0, -2, 1, -2, 0, 0, 0, 0, , NO,\n"
         "; End of data for load case [DL] -------------------------\n\n; comment\n*USE-STLD, DL2\n*CONLOAD\n2, 0, 0, -7, 0, 0, 0,\n"
         "; End of data for load case [DL2]\n\n*LOADCOMB\nC1, GEN, ACTIVE, 0, 0, , 0, 0\n*CONSTRAINT\n1, 111111,\n",
         "1 0 252 1, 2 4000 0 1, 3 8000 0 1, | 1-2 0/0  1 | 2-3 0/0  1 | 1/0 -5 | 1/0 -5 | 2/1 -7 | 4 | 4 "},
        // load sections between repeated blocks: each node and member is built once and keeps its loads
        {"*UNIT\nKN,MM\n*STLDCASE\nDL, D\n*NODE\n1,0,0,0\n*ELEMENT\n1,BEAM,1,1,1,2,0\n*USE-STLD, DL\n*CONLOAD\n1,0,0,-1,0,0,0,\n"
         "; End of data for load case [DL]\n*NODE\n2,0,0,1000\n*ELEMENT\n2,BEAM,1,1,2,1,0\n*USE-STLD, DL\n*CONLOAD\n2,0,0,-2,0,0,0,\n"
         "*BEAMLOAD\n2, BEAM, UNILOAD, GZ, NO, NO, aDir[1], , , , 0, -2, 1, -2\n; End of data for load case [DL]\n*GROUP\nG, , 1to2\n",
         "1 0 0 1, 2 0 0 1, | 1-2 0/0 G 0 | 2-1 0/0 G 1 | 1/0 -1 | 1/0 -2 | 1 "}};  // a 1000 mm member, positions in m
    for (const auto& [text, summary] : rows) {
        const Translated m(text, kCurrent);
        EXPECT_TRUE(m.ok);
        EXPECT_EQ(Summary(m.model), summary);
    }
}
