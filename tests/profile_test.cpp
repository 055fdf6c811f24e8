// The current reading profile: keyword lines, block ends, long and continued lines, repeated blocks,
// addressing by number, today's columns and units, end to end on small files.
#include "TestSupport.h"

namespace {

struct CurrentRead {
    Translation translator;
    ModalData_Orvo model;
    bool ok = false;
    explicit CurrentRead(const std::string& text, MidasReadingProfile profile = MidasReadingProfile::Current)
    {
        translator.SetReadingProfile(profile);
        TempFile file(text);
        ok = translator.ReadMidasFile(file.path().c_str()) && translator.TranMidastoOrvo(model);
    }
    NodeBlock* nodes() { return TranslatorAccess::Node(translator); }
};

// A script-written file: no blank lines between blocks, comments before each block.
const char* const kScriptFile = "*UNIT\nKN,MM,KJ,C\n*NODE    ; Nodes\n; iNO, X, Y, Z\n"
                                "10, 0, 0, 0\n20, 0, 0, 3000\n*ELEMENT\n7, BEAM, 1, 1, 10, 20, 0, 0\n"
                                "*SECTION MANAGER-GROUP & PART    ; Section Manager\n  SECT=1, NO\n"
                                "*NODE\n; second block of nodes\n30, 4000, 0, 3000\n"
                                "*ELEMENT    ; Elements\n9, BEAM, 1, 1, 20, 30, 0, 0\n";

} // namespace

TEST(CurrentProfile, KeywordLinesEndBlocksAndRepeatedBlocksAccumulate)
{
    CurrentRead current(kScriptFile);
    ASSERT_TRUE(current.ok);
    ASSERT_EQ(current.model.m_Nodes.GetSize(), 3);
    ASSERT_EQ(current.model.m_Lines.GetSize(), 2);
    EXPECT_EQ(current.model.m_Lines[1]->StartNode, 2);
    EXPECT_EQ(current.model.m_Lines[1]->EndNode, 3);
    EXPECT_EQ(current.model.m_Nodes[2]->X, 4000.0);

    CurrentRead classic(kScriptFile, MidasReadingProfile::Classic);
    ASSERT_TRUE(classic.ok);
    EXPECT_EQ(classic.model.m_Nodes.GetSize(), 0);  // without blank lines *UNIT reads every later line
    EXPECT_EQ(classic.model.m_Lines.GetSize(), 0);
}

TEST(CurrentProfile, KeywordsMustBeWholeWordsAtTheStart)
{
    Translation translator;
    translator.SetReadingProfile(MidasReadingProfile::Current);
    EXPECT_EQ(translator.GetReadingProfile(), MidasReadingProfile::Current);
    TranslatorAccess::ReadText(translator,
                               "; see *GROUP\nG, , 1\n\n*SECTION-SCALE\n1,DBUSER,A,CC,0,0,0,0,0,0,YES,NO,H,2,1,2,3,4\n\n"
                               "*SECTION,   ; sections\n2,DBUSER,B,CC,0,0,0,0,0,0,YES,NO,H,2,1,2,3,4\n\n"
                               "*SECTION MANAGER-STIFFENER\nSECT=1\n\n*GROUP\t;groups\nG2, , 5\n");
    EXPECT_EQ(TranslatorAccess::Group(translator)->GetCount(), 1);
    EXPECT_EQ(TranslatorAccess::Group(translator)->GetRecord(0)->m_strName, "G2");
    ASSERT_EQ(TranslatorAccess::Section(translator)->GetCount(), 1);
    EXPECT_EQ(TranslatorAccess::Section(translator)->GetRecord(0)->m_nID, 2);
}

TEST(CurrentProfile, LongAndContinuedLinesAreReadWhole)
{
    std::string padded = "1," + std::string(600, ' ') + "5,0,0\n";
    CurrentRead read("*UNIT\nKN,MM\n*NODE\n" + padded + "2, 1, \\  \n 2, 3\n");
    ASSERT_TRUE(read.ok);
    ASSERT_EQ(read.model.m_Nodes.GetSize(), 2);
    EXPECT_EQ(read.model.m_Nodes[0]->X, 5.0);
    EXPECT_EQ(read.model.m_Nodes[1]->Y, 2.0);
    EXPECT_EQ(read.model.m_Nodes[1]->Z, 3.0);
}

