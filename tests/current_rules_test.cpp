// Today's files as scripts write them: supports over several lines, load blocks long after their load
// case, load-case types, values without a host field; and two corner cases of the classic layout.
#include "TestSupport.h"

#include <map>

namespace {

struct Kinds : MidasDiagnostics {
    std::map<MidasFinding, int> count;
    void Report(const MidasFindingInfo& f) override { count[f.kind] += f.count; }
};

struct Import {
    ModalData_Orvo model;
    Kinds kinds;
    Import(const std::string& text, MidasReadingProfile profile = MidasReadingProfile::Current)
    {
        MIDAStranslatetoOrvo t;
        t.SetReadingProfile(profile);
        t.SetDiagnostics(&kinds);
        TempFile file(text);
        EXPECT_TRUE(t.ReadMidasFile(file.path().c_str()) && t.TranMidastoOrvo(model));
    }
};

const std::string kFrame = "*UNIT\nKN, M, KJ, C\n*NODE\n1, 0, 0, 0\n2, 3, 0, 4\n3, 6, 0, 0\n"
                           "*ELEMENT\n1, BEAM, 1, 1, 1, 2, 0\n2, TENSTR, 1, 1, 2, 3, 0, 3, 0, 150\n";

} // namespace

TEST(CurrentRules, SupportLinesUniteAndLoadBlocksJoinTheLastLoadCase)
{
    Import r(kFrame + "*CONSTRAINT\n1, 100000,\n1, 010000,\n1 3, 001000,\n*STLDCASE\nDL, D,\nST, CS,\nQ, XYZ,\n"
                   "*USE-STLD, ST\n*CONLOAD\n2, 0, 0, -1, 0, 0, 0,\n; End of data\n*GROUP\nG, , 1\n"
                   "*CONLOAD\n2, 0, 0, -2, 0, 0, 0,\n*USE-STLD, Q\n*BEAMLOAD\n1, BEAM, UNILOAD, GZ, NO, NO, aDir[1], , , , 0, -1, 1, -1, 0, 0, 0, 0,\n");
    EXPECT_EQ(int(r.model.m_Nodes.GetAt(0)->Restraint), 0xE0);  // X, Y and Z from three lines
    EXPECT_EQ(int(r.model.m_Nodes.GetAt(2)->Restraint), 0x20);
    ASSERT_EQ(r.model.m_PointLoads.GetSize(), 2);  // the second *CONLOAD, after *GROUP, still belongs to ST
    EXPECT_EQ(r.model.m_PointLoads.GetAt(1)->CaseID, 2);
    EXPECT_EQ(r.model.m_PointLoads.GetAt(1)->CaseKind, 0);  // a construction stage is dead load
    EXPECT_EQ(r.model.m_LineLoads.GetAt(0)->CaseKind, 1);    // an unknown type is live, and named
    EXPECT_EQ(r.kinds.count[MidasFinding::UnknownLoadCaseType], 1);
    EXPECT_EQ(r.kinds.count[MidasFinding::CablePretension], 1);
}

TEST(CurrentRules, ProjectedLoadsBecomeLoadsPerMemberLength)
{
    // Member 1 runs 3 m across and 4 m up (5 m long): 10 kN per m of its plan length is 6 kN per m of it.
    Import r(kFrame + "*STLDCASE\nDL, D,\n*USE-STLD, DL\n*BEAMLOAD\n"
                   "1, BEAM, UNILOAD, GZ, YES, YES, LZ, 0.1, 0.1, NO, 0, -10, 1, -10, 0, 0, 0, 0,\n");
    ASSERT_EQ(r.model.m_LineLoads.GetSize(), 1);
    EXPECT_DOUBLE_EQ(r.model.m_LineLoads.GetAt(0)->Value1, -6.0);
    EXPECT_EQ(r.kinds.count[MidasFinding::ProjectedLoad], 1);
    EXPECT_EQ(r.kinds.count[MidasFinding::LoadEccentricity], 1);
}

TEST(ClassicCorners, SectionYesRuleAndLoadHeaderThatOpensABlock)
{
    // A copy that begins with "YES" and holds another takes the "YES" layout, the later one counting.
    Import yes("*UNIT\nKN, MM\n\n*SECTION\nYES, A, N, X, 0, YES, H, 2, 300, 200, 8, 12\n\n", MidasReadingProfile::Classic);
    ASSERT_EQ(yes.model.m_LSections.GetSize(), 1);
    EXPECT_EQ(yes.model.m_LSections.GetAt(0)->ShapeCode, 17);
    // Each line opens *ELEMENT and starts with *USE-STLD: the load reader runs from it too, and builds no
    // member twice from the same lines, so the members stay as many as the lines.
    std::string text = "*UNIT\nKN, M\n\n*STLDCASE\nL, L,\n\n";
    for (int i = 0; i < 200; ++i)
        text += "*USE-STLD,BEAM,1,1,1,2 *ELEMENT End of data\n";
    Import header(text, MidasReadingProfile::Classic);
    EXPECT_LE(header.model.m_Lines.GetSize(), 200 + 199);
}
