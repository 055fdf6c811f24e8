// Drawing the host model as an SVG picture: plates and walls, members coloured by group, supports, nodal and
// member loads, an axis triad and a scale bar.
#include "SvgWriter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <limits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "Counted.h"
#include "Utf8.h"

namespace {

// Page layout in px.
constexpr double kWidth = 1200.0;
constexpr double kHeight = 900.0;
constexpr double kMargin = 40.0;       // around the drawing; room for support marks and load arrows
constexpr double kTop = 75.0;          // below the title and count lines
constexpr double kLegendWidth = 250.0;
constexpr double kLegendRow = 18.0;
constexpr std::size_t kLegendNameChars = 28;  // longer group names are cut in the legend

constexpr double kArrowLength = 24.0;  // every nodal load arrow and concentrated member load, whatever its size
constexpr double kArrowHead = 6.0;
constexpr double kSmallArrow = 12.0;   // the arrows of a row that draws a uniform member load
constexpr double kSmallHead = 4.0;
constexpr double kRowSpacing = 16.0;   // between the arrows of a row, at least
constexpr int kRowArrows = 12;         // in a row, at most
constexpr double kDotWidth = 10.0;     // members seen end on: dots of this diameter
constexpr double kAxesX = kWidth - kMargin - 24.0;  // the origin of the axis triad, top right
constexpr double kAxesY = 42.0;
constexpr double kAxisLength = 22.0;
constexpr double kScaleBarMax = 150.0;  // the scale bar, left of the triad: at most this long
constexpr const char* kGuideColour = "#444444";

// Fixed, well separated colours for the groups, biggest group first; ungrouped members in grey.
constexpr std::array<const char*, 20> kPalette = {
    "#1f77b4", "#d62728", "#2ca02c", "#ff7f0e", "#9467bd", "#8c564b", "#e377c2", "#17becf",
    "#bcbd22", "#393b79", "#637939", "#8c6d31", "#843c39", "#7b4173", "#3182bd", "#e6550d",
    "#31a354", "#756bb1", "#d6616b", "#6b6ecf",
};
constexpr const char* kUngroupedColour = "#9a9a9a";
constexpr const char* kSupportColour = "#111111";
constexpr const char* kLoadColour = "#e0115f";
constexpr const char* kAreaFill = "#e3eaf1";
constexpr const char* kAreaEdge = "#b7c4d1";

// Restraint bits of the three translations and three rotations (bit set: freedom restrained).
constexpr unsigned char kAllFreedoms = kFreeTX | kFreeTY | kFreeTZ | kFreeRX | kFreeRY | kFreeRZ;
constexpr unsigned char kTranslations = kFreeTX | kFreeTY | kFreeTZ;

// Model coordinates are scaled by this before projecting, so that no sum or difference of finite
// coordinates can overflow.
constexpr double kPreScale = 0.125;

struct Projected {
    double right = 0.0;
    double up = 0.0;
};

// Screen-right and screen-up components of a model vector. Iso: seen from the +X, -Y, +Z corner
// with Z up, so X runs right and down, Y right and up. XZ is seen from -Y, YZ from +X.
Projected Project(SvgView view, double x, double y, double z)
{
    static const double kInvSqrt2 = 1.0 / std::sqrt(2.0);
    static const double kInvSqrt6 = 1.0 / std::sqrt(6.0);
    switch (view) {
    case SvgView::XY: return {x, y};
    case SvgView::XZ: return {x, z};
    case SvgView::YZ: return {y, z};
    case SvgView::Iso: break;
    }
    return {(x + y) * kInvSqrt2, (-x + y + 2.0 * z) * kInvSqrt6};
}

// How far a model vector points at the viewer (positive) or away (negative).
double Toward(SvgView view, double x, double y, double z)
{
    switch (view) {
    case SvgView::XY: return z;
    case SvgView::XZ: return -y;
    case SvgView::YZ: return x;
    case SvgView::Iso: break;
    }
    return (x - y + z) / std::sqrt(3.0);
}

// A position on the page in tenths of a px, the precision written to the file.
struct PagePoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool drawn = false;  // false for a missing node or one with non-finite coordinates
    bool operator==(const PagePoint& o) const { return x == o.x && y == o.y; }
};

std::int32_t Tenths(double px) { return static_cast<std::int32_t>(std::lround(px * 10.0)); }

void AppendInt(std::string& out, long long v)
{
    char buf[24];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    (void)ec;
    out.append(buf, end);
}

// A length in tenths of a px as "12.3", "12" or "-0.5".
void AppendTenths(std::string& out, std::int32_t t)
{
    if (t < 0) {
        out += '-';
        t = -t;
    }
    AppendInt(out, t / 10);
    if (t % 10 != 0) {
        out += '.';
        out += static_cast<char>('0' + t % 10);
    }
}

void AppendPx(std::string& out, double px) { AppendTenths(out, Tenths(px)); }

void AppendXY(std::string& out, std::int32_t x, std::int32_t y)
{
    AppendTenths(out, x);
    out += ' ';
    AppendTenths(out, y);
}