TEST(CurrentProfile, SupportsReleasesAndGroupsAddressByNumber)
{
    CurrentRead read("*UNIT\nKN,MM\n*NODE\n100,0,0,0\n200,0,0,1\n300,1,0,1\n"
                     "*ELEMENT\n51,BEAM,1,1,100,200,0\n52,BEAM,1,1,200,300,0\n"
                     "*CONSTRAINT\n100 300 999, 111111,\n"
                     "*FRAME-RLS\n52, NO, 000011, 0, 0, 0, 0, 0, 0\n   000001, 0, 0, 0, 0, 0, 0, GRP\n"
                     "1, NO, 000011, 0, 0, 0, 0, 0, 0\n   000001, 0, 0, 0, 0, 0, 0,\n"
                     "*GROUP\nBeams, 100to300by100, 51to52, 0\n");
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.model.m_Nodes[0]->Restraint, 0xFC);
    EXPECT_EQ(read.model.m_Nodes[1]->Restraint, 0);
    EXPECT_EQ(read.model.m_Nodes[2]->Restraint, 0xFC);
    EXPECT_EQ(read.model.m_Lines[0]->StartRelease, 0);
    EXPECT_EQ(read.model.m_Lines[1]->StartRelease, 0x0C);
    EXPECT_EQ(read.model.m_Lines[1]->EndRelease, 0x04);
    EXPECT_EQ(read.model.m_Lines[0]->GroupName, "Beams");
    EXPECT_EQ(read.model.m_Lines[1]->GroupName, "Beams");
}

TEST(CurrentProfile, MaterialsSectionsAndThicknessesInTodaysColumns)
{
    CurrentRead read("*UNIT\nKN,M\n*NODE\n1,0,0,0\n2,0,0,3\n3,4,0,3\n"
                     "*ELEMENT\n1,BEAM,1,100,1,2,0\n2,BEAM,2,7,2,3,0\n"
                     "*MATERIAL\n1, STEEL, Q345, 0, 0, , C, NO, 0.02, 1, GB 50917-13(S), , Q345, NO, 206000\n"
                     "2, CONC, C30, 0, 0, , C, NO, 0.05, 1, GB 50917-13(RC), , C30, NO, 30000\n"
                     "3, USER, U, 0, 0, , C, NO, 0.05, 2, 2.1e8, 0.3, 1.2e-5, 78.5, 0\n"
                     "4, CONC, C30, 0, 0, , C, NO, 0.05, 1, KS01(XX), , C30, NO, 30000\n"
                     "*SECTION\n100, DBUSER, Col, CC, 0, 0, 0, 0, 0, 0, YES, NO, H, 1, GB-YB05, HW 300x300x10/15\n"
                     "7, DBUSER, Beam, CC, 0, 0, 0, 0, 0, 0, YES, NO, SB, 2, 0.4, 0.2, 0, 0, 0, 0, 0, 0, 0, 0\n"
                     "8, VALUE, V, CC, 0, 0, 0, 0, 0, 0, YES, NO, SB, BUILT, 0, 0\n  1.5, 2.5, 3.5\n"
                     "*THICKNESS\n1, VALUE, 200, YES, 0.2, 0, NO, 0, 0\n2, VALUE, YES, 0.12, 0.12, NO, 0, 0\n");
    ASSERT_TRUE(read.ok);
    ASSERT_EQ(read.model.m_Materials.GetSize(), 4);
    const MaterialProperty& steel = read.model.m_Materials[0]->Property;
    EXPECT_EQ(steel.Grade, 2);
    EXPECT_EQ(steel.Elastic, 206.0);  // grade constants stay in kN and mm whatever the file's units
    EXPECT_EQ(steel.Extra, 345.0);
    EXPECT_EQ(steel.Density, 7.85e-06 * 0.1);
    EXPECT_EQ(read.model.m_Materials[1]->Property.Grade, 10);
    const MaterialProperty& user = read.model.m_Materials[2]->Property;
    EXPECT_EQ(user.Grade, 21);
    EXPECT_EQ(user.Elastic, 2.1e8 * (1.0 / (1000.0 * 1000.0)));
    EXPECT_EQ(read.model.m_Materials[3]->Property.Grade, -1);  // a code naming neither steel nor concrete

    ASSERT_EQ(read.model.m_LSections.GetSize(), 3);
    EXPECT_EQ(read.model.m_LSections[0]->Properties[4], 300.0);   // catalogue sections are in mm
    EXPECT_EQ(read.model.m_LSections[1]->Properties[4], 400.0);   // 0.4 m written in the file
    EXPECT_EQ(read.model.m_LSections[1]->Properties[6], 200.0);
    EXPECT_EQ(read.model.m_LSections[2]->ShapeCode, 25);         // a VALUE section: no shape
    EXPECT_EQ(read.model.m_Lines[0]->SectionShape, 17);            // section 100 found by number
    EXPECT_EQ(read.model.m_Lines[1]->SectionShape, 29);
    EXPECT_EQ(read.model.m_Lines[1]->SectionID, 1);

    ASSERT_EQ(read.model.m_ASections.GetSize(), 2);
    EXPECT_EQ(read.model.m_ASections[0]->Thickness, 200.0);
    EXPECT_EQ(read.model.m_ASections[1]->Thickness, 120.0);
}

