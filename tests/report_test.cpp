// The translation report: each finding on a small file crafted to trigger it, and silence on a clean one.
#include "Report.h"
#include "TestSupport.h"

namespace {

struct Reported {
    ReportCollector findings;
    bool ok = false;
    explicit Reported(const std::string& text, MidasReadingProfile profile = MidasReadingProfile::Classic)
    {
        MessageCapture quiet;
        TempFile file(text);
        MIDAStranslatetoOrvo translator;
        translator.SetReadingProfile(profile);
        translator.SetDiagnostics(&findings);
        ModalData_Orvo model;
        ok = translator.ReadMidasFile(file.path().c_str()) && translator.TranMidastoOrvo(model);
    }
    // Count of the entries of a kind, and the key and first offset of its first entry.
    long long count(MidasFinding kind) const { return findings.Count(kind); }
    const ReportCollector::Entry* first(MidasFinding kind) const
    {
        for (const auto& entry : findings.Entries())
            if (entry.kind == kind)
                return &entry;
        return nullptr;
    }
};

const std::string kUnits = "*UNIT\nKN, MM\n\n";
const std::string kFrame = kUnits + "*NODE\n1,0,0,0\n2,0,0,1000\n\n*ELEMENT\n1,BEAM,1,1,1,2,0\n\n";

} // namespace

TEST(Report, CleanFileReportsOnlyItsUnits)
{
    Reported clean(kFrame + "*SECTION\n1, DBUSER, A, CC, 0, 0, 0, 0, 0, 0, YES, H, 2, 400, 200, 8, 13\n\n");
    ASSERT_TRUE(clean.ok);
    for (const auto& entry : clean.findings.Entries())
        EXPECT_TRUE(entry.kind == MidasFinding::UnitWords || entry.kind == MidasFinding::UnitFactors)
            << int(entry.kind);
    ASSERT_NE(clean.first(MidasFinding::UnitWords), nullptr);
    EXPECT_EQ(clean.first(MidasFinding::UnitWords)->key, "KN, MM");
    EXPECT_EQ(clean.first(MidasFinding::UnitFactors)->key, "length x1 to mm, force x1 to kN");
}

TEST(Report, BlocksAndElementsThatAreNotTranslated)
{
    Reported r(kUnits + "*NODE\n1,0,0,0\n2,1,0,0\n3,1,1,0\n\n*ELEMENT\n1,BEAM,1,1,1,2,0\n2,PLATE,1,1,1,2,3,0\n"
               "3,SOLID,1,1,1,2\n4,beam,1,1,1,2,0\n\n*SELFWEIGHT\n0, 0, -1,\n\n*LOADTOMASS\nXY\n1, 2\n");
    EXPECT_EQ(r.count(MidasFinding::UntranslatedElement), 3);
    ASSERT_NE(r.first(MidasFinding::UntranslatedElement), nullptr);
    EXPECT_EQ(r.first(MidasFinding::UntranslatedElement)->key, "PLATE");
    ASSERT_NE(r.first(MidasFinding::UnreadBlock), nullptr);
    EXPECT_EQ(r.first(MidasFinding::UnreadBlock)->key, "*SELFWEIGHT");
    EXPECT_EQ(r.first(MidasFinding::UnreadBlock)->count, 1);
    EXPECT_EQ(r.count(MidasFinding::UnreadBlock), 3);  // *SELFWEIGHT's line and *LOADTOMASS's two
}

TEST(Report, EarlyEndsSkippedLinesAndRepeatedBlocks)
{
    const std::string text = kUnits + "*NODE\n1,0,0,0\n*ELEMENT\n1,BEAM,1,1,1,1,0\n2,BEAM,1,1,1,1,0\n\n*NODE\n5,0,0,0\n\n";
    Reported r(text);
    ASSERT_NE(r.first(MidasFinding::BlockEndedEarly), nullptr);
    EXPECT_EQ(r.first(MidasFinding::BlockEndedEarly)->examples[0], "*ELEMENT");
    EXPECT_EQ(r.count(MidasFinding::SkippedDataLines), 2);
    EXPECT_EQ(r.count(MidasFinding::RepeatedBlock), 1);
    EXPECT_EQ(r.first(MidasFinding::RepeatedBlock)->offsets[0], (long long)text.rfind("*NODE"));
}

TEST(Report, NumbersThatAddressNothing)
{
    Reported r(kUnits + "*NODE\n10,0,0,0\n20,0,0,1\n\n*ELEMENT\n1,BEAM,1,9,10,99,0\n\n"
               "*CONSTRAINT\n0 3, 111111,\n\n*GROUP\nG, , 1 7\n\n*FRAME-RLS\n4, NO, 000011, 0\n000011,\n");
    EXPECT_EQ(r.count(MidasFinding::UnaddressedSupport), 2);
    EXPECT_EQ(r.count(MidasFinding::UnaddressedGroupMember), 1);
    EXPECT_EQ(r.count(MidasFinding::UnaddressedRelease), 1);
    EXPECT_EQ(r.count(MidasFinding::PositionalAddressing), 1);  // nodes 10, 20 with a *CONSTRAINT block
    EXPECT_EQ(r.count(MidasFinding::UnmatchedMemberEnd), 1);
    EXPECT_EQ(r.first(MidasFinding::UnmatchedMemberEnd)->examples[0], "member 1 node 99");
}

