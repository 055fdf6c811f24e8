// Steel section catalogue: parses designations and fills section properties by family.
#include "SectionLibrary.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <string_view>
#include <system_error>
#include <utility>

namespace {

enum class Family { None, H, T, L, C, Pipe };

// No family takes more than four dimensions, so a longer designation is rejected as soon
// as the fifth number starts; this keeps every lookup linear and allocation-free on failure.
constexpr std::size_t kMaxDimensions = 4;

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSeparator(char c) { return c == 'x' || c == 'X' || c == '*' || c == '/'; }

// Prefixes are case-sensitive: "h400x200x8x13" is not a catalogue section.
Family FamilyOf(std::string_view p) {
    if (p == "H" || p == "HW" || p == "HM" || p == "HN" || p == "HP" || p == "HT" || p == "I")
        return Family::H;
    if (p == "T" || p == "TW" || p == "TM" || p == "TN") return Family::T;
    if (p == "L") return Family::L;
    if (p == "C" || p == "U") return Family::C;
    if (p == "P" || p == "D" || p == "PIPE" || p == "CHS") return Family::Pipe;
    return Family::None;
}

bool DimensionCountFits(Family f, std::size_t n) {
    switch (f) {
    case Family::H:
    case Family::T:
    case Family::C: return n == 4;
    case Family::L: return n == 2 || n == 3;
    case Family::Pipe: return n == 2;
    case Family::None: break;
    }
    return false;
}

struct Designation {
    Family family = Family::None;
    std::string text;  // prefix and dimensions as written, joined by 'x'
    double dims[kMaxDimensions] = {};
    std::size_t count = 0;
};

// Reads NUMBER (SEP NUMBER)* from position i to the end of s, where NUMBER is digits with at most one
// '.' and every dimension must be a finite positive value; at most max of them, else false. The numbers
// as written are appended to text, joined by 'x', when text is given.
bool ReadDimensions(std::string_view s, std::size_t i, double* dims, std::size_t max, std::size_t& count,
                    std::string* text) {
    count = 0;
    for (;;) {
        const std::size_t start = i;
        bool sawDot = false;
        bool sawDigit = false;
        for (; i < s.size(); ++i) {
            if (IsDigit(s[i])) sawDigit = true;
            else if (s[i] == '.' && !sawDot) sawDot = true;
            else break;
        }
        if (!sawDigit || count == max) return false;
        const char* first = s.data() + start;
        const char* last = s.data() + i;
        double v = 0.0;
        const auto [end, ec] = std::from_chars(first, last, v);
        // Out-of-range digit strings (overflow to infinity, underflow to zero) are no real size.
        if (ec != std::errc() || end != last || !(v > 0.0) || !std::isfinite(v)) return false;
        if (text) {
            if (count > 0) *text += 'x';
            text->append(first, last);
        }
        dims[count++] = v;
        if (i == s.size()) return true;
        if (!IsSeparator(s[i])) return false;
        ++i;  // a separator must be followed by another number, checked on the next pass
    }
}

// Reads PREFIX NUMBER (SEP NUMBER)+ as ReadDimensions does. Anything else is not a catalogue designation.
bool ParseDesignation(std::string_view s, Designation& d) {
    std::size_t i = 0;
    while (i < s.size() && IsAsciiLetter(s[i])) ++i;
    d.family = FamilyOf(s.substr(0, i));
    if (d.family == Family::None) return false;
    d.text.assign(s.substr(0, i));
    if (!ReadDimensions(s, i, d.dims, kMaxDimensions, d.count, &d.text)) return false;
    if (!DimensionCountFits(d.family, d.count)) return false;
    // A pipe wall is at most half the outside diameter (a solid round): a thicker one would give a
    // negative inner radius.
    return d.family != Family::Pipe || 2.0 * d.dims[1] <= d.dims[0];
}

// Places the dimensions into the property slots the host model reads for each family.
void FillProperties(const Designation& d, CSection& sec) {
    double* p = sec.m_dProperties;
    const double* v = d.dims;
    switch (d.family) {
    case Family::H:
    case Family::T:  // depth, flange width, web thickness, flange thickness
        p[4] = v[0]; p[6] = v[1]; p[10] = v[2]; p[11] = v[3];
        break;
    case Family::L:  // equal angle "a x t" or unequal angle "a x b x t"
        p[0] = v[0]; p[1] = v[d.count == 3 ? 1 : 0]; p[2] = p[3] = v[d.count - 1];
        break;
    case Family::C:  // channel: both flanges share width and thickness
        p[0] = v[0]; p[1] = v[1]; p[2] = v[2]; p[3] = v[3]; p[4] = v[1]; p[5] = v[3];
        break;
    case Family::Pipe:  // inner radius, outer radius, wall thickness
        p[4] = (v[0] - 2.0 * v[1]) / 2.0; p[5] = v[0] / 2.0; p[10] = v[1];
        break;
    case Family::None:
        break;
    }
}

}  // namespace

std::size_t ReadDesignationDimensions(std::string_view name, double* dims, std::size_t max) {
    std::size_t i = 0;
    while (i < name.size() && IsAsciiLetter(name[i])) ++i;
    std::size_t count = 0;
    return ReadDimensions(name, i, dims, max, count, nullptr) ? count : 0;
}

CSection::CSection() : m_dProperties{} {}

const std::string& CSection::GetName() const { return m_strName; }

double CSection::GetProperty(int k) const { return (k >= 0 && k < 13) ? m_dProperties[k] : 0.0; }

CSectionManagement::CSectionManagement() = default;
CSectionManagement::~CSectionManagement() = default;

CSection* CSectionManagement::GetSecParaMap(std::string name) {
    Designation d;
    if (!ParseDesignation(name, d)) return nullptr;
    // Keyed by the normalised text, so "HW300X305*15/15" and "HW300x305x15x15" share one section.
    if (auto it = m_sections.find(d.text); it != m_sections.end()) return it->second.get();
    auto sec = std::make_unique<CSection>();
    sec->m_strName = d.text;
    FillProperties(d, *sec);
    CSection* result = sec.get();
    m_sections.emplace(std::move(d.text), std::move(sec));
    return result;
}