// Path data for many straight segments; a segment that starts where the previous one ended
// continues it without a new "M".
struct SegmentPath {
    std::string d;
    PagePoint pen;
    bool hasPen = false;

    void Add(const PagePoint& a, const PagePoint& b)
    {
        if (!hasPen || !(pen == a)) {
            d += 'M';
            AppendXY(d, a.x, a.y);
        }
        d += 'L';
        AppendXY(d, b.x, b.y);
        pen = b;
        hasPen = true;
    }
};

// Appends text as XML character data or attribute value, at most maxChars characters ("…" marks a
// cut). Markup characters become entities; a byte that is not valid UTF-8 is shown as the character
// U+0080..U+00FF of the same value (as the JSON output's \u00XX); control characters, which XML
// cannot hold, become spaces (tab, line ends) or U+FFFD.
void AppendXmlText(std::string& out, std::string_view text, std::size_t maxChars = std::string_view::npos)
{
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++chars) {
        if (chars == maxChars) {
            out += "\xE2\x80\xA6";
            return;
        }
        const auto b = static_cast<unsigned char>(text[i]);
        if (b >= 0x80) {
            const std::size_t len = Utf8SequenceLength(text, i);
            if (len == 0) {
                out += static_cast<char>(0xC0 | (b >> 6));
                out += static_cast<char>(0x80 | (b & 0x3F));
                ++i;
            } else if (len == 3 && b == 0xEF && text[i + 1] == '\xBF' && (text[i + 2] == '\xBE' || text[i + 2] == '\xBF')) {
                out += "\xEF\xBF\xBD";  // U+FFFE and U+FFFF are not XML characters
                i += len;
            } else {
                out.append(text.substr(i, len));
                i += len;
            }
            continue;
        }
        switch (b) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        case '\t': case '\n': case '\r': out += ' '; break;
        default:
            if (b < 0x20) out += "\xEF\xBF\xBD";
            else out += static_cast<char>(b);
        }
        ++i;
    }
}

// Model-to-page mapping that fits the drawn nodes into the drawing area, keeping proportions.
class PageFit {
public:
    void Include(const Projected& p)
    {
        m_minR = std::min(m_minR, p.right), m_maxR = std::max(m_maxR, p.right);
        m_minU = std::min(m_minU, p.up), m_maxU = std::max(m_maxU, p.up);
    }

    void Fit(double left, double top, double right, double bottom)
    {
        m_centreX = (left + right) / 2.0;
        m_centreY = (top + bottom) / 2.0;
        if (m_minR > m_maxR)
            return;  // nothing to draw
        m_midR = m_minR + (m_maxR - m_minR) / 2.0;
        m_midU = m_minU + (m_maxU - m_minU) / 2.0;
        // A zero extent (one point, or a line seen end on) sets no limit; all nodes in one point
        // leave the scale at 0 and draw at the centre.
        double scale = std::numeric_limits<double>::infinity();
        if (m_maxR > m_minR)
            scale = std::min(scale, (right - left) / (m_maxR - m_minR));
        if (m_maxU > m_minU)
            scale = std::min(scale, (bottom - top) / (m_maxU - m_minU));
        if (scale == std::numeric_limits<double>::infinity())
            scale = (m_maxR > m_minR || m_maxU > m_minU) ? std::numeric_limits<double>::max() : 0.0;
        m_scale = scale;
    }

    // Page px per metre of the model (mm, scaled by kPreScale before projecting); 0 when nothing is drawn.
    double PixelsPerMetre() const { return m_scale * kPreScale * 1000.0; }

    PagePoint Place(const Projected& p) const
    {
        return {Tenths(m_centreX + (p.right - m_midR) * m_scale), Tenths(m_centreY - (p.up - m_midU) * m_scale),
                true};
    }

private:
    double m_minR = std::numeric_limits<double>::infinity(), m_maxR = -std::numeric_limits<double>::infinity();
    double m_minU = std::numeric_limits<double>::infinity(), m_maxU = -std::numeric_limits<double>::infinity();
    double m_midR = 0.0, m_midU = 0.0, m_scale = 0.0, m_centreX = 0.0, m_centreY = 0.0;
};

bool Finite(const Projected& p) { return std::isfinite(p.right) && std::isfinite(p.up); }

const char* ViewName(SvgView view)
{
    switch (view) {
    case SvgView::XY: return "XY plan";
    case SvgView::XZ: return "XZ elevation";
    case SvgView::YZ: return "YZ elevation";
    case SvgView::Iso: break;
    }
    return "isometric view";
}

// The page direction (unit length, page y down) of a model vector; false when it has no length or is
// seen end on in this view.
bool PageDirection(SvgView view, double x, double y, double z, double& dx, double& dy)
{
    const double big = std::max({std::fabs(x), std::fabs(y), std::fabs(z)});
    if (!(big > 0.0) || !std::isfinite(big))
        return false;
    const Projected f = Project(view, x / big, y / big, z / big);
    const double length = std::hypot(f.right, f.up);
    if (!(length > 1e-6))  // along the line of sight
        return false;
    dx = f.right / length, dy = -f.up / length;
    return true;
}

