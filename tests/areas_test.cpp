// Plates and walls: host areas in the current profile, with their corners renumbered as member ends are,
// their thickness and material linked to the host's, and what the host's area cannot hold named.
#include "TestSupport.h"

#include <map>

namespace {

// Nodes numbered by tens, materials 5 and 6, thickness 7; the wall names material 9, thickness 1 and node
// 99, which the file does not define; the last plate has too few nodes for an area.
const std::string kModel = "*UNIT\nKN, MM\n\n*NODE\n10, 0, 0, 0\n20, 1000, 0, 0\n30, 1000, 1000, 0\n40, 0, 1000, 0\n"
                           "\n*ELEMENT\n1, BEAM, 5, 1, 10, 20, 0, 0\n2, PLATE, 6, 7, 10, 20, 30, 40, 2, 0\n"
                           "3, WALL, 9, 1, 40, 30, 20, 99, 1, 500, 0, 0\n4, PLATE, 5, 7, 10, 20\n\n*MATERIAL\n"
                           "5, STEEL, Q345, 0, 0, , C, NO, 0.02, 1, GB12(S), , Q345, NO, 0\n"
                           "6, STEEL, Q235, 0, 0, , C, NO, 0.02, 1, GB12(S), , Q235, NO, 0\n\n"
                           "*THICKNESS\n7, VALUE, YES, 120, 120, NO, 0, 0\n\n";

using F = MidasFinding;
const std::map<F, const char*> kNames = {{F::UntranslatedElement, "untranslated"}, {F::AreaDataDropped, "dropped"},
    {F::UnmatchedMemberEnd, "no node"}, {F::UnmatchedThickness, "no thickness"}, {F::UnmatchedMaterial, "no material"}};

// One translation: its areas as "ID kind [nodes] thickness material" (the material as its 1-based position
// among the host's), the findings on areas, and the data lines of *ELEMENT used.
struct Imported : MidasDiagnostics {
    std::string areas, findings;
    int elementLinesUsed = -1;
    void Report(const MidasFindingInfo& f) override
    {
        if (kNames.count(f.kind))
            findings += std::string(kNames.at(f.kind)) + ": " + f.detail + " x" + std::to_string(f.count) + "; ";
    }
    void LedgerEntry(const MidasLedgerEntry& e) override { elementLinesUsed = e.keyword == "*ELEMENT" ? e.used : elementLinesUsed; }
    explicit Imported(MidasReadingProfile profile)
    {
        Translation t;
        t.SetReadingProfile(profile);
        t.SetDiagnostics(this);
        ReadText(t, kModel);
        ModalData_Orvo model;
        EXPECT_TRUE(t.TranMidastoOrvo(model));
        for (const Area_Orvo* a : model.m_Areas) {
            int material = 0;
            for (int k = 0; k < model.m_Materials.GetSize(); ++k)
                material = model.m_Materials[k]->ID == a->MaterialID ? k + 1 : material;
            areas += std::to_string(a->ID) + " " + std::to_string(a->Kind) + " [";
            for (int node : a->Nodes)
                areas += std::to_string(node) + " ";
            areas += "] " + std::to_string(a->SectionID) + " " + std::to_string(material) + "; ";
        }
    }
};

} // namespace

TEST(Areas, PlatesAndWallsBecomeAreasInTheCurrentProfileOnly)
{
    const struct { MidasReadingProfile profile; std::string areas, findings; int used; } rows[] = {
        {kClassic, "", "untranslated: PLATE x1; untranslated: WALL x1; untranslated: PLATE x1; ", 1},
        {kCurrent, "1 1 [1 2 3 4 ] 7 2; 2 2 [4 3 2 99 ] 0 0; ",
         "dropped: PLATE plate type (iSUB) x1; dropped: WALL wall type (iSUB) x1; dropped: WALL wall ID (iWID) x1; "
         "untranslated: PLATE with fewer than three nodes x1; no node: wall 3 node 99 x1; "
         "no thickness: thickness 1 x1; no material: material 9 x1; ", 3},
    };
    for (const auto& row : rows) {
        const Imported run(row.profile);
        EXPECT_EQ(run.areas, row.areas) << int(row.profile);
        EXPECT_EQ(run.findings, row.findings) << int(row.profile);
        EXPECT_EQ(run.elementLinesUsed, row.used) << int(row.profile);
    }
}
