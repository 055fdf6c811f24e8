// Synthetic MIDAS models for the benchmarks: a three-dimensional steel frame of NX x NY x NZ nodes, as a
// multi-storey building's analysis model would be written.
//
// Node (i, j, k), 0-based along X, Y and Z, is number 1 + i + NX * (j + NY * k) and stands at
// X = 6 m * i, Y = 6 m * j, Z = 3.5 m * k. Members are written in three runs, each in node order:
//   - beams along X: node n to n + 1 on every storey, the ground storey included;
//   - beams along Y: node n to n + NX;
//   - columns: node n to n + NX * NY.
// The ground storey is fixed; every releaseEvery-th beam along X is pinned at both ends; each storey
// is one group (its beams and the columns standing on it) listed over lines short enough for the
// reader. Four static load cases: a nodal load on every node of the top storey and a uniform member
// load on every beam, in the long form of the member-load line that MIDAS writes.
#pragma once

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>

namespace bench {

struct ModelShape {
    int nx = 2;
    int ny = 2;
    int nz = 2;
    int releaseEvery = 10;  // a pinned beam along X every this many
    bool loads = true;      // write *STLDCASE and one *USE-STLD section per load case

    std::int64_t Nodes() const { return std::int64_t(nx) * ny * nz; }
    std::int64_t BeamsX() const { return std::int64_t(nx - 1) * ny * nz; }
    std::int64_t BeamsY() const { return std::int64_t(nx) * (ny - 1) * nz; }
    std::int64_t Beams() const { return BeamsX() + BeamsY(); }
    std::int64_t Columns() const { return std::int64_t(nx) * ny * (nz - 1); }
    std::int64_t Members() const { return Beams() + Columns(); }
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
    std::int64_t nodes = 0;
    std::int64_t members = 0;
    std::int64_t releases = 0;     // *FRAME-RLS records
    std::int64_t nodalLoads = 0;   // *CONLOAD records over all load cases (one point load each)
    std::int64_t memberLoads = 0;  // *BEAMLOAD records over all load cases (one uniform line load each)
    std::int64_t Records() const { return nodes + members + releases + nodalLoads + memberLoads; }
};

inline ModelCounts CountsOf(const ModelShape& shape)
{
    ModelCounts counts;
    counts.nodes = shape.Nodes();
    counts.members = shape.Members();
    counts.releases = shape.BeamsX() / shape.releaseEvery;
    if (shape.loads) {
        counts.nodalLoads = kLoadCaseCount * std::int64_t(shape.nx) * shape.ny;
        counts.memberLoads = kLoadCaseCount * shape.Beams();
    }
    return counts;
}

// The frame closest to a cube that has about `nodes` nodes (at least 2 x 2 x 2), for scaling runs.
inline ModelShape ShapeForNodes(std::int64_t nodes, bool loads = true)
{
    ModelShape shape;
    int side = 2;
    while (std::int64_t(side + 1) * (side + 1) * (side + 1) <= nodes)
        ++side;
    shape.nx = shape.ny = side;
    shape.nz = int(std::max<std::int64_t>(2, nodes / (std::int64_t(side) * side)));
    shape.loads = loads;
    return shape;
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
    TextWriter& operator<<(std::int64_t value) { return Field(value, 0); }
    TextWriter& operator<<(int value) { return Field(value, 0); }
    TextWriter& operator<<(double value)
    {
        char digits[32];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        m_Out.append(digits, std::size_t(end - digits));
        return *this;
    }
    // A right-aligned integer field of the given width, as MIDAS writes its columns.
    TextWriter& Field(std::int64_t value, int width)
    {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        const int length = int(end - digits);
        if (length < width)
            m_Out.append(std::size_t(width - length), ' ');
        m_Out.append(digits, std::size_t(length));
        return *this;
    }
    std::size_t Size() const { return m_Out.size(); }

private:
    std::string& m_Out;
};

inline void WriteHeader(TextWriter& w)
{
    w << ";---------------------------------------------------------------------------\n"
         ";  Synthetic steel frame for the benchmarks\n"
         ";---------------------------------------------------------------------------\n\n"
         "*VERSION\n   8.8.1\n\n"
         "*UNIT    ; Unit System\n; FORCE, LENGTH, HEAT, TEMPER\n   KN   , M, KJ, C\n\n";
}

inline void WriteNodes(TextWriter& w, const ModelShape& shape)
{
    w << "*NODE    ; Nodes\n; iNO, X, Y, Z\n";
    std::int64_t n = 0;
    for (int k = 0; k < shape.nz; ++k)
        for (int j = 0; j < shape.ny; ++j)
            for (int i = 0; i < shape.nx; ++i) {
                // coordinates in m: 6 m bays both ways, 3.5 m storeys
                w.Field(++n, 6) << ", " << 6.0 * i << ", " << 6.0 * j << ", " << 3.5 * k << "\n";
            }
    w << "\n";
}

// Calls visit(member, start node, end node, section) for every member, in numbering order.
template <typename Visit>
void ForEachMember(const ModelShape& shape, Visit&& visit)
{
    const std::int64_t storeyNodes = std::int64_t(shape.nx) * shape.ny;
    std::int64_t m = 0;
    for (int k = 0; k < shape.nz; ++k)  // beams along X: section 2
        for (int j = 0; j < shape.ny; ++j)
            for (int i = 0; i + 1 < shape.nx; ++i) {
                const std::int64_t n = 1 + i + std::int64_t(shape.nx) * j + storeyNodes * k;
                visit(++m, n, n + 1, 2);
            }
    for (int k = 0; k < shape.nz; ++k)  // beams along Y: section 3
        for (int j = 0; j + 1 < shape.ny; ++j)
            for (int i = 0; i < shape.nx; ++i) {
                const std::int64_t n = 1 + i + std::int64_t(shape.nx) * j + storeyNodes * k;
                visit(++m, n, n + shape.nx, 3);
            }
    for (std::int64_t n = 1; n + storeyNodes <= shape.Nodes(); ++n)  // columns: section 1
        visit(++m, n, n + storeyNodes, 1);
}

inline void WriteElements(TextWriter& w, const ModelShape& shape)
{
    w << "*ELEMENT    ; Elements\n; iEL, TYPE, iMAT, iPRO, iN1, iN2, ANGLE, iSUB,\n";
    ForEachMember(shape, [&](std::int64_t m, std::int64_t start, std::int64_t end, int section) {
        const int material = section == 1 ? 1 : 2;  // Q345 columns, Q235 beams
        w.Field(m, 6) << ", BEAM  ,";
        w.Field(material, 5) << ",";
        w.Field(section, 6) << ",";
        w.Field(start, 6) << ",";
        w.Field(end, 6) << ",     0,     0\n";
    });
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
         "    1, DBUSER, Column, CC, 0, 0, 0, 0, 0, 0, YES, H, 1, GB-YB05, HW300x300x10/15\n"
         "    2, DBUSER, BeamX, CC, 0, 0, 0, 0, 0, 0, YES, H, 2, 0.4, 0.2, 0.008, 0.013, 0, 0, 0, 0, 0, 0\n"
         "    3, DBUSER, BeamY, CC, 0, 0, 0, 0, 0, 0, YES, H, 2, 0.35, 0.175, 0.007, 0.011, 0, 0, 0, 0, 0, 0\n\n";
}

// The members of storey k: its beams along X and Y, and the columns that stand on it.
template <typename Visit>
void ForEachStoreyMember(const ModelShape& shape, int k, Visit&& visit)
{
    const std::int64_t beamsXPerStorey = shape.BeamsX() / shape.nz;
    const std::int64_t beamsYPerStorey = shape.BeamsY() / shape.nz;
    const std::int64_t storeyNodes = std::int64_t(shape.nx) * shape.ny;
    for (std::int64_t m = 1; m <= beamsXPerStorey; ++m)
        visit(beamsXPerStorey * k + m);
    for (std::int64_t m = 1; m <= beamsYPerStorey; ++m)
        visit(shape.BeamsX() + beamsYPerStorey * k + m);
    if (k + 1 < shape.nz)
        for (std::int64_t m = 1; m <= storeyNodes; ++m)
            visit(shape.Beams() + storeyNodes * k + m);
}

inline void WriteGroupsSupportsReleases(TextWriter& w, const ModelShape& shape)
{
    // One group per storey; its element list goes over as many lines as it needs, each well under
    // the 511 bytes of a line, all with the storey's name.
    w << "*GROUP    ; Group\n; NAME, NODE_LIST, ELEM_LIST, PLANE_TYPE\n";
    constexpr std::size_t kGroupLine = 400;
    for (int k = 0; k < shape.nz; ++k) {
        std::size_t lineStart = 0;
        bool open = false;
        ForEachStoreyMember(shape, k, [&](std::int64_t m) {
            if (open && w.Size() - lineStart > kGroupLine) {
                w << ", 0\n";
                open = false;
            }
            if (!open) {
                lineStart = w.Size();
                w << "   Storey" << (k + 1) << ", , " << m;
                open = true;
            } else {
                w << " " << m;
            }
        });
        if (open)
            w << ", 0\n";
    }
    w << "\n";

    w << "*CONSTRAINT    ; Supports\n; NODE_LIST, CONST(Dx,Dy,Dz,Rx,Ry,Rz), GROUP\n   1to"
      << std::int64_t(shape.nx) * shape.ny << ", 111111,\n\n";

    w << "*FRAME-RLS    ; Beam End Release\n"
         "; ELEM_LIST, bVALUE, FLAG-i, Fxi, Fyi, Fzi, Mxi, Myi, Mzi\n"
         ";                    FLAG-j, Fxj, Fyj, Fzj, Mxj, Myj, Mzj, GROUP\n";
    for (std::int64_t m = shape.releaseEvery; m <= shape.BeamsX(); m += shape.releaseEvery) {
        w.Field(m, 6) << ", NO, 000011, 0, 0, 0, 0, 0, 0\n"
                         "          000011, 0, 0, 0, 0, 0, 0, \n";
    }
    w << "\n";
}

inline void WriteLoads(TextWriter& w, const ModelShape& shape)
{
    w << "*STLDCASE    ; Static Load Cases\n; LCNAME, LCTYPE, DESC\n";
    for (const LoadCaseText& loadCase : kLoadCases)
        w << "   " << loadCase.name << ", " << loadCase.type << ", \n";
    w << "\n";
    const std::int64_t topStorey = shape.Nodes() - std::int64_t(shape.nx) * shape.ny;
    for (const LoadCaseText& loadCase : kLoadCases) {
        w << "*USE-STLD, " << loadCase.name << "\n\n";
        w << "*CONLOAD    ; Nodal Loads\n; NODE_LIST, FX, FY, FZ, MX, MY, MZ, GROUP\n";
        for (std::int64_t n = topStorey + 1; n <= shape.Nodes(); ++n)
            w << "   " << n << ", 0, 0, -25, 0, 0, 0, \n";  // 25 kN downwards
        w << "\n";
        w << "*BEAMLOAD    ; Element Beam Loads\n"
             "; ELEM_LIST, CMD, TYPE, DIR, bPROJ, [ECCEN], [VALUE], GROUP\n";
        for (std::int64_t m = 1; m <= shape.Beams(); ++m) {  // 2 kN/m over the whole beam
            w.Field(m, 6) << ", BEAM   , UNILOAD, " << loadCase.memberDirection
                          << ", NO , NO, aDir[1], , , , 0, -2, 1, -2, 0, 0, 0, 0, , NO, 0, 0, NO, \n";
        }
        w << "\n";
        w << "; End of data for load case [" << loadCase.name << "] -------------------------\n\n";
    }
}

} // namespace detail

// The text of the model, as a MIDAS .mgt file writes it.
inline std::string GenerateModel(const ModelShape& shape)
{
    std::string text;
    // about 40 bytes per node, 50 per member, 110 per member load
    text.reserve(std::size_t(shape.Nodes()) * 40 + std::size_t(shape.Members()) * 60 +
                 (shape.loads ? std::size_t(shape.Beams()) * 4 * 110 : 0) + 4096);
    detail::TextWriter w(text);
    detail::WriteHeader(w);
    detail::WriteNodes(w, shape);
    detail::WriteElements(w, shape);
    detail::WriteProperties(w);
    detail::WriteGroupsSupportsReleases(w, shape);
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
