// Tests for materials, beam sections and plate thicknesses: the three property parsers, the grade table,
// the section step (shape codes, placement, catalogue lookups, numbering), member linking with reference
// points, and unit scaling of what reaches the host.
#include "TestSupport.h"

#include <charconv>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr double kFar = 1e15;

// The shortest text that reads back as exactly v.
std::string Num(double v) { char b[32]; return {b, std::to_chars(b, b + sizeof b, v).ptr}; }

// Values as "v v ...", or with slots the non-zero ones of a 13-value property list as "slot:value ...".
std::string Nums(const ValueArray<double>& values, bool slots = false)
{
    std::string text = !slots || values.Count == 13 ? "" : "count " + std::to_string(values.Count);
    for (int k = 0; k < values.Count; ++k)
        if (!slots || values[k] != 0.0)
            text += (text.empty() ? "" : " ") + (slots ? std::to_string(k) + ":" : "") + Num(values[k]);
    return text;
}

// A parsed record as one line: its fields in declaration order, separated by '|'.
std::string Summary(const MaterialRecord& r)
{
    return std::to_string(r.m_nID) + "|" + r.m_strType + "|" + r.m_strName + "|" + std::to_string(r.m_nDataKind) + "|" +
           r.m_strStandardCode + "|" + r.m_strGradeName + "|" + Num(r.m_dElasticity) + " " + Num(r.m_dPoisson) + " " +
           Num(r.m_dThermal) + " " + Num(r.m_dDensity) + " " + Num(r.m_dMass);
}
std::string Summary(const SectionRecord& r)
{
    return std::to_string(r.m_nID) + "|" + r.m_strType + "|" + r.m_strName + "|" + r.m_strExtra + "|" + r.m_strShape +
           "|" + std::to_string(r.m_nDataKind) + "|" + r.m_strStandardCode + "|" + r.m_strCatalogName + "|" +
           Nums(r.m_Dimensions);
}
std::string Summary(const ThicknessRecord& r)
{
    return std::to_string(r.m_nID) + "|" + r.m_strType + "|" + r.m_strExtra + "|" + Num(r.m_dThickness) + "|" +
           std::to_string(r.m_nExtra);
}

// Each row: a line and its summary, or "rejected" where Parse refuses the line.
template <class Record>
void ExpectParsed(std::initializer_list<std::pair<const char*, const char*>> rows)
{
    for (const auto& [line, expected] : rows) {
        Record r;
        EXPECT_EQ(r.Parse(line) ? Summary(r) : "rejected", expected) << '"' << line << '"';
    }
}

std::vector<int> Values(const ValueArray<int>& array) { return {array.begin(), array.end()}; }

// Beam sections, working or host, as "shape/ID name slots; ...".
template <class Sections>
std::string SectionText(const Sections& sections)
{
    std::string text;
    for (const auto* s : sections)
        text += std::to_string(s->ShapeCode) + "/" + std::to_string(s->ID) + " " + s->Name + " " +
                Nums(s->Properties, true) + "; ";
    return text;
}

// A model in kN and mm with the given blocks after the unit line.
std::string InKnMm(const std::string& blocks) { return "*UNIT\nKN, MM, KJ, C\n\n" + blocks; }

// Reads text and runs the translation steps only (nothing reaches a host).
void ReadAndWrite(Translation& t, const std::string& text) { TranslatorAccess::ReadText(t, text), t.Write(); }

// ---------------------------------------------------------------------------------------------------------
// The three parsers