TEST(CurrentProfile, ForceUnitsAreConvertedOrNamed)
{
    const struct {
        const char* force;
        double toKilonewton;
    } rows[] = {{"N", 0.001}, {"KN", 1.0}, {"KGF", 0.00980665}, {"TONF", 9.80665}, {"LBF", 0.0044482216},
                {"KIPS", 4.4482216}};
    for (const auto& row : rows) {
        MessageCapture messages;
        CurrentRead read(std::string("*UNIT\n") + row.force + ", MM\n*NODE\n1,0,0,0\n*STLDCASE\nDL, D\n"
                         "*USE-STLD, DL\n*CONLOAD\n1, 0, 0, -1000, 0, 0, 0,\n; End of data for load case [DL]\n");
        ASSERT_TRUE(read.ok) << row.force;
        EXPECT_TRUE(messages.texts.empty());
        ASSERT_EQ(read.model.m_PointLoads.GetSize(), 1) << row.force;
        EXPECT_EQ(read.model.m_PointLoads[0]->FZ, -1000 * row.toKilonewton) << row.force;
    }
    MessageCapture messages;
    CurrentRead unknown("*UNIT\nDAN, MM\n*NODE\n1,0,0,0\n");
    EXPECT_FALSE(unknown.ok);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_NE(messages.texts[0].find("\"DAN\""), std::string::npos);
}

TEST(CurrentProfile, LoadListsMakeOneLoadPerItemAndSectionsChain)
{
    CurrentRead read("*UNIT\nKN,M\n*NODE\n1,0,0,0\n2,4,0,0\n3,8,0,0\n*ELEMENT\n1,BEAM,1,1,1,2,0\n2,BEAM,1,1,2,3,0\n"
                     "*STLDCASE\nDL, D\nDL2, L\n"
                     "*USE-STLD, DL\n*SELFWEIGHT, 0, 0, -1\n*CONLOAD\n1 3 ,0,0,-5,0,0,0,\n"
                     "*BEAMLOAD\n 1to2, BEAM, UNILOAD, GZ, NO, NO, aDir[1], , , , 0, -2, 1, -2, 0, 0, 0, 0, , NO,\n"
                     "; End of data for load case [DL] -------------------------\n\n; comment\n"
                     "*USE-STLD, DL2\n*CONLOAD\n2, 0, 0, -7, 0, 0, 0,\n; End of data for load case [DL2]\n"
                     "\n*LOADCOMB\nC1, GEN, ACTIVE, 0, 0, , 0, 0\n*CONSTRAINT\n1, 111111,\n");
    ASSERT_TRUE(read.ok);
    ASSERT_EQ(read.model.m_PointLoads.GetSize(), 3);
    EXPECT_EQ(read.model.m_PointLoads[2]->CaseID, 2);  // the exact name DL2, not DL inside it
    EXPECT_EQ(read.model.m_PointLoads[2]->CaseKind, 1);
    EXPECT_EQ(read.model.m_Nodes[0]->PointLoads.Count, 1);
    EXPECT_EQ(read.model.m_Nodes[2]->PointLoads.Count, 1);
    ASSERT_EQ(read.model.m_LineLoads.GetSize(), 2);
    EXPECT_EQ(read.model.m_LineLoads[1]->Position2, 4.0);
    EXPECT_EQ(read.model.m_Lines[1]->LineLoads.Count, 1);
    EXPECT_EQ(read.model.m_Nodes[0]->Restraint, 0xFC);  // the driver read *CONSTRAINT after the loads
}

TEST(CurrentProfile, LoadSectionsBetweenRepeatedBlocksBuildEachNodeOnce)
{
    CurrentRead read("*UNIT\nKN,MM\n*STLDCASE\nDL, D\n*NODE\n1,0,0,0\n*ELEMENT\n1,BEAM,1,1,1,2,0\n"
                     "*USE-STLD, DL\n*CONLOAD\n1,0,0,-1,0,0,0,\n; End of data for load case [DL]\n"
                     "*NODE\n2,0,0,1000\n*ELEMENT\n2,BEAM,1,1,2,1,0\n"
                     "*USE-STLD, DL\n*CONLOAD\n2,0,0,-2,0,0,0,\n*BEAMLOAD\n2, BEAM, UNILOAD, GZ, NO, NO, aDir[1], , , , 0, -2, 1, -2\n"
                     "; End of data for load case [DL]\n*GROUP\nG, , 1to2\n");
    ASSERT_TRUE(read.ok);
    ASSERT_EQ(read.model.m_Nodes.GetSize(), 2);
    ASSERT_EQ(read.model.m_Lines.GetSize(), 2);
    EXPECT_EQ(read.model.m_Nodes[0]->PointLoads.Count, 1);
    EXPECT_EQ(read.model.m_Nodes[1]->PointLoads.Count, 1);
    EXPECT_EQ(read.model.m_Lines[1]->LineLoads.Count, 1);
    EXPECT_EQ(read.model.m_LineLoads[0]->Position2, 1.0);  // 1000 mm member, positions in m
    EXPECT_EQ(read.model.m_Lines[0]->GroupName, "G");
    EXPECT_EQ(read.model.m_Lines[1]->GroupName, "G");
}
