// Record parsers of the current MIDAS layout: fields by comma position, quoted fields, ID lists with
// ranges, short lines and the lines that end a block.
#include "TestSupport.h"
#include "reader/CurrentRecords.h"

namespace {

using Texts = std::vector<std::string>;
using Ids = std::vector<int>;
using Reals = std::vector<double>;

template <class T>
std::vector<T> Values(const ValueArray<T>& array) { return {array.begin(), array.end()}; }

} // namespace

TEST(SplitFields, CutsByCommaPositionKeepingQuotedCommas)
{
    const struct { const char* line; Texts fields; } rows[] = {
        {"", {}},
        {"   ", {""}},
        {",", {"", ""}},
        {" 1 , ,x, ", {"1", "", "x", ""}},
        {"\t1\t,2", {"1", "2"}},
        {R"(3, "B35x,y" , 0)", {"3", "B35x,y", "0"}},
        {R"(" a ",)", {"a", ""}},
        {R"("ab"cd,e)", {"ab", "e"}},                 // text after the closing quote is dropped
        {R"(1, "open, rest)", {"1", "open, rest"}},   // unclosed quote runs to the end
        {R"(a"b,c)", {"a\"b", "c"}},                  // a quote inside a field is plain text
    };
    for (const auto& row : rows) {
        std::vector<std::string_view> fields{"stale"};
        SplitFields(row.line, fields);
        EXPECT_EQ(Texts(fields.begin(), fields.end()), row.fields) << row.line;
    }
}

TEST(CurrentMaterialRecord, ReadsKindAfterDampingRatioElseClassic)
{
    const struct { const char* line; bool ok = true; int id = 0; const char* type = ""; const char* name = "";
                   int kind = 0; const char* code = ""; const char* grade = ""; Reals values = {0, 0, 0, 0, 0}; } rows[] = {
        {.line = "    1, CONC , C27 , 0, 0, , C, NO, 0.05, 1, KS01(RC)   , KCI-2012   , C27           , NO, 2.6681e+07",
         .id = 1, .type = "CONC", .name = "C27", .kind = 1, .code = "KS01(RC)", .grade = "C27"},
        {.line = "   1, STEEL, Q345, 0, 0, , C, NO, 0.02, 1, GB 50917-13(S), , Q345, NO, 206000", .id = 1, .type = "STEEL",
         .name = "Q345", .kind = 1, .code = "GB50917-13(S)", .grade = "Q345"},
        {.line = "72,STEEL,Q345,0,0,,C,YES,0.02,2,206000,0.3,7.85E-09,0,7.85E-09", .id = 72, .type = "STEEL", .name = "Q345",
         .kind = 2, .values = {206000, 0.3, 7.85e-9, 0, 7.85e-9}},
        {.line = R"(    3, CONC , "B35x,y", 0, 0, , C, YES, 0.05, 2,  3.5180e+06,   0.2,  1.0000e-05,  2.75, 0.280422)", .id = 3,
         .type = "CONC", .name = "B35x,y", .kind = 2, .values = {3.518e6, 0.2, 1e-5, 2.75, 0.280422}},
        {.line = "4,A,N 1,,,,,,,2,,0.3", .id = 4, .type = "A", .name = "N 1", .kind = 2, .values = {0, 0.3, 0, 0, 0}},
        {.line = "5,A,N,0,0,,C,NO,0.05,1,GB12(S)", .id = 5, .type = "A", .name = "N", .kind = 1, .code = "GB12(S)"},
        // field 10 is not exactly 1 or 2: the classic layout, kind in field 9
        {.line = "6,A,N,0,0,0,0,0,1,GB03(S),Q235", .id = 6, .type = "A", .name = "N", .kind = 1, .code = "GB03(S)", .grade = "Q235"},
        {.line = "7,A,N,0,0,0,0,0,2,2.0,0.3,0,0,0", .id = 7, .type = "A", .name = "N", .kind = 2, .values = {2, 0.3, 0, 0, 0}},
        {.line = "", .ok = false},
        {.line = " \t ", .ok = false},
    };
    for (const auto& row : rows) {
        CurrentMaterialRecord r;
        ASSERT_EQ(r.Parse(row.line), row.ok) << row.line;
        if (!row.ok)
            continue;
        EXPECT_EQ(r.m_nID, row.id) << row.line;
        EXPECT_EQ(r.m_strType, row.type) << row.line;
        EXPECT_EQ(r.m_strName, row.name) << row.line;
        EXPECT_EQ(r.m_nDataKind, row.kind) << row.line;
        EXPECT_EQ(r.m_strStandardCode, row.code) << row.line;
        EXPECT_EQ(r.m_strGradeName, row.grade) << row.line;
        EXPECT_EQ((Reals{r.m_dElasticity, r.m_dPoisson, r.m_dThermal, r.m_dDensity, r.m_dMass}), row.values) << row.line;
    }
}