TEST(MaterialRecord, ReadsBothFormsFieldByField)
{
    ExpectParsed<MaterialRecord>({
        // blanks vanish, also inside names; empty fields count, so the kind is still field 9
        {"1, STEEL, Grade A, 0, 0, , C, NO, 1, GB03(S), Q235", "1|STEEL|GradeA|1|GB03(S)|Q235|0 0 0 0 0"},
        // everything behind the code belongs to the grade name
        {"2,A,N,0,0,0,0,0,1,GB03(S),Q235,NO,2.06e+008", "2|A|N|1|GB03(S)|Q235,NO,2.06e+008|0 0 0 0 0"},
        {"4,A,N,0,0,0,0,0,1.9,C,C30", "4|A|N|1|C|C30|0 0 0 0 0"},
        // value form, any kind but 1: ELAST, POISN, THERMAL, DEN, MASS; missing fields stay 0
        {"6,A,N,0,0,0,0,0,2,206000,0.3,1.2e-5,76.98,7.85,99", "6|A|N|2|||206000 0.3 1.2e-05 76.98 7.85"},
        {"7,A,N,0,0,0,0,0,0,3e4", "7|A|N|0|||30000 0 0 0 0"},
        {"9,A,N,0,0,0,0,0,2,,0.3", "9|A|N|2|||0 0.3 0 0 0"},
        {"10,A,N,0,0,0,0,0,1,GB03(S)", "10|A|N|1|GB03(S)||0 0 0 0 0"},
        {"11,A,N,0,0,0,0,0,1,", "11|A|N|1|||0 0 0 0 0"},
        {"x,A,N,0,0,0,0,0,abc,1,2", "0|A|N|0|||1 2 0 0 0"},
        // no comma after the kind, or a blank line: not a material line
        {"12,A,N,0,0,0,0,0,1", "rejected"}, {"*SECTION", "rejected"}, {"", "rejected"}, {"     ", "rejected"},
    });
}

TEST(SectionRecord, ReadsBothLayoutsAndBothForms)
{
    ExpectParsed<SectionRecord>({
        {"1,A,N,X,0,0,0,0,0,0,YES,H,1,S,H400x200", "1|A|N|X|H|1|S|H400x200|"},
        // "NO" in place of "YES": token 5 is the shape, token 6 the kind, the rest dimensions
        {"1,A,N,X,0,0,0,0,0,0,NO,H,1,S,H400x200", "1|A|N|X|0|0|||0 0 0 0 0 0 1 0 0"},
        {"2,A,N,X,0,0,YES,P,2,200,10", "2|A|N|X|P|2|||200 10"},
        // empty fields are passed over: later values move forward
        {"3,A,N,X,L,2,100,,80,10", "3|A|N|X|L|2|||100 80 10"},
        {"5,,T,X,H,1,S,H300", "5|T|X|H|1|0|||0"},
        // spaces vanish everywhere, also inside names; tokens are trimmed of other whitespace
        {"6, SEC , H 400x200x8/13 , 0, H, 1, GB-YB05, H 400x200x8/13",
         "6|SEC|H400x200x8/13|0|H|1|GB-YB05|H400x200x8/13|"},
        {"7,A,\tN\t,X,SB,2,\t50,abc", "7|A|N|X|SB|2|||50 0"},
        {"8,A,N,X,H,1,S,HW300x300x10x15,MORE,99", "8|A|N|X|H|1|S|HW300x300x10x15|"},
        {"10,A,N", "10|A|N|||0|||"},
        // "YES" only inside a name or among tokens 1 to 4: the scan takes every token, nothing follows it
        {"11,A,NOYES,X,H,1,S,H300x150x6x9", "11|A|NOYES|X||0|||"},
        {"12,A,YES,X,H,2,300", "12|A|YES|X||0|||"},
        // only a token that is exactly "YES" opens the shape
        {"13,A,N,X,NOTYES,\tYES\t,H,1,S,H300", "13|A|N|X|H|1|S|H300|"},
        {"YES,A,N,X,H,1,S,H300", "0|||||0|||"},  // "YES" at the very start: accepted with nothing set
        {"\t", "0|||||0|||"},                     // tabs are no blanks: a (useless) data line
        {"", "rejected"}, {"   ", "rejected"},
    });
}

TEST(ThicknessRecord, ReadsTokensSkippingEmptyFields)
{
    ExpectParsed<ThicknessRecord>({
        {"2,,T,S,0.2,3", "2|T|S|0.2|3"},
        {"3, VALUE , Yes, 1 2.5, 7, 8, 9", "3|VALUE|Yes|12.5|7"},  // a space inside the number goes
        {"4", "4|||0|0"}, {"5,T,S,abc,x", "5|T|S|0|0"},
        {"\t", "0|||0|0"}, {"", "rejected"}, {"    ", "rejected"},
    });
}

