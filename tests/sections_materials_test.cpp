// Beam sections from database designations, sections the host cannot describe, members linked to their
// host material, and standard grades the table does not hold, in the current profile.
#include <algorithm>

#include "TestSupport.h"

namespace {

// A current-profile translation of text (or of the file at a path), with its findings.
struct CurrentRun : MidasDiagnostics {
    Translation t;
    ModalData_Orvo model;
    std::vector<MidasFindingInfo> findings;
    explicit CurrentRun(const std::string& text, bool isPath = false)
    {
        t.SetReadingProfile(kCurrent);
        t.SetDiagnostics(this);
        isPath ? void(t.ReadMidasFile(text.c_str())) : ReadText(t, text);
        EXPECT_TRUE(t.TranMidastoOrvo(model));
    }
    void Report(const MidasFindingInfo& f) override { findings.push_back(f); }
    bool Found(MidasFinding kind, const std::string& detail, int count = 1) const
    {
        return std::any_of(findings.begin(), findings.end(),
                           [&](const auto& f) { return f.kind == kind && f.detail == detail && f.count == count; });
    }
};

const std::string kFrame = "*UNIT\nKN,M\n*NODE\n1,0,0,0\n2,0,0,3\n";

} // namespace

TEST(SectionsAndMaterials, DesignationsGiveMillimetresAtTheValueFormPositions)
{
    // (section line, {shape code, slots 4, 6, 10, 11}): a KN/M file leaves the mm as written
    const std::string db = ", CC, 0, 0, 0, 0, 0, 0, YES, NO, ";
    const std::pair<std::string, std::vector<double>> rows[] = {
        {"1, DBUSER, S1" + db + "B, 1, GB-YB05, B 500x300x12", {21, 500, 288, 12, 12}},  // one thickness for all
        {"2, DBUSER, S2" + db + "B, 1, GB-YB05, B 400x200x10x16", {21, 400, 190, 10, 16}},  // web, then flange
        {"3, DBUSER, S3" + db + "SB, 1, GB-YB05, SB 300x200", {29, 300, 200, 0, 0}},
        {"4, DBUSER, S4" + db + "SR, 1, GB-YB05, SR 50", {24, 50, 0, 0, 0}},
        {"5, DBUSER, S5" + db + "B, 1, GB-YB05, B 500x300", {25, 0, 0, 0, 0}},  // too few numbers for a box
        {"9, TAPERED, Pier" + db + "0, 0, SB, 1, 1, USER\n  3, 8, 0, 0", {25, 0, 0, 0, 0}},
    };
    std::string text = kFrame + "*SECTION\n";
    for (const auto& row : rows)
        text += row.first + "\n";
    CurrentRun run(text);
    ASSERT_EQ(run.model.m_LSections.GetSize(), 6);
    for (int i = 0; i < 6; ++i) {
        const LSection_Orvo& s = *run.model.m_LSections[i];
        EXPECT_EQ((std::vector<double>{double(s.ShapeCode), s.Properties[4], s.Properties[6], s.Properties[10], s.Properties[11]}),
                  rows[i].second) << rows[i].first;
    }
    EXPECT_TRUE(run.Found(MidasFinding::UntranslatedSection, "9, Pier, TAPERED") &&
                run.Found(MidasFinding::UntranslatedSection, "5, S5, DBUSER B"));
}

TEST(SectionsAndMaterials, MembersLinkToHostMaterialsAndGradesFromTheLine)
{
    // (material line, {grade, E kN/mm2, Poisson, thermal, density}): 9 and 7 take the modulus from the line
    const std::pair<std::string, std::vector<double>> rows[] = {
        {"9, CONC, C27, 0, 0, , C, NO, 0.05, 1, KS01(RC), KCI-2012, C27, NO, 2.6681e+07", {21, 26.681, 0.2, 1e-05, 2.5e-06}},
        {"7, STEEL, S1, 0, 0, , C, NO, 0.02, 1, KS01(S), , SM999, YES, 2.05e+08", {21, 205, 0.3, 1.2e-05, 7.85e-06}},
        {"8, STEEL, S2, 0, 0, , C, NO, 0.02, 1, KS01(S), , SM998, NO, 0", {-1, 0, 0, 0, 0}},  // no modulus given
    };
    CurrentRun run(kFrame + "*ELEMENT\n1,BEAM,7,1,1,2,0\n2,BEAM,9,1,1,2,0\n3,BEAM,5,1,1,2,0\n4,BEAM,5,1,1,2,0\n*MATERIAL\n" +
                   rows[0].first + "\n" + rows[1].first + "\n" + rows[2].first + "\n");
    ASSERT_EQ(run.model.m_Materials.GetSize(), 3);
    for (int i = 0; i < 3; ++i) {
        const MaterialProperty& p = run.model.m_Materials[i]->Property;
        EXPECT_EQ((std::vector<double>{double(p.Grade), p.Elastic, p.Poisson, p.Thermal, p.Density}), rows[i].second) << rows[i].first;
    }
    EXPECT_TRUE(run.Found(MidasFinding::GradeFromLine, "KS01(RC) C27") && run.Found(MidasFinding::UnmatchedGrade, "KS01(S) SM998"));
    const int linked[] = {run.model.m_Materials[1]->ID, run.model.m_Materials[0]->ID, 0, 0};  // host IDs; 5 has none
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(run.model.m_Lines[i]->MaterialID, linked[i]) << "member " << i + 1;
    EXPECT_TRUE(run.Found(MidasFinding::UnmatchedMaterial, "material 5", 2));
}

TEST(SectionsAndMaterials, RealModels)
{
    const std::string dir = SharedModelsDir();
    if (dir.empty())
        GTEST_SKIP() << "no ../shared/real-models in this checkout";
    CurrentRun tower(dir + "/03-futurepark-tower-gen.mgt", true), banpo(dir + "/01-banpo-building-gen-nx.mgt", true);
    CurrentRun girder(dir + "/11-ifc2mct-girder-test.mgt", true);
    int boxes = 0;  // box sections with depth, web spacing, web and flange thickness
    for (const LSection_Orvo* s : tower.model.m_LSections)
        boxes += s->ShapeCode == 21 && s->Properties[4] > 0 && s->Properties[6] > 0 && s->Properties[10] > 0 && s->Properties[11] > 0;
    EXPECT_EQ(boxes, 2);
    ASSERT_GE(banpo.model.m_Materials.GetSize(), 1);
    EXPECT_EQ(banpo.model.m_Materials[0]->Property.Elastic, 26.681);  // C27, KS01(RC), KN/M
    for (const Line_Orvo* line : girder.model.m_Lines)
        EXPECT_TRUE(std::any_of(girder.model.m_Materials.begin(), girder.model.m_Materials.end(),
                                [line](const Material_Orvo* m) { return m->ID == line->MaterialID; }));
}