// Appends an arrow of the given length in page direction (dx, dy) ending at (tx, ty) px: the shaft and a
// closed head, in one path.
void AppendArrow(std::string& d, double dx, double dy, double tx, double ty, double length, double head)
{
    const double baseX = tx - dx * head, baseY = ty - dy * head;
    const double halfWidth = head * 0.45;
    d += 'M', AppendPx(d, tx - dx * length), d += ' ', AppendPx(d, ty - dy * length);
    d += 'L', AppendPx(d, baseX), d += ' ', AppendPx(d, baseY);
    d += 'M', AppendPx(d, tx), d += ' ', AppendPx(d, ty);
    d += 'L', AppendPx(d, baseX - dy * halfWidth), d += ' ', AppendPx(d, baseY + dx * halfWidth);
    d += 'L', AppendPx(d, baseX + dy * halfWidth), d += ' ', AppendPx(d, baseY - dx * halfWidth);
    d += 'Z';
}

// Appends the arrow of a nodal load ending at tip; false when the force has no visible direction in this view.
bool AddArrow(std::string& d, SvgView view, const PointLoad_Orvo& load, const PagePoint& tip)
{
    double dx = 0.0, dy = 0.0;
    if (!PageDirection(view, load.FX, load.FY, load.FZ, dx, dy))
        return false;
    AppendArrow(d, dx, dy, tip.x / 10.0, tip.y / 10.0, kArrowLength, kArrowHead);
    return true;
}

void AppendText(std::string& out, double x, double y, const char* attributes, std::string_view text,
                std::size_t maxChars = std::string_view::npos)
{
    out += "<text x=\"", AppendPx(out, x), out += "\" y=\"", AppendPx(out, y), out += '"';
    if (*attributes)
        out += ' ', out += attributes;
    out += '>';
    AppendXmlText(out, text, maxChars);
    out += "</text>\n";
}

// Where the nodes go on the page, by their position in m_Nodes. Each node is projected once, on
// construction; the page places them when the room beside the legend is known.
class NodePlacement {
public:
    NodePlacement(const ModalData_Orvo& model, SvgView view)
        : m_projected(std::size_t(std::max(model.m_Nodes.GetSize(), 0))), m_page(m_projected.size())
    {
        for (std::size_t i = 0; i < m_page.size(); ++i) {
            const Node_Orvo* node = model.m_Nodes[int(i)];
            if (!node)
                continue;
            const Projected p = Project(view, node->X * kPreScale, node->Y * kPreScale, node->Z * kPreScale);
            if (!Finite(p))
                continue;  // non-finite coordinates: not drawn
            m_projected[i] = p;
            m_page[i].drawn = true;
            m_fit.Include(p);
        }
    }

    // Fits the drawn nodes into the given rectangle of the page and places them there.
    void Place(double left, double top, double right, double bottom)
    {
        m_fit.Fit(left, top, right, bottom);
        for (std::size_t i = 0; i < m_page.size(); ++i)
            if (m_page[i].drawn)
                m_page[i] = m_fit.Place(m_projected[i]);
        m_projected = {};
    }

    double PixelsPerMetre() const { return m_fit.PixelsPerMetre(); }

    // The node numbered id (its position 1..N in m_Nodes), or null when it is not drawn.
    const PagePoint* At(int id) const
    {
        if (id < 1 || std::size_t(id) > m_page.size() || !m_page[std::size_t(id - 1)].drawn)
            return nullptr;
        return &m_page[std::size_t(id - 1)];
    }

private:
    std::vector<Projected> m_projected;
    std::vector<PagePoint> m_page;
    PageFit m_fit;
};

// One colour group: the members of one group name, drawn as one path.
struct Group {
    std::string_view name;  // bytes as in the model; empty for members without a group
    std::size_t first = 0;  // index of its first member, to keep the order stable
    long long members = 0;
    SegmentPath path;
    std::string dots;  // members seen end on
    const char* colour = kUngroupedColour;
};

// The members that can be drawn, by colour group.
struct Members {
    std::vector<Group> groups;                      // in the order of their first members
    std::vector<std::size_t> order;                 // biggest groups first, ungrouped members last
    std::vector<std::pair<int, std::size_t>> todo;  // (line index, group) of each member still to trace
    long long drawn = 0;
    long long skipped = 0;  // members with an end node that is missing or not drawn
};

// Biggest groups first, ungrouped members last; colours follow that order.
void OrderAndColour(Members& members)
{
    const std::vector<Group>& groups = members.groups;
    members.order.resize(groups.size());
    for (std::size_t g = 0; g < groups.size(); ++g)
        members.order[g] = g;
    std::sort(members.order.begin(), members.order.end(), [&](std::size_t a, std::size_t b) {
        const Group& ga = groups[a];
        const Group& gb = groups[b];
        if (ga.name.empty() != gb.name.empty())
            return gb.name.empty();
        if (ga.members != gb.members)
            return ga.members > gb.members;
        return ga.first < gb.first;
    });
    std::size_t colour = 0;
    for (std::size_t g : members.order)
        if (!groups[g].name.empty())
            members.groups[g].colour = kPalette[colour++ % kPalette.size()];
}

