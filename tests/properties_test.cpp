// Tests for materials, beam sections and plate thicknesses: the three property parsers, the grade table,
// the section step (shape codes, placement, catalogue lookups, numbering), member linking with reference
// points, and unit scaling of what reaches the host.
#include "TestSupport.h"

#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr double kFar = 1e15;

// Every slot of a 13-value property list: the listed ones hold their value, all others 0.0.
void ExpectProperties(const ValueArray<double>& actual, const std::map<int, double>& expected, const std::string& what)
{
    ASSERT_EQ(actual.Count, 13) << what;
    for (int k = 0; k < 13; ++k) {
        const auto found = expected.find(k);
        EXPECT_DOUBLE_EQ(actual[k], found == expected.end() ? 0.0 : found->second) << what << " slot " << k;
    }
}

std::vector<double> Values(const ValueArray<double>& array) { return {array.begin(), array.end()}; }
std::vector<int> Values(const ValueArray<int>& array) { return {array.begin(), array.end()}; }

// A model in kN and mm with the given blocks after the unit line.
std::string InKnMm(const std::string& blocks) { return "*UNIT\nKN, MM, KJ, C\n\n" + blocks; }

// Reads text and runs the translation steps only (nothing reaches a host).
void ReadAndWrite(MIDAStranslatetoOrvo& t, const std::string& text)
{
    TranslatorAccess::ReadText(t, text);
    t.Write();
}

// ---------------------------------------------------------------------------------------------------------
// *MATERIAL

struct MaterialRow {
    const char* line;
    bool accepted = true;
    int id = 0;
    const char* type = "";
    const char* name = "";
    int kind = 0;
    const char* code = "";
    const char* grade = "";
    double elastic = 0, poisson = 0, thermal = 0, density = 0, mass = 0;
};

TEST(MaterialRecord, ReadsBothFormsFieldByField)
{
    const MaterialRow rows[] = {
        {.line = "1, STEEL, Grade A, 0, 0, , C, NO, 1, GB03(S), Q235", .id = 1, .type = "STEEL", .name = "GradeA",
         .kind = 1, .code = "GB03(S)", .grade = "Q235"},
        // empty fields count: the kind is still field 9
        {.line = "1,A,N,,,,,,1,GB03(S),Q235", .id = 1, .type = "A", .name = "N", .kind = 1, .code = "GB03(S)", .grade = "Q235"},
        // everything behind the code belongs to the grade name
        {.line = "2,A,N,0,0,0,0,0,1,GB03(S),Q235,NO,2.06e+008", .id = 2, .type = "A", .name = "N", .kind = 1,
         .code = "GB03(S)", .grade = "Q235,NO,2.06e+008"},
        {.line = "3,A,N,0,0,0,0,0,1, GB 03(S) ,Q 235", .id = 3, .type = "A", .name = "N", .kind = 1, .code = "GB03(S)",
         .grade = "Q235"},
        {.line = "4,A,N,0,0,0,0,0,1.9,C,C30", .id = 4, .type = "A", .name = "N", .kind = 1, .code = "C", .grade = "C30"},
        // value form: ELAST, POISN, THERMAL, DEN, MASS
        {.line = "5,A,N,0,0,0,0,0,2,206000,0.3,1.2e-5,76.98,7.85", .id = 5, .type = "A", .name = "N", .kind = 2,
         .elastic = 206000, .poisson = 0.3, .thermal = 1.2e-5, .density = 76.98, .mass = 7.85},
        {.line = "6,A,N,0,0,0,0,0,2,206000,0.3,1.2e-5,76.98,7.85,99", .id = 6, .type = "A", .name = "N", .kind = 2,
         .elastic = 206000, .poisson = 0.3, .thermal = 1.2e-5, .density = 76.98, .mass = 7.85},
        {.line = "7,A,N,0,0,0,0,0,0,3e4,0.2,1e-5,25,2.5", .id = 7, .type = "A", .name = "N", .kind = 0, .elastic = 3e4,
         .poisson = 0.2, .thermal = 1e-5, .density = 25, .mass = 2.5},
        // short lines past field 9 keep the missing fields empty or 0
        {.line = "8,A,N,0,0,0,0,0,2,206000", .id = 8, .type = "A", .name = "N", .kind = 2, .elastic = 206000},
        {.line = "9,A,N,0,0,0,0,0,2,,0.3", .id = 9, .type = "A", .name = "N", .kind = 2, .poisson = 0.3},
        {.line = "10,A,N,0,0,0,0,0,1,GB03(S)", .id = 10, .type = "A", .name = "N", .kind = 1, .code = "GB03(S)"},
        {.line = "11,A,N,0,0,0,0,0,1,", .id = 11, .type = "A", .name = "N", .kind = 1},
        {.line = "x,A,N,0,0,0,0,0,abc,1,2", .id = 0, .type = "A", .name = "N", .kind = 0, .elastic = 1, .poisson = 2},
        // no comma after the kind, or a blank line: not a material line
        {.line = "12,A,N,0,0,0,0,0,1", .accepted = false},
        {.line = "12,A,N", .accepted = false},
        {.line = "*SECTION", .accepted = false},
        {.line = "", .accepted = false},
        {.line = "     ", .accepted = false},
    };
    for (const MaterialRow& row : rows) {
        MaterialRecord r;
        ASSERT_EQ(r.Parse(row.line), row.accepted) << row.line;
        if (!row.accepted)
            continue;
        EXPECT_EQ(r.m_nID, row.id) << row.line;
        EXPECT_EQ(r.m_strType, row.type) << row.line;
        EXPECT_EQ(r.m_strName, row.name) << row.line;
        EXPECT_EQ(r.m_nDataKind, row.kind) << row.line;
        EXPECT_EQ(r.m_strStandardCode, row.code) << row.line;
        EXPECT_EQ(r.m_strGradeName, row.grade) << row.line;
        EXPECT_DOUBLE_EQ(r.m_dElasticity, row.elastic) << row.line;
        EXPECT_DOUBLE_EQ(r.m_dPoisson, row.poisson) << row.line;
        EXPECT_DOUBLE_EQ(r.m_dThermal, row.thermal) << row.line;
        EXPECT_DOUBLE_EQ(r.m_dDensity, row.density) << row.line;
        EXPECT_DOUBLE_EQ(r.m_dMass, row.mass) << row.line;
    }
}

