// Materials, beam sections and plate thicknesses: the property records in both layouts, grade lookup,
// section shapes and catalogue sections, numbering, member links with reference points, unit scaling.
#include "TestSupport.h"

#include <cmath>
#include <tuple>

namespace {

// Values as "v v ...", or with slots the non-zero ones of a 13-value property list as "slot:value ...".
std::string Nums(const ValueArray<double>& values, bool slots = false)
{
    std::string text = !slots || values.Count == 13 ? "" : "count " + Num(values.Count);
    for (int k = 0; k < values.Count; ++k)
        if (!slots || values[k] != 0.0) text += (text.empty() ? "" : " ") + (slots ? Num(k) + ":" : "") + Num(values[k]);
    return text;
}

// Parsed records as their fields in declaration order, separated by '|'.
auto MaterialText = [](const MaterialRecord& r) {
    return Num(r.m_nID) + "|" + r.m_strType + "|" + r.m_strName + "|" + Num(r.m_nDataKind) + "|" + r.m_strStandardCode + "|" + r.m_strGradeName +
           "|" + Num(r.m_dElasticity) + " " + Num(r.m_dPoisson) + " " + Num(r.m_dThermal) + " " + Num(r.m_dDensity) + " " + Num(r.m_dMass);
};
auto SectionRecordText = [](const SectionRecord& r) {
    return (r.m_bContinuation ? "+" : "") + Num(r.m_nID) + "|" + r.m_strType + "|" + r.m_strName + "|" + r.m_strExtra + "|" +
           r.m_strShape + "|" + Num(r.m_nDataKind) + "|" + r.m_strStandardCode + "|" + r.m_strCatalogName + "|" + Nums(r.m_Dimensions);
};
auto ThicknessText = [](const ThicknessRecord& r) {
    return Num(r.m_nID) + "|" + r.m_strType + "|" + r.m_strExtra + "|" + Num(r.m_dThickness) + "|" + Num(r.m_nExtra);
};

// Beam sections, working or host, as "shape/ID name slots; ...".
template <class Sections>
std::string SectionText(const Sections& sections)
{
    std::string text;
    for (const auto* s : sections) text += Num(s->ShapeCode) + "/" + Num(s->ID) + " " + s->Name + " " + Nums(s->Properties, true) + "; ";
    return text;
}

std::string InKnMm(const std::string& blocks) { return "*UNIT\nKN, MM, KJ, C\n\n" + blocks; }
void ReadAndWrite(Translation& t, const std::string& text) { ReadText(t, text), t.Write(); }  // the steps only, no host

// A material's grade and constants: elastic modulus, Poisson's ratio, thermal coefficient, yield strength, density.
std::string MaterialLine(const MaterialProperty& p)
{
    return Num(p.Grade) + " " + Num(p.Elastic) + " " + Num(p.Poisson) + " " + Num(p.Thermal) + " " + Num(p.Extra) + " " + Num(p.Density);
}

// The host's members as "shape/ID point, ...": the reference point is a far one on one axis ("+X", "-Y",
// ...), "none" where it is unset, or its four coordinates where it is anything else.
std::string Members(const ModalData_Orvo& model)
{
    std::string text;
    for (const Line_Orvo* l : model.m_Lines) {
        const double ref[] = {l->RefX, l->RefY, l->RefZ};
        std::string point = "none";
        for (int k = 0; k < 3; ++k)
            if (ref[k] != 0.0) point = (point == "none" && std::fabs(ref[k]) == 1e15 ? (ref[k] > 0 ? "+" : "-") : "?") + std::string(1, char('X' + k));
        if (point[0] == '?' || l->RefSpare != 0.0) point = Num(l->RefX) + " " + Num(l->RefY) + " " + Num(l->RefZ) + " " + Num(l->RefSpare);
        text += (text.empty() ? "" : ", ") + Num(l->SectionShape) + "/" + Num(l->SectionID) + " " + point;
    }
    return text;
}

} // namespace