TEST(Report, SectionsGradesAndLayouts)
{
    Reported r(kFrame + "*MATERIAL\n1, STEEL, S, 0, 0, , C, NO, 1, GB03(S), Q999\n"
                        "2, STEEL, Q345, 0, 0, , C, NO, 0.02, 1, GB12(S), , Q345, NO, 0\n\n"
                        "*SECTION\n1, DBUSER, A, CC, 0, 0, 0, 0, 0, 0, YES, H, 1, GB, ZZ100\n"
                        "2, DBUSER, B, CC, 0, 0, 0, 0, 0, 0, YES, NO, H, 2, 1, 2, 3, 4\n\n");
    EXPECT_EQ(r.count(MidasFinding::UnmatchedGrade), 1);  // the second line reads as user constants
    EXPECT_EQ(r.first(MidasFinding::UnmatchedGrade)->key, "GB03(S) Q999");
    EXPECT_EQ(r.count(MidasFinding::NewerMaterialLayout), 1);
    EXPECT_EQ(r.count(MidasFinding::NewerSectionLayout), 1);
    ASSERT_NE(r.first(MidasFinding::UnknownCatalogueName), nullptr);
    EXPECT_EQ(r.first(MidasFinding::UnknownCatalogueName)->key, "ZZ100");
    EXPECT_EQ(r.count(MidasFinding::UnknownCatalogueName), 2);  // it and the section after it
    EXPECT_EQ(r.count(MidasFinding::UnmatchedSection), 1);      // the member's section 1 never arrived
}

TEST(Report, LoadsThatFindNothing)
{
    Reported r(kFrame + "*USE-STLD, EARLY\n\n*CONLOAD\n1, 0, 0, -1, 0, 0, 0,\n\n; End of data\n\n"
                        "*STLDCASE\nDL, D\n\n*USE-STLD, WIND\n\n*CONLOAD\n7, 0, 0, -1, 0, 0, 0,\n\n"
                        "*BEAMLOAD\n1, BEAM, PRESSURE, GQ, NO, 0, 1, 1, 1, 0, 0, 0, 0,\n"
                        "9, BEAM, UNILOAD, GZ, NO, 0, 1, 1, 1, 0, 0, 0, 0,\n\n; End of data\n\n");
    EXPECT_EQ(r.count(MidasFinding::LoadSectionWithoutCases), 1);
    EXPECT_EQ(r.count(MidasFinding::LoadCaseNotNamed), 1);
    EXPECT_EQ(r.first(MidasFinding::LoadCaseNotNamed)->key, "WIND");
    EXPECT_EQ(r.count(MidasFinding::LoadOnMissingNode), 1);
    EXPECT_EQ(r.count(MidasFinding::LoadOnMissingMember), 1);
    EXPECT_EQ(r.first(MidasFinding::UnknownLoadType)->key, "PRESSURE");
    EXPECT_EQ(r.first(MidasFinding::UnknownDirection)->key, "GQ");
}

TEST(Report, RefusedUnitsAndTheCurrentProfileHint)
{
    Reported refused("*UNIT\nTONF, M\n\n" + kFrame.substr(kUnits.size()));
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.first(MidasFinding::RefusedUnit)->key, "TONF");
    const std::string text = ReportText(refused.findings, LineNumbers(""), MidasReadingProfile::Classic,
                                        [](std::string_view s) { return std::string(s); });
    EXPECT_NE(text.find("hint: 1 a refused unit"), std::string::npos) << text;

    Reported converted("*UNIT\nTONF, M\n\n" + kFrame.substr(kUnits.size()), MidasReadingProfile::Current);
    EXPECT_TRUE(converted.ok);
    EXPECT_EQ(converted.count(MidasFinding::RefusedUnit), 0);
    Reported missing(kFrame.substr(kUnits.size()));
    EXPECT_EQ(missing.first(MidasFinding::RefusedUnit)->key, "no *UNIT record");
}

TEST(Report, LineNumbersFromOffsets)
{
    TempFile file("a\nbb\n\nccc");
    LineNumbers lines(file.path());
    EXPECT_EQ(lines.LineOf(0), 1);
    EXPECT_EQ(lines.LineOf(2), 2);
    EXPECT_EQ(lines.LineOf(5), 3);
    EXPECT_EQ(lines.LineOf(6), 4);
    EXPECT_EQ(lines.LineOf(-1), 0);
}