// Groups the members whose both ends are drawn by group name, and colours the groups.
Members CollectMembers(const ModalData_Orvo& model, const NodePlacement& nodes)
{
    Members members;
    std::unordered_map<std::string_view, std::size_t> groupIndex;
    const int lineCount = model.m_Lines.GetSize();
    members.todo.reserve(std::size_t(std::max(lineCount, 0)));
    for (int i = 0; i < lineCount; ++i) {
        const Line_Orvo* line = model.m_Lines[i];
        if (!line || !nodes.At(line->StartNode) || !nodes.At(line->EndNode)) {
            ++members.skipped;
            continue;
        }
        const auto [it, added] = groupIndex.try_emplace(line->GroupName, members.groups.size());
        if (added) {
            Group& group = members.groups.emplace_back();
            group.name = line->GroupName;
            group.first = std::size_t(i);
        }
        ++members.groups[it->second].members;
        members.todo.emplace_back(i, it->second);
    }
    members.drawn = static_cast<long long>(members.todo.size());
    OrderAndColour(members);
    return members;
}

// Adds each member to its group's path, once the nodes are placed.
void TraceMembers(const ModalData_Orvo& model, const NodePlacement& nodes, Members& members)
{
    for (const auto& [lineIndex, g] : members.todo) {
        const Line_Orvo* line = model.m_Lines[lineIndex];
        const PagePoint& start = *nodes.At(line->StartNode);
        const PagePoint& end = *nodes.At(line->EndNode);
        Group& group = members.groups[g];
        if (start == end)  // seen end on, as a column in a plan: a dot, drawn as a round cap
            group.dots += 'M', AppendXY(group.dots, start.x, start.y), group.dots += "h0";
        else
            group.path.Add(start, end);
    }
    members.todo = {};
}

// The plates and walls whose corners are all drawn, as one path of closed polygons.
struct Areas {
    std::string d;
    long long drawn = 0;
    long long skipped = 0;  // areas with a corner that is missing or not drawn
};

// Each polygon is turned the same way round on the page, so that the nonzero fill of the one path covers
// areas seen over each other without leaving holes.
Areas TraceAreas(const ModalData_Orvo& model, const NodePlacement& nodes)
{
    Areas areas;
    std::vector<PagePoint> corners;
    for (const Area_Orvo* area : model.m_Areas) {
        corners.clear();
        for (int id = 0; area && id < area->Nodes.Count && nodes.At(area->Nodes[id]); ++id)
            corners.push_back(*nodes.At(area->Nodes[id]));
        if (!area || corners.size() < 3 || corners.size() != std::size_t(area->Nodes.Count)) {
            ++areas.skipped;
            continue;
        }
        long long twiceArea = 0;  // in tenths of a px squared: far from overflow on the page
        for (std::size_t k = 0; k < corners.size(); ++k) {
            const PagePoint& a = corners[k];
            const PagePoint& b = corners[(k + 1) % corners.size()];
            twiceArea += static_cast<long long>(a.x) * b.y - static_cast<long long>(b.x) * a.y;
        }
        if (twiceArea < 0)
            std::reverse(corners.begin(), corners.end());
        char command = 'M';
        for (const PagePoint& corner : corners) {
            areas.d += command;
            AppendXY(areas.d, corner.x, corner.y);
            command = 'L';
        }
        areas.d += 'Z';
        ++areas.drawn;
    }
    return areas;
}

// The marks at the nodes, one path per kind: supports by restraint, and the nodal load arrows.
struct NodeMarks {
    std::string fixed, pinned, partial, arrows, memberArrows;
    long long supports = 0;      // drawn supports
    long long loads = 0;         // nodal loads, drawn or not
    long long memberLoads = 0;   // member loads, drawn or not
};

void AddSupport(NodeMarks& marks, unsigned char restraint, const PagePoint& at)
{
    const double x = at.x / 10.0, y = at.y / 10.0;
    if (restraint == kAllFreedoms) {  // fixed: a filled square
        marks.fixed += 'M', AppendPx(marks.fixed, x - 3.5), marks.fixed += ' ', AppendPx(marks.fixed, y - 3.5);
        marks.fixed += "h7v7h-7z";
    } else if (restraint == kTranslations) {  // pinned: a triangle under the node
        marks.pinned += 'M', AppendXY(marks.pinned, at.x, at.y);
        marks.pinned += "l-5 8.7h10z";
    } else {  // any other restraint: an open circle
        marks.partial += 'M', AppendPx(marks.partial, x - 3.5), marks.partial += ' ', AppendPx(marks.partial, y);
        marks.partial += "a3.5 3.5 0 1 0 7 0a3.5 3.5 0 1 0-7 0z";
    }
}

