// Fuzz target: a catalogue designation through the steel section library and through the section step
// of a translation. The first byte picks the shape word of the section line (its letter when one of H, C,
// L, T, P, otherwise by its value); the rest is the designation. The library answers "not found" or a
// section whose normalised designation is a family prefix and as many positive numbers joined by 'x' as
// the family takes, with 13 finite, non-negative values; the same again from the same library (the same
// object), from a fresh one and for its own normalised designation. A designation a section line can
// carry reaches the host exactly as the library resolves it (values, shape code, member), or not at all.
#include <algorithm>

#include "fuzz_common.h"
#include "sectionlib/SectionLibrary.h"

namespace {

struct ShapeWord {
    char word;
    int code;  // the host's shape code; an angle with three numbers (unequal legs) has 6
};
constexpr ShapeWord kShapes[] = {{'H', 17}, {'C', 3}, {'L', 5}, {'T', 28}, {'P', 22}};

// A normalised designation: a family prefix, then as many numbers (digits, at most one point) as the
// family takes, joined by 'x'.
void CheckDesignation(std::string_view name)
{
    const std::size_t digits = std::min(name.find_first_of("0123456789."), name.size());
    const std::string_view prefix = name.substr(0, digits);
    int numbers = 0;
    for (std::size_t at = digits; at <= name.size(); ++numbers) {
        const std::string_view number = name.substr(at, std::min(name.find('x', at), name.size()) - at);
        FUZZ_CHECK(number.find_first_not_of("0123456789.") == number.npos && number.find('.') == number.rfind('.'));
        FUZZ_CHECK(number.size() > (number.find('.') == number.npos ? 0u : 1u));
        at += number.size() + 1;
    }
    bool four = false;  // H and I shapes, tees and channels; angles take two or three, pipes two
    for (std::string_view p : {"H", "HW", "HM", "HN", "HP", "HT", "I", "T", "TW", "TM", "TN", "C", "U"})
        four = four || prefix == p;
    const bool pipe = prefix == "P" || prefix == "D" || prefix == "PIPE" || prefix == "CHS";
    FUZZ_CHECK(four ? numbers == 4 : prefix == "L" ? numbers == 2 || numbers == 3 : pipe && numbers == 2);
}

// A model with one member on a section line of the database form that names the designation.
void CheckTranslation(const ShapeWord& shape, const std::string& name, const CSection* found)
{
    const std::string text = std::string("*UNIT\n KN, MM, KJ, C\n\n*NODE\n 1, 0, 0, 0\n 2, 0, 0, 3000\n\n*ELEMENT\n") +
                             " 1, BEAM, 1, 1, 1, 2, 0\n\n*SECTION\n 1, DBUSER, S1, CC, 0, 0, 0, 0, 0, 0, YES, " + shape.word +
                             ", 1, GB, " + name + "\n";
    for (MidasReadingProfile profile : fuzz::kProfiles) {
        ModalData_Orvo model;
        Translation translator;
        translator.SetReadingProfile(profile);
        fuzz::ReadText(translator, text);
        FUZZ_CHECK(translator.TranMidastoOrvo(model) && model.m_Lines.GetSize() == 1);
        FUZZ_CHECK(model.m_LSections.GetSize() == (found ? 1 : 0) && (found || model.m_Lines[0]->SectionShape == 0));
        if (!found)
            continue;
        const std::string& designation = found->GetName();
        const int code = shape.word == 'L' && designation.find('x') != designation.rfind('x') ? 6 : shape.code;
        const LSection_Orvo& section = *model.m_LSections[0];
        FUZZ_CHECK(section.ShapeCode == code && section.ID == 1 && section.Properties.Count == 13);
        FUZZ_CHECK(model.m_Lines[0]->SectionShape == code && model.m_Lines[0]->SectionID == 1);
        for (int k = 0; k < 13; ++k)
            FUZZ_CHECK(section.Properties[k] == found->GetProperty(k));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    fuzz::Quiet();
    const ShapeWord* shape = &kShapes[data[0] % 5];
    for (const ShapeWord& s : kShapes)
        shape = s.word == char(data[0]) ? &s : shape;
    const std::string name(reinterpret_cast<const char*>(data) + 1, size - 1);
    CSectionManagement library, fresh;
    const CSection* found = library.GetSecParaMap(name);
    const CSection* again = fresh.GetSecParaMap(name);
    FUZZ_CHECK((found == nullptr) == (again == nullptr));
    if (found) {
        CheckDesignation(found->GetName());
        for (int k = 0; k < 13; ++k) {
            const double value = found->GetProperty(k), fromFresh = again->GetProperty(k);
            FUZZ_CHECK(std::isfinite(value) && value >= 0.0);
            FUZZ_CHECK(value == fromFresh && std::signbit(value) == std::signbit(fromFresh));
        }
        FUZZ_CHECK(found->GetProperty(-1) == 0.0 && found->GetProperty(13) == 0.0 && again->GetName() == found->GetName());
        FUZZ_CHECK(library.GetSecParaMap(name) == found && library.GetSecParaMap(found->GetName()) == found);
    }
    // A designation that stays one token of a section line: printable, no separator, comment, keyword
    // mark, quote or continuation, short enough to keep the line within one physical line.
    if (!name.empty() && name.size() <= 400 && name.find_first_of(",*;$\"\\") == name.npos &&
        std::all_of(name.begin(), name.end(), [](char c) { return c >= '!' && c <= '~'; }))
        CheckTranslation(*shape, name, found);
    return 0;
}
