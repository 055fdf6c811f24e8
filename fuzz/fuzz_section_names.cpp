// Fuzz target: a catalogue designation through the steel section library, and through the section
// step of a translation. The first byte picks the shape word of the section line (its letter when it
// is one of H, C, L, T, P, otherwise by its value); the rest is the designation.
//
// The library must answer "not found" (null) or a section whose normalised designation is a family
// prefix followed by positive numbers joined by 'x', as many as the family takes, with 13 finite,
// non-negative property values; the same answer again from the same manager (the same object), from a
// fresh manager (the same values, bit for bit) and for its own normalised designation. A designation a
// model line can carry must reach the host exactly as the library resolves it: the section's values,
// its shape code (an angle by its leg count) and the member linked to it, or, when the library does
// not hold it, no section and an unlinked member.
#include <string>
#include <string_view>

#include "fuzz_common.h"
#include "sectionlib/SectionLibrary.h"

namespace {

constexpr int kPropertyCount = 13;

struct ShapeWord {
    char word;
    int code;  // the host's shape code; an angle's (5 or 6) depends on its legs
};
constexpr ShapeWord kShapes[] = {{'H', 17}, {'C', 3}, {'L', 5}, {'T', 28}, {'P', 22}};

const ShapeWord& PickShape(unsigned char first)
{
    for (const ShapeWord& shape : kShapes)
        if (shape.word == char(first))
            return shape;
    return kShapes[first % (sizeof kShapes / sizeof kShapes[0])];
}

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// How many numbers each family prefix takes, as a range; 0, 0 for a word that is no prefix.
struct DimensionRange {
    int least, most;
};
DimensionRange DimensionsOf(std::string_view prefix)
{
    for (std::string_view p : {"H", "HW", "HM", "HN", "HP", "HT", "I", "T", "TW", "TM", "TN", "C", "U"})
        if (prefix == p)
            return {4, 4};
    if (prefix == "L")
        return {2, 3};
    for (std::string_view p : {"P", "D", "PIPE", "CHS"})
        if (prefix == p)
            return {2, 2};
    return {0, 0};
}

// A normalised designation: a family prefix, then numbers (digits with at most one '.') joined by 'x'.
void CheckDesignation(const std::string& name)
{
    std::size_t i = 0;
    while (i < name.size() && IsLetter(name[i]))
        ++i;
    const DimensionRange range = DimensionsOf(std::string_view(name).substr(0, i));
    FUZZ_CHECK(range.most > 0);
    int numbers = 0;
    for (;;) {
        const std::size_t start = i;
        int dots = 0;
        while (i < name.size() && (IsDigit(name[i]) || name[i] == '.'))
            dots += name[i++] == '.';
        FUZZ_CHECK(i > start + std::size_t(dots) && dots <= 1);
        ++numbers;
        if (i == name.size())
            break;
        FUZZ_CHECK(name[i++] == 'x');
    }
    FUZZ_CHECK(numbers >= range.least && numbers <= range.most);
}

bool SameProperties(const CSection& a, const CSection& b)
{
    for (int k = 0; k < kPropertyCount; ++k)
        if (!fuzz::SameReal(a.GetProperty(k), b.GetProperty(k)))
            return false;
    return true;
}

// What the library answers for name; null or a checked section held by library.
const CSection* CheckLibrary(CSectionManagement& library, const std::string& name)
{
    const CSection* found = library.GetSecParaMap(name);
    CSectionManagement fresh;
    const CSection* again = fresh.GetSecParaMap(name);
    FUZZ_CHECK((found == nullptr) == (again == nullptr));
    if (!found)
        return nullptr;
    CheckDesignation(found->GetName());
    for (int k = 0; k < kPropertyCount; ++k) {
        const double value = found->GetProperty(k);
        FUZZ_CHECK(std::isfinite(value) && value >= 0.0);
    }
    FUZZ_CHECK(found->GetProperty(-1) == 0.0 && found->GetProperty(kPropertyCount) == 0.0);
    FUZZ_CHECK(library.GetSecParaMap(name) == found);
    FUZZ_CHECK(library.GetSecParaMap(found->GetName()) == found);
    FUZZ_CHECK(again->GetName() == found->GetName() && SameProperties(*again, *found));
    return found;
}

// A designation that stays one token of a section line: printable ASCII without a field separator,
// comment or keyword mark, quote or line continuation, short enough for the line to stay within one
// physical line of the classic layout (511 bytes; a longer one goes on as a line of its own).
bool FitsSectionLine(const std::string& name)
{
    if (name.empty() || name.size() > 400)
        return false;
    for (char c : name)
        if (c < '!' || c > '~' || c == ',' || c == '*' || c == ';' || c == '$' || c == '"' || c == '\\')
            return false;
    return true;
}

// A model with one member on one section line of the database form naming the designation.
void CheckTranslation(const ShapeWord& shape, const std::string& name, const CSection* found)
{
    // Blocks end at a blank line in the classic layout.
    const std::string text = std::string("*UNIT\n KN, MM, KJ, C\n\n*NODE\n 1, 0, 0, 0\n 2, 0, 0, 3000\n\n") +
                             "*ELEMENT\n 1, BEAM, 1, 1, 1, 2, 0\n\n*SECTION\n" +
                             " 1, DBUSER, S1, CC, 0, 0, 0, 0, 0, 0, YES, " + shape.word + ", 1, GB, " + name + "\n";
    for (MidasReadingProfile profile : fuzz::kProfiles) {
        ModalData_Orvo model;
        Translation translator;
        translator.SetReadingProfile(profile);
        TranslatorAccess::ReadText(translator, text);
        FUZZ_CHECK(translator.TranMidastoOrvo(model));
        FUZZ_CHECK(model.m_Lines.GetSize() == 1);
        const Line_Orvo& member = *model.m_Lines[0];
        if (!found) {
            FUZZ_CHECK(model.m_LSections.GetSize() == 0);
            FUZZ_CHECK(member.SectionShape == 0);
            continue;
        }
        FUZZ_CHECK(model.m_LSections.GetSize() == 1);
        const LSection_Orvo& section = *model.m_LSections[0];
        const std::string& designation = found->GetName();
        const bool threeNumbers = designation.find('x') != designation.rfind('x');
        const int code = shape.word == 'L' && threeNumbers ? 6 : shape.code;
        FUZZ_CHECK(section.ShapeCode == code && section.ID == 1);
        FUZZ_CHECK(section.Properties.Count == kPropertyCount);
        for (int k = 0; k < kPropertyCount; ++k)
            FUZZ_CHECK(fuzz::SameReal(section.Properties[k], found->GetProperty(k)));
        FUZZ_CHECK(member.SectionShape == code && member.SectionID == 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    fuzz::SilenceMessageBox();
    const ShapeWord& shape = PickShape(data[0]);
    const std::string name = fuzz::TextOf(data + 1, size - 1);
    CSectionManagement library;
    const CSection* found = CheckLibrary(library, name);
    if (FitsSectionLine(name))
        CheckTranslation(shape, name, found);
    return 0;
}
