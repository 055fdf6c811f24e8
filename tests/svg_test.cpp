// Tests for the SVG picture of the host model: well-formed XML, one path per colour group and marker
// kind, escaping, skipped members and degenerate geometry.
#include "SvgWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "Encoding.h"

namespace {

struct Element {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string text;
};

// What the checker found: the elements in document order, or the first fault.
struct Document {
    std::string error;
    std::vector<Element> elements;
    int Count(const std::string& name) const {
        int n = 0;
        for (const Element& e : elements) n += e.name == name;
        return n;
    }
    std::vector<const Element*> All(const std::string& name) const {
        std::vector<const Element*> found;
        for (const Element& e : elements)
            if (e.name == name) found.push_back(&e);
        return found;
    }
};

// Character data or an attribute value with its entity references resolved; false on a raw '<' or
// an '&' that starts no entity.
bool Decode(std::string_view s, std::string& out) {
    static const std::map<std::string, char> entities = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '<') return false;
        if (s[i] != '&') { out += s[i]; continue; }
        const std::size_t end = s.find(';', i);
        if (end == std::string_view::npos) return false;
        const auto it = entities.find(std::string(s.substr(i + 1, end - i - 1)));
        if (it == entities.end()) return false;
        out += it->second;
        i = end;
    }
    return true;
}

bool ValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const std::size_t len = b < 0x80 ? 1 : b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3
                              : b >= 0xF0 && b <= 0xF4 ? 4 : 0;
        if (len == 0 || i + len > s.size()) return false;
        if (len == 1 && b < 0x20 && b != '\n' && b != '\t' && b != '\r') return false;
        for (std::size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += len;
    }
    return true;
}

// A small well-formedness check: one root, balanced tags, double-quoted attributes separated by
// white space, no duplicate attributes, only known entities, valid UTF-8 without control bytes.
Document Parse(const std::string& xml) {
    Document doc;
    const auto fail = [&](const std::string& why, std::size_t at) {
        doc.error = why + " at " + std::to_string(at);
        return doc;
    };
    if (!ValidUtf8(xml)) return fail("invalid UTF-8 or control byte", 0);
    std::size_t pos = 0;
    if (xml.rfind("<?xml ", 0) == 0) pos = xml.find("?>") + 2;
    std::vector<std::size_t> open;
    bool rootSeen = false;
    const auto isName = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == ':' || c == '_'; };
    while (pos < xml.size()) {
        if (xml[pos] != '<') {
            const std::size_t end = std::min(xml.find('<', pos), xml.size());
            std::string text;
            if (!Decode(std::string_view(xml).substr(pos, end - pos), text)) return fail("bad text", pos);
            if (open.empty()) {
                if (text.find_first_not_of(" \n\t\r") != std::string::npos) return fail("text outside the root", pos);
            } else {
                doc.elements[open.back()].text += text;
            }
            pos = end;
            continue;
        }
        if (xml.compare(pos, 2, "</") == 0) {
            const std::size_t end = xml.find('>', pos);
            if (end == std::string::npos || open.empty() || xml.substr(pos + 2, end - pos - 2) != doc.elements[open.back()].name)
                return fail("unbalanced closing tag", pos);
            open.pop_back();
            pos = end + 1;
            continue;
        }
        if (open.empty() && rootSeen) return fail("second root element", pos);
        rootSeen = true;
        Element element;
        for (++pos; pos < xml.size() && isName(xml[pos]); ++pos) element.name += xml[pos];
        if (element.name.empty()) return fail("tag without name", pos);
        for (;;) {
            const std::size_t before = pos;
            while (pos < xml.size() && std::isspace(static_cast<unsigned char>(xml[pos]))) ++pos;
            if (xml.compare(pos, 2, "/>") == 0 || xml.compare(pos, 1, ">") == 0) break;
            if (pos == before) return fail("attribute not separated by white space", pos);
            std::string key;
            for (; pos < xml.size() && isName(xml[pos]); ++pos) key += xml[pos];
            if (key.empty() || xml.compare(pos, 2, "=\"") != 0) return fail("attribute without =\"", pos);
            const std::size_t end = xml.find('"', pos + 2);
            std::string value;
            if (end == std::string::npos || !Decode(std::string_view(xml).substr(pos + 2, end - pos - 2), value))
                return fail("bad attribute value", pos);
            if (!element.attributes.emplace(key, value).second) return fail("duplicate attribute", pos);
            pos = end + 1;
        }
        const bool empty = xml[pos] == '/';
        pos += empty ? 2 : 1;
        doc.elements.push_back(std::move(element));
        if (!empty) open.push_back(doc.elements.size() - 1);
    }
    if (!open.empty() || !rootSeen) return fail("unclosed elements", pos);
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
    node->ID = m.m_Nodes.GetSize() + 1;
    node->X = x, node->Y = y, node->Z = z, node->Restraint = restraint;
    m.m_Nodes.Add(node);
}