// ---------------------------------------------------------------------------------------------------------
// *SECTION

struct SectionRow {
    const char* line;
    bool accepted = true;
    int id = 0;
    const char* type = "";
    const char* name = "";
    const char* extra = "";
    const char* shape = "";
    int kind = 0;
    const char* code = "";
    const char* catalog = "";
    std::vector<double> dims = {};
};

TEST(SectionRecord, ReadsBothLayoutsAndBothForms)
{
    const SectionRow rows[] = {
        {.line = "1,A,N,X,0,0,0,0,0,0,YES,H,1,S,H400x200", .id = 1, .type = "A", .name = "N", .extra = "X",
         .shape = "H", .kind = 1, .code = "S", .catalog = "H400x200"},
        // "NO" in place of "YES": token 5 is the shape, token 6 the kind, the rest dimensions
        {.line = "1,A,N,X,0,0,0,0,0,0,NO,H,1,S,H400x200", .id = 1, .type = "A", .name = "N", .extra = "X",
         .shape = "0", .kind = 0, .dims = {0, 0, 0, 0, 0, 0, 1, 0, 0}},
        {.line = "2,A,N,X,0,0,YES,P,2,200,10", .id = 2, .type = "A", .name = "N", .extra = "X", .shape = "P", .kind = 2,
         .dims = {200, 10}},
        {.line = "3,A,N,X,L,2,100,80,10,10", .id = 3, .type = "A", .name = "N", .extra = "X", .shape = "L", .kind = 2,
         .dims = {100, 80, 10, 10}},
        // empty fields are passed over: later values move forward
        {.line = "4,A,N,X,L,2,100,,80", .id = 4, .type = "A", .name = "N", .extra = "X", .shape = "L", .kind = 2,
         .dims = {100, 80}},
        {.line = "5,,T,X,H,1,S,H300", .id = 5, .type = "T", .name = "X", .extra = "H", .shape = "1", .kind = 0,
         .dims = {0}},
        // spaces vanish everywhere, also inside names; tokens are trimmed of other whitespace
        {.line = "6, SEC , H 400x200x8/13 , 0, H, 1, GB-YB05, H 400x200x8/13", .id = 6, .type = "SEC",
         .name = "H400x200x8/13", .extra = "0", .shape = "H", .kind = 1, .code = "GB-YB05", .catalog = "H400x200x8/13"},
        {.line = "7,A,\tN\t,X,SB,2,\t50", .id = 7, .type = "A", .name = "N", .extra = "X", .shape = "SB", .kind = 2,
         .dims = {50}},
        {.line = "8,A,N,X,H,1,S,HW300x300x10x15,MORE,99", .id = 8, .type = "A", .name = "N", .extra = "X", .shape = "H",
         .kind = 1, .code = "S", .catalog = "HW300x300x10x15"},
        {.line = "9,A,N,X,B,2,300,200,10,12,180,abc", .id = 9, .type = "A", .name = "N", .extra = "X", .shape = "B",
         .kind = 2, .dims = {300, 200, 10, 12, 180, 0}},
        {.line = "10,A,N", .id = 10, .type = "A", .name = "N"},
        // "YES" only inside a name or among tokens 1 to 4: the scan takes every token, nothing follows it
        {.line = "11,A,NOYES,X,H,1,S,H300x150x6x9", .id = 11, .type = "A", .name = "NOYES", .extra = "X"},
        {.line = "12,A,YES,X,H,2,300", .id = 12, .type = "A", .name = "YES", .extra = "X"},
        // only a token that is exactly "YES" opens the shape
        {.line = "13,A,N,X,NOTYES,\tYES\t,H,1,S,H300", .id = 13, .type = "A", .name = "N", .extra = "X", .shape = "H",
         .kind = 1, .code = "S", .catalog = "H300"},
        // "YES" at the very start: accepted with nothing set
        {.line = "YES,A,N,X,H,1,S,H300", .id = 0},
        // tabs are no blanks, so a tab-only line is a (useless) data line
        {.line = "\t"},
        {.line = "", .accepted = false},
        {.line = "   ", .accepted = false},
    };
    for (const SectionRow& row : rows) {
        SectionRecord r;
        ASSERT_EQ(r.Parse(row.line), row.accepted) << row.line;
        if (!row.accepted)
            continue;
        EXPECT_EQ(r.m_nID, row.id) << row.line;
        EXPECT_EQ(r.m_strType, row.type) << row.line;
        EXPECT_EQ(r.m_strName, row.name) << row.line;
        EXPECT_EQ(r.m_strExtra, row.extra) << row.line;
        EXPECT_EQ(r.m_strShape, row.shape) << row.line;
        EXPECT_EQ(r.m_nDataKind, row.kind) << row.line;
        EXPECT_EQ(r.m_strStandardCode, row.code) << row.line;
        EXPECT_EQ(r.m_strCatalogName, row.catalog) << row.line;
        EXPECT_EQ(Values(r.m_Dimensions), row.dims) << row.line;
    }
}

