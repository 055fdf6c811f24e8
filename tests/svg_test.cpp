// Tests for the SVG picture of the host model: well-formed XML, one path per colour group and marker
// kind, escaping, skipped members and degenerate geometry.
#include "SvgWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "Encoding.h"

namespace {

struct Element {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string text;
};
using Lines = std::vector<std::string>;

// What the checker found: the elements in document order, or the first fault.
struct Document {
    std::string error;
    std::vector<Element> elements;
    // The given attribute of each element with this name, "" where it has none.
    Lines Of(const std::string& name, const std::string& key) const {
        Lines found;
        for (const Element& e : elements)
            if (e.name == name) found.push_back(e.attributes.count(key) ? e.attributes.at(key) : "");
        return found;
    }
    // The texts with this id; without one, the legend's lines.
    Lines Texts(const std::string& id = "") const {
        Lines texts;
        for (const Element& e : elements)
            if (e.name == "text" && (e.attributes.count("id") ? e.attributes.at("id") : "") == id)
                texts.push_back(e.text);
        return texts;
    }
};

// Character data or an attribute value with its entity references resolved; false on a raw '<' or
// an '&' that starts no entity.
bool Decode(std::string_view s, std::string& out) {
    static const std::map<std::string, char, std::less<>> entities = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '<') return false;
        if (s[i] != '&') { out += s[i]; continue; }
        const std::size_t end = s.find(';', i);
        const auto it = end == s.npos ? entities.end() : entities.find(s.substr(i + 1, end - i - 1));
        if (it == entities.end()) return false;
        out += it->second, i = end;
    }
    return true;
}

// A small well-formedness check: one root, balanced tags, double-quoted attributes separated by
// white space, no duplicate attributes, only known entities. Whatever is no tag is text, where Decode
// refuses a stray '<'. (Non-ASCII output is checked where the texts are compared.)
Document Parse(const std::string& xml) {
    static const std::regex tag(R"(<(/?)([\w:-]+)((?:\s+[\w:-]+="[^"]*")*)\s*(/?)>)");
    static const std::regex attribute(R"(([\w:-]+)="([^"]*)\")");
    Document doc;
    const auto fail = [&doc](const std::string& why, std::size_t at) {
        doc.error = why + " at " + std::to_string(at);
        return doc;
    };
    std::vector<std::size_t> open;
    for (std::size_t pos = xml.rfind("<?xml ", 0) == 0 ? xml.find("?>") + 2 : 0;;) {
        std::smatch m;
        const bool found = std::regex_search(xml.begin() + long(pos), xml.end(), m, tag);
        const std::size_t at = found ? pos + std::size_t(m.position()) : xml.size();
        std::string text;
        if (!Decode(std::string_view(xml).substr(pos, at - pos), text)) return fail("bad text", pos);
        if (!open.empty()) doc.elements[open.back()].text += text;
        else if (text.find_first_not_of(" \n\t\r") != std::string::npos) return fail("text outside the root", pos);
        if (!found) break;
        pos = at + std::size_t(m.length());
        if (m[1].length() > 0) {  // a closing tag
            if (open.empty() || doc.elements[open.back()].name != m[2] || m[3].length() + m[4].length() > 0)
                return fail("unbalanced closing tag", at);
            open.pop_back();
            continue;
        }
        if (open.empty() && !doc.elements.empty()) return fail("second root element", at);
        Element& element = doc.elements.emplace_back(Element{m[2], {}, {}});
        const std::string attributes = m[3];
        for (std::sregex_iterator a(attributes.begin(), attributes.end(), attribute), end; a != end; ++a) {
            std::string value;
            if (!Decode((*a)[2].str(), value)) return fail("bad attribute value", at);
            if (!element.attributes.emplace((*a)[1], value).second) return fail("duplicate attribute", at);
        }
        if (m[4].length() == 0) open.push_back(doc.elements.size() - 1);
    }
    if (!open.empty() || doc.elements.empty()) return fail("unclosed elements", xml.size());
    return doc;
}

// The numbers of a path's data, per command letter: {'M', x, y}, {'L', x, y}, ...
std::vector<std::pair<char, std::vector<double>>> Commands(const std::string& d) {
    std::vector<std::pair<char, std::vector<double>>> commands;
    for (std::size_t i = 0; i < d.size();) {
        if (std::isalpha(static_cast<unsigned char>(d[i]))) { commands.push_back({d[i++], {}}); continue; }
        if (d[i] == ' ') { ++i; continue; }
        std::size_t used = 0;
        commands.back().second.push_back(std::stod(d.substr(i), &used));
        i += used;
    }
    return commands;
}

void AddNode(ModalData_Orvo& m, double x, double y, double z, unsigned char restraint = 0) {
    auto* node = new Node_Orvo;
    node->ID = m.m_Nodes.GetSize() + 1, node->X = x, node->Y = y, node->Z = z, node->Restraint = restraint;
    m.m_Nodes.Add(node);
}

void AddLine(ModalData_Orvo& m, int start, int end, const std::string& group = "") {
    auto* line = new Line_Orvo;
    line->ID = m.m_Lines.GetSize() + 1, line->StartNode = start, line->EndNode = end, line->GroupName = group;
    m.m_Lines.Add(line);
}

void AddLoad(ModalData_Orvo& m, int node, double fx, double fy, double fz) {
    auto* load = new PointLoad_Orvo;
    load->FX = fx, load->FY = fy, load->FZ = fz;
    m.m_PointLoads.Add(load);
    m.m_Nodes[node - 1]->PointLoads.Add(m.m_PointLoads.GetSize());
}

// The picture of a model of two nodes 1000 mm apart along X and one member per group name.
Document TwoNodes(const std::vector<std::string>& groups, const SvgOptions& options) {
    ModalData_Orvo model;
    AddNode(model, 0, 0, 0), AddNode(model, 1000, 0, 0);
    for (const std::string& group : groups) AddLine(model, 1, 2, group);
    return Parse(ModelToSvg(model, options));
}

TEST(SvgView, ParsesTheFourViewNames) {
    // Anything but the four names is refused and leaves the view as it was (YZ here, XY before "iso").
    const std::vector<std::pair<std::string, SvgView>> rows = {
        {"iso", SvgView::Iso}, {"xy", SvgView::XY}, {"xz", SvgView::XZ}, {"yz", SvgView::YZ}, {"", SvgView::YZ},
        {"ISO", SvgView::YZ},  {"x", SvgView::YZ},  {"xyz", SvgView::YZ}, {"iso ", SvgView::YZ}, {"zx", SvgView::YZ}};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SvgView view = i == 0 ? SvgView::XY : SvgView::YZ;
        EXPECT_EQ(ParseSvgView(rows[i].first, view), i < 4) << rows[i].first;
        EXPECT_EQ(view, rows[i].second) << rows[i].first;
    }
}