TEST(PropertyBlocks, BlankLineEndsEachBlock)
{
    Translation t;
    TranslatorAccess::ReadText(t, "*MATERIAL\n1,A,N,0,0,0,0,0,1,GB03(S),Q235\n; comment\n2,A,N,0,0,0,0,0,1,C,C30\n"
                                  "   \n3,A,N,0,0,0,0,0,1,C,C40\n\n"
                                  "*SECTION\n1,A,N,X,H,2,400\n\n2,A,N,X,H,2,500\n\n"
                                  "*THICKNESS\n1,T,S,10\n2,T,S,20\n\n3,T,S,30\n");
    ASSERT_NE(TranslatorAccess::Material(t), nullptr);
    EXPECT_EQ(TranslatorAccess::Material(t)->GetCount(), 2);
    EXPECT_EQ(TranslatorAccess::Section(t)->GetCount(), 1);
    EXPECT_EQ(TranslatorAccess::Thickness(t)->GetCount(), 2);
}

// ---------------------------------------------------------------------------------------------------------
// Materials

// The grade table in kN and mm: Q235, Q345, Q390, Q420 (codes 1-4), then C15 to C80 (codes 7-20).
const int kSteelYield[] = {235, 345, 390, 420};
std::string GradeName(int i) { return i < 4 ? "Q" + std::to_string(kSteelYield[i]) : "C" + std::to_string(5 * i - 5); }
MaterialProperty Grade(int i)
{
    static const double kConcreteElastic[] = {22, 25.5, 28, 30, 31.5, 32.5, 33.5, 34.5, 35.5, 36, 36.5, 37, 37.5, 38};
    if (i < 4)
        return {i + 1, 206.0, 0.3, 1.2e-05, double(kSteelYield[i]), 7.85e-06};
    return {i + 3, kConcreteElastic[i - 4], 0.2, 1e-05, 0.0, 2.5e-06};
}

void ExpectMaterial(const MaterialProperty& p, const MaterialProperty& e, const std::string& what)
{
    EXPECT_EQ(p.Grade, e.Grade) << what;
    const double actual[] = {p.Elastic, p.Poisson, p.Thermal, p.Extra, p.Density};
    const double expected[] = {e.Elastic, e.Poisson, e.Thermal, e.Extra, e.Density};
    for (int k = 0; k < 5; ++k)
        EXPECT_DOUBLE_EQ(actual[k], expected[k]) << what << " value " << k;
}

TEST(MaterialStep, SteelCodeSelectsSteelsOtherCodesConcretesByWholeName)
{
    // (code, grade name, table position or -1): names and codes are compared whole and case-sensitive;
    // no match leaves grade -1 and all constants 0.
    std::vector<std::tuple<std::string, std::string, int>> rows = {
        {"GB03(S)", "q235", -1}, {"GB03(S)", "Q235,NO,2.06e+008", -1}, {"GB03(S)", "Q23", -1},
        {"gb03(s)", "Q235", -1}, {"gb03(s)", "C30", 7}, {"", "C30", 7}, {"GB10", "c30", -1},
        {"GB03(S)", " Q 235 ", 0}, {"GB03", "Q235", -1}, {"GB03(S)(S)", "Q235", -1},
    };
    for (int i = 0; i < 18; ++i) {  // each grade under the steel code and under a concrete code
        rows.emplace_back("GB03(S)", GradeName(i), i < 4 ? i : -1);
        rows.emplace_back("GB10(RC)", GradeName(i), i < 4 ? -1 : i);
    }
    std::string text = "*MATERIAL\n";
    for (const auto& [code, grade, position] : rows)
        text += "1,A,N,0,0,0,0,0,1," + code + "," + grade + "\n";
    Translation t;
    ReadAndWrite(t, text + "\n");
    auto& materials = TranslatorAccess::Materials(t);
    ASSERT_EQ(materials.GetSize(), int(rows.size()));
    for (int i = 0; i < materials.GetSize(); ++i) {
        const auto& [code, grade, position] = rows[i];
        ExpectMaterial(materials[i]->Property, position < 0 ? MaterialProperty{} : Grade(position), code + " " + grade);
    }
}