TEST(CurrentSectionRecord, ReadsShapeWithOrWithoutWebFieldAndKeepsContinuations)
{
    const struct { const char* line; bool ok = true; bool cont = false; int id = 0; const char* type = "";
                   const char* name = ""; const char* shape = ""; int kind = 0; const char* code = "";
                   const char* catalog = ""; Reals dims = {}; } rows[] = {
        {.line = "    1, DBUSER    , LB                , CC, 0, 0, 0, 0, 0, 0, YES, NO, SB , 2, 1, 0.2, 0, 0, 0, 0, 0, 0, 0, 0",
         .id = 1, .type = "DBUSER", .name = "LB", .shape = "SB", .kind = 2, .dims = {1, 0.2, 0, 0, 0, 0, 0, 0, 0, 0}},
        {.line = "    1, DBUSER    , name , CC, 0, 0, 0, 0, 0, 0, YES, SR , 2, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0", .id = 1,
         .type = "DBUSER", .name = "name", .shape = "SR", .kind = 2, .dims = {2, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {.line = "1,DBUSER,I-shape,CT,0,0,0,0,0,0,NO,NO,H,1,GB-YB05,HW 300x305x15/15", .id = 1, .type = "DBUSER",
         .name = "I-shape", .shape = "H", .kind = 1, .code = "GB-YB05", .catalog = "HW300x305x15/15"},
        {.line = "    1, TAPERED   , x , CC, 0, 0, 0, 0, 0, 0, 0, 0, YES, NO, SOCT, 1, 1, USER", .id = 1, .type = "TAPERED",
         .name = "x", .shape = "TAPERED"},
        {.line = "2,SOD,STLB-2,CT,0,0,0,0,0,0,NO,NO,SOD-B", .id = 2, .type = "SOD", .name = "STLB-2", .shape = "SOD"},
        {.line = R"(+3, DBUSER, "a,b", RB, 0, 0, 0, 0, 0, 0, YES, NO, L, 2, 100, , 80)", .id = 3, .type = "DBUSER",
         .name = "a,b", .shape = "L", .kind = 2, .dims = {100, 0, 80}},
        {.line = "4,DBUSER,N,LT,0,0,0,0,0,0,YES,NO,B,2,1,2,3,4,5,6,7,8,9,10,11", .id = 4, .type = "DBUSER", .name = "N",
         .shape = "B", .kind = 2, .dims = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {.line = "5,DBUSER,N,LC,0,0,0,0,0,0,YES,NO,P,1,GB-YB05", .id = 5, .type = "DBUSER", .name = "N", .shape = "P",
         .kind = 1, .code = "GB-YB05"},
        {.line = "6,DBUSER,N,LB", .id = 6, .type = "DBUSER", .name = "N"},
        {.line = "       2, 5.2, 0.85, 0.65, 0, 0, 0, 0,  2, 7, 0.85, 0.65, 0, 0, 0, 0", .cont = true},
        {.line = "       67.24, 56.439, 56.422", .cont = true},
        {.line = "YES,1750,6400,1750", .cont = true},
        {.line = "6,Rib-Flat-396,0,190,16,,,,,,,Rib-U-shape-431", .cont = true},
        {.line = "1x,DBUSER,N,CC,0", .cont = true},
        {.line = "7,DBUSER,N,cc,0", .cont = true},
        {.line = "7,DBUSER", .cont = true},
        {.line = "", .ok = false},
        {.line = "   ", .ok = false},
    };
    for (const auto& row : rows) {
        CurrentSectionRecord r;
        ASSERT_EQ(r.Parse(row.line), row.ok) << row.line;
        if (!row.ok)
            continue;
        EXPECT_EQ(r.m_bContinuation, row.cont) << row.line;
        EXPECT_EQ(r.m_nID, row.id) << row.line;
        EXPECT_EQ(r.m_strType, row.type) << row.line;
        EXPECT_EQ(r.m_strName, row.name) << row.line;
        EXPECT_EQ(r.m_strShape, row.shape) << row.line;
        EXPECT_EQ(r.m_nDataKind, row.kind) << row.line;
        EXPECT_EQ(r.m_strStandardCode, row.code) << row.line;
        EXPECT_EQ(r.m_strCatalogName, row.catalog) << row.line;
        EXPECT_EQ(Values(r.m_Dimensions), row.dims) << row.line;
    }
}

TEST(CurrentThicknessRecord, TakesTheFieldAfterTheFirstYesOrNo)
{
    const struct { const char* line; bool ok; int id; const char* type; const char* extra; double thickness; } rows[] = {
        {"    1, VALUE, 200, YES, 0.2, 0,  NO, 0, 0", true, 1, "VALUE", "200", 0.2},
        {"   1, VALUE, YES, 120, 120, NO, 0, 0", true, 1, "VALUE", "", 120},
        {"2, VALUE, NO, 5, NO, 7", true, 2, "VALUE", "", 5},
        {"3, VALUE, YES", true, 3, "VALUE", "", 0},
        {"4, T, S, 12.5, 0", true, 4, "T", "S", 12.5},  // no YES/NO in fields 3 and 4: classic tokens
        {"5, T, S, B, YES, 9", true, 5, "T", "S", 0},
        {"", false, 0, "", "", 0},
        {"  ", false, 0, "", "", 0},
    };
    for (const auto& row : rows) {
        CurrentThicknessRecord r;
        ASSERT_EQ(r.Parse(row.line), row.ok) << row.line;
        if (!row.ok)
            continue;
        EXPECT_EQ(r.m_nID, row.id) << row.line;
        EXPECT_EQ(r.m_strType, row.type) << row.line;
        EXPECT_EQ(r.m_strExtra, row.extra) << row.line;
        EXPECT_DOUBLE_EQ(r.m_dThickness, row.thickness) << row.line;
    }
}

TEST(CurrentGroupRecord, ExpandsBothListsAndKeepsEmptyGroups)
{
    const struct { const char* line; bool ok; const char* name; const char* nodes; const char* elements; Ids nodeIds;
                   Ids elementIds; } rows[] = {
        {"   Svai      , , , 0", true, "Svai", "", "", {}, {}},
        {"   Main  , 1to4, 2 5to9by2 , 0", true, "Main", "1to4", "2 5to9by2", {1, 2, 3, 4}, {2, 5, 7, 9}},
        {R"("a,b", 3, 4)", true, "a,b", "3", "4", {3}, {4}},
        {"G, 1\t2,", true, "G", "1\t2", "", {1, 2}, {}},
        {"G", true, "G", "", "", {}, {}},
        {"", false, "", "", "", {}, {}},
        {" \t", false, "", "", "", {}, {}},
    };
    for (const auto& row : rows) {
        CurrentGroupRecord r;
        ASSERT_EQ(r.Parse(row.line), row.ok) << row.line;
        if (!row.ok)
            continue;
        EXPECT_EQ(r.m_strName, row.name) << row.line;
        EXPECT_EQ(r.m_strNodeList, row.nodes) << row.line;
        EXPECT_EQ(r.m_strElementList, row.elements) << row.line;
        EXPECT_EQ(Values(r.m_NodeIDs), row.nodeIds) << row.line;
        EXPECT_EQ(Values(r.m_ElementIDs), row.elementIds) << row.line;
    }
}

TEST(CurrentLoadCaseRecord, RemovesBlanksFromQuotedFieldsByPosition)
{
    const struct { const char* line; bool ok; Texts fields; } rows[] = {
        {"   DL   , D , ", true, {"DL", "D", ""}},
        {"   S V, USER, Wind X", true, {"SV", "USER", "WindX"}},
        {R"("a, b", L, "x, y")", true, {"a,b", "L", "x,y"}},
        {", L", true, {"", "L", ""}},
        {"", false, {}},
        {"    ", false, {}},
    };
    for (const auto& row : rows) {
        CurrentLoadCaseRecord r;
        ASSERT_EQ(r.Parse(row.line), row.ok) << row.line;
        if (!row.ok)
            continue;
        EXPECT_EQ((Texts{r.m_strName, r.m_strType, r.m_strDescription}), row.fields) << row.line;
    }
}

TEST(CurrentConLoadRecord, ReadsNodeListBeforeBlanksGo)
{
    const struct { const char* line; bool ok; Ids nodes; int node; Reals values; } rows[] = {
        {"2 17 19 35 ,0,0,-4710,0,0,0,", true, {2, 17, 19, 35}, 2, {0, 0, -4710, 0, 0, 0}},
        {"  33, 0, 0, -647, 0, 0, 0, ,", true, {33}, 33, {0, 0, -647, 0, 0, 0}},
        {"1to5by2, 1, 2, 3, 4, 5, 6, G", true, {1, 3, 5}, 1, {1, 2, 3, 4, 5, 6}},
        {"5, 10", true, {5}, 5, {10, 0, 0, 0, 0, 0}},
        {", 1, , 3", true, {}, 0, {1, 0, 3, 0, 0, 0}},
        {"", false, {}, 0, {}},
        {"   ", false, {}, 0, {}},
    };
    for (const auto& row : rows) {
        CurrentConLoadRecord r;
        ASSERT_EQ(r.Parse(row.line), row.ok) << row.line;
        if (!row.ok)
            continue;
        EXPECT_EQ(Values(r.m_NodeList), row.nodes) << row.line;
        EXPECT_EQ(r.m_nNode, row.node) << row.line;
        EXPECT_EQ((Reals{r.m_dFX, r.m_dFY, r.m_dFZ, r.m_dMX, r.m_dMY, r.m_dMZ}), row.values) << row.line;
    }
}

TEST(CurrentBeamLoadRecord, ReadsWordsAndPairsByPosition)
{
    const struct { const char* line; bool ok; Ids elements; int element; Texts words; Reals pairs; } rows[] = {
        {"    71, LINE   , UNILOAD, GZ, NO , NO, LY, , , , 0, -18, 1, -18, 0, 0, 0, 0, , NO, 0, 0, NO, ", true, {71}, 71,
         {"LINE", "UNILOAD", "GZ", "NO", "NO", "LY"}, {0, -18, 1, -18, 0, 0, 0, 0}},
        {"     1, LINE   , UNILOAD, GZ, NO , NO, aDir[1], , , , 0, -215.4, 1, -215.222, 0, 0, 0, 0, x, NO, 0, 0, NO, ",
         true, {1}, 1, {"LINE", "UNILOAD", "GZ", "NO", "NO", "aDir[1]"}, {0, -215.4, 1, -215.222, 0, 0, 0, 0}},
        {"3 5to7, BEAM, CONLOAD, GX, YES, YES, GZ, 1, 2, NO, 0.5, -1, , , , , , 9", true, {3, 5, 6, 7}, 3,
         {"BEAM", "CONLOAD", "GX", "YES", "YES", "GZ"}, {0.5, -1, 0, 0, 0, 0, 0, 9}},
        {"9, LINE", true, {9}, 9, {"LINE", "", "", "", "", ""}, {0, 0, 0, 0, 0, 0, 0, 0}},
        {"", false, {}, 0, {}, {}},
        {"\t ", false, {}, 0, {}, {}},
    };
    for (const auto& row : rows) {
        CurrentBeamLoadRecord r;
        ASSERT_EQ(r.Parse(row.line), row.ok) << row.line;
        if (!row.ok)
            continue;
        EXPECT_EQ(Values(r.m_ElementList), row.elements) << row.line;
        EXPECT_EQ(r.m_nElement, row.element) << row.line;
        EXPECT_EQ((Texts{r.m_strCommand.str(), r.m_strType.str(), r.m_strDir.str(), r.m_strProjection.str(),
                          r.m_strExtra1.str(), r.m_strExtra2.str()}),
                  row.words) << row.line;
        EXPECT_EQ((Reals{r.m_dD1, r.m_dP1, r.m_dD2, r.m_dP2, r.m_dD3, r.m_dP3, r.m_dD4, r.m_dP4}), row.pairs) << row.line;
    }
}

TEST(CurrentFrameReleaseRecord, FindsEndJFlagsSevenFieldsAfterEndI)
{
    const struct { const char* line; bool ok; int element; Texts flags; } rows[] = {
        {"   58,  NO, 000011, 0, 0, 0, 0, 0, 0,             000011, 0, 0, 0, 0, 0, 0, ", true, 58,
         {"NO", "000011", "000011"}},
        {"1 2, YES, 000011, 1, 2, 3, 4, 5, 6, 010000, 0, 0, 0, 0, 0, 0,", true, 12, {"YES", "000011", "010000"}},
        {"7, 000001, 0, 0, 0, 0, 0, 0, 100000", true, 7, {"", "000001", "100000"}},
        {"8, NO, 000011", true, 8, {"NO", "000011", ""}},
        {"", false, 0, {}},
        {"  ", false, 0, {}},
    };
    for (const auto& row : rows) {
        CurrentFrameReleaseRecord r;
        ASSERT_EQ(r.Parse(row.line), row.ok) << row.line;
        if (!row.ok)
            continue;
        EXPECT_EQ(r.m_nElementID, row.element) << row.line;
        EXPECT_EQ((Texts{r.m_strPartial.str(), r.m_strEndIFlags.str(), r.m_strEndJFlags.str()}), row.flags) << row.line;
    }
}