// ---------------------------------------------------------------------------------------------------------
// *THICKNESS

TEST(ThicknessRecord, ReadsTokensSkippingEmptyFields)
{
    struct Row {
        const char* line;
        bool accepted;
        int id;
        const char* type;
        const char* extra;
        double thickness;
        int nExtra;
    };
    const Row rows[] = {
        {"1,T,S,12.5,0", true, 1, "T", "S", 12.5, 0},
        {"2,,T,S,0.2,3", true, 2, "T", "S", 0.2, 3},
        {"3, VALUE , Yes, 1 2.5, 7, 8, 9", true, 3, "VALUE", "Yes", 12.5, 7},  // a space inside the number goes
        {"4", true, 4, "", "", 0.0, 0},
        {"5,T,S,abc,x", true, 5, "T", "S", 0.0, 0},
        {"\t", true, 0, "", "", 0.0, 0},
        {"", false, 0, "", "", 0.0, 0},
        {"    ", false, 0, "", "", 0.0, 0},
    };
    for (const Row& row : rows) {
        ThicknessRecord r;
        ASSERT_EQ(r.Parse(row.line), row.accepted) << row.line;
        if (!row.accepted)
            continue;
        EXPECT_EQ(r.m_nID, row.id) << row.line;
        EXPECT_EQ(r.m_strType, row.type) << row.line;
        EXPECT_EQ(r.m_strExtra, row.extra) << row.line;
        EXPECT_DOUBLE_EQ(r.m_dThickness, row.thickness) << row.line;
        EXPECT_EQ(r.m_nExtra, row.nExtra) << row.line;
    }
}