TEST(PropertyRecords, MaterialsSectionsAndThicknessesInBothLayouts)
{
    ExpectParsed<MaterialRecord>(MaterialText, {
        // blanks vanish, also inside names; empty fields count, so the kind is still field 9
        {"1, STEEL, Grade A, 0, 0, , C, NO, 1, GB03(S), Q235", "1|STEEL|GradeA|1|GB03(S)|Q235|0 0 0 0 0"},
        {"2,A,N,0,0,0,0,0,1,GB03(S),Q235,NO,2.06e+008", "2|A|N|1|GB03(S)|Q235,NO,2.06e+008|0 0 0 0 0"},  // all after the code
        {"4,A,N,0,0,0,0,0,1.9,C,C30", "4|A|N|1|C|C30|0 0 0 0 0"}, {"10,A,N,0,0,0,0,0,1,GB03(S)", "10|A|N|1|GB03(S)||0 0 0 0 0"},
        // value form, any kind but 1: ELAST, POISN, THERMAL, DEN, MASS; missing fields stay 0
        {"6,A,N,0,0,0,0,0,2,206000,0.3,1.2e-5,76.98,7.85,99", "6|A|N|2|||206000 0.3 1.2e-05 76.98 7.85"},
        {"7,A,N,0,0,0,0,0,0,3e4", "7|A|N|0|||30000 0 0 0 0"}, {"9,A,N,0,0,0,0,0,2,,0.3", "9|A|N|2|||0 0.3 0 0 0"},
        {"x,A,N,0,0,0,0,0,abc,1,2", "0|A|N|0|||1 2 0 0 0"}, {"12,A,N,0,0,0,0,0,1", "rejected"} /* no comma after the kind */,
        {"     ", "rejected"}});
    ExpectParsed<CurrentMaterialRecord>(MaterialText, {  // the kind after the damping ratio, in field 10
        {"1, CONC , C27 , 0, 0, , C, NO, 0.05, 1, KS01(RC) , KCI-2012 , C27 , NO, 2.6681e+07", "1|CONC|C27|1|KS01(RC)|C27|26681000 0 0 0 0"},
        {"   1, STEEL, Q345, 0, 0, , C, NO, 0.02, 1, GB 50917-13(S), , Q345, NO, 206000", "1|STEEL|Q345|1|GB50917-13(S)|Q345|206000 0 0 0 0"},
        {"72,STEEL,Q345,0,0,,C,YES,0.02,2,206000,0.3,7.85E-09,0,7.85E-09", "72|STEEL|Q345|2|||206000 0.3 7.85e-09 0 7.85e-09"},
        {R"(3, CONC , "B35x,y", 0, 0, , C, YES, 0.05, 2,  3.5180e+06, 0.2, 1.0000e-05, 2.75, 0.280422)",
         "3|CONC|B35x,y|2|||3518000 0.2 1e-05 2.75 0.280422"},
        {"4,A,N 1,,,,,,,2,,0.3", "4|A|N 1|2|||0 0.3 0 0 0"}, {"5,A,N,0,0,,C,NO,0.05,1,GB12(S)", "5|A|N|1|GB12(S)||0 0 0 0 0"},
        {"6,A,N,0,0,0,0,0,1,GB03(S),Q235", "6|A|N|1|GB03(S)|Q235|0 0 0 0 0"},  // field 10 not 1 or 2: classic, kind in field 9
        {"7,A,N,0,0,0,0,0,2,2.0,0.3,0,0,0", "7|A|N|2|||2 0.3 0 0 0"}, {"", "rejected"}, {" \t ", "rejected"}});
    ExpectParsed<SectionRecord>(SectionRecordText, {
        {"1,A,N,X,0,0,0,0,0,0,YES,H,1,S,H400x200", "1|A|N|X|H|1|S|H400x200|"}, {"2,A,N,X,0,0,YES,P,2,200,10", "2|A|N|X|P|2|||200 10"},
        // "NO" in place of "YES": token 5 is the shape, token 6 the kind, the rest dimensions
        {"1,A,N,X,0,0,0,0,0,0,NO,H,1,S,H400x200", "1|A|N|X|0|0|||0 0 0 0 0 0 1 0 0"},
        {"3,A,N,X,L,2,100,,80,10", "3|A|N|X|L|2|||100 80 10"} /* empty fields passed over */, {"5,,T,X,H,1,S,H300", "5|T|X|H|1|0|||0"},
        {"6, SEC , H 400x200x8/13 , 0, H, 1, GB-YB05, H 400x200x8/13", "6|SEC|H400x200x8/13|0|H|1|GB-YB05|H400x200x8/13|"},
        {"7,A,\tN\t,X,SB,2,\t50,abc", "7|A|N|X|SB|2|||50 0"}, {"8,A,N,X,H,1,S,HW300x300x10x15,MORE,99", "8|A|N|X|H|1|S|HW300x300x10x15|"},
        {"10,A,N", "10|A|N|||0|||"}, {"13,A,N,X,NOTYES,\tYES\t,H,1,S,H300", "13|A|N|X|H|1|S|H300|"},  // a token exactly "YES"
        // "YES" only inside a name or among tokens 1 to 4: the scan takes every token, nothing follows it
        {"11,A,NOYES,X,H,1,S,H300x150x6x9", "11|A|NOYES|X||0|||"}, {"12,A,YES,X,H,2,300", "12|A|YES|X||0|||"},
        {"YES,A,N,X,H,1,S,H300", "0|||||0|||"}, {"\t", "0|||||0|||"}, {"", "rejected"}, {"   ", "rejected"}});
    ExpectParsed<CurrentSectionRecord>(SectionRecordText, {  // the shape with or without a web field before it
        {"    1, DBUSER , LB , CC, 0, 0, 0, 0, 0, 0, YES, NO, SB , 2, 1, 0.2, 0, 0, 0, 0, 0, 0, 0, 0", "1|DBUSER|LB|CC|SB|2|||1 0.2 0 0 0 0 0 0 0 0"},
        {"1, DBUSER, name , CC, 0, 0, 0, 0, 0, 0, YES, SR , 2, 2, 0", "1|DBUSER|name|CC|SR|2|||2 0"},
        {"1,DBUSER,I-shape,CT,0,0,0,0,0,0,NO,NO,H,1,GB-YB05,HW 300x305x15/15", "1|DBUSER|I-shape|CT|H|1|GB-YB05|HW300x305x15/15|"},
        {"    1, TAPERED   , x , CC, 0, 0, 0, 0, 0, 0, 0, 0, YES, NO, SOCT, 1, 1, USER", "1|TAPERED|x|CC|TAPERED|0|||"},
        {"2,SOD,STLB-2,CT,0,0,0,0,0,0,NO,NO,SOD-B", "2|SOD|STLB-2|CT|SOD|0|||"},
        {R"(+3, DBUSER, "a,b", RB, 0, 0, 0, 0, 0, 0, YES, NO, L, 2, 100, , 80)", "3|DBUSER|a,b|RB|L|2|||100 0 80"},
        {"4,DBUSER,N,LT,0,0,0,0,0,0,YES,NO,B,2,1,2,3,4,5,6,7,8,9,10,11", "4|DBUSER|N|LT|B|2|||1 2 3 4 5 6 7 8 9 10"},
        {"5,DBUSER,N,LC,0,0,0,0,0,0,YES,NO,P,1,GB-YB05", "5|DBUSER|N|LC|P|1|GB-YB05||"}, {"6,DBUSER,N,LB", "6|DBUSER|N|LB||0|||"},
        // lines that continue a section: no offset word in field 4, or no number in field 1
        {"       2, 5.2, 0.85, 0.65, 0, 0, 0, 0,  2, 7", "+0|||||0|||"}, {"YES,1750,6400,1750", "+0|||||0|||"}, {"7,DBUSER", "+0|||||0|||"},
        {"6,Rib-Flat-396,0,190,16,,,,,,,Rib-U-shape-431", "+0|||||0|||"}, {"1x,DBUSER,N,CC,0", "+0|||||0|||"}, {"7,DBUSER,N,cc,0", "+0|||||0|||"},
        {"   ", "rejected"}});
    ExpectParsed<ThicknessRecord>(ThicknessText, {
        {"2,,T,S,0.2,3", "2|T|S|0.2|3"}, {"3, VALUE , Yes, 1 2.5, 7, 8, 9", "3|VALUE|Yes|12.5|7"} /* spaces in numbers go */,
        {"4", "4|||0|0"}, {"5,T,S,abc,x", "5|T|S|0|0"}, {"\t", "0|||0|0"}, {"", "rejected"}, {"    ", "rejected"}});
    ExpectParsed<CurrentThicknessRecord>(ThicknessText, {  // the thickness after the first YES or NO
        {"    1, VALUE, 200, YES, 0.2, 0,  NO, 0, 0", "1|VALUE|200|0.2|0"}, {"   1, VALUE, YES, 120, 120, NO, 0, 0", "1|VALUE||120|0"},
        {"2, VALUE, NO, 5, NO, 7", "2|VALUE||5|0"}, {"3, VALUE, YES", "3|VALUE||0|0"}, {"5, T, S, B, YES, 9", "5|T|S|0|0"},
        {"4, T, S, 12.5, 0", "4|T|S|12.5|0"} /* no YES or NO in fields 3 and 4: classic tokens */, {"  ", "rejected"}});
}

