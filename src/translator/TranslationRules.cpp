// The classic and current translation rules, and the hints a classic read's findings give.
#include "TranslationRules.h"

#include <iterator>

#include "MaterialGradeTable.h"

namespace {

// Classic: KGF, TONF, LBF and KIPS are refused; "KN" is code 2; every other word is taken as N (code 1).
int ClassicForceUnit(const std::string& word, std::string& message)
{
    for (const char* refused : {"KGF", "TONF", "LBF", "KIPS"}) {
        if (word == refused) {
            message = std::string(refused) + " Can't Convert,Please use KN,mm Unit!";
            return 0;
        }
    }
    return word == "KN" ? 2 : 1;
}

double ClassicForceFactor(int code) { return code == 1 ? 1000.0 : code == 2 ? 1.0 : 0.0; }

// Classic: the steel code names the four steels; any other code names the concretes.
int ClassicGrade(const std::string& code, const std::string& grade)
{
    return code == "GB03(S)" ? MaterialGradeTable::FindSteel(grade) : MaterialGradeTable::FindConcrete(grade);
}

// Force words of today's files and their factors to kN.
struct ForceWord {
    const char* word;
    double toKilonewton;
};
constexpr ForceWord kForceWords[] = {
    {"KN", 1.0}, {"N", 0.001}, {"KGF", 0.00980665}, {"TONF", 9.80665}, {"LBF", 0.0044482216152605}, {"KIPS", 4.4482216152605},
};
constexpr int kFirstForceCode = 2;  // codes 2.. follow the table, so "KN" keeps the classic code 2

int CurrentForceUnit(const std::string& word, std::string& message)
{
    for (int i = 0; i < int(std::size(kForceWords)); ++i)
        if (word == kForceWords[i].word)
            return kFirstForceCode + i;
    message = "Unknown force unit \"" + word + "\": cannot convert to KN";
    return 0;
}

double CurrentForceFactor(int code)
{
    const int i = code - kFirstForceCode;
    return i >= 0 && i < int(std::size(kForceWords)) ? kForceWords[i].toKilonewton : 0.0;
}

// Steel codes carry "(S)" (GB12(S), JTG3362-18(S)), concrete codes "(RC)" (GB50917-13(RC)).
int CurrentGrade(const std::string& code, const std::string& grade)
{
    if (code.find("(S)") != std::string::npos)
        return MaterialGradeTable::FindSteel(grade);
    if (code.find("(RC)") != std::string::npos)
        return MaterialGradeTable::FindConcrete(grade);
    return -1;
}

// Findings of a classic read that the current profile reads right, as said of one and of several.
struct Hint {
    MidasFinding kind;
    const char* one;
    const char* many;
};
constexpr Hint kHints[] = {
    {MidasFinding::NewerMaterialLayout, "*MATERIAL line has the current layout", "*MATERIAL lines have the current layout"},
    {MidasFinding::NewerSectionLayout, "*SECTION line has the current layout", "*SECTION lines have the current layout"},
    {MidasFinding::RepeatedBlock, "repeated block was replaced (the current profile keeps them all)",
     "repeated blocks were replaced (the current profile keeps them all)"},
    {MidasFinding::BlockEndedEarly, "block ended early (the current profile ends blocks at keyword lines)",
     "blocks ended early (the current profile ends blocks at keyword lines)"},
    {MidasFinding::PositionalAddressing, "record addressed by position (the current profile uses numbers)",
     "records addressed by position (the current profile uses numbers)"},
    {MidasFinding::RefusedUnit, "refused unit (the current profile converts KGF, TONF, LBF, KIPS and N)",
     "refused units (the current profile converts KGF, TONF, LBF, KIPS and N)"},
};

} // namespace

const TranslationRules& TranslationRules::For(MidasReadingProfile profile)
{
    static constexpr TranslationRules kClassic{false, false, false, false,
                                               ClassicForceUnit, ClassicForceFactor, ClassicGrade,
                                               false, false, false, false, false, false, false, false, false};
    static constexpr TranslationRules kCurrent{true, true, true, true,
                                               CurrentForceUnit, CurrentForceFactor, CurrentGrade,
                                               true, true, true, true, true, true, true, true, true};
    return profile == MidasReadingProfile::Current ? kCurrent : kClassic;
}

const char* MidasCurrentProfileHint(MidasFinding kind)
{
    return MidasCurrentProfileHint(kind, 2);
}

const char* MidasCurrentProfileHint(MidasFinding kind, long long count)
{
    for (const Hint& hint : kHints)
        if (hint.kind == kind)
            return count == 1 ? hint.one : hint.many;
    return nullptr;
}