TEST(UnitScaling, MaterialsTakeForcePerSquareLength)
{
    // Stresses scale by F / L^2, densities by 1 / L^2 and by 0.1. A value-form material is user-defined
    // (grade 21) with its weight density turned into a mass density and no yield strength.
    const struct {
        const char* units;
        double F, L;
    } rows[] = {{"KN,MM", 1.0, 1.0}, {"KN,M", 1.0, 1000.0}, {"N,MM", 1000.0, 1.0}};
    for (const auto& row : rows) {
        ModalData_Orvo model;
        ASSERT_TRUE(TranslateText(std::string("*UNIT\n") + row.units + ",KJ,C\n\n*MATERIAL\n"
                                      "1,A,N,0,0,0,0,0,1,GB03(S),Q235\n2,A,N,0,0,0,0,0,2,2e5,0.3,1.2e-5,78.5,8\n\n",
                                  model));
        ASSERT_EQ(model.m_Materials.GetSize(), 2);
        const double stress = row.F / (row.L * row.L), density = 0.1 / (row.L * row.L);
        ExpectMaterial(model.m_Materials[0]->Property,
                       {1, 206 * stress, 0.3, 1.2e-05, 235 * stress, 7.85e-06 * density}, row.units);
        ExpectMaterial(model.m_Materials[1]->Property,
                       {21, 2e5 * stress, 0.3, 1.2e-5, 0.0, 78.5 * 0.1020408163265306 * density}, row.units);
    }
}

// ---------------------------------------------------------------------------------------------------------
// Beam sections

TEST(SectionStep, PlacesFileAndCatalogueDimensionsPerShape)
{
    // (section after "1,A,N,X,", shape code, non-zero property slots)
    const std::tuple<const char*, int, const char*> rows[] = {
        {"H,2,400,200,8,13,99", 17, "4:400 6:200 10:8 11:13"}, {"T,2,300,150,7,10", 28, "4:300 6:150 10:7 11:10"},
        {"C,2,200,75,6,9,70,8,99", 3, "0:200 1:75 2:6 3:9 4:70 5:8"},
        // an angle's legs decide equal (5) or unequal (6); a missing dimension reads as 0
        {"L,2,100,80,10,10", 6, "0:100 1:80 2:10 3:10"}, {"L,2,100.0,1e2,10", 5, "0:100 1:100 2:10"},
        {"L,2,100,100.000001", 6, "0:100 1:100.000001"}, {"L,2,100", 6, "0:100"}, {"L,2", 5, ""},
        {"B,2,300,200,10,12,180", 21, "4:300 6:180 10:10 11:12"}, {"P,2,200,10", 22, "4:90 5:100 10:10"},
        {"SB,2,50,30,99", 29, "4:50 6:30"}, {"SR,2,40,99", 24, "4:40"},
        {"h,2,400,200,8,13", 25, ""}, {"BOX,2,400,200,8,13", 25, ""},
        // shapes without catalogue entries ignore the database form and never ask the library
        {"B,1,S,NOT-IN-ANY-CATALOGUE", 21, ""}, {"SB,1,S,NOT-IN-ANY-CATALOGUE", 29, ""},
        {"SR,1,S,NOT-IN-ANY-CATALOGUE", 24, ""}, {"PIPE,1,S,NOT-IN-ANY-CATALOGUE", 25, ""},
        // catalogue sections come from the library; two numbers make an equal-leg angle, three an unequal one
        {"H,1,S,H 400x200x8/13", 17, "4:400 6:200 10:8 11:13"},
        {"T,1,S,TN150x300x6.5x9", 28, "4:150 6:300 10:6.5 11:9"},
        {"C,1,S,C200x75x6x9", 3, "0:200 1:75 2:6 3:9 4:75 5:9"}, {"P,1,S,P114x4", 22, "4:53 5:57 10:4"},
        {"L,1,S,L100x10", 5, "0:100 1:100 2:10 3:10"}, {"L,1,S,L100*80/8", 6, "0:100 1:80 2:8 3:8"},
        {"L,1,S,L80x80x8", 6, "0:80 1:80 2:8 3:8"},
    };
    for (const auto& [line, code, slots] : rows) {
        Translation t;
        ReadAndWrite(t, std::string("*SECTION\n1,A,N,X,") + line + "\n\n");
        EXPECT_EQ(SectionText(TranslatorAccess::LSections(t)), std::to_string(code) + "/1 N " + slots + "; ") << line;
        EXPECT_EQ(Values(TranslatorAccess::SectionTypes(t)), std::vector<int>{code}) << line;
    }
}

