// The translation report: the findings of small files crafted to trigger them, counted and named.
#include "Report.h"
#include "TestSupport.h"

#include <set>
#include <sstream>

namespace {

const std::string kUnits = "*UNIT\nKN, MM\n\n";
const std::string kFrame = "*NODE\n1,0,0,0\n2,0,0,1000\n\n*ELEMENT\n1,BEAM,1,1,1,2,0\n\n";

// Translates text in the classic profile, gathering the findings.
bool Translate(const std::string& text, ReportCollector& findings)
{
    MessageCapture quiet;
    TempFile file(text);
    MIDAStranslatetoOrvo translator;
    translator.SetDiagnostics(&findings);
    ModalData_Orvo model;
    return translator.ReadMidasFile(file.path().c_str()) && translator.TranMidastoOrvo(model);
}

} // namespace

// Per file: the count of each kind of finding expected, and the name of its entry; an entry per kind where
// no name is given.
TEST(Report, CountsAndNamesWhatWasNotTranslated)
{
    using F = MidasFinding;
    struct Expected { F kind; long long count; std::string key; };
    const std::vector<std::pair<std::string, std::vector<Expected>>> files = {
        {kUnits + "*NODE\n1,0,0,0\n2,1,0,0\n3,1,1,0\n\n*ELEMENT\n1,BEAM,1,1,1,2,0\n2,PLATE,1,1,1,2,3,0\n"
                  "3,SOLID,1,1,1,2\n4,beam,1,1,1,2,0\n\n*SELFWEIGHT\n0, 0, -1,\n\n*LOADTOMASS\nXY\n1, 2\n",
         {{F::UntranslatedElement, 3, "PLATE"}, {F::UnreadBlock, 3, "*SELFWEIGHT"}, {F::UnitWords, 1, "KN, MM"},
          {F::UnitFactors, 1, "length x1 to mm, force x1 to kN"}}},
        {kUnits + "*NODE\n1,0,0,0\n*ELEMENT\n1,BEAM,1,1,1,1,0\n2,BEAM,1,1,1,1,0\n\n*NODE\n5,0,0,0\n\n",
         {{F::BlockEndedEarly, 1, ""}, {F::SkippedDataLines, 2, ""}, {F::RepeatedBlock, 1, ""}}},
        {kUnits + "*NODE\n10,0,0,0\n20,0,0,1\n\n*ELEMENT\n1,BEAM,1,9,10,99,0\n\n*CONSTRAINT\n0 3, 111111,\n\n"
                  "*GROUP\nG, , 1 7\n\n*FRAME-RLS\n4, NO, 000011, 0\n000011,\n",
         {{F::UnaddressedSupport, 2, ""}, {F::UnaddressedGroupMember, 1, ""}, {F::UnaddressedRelease, 1, ""},
          {F::PositionalAddressing, 1, ""}, {F::UnmatchedMemberEnd, 1, ""}}},
        {kUnits + kFrame + "*MATERIAL\n1, STEEL, S, 0, 0, , C, NO, 1, GB03(S), Q999\n"
                           "2, STEEL, Q345, 0, 0, , C, NO, 0.02, 1, GB12(S), , Q345, NO, 0\n\n"
                           "*SECTION\n1, DBUSER, A, CC, 0, 0, 0, 0, 0, 0, YES, H, 1, GB, ZZ100\n"
                           "2, DBUSER, B, CC, 0, 0, 0, 0, 0, 0, YES, NO, H, 2, 1, 2, 3, 4\n\n",
         {{F::UnmatchedGrade, 1, "GB03(S) Q999"}, {F::NewerMaterialLayout, 1, ""}, {F::NewerSectionLayout, 1, ""},
          {F::UnknownCatalogueName, 2, "ZZ100"}, {F::UnmatchedSection, 1, ""}}},
        {kUnits + kFrame + "*USE-STLD, EARLY\n\n*CONLOAD\n1, 0, 0, -1, 0, 0, 0,\n\n; End of data\n\n"
                           "*STLDCASE\nDL, D\n\n*USE-STLD, WIND\n\n*CONLOAD\n7, 0, 0, -1, 0, 0, 0,\n\n*BEAMLOAD\n"
                           "1, BEAM, PRESSURE, GQ, NO, 0, 1, 1, 1, 0, 0, 0, 0,\n"
                           "9, BEAM, UNILOAD, GZ, NO, 0, 1, 1, 1, 0, 0, 0, 0,\n\n; End of data\n\n",
         {{F::LoadSectionWithoutCases, 1, ""}, {F::LoadCaseNotNamed, 1, "WIND"}, {F::LoadOnMissingNode, 1, ""},
          {F::LoadOnMissingMember, 1, ""}, {F::UnknownLoadType, 1, "PRESSURE"}, {F::UnknownDirection, 1, "GQ"}}},
        {kFrame, {{F::RefusedUnit, 1, "no *UNIT record"}}},
    };
    for (const auto& [text, expected] : files) {
        ReportCollector findings;
        Translate(text, findings);
        const auto& entries = findings.Entries();
        for (const Expected& row : expected) {
            EXPECT_EQ(findings.Count(row.kind), row.count) << int(row.kind) << " in\n" << text;
            const auto named = [&row](const auto& e) { return e.kind == row.kind && (row.key.empty() || e.key == row.key); };
            EXPECT_EQ(std::count_if(entries.begin(), entries.end(), named), 1) << int(row.kind) << " " << row.key;
        }
        for (const auto& entry : entries) {  // the end that matches nothing, not the other
            if (entry.kind == F::UnmatchedMemberEnd) {
                EXPECT_EQ(entry.examples, std::vector<std::string>{"member 1 node 99"});
            }
        }
    }
}