NodeMarks MarkNodes(const ModalData_Orvo& model, SvgView view, const NodePlacement& nodes)
{
    NodeMarks marks;
    const int nodeCount = model.m_Nodes.GetSize();
    const int loadCount = model.m_PointLoads.GetSize();
    for (int i = 0; i < nodeCount; ++i) {
        const Node_Orvo* node = model.m_Nodes[i];
        if (!node)
            continue;
        const PagePoint* at = nodes.At(i + 1);
        for (int number : node->PointLoads) {
            const PointLoad_Orvo* load = number >= 1 && number <= loadCount ? model.m_PointLoads[number - 1] : nullptr;
            if (!load)
                continue;
            ++marks.loads;
            if (at)
                AddArrow(marks.arrows, view, *load, *at);
        }
        const unsigned char restraint = node->Restraint & kAllFreedoms;
        if (restraint != 0 && at) {
            ++marks.supports;
            AddSupport(marks, restraint, *at);
        }
    }
    return marks;
}

// The model direction of a member load: global X, Y or Z, or along the member (local x). False for what is
// not drawn: moments, loads across the member (local y and z, which depend on its orientation) and others.
bool LoadVector(const LineLoad_Orvo& load, const Node_Orvo& a, const Node_Orvo& b, double v[3])
{
    if ((load.LoadType != 1 && load.LoadType != 2) || load.Direction < 0 || load.Direction > 3)
        return false;
    const double along[3] = {b.X - a.X, b.Y - a.Y, b.Z - a.Z};
    for (int k = 0; k < 3; ++k)
        v[k] = load.Direction == 3 ? along[k] : double(k == load.Direction);
    return true;
}

// A member load on the member from a to b (drawn at pa and pb): a uniform load (type 1) as a row of small
// arrows between its positions, the direction of each from the value there; a concentrated force (type 2)
// as one arrow at its position. Positions are metres from the start, the member's length in mm.
void AddMemberLoad(std::string& d, SvgView view, const LineLoad_Orvo& load, const Node_Orvo& a, const Node_Orvo& b,
                   const PagePoint& pa, const PagePoint& pb)
{
    double v[3], dx = 0.0, dy = 0.0;
    if (!LoadVector(load, a, b, v) || !PageDirection(view, v[0], v[1], v[2], dx, dy))
        return;
    const double length = std::hypot(b.X - a.X, b.Y - a.Y, b.Z - a.Z);
    const auto at = [length](double metres) {
        const double t = metres * 1000.0 / length;
        return std::isfinite(t) ? std::clamp(t, 0.0, 1.0) : 0.0;
    };
    const double ax = pa.x / 10.0, ay = pa.y / 10.0, bx = pb.x / 10.0, by = pb.y / 10.0;
    const bool uniform = load.LoadType == 1;
    const double t1 = at(load.Position1), t2 = uniform ? at(load.Position2) : t1;
    const double span = std::fabs(t2 - t1) * std::hypot(bx - ax, by - ay);
    const int arrows = uniform && span >= kRowSpacing ? std::min(int(span / kRowSpacing) + 1, kRowArrows) : 1;
    for (int k = 0; k < arrows; ++k) {
        const double s = arrows > 1 ? double(k) / (arrows - 1) : 0.0;
        const double t = t1 + s * (t2 - t1);
        const double value = uniform ? load.Value1 + s * (load.Value2 - load.Value1) : load.Value1;
        if (!(value != 0.0) || !std::isfinite(value))
            continue;
        const double sign = value > 0.0 ? 1.0 : -1.0;
        AppendArrow(d, sign * dx, sign * dy, ax + t * (bx - ax), ay + t * (by - ay), uniform ? kSmallArrow : kArrowLength,
                    uniform ? kSmallHead : kArrowHead);
    }
}

// Counts the member loads of the members and draws those of drawn members.
void MarkMemberLoads(const ModalData_Orvo& model, SvgView view, const NodePlacement& nodes, NodeMarks& marks)
{
    const int loadCount = model.m_LineLoads.GetSize();
    for (const Line_Orvo* line : model.m_Lines) {
        if (!line)
            continue;
        const PagePoint* start = nodes.At(line->StartNode);
        const PagePoint* end = nodes.At(line->EndNode);
        for (int number : line->LineLoads) {
            const LineLoad_Orvo* load = number >= 1 && number <= loadCount ? model.m_LineLoads[number - 1] : nullptr;
            if (!load)
                continue;
            ++marks.memberLoads;
            if (start && end)
                AddMemberLoad(marks.memberArrows, view, *load, *model.m_Nodes[line->StartNode - 1],
                              *model.m_Nodes[line->EndNode - 1], *start, *end);
        }
    }
}