TEST(PropertyBlocks, BlankLineEndsEachBlock)
{
    MIDAStranslatetoOrvo t;
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

struct GradeEntry {
    const char* name;
    int grade;
    double elastic, poisson, thermal, extra, density;
};
constexpr GradeEntry kGrades[] = {
    {"Q235", 1, 206.0, 0.3, 1.2e-05, 235.0, 7.85e-06}, {"Q345", 2, 206.0, 0.3, 1.2e-05, 345.0, 7.85e-06},
    {"Q390", 3, 206.0, 0.3, 1.2e-05, 390.0, 7.85e-06}, {"Q420", 4, 206.0, 0.3, 1.2e-05, 420.0, 7.85e-06},
    {"C15", 7, 22.0, 0.2, 1e-05, 0.0, 2.5e-06},        {"C20", 8, 25.5, 0.2, 1e-05, 0.0, 2.5e-06},
    {"C25", 9, 28.0, 0.2, 1e-05, 0.0, 2.5e-06},        {"C30", 10, 30.0, 0.2, 1e-05, 0.0, 2.5e-06},
    {"C35", 11, 31.5, 0.2, 1e-05, 0.0, 2.5e-06},       {"C40", 12, 32.5, 0.2, 1e-05, 0.0, 2.5e-06},
    {"C45", 13, 33.5, 0.2, 1e-05, 0.0, 2.5e-06},       {"C50", 14, 34.5, 0.2, 1e-05, 0.0, 2.5e-06},
    {"C55", 15, 35.5, 0.2, 1e-05, 0.0, 2.5e-06},       {"C60", 16, 36.0, 0.2, 1e-05, 0.0, 2.5e-06},
    {"C65", 17, 36.5, 0.2, 1e-05, 0.0, 2.5e-06},       {"C70", 18, 37.0, 0.2, 1e-05, 0.0, 2.5e-06},
    {"C75", 19, 37.5, 0.2, 1e-05, 0.0, 2.5e-06},       {"C80", 20, 38.0, 0.2, 1e-05, 0.0, 2.5e-06},
};
constexpr GradeEntry kNoGrade = {"", -1, 0.0, 0.0, 0.0, 0.0, 0.0};

void ExpectMaterial(const MaterialProperty& p, const GradeEntry& e, const std::string& what)
{
    EXPECT_EQ(p.Grade, e.grade) << what;
    EXPECT_DOUBLE_EQ(p.Elastic, e.elastic) << what;
    EXPECT_DOUBLE_EQ(p.Poisson, e.poisson) << what;
    EXPECT_DOUBLE_EQ(p.Thermal, e.thermal) << what;
    EXPECT_DOUBLE_EQ(p.Extra, e.extra) << what;
    EXPECT_DOUBLE_EQ(p.Density, e.density) << what;
}

TEST(MaterialStep, SteelCodeSelectsSteelsAndEveryOtherCodeConcretes)
{
    // Each grade name under the steel code and under a concrete code: only one of the two matches.
    std::string text = "*MATERIAL\n";
    for (const GradeEntry& e : kGrades) {
        text += std::string("1,STEEL,N,0,0,0,0,0,1,GB03(S),") + e.name + "\n";
        text += std::string("1,CONC,N,0,0,0,0,0,1,GB10(RC),") + e.name + "\n";
    }
    MIDAStranslatetoOrvo t;
    ReadAndWrite(t, text + "\n");
    auto& materials = TranslatorAccess::Materials(t);
    ASSERT_EQ(materials.GetSize(), 2 * 18);
    for (int i = 0; i < 18; ++i) {
        const bool steel = i < 4;
        ExpectMaterial(materials[2 * i]->Property, steel ? kGrades[i] : kNoGrade, std::string("GB03(S) ") + kGrades[i].name);
        ExpectMaterial(materials[2 * i + 1]->Property, steel ? kNoGrade : kGrades[i], std::string("GB10 ") + kGrades[i].name);
    }
}

TEST(MaterialStep, GradeNamesAreComparedWholeAndCaseSensitive)
{
    struct Row {
        const char* code;
        const char* grade;
        int expected;
    };
    const Row rows[] = {
        {"GB03(S)", "q235", -1},  {"GB03(S)", "Q235,NO,2.06e+008", -1}, {"GB03(S)", "Q23", -1},
        {"GB03(S)", "Q2350", -1}, {"gb03(s)", "Q235", -1},               {"gb03(s)", "C30", 10},
        {"", "C30", 10},          {"GB10", "c30", -1},                   {"GB03(S)", " Q 235 ", 1},
        {"GB03", "Q235", -1},     {"GB03(S)(S)", "Q235", -1},            {"GB03(S)", "C80", -1},
    };
    std::string text = "*MATERIAL\n";
    for (const Row& row : rows)
        text += std::string("1,A,N,0,0,0,0,0,1,") + row.code + "," + row.grade + "\n";
    MIDAStranslatetoOrvo t;
    ReadAndWrite(t, text + "\n");
    auto& materials = TranslatorAccess::Materials(t);
    ASSERT_EQ(materials.GetSize(), int(std::size(rows)));
    for (int i = 0; i < materials.GetSize(); ++i) {
        EXPECT_EQ(materials[i]->Property.Grade, rows[i].expected) << rows[i].code << " " << rows[i].grade;
        if (rows[i].expected == -1)
            ExpectMaterial(materials[i]->Property, kNoGrade, rows[i].grade);
    }
}

TEST(MaterialStep, ValueFormIsUserDefinedWithMassDensity)
{
    MIDAStranslatetoOrvo t;
    ReadAndWrite(t, "*MATERIAL\n1,A,N,0,0,0,0,0,2,206000,0.3,1.2e-5,78.5,8.0\n\n");
    ASSERT_EQ(TranslatorAccess::Materials(t).GetSize(), 1);
    ExpectMaterial(TranslatorAccess::Materials(t)[0]->Property,
                   {"", 21, 206000.0, 0.3, 1.2e-5, 0.0, 78.5 * 0.1020408163265306}, "value form");
}

TEST(UnitScaling, MaterialsTakeForcePerSquareLength)
{
    struct Row {
        const char* force;
        const char* length;
        double F, L;
    };
    const Row rows[] = {{"KN", "MM", 1.0, 1.0}, {"KN", "M", 1.0, 1000.0}, {"N", "MM", 1000.0, 1.0}};
    for (const Row& row : rows) {
        const std::string text = std::string("*UNIT\n") + row.force + "," + row.length + ",KJ,C\n\n" +
                                 "*MATERIAL\n1,A,N,0,0,0,0,0,1,GB03(S),Q235\n"
                                 "2,A,N,0,0,0,0,0,2,2e5,0.3,1.2e-5,78.5\n\n";
        ModalData_Orvo model;
        ASSERT_TRUE(TranslateText(text, model)) << row.force << row.length;
        ASSERT_EQ(model.m_Materials.GetSize(), 2);
        const double stress = row.F / (row.L * row.L);
        const std::string what = std::string(row.force) + "," + row.length;
        ExpectMaterial(model.m_Materials[0]->Property,
                       {"", 1, 206.0 * stress, 0.3, 1.2e-05, 235.0 * stress, 7.85e-06 / (row.L * row.L) * 0.1}, what);
        ExpectMaterial(model.m_Materials[1]->Property,
                       {"", 21, 2e5 * stress, 0.3, 1.2e-5, 0.0, 78.5 * 0.1020408163265306 / (row.L * row.L) * 0.1},
                       what);
    }
}

// ---------------------------------------------------------------------------------------------------------
// Beam sections

struct ShapeRow {
    const char* line;
    int code;
    std::map<int, double> properties;
};

void ExpectSections(const std::vector<ShapeRow>& rows)
{
    for (const ShapeRow& row : rows) {
        MIDAStranslatetoOrvo t;
        ReadAndWrite(t, std::string("*SECTION\n") + row.line + "\n\n");
        auto& sections = TranslatorAccess::LSections(t);
        ASSERT_EQ(sections.GetSize(), 1) << row.line;
        EXPECT_EQ(sections[0]->ShapeCode, row.code) << row.line;
        EXPECT_EQ(sections[0]->ID, 1) << row.line;
        EXPECT_EQ(sections[0]->Name, "N") << row.line;
        EXPECT_EQ(Values(TranslatorAccess::SectionTypes(t)), std::vector<int>{row.code}) << row.line;
        ExpectProperties(sections[0]->Properties, row.properties, row.line);
    }
}

TEST(SectionStep, PlacesFileDimensionsPerShape)
{
    ExpectSections({
        {"1,A,N,X,H,2,400,200,8,13,99", 17, {{4, 400}, {6, 200}, {10, 8}, {11, 13}}},
        {"1,A,N,X,T,2,300,150,7,10", 28, {{4, 300}, {6, 150}, {10, 7}, {11, 10}}},
        {"1,A,N,X,C,2,200,75,6,9,70,8,99", 3, {{0, 200}, {1, 75}, {2, 6}, {3, 9}, {4, 70}, {5, 8}}},
        {"1,A,N,X,L,2,100,100,10,10", 5, {{0, 100}, {1, 100}, {2, 10}, {3, 10}}},
        {"1,A,N,X,L,2,100,80,10,10", 6, {{0, 100}, {1, 80}, {2, 10}, {3, 10}}},
        {"1,A,N,X,L,2,100.0,1e2,10", 5, {{0, 100}, {1, 100}, {2, 10}}},
        {"1,A,N,X,L,2,100,100.000001", 6, {{0, 100}, {1, 100.000001}}},
        {"1,A,N,X,L,2,100", 6, {{0, 100}}},  // a missing second leg reads as 0
        {"1,A,N,X,L,2", 5, {}},
        {"1,A,N,X,B,2,300,200,10,12,180", 21, {{4, 300}, {6, 180}, {10, 10}, {11, 12}}},
        {"1,A,N,X,B,2,300,200,10,12", 21, {{4, 300}, {10, 10}, {11, 12}}},
        {"1,A,N,X,P,2,200,10", 22, {{4, 90}, {5, 100}, {10, 10}}},
        {"1,A,N,X,P,2,200", 22, {{4, 100}, {5, 100}}},
        {"1,A,N,X,SB,2,50,30,99", 29, {{4, 50}, {6, 30}}},
        {"1,A,N,X,SR,2,40,99", 24, {{4, 40}}},
        {"1,A,N,X,h,2,400,200,8,13", 25, {}},
        {"1,A,N,X,BOX,2,400,200,8,13", 25, {}},
        // shapes without catalogue entries ignore the database form and never ask the library
        {"1,A,N,X,B,1,S,NOT-IN-ANY-CATALOGUE", 21, {}},
        {"1,A,N,X,SB,1,S,NOT-IN-ANY-CATALOGUE", 29, {}},
        {"1,A,N,X,SR,1,S,NOT-IN-ANY-CATALOGUE", 24, {}},
        {"1,A,N,X,PIPE,1,S,NOT-IN-ANY-CATALOGUE", 25, {}},
    });
}

TEST(SectionStep, TakesCatalogueSectionsFromTheLibrary)
{
    ExpectSections({
        {"1,A,N,X,H,1,S,HW300X305*15/15", 17, {{4, 300}, {6, 305}, {10, 15}, {11, 15}}},
        {"1,A,N,X,H,1,S,H 400x200x8/13", 17, {{4, 400}, {6, 200}, {10, 8}, {11, 13}}},
        {"1,A,N,X,T,1,S,TN150x300x6.5x9", 28, {{4, 150}, {6, 300}, {10, 6.5}, {11, 9}}},
        {"1,A,N,X,C,1,S,C200x75x6x9", 3, {{0, 200}, {1, 75}, {2, 6}, {3, 9}, {4, 75}, {5, 9}}},
        {"1,A,N,X,P,1,S,P114x4", 22, {{4, 53}, {5, 57}, {10, 4}}},
        // angles: two numbers are an equal-leg angle, three an unequal one, however they are separated
        {"1,A,N,X,L,1,S,L100x10", 5, {{0, 100}, {1, 100}, {2, 10}, {3, 10}}},
        {"1,A,N,X,L,1,S,L100X80X8", 6, {{0, 100}, {1, 80}, {2, 8}, {3, 8}}},
        {"1,A,N,X,L,1,S,L100*80/8", 6, {{0, 100}, {1, 80}, {2, 8}, {3, 8}}},
        {"1,A,N,X,L,1,S,L80x80x8", 6, {{0, 80}, {1, 80}, {2, 8}, {3, 8}}},
    });
}

TEST(SectionStep, NumbersSectionsPerShapeCodeAcrossRuns)
{
    MIDAStranslatetoOrvo t;
    ReadAndWrite(t, "*SECTION\n1,A,H1,X,H,2,400\n2,A,P1,X,P,2,200,10\n3,A,H2,X,H,1,S,H300x150x6.5x9\n"
                    "4,A,L1,X,L,2,100,100\n5,A,L2,X,L,2,100,80\n6,A,L3,X,L,1,S,L75x8\n\n");
    auto& sections = TranslatorAccess::LSections(t);
    const int firstRun[][2] = {{17, 1}, {22, 1}, {17, 2}, {5, 1}, {6, 1}, {5, 2}};
    ASSERT_EQ(sections.GetSize(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(sections[i]->ShapeCode, firstRun[i][0]) << i;
        EXPECT_EQ(sections[i]->ID, firstRun[i][1]) << i;
    }
    EXPECT_EQ(Values(TranslatorAccess::SectionTypes(t)), (std::vector<int>{17, 22, 17, 5, 6, 5}));

    t.Write();  // a second run numbers on after what the first one collected
    ASSERT_EQ(sections.GetSize(), 12);
    const int secondRunIDs[] = {3, 2, 4, 3, 2, 4};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(sections[6 + i]->ID, secondRunIDs[i]) << i;
}

TEST(SectionStep, UnknownCatalogueNameEndsTheStep)
{
    struct Row {
        const char* unknown;  // the second of three sections
        std::vector<int> types;
    };
    // An H, C, T or P code is listed before the lookup; an angle's only once its legs are known.
    const Row rows[] = {
        {"2,A,N,X,H,1,S,H400", {17, 17}},
        {"2,A,N,X,P,1,S,NOPE", {17, 22}},
        {"2,A,N,X,L,1,S,L100x80x8x1", {17}},
        {"2,A,N,X,C,1,S,", {17, 3}},
    };
    for (const Row& row : rows) {
        MIDAStranslatetoOrvo t;
        ReadAndWrite(t, std::string("*SECTION\n1,A,N,X,H,2,400\n") + row.unknown + "\n3,A,N,X,SR,2,40\n\n");
        EXPECT_EQ(TranslatorAccess::LSections(t).GetSize(), 1) << row.unknown;
        EXPECT_EQ(Values(TranslatorAccess::SectionTypes(t)), row.types) << row.unknown;
    }
}

TEST(SectionShapes, EachCodeReachesTheHostOnce)
{
    ModalData_Orvo model;
    ASSERT_TRUE(TranslateText(InKnMm("*SECTION\n1,A,N,X,H,2,400\n2,A,N,X,P,2,200,10\n3,A,N,X,H,2,500\n"
                                     "4,A,N,X,P,2,100,5\n\n"),
                              model));
    EXPECT_EQ(Values(model.m_SectionShapes), (std::vector<int>{17, 22}));
    ASSERT_EQ(model.m_LSections.GetSize(), 4);
    const int ids[] = {1, 1, 2, 2};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(model.m_LSections[i]->ID, ids[i]) << i;
}

// ---------------------------------------------------------------------------------------------------------
// Linking members to sections

// A row of members (their section numbers) and what each reaches the host with: shape code and ID.
struct LinkRow {
    const char* what;
    std::vector<int> sectionNumbers;
    std::vector<std::pair<int, int>> linked;  // (SectionShape, SectionID) per member
};

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
    const LinkRow rows[] = {
        {"all found", {3, 2, 1, 3}, {{17, 2}, {22, 1}, {17, 1}, {17, 2}}},
        // a section number beyond the block, or one of 0 or less, stops the walk there
        {"beyond the block", {1, 4, 2}, {{17, 1}, {0, 4}, {0, 2}}},
        {"zero", {2, 0, 1}, {{22, 1}, {0, 0}, {0, 1}}},
        {"negative", {-1, 1}, {{0, -1}, {0, 1}}},
    };
    for (const LinkRow& row : rows) {
        ModalData_Orvo model;
        ASSERT_TRUE(TranslateText(LinkModel(sections, row.sectionNumbers), model)) << row.what;
        ASSERT_EQ(model.m_Lines.GetSize(), int(row.linked.size())) << row.what;
        for (int i = 0; i < model.m_Lines.GetSize(); ++i) {
            const Line_Orvo& line = *model.m_Lines[i];
            EXPECT_EQ(line.SectionShape, row.linked[i].first) << row.what << " member " << i;
            EXPECT_EQ(line.SectionID, row.linked[i].second) << row.what << " member " << i;
            EXPECT_EQ(line.RefZ, line.SectionShape == 0 ? 0.0 : kFar) << row.what << " member " << i;
        }
        EXPECT_TRUE(model.m_bUpdated);
    }
}

TEST(BeamSectionLink, SectionsAfterAnUnknownCatalogueNameAreLost)
{
    // Section 2 names nothing in the library, so section 3 is never built either.
    ModalData_Orvo model;
    ASSERT_TRUE(TranslateText(LinkModel("1,A,N,X,H,2,400\n2,A,N,X,H,1,S,H999\n3,A,N,X,P,2,200,10\n", {1, 3, 1}),
                              model));
    ASSERT_EQ(model.m_LSections.GetSize(), 1);
    EXPECT_EQ(Values(model.m_SectionShapes), std::vector<int>{17});
    const std::pair<int, int> linked[] = {{17, 1}, {0, 3}, {0, 1}};
    for (int i = 0; i < 3; ++i) {
        const Line_Orvo& line = *model.m_Lines[i];
        EXPECT_EQ(line.SectionShape, linked[i].first) << i;
        EXPECT_EQ(line.SectionID, linked[i].second) << i;
        if (i > 0) {
            EXPECT_EQ(line.RefX, 0.0);
            EXPECT_EQ(line.RefY, 0.0);
            EXPECT_EQ(line.RefZ, 0.0);
        }
    }
}

TEST(BeamSectionLink, AddressesTheSectionsAppendedByThisTranslation)
{
    // The host already holds a beam section and a line: the new members pair with the new sections.
    ModalData_Orvo model;
    auto* old = new LSection_Orvo;
    old->ShapeCode = 3;
    model.m_LSections.Add(old);
    model.m_Lines.Add(new Line_Orvo);
    // A section number of 0 must not reach back to the host's own section before them.
    ASSERT_TRUE(TranslateText(LinkModel("1,A,N,X,P,2,200,10\n2,A,N,X,H,2,400\n", {2, 1, 0, 1}), model));
    ASSERT_EQ(model.m_Lines.GetSize(), 5);
    const int shapes[] = {0, 17, 22, 0, 0};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(model.m_Lines[i]->SectionShape, shapes[i]) << i;
    EXPECT_EQ(model.m_LSections[0]->ShapeCode, 3);
}

// ---------------------------------------------------------------------------------------------------------
// Reference points

TEST(ReferencePoint, FollowsShapeCodeAndMemberDirection)
{
    struct Row {
        const char* section;
        const char* end;  // the second node
        double x, y, z;
        const char* start = "0,0,0";
    };
    const Row rows[] = {
        {"C,2,200,75", "0,0,3000", 0, kFar, 0},      // C column
        {"C,2,200,75", "6000,0,0", 0, -kFar, 0},     // C along X
        {"C,2,200,75", "0,6000,0", -kFar, 0, 0},     // C along Y
        {"C,2,200,75", "3000,0,4000", -kFar, 0, 0},  // C sloping
        {"L,2,100,100", "6000,0,0", 0, 0, kFar},     // L along X
        {"L,2,100,100", "0,6000,0", -kFar, 0, 0},    // L along Y
        {"L,2,100,80", "0,6000,0", -kFar, 0, 0},     // unequal L along Y
        {"L,2,100,100", "0,0,3000", kFar, 0, 0},     // L column
        {"L,2,100,100", "3000,4000,0", kFar, 0, 0},  // L sloping in plan
        {"H,2,400", "0,0,3000", kFar, 0, 0},         // H column
        {"H,2,400", "6000,0,0", 0, 0, kFar},         // H along X
        {"H,2,400", "0,6000,0", 0, 0, kFar},         // H along Y
        {"H,2,400", "0,-6000,-3000", 0, 0, kFar},    // H sloping
        {"T,2,300", "0,0,-3000", kFar, 0, 0},
        {"B,2,300", "0,0,3000", kFar, 0, 0},
        {"P,2,200,10", "0,0,3000", kFar, 0, 0},
        {"SB,2,50", "0,0,3000", kFar, 0, 0},
        {"SR,2,40", "0,0,3000", kFar, 0, 0},
        {"RECT,2,40", "0,0,3000", kFar, 0, 0},
        {"B,2,300", "6000,0,0", 0, 0, kFar},
        // a coordinate difference below 1e-8 mm counts as none
        {"H,2,400", "1000.000000005,0,3000", kFar, 0, 0, "1000,0,0"},
        {"H,2,400", "1000.00000002,0,3000", 0, 0, kFar, "1000,0,0"},
        {"L,2,100,100", "6000,2000.000000001,0", 0, 0, kFar, "0,2000,0"},
    };
    for (const Row& row : rows) {
        const std::string text =
            InKnMm(std::string("*NODE\n1,") + row.start + "\n2," + row.end +
                   "\n\n*ELEMENT\n1,BEAM,1,1,1,2,0\n\n*SECTION\n1,A,N,X," + row.section + "\n\n");
        const std::string what = std::string(row.section) + " from " + row.start + " to " + row.end;
        ModalData_Orvo model;
        ASSERT_TRUE(TranslateText(text, model)) << what;
        ASSERT_EQ(model.m_Lines.GetSize(), 1);
        const Line_Orvo& line = *model.m_Lines[0];
        EXPECT_EQ(line.RefX, row.x) << what;
        EXPECT_EQ(line.RefY, row.y) << what;
        EXPECT_EQ(line.RefZ, row.z) << what;
        EXPECT_EQ(line.RefSpare, 0.0);
    }
}

TEST(ReferencePoint, NothingSetWithoutBothEndNodes)
{
    struct Row {
        const char* what;
        const char* blocks;
    };
    const Row rows[] = {
        {"no nodes at all", "*ELEMENT\n1,BEAM,1,1,1,2,0\n\n"},
        {"end node not in the node block", "*NODE\n1,0,0,0\n2,0,0,3000\n\n*ELEMENT\n1,BEAM,1,1,1,9,0\n\n"},
        {"start node 0", "*NODE\n1,0,0,0\n2,0,0,3000\n\n*ELEMENT\n1,BEAM,1,1,0,2,0\n\n"},
    };
    for (const Row& row : rows) {
        ModalData_Orvo model;
        ASSERT_TRUE(TranslateText(InKnMm(std::string(row.blocks) + "*SECTION\n1,A,N,X,H,2,400\n\n"), model)) << row.what;
        ASSERT_EQ(model.m_Lines.GetSize(), 1) << row.what;
        const Line_Orvo& line = *model.m_Lines[0];
        EXPECT_EQ(line.SectionShape, 17) << row.what;  // still linked
        EXPECT_EQ(line.RefX, 0.0) << row.what;
        EXPECT_EQ(line.RefY, 0.0) << row.what;
        EXPECT_EQ(line.RefZ, 0.0) << row.what;
    }
}

TEST(ReferencePoint, UnknownShapeCodeSetsNothing)
{
    // The rule knows the codes the section step gives; a section that carries another code (changed
    // here between a first run of the steps and the translation) links its members without a point.
    MIDAStranslatetoOrvo t;
    ReadAndWrite(t, InKnMm("*NODE\n1,0,0,0\n2,0,0,3000\n\n*ELEMENT\n1,BEAM,1,1,1,2,0\n\n*SECTION\n1,A,N,X,H,2,400\n\n"));
    TranslatorAccess::LSections(t)[0]->ShapeCode = 99;
    ModalData_Orvo model;
    ASSERT_TRUE(t.TranMidastoOrvo(model));
    ASSERT_EQ(model.m_Lines.GetSize(), 2);
    for (const Line_Orvo* line : model.m_Lines) {
        EXPECT_EQ(line->SectionShape, 99);
        EXPECT_EQ(line->RefX, 0.0);
        EXPECT_EQ(line->RefY, 0.0);
        EXPECT_EQ(line->RefZ, 0.0);
    }
}

// ---------------------------------------------------------------------------------------------------------
// Thicknesses and a whole file

TEST(AreaSectionStep, ThicknessesKeepTheirNumbersAndScaleToMillimetres)
{
    struct Row {
        const char* length;
        const char* line;
        double thickness;
    };
    const Row rows[] = {{"MM", "1,T,S,12.5,0", 12.5}, {"M", "1,T,S,0.2,0", 200.0}, {"CM", "1,T,S,1.5", 15.0}};
    for (const Row& row : rows) {
        ModalData_Orvo model;
        ASSERT_TRUE(TranslateText(std::string("*UNIT\nKN,") + row.length + ",KJ,C\n\n*THICKNESS\n3,T,S,1\n" + row.line +
                                      "\n\n",
                                  model));
        ASSERT_EQ(model.m_ASections.GetSize(), 2) << row.length;
        EXPECT_EQ(model.m_ASections[0]->ID, 3);
        EXPECT_EQ(model.m_ASections[1]->ID, 1);
        for (const ASection_Orvo* section : model.m_ASections)
            EXPECT_EQ(section->Kind, 1);
        EXPECT_DOUBLE_EQ(model.m_ASections[1]->Thickness, row.thickness) << row.length;
    }
}

TEST(PropertiesFile, ReachesTheHostFieldByField)
{
    const std::string text = R"(*VERSION
   8.0.5

*UNIT    ; Unit System
; FORCE, LENGTH, HEAT, TEMPER
   KN   , M, KJ, C

*NODE    ; Nodes
; iNO, X, Y, Z
     1, 0, 0, 0
     2, 0, 0, 3.5
     3, 6, 0, 3.5

*ELEMENT    ; Elements
; iEL, TYPE, iMAT, iPRO, iN1, iN2, ANGLE, iSUB,
     1, BEAM  ,    1,     1,     1,     2,     0,     0
     2, BEAM  ,    1,     2,     2,     3,     0,     0
     3, TRUSS ,    2,     3,     1,     3,     0,     0

*MATERIAL    ; Material
    1, STEEL, Q345  , 0, 0, , C, NO, 1, GB03(S), Q345
    2, USER , Cable , 0, 0, , C, NO, 2, 1.9e8, 0.3, 1.2e-5, 78.5, 8.0

*SECTION    ; Section
    1, DBUSER    , HW300x300  , CC, 0, 0, 0, 0, 0, 0, YES, H  , 1, GB-YB05, HW 300x300x10x15
    2, DBUSER    , L100x80    , CC, 0, 0, 0, 0, 0, 0, YES, L  , 2, 0.1, 0.08, 0.01, 0.01
    3, DBUSER    , P200x10    , CC, 0, 0, 0, 0, 0, 0, YES, P  , 2, 0.2, 0.01

*THICKNESS    ; Thickness
    3, VALUE, Yes, 0.2, 0
    1, VALUE, Yes, 0.012, 0

*ENDDATA
)";
    const int materialsBefore = Material_Orvo::LiveCount();
    ModalData_Orvo model;
    ASSERT_TRUE(TranslateText(text, model));
    EXPECT_TRUE(model.m_bUpdated);

    ASSERT_EQ(model.m_Nodes.GetSize(), 3);
    EXPECT_DOUBLE_EQ(model.m_Nodes[1]->Z, 3500.0);
    EXPECT_DOUBLE_EQ(model.m_Nodes[2]->X, 6000.0);

    // Members: shape and number within shape, material of the file, far reference point.
    struct Member {
        int shape, id, material;
        double x, y, z;
        unsigned char releases;
    };
    const Member members[] = {{17, 1, 1, kFar, 0, 0, 0}, {6, 1, 1, 0, 0, kFar, 0}, {22, 1, 2, 0, 0, kFar, 0x0C}};
    ASSERT_EQ(model.m_Lines.GetSize(), 3);
    for (int i = 0; i < 3; ++i) {
        const Line_Orvo& line = *model.m_Lines[i];
        EXPECT_EQ(line.ID, i + 1);
        EXPECT_EQ(line.SectionShape, members[i].shape) << i;
        EXPECT_EQ(line.SectionID, members[i].id) << i;
        EXPECT_EQ(line.MaterialID, members[i].material) << i;
        EXPECT_EQ(line.RefX, members[i].x) << i;
        EXPECT_EQ(line.RefY, members[i].y) << i;
        EXPECT_EQ(line.RefZ, members[i].z) << i;
        EXPECT_EQ(line.RefSpare, 0.0) << i;
        EXPECT_EQ(line.StartRelease, members[i].releases) << i;
    }

    // Materials in kN and mm: stresses divided by 1000000, densities by 1000000 and by 10.
    ASSERT_EQ(model.m_Materials.GetSize(), 2);
    EXPECT_EQ(model.m_Materials[0]->ID, materialsBefore + 1);
    EXPECT_EQ(model.m_Materials[1]->ID, materialsBefore + 2);
    ExpectMaterial(model.m_Materials[0]->Property, {"", 2, 206.0 / 1e6, 0.3, 1.2e-05, 345.0 / 1e6, 7.85e-06 / 1e6 * 0.1},
                   "Q345");
    ExpectMaterial(model.m_Materials[1]->Property,
                   {"", 21, 1.9e8 / 1e6, 0.3, 1.2e-5, 0.0, 78.5 * 0.1020408163265306 / 1e6 * 0.1}, "user");

    // Section properties are handed over as the file or the catalogue gives them, without scaling.
    ASSERT_EQ(model.m_LSections.GetSize(), 3);
    const LSection_Orvo& h = *model.m_LSections[0];
    EXPECT_EQ(h.ID, 1);
    EXPECT_EQ(h.ShapeCode, 17);
    EXPECT_EQ(h.Name, "HW300x300");
    ExpectProperties(h.Properties, {{4, 300}, {6, 300}, {10, 10}, {11, 15}}, "H");
    EXPECT_EQ(model.m_LSections[1]->ShapeCode, 6);
    EXPECT_EQ(model.m_LSections[1]->Name, "L100x80");
    ExpectProperties(model.m_LSections[1]->Properties, {{0, 0.1}, {1, 0.08}, {2, 0.01}, {3, 0.01}}, "L");
    EXPECT_EQ(model.m_LSections[2]->ShapeCode, 22);
    ExpectProperties(model.m_LSections[2]->Properties, {{4, 0.09}, {5, 0.1}, {10, 0.01}}, "P");
    EXPECT_EQ(Values(model.m_SectionShapes), (std::vector<int>{17, 6, 22}));

    ASSERT_EQ(model.m_ASections.GetSize(), 2);
    EXPECT_EQ(model.m_ASections[0]->ID, 3);
    EXPECT_DOUBLE_EQ(model.m_ASections[0]->Thickness, 200.0);
    EXPECT_EQ(model.m_ASections[1]->ID, 1);
    EXPECT_DOUBLE_EQ(model.m_ASections[1]->Thickness, 12.0);
}

} // namespace