TEST(MaterialStep, GradesByWholeNameUnderSteelOrConcreteCodes)
{
    // A code with "(S)" names steels, any other code concretes; names and codes compare whole and case-sensitive.
    const std::string q345 = "2 206 0.3 1.2e-05 345 7.85e-06", c30 = "10 30 0.2 1e-05 0 2.5e-06", none = "-1 0 0 0 0 0";
    const std::tuple<std::string, std::string, std::string> rows[] = {
        {"GB03(S)", "Q345", q345}, {"GB10(RC)", "C30", c30}, {"GB10(RC)", "C80", "20 38 0.2 1e-05 0 2.5e-06"}, {"GB03(S)", " Q 345 ", q345},
        {"gb03(s)", "C30", c30}, {"", "C30", c30}, {"GB10(RC)", "Q345", none}, {"GB03(S)", "C30", none}, {"GB03(S)", "q345", none},
        {"GB03(S)", "Q345,NO,2.06e+008", none}, {"GB03(S)", "Q34", none}, {"gb03(s)", "Q345", none}, {"GB10", "c30", none},
        {"GB03", "Q345", none}, {"GB03(S)(S)", "Q345", none}};
    std::string text = "*MATERIAL\n";
    for (const auto& [code, grade, expected] : rows) text += "1,A,N,0,0,0,0,0,1," + code + "," + grade + "\n";
    Translation t;
    ReadAndWrite(t, text + "\n");
    ASSERT_EQ(t.m_MaterialArray.GetSize(), int(std::size(rows)));
    for (int i = 0; i < t.m_MaterialArray.GetSize(); ++i)
        EXPECT_EQ(MaterialLine(t.m_MaterialArray[i]->Property), std::get<2>(rows[i])) << std::get<0>(rows[i]) << " " << std::get<1>(rows[i]);
    // Every grade: steels Q235 to Q420 are codes 1 to 4 with their yield in the name, concretes C15 to C80
    // codes 7 to 20; each family shares its constants, and the modulus rises with the grade.
    const std::string grades[] = {"Q235", "Q345", "Q390", "Q420", "C15", "C20", "C25", "C30", "C35",
                                  "C40",  "C45",  "C50",  "C55",  "C60", "C65", "C70", "C75", "C80"};
    Translation all;
    text = "*MATERIAL\n";
    for (const std::string& grade : grades) text += "1,A,N,0,0,0,0,0,1," + std::string(grade[0] == 'Q' ? "GB03(S)" : "GB10(RC)") + "," + grade + "\n";
    ReadAndWrite(all, text + "\n");
    ASSERT_EQ(all.m_MaterialArray.GetSize(), int(std::size(grades)));
    for (int i = 0; i < all.m_MaterialArray.GetSize(); ++i) {
        const MaterialProperty& p = all.m_MaterialArray[i]->Property;
        const std::string family = i < 4 ? "206 0.3 1.2e-05 " + grades[i].substr(1) + " 7.85e-06" : Num(p.Elastic) + " 0.2 1e-05 0 2.5e-06";
        EXPECT_EQ(MaterialLine(p), Num(i < 4 ? i + 1 : i + 3) + " " + family) << grades[i];
        EXPECT_TRUE(i < 5 || p.Elastic > all.m_MaterialArray[i - 1]->Property.Elastic) << grades[i];
    }
    const Translated m("*UNIT\nKN,MM\n*MATERIAL\n1, STEEL, Q345, 0, 0, , C, NO, 0.02, 1, GB 50917-13(S), , Q345, NO, 0\n"  // today's columns
                       "2, CONC, C30, 0, 0, , C, NO, 0.05, 1, GB 50917-13(RC), , C30, NO, 0\n", kCurrent);
    EXPECT_EQ(MaterialLine(m.model.m_Materials[0]->Property) + " | " + MaterialLine(m.model.m_Materials[1]->Property),
              "2 206 0.3 1.2e-05 345 7.85e-06 | 10 30 0.2 1e-05 0 2.5e-06");
}