std::string CountsLine(SvgView view, int nodeCount, const Members& members, const Areas& areas, const NodeMarks& marks)
{
    std::string counts = ViewName(view);
    counts += " \xE2\x80\x94 " + Counted(nodeCount, "node", "nodes") + ", " + Counted(members.drawn, "member", "members")
            + ", " + Counted(marks.supports, "support", "supports") + ", "
            + Counted(marks.loads, "nodal load", "nodal loads");
    if (marks.memberLoads > 0)
        counts += ", " + Counted(marks.memberLoads, "member load", "member loads");
    if (areas.drawn > 0)
        counts += ", " + Counted(areas.drawn, "area", "areas");
    if (areas.skipped > 0)
        counts += ", " + Counted(areas.skipped, "area", "areas") + " skipped";
    if (members.skipped > 0)
        counts += ", " + Counted(members.skipped, "member", "members") + " skipped";
    return counts;
}

// The document's opening and white page, the title on one line (in smaller type when long), and
// the line of counts below it.
void WriteHeading(std::string& out, const std::string& title, const std::string& counts)
{
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"1200\" height=\"900\" viewBox=\"0 0 1200 900\" "
           "font-family=\"sans-serif\" font-size=\"12\">\n";
    out += "<rect width=\"1200\" height=\"900\" fill=\"#ffffff\"/>\n";
    double y = 30.0;
    if (!title.empty()) {
        std::size_t chars = 0;
        for (char c : title)
            chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        const double size = std::clamp(16.0 * 100.0 / double(std::max<std::size_t>(chars, 1)), 9.0, 16.0);
        std::string attributes = "id=\"title\" font-weight=\"bold\" font-size=\"";
        AppendPx(attributes, size);
        attributes += '"';
        AppendText(out, kMargin, y, attributes.c_str(), title, std::size_t(100 * 16 / size));
        y += 22.0;
    }
    AppendText(out, kMargin, y, "id=\"counts\" font-size=\"13\"", counts);
}

// The axis triad: x, y and z as the view draws them. An axis seen end on is a circle, with a dot when it
// points at the viewer and a cross when it points away.
void WriteAxes(std::string& out, SvgView view)
{
    out += "<g id=\"axes\" fill=\"none\" stroke=\"", out += kGuideColour, out += "\" font-size=\"11\">\n";
    std::string d;
    for (int axis = 0; axis < 3; ++axis) {
        const double e[3] = {double(axis == 0), double(axis == 1), double(axis == 2)};
        const Projected p = Project(view, e[0], e[1], e[2]);
        double labelX = kAxesX - 12.0, labelY = kAxesY + 16.0;
        if (std::hypot(p.right, p.up) > 0.1) {
            d += 'M', AppendPx(d, kAxesX), d += ' ', AppendPx(d, kAxesY);
            d += 'L', AppendPx(d, kAxesX + p.right * kAxisLength), d += ' ', AppendPx(d, kAxesY - p.up * kAxisLength);
            labelX = kAxesX + p.right * (kAxisLength + 7.0), labelY = kAxesY - p.up * (kAxisLength + 7.0) + 4.0;
        } else {
            d += 'M', AppendPx(d, kAxesX - 4.0), d += ' ', AppendPx(d, kAxesY), d += "a4 4 0 1 0 8 0a4 4 0 1 0-8 0";
            d += Toward(view, e[0], e[1], e[2]) > 0.0 ? "m3.5 0h1" : "m1.2-2.8l5.6 5.6m0-5.6l-5.6 5.6";
        }
        const char name[] = {char('x' + axis), '\0'};
        AppendText(out, labelX, labelY, "fill=\"#444444\" stroke=\"none\" text-anchor=\"middle\"", name);
    }
    out += "<path stroke-width=\"1.2\" stroke-linecap=\"round\" d=\"", out += d, out += "\"/>\n</g>\n";
}

// A scale bar in metres left of the triad: 1, 2 or 5 times a power of ten, the longest that is at most
// kScaleBarMax px on the page. None when nothing is drawn at a finite scale.
void WriteScaleBar(std::string& out, double pxPerMetre)
{
    double metres = std::pow(10.0, std::floor(std::log10(kScaleBarMax / pxPerMetre)));
    for (double step : {5.0, 2.0})
        if (metres * step * pxPerMetre <= kScaleBarMax) {
            metres *= step;
            break;
        }
    const double px = metres * pxPerMetre, right = kAxesX - 50.0, left = right - px;
    if (!(px > 0.0) || !std::isfinite(px))
        return;
    out += "<g id=\"scale\" fill=\"none\" stroke=\"", out += kGuideColour, out += "\" font-size=\"11\">\n";
    out += "<path stroke-width=\"1.2\" d=\"M", AppendPx(out, left), out += ' ', AppendPx(out, kAxesY - 4.0);
    out += "v4H", AppendPx(out, right), out += "v-4\"/>\n";
    char label[32];
    std::snprintf(label, sizeof label, "%g m", metres);
    AppendText(out, (left + right) / 2.0, kAxesY - 8.0, "fill=\"#444444\" stroke=\"none\" text-anchor=\"middle\"",
               label);
    out += "</g>\n";
}

