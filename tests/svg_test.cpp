// The SVG picture of the host model: marks counted per kind, page positions, escaping, degenerate input.
#include "SvgWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <regex>
#include <tuple>

namespace {

using Strings = std::vector<std::string>;
constexpr const char* kData = R"re( d="([^"]*)")re";
constexpr const char* kLegend = R"re(<text (?![^>]*(?:id=|middle))[^>]*>([^<]*)</text>)re";
constexpr const char* kCounts = R"re(<text [^>]*id="counts"[^>]*>([^<]*)<)re";

// The first capture of each match of pattern in text.
Strings Find(const std::string& text, const char* pattern) {
    Strings found;
    const std::regex re(pattern);
    for (std::sregex_iterator it(text.begin(), text.end(), re), end; it != end; ++it) found.push_back((*it)[1]);
    return found;
}

// A model built in place: nodes numbered 1..N in order, members by group name, nodal loads.
struct Model : ModalData_Orvo {
    Model& Node(double x, double y, double z, unsigned char restraint = 0) {
        auto* node = new Node_Orvo;
        node->X = x, node->Y = y, node->Z = z, node->Restraint = restraint;
        return m_Nodes.Add(node), *this;
    }
    Model& Line(int start, int end, const std::string& group = "") {
        auto* line = new Line_Orvo;
        line->StartNode = start, line->EndNode = end, line->GroupName = group;
        return m_Lines.Add(line), *this;
    }
    Model& Load(int node, double fx, double fy, double fz) {
        auto* load = new PointLoad_Orvo;
        load->FX = fx, load->FY = fy, load->FZ = fz, m_PointLoads.Add(load);
        return m_Nodes[node - 1]->PointLoads.Add(m_PointLoads.GetSize()), *this;
    }
    std::string Svg(SvgView v = SvgView::Iso, std::string title = "") const { return ModelToSvg(*this, {v, title, {}}); }
};

}  // namespace

// A portal with two groups, ungrouped members, one support of each kind (node 4's bit is no freedom)
// and two loads, one vertical and so seen end on in the XY plan; load number 99 addresses nothing.
TEST(Svg, DrawsEachMemberSupportAndLoadOnce) {
    Model portal;
    portal.Node(0, 0, 0, 0xFC).Node(6000, 0, 0, 0xE0).Node(0, 4000, 0, 0x20).Node(0, 0, 3000, 1).Node(6000, 0, 3000);
    portal.Line(1, 4, "COLUMN").Line(2, 5, "COLUMN").Line(4, 5, "BEAM").Line(3, 4).Line(3, 5);
    portal.Load(4, 10, 5, -20).Load(5, 0, 0, -50).m_Nodes[4]->PointLoads.Add(99);
    const std::string counts = " \u2014 5 nodes, 5 members, 3 supports, 2 nodal loads";
    for (const auto& [view, arrows, name] : {std::tuple{SvgView::Iso, 2, "isometric view"}, {SvgView::XY, 1, "XY plan"},
                                             {SvgView::XZ, 2, "XZ elevation"}, {SvgView::YZ, 2, "YZ elevation"}}) {
        const std::string svg = portal.Svg(view, "portal");
        EXPECT_EQ(Find(svg, R"re(<path stroke="([^"]*)")re"), (Strings{"#9a9a9a", "#d62728", "#1f77b4"}));
        const auto members = svg.find("<g fill=\"none\""), end = svg.find("</g>", members);
        const std::string drawn = svg.substr(members, end - members);  // a line or, seen end on, a dot per member
        EXPECT_EQ(std::count(drawn.begin(), drawn.end(), 'L') + int(Find(drawn, "(h0)").size()), 5);
        EXPECT_EQ(Find(svg, "(h7v7h-7z|l-5 8.7h10z|a3.5 3.5 0 1 0 7 0a)"),
                  (Strings{"h7v7h-7z", "l-5 8.7h10z", "a3.5 3.5 0 1 0 7 0a"}));  // fixed, pinned, other
        EXPECT_EQ(int(Find(svg, "[0-9](Z)").size()), arrows);
        EXPECT_EQ(Find(svg, kCounts).at(0), name + counts);
        EXPECT_EQ(Find(svg, kLegend), (Strings{"COLUMN (2)", "BEAM (1)", "(no group) (2)", "fixed support",
                                               "pinned support", "partial support", "nodal load"}));
    }
    EXPECT_EQ(Find(Model().Svg(), "(<path (?:stroke|fill|id)=|legend|0 nodes, 0 members, 0 supports, 0 nodal loads)"),
              Strings{"0 nodes, 0 members, 0 supports, 0 nodal loads"});
}

// One member from the origin to (1000, 2000, 3000) and a load in -Y at its far end, in each view: the
// axes' directions on the page, the fit left of the legend, an arrow of fixed length ending at the node.
TEST(Svg, ViewsShowAxesAndForcesTheRightWayRound) {
    Model model;
    model.Node(0, 0, 0).Node(1000, 2000, 3000).Line(1, 2).Load(2, 0, -3, 0);
    const std::vector<std::pair<SvgView, Strings>> rows = {
        {SvgView::Iso, {"M183.6 860L766.4 75", "M787.2 63L771.6 72M766.4 75L770.2 69.7L772.9 74.3Z"}},
        {SvgView::XY, {"M278.8 860L671.3 75", "M671.3 51L671.3 69M671.3 75L668.6 69L674 69Z"}},
        {SvgView::XZ, {"M344.2 860L605.8 75"}},  // the load is seen end on
        {SvgView::YZ, {"M213.3 860L736.7 75", "M760.7 75L742.7 75M736.7 75L742.7 72.3L742.7 77.7Z"}}};
    for (const auto& [view, paths] : rows) {  // after the triad and the scale bar
        const Strings found = Find(model.Svg(view), kData);
        EXPECT_EQ(Strings(found.begin() + 2, found.end()), paths) << int(view);
    }
}

TEST(Svg, LegendEscapesNamesAndShowsWhatFits) {
    Model model;
    model.Node(0, 0, 0).Node(1, 0, 0).Line(1, 2, "A&B <\"x\"> 'y'").Line(1, 2, "\xD6\xF7\xC1").Line(1, 2, "\x01\xFF");
    const std::string svg = model.Svg(SvgView::XY, "R&D <model>");
    EXPECT_NE(svg.find(">R&amp;D &lt;model&gt;</text>"), std::string::npos);
    EXPECT_EQ(Find(svg, kLegend), (Strings{"A&amp;B &lt;&quot;x&quot;&gt; &apos;y&apos; (1)",
                                           "\u00D6\u00F7\u00C1 (1)", "\uFFFD\u00FF (1)"}));
    for (int g = 0; g < 60; ++g) model.Line(1, 2, "G" + std::to_string(g));  // more groups than rows
    const Strings legend = Find(model.Line(1, 2).Svg(), kLegend);  // the ungrouped are listed all the same
    EXPECT_EQ(Strings(legend.end() - 2, legend.end()), (Strings{"+22 more groups (22 members)", "(no group) (1)"}));
    EXPECT_EQ(legend.size(), 43u);
}

// A beam with a uniform load in -Z and a moment, a column with a force along it: the loads as arrows where
// the view shows their direction, the column end on in the plan, the triad and a scale bar.
TEST(Svg, MemberLoadsEndOnMembersAxesAndScale) {
    Model frame;
    frame.Node(0, 0, 0).Node(6000, 0, 0).Node(0, 0, 3000).Line(1, 2).Line(1, 3);
    for (const auto& [line, type, direction, value] : {std::tuple{1, 1, 2, -2.0}, {1, 3, 2, 1.0}, {2, 2, 3, 5.0}}) {
        auto* load = new LineLoad_Orvo;
        load->LoadType = type, load->Direction = direction, load->Value1 = load->Value2 = value;
        load->Position1 = 1.5, load->Position2 = 6.0, frame.m_LineLoads.Add(load);
        frame.m_Lines[line - 1]->LineLoads.Add(frame.m_LineLoads.GetSize());
    }
    // Twelve arrows in the row (the most), one for the force; an axis seen end on as a circle with a dot
    // (towards the viewer) or a cross, a member as a dot; the longest scale bar of at most 150 px.
    const std::string circle = "a4 4 0 1 0 8 0a4 4 0 1 0-8 0m";
    for (const auto& [view, arrows, marks, scale] : std::vector<std::tuple<SvgView, int, Strings, std::string>>{
             {SvgView::XZ, 13, {circle + "1.2-2.8l5.6 5.6m0-5.6l-5.6 5.6"}, "1 m"},
             {SvgView::XY, 0, {circle + "3.5 0h1", "h0"}, "1 m"}, {SvgView::Iso, 13, {}, "0.5 m"}}) {
        const std::string svg = frame.Svg(view);
        const Strings paths = Find(svg, R"re(stroke-width="0.8" stroke-linejoin="round" d="([^"]*)")re");
        EXPECT_EQ(paths.empty() ? 0 : std::count(paths[0].begin(), paths[0].end(), 'Z'), arrows) << int(view);
        EXPECT_EQ(Find(svg, "(h0|a4 4 0 1 0 8 0a4 4 0 1 0-8 0m[^M\"]*)"), marks);
        EXPECT_EQ(Find(svg, R"re(middle">(x|y|z|[0-9.]+ m)</text>)re"), (Strings{"x", "y", "z", scale})) << int(view);
        EXPECT_NE(Find(svg, kCounts).at(0).find(", 3 member loads"), std::string::npos);
    }
}