TEST(SectionStep, PlacesDimensionsPerShapeNumbersPerShapeAndStopsAtAnUnknownCatalogueName)
{
    // (section after "1,A,N,X,", shape code, non-zero property slots)
    const std::tuple<const char*, int, const char*> rows[] = {
        {"H,2,400,200,8,13,99", 17, "4:400 6:200 10:8 11:13"}, {"T,2,300,150,7,10", 28, "4:300 6:150 10:7 11:10"},
        {"C,2,200,75,6,9,70,8,99", 3, "0:200 1:75 2:6 3:9 4:70 5:8"}, {"B,2,300,200,10,12,180", 21, "4:300 6:180 10:10 11:12"},
        // an angle's legs decide equal (5) or unequal (6); a missing dimension reads as 0
        {"L,2,100,80,10,10", 6, "0:100 1:80 2:10 3:10"}, {"L,2,100.0,1e2,10", 5, "0:100 1:100 2:10"},
        {"L,2,100,100.000001", 6, "0:100 1:100.000001"}, {"L,2,100", 6, "0:100"}, {"L,2", 5, ""},
        {"P,2,200,10", 22, "4:90 5:100 10:10"}, {"SB,2,50,30,99", 29, "4:50 6:30"}, {"SR,2,40,99", 24, "4:40"},
        {"h,2,400,200,8,13", 25, ""}, {"BOX,2,400,200,8,13", 25, ""},
        // shapes without catalogue entries ignore the database form and never ask the library
        {"B,1,S,NOT-IN-ANY-CATALOGUE", 21, ""}, {"SB,1,S,NOT-IN-ANY-CATALOGUE", 29, ""}, {"SR,1,S,NOT-IN-ANY-CATALOGUE", 24, ""},
        {"PIPE,1,S,NOT-IN-ANY-CATALOGUE", 25, ""},
        // catalogue sections come from the library; two numbers make an equal-leg angle, three an unequal one
        {"H,1,S,H 400x200x8/13", 17, "4:400 6:200 10:8 11:13"}, {"T,1,S,TN150x300x6.5x9", 28, "4:150 6:300 10:6.5 11:9"},
        {"C,1,S,C200x75x6x9", 3, "0:200 1:75 2:6 3:9 4:75 5:9"}, {"P,1,S,P114x4", 22, "4:53 5:57 10:4"},
        {"L,1,S,L100x10", 5, "0:100 1:100 2:10 3:10"}, {"L,1,S,L100*80/8", 6, "0:100 1:80 2:8 3:8"}, {"L,1,S,L80x80x8", 6, "0:80 1:80 2:8 3:8"}};
    for (const auto& [line, code, slots] : rows) {
        Translation t;
        ReadAndWrite(t, std::string("*SECTION\n1,A,N,X,") + line + "\n\n");
        EXPECT_EQ(SectionText(t.m_LSectionArray) + Num(t.m_SectionTypes[0]), Num(code) + "/1 N " + slots + "; " + Num(code)) << line;
    }
    // Sections are numbered per shape code, a second run numbering on after what the first one collected.
    Translation t;
    ReadAndWrite(t, "*SECTION\n1,A,H1,X,H,2,400\n2,A,P1,X,P,2,200,10\n3,A,H2,X,H,1,S,H300x150x6.5x9\n"
                    "4,A,L1,X,L,2,100,100\n5,A,L2,X,L,2,100,80\n6,A,L3,X,L,1,S,L75x8\n\n");
    EXPECT_EQ(Ids(t.m_SectionTypes), "17 22 17 5 6 5");
    t.Write();
    std::string numbers;
    for (const WorkLSection* s : t.m_LSectionArray) numbers += Num(s->ShapeCode) + "/" + Num(s->ID) + " ";
    EXPECT_EQ(numbers, "17/1 22/1 17/2 5/1 6/1 5/2 17/3 22/2 17/4 5/3 6/2 5/4 ");
    // The second of three sections names nothing in the library: an H, C, T or P code is listed before the lookup.
    for (const auto& [unknown, types] : {std::pair{"H,1,S,H400", "17 17"}, {"P,1,S,NOPE", "17 22"}, {"L,1,S,L100x80x8x1", "17"}, {"C,1,S,", "17 3"}}) {
        Translation u;
        ReadAndWrite(u, std::string("*SECTION\n1,A,N,X,H,2,400\n2,A,N,X,") + unknown + "\n3,A,N,X,SR,2,40\n\n");
        EXPECT_EQ(u.m_LSectionArray.GetSize(), 1) << unknown;
        EXPECT_EQ(Ids(u.m_SectionTypes), types) << unknown;
    }
}