TEST(Svg, EmptyModelGivesOnlyTheTitle) {
    ModalData_Orvo model;
    const Document doc = Parse(ModelToSvg(model, {SvgView::Iso, "empty.mgt", {}}));
    ASSERT_EQ(doc.error, "");
    EXPECT_EQ(doc.Of("svg", "").size(), 1u);
    EXPECT_EQ(doc.Of("path", "d").size(), 0u);
    EXPECT_EQ(doc.Of("text", "").size(), 2u);
    EXPECT_EQ(doc.Texts("title"), Lines{"empty.mgt"});
    EXPECT_EQ(doc.Texts("counts"), Lines{"isometric view \u2014 0 nodes, 0 members, 0 supports, 0 nodal loads"});
}

// Portal with two named groups, ungrouped members, every support kind and two loads, one of them
// vertical (seen end on in the XY plan).
TEST(Svg, DrawsOnePathPerGroupPerMarkerKindAndOneForArrows) {
    ModalData_Orvo model;
    AddNode(model, 0, 0, 0, 0xFC);     // fixed
    AddNode(model, 6000, 0, 0, 0xE0);  // pinned
    AddNode(model, 0, 4000, 0, 0x20);  // vertical roller
    AddNode(model, 0, 0, 3000, 0x01);  // bit outside the six freedoms: no support
    AddNode(model, 6000, 0, 3000);
    AddLine(model, 1, 4, "COLUMN"), AddLine(model, 2, 5, "COLUMN"), AddLine(model, 4, 5, "BEAM");
    AddLine(model, 3, 4), AddLine(model, 3, 5);
    AddLoad(model, 4, 10, 5, -20), AddLoad(model, 5, 0, 0, -50);
    model.m_Nodes[4]->PointLoads.Add(99);  // addresses no load: ignored
    const std::vector<std::tuple<SvgView, int, std::string>> rows = {{SvgView::Iso, 2, "isometric view"},
        {SvgView::XY, 1, "XY plan"}, {SvgView::XZ, 2, "XZ elevation"}, {SvgView::YZ, 2, "YZ elevation"}};
    for (const auto& [view, arrows, name] : rows) {
        const Document doc = Parse(ModelToSvg(model, {view, "portal", {}}));
        ASSERT_EQ(doc.error, "") << int(view);
        const Lines strokes = doc.Of("path", "stroke"), paths = doc.Of("path", "d");
        ASSERT_EQ(paths.size(), 3u + 3 + 1) << int(view);
        EXPECT_EQ(strokes[0], "#9a9a9a");  // ungrouped, drawn underneath
        EXPECT_EQ(strokes[2], "#1f77b4");  // the biggest group, on top
        EXPECT_EQ(Commands(paths[3]).size(), 6u * arrows) << int(view);  // M L M L L Z
        EXPECT_EQ(doc.Texts("counts"), Lines{name + " \u2014 5 nodes, 5 members, 3 supports, 2 nodal loads"});
        EXPECT_EQ(doc.Texts(), (Lines{"COLUMN (2)", "BEAM (1)", "(no group) (2)", "fixed support", "pinned support",
                                      "other restraint", "nodal load"}));
    }
}