TEST(SectionStep, NumbersSectionsPerShapeCodeAcrossRuns)
{
    Translation t;
    ReadAndWrite(t, "*SECTION\n1,A,H1,X,H,2,400\n2,A,P1,X,P,2,200,10\n3,A,H2,X,H,1,S,H300x150x6.5x9\n"
                    "4,A,L1,X,L,2,100,100\n5,A,L2,X,L,2,100,80\n6,A,L3,X,L,1,S,L75x8\n\n");
    EXPECT_EQ(Values(TranslatorAccess::SectionTypes(t)), (std::vector<int>{17, 22, 17, 5, 6, 5}));
    t.Write();  // a second run numbers on after what the first one collected
    const int expected[][2] = {{17, 1}, {22, 1}, {17, 2}, {5, 1}, {6, 1}, {5, 2},
                               {17, 3}, {22, 2}, {17, 4}, {5, 3}, {6, 2}, {5, 4}};
    auto& sections = TranslatorAccess::LSections(t);
    ASSERT_EQ(sections.GetSize(), 12);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(sections[i]->ShapeCode, expected[i][0]) << i;
        EXPECT_EQ(sections[i]->ID, expected[i][1]) << i;
    }
}

TEST(SectionStep, UnknownCatalogueNameEndsTheStep)
{
    // The second of three sections names nothing in the library. An H, C, T or P code is listed before
    // the lookup; an angle's only once its legs are known.
    const std::pair<const char*, std::vector<int>> rows[] = {
        {"H,1,S,H400", {17, 17}}, {"P,1,S,NOPE", {17, 22}}, {"L,1,S,L100x80x8x1", {17}}, {"C,1,S,", {17, 3}}};
    for (const auto& [unknown, types] : rows) {
        Translation t;
        ReadAndWrite(t, std::string("*SECTION\n1,A,N,X,H,2,400\n2,A,N,X,") + unknown + "\n3,A,N,X,SR,2,40\n\n");
        EXPECT_EQ(TranslatorAccess::LSections(t).GetSize(), 1) << unknown;
        EXPECT_EQ(Values(TranslatorAccess::SectionTypes(t)), types) << unknown;
    }
}

// ---------------------------------------------------------------------------------------------------------
// Linking members to sections, reference points

// The host's members as "shape/ID point, ...": the reference point is a far one on one axis ("+X", "-Y",
// ...), "none" where it is unset, or its four coordinates where it is anything else.
std::string Members(const ModalData_Orvo& model)
{
    std::string text;
    for (const Line_Orvo* l : model.m_Lines) {
        const double ref[] = {l->RefX, l->RefY, l->RefZ};
        std::string point = "none";
        for (int k = 0; k < 3; ++k)
            if (ref[k] != 0.0)
                point = (point == "none" && std::fabs(ref[k]) == kFar ? (ref[k] > 0 ? "+" : "-") : "?") +
                        std::string(1, char('X' + k));
        if (point[0] == '?' || l->RefSpare != 0.0)
            point = Num(l->RefX) + " " + Num(l->RefY) + " " + Num(l->RefZ) + " " + Num(l->RefSpare);
        text += (text.empty() ? "" : ", ") + std::to_string(l->SectionShape) + "/" + std::to_string(l->SectionID) +
                " " + point;
    }
    return text;
}

// Two nodes 6000 mm apart along X and one member between them per section number.
std::string LinkModel(const std::string& sections, const std::vector<int>& sectionNumbers)
{
    std::string text = "*NODE\n1,0,0,0\n2,6000,0,0\n\n*ELEMENT\n";
    for (std::size_t i = 0; i < sectionNumbers.size(); ++i)
        text += std::to_string(i + 1) + ",BEAM,1," + std::to_string(sectionNumbers[i]) + ",1,2,0\n";
    return InKnMm(text + "\n*SECTION\n" + sections + "\n");
}