TEST(BeamSectionLink, MembersTakeShapeAndNumberWithinShapeAndAReferencePoint)
{
    const std::string sections = "1,A,N,X,H,2,400\n2,A,N,X,P,2,200,10\n3,A,N,X,H,2,500\n";
    const std::tuple<std::string, std::vector<int>, const char*, bool> rows[] = {
        {sections, {3, 2, 1, 3}, "17/2 +Z, 22/1 +Z, 17/1 +Z, 17/2 +Z", false},
        // a section number beyond the sections built, or one of 0 or less, stops the walk there
        {sections, {1, 4, 2}, "17/1 +Z, 0/4 none, 0/2 none", false}, {sections, {2, 0, 1}, "22/1 +Z, 0/0 none, 0/1 none", false},
        {sections, {-1, 1}, "0/-1 none, 0/1 none", false},
        // section 2 names nothing in the library, so section 3 is never built either
        {"1,A,N,X,H,2,400\n2,A,N,X,H,1,S,H999\n3,A,N,X,P,2,200,10\n", {1, 3, 1}, "17/1 +Z, 0/3 none, 0/1 none", false},
        // the host holds a section and a line (first below): new members pair with new sections, 0 with none
        {"1,A,N,X,P,2,200,10\n2,A,N,X,H,2,400\n", {2, 1, 0, 1}, "0/0 none, 17/1 +Z, 22/1 +Z, 0/0 none, 0/1 none", true}};
    for (const auto& [sectionText, numbers, members, hostHolds] : rows) {
        ModalData_Orvo model;
        if (hostHolds) {
            model.m_LSections.Add(new LSection_Orvo);
            model.m_LSections[0]->ShapeCode = 3;
            model.m_Lines.Add(new Line_Orvo);
        }
        std::string text = "*NODE\n1,0,0,0\n2,6000,0,0\n\n*ELEMENT\n";
        for (std::size_t i = 0; i < numbers.size(); ++i) text += Num(i + 1) + ",BEAM,1," + Num(numbers[i]) + ",1,2,0\n";
        Translation t;
        ReadText(t, InKnMm(text + "\n*SECTION\n" + sectionText + "\n"));
        ASSERT_TRUE(t.TranMidastoOrvo(model) && model.m_bUpdated);
        EXPECT_EQ(Members(model), members) << sectionText;
        EXPECT_EQ(model.m_LSections[0]->ShapeCode, hostHolds ? 3 : 17);
    }
    // By the second node; the first is at the origin unless given. A difference below 1e-8 mm counts as none.
    const struct {
        const char *section, *end, *member, *start = "0,0,0", *ends = "1,2";
    } points[] = {
        {"C,2,200,75", "0,0,3000", "3/1 +Y"}, {"C,2,200,75", "6000,0,0", "3/1 -Y"}, {"C,2,200,75", "0,6000,0", "3/1 -X"},
        {"C,2,200,75", "3000,0,4000", "3/1 -X"}, {"L,2,100,100", "6000,0,0", "5/1 +Z"}, {"L,2,100,100", "0,6000,0", "5/1 -X"},
        {"L,2,100,80", "0,6000,0", "6/1 -X"}, {"L,2,100,100", "0,0,3000", "5/1 +X"}, {"L,2,100,100", "3000,4000,0", "5/1 +X"},
        {"H,2,400", "0,0,3000", "17/1 +X"}, {"H,2,400", "6000,0,0", "17/1 +Z"}, {"H,2,400", "0,6000,0", "17/1 +Z"},
        {"H,2,400", "0,-6000,-3000", "17/1 +Z"}, {"T,2,300", "0,0,-3000", "28/1 +X"}, {"B,2,300", "0,0,3000", "21/1 +X"},
        {"B,2,300", "6000,0,0", "21/1 +Z"}, {"P,2,200,10", "0,0,3000", "22/1 +X"}, {"SB,2,50", "0,0,3000", "29/1 +X"},
        {"SR,2,40", "0,0,3000", "24/1 +X"}, {"RECT,2,40", "0,0,3000", "25/1 +X"},
        {"H,2,400", "1000.000000005,0,3000", "17/1 +X", "1000,0,0"}, {"H,2,400", "1000.00000002,0,3000", "17/1 +Z", "1000,0,0"},
        {"L,2,100,100", "6000,2000.000000001,0", "5/1 +Z", "0,2000,0"},
        // without both end nodes (no nodes at all, an end not in the node block, start node 0): no point
        {"H,2,400", "0,0,3000", "17/1 none", ""}, {"H,2,400", "0,0,3000", "17/1 none", "0,0,0", "1,9"},
        {"H,2,400", "0,0,3000", "17/1 none", "0,0,0", "0,2"}};
    for (const auto& row : points) {
        const std::string nodes = *row.start ? std::string("*NODE\n1,") + row.start + "\n2," + row.end + "\n\n" : "";
        Translated m(InKnMm(nodes + "*ELEMENT\n1,BEAM,1,1," + row.ends + ",0\n\n*SECTION\n1,A,N,X," + row.section + "\n\n"));
        EXPECT_EQ(Members(m.model), row.member) << row.section << " from " << row.start << " to " << row.end << " as " << row.ends;
    }
}