TEST(Svg, EscapesAndConvertsTitleAndGroupNames) {
    const std::string markup = "A&B <\"x\"> 'y'";
    ModalData_Orvo model;
    AddNode(model, 0, 0, 0), AddNode(model, 1000, 0, 0), AddLine(model, 1, 2, markup);
    const std::string svg = ModelToSvg(model, {SvgView::XY, "R&D <model>", {}});
    EXPECT_NE(svg.find("A&amp;B &lt;&quot;x&quot;&gt; &apos;y&apos; (1)"), std::string::npos);
    const Document escaped = Parse(svg);
    ASSERT_EQ(escaped.error, "");
    EXPECT_EQ(escaped.Texts("title"), Lines{"R&D <model>"});
    EXPECT_EQ(escaped.Texts(), Lines{markup + " (1)"});

    // Names that are not UTF-8 show each byte as the character of the same value, unless converted.
    const std::vector<std::string> names = {"\xD6\xF7\xC1\xBA", std::string("\x01\xFF", 2)};
    const Document raw = TwoNodes(names, {});
    ASSERT_EQ(raw.error, "");
    EXPECT_EQ(raw.Texts(), (Lines{"\u00D6\u00F7\u00C1\u00BA (1)", "\uFFFD\u00FF (1)"}));
    const TextEncoder gbk("GBK");
    SvgOptions options;
    options.name = [&](std::string_view s) { return gbk.ToUtf8(s); };
    const Document converted = TwoNodes(names, options);
    ASSERT_EQ(converted.error, "");
    EXPECT_EQ(converted.Texts()[0], "\u4E3B\u6881 (1)");
}

TEST(Svg, SkipsMembersWithMissingOrNonFiniteEnds) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    ModalData_Orvo model;
    AddNode(model, 0, 0, 0), AddNode(model, 1000, 0, 0), AddNode(model, nan, 0, 0), AddNode(model, 0, -inf, 0, 0xFC);
    AddLine(model, 1, 2), AddLine(model, 0, 1), AddLine(model, 2, 5), AddLine(model, -1, 2);
    AddLine(model, 1, 3), AddLine(model, 4, 2), AddLine(model, 2, 1);
    AddLoad(model, 3, 1, 0, 0);
    const Document doc = Parse(ModelToSvg(model, {SvgView::Iso, "", {}}));
    ASSERT_EQ(doc.error, "");
    EXPECT_EQ(doc.Of("text", "").size(), 2u);  // counts and one legend line, no title
    EXPECT_EQ(doc.Texts("counts"),
              Lines{"isometric view \u2014 4 nodes, 2 members, 0 supports, 1 nodal load, 5 members skipped"});
    ASSERT_EQ(doc.Of("path", "d").size(), 1u);
    EXPECT_EQ(doc.Of("path", "d")[0].find_first_of("ni"), std::string::npos);
}

TEST(Svg, CoincidentAndExtremeNodesStayOnThePage) {
    const double big = std::numeric_limits<double>::max();
    const std::vector<std::vector<double>> rows = {{5, 5, 5, 5, 5, 5}, {0, 0, 0, 0, 0, 1e-320},
                                                   {-big, -big, -big, big, big, big}, {0, 0, 0, 0, 0, 7}};
    for (const auto& c : rows) {
        ModalData_Orvo model;
        AddNode(model, c[0], c[1], c[2], 0xFC), AddNode(model, c[3], c[4], c[5]);
        AddLine(model, 1, 2, "G"), AddLoad(model, 2, big, big, big);
        const Document doc = Parse(ModelToSvg(model, {SvgView::Iso, "", {}}));
        ASSERT_EQ(doc.error, "");
        ASSERT_EQ(doc.Of("path", "d").size(), 3u);  // member, arrow, fixed support
        for (const std::string& d : doc.Of("path", "d"))
            for (const auto& [letter, numbers] : Commands(d))
                for (double v : numbers) EXPECT_TRUE(std::isfinite(v) && std::fabs(v) <= 1200) << letter << v;
    }
}