void AddLine(ModalData_Orvo& m, int start, int end, const std::string& group = "") {
    auto* line = new Line_Orvo;
    line->ID = m.m_Lines.GetSize() + 1;
    line->StartNode = start, line->EndNode = end, line->GroupName = group;
    m.m_Lines.Add(line);
}

void AddLoad(ModalData_Orvo& m, int node, double fx, double fy, double fz) {
    auto* load = new PointLoad_Orvo;
    load->FX = fx, load->FY = fy, load->FZ = fz;
    m.m_PointLoads.Add(load);
    m.m_Nodes[node - 1]->PointLoads.Add(m.m_PointLoads.GetSize());
}

// The text of the element with this id, or "(none)".
std::string Text(const Document& doc, const std::string& id) {
    for (const Element* text : doc.All("text"))
        if (text->attributes.count("id") && text->attributes.at("id") == id) return text->text;
    return "(none)";
}

// The legend's lines: the texts without an id.
std::vector<std::string> Legend(const Document& doc) {
    std::vector<std::string> lines;
    for (const Element* text : doc.All("text"))
        if (!text->attributes.count("id")) lines.push_back(text->text);
    return lines;
}

TEST(SvgView, ParsesTheFourViewNames) {
    const std::vector<std::pair<std::string, SvgView>> good = {
        {"iso", SvgView::Iso}, {"xy", SvgView::XY}, {"xz", SvgView::XZ}, {"yz", SvgView::YZ}};
    for (const auto& [text, expected] : good) {
        SvgView view = SvgView::Iso;
        EXPECT_TRUE(ParseSvgView(text, view)) << text;
        EXPECT_EQ(view, expected) << text;
    }
    for (const char* text : {"", "ISO", "x", "xyz", "iso ", "zx"}) {
        SvgView view = SvgView::YZ;
        EXPECT_FALSE(ParseSvgView(text, view)) << text;
        EXPECT_EQ(view, SvgView::YZ) << "unchanged by " << text;
    }
}

TEST(Svg, EmptyModelGivesOnlyTheTitle) {
    ModalData_Orvo model;
    const Document doc = Parse(ModelToSvg(model, {SvgView::Iso, "empty.mgt", {}}));
    ASSERT_EQ(doc.error, "");
    EXPECT_EQ(doc.Count("svg"), 1);
    EXPECT_EQ(doc.Count("path"), 0);
    EXPECT_EQ(doc.Count("text"), 2);
    EXPECT_EQ(Text(doc, "title"), "empty.mgt");
    EXPECT_EQ(Text(doc, "counts"), "isometric view \u2014 0 nodes, 0 members, 0 supports, 0 nodal loads");
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
    const std::vector<std::pair<SvgView, int>> rows = {
        {SvgView::Iso, 2}, {SvgView::XY, 1}, {SvgView::XZ, 2}, {SvgView::YZ, 2}};
    for (const auto& [view, arrows] : rows) {
        const Document doc = Parse(ModelToSvg(model, {view, "portal", {}}));
        ASSERT_EQ(doc.error, "") << int(view);
        ASSERT_EQ(doc.Count("path"), 3 + 3 + 1) << int(view);
        const auto paths = doc.All("path");
        EXPECT_EQ(paths[0]->attributes.at("stroke"), "#9a9a9a");  // ungrouped, drawn underneath
        EXPECT_EQ(paths[2]->attributes.at("stroke"), "#1f77b4");  // the biggest group, on top
        EXPECT_EQ(Commands(paths[3]->attributes.at("d")).size(), 6u * arrows) << int(view);  // M L M L L Z
        EXPECT_NE(Text(doc, "counts").find("5 nodes, 5 members, 3 supports, 2 nodal loads"), std::string::npos);
        EXPECT_EQ(Text(doc, "counts").find("skipped"), std::string::npos);
        std::vector<std::string> legend = {"COLUMN (2)", "BEAM (1)", "(no group) (2)", "fixed support",
                                           "pinned support", "other restraint", "nodal load"};
        EXPECT_EQ(Legend(doc), legend);
    }
}