TEST(BeamSectionLink, MembersTakeShapeAndNumberWithinShape)
{
    const std::string sections = "1,A,N,X,H,2,400\n2,A,N,X,P,2,200,10\n3,A,N,X,H,2,500\n";
    const struct {
        std::string sections;
        std::vector<int> sectionNumbers;
        const char* members;
        bool hostHolds = false;  // a beam section and a line before the translation
    } rows[] = {
        {sections, {3, 2, 1, 3}, "17/2 +Z, 22/1 +Z, 17/1 +Z, 17/2 +Z"},
        // a section number beyond the sections built, or one of 0 or less, stops the walk there
        {sections, {1, 4, 2}, "17/1 +Z, 0/4 none, 0/2 none"},
        {sections, {2, 0, 1}, "22/1 +Z, 0/0 none, 0/1 none"},
        {sections, {-1, 1}, "0/-1 none, 0/1 none"},
        // section 2 names nothing in the library, so section 3 is never built either
        {"1,A,N,X,H,2,400\n2,A,N,X,H,1,S,H999\n3,A,N,X,P,2,200,10\n", {1, 3, 1}, "17/1 +Z, 0/3 none, 0/1 none"},
        // the new members pair with the new sections; 0 must not reach back to the host's own section
        {"1,A,N,X,P,2,200,10\n2,A,N,X,H,2,400\n", {2, 1, 0, 1}, "0/0 none, 17/1 +Z, 22/1 +Z, 0/0 none, 0/1 none", true},
    };
    for (const auto& row : rows) {
        ModalData_Orvo model;
        if (row.hostHolds) {
            model.m_LSections.Add(new LSection_Orvo);
            model.m_LSections[0]->ShapeCode = 3;
            model.m_Lines.Add(new Line_Orvo);
        }
        ASSERT_TRUE(TranslateText(LinkModel(row.sections, row.sectionNumbers), model));
        EXPECT_TRUE(model.m_bUpdated);
        EXPECT_EQ(Members(model), row.members) << row.sections;
        EXPECT_EQ(model.m_LSections[0]->ShapeCode, row.hostHolds ? 3 : 17);
    }
}

TEST(ReferencePoint, FollowsShapeCodeAndMemberDirection)
{
    // By the position of the second node; the first stands at the origin unless given. A coordinate
    // difference below 1e-8 mm counts as none.
    const struct {
        const char *section, *end, *member, *start = "0,0,0", *ends = "1,2";
    } rows[] = {
        {"C,2,200,75", "0,0,3000", "3/1 +Y"}, {"C,2,200,75", "6000,0,0", "3/1 -Y"},     // C column, along X
        {"C,2,200,75", "0,6000,0", "3/1 -X"}, {"C,2,200,75", "3000,0,4000", "3/1 -X"},  // along Y, sloping
        {"L,2,100,100", "6000,0,0", "5/1 +Z"}, {"L,2,100,100", "0,6000,0", "5/1 -X"},   // L along X, along Y
        {"L,2,100,80", "0,6000,0", "6/1 -X"}, {"L,2,100,100", "0,0,3000", "5/1 +X"},    // unequal L; column
        {"L,2,100,100", "3000,4000,0", "5/1 +X"},                                       // sloping in plan
        {"H,2,400", "0,0,3000", "17/1 +X"}, {"H,2,400", "6000,0,0", "17/1 +Z"},         // H column, along X
        {"H,2,400", "0,6000,0", "17/1 +Z"}, {"H,2,400", "0,-6000,-3000", "17/1 +Z"},    // along Y, sloping
        {"T,2,300", "0,0,-3000", "28/1 +X"}, {"B,2,300", "0,0,3000", "21/1 +X"}, {"B,2,300", "6000,0,0", "21/1 +Z"},
        {"P,2,200,10", "0,0,3000", "22/1 +X"}, {"SB,2,50", "0,0,3000", "29/1 +X"}, {"SR,2,40", "0,0,3000", "24/1 +X"},
        {"RECT,2,40", "0,0,3000", "25/1 +X"},
        {"H,2,400", "1000.000000005,0,3000", "17/1 +X", "1000,0,0"},
        {"H,2,400", "1000.00000002,0,3000", "17/1 +Z", "1000,0,0"},
        {"L,2,100,100", "6000,2000.000000001,0", "5/1 +Z", "0,2000,0"},
        // without both end nodes (no nodes at all, an end not in the node block, start node 0): no point
        {"H,2,400", "0,0,3000", "17/1 none", ""}, {"H,2,400", "0,0,3000", "17/1 none", "0,0,0", "1,9"},
        {"H,2,400", "0,0,3000", "17/1 none", "0,0,0", "0,2"},
    };
    for (const auto& row : rows) {
        const std::string nodes = *row.start ? std::string("*NODE\n1,") + row.start + "\n2," + row.end + "\n\n" : "";
        ModalData_Orvo model;
        const std::string element = "*ELEMENT\n1,BEAM,1,1," + std::string(row.ends) + ",0\n\n";
        ASSERT_TRUE(TranslateText(InKnMm(nodes + element + "*SECTION\n1,A,N,X," + row.section + "\n\n"), model));
        EXPECT_EQ(Members(model), row.member) << row.section << " from " << row.start << " to " << row.end << " as "
                                              << row.ends;
    }
}