// A clean file reports its units only; a refused unit is reported with its line, and the classic
// profile points to the current one.
TEST(Report, TextGivesLinesAndHints)
{
    ReportCollector clean, refused;
    const std::string section = "*SECTION\n1, DBUSER, A, CC, 0, 0, 0, 0, 0, 0, YES, H, 2, 400, 200, 8, 13\n";
    EXPECT_TRUE(Translate(kUnits + kFrame + section, clean));
    for (const auto& entry : clean.Entries())
        EXPECT_TRUE(entry.kind == MidasFinding::UnitWords || entry.kind == MidasFinding::UnitFactors) << entry.key;
    const TempFile file("\n*UNIT\nTONF, M\n\n" + kFrame);
    EXPECT_FALSE(Translate("\n*UNIT\nTONF, M\n\n" + kFrame, refused));
    const std::string text = ReportText(refused, LineNumbers(file.path()), MidasReadingProfile::Classic,
                                        [](std::string_view s) { return "<" + std::string(s) + ">"; });
    for (const char* line : {"unit that cannot be converted: nothing was translated: <TONF> [1] lines 3\n",
                             "hint: 1 refused unit (the current profile converts"})
        EXPECT_NE(text.find(line), std::string::npos) << text;
    // Counts of one read in the singular, others in the plural.
    const std::string early = "*NODE\n1,0,0,0\n*ELEMENT\n1,BEAM,1,1,1,1,0\n\n";
    for (const auto& [text, phrases] : std::vector<std::pair<std::string, std::vector<std::string>>>{
             {kUnits + early + "*NODE\n2,0,0,0\n\n", {"1 block ended early (", "1 repeated block was", "in 1 block\n"}},
             {kUnits + early + early, {"2 blocks ended early (", "1 repeated block was", "in 2 blocks\n"}},
             {kUnits + early + early + early, {"3 blocks ended early (", "2 repeated blocks were"}}}) {
        ReportCollector findings;
        Translate(text, findings);
        const std::string report = ReportText(findings, LineNumbers(""), MidasReadingProfile::Classic,
                                              [](std::string_view s) { return std::string(s); });
        for (const std::string& phrase : phrases)
            EXPECT_NE(report.find(phrase), std::string::npos) << phrase << " in\n" << report;
    }
}
