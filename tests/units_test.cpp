// One unit per quantity in the current profile: the same structure written in any force and length units
// gives the same host model.
#include "TestSupport.h"

#include <cmath>
#include <cstdio>
#include <regex>

namespace {

// A model in KN and M. "{a,b:v}" is a value of dimension force^a * length^b, written v in KN and M.
const std::string kModel = R"(*UNIT
FORCE, LENGTH, KJ, C
*NODE
1, 0, 0, 0
2, {0,1:6}, 0, 0
3, {0,1:6}, 0, {0,1:4}
4, 0, {0,1:5}, {0,1:4}
*ELEMENT
1, BEAM, 1, 1, 1, 3, 0
2, BEAM, 2, 2, 2, 3, 0
3, BEAM, 3, 3, 3, 4, 0
4, BEAM, 1, 4, 1, 4, 0
5, BEAM, 1, 5, 2, 4, 0
6, BEAM, 3, 6, 1, 2, 0
7, BEAM, 1, 7, 4, 2, 0
8, BEAM, 1, 8, 3, 1, 0
*MATERIAL
1, STEEL, S, 0, 0, , C, NO, 0.02, 2, {1,-2:2.05e8}, 0.3, 1.2e-5, {1,-3:76.98}, 0
2, CONC, C30, 0, 0, , C, NO, 0.05, 1, GB10(RC), , C30, NO, {1,-2:3e7}
3, USER, U, 0, 0, , C, NO, 0.05, 2, {1,-2:3.1e7}, 0.2, 1e-5, 0, {1,-4:2.4}
*SECTION
1, DBUSER, H, CC, 0, 0, 0, 0, 0, 0, YES, NO, H, 2, {0,1:0.4}, {0,1:0.2}, {0,1:0.008}, {0,1:0.013}, 0, 0, 0, 0, 0, 0
2, DBUSER, B, CC, 0, 0, 0, 0, 0, 0, YES, NO, B, 2, {0,1:0.5}, {0,1:0.3}, {0,1:0.012}, {0,1:0.012}, {0,1:0.27}, {0,1:0.012}, 0, 0, 0, 0
3, DBUSER, P, CC, 0, 0, 0, 0, 0, 0, YES, NO, P, 2, {0,1:0.114}, {0,1:0.006}, 0, 0, 0, 0, 0, 0, 0, 0
4, DBUSER, C, CC, 0, 0, 0, 0, 0, 0, YES, NO, C, 2, {0,1:0.2}, {0,1:0.075}, {0,1:0.0085}, {0,1:0.0115}, 0, 0, 0, 0, 0, 0
5, DBUSER, L, CC, 0, 0, 0, 0, 0, 0, YES, NO, L, 2, {0,1:0.1}, {0,1:0.08}, {0,1:0.01}, {0,1:0.01}, 0, 0, 0, 0, 0, 0
6, DBUSER, T, CC, 0, 0, 0, 0, 0, 0, YES, NO, T, 2, {0,1:0.3}, {0,1:0.2}, {0,1:0.01}, {0,1:0.015}, 0, 0, 0, 0, 0, 0
7, DBUSER, SB, CC, 0, 0, 0, 0, 0, 0, YES, NO, SB, 2, {0,1:0.4}, {0,1:0.2}, 0, 0, 0, 0, 0, 0, 0, 0
8, DBUSER, SR, CC, 0, 0, 0, 0, 0, 0, YES, NO, SR, 2, {0,1:0.3}, 0, 0, 0, 0, 0, 0, 0, 0, 0
9, DBUSER, H, CC, 0, 0, 0, 0, 0, 0, YES, NO, H, 1, GB-YB05, H 400x200x8/13
*THICKNESS
1, VALUE, 1, YES, {0,1:0.2}, 0, NO, 0, 0
*CONSTRAINT
1 2, 111111,
*STLDCASE
DL, D,
*USE-STLD, DL
*CONLOAD
3 4, {1,0:10}, 0, {1,0:-20}, {1,1:5}, 0, {1,1:-7},
*BEAMLOAD
1, BEAM, UNILOAD, GZ, NO, NO, aDir[1], , , , 0, {1,-1:-10}, 1, {1,-1:-12}, 0, 0, 0, 0, ,
2, BEAM, CONLOAD, GX, NO, NO, aDir[1], , , , 0.5, {1,0:-30}, 0, 0, 0, 0, 0, 0, ,
3, BEAM, CONMOMENT, GY, NO, NO, aDir[1], , , , 0.25, {1,1:8}, 0, 0, 0, 0, 0, 0, ,
4, BEAM, UNIMOMENT, LY, NO, NO, aDir[1], , , , 0, {1,0:3}, 1, {1,0:3}, 0, 0, 0, 0, ,
)";

struct Units {
    const char* force;
    double perKilonewton;
    const char* length;
    double perMetre;
};