TEST(PropertiesFile, ReachesTheHostFieldByField)
{
    // In metres: plates scale to mm and keep their numbers, section properties stay as given; materials are
    // numbered on from those alive, stresses scale by F / L^2 and densities by 0.1 / L^2; a value-form
    // material is user-defined (grade 21), without a yield strength, its weight density made a mass density.
    const int materialsBefore = Material_Orvo::LiveCount();
    Translated m("*UNIT\nKN,M,KJ,C\n\n*NODE\n1,0,0,0\n2,6,0,0\n\n*ELEMENT\n1,BEAM,2,3,1,2,0\n2,BEAM,1,2,1,2,0\n\n"
                 "*MATERIAL\n1,A,N,0,0,0,0,0,1,GB03(S),Q345\n2,A,N,0,0,0,0,0,2,1.9e8,0.3,1.2e-5,78.5,8\n\n"
                 "*SECTION\n1,A,HW300x300,CC,0,0,0,0,0,0,YES,H,1,GB-YB05,HW 300x300x10x15\n"
                 "2,A,L100x80,CC,0,0,0,0,0,0,YES,L,2,0.1,0.08,0.01,0.01\n3,A,H400,CC,0,0,0,0,0,0,YES,H,2,0.4\n\n"
                 "*THICKNESS\n3,T,S,0.2\n1,T,S,0.012\n\n");
    ASSERT_TRUE(m.ok);
    std::string text = Members(m.model) + " |";  // then material numbers, material IDs, plates and shape codes
    for (const Line_Orvo* l : m.model.m_Lines) text += " " + Num(l->MaterialID);
    for (const Material_Orvo* x : m.model.m_Materials) text += " " + Num(x->ID - materialsBefore) + ": " + MaterialLine(x->Property);
    for (const ASection_Orvo* a : m.model.m_ASections) text += " " + Num(a->ID) + "/" + Num(a->Kind) + "/" + Num(a->Thickness);
    for (int shape : m.model.m_SectionShapes) text += " " + Num(shape);  // each shape code reaches the host once
    EXPECT_EQ(text, "17/2 +Z, 6/1 +Z | 2 1 1: 2 0.000206 0.3 1.2e-05 0.000345 7.85e-13 2: 21 190 0.3 1.2e-05 0 8.010204081632652e-07 "
                    "3/1/200 1/1/12 17 6");
    EXPECT_EQ(SectionText(m.model.m_LSections),
              "17/1 HW300x300 4:300 6:300 10:10 11:15; 6/1 L100x80 0:0.1 1:0.08 2:0.01 3:0.01; 17/2 H400 4:0.4; ");
}
