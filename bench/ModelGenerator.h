// Synthetic MIDAS models for the benchmarks: a frame of nodes on a grid joined by BEAM members, with
// supports, groups, four static load cases and the nodal and member loads of each.
//
// The frame stands in the XZ plane: grid column c and storey r put a node at X = 6 m * c, Z = 3.5 m * r.
// Members are written in two runs:
//   - girders: member k joins node k to node k + 1 (nodes 1..N-1; the last girder of a storey runs
//     diagonally up to the first node of the next storey, which keeps every member length non-zero);
//   - columns: the next members join node k to node k + W (W nodes per storey), from node 1 upwards.
// So a grid of N nodes holds N-1 to 2N-W-1 members; ShapeForMembers picks the smallest grid for a
// member count. Every member carries one uniform load in each load case; every loadEvery-th node
// carries one nodal load in each load case.
#pragma once

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>

namespace bench {

struct ModelShape {
    int nodes = 0;      // nodes on the grid
    int columns = 0;    // nodes per storey (W)
    int members = 0;    // BEAM members, girders first
    int loadEvery = 10; // a nodal load on nodes loadEvery, 2 * loadEvery, ...
    bool loads = true;  // write *STLDCASE and one *USE-STLD section per load case
};

// The four static load cases: name, type word (dead, live, wind), member load direction.
struct LoadCaseText {
    const char* name;
    const char* type;
    const char* memberDirection;
};
inline constexpr LoadCaseText kLoadCases[] = {
    {"DL", "D", "GZ"},
    {"LL", "L", "GZ"},
    {"WX", "W", "GX"},
    {"WY", "W", "GY"},
};
inline constexpr int kLoadCaseCount = 4;

// What a correct reader and translator find in the generated text.
struct ModelCounts {
    int nodes = 0;
    int members = 0;
    int nodalLoads = 0;   // *CONLOAD records over all load cases (one point load each)
    int memberLoads = 0;  // *BEAMLOAD records over all load cases (one uniform line load each)
    int Records() const { return nodes + members + nodalLoads + memberLoads; }
};

inline int MaxMembers(int nodes, int columns) { return (nodes - 1) + std::max(0, nodes - columns); }

// The smallest square-ish grid that holds `members` members (at least 2 nodes).
inline ModelShape ShapeForMembers(int members, bool loads = true)
{
    ModelShape shape;
    shape.members = std::max(1, members);
    shape.loads = loads;
    int nodes = std::max(2, shape.members / 2 + 1);
    for (;;) {
        const int columns = std::max(2, int(std::ceil(std::sqrt(double(nodes)))));
        if (MaxMembers(nodes, columns) >= shape.members) {
            shape.nodes = nodes;
            shape.columns = columns;
            return shape;
        }
        nodes += std::max(1, columns / 2);
    }
}

inline ModelCounts CountsOf(const ModelShape& shape)
{
    ModelCounts counts;
    counts.nodes = shape.nodes;
    counts.members = shape.members;
    if (shape.loads) {
        counts.nodalLoads = kLoadCaseCount * (shape.nodes / shape.loadEvery);
        counts.memberLoads = kLoadCaseCount * shape.members;
    }
    return counts;
}

namespace detail {

// Appends numbers without locale or printf parsing: generating a 300 MB model stays a small part of a
// benchmark run.
class TextWriter {
public:
    explicit TextWriter(std::string& out) : m_Out(out) {}
    TextWriter& operator<<(std::string_view text)
    {
        m_Out.append(text);
        return *this;
    }
    TextWriter& operator<<(int value)
    {
        char digits[16];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        m_Out.append(digits, std::size_t(end - digits));
        return *this;
    }
    TextWriter& operator<<(double value)
    {
        char digits[32];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        m_Out.append(digits, std::size_t(end - digits));
        return *this;
    }
    // A right-aligned integer field of the given width, as MIDAS writes its columns.
    TextWriter& Field(int value, int width)
    {
        char digits[16];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        const int length = int(end - digits);
        if (length < width)
            m_Out.append(std::size_t(width - length), ' ');
        m_Out.append(digits, std::size_t(length));
        return *this;
    }

private:
    std::string& m_Out;
};

// End nodes of member m (1-based): girders first, then columns.
inline void MemberEnds(const ModelShape& shape, int m, int& start, int& end)
{
    if (m <= shape.nodes - 1) {
        start = m;
        end = m + 1;
    } else {
        start = m - (shape.nodes - 1);
        end = start + shape.columns;
    }
}

// Space-separated member numbers first..last for a *GROUP element list (groups take no ranges).
inline void MemberList(TextWriter& w, int first, int last)
{
    for (int m = first; m <= last; ++m) {
        if (m > first)
            w << " ";
        w << m;
    }
}

inline void WriteHeader(TextWriter& w)
{
    w << ";---------------------------------------------------------------------------\n"
         ";  Synthetic frame for the benchmarks\n"
         ";---------------------------------------------------------------------------\n\n"
         "*VERSION\n   8.8.1\n\n"
         "*UNIT    ; Unit System\n; FORCE, LENGTH, HEAT, TEMPER\n   KN   , M, KJ, C\n\n";
}

inline void WriteNodes(TextWriter& w, const ModelShape& shape)
{
    w << "*NODE    ; Nodes\n; iNO, X, Y, Z\n";
    for (int n = 1; n <= shape.nodes; ++n) {
        const int column = (n - 1) % shape.columns;
        const int storey = (n - 1) / shape.columns;
        // coordinates in m: 6 m bays, 3.5 m storeys
        w.Field(n, 6) << ", " << 6.0 * column << ", 0, " << 3.5 * storey << "\n";
    }
    w << "\n";
}

inline void WriteElements(TextWriter& w, const ModelShape& shape)
{
    w << "*ELEMENT    ; Elements\n; iEL, TYPE, iMAT, iPRO, iN1, iN2, ANGLE, iSUB,\n";
    for (int m = 1; m <= shape.members; ++m) {
        int start = 0;
        int end = 0;
        MemberEnds(shape, m, start, end);
        const int section = m <= shape.nodes - 1 ? 2 : 1;  // girders use section 2, columns section 1
        w.Field(m, 6) << ", BEAM  ,    1, ";
        w.Field(section, 5) << ", ";
        w.Field(start, 5) << ", ";
        w.Field(end, 5) << ",     0,     0\n";
    }
    w << "\n";
}

inline void WriteProperties(TextWriter& w)
{
    w << "*MATERIAL    ; Material\n"
         "; iMAT, TYPE, MNAME, SPHEAT, HEATCO, PLAST, TUNIT, bMASS, DATA1, [DATA2]\n"
         "    1, STEEL, Q345, 0, 0, , C, NO, 1, GB03(S), Q345\n"
         "    2, STEEL, Q235, 0, 0, , C, NO, 1, GB03(S), Q235\n\n"
         "*SECTION    ; Section\n"
         "; iSEC, TYPE, SNAME, [OFFSET], bSD, SHAPE, [DATA1], [DATA2]\n"
         "    1, DBUSER, G1, CC, 0, 0, 0, 0, 0, 0, YES, H, 1, GB-YB05, HW300x300x10/15\n"
         "    2, DBUSER, G2, CC, 0, 0, 0, 0, 0, 0, YES, H, 2, 400, 200, 8, 13\n\n";
}

inline void WriteSupportsAndGroups(TextWriter& w, const ModelShape& shape)
{
    // The ground storey is fixed.
    w << "*CONSTRAINT    ; Supports\n; NODE_LIST, CONST(Dx,Dy,Dz,Rx,Ry,Rz), GROUP\n   1to" << shape.columns
      << ", 111111,\n\n";
    // Groups list their members one by one, so they stay short: the first girders and first columns.
    const int girders = shape.nodes - 1;
    const int columns = shape.members - girders;
    w << "*GROUP    ; Group\n; NAME, NODE_LIST, ELEM_LIST, PLANE_TYPE\n   Girders, , ";
    MemberList(w, 1, std::min(girders, 20));
    w << ", 0\n";
    if (columns > 0) {
        w << "   Columns, , ";
        MemberList(w, girders + 1, girders + std::min(columns, 20));
        w << ", 0\n";
    }
    w << "\n";
}

inline void WriteLoads(TextWriter& w, const ModelShape& shape)
{
    w << "*STLDCASE    ; Static Load Cases\n; LCNAME, LCTYPE, DESC\n";
    for (const LoadCaseText& loadCase : kLoadCases)
        w << "   " << loadCase.name << ", " << loadCase.type << ", \n";
    w << "\n";
    for (const LoadCaseText& loadCase : kLoadCases) {
        w << "*USE-STLD, " << loadCase.name << "\n\n";
        w << "*CONLOAD    ; Nodal Loads\n; NODE_LIST, FX, FY, FZ, MX, MY, MZ, GROUP\n";
        for (int n = shape.loadEvery; n <= shape.nodes; n += shape.loadEvery)
            w << "   " << n << ", 0, 0, -25, 0, 0, 0, \n";  // 25 kN downwards
        w << "\n";
        w << "*BEAMLOAD    ; Element Beam Loads\n; ELEM_LIST, CMD, TYPE, DIR, bPROJ, [ECCEN], [VALUE], GROUP\n";
        for (int m = 1; m <= shape.members; ++m)  // 2 kN/m over the whole member
            w << "   " << m << ", BEAM, UNILOAD, " << loadCase.memberDirection
              << ", NO, 0, -2, 1, -2, 0, 0, 0, 0, \n";
        w << "\n";
        w << "; End of data for load case [" << loadCase.name << "] -------------------------\n\n";
    }
}

} // namespace detail

// The text of the model, as a MIDAS .mgt file writes it.
inline std::string GenerateModel(const ModelShape& shape)
{
    std::string text;
    // about 40 bytes per node, 55 per member, 60 per member load
    text.reserve(std::size_t(shape.nodes) * 40 + std::size_t(shape.members) * (shape.loads ? 300 : 60) + 4096);
    detail::TextWriter w(text);
    detail::WriteHeader(w);
    detail::WriteNodes(w, shape);
    detail::WriteElements(w, shape);
    detail::WriteProperties(w);
    detail::WriteSupportsAndGroups(w, shape);
    if (shape.loads)
        detail::WriteLoads(w, shape);
    w << "*ENDDATA\n";
    return text;
}

// Writes the model to path; returns its size in bytes, or -1 when the file cannot be written.
inline std::int64_t WriteModelFile(const ModelShape& shape, const std::string& path)
{
    const std::string text = GenerateModel(shape);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), std::streamsize(text.size()));
    out.close();
    return out ? std::int64_t(text.size()) : -1;
}

} // namespace bench