TEST(ReferencePoint, UnknownShapeCodeSetsNothing)
{
    // The rule knows the codes the section step gives; a section that carries another code (changed
    // here between a first run of the steps and the translation) links its members without a point.
    Translation t;
    ReadAndWrite(t, InKnMm("*NODE\n1,0,0,0\n2,0,0,3000\n\n*ELEMENT\n1,BEAM,1,1,1,2,0\n\n"
                           "*SECTION\n1,A,N,X,H,2,400\n\n"));
    TranslatorAccess::LSections(t)[0]->ShapeCode = 99;
    ModalData_Orvo model;
    ASSERT_TRUE(t.TranMidastoOrvo(model));
    EXPECT_EQ(Members(model), "99/1 none, 99/1 none");
}

// ---------------------------------------------------------------------------------------------------------
// A whole file

TEST(PropertiesFile, ReachesTheHostFieldByField)
{
    // In metres: plate thicknesses scale to mm and keep their numbers; section properties are handed over
    // as the file or the catalogue gives them, unscaled.
    const std::string text = "*UNIT\nKN,M,KJ,C\n\n*NODE\n1,0,0,0\n2,6,0,0\n\n"
                             "*ELEMENT\n1,BEAM,2,3,1,2,0\n2,BEAM,1,2,1,2,0\n\n"
                             "*MATERIAL\n1,A,N,0,0,0,0,0,1,GB03(S),Q345\n2,A,N,0,0,0,0,0,2,1.9e8\n\n"
                             "*SECTION\n1,A,HW300x300,CC,0,0,0,0,0,0,YES,H,1,GB-YB05,HW 300x300x10x15\n"
                             "2,A,L100x80,CC,0,0,0,0,0,0,YES,L,2,0.1,0.08,0.01,0.01\n"
                             "3,A,H400,CC,0,0,0,0,0,0,YES,H,2,0.4\n\n"
                             "*THICKNESS\n3,T,S,0.2\n1,T,S,0.012\n\n";
    const int materialsBefore = Material_Orvo::LiveCount();
    ModalData_Orvo model;
    ASSERT_TRUE(TranslateText(text, model));
    // Members: shape and number within shape, and the material the element names.
    EXPECT_EQ(Members(model), "17/2 +Z, 6/1 +Z");
    EXPECT_EQ(model.m_Lines[0]->MaterialID, 2);
    EXPECT_EQ(model.m_Lines[1]->MaterialID, 1);
    // Materials are numbered on from those the host process already holds.
    ASSERT_EQ(model.m_Materials.GetSize(), 2);
    EXPECT_EQ(model.m_Materials[0]->ID, materialsBefore + 1);
    EXPECT_EQ(model.m_Materials[1]->ID, materialsBefore + 2);

    EXPECT_EQ(SectionText(model.m_LSections),
              "17/1 HW300x300 4:300 6:300 10:10 11:15; 6/1 L100x80 0:0.1 1:0.08 2:0.01 3:0.01; 17/2 H400 4:0.4; ");
    EXPECT_EQ(Values(model.m_SectionShapes), (std::vector<int>{17, 6}));  // each shape code reaches the host once
    std::string plates;  // "ID kind thickness; ..."
    for (const ASection_Orvo* plate : model.m_ASections)
        plates += std::to_string(plate->ID) + " " + std::to_string(plate->Kind) + " " + Num(plate->Thickness) + "; ";
    EXPECT_EQ(plates, "3 1 200; 1 1 12; ");
}

} // namespace
