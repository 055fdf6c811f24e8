// Fuzz target: a catalogue designation through the steel section library. The first byte is passed over
// (the seeds keep a shape letter there); the rest is the designation. The library answers "not found" or a
// section whose normalised designation is a family prefix and as many positive numbers joined by 'x' as
// the family takes, with 13 finite, non-negative values; the same again from the same library (the same
// object), from a fresh one and for its own normalised designation.
#include "fuzz_common.h"
#include "sectionlib/SectionLibrary.h"

namespace {

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    fuzz::Quiet();
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
    return 0;
}
