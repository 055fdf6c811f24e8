// Fields of today's layout by comma position with quoted fields, and its load case and load records.
#include "TestSupport.h"

using Texts = std::vector<std::string>;

TEST(CurrentRecords, FieldsByCommaPositionAndTheLoadRecords)
{
    const std::pair<const char*, Texts> rows[] = {
        {"", {}}, {"   ", {""}}, {",", {"", ""}}, {" 1 , ,x, ", {"1", "", "x", ""}}, {"\t1\t,2", {"1", "2"}},
        {R"(3, "B35x,y" , 0)", {"3", "B35x,y", "0"}}, {R"(" a ",)", {"a", ""}},
        // text after a closing quote goes, an unclosed quote runs to the end, a quote inside a field is plain text
        {R"("ab"cd,e)", {"ab", "e"}}, {R"(1, "open, rest)", {"1", "open, rest"}}, {R"(a"b,c)", {"a\"b", "c"}}};
    for (const auto& [line, expected] : rows) {
        std::vector<std::string_view> fields{"stale"};
        SplitFields(line, fields);
        EXPECT_EQ(Texts(fields.begin(), fields.end()), expected) << line;
    }
    ExpectParsed<CurrentLoadCaseRecord>(  // blanks go from every field, also quoted ones
        [](const LoadCaseRecord& r) { return r.m_strName + "|" + r.m_strType + "|" + r.m_strDescription; },
        {{"   DL   , D , ", "DL|D|"}, {"   S V, USER, Wind X", "SV|USER|WindX"}, {R"("a, b", L, "x, y")", "a,b|L|x,y"},
         {", L", "|L|"}, {"", "rejected"}, {"    ", "rejected"}});
    ExpectParsed<CurrentConLoadRecord>(  // the node list is read before blanks go
        [](const ConLoadRecord& r) {
            return Ids(r.m_NodeList) + "|" + Num(r.m_nNode) + "|" + Num(r.m_dFX) + " " + Num(r.m_dFY) + " " +
                   Num(r.m_dFZ) + " " + Num(r.m_dMX) + " " + Num(r.m_dMY) + " " + Num(r.m_dMZ);
        },
        {{"2 17 19 35 ,0,0,-4710,0,0,0,", "2 17 19 35|2|0 0 -4710 0 0 0"}, {"  33, 0, 0, -647, 0, 0, 0, ,", "33|33|0 0 -647 0 0 0"},
         {"1to5by2, 1, 2, 3, 4, 5, 6, G", "1to5by2|1|1 2 3 4 5 6"}, {"9to1 4, 1", "4|4|1 0 0 0 0 0"}, {"5, 10", "5|5|10 0 0 0 0 0"},
         {", 1, , 3", "|0|1 0 3 0 0 0"}, {"", "rejected"}, {"   ", "rejected"}});
    ExpectParsed<CurrentBeamLoadRecord>(  // six words, then the eccentricities, then four distance-value pairs
        [](const BeamLoadRecord& r) {
            return Ids(r.m_ElementList) + "|" + Num(r.m_nElement) + "|" + r.m_strCommand + " " + r.m_strType + " " +
                   r.m_strDir + " " + r.m_strProjection + " " + r.m_strExtra1 + " " + r.m_strExtra2 + "|" + Num(r.m_dD1) + ":" +
                   Num(r.m_dP1) + " " + Num(r.m_dD2) + ":" + Num(r.m_dP2) + " " + Num(r.m_dD3) + ":" + Num(r.m_dP3) + " " +
                   Num(r.m_dD4) + ":" + Num(r.m_dP4);
        },
        {{"    71, LINE   , UNILOAD, GZ, NO , NO, LY, , , , 0, -18, 1, -18, 0, 0, 0, 0, , NO, 0, 0, NO, ",
          "71|71|LINE UNILOAD GZ NO NO LY|0:-18 1:-18 0:0 0:0"},
         {"     1, LINE   , UNILOAD, GZ, NO , NO, aDir[1], , , , 0, -215.4, 1, -215.222, 0, 0, 0, 0, x, NO, 0, 0, NO, ",
          "1|1|LINE UNILOAD GZ NO NO aDir[1]|0:-215.4 1:-215.222 0:0 0:0"},
         {"3 5to7, BEAM, CONLOAD, GX, YES, YES, GZ, 1, 2, NO, 0.5, -1, , , , , , 9", "3 5to7|3|BEAM CONLOAD GX YES YES GZ|0.5:-1 0:0 0:0 0:9"},
         {"9, LINE", "9|9|LINE     |0:0 0:0 0:0 0:0"}, {"", "rejected"}, {"\t ", "rejected"}});
}