TEST(Svg, EscapesMarkupInNamesAndTitle) {
    ModalData_Orvo model;
    AddNode(model, 0, 0, 0), AddNode(model, 1000, 0, 0);
    AddLine(model, 1, 2, "A&B <\"x\"> 'y'");
    const std::string svg = ModelToSvg(model, {SvgView::XY, "R&D <model>", {}});
    EXPECT_NE(svg.find("A&amp;B &lt;&quot;x&quot;&gt; &apos;y&apos; (1)"), std::string::npos);
    const Document doc = Parse(svg);
    ASSERT_EQ(doc.error, "");
    EXPECT_EQ(Text(doc, "title"), "R&D <model>");
    EXPECT_EQ(Legend(doc)[0], "A&B <\"x\"> 'y' (1)");
}

TEST(Svg, ConvertsGroupNamesAndKeepsStrayBytesReadable) {
    ModalData_Orvo model;
    AddNode(model, 0, 0, 0), AddNode(model, 1000, 0, 0);
    AddLine(model, 1, 2, "\xD6\xF7\xC1\xBA"), AddLine(model, 2, 1, std::string("\x01\xFF", 2));
    const Document raw = Parse(ModelToSvg(model, {}));
    ASSERT_EQ(raw.error, "");  // not UTF-8: each byte shown as the character of the same value
    EXPECT_EQ(Legend(raw)[0], "\u00D6\u00F7\u00C1\u00BA (1)");
    EXPECT_EQ(Legend(raw)[1], "\uFFFD\u00FF (1)");
    const TextEncoder gbk("GBK");
    SvgOptions options;
    options.name = [&](std::string_view s) { return gbk.ToUtf8(s); };
    const Document converted = Parse(ModelToSvg(model, options));
    ASSERT_EQ(converted.error, "");
    EXPECT_EQ(Legend(converted)[0], "\u4E3B\u6881 (1)");
}

TEST(Svg, SkipsMembersWithMissingOrNonFiniteEnds) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    ModalData_Orvo model;
    AddNode(model, 0, 0, 0), AddNode(model, 1000, 0, 0), AddNode(model, nan, 0, 0), AddNode(model, 0, -inf, 0, 0xFC);
    AddLine(model, 1, 2), AddLine(model, 0, 1), AddLine(model, 2, 5), AddLine(model, -1, 2);
    AddLine(model, 1, 3), AddLine(model, 4, 2), AddLine(model, 2, 1);
    AddLoad(model, 3, 1, 0, 0);
    const std::string svg = ModelToSvg(model, {SvgView::Iso, "", {}});
    const Document doc = Parse(svg);
    ASSERT_EQ(doc.error, "");
    EXPECT_EQ(doc.Count("text"), 2);  // counts and one legend line, no title
    EXPECT_EQ(Text(doc, "counts"), "isometric view \u2014 4 nodes, 2 members, 0 supports, 1 nodal load, 5 members skipped");
    ASSERT_EQ(doc.Count("path"), 1);
    EXPECT_EQ(doc.All("path")[0]->attributes.at("d").find_first_of("ni"), std::string::npos);
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
        for (const Element* path : doc.All("path"))
            for (const auto& [letter, numbers] : Commands(path->attributes.at("d")))
                for (double v : numbers) EXPECT_TRUE(std::isfinite(v) && std::fabs(v) <= 1200) << letter << v;
        EXPECT_EQ(doc.Count("path"), 3);  // member, arrow, fixed support
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
        const Document doc = Parse(ModelToSvg(model, {row.view, "", {}}));
        ASSERT_EQ(doc.Count("path"), 1);
        const auto d = Commands(doc.All("path")[0]->attributes.at("d"));
        ASSERT_EQ(d.size(), 2u);
        EXPECT_EQ(sign(d[1].second[0] - d[0].second[0]), row.dx) << int(row.view) << row.x << row.y << row.z;
        EXPECT_EQ(sign(d[1].second[1] - d[0].second[1]), row.dy) << int(row.view) << row.x << row.y << row.z;
    }
}