std::string Written(const Units& u)
{
    std::string text = std::regex_replace(kModel, std::regex("FORCE, LENGTH"), std::string(u.force) + ", " + u.length);
    const std::regex tag(R"(\{(-?\d),(-?\d):([^}]*)\})");
    std::string out;
    auto last = text.cbegin();
    for (std::sregex_iterator it(text.begin(), text.end(), tag), end; it != end; ++it) {
        const auto& m = *it;
        char number[40];
        std::snprintf(number, sizeof number, "%.17g",
                      std::stod(m[3]) * std::pow(u.perKilonewton, std::stoi(m[1])) * std::pow(u.perMetre, std::stoi(m[2])));
        out.append(last, m[0].first).append(number);
        last = m[0].second;
    }
    return out.append(last, text.cend());
}

// Every number of the host model, in collection order.
std::vector<double> Numbers(const ModalData_Orvo& m)
{
    std::vector<double> v;
    for (const Node_Orvo* n : m.m_Nodes)
        v.insert(v.end(), {n->X, n->Y, n->Z, double(n->Restraint)});
    for (const Line_Orvo* l : m.m_Lines)
        v.insert(v.end(), {double(l->StartNode), double(l->EndNode), double(l->SectionShape), double(l->SectionID),
                           double(l->MaterialID), l->RefX, l->RefY, l->RefZ});
    for (const Material_Orvo* x : m.m_Materials)
        v.insert(v.end(), {double(x->Property.Grade), x->Property.Elastic, x->Property.Poisson, x->Property.Thermal,
                           x->Property.Extra, x->Property.Density});
    for (const LSection_Orvo* s : m.m_LSections)
        for (int k = 0; k < s->Properties.Count; ++k)
            v.push_back(s->Properties[k]);
    for (const ASection_Orvo* a : m.m_ASections)
        v.push_back(a->Thickness);
    for (const PointLoad_Orvo* p : m.m_PointLoads)
        v.insert(v.end(), {p->FX, p->FY, p->FZ, p->MX, p->MY, p->MZ});
    for (const LineLoad_Orvo* l : m.m_LineLoads)
        v.insert(v.end(), {double(l->LoadType), l->Value1, l->Value2, l->Position1, l->Position2});
    return v;
}

std::vector<double> Translate(const Units& u)
{
    MIDAStranslatetoOrvo t;
    t.SetReadingProfile(MidasReadingProfile::Current);
    TempFile file(Written(u));
    ModalData_Orvo model;
    EXPECT_TRUE(t.ReadMidasFile(file.path().c_str()) && t.TranMidastoOrvo(model)) << u.force << "/" << u.length;
    return Numbers(model);
}

} // namespace

TEST(Units, EveryUnitSystemGivesTheHostModelOfKilonewtonsAndMetres)
{
    const std::vector<double> reference = Translate({"KN", 1.0, "M", 1.0});
    ASSERT_GT(reference.size(), 200u);
    const Units variants[] = {
        {"N", 1000.0, "MM", 1000.0},          {"KN", 1.0, "MM", 1000.0},   {"KN", 1.0, "CM", 100.0},
        {"KGF", 1 / 0.00980665, "M", 1.0},    {"TONF", 1 / 9.80665, "M", 1.0},
        {"LBF", 1 / 0.0044482216152605, "IN", 1000 / 25.4}, {"KIPS", 1 / 4.4482216152605, "FT", 1000 / 304.8},
    };
    for (const Units& u : variants) {
        const std::vector<double> v = Translate(u);
        ASSERT_EQ(v.size(), reference.size()) << u.force << "/" << u.length;
        for (std::size_t k = 0; k < v.size(); ++k)
            EXPECT_LE(std::fabs(v[k] - reference[k]), 1e-9 * std::max(std::fabs(reference[k]), 1e-300))
                << u.force << "/" << u.length << " number " << k << ": " << v[k] << " vs " << reference[k];
    }
}

TEST(Units, RealFilesDensitiesAndConstructionStageLoads)
{
    const std::string dir = SharedModelsDir();
    if (dir.empty())
        GTEST_SKIP() << "no real models (set MIDAS2ORVO_REAL_MODELS)";
    auto translate = [&dir](const char* name, ModalData_Orvo& model) {
        MIDAStranslatetoOrvo t;
        t.SetReadingProfile(MidasReadingProfile::Current);
        return t.ReadMidasFile((dir + "/" + name).c_str()) && t.TranMidastoOrvo(model);
    };
    ModalData_Orvo pier, girder, stage;
    ASSERT_TRUE(translate("05-o4-pier-civil-tonf.mgt", pier) && translate("11-ifc2mct-girder-test.mgt", girder) &&
                translate("13-ifc2mct-mct-test.mgt", stage));
    EXPECT_NEAR(pier.m_Materials.GetAt(0)->Property.Density, 2.75e-06, 2.75e-15);   // 2.75 tf/m3
    EXPECT_NEAR(girder.m_Materials.GetAt(0)->Property.Density, 7.85e-06, 7.85e-15);  // from the mass column
    ASSERT_EQ(stage.m_PointLoads.GetSize(), 1);
    EXPECT_EQ(stage.m_PointLoads.GetAt(0)->CaseKind, 0);  // a construction-stage load case is dead load
}