// Page directions of a member from the origin along each axis: +1 right/down, -1 left/up, 0 none.
TEST(Svg, ViewsShowAxesTheRightWayRound) {
    struct Row { SvgView view; double x, y, z; int dx, dy; };
    const std::vector<Row> rows = {
        {SvgView::XY, 1, 0, 0, 1, 0}, {SvgView::XY, 0, 1, 0, 0, -1}, {SvgView::XY, 0, 0, 1, 0, 0},
        {SvgView::XZ, 1, 0, 0, 1, 0}, {SvgView::XZ, 0, 0, 1, 0, -1}, {SvgView::YZ, 0, 1, 0, 1, 0},
        {SvgView::YZ, 0, 0, 1, 0, -1}, {SvgView::Iso, 1, 0, 0, 1, 1}, {SvgView::Iso, 0, 1, 0, 1, -1},
        {SvgView::Iso, 0, 0, 1, 0, -1},
    };
    const auto sign = [](double v) { return std::fabs(v) < 0.05 ? 0 : v > 0 ? 1 : -1; };
    for (const Row& row : rows) {
        ModalData_Orvo model;
        AddNode(model, 0, 0, 0), AddNode(model, row.x * 1000, row.y * 1000, row.z * 1000), AddNode(model, 1, 1, 1);
        AddLine(model, 1, 2);
        const Lines paths = Parse(ModelToSvg(model, {row.view, "", {}})).Of("path", "d");
        ASSERT_EQ(paths.size(), 1u);
        const auto d = Commands(paths[0]);
        ASSERT_EQ(d.size(), 2u);
        EXPECT_EQ(sign(d[1].second[0] - d[0].second[0]), row.dx) << int(row.view) << row.x << row.y << row.z;
        EXPECT_EQ(sign(d[1].second[1] - d[0].second[1]), row.dy) << int(row.view) << row.x << row.y << row.z;
    }
}

TEST(Svg, ArrowsPointAlongTheForceAndEndAtTheNode) {
    ModalData_Orvo model;
    AddNode(model, 0, 0, 0), AddNode(model, 1000, 0, 0);
    AddLine(model, 1, 2), AddLoad(model, 2, 0, -3, 0);
    const Lines paths = Parse(ModelToSvg(model, {SvgView::XY, "", {}})).Of("path", "d");
    const auto member = Commands(paths[0]), arrow = Commands(paths[1]);
    ASSERT_EQ(arrow.size(), 6u);
    EXPECT_EQ(arrow[2].second, member[1].second);                  // the tip is on node 2
    EXPECT_DOUBLE_EQ(arrow[0].second[0], member[1].second[0]);      // straight down the page
    EXPECT_NEAR(arrow[2].second[1] - arrow[0].second[1], 24, 0.1);  // fixed length
}

TEST(Svg, JoinsConnectedMembersAndWritesOneDecimal) {
    ModalData_Orvo model;
    for (int i = 0; i < 4; ++i) AddNode(model, i * 1234.567, i * i * 98.7654, 0);
    AddLine(model, 1, 2), AddLine(model, 2, 3), AddLine(model, 3, 4), AddLine(model, 1, 4);
    const std::string d = Parse(ModelToSvg(model, {SvgView::XY, "", {}})).Of("path", "d")[0];
    std::string letters;
    for (const auto& command : Commands(d)) letters += command.first;
    EXPECT_EQ(letters, "MLLLML");
    for (std::size_t dot = d.find('.'); dot != std::string::npos; dot = d.find('.', dot + 1))
        EXPECT_TRUE(dot + 2 == d.size() || !std::isdigit(static_cast<unsigned char>(d[dot + 2]))) << d;
}

TEST(Svg, LegendListsTheBiggestGroupsAndCountsTheRest) {
    std::vector<std::string> groups;
    for (int g = 0; g < 60; ++g) groups.push_back("G" + std::to_string(g));
    groups.push_back("G59");
    const std::vector<std::pair<bool, std::string>> rows = {{false, "+18 more groups (18 members)"},
                                                            {true, "+19 more groups (19 members)"}};
    for (const auto& [ungrouped, more] : rows) {
        if (ungrouped) groups.push_back("");
        const Document doc = TwoNodes(groups, {});
        ASSERT_EQ(doc.error, "");
        EXPECT_EQ(doc.Of("path", "d").size(), 60u + ungrouped);
        const auto legend = doc.Texts();
        ASSERT_EQ(legend.size(), 42u + 1);  // as many rows as fit, the rest in one line
        EXPECT_EQ(legend[0], "G59 (2)");
        EXPECT_EQ(legend[1], "G0 (1)");
        EXPECT_EQ(legend[legend.size() - 1 - ungrouped], more);
        if (ungrouped) { EXPECT_EQ(legend.back(), "(no group) (1)") << "always listed"; }
    }
}

}  // namespace