TEST(Svg, ArrowsPointAlongTheForceAndEndAtTheNode) {
    ModalData_Orvo model;
    AddNode(model, 0, 0, 0), AddNode(model, 1000, 0, 0);
    AddLine(model, 1, 2), AddLoad(model, 2, 0, -3, 0);
    const Document doc = Parse(ModelToSvg(model, {SvgView::XY, "", {}}));
    const auto member = Commands(doc.All("path")[0]->attributes.at("d"));
    const auto arrow = Commands(doc.All("path")[1]->attributes.at("d"));
    ASSERT_EQ(arrow.size(), 6u);
    EXPECT_EQ(arrow[2].second, member[1].second);                  // the tip is on node 2
    EXPECT_DOUBLE_EQ(arrow[0].second[0], member[1].second[0]);      // straight down the page
    EXPECT_NEAR(arrow[2].second[1] - arrow[0].second[1], 24, 0.1);  // fixed length
}

TEST(Svg, JoinsConnectedMembersAndWritesOneDecimal) {
    ModalData_Orvo model;
    for (int i = 0; i < 4; ++i) AddNode(model, i * 1234.567, i * i * 98.7654, 0);
    AddLine(model, 1, 2), AddLine(model, 2, 3), AddLine(model, 3, 4), AddLine(model, 1, 4);
    const std::string d = Parse(ModelToSvg(model, {SvgView::XY, "", {}})).All("path")[0]->attributes.at("d");
    std::string letters;
    for (const auto& command : Commands(d)) letters += command.first;
    EXPECT_EQ(letters, "MLLLML");
    for (std::size_t dot = d.find('.'); dot != std::string::npos; dot = d.find('.', dot + 1))
        EXPECT_TRUE(dot + 2 == d.size() || !std::isdigit(static_cast<unsigned char>(d[dot + 2]))) << d;
}

TEST(Svg, LegendListsTheBiggestGroupsAndCountsTheRest) {
    ModalData_Orvo model;
    AddNode(model, 0, 0, 0), AddNode(model, 1000, 0, 0);
    for (int g = 0; g < 60; ++g) AddLine(model, 1, 2, "G" + std::to_string(g));
    AddLine(model, 1, 2, "G59");
    const std::vector<std::pair<bool, std::string>> rows = {{false, "+18 more groups (18 members)"},
                                                            {true, "+19 more groups (19 members)"}};
    for (const auto& [ungrouped, more] : rows) {
        if (ungrouped) AddLine(model, 1, 2);
        const Document doc = Parse(ModelToSvg(model, {}));
        ASSERT_EQ(doc.error, "");
        EXPECT_EQ(doc.Count("path"), 60 + ungrouped);
        const auto legend = Legend(doc);
        ASSERT_EQ(legend.size(), 42u + 1);  // as many rows as fit, the rest in one line
        EXPECT_EQ(legend[0], "G59 (2)");
        EXPECT_EQ(legend[1], "G0 (1)");
        EXPECT_EQ(legend[legend.size() - 1 - ungrouped], more);
        if (ungrouped) {
            EXPECT_EQ(legend.back(), "(no group) (1)") << "always listed";
        }
    }
}

}  // namespace