// Light polygons under the members.
void WriteAreas(std::string& out, const Areas& areas)
{
    if (areas.d.empty())
        return;
    out += "<path id=\"areas\" fill=\"", out += kAreaFill, out += "\" stroke=\"", out += kAreaEdge;
    out += "\" stroke-width=\"0.5\" stroke-linejoin=\"round\" d=\"", out += areas.d, out += "\"/>\n";
}

void WriteMembers(std::string& out, const Members& members)
{
    if (members.groups.empty())
        return;
    out += "<g fill=\"none\" stroke-width=\"1\" stroke-linecap=\"round\">\n";
    // Ungrouped members underneath, then the smaller groups over the bigger ones.
    for (auto it = members.order.rbegin(); it != members.order.rend(); ++it) {
        const Group& group = members.groups[*it];
        if (!group.path.d.empty())
            out += "<path stroke=\"", out += group.colour, out += "\" d=\"", out += group.path.d, out += "\"/>\n";
        if (!group.dots.empty()) {
            out += "<path stroke=\"", out += group.colour, out += "\" stroke-width=\"", AppendPx(out, kDotWidth);
            out += "\" d=\"", out += group.dots, out += "\"/>\n";
        }
    }
    out += "</g>\n";
}

void WriteMarks(std::string& out, const NodeMarks& marks)
{
    for (const std::string* arrows : {&marks.memberArrows, &marks.arrows}) {
        if (arrows->empty())
            continue;
        out += "<path fill=\"", out += kLoadColour, out += "\" stroke=\"", out += kLoadColour;
        out += "\" stroke-width=\"", out += arrows == &marks.arrows ? "1.2" : "0.8";
        out += "\" stroke-linejoin=\"round\" d=\"", out += *arrows, out += "\"/>\n";
    }
    if (!marks.fixed.empty())
        out += "<path fill=\"", out += kSupportColour, out += "\" d=\"", out += marks.fixed, out += "\"/>\n";
    for (const std::string* open : {&marks.pinned, &marks.partial}) {
        if (open->empty())
            continue;
        out += "<path fill=\"#ffffff\" stroke=\"", out += kSupportColour;
        out += "\" stroke-width=\"1.2\" d=\"", out += *open, out += "\"/>\n";
    }
}

enum class MarkKey { Fixed, Pinned, Partial, Load, MemberLoad };

// The keys of the kinds of mark the picture holds, in legend order.
std::vector<std::pair<MarkKey, const char*>> MarkKeys(const NodeMarks& marks)
{
    std::vector<std::pair<MarkKey, const char*>> keys;
    if (!marks.fixed.empty()) keys.emplace_back(MarkKey::Fixed, "fixed support");
    if (!marks.pinned.empty()) keys.emplace_back(MarkKey::Pinned, "pinned support");
    if (!marks.partial.empty()) keys.emplace_back(MarkKey::Partial, "partial support");
    if (!marks.arrows.empty()) keys.emplace_back(MarkKey::Load, "nodal load");
    if (!marks.memberArrows.empty()) keys.emplace_back(MarkKey::MemberLoad, "member load");
    return keys;
}

// The symbol of a legend key, centred at (cx, cy).
void AppendKeySymbol(std::string& out, MarkKey key, double cx, double cy)
{
    switch (key) {
    case MarkKey::Fixed:
        out += "<rect x=\"", AppendPx(out, cx - 3.5), out += "\" y=\"", AppendPx(out, cy - 3.5);
        out += "\" width=\"7\" height=\"7\" fill=\"", out += kSupportColour, out += "\"/>\n";
        break;
    case MarkKey::Pinned:
        out += "<polygon points=\"", AppendPx(out, cx), out += ',', AppendPx(out, cy - 4.5), out += ' ';
        AppendPx(out, cx - 5), out += ',', AppendPx(out, cy + 4.2), out += ' ', AppendPx(out, cx + 5);
        out += ',', AppendPx(out, cy + 4.2), out += "\" fill=\"#ffffff\" stroke=\"", out += kSupportColour;
        out += "\" stroke-width=\"1.2\"/>\n";
        break;
    case MarkKey::Partial:
        out += "<circle cx=\"", AppendPx(out, cx), out += "\" cy=\"", AppendPx(out, cy);
        out += "\" r=\"3.5\" fill=\"#ffffff\" stroke=\"", out += kSupportColour, out += "\" stroke-width=\"1.2\"/>\n";
        break;
    case MarkKey::Load:
    case MarkKey::MemberLoad: {  // an arrow to the right, smaller for member loads
        const double k = key == MarkKey::Load ? 1.0 : 0.6;
        out += "<line x1=\"", AppendPx(out, cx - 8 * k), out += "\" y1=\"", AppendPx(out, cy), out += "\" x2=\"";
        AppendPx(out, cx + 3 * k), out += "\" y2=\"", AppendPx(out, cy), out += "\" stroke=\"", out += kLoadColour;
        out += "\" stroke-width=\"1.2\"/>\n<polygon points=\"", AppendPx(out, cx + 8 * k), out += ',', AppendPx(out, cy);
        out += ' ', AppendPx(out, cx + 2 * k), out += ',', AppendPx(out, cy - 2.7 * k), out += ' ', AppendPx(out, cx + 2 * k);
        out += ',', AppendPx(out, cy + 2.7 * k), out += "\" fill=\"", out += kLoadColour, out += "\"/>\n";
    }
        break;
    }
}

