// The real MIDAS files shared with the project, in both profiles, checked by fingerprints: whether the
// translation succeeds, the count of each host collection, the sum of all node coordinates (mm), and the
// first section (shape, slots 4 and 6), material grade, plate thickness, nodal load (case, FZ) and member
// load (direction, value, end position). These are the accepted outputs of `mgt2orvo --json`.
#include "TestSupport.h"

TEST(RealModels, FingerprintsInBothProfiles)
{
    const std::string dir = SharedModelsDir();
    if (dir.empty()) GTEST_SKIP() << "no ../shared/real-models in this checkout";
    // (file name prefix, profile, translated, {nodes, lines, materials, sections, thicknesses, point loads, line loads,
    // areas}, ...)
    const std::tuple<const char*, MidasReadingProfile, bool, std::vector<int>, double, const char*> rows[] = {
        {"01-", kClassic, true, {442, 371, 2, 100, 3, 0, 40, 0}, 11041700, "S25 0 0 M21 A0 L2 0 0"},
        {"01-", kCurrent, true, {442, 371, 2, 100, 3, 0, 40, 278}, 11041700, "S29 1000 200 M21 A200 L2 -18 4.199999999999999"},
        {"03-", kClassic, true, {156, 0, 2, 5, 2, 0, 0, 0}, 20691060, "S25 0 0 M21 A120"},
        {"03-", kCurrent, true, {2730, 4947, 2, 5, 2, 0, 0, 280}, 263618888.27699986, "S22 213 0 M2 A120"},
        {"05-", kClassic, false, {0, 0, 0, 0, 0, 0, 0, 0}, 0, ""},  // TONF: refused
        {"05-", kCurrent, true, {51, 41, 5, 8, 0, 2, 0, 0}, 273580, "S25 0 0 M21 P2 -6344.90255"},
        {"07-", kClassic, true, {142, 121, 3, 26, 0, 0, 0, 0}, 10635410, "S25 0 0 M21"},
        {"07-", kCurrent, true, {142, 121, 3, 70, 0, 0, 0, 0}, 10635410, "S24 2000 0 M21"},
        {"09-", kClassic, true, {86, 81, 2, 52, 0, 0, 176, 0}, 3857700, "S25 0 0 M21 L2 -215.4 0.6"},
        {"09-", kCurrent, true, {86, 81, 2, 0, 0, 0, 176, 0}, 3857700, "M14 L2 -215.4 0.6"},
        {"11-", kClassic, true, {36, 35, 1, 42, 0, 3, 0, 0}, 2418561.380522447, "S25 0 0 M21 P1 -4710000"},
        {"11-", kCurrent, true, {36, 35, 1, 7, 0, 28, 0, 0}, 2418561.380522447, "S25 0 0 M21 P1 -4.71"},
        {"13-", kClassic, true, {3, 2, 1, 1, 0, 1, 0, 0}, 4500, "S25 0 0 M21 P1 -1e+06"},
        {"13-", kCurrent, true, {3, 2, 1, 1, 0, 1, 0, 0}, 4500, "S17 300 305 M2 P1 -1"},
        {"15-", kClassic, false, {0, 0, 0, 0, 0, 0, 0, 0}, 0, ""},  // fragments without *UNIT
        {"15-", kCurrent, false, {0, 0, 0, 0, 0, 0, 0, 0}, 0, ""}, {"17-", kClassic, false, {0, 0, 0, 0, 0, 0, 0, 0}, 0, ""},
        {"17-", kCurrent, false, {0, 0, 0, 0, 0, 0, 0, 0}, 0, ""}};
    for (const auto& [prefix, profile, ok, counts, coordinateSum, first] : rows) {
        std::string path;
        for (const auto& entry : std::filesystem::directory_iterator(Utf8Path(dir)))
            if (entry.path().filename().string().rfind(prefix, 0) == 0) path = Utf8Text(entry.path());
        SCOPED_TRACE(path + (profile == kClassic ? ", classic" : ", current"));
        const MessageCapture quiet;
        const Translated run(path, profile, true);
        const ModalData_Orvo& m = run.model;
        EXPECT_EQ(run.ok, ok);
        EXPECT_EQ((std::vector<int>{m.m_Nodes.GetSize(), m.m_Lines.GetSize(), m.m_Materials.GetSize(), m.m_LSections.GetSize(),
                                    m.m_ASections.GetSize(), m.m_PointLoads.GetSize(), m.m_LineLoads.GetSize(), m.m_Areas.GetSize()}),
                  counts);
        double sum = 0;
        for (const Node_Orvo* n : m.m_Nodes) sum += n->X + n->Y + n->Z;
        EXPECT_DOUBLE_EQ(sum, coordinateSum);
        std::string text;
        auto add = [&text](const std::string& spot) { text += (text.empty() ? "" : " ") + spot; };
        if (const LSection_Orvo* s = m.m_LSections.GetAt(0)) add("S" + Num(s->ShapeCode) + " " + Num(s->Properties[4]) + " " + Num(s->Properties[6]));
        if (const Material_Orvo* x = m.m_Materials.GetAt(0)) add("M" + Num(x->Property.Grade));
        if (const ASection_Orvo* a = m.m_ASections.GetAt(0)) add("A" + Num(a->Thickness));
        if (const PointLoad_Orvo* p = m.m_PointLoads.GetAt(0)) add("P" + Num(p->CaseID) + " " + Num(p->FZ));
        if (const LineLoad_Orvo* l = m.m_LineLoads.GetAt(0)) add("L" + Num(l->Direction) + " " + Num(l->Value1) + " " + Num(l->Position2));
        EXPECT_EQ(text, first);
    }
}