// A legend row of a group: its colour, its name (cut when long) and its number of members.
void AppendGroupRow(std::string& out, double x, double y, const Group& group, const SvgOptions& options)
{
    out += "<rect x=\"", AppendPx(out, x), out += "\" y=\"", AppendPx(out, y - 6);
    out += "\" width=\"16\" height=\"4\" fill=\"", out += group.colour, out += "\"/>\n";
    // An empty function (e.g. from brace initialisation) keeps the bytes as they are.
    const std::string label = group.name.empty() ? std::string("(no group)")
                            : options.name          ? options.name(group.name)
                                                    : std::string(group.name);
    out += "<text x=\"", AppendPx(out, x + 24), out += "\" y=\"", AppendPx(out, y), out += "\">";
    AppendXmlText(out, label, kLegendNameChars);
    out += " (", AppendInt(out, group.members), out += ")</text>\n";
}

// The legend right of the drawing: group rows from the top down as far as they fit (the rest
// counted in one row), and the keys of the marks at the bottom.
void WriteLegend(std::string& out, const Members& members, const NodeMarks& marks, const SvgOptions& options)
{
    const std::vector<Group>& groups = members.groups;
    const std::vector<std::size_t>& order = members.order;
    const double x = kWidth - kMargin - kLegendWidth + 20.0;
    const auto keys = MarkKeys(marks);
    // The ungrouped row is always shown: grey lines need explaining however many groups there are.
    const bool ungrouped = groups[order.back()].name.empty();
    const std::size_t named = groups.size() - (ungrouped ? 1 : 0);
    const int rows = int((kHeight - kMargin - kTop) / kLegendRow) - int(keys.size()) - (keys.empty() ? 0 : 1)
                   - (ungrouped ? 1 : 0);
    const std::size_t shown = named <= std::size_t(rows) ? named : std::size_t(rows - 1);

    out += "<g id=\"legend\">\n";
    double y = kTop;
    for (std::size_t k = 0; k < shown; ++k, y += kLegendRow)
        AppendGroupRow(out, x, y, groups[order[k]], options);
    if (shown < named) {
        long long rest = 0;
        for (std::size_t k = shown; k < named; ++k)
            rest += groups[order[k]].members;
        std::string more = "+";
        more += Counted(static_cast<long long>(named - shown), "more group", "more groups");
        more += " (" + Counted(rest, "member", "members") + ")";
        AppendText(out, x + 24, y, "font-style=\"italic\"", more);
        y += kLegendRow;
    }
    if (ungrouped)
        AppendGroupRow(out, x, y, groups[order.back()], options);
    y = kHeight - kMargin - kLegendRow * double(keys.size()) + kLegendRow;
    for (const auto& [key, text] : keys) {
        AppendKeySymbol(out, key, x + 8, y - 4);
        AppendText(out, x + 24, y, "", text);
        y += kLegendRow;
    }
    out += "</g>\n";
}

} // namespace

bool ParseSvgView(std::string_view text, SvgView& view)
{
    static constexpr std::pair<std::string_view, SvgView> kViews[] = {
        {"iso", SvgView::Iso}, {"xy", SvgView::XY}, {"xz", SvgView::XZ}, {"yz", SvgView::YZ}};
    for (const auto& [name, value] : kViews)
        if (text == name) {
            view = value;
            return true;
        }
    return false;
}

std::string ModelToSvg(const ModalData_Orvo& model, const SvgOptions& options)
{
    NodePlacement nodes(model, options.view);
    // The members are gathered before the page is laid out: the legend takes room only when there are any.
    Members members = CollectMembers(model, nodes);
    const bool legend = !members.groups.empty();
    nodes.Place(kMargin, kTop, kWidth - kMargin - (legend ? kLegendWidth : 0.0), kHeight - kMargin);
    TraceMembers(model, nodes, members);
    const Areas areas = TraceAreas(model, nodes);
    NodeMarks marks = MarkNodes(model, options.view, nodes);
    MarkMemberLoads(model, options.view, nodes, marks);

    std::size_t size = 4096 + areas.d.size() + marks.fixed.size() + marks.pinned.size() + marks.partial.size() + marks.arrows.size()
                     + marks.memberArrows.size();
    for (const Group& group : members.groups)
        size += group.path.d.size() + group.dots.size() + 192;
    std::string out;
    out.reserve(size);
    WriteHeading(out, options.title, CountsLine(options.view, model.m_Nodes.GetSize(), members, areas, marks));
    WriteAxes(out, options.view);
    WriteScaleBar(out, nodes.PixelsPerMetre());
    WriteAreas(out, areas);
    WriteMembers(out, members);
    WriteMarks(out, marks);
    if (legend)
        WriteLegend(out, members, marks, options);
    out += "</svg>\n";
    return out;
}
