// The classic and current reading profiles.
#include "LayoutProfile.h"

#include "TextUtils.h"
#include "translator/MaterialGradeTable.h"

namespace {

// The layout the format's original reader expected: 511-byte lines, keywords anywhere in a line,
// blank lines as the only block end, later blocks replacing earlier ones, records addressed by position.
class ClassicProfile final : public LayoutProfile {
public:
    bool ReadLine(LineStream& stream, std::string& out) const override { return stream.ReadLine(out); }
    bool IsKeywordLine(std::string_view trimmed, std::string_view keyword, bool atStart) const override
    {
        return atStart ? trimmed.substr(0, keyword.size()) == keyword
                       : trimmed.find(keyword) != std::string_view::npos;
    }
    // A comment only with ";" in the first byte; a blank line is handed to the parser, which ends the block.
    bool PassesOver(std::string_view line) const override { return !line.empty() && line[0] == ';'; }
    bool EndsBlock(std::string_view) const override { return false; }
    bool AccumulatesRepeatedBlocks() const override { return false; }
    bool ReadsCurrentColumns() const override { return false; }
    // Tested on the line as read, leading blanks included.
    bool IsLoadBlockLine(std::string_view line, std::string_view keyword) const override
    {
        return line.substr(0, keyword.size()) == keyword;
    }
    bool ChainsLoadSections() const override { return false; }
    bool AddressesByNumber() const override { return false; }

    // KGF, TONF, LBF and KIPS are refused; "KN" is code 2; every other word is taken as N (code 1).
    int ForceUnit(const std::string& word, std::string& message) const override
    {
        for (const char* refused : {"KGF", "TONF", "LBF", "KIPS"}) {
            if (word == refused) {
                message = std::string(refused) + " Can't Convert,Please use KN,mm Unit!";
                return 0;
            }
        }
        return word == "KN" ? 2 : 1;
    }
    double ForceFactor(int code) const override { return code == 1 ? 1000.0 : code == 2 ? 1.0 : 0.0; }

    // The steel code names the four steels; any other code names the concretes.
    int FindGrade(const std::string& code, const std::string& grade) const override
    {
        return code == "GB03(S)" ? MaterialGradeTable::FindSteel(grade) : MaterialGradeTable::FindConcrete(grade);
    }
    bool GradeTableInHostUnits() const override { return false; }
    bool ScalesSectionDimensions() const override { return false; }
    bool MatchesLoadCaseExactlyFirst() const override { return false; }
};

// Force words of today's files and their factors to kN.
struct ForceWord {
    const char* word;
    double toKilonewton;
};
constexpr ForceWord kForceWords[] = {
    {"KN", 1.0}, {"N", 0.001}, {"KGF", 0.00980665}, {"TONF", 9.80665}, {"LBF", 0.0044482216}, {"KIPS", 4.4482216},
};
constexpr int kFirstForceCode = 2;  // codes 2.. follow the table, so "KN" keeps the classic code 2

// The layout MIDAS Gen/Civil 8.x and 9.x write.
class CurrentProfile final : public LayoutProfile {
public:
    // Whole lines; a line ending in "\" (trailing blanks aside) continues on the next, until the joined
    // line reaches the whole-line limit (a file of "\" lines must not become one line in memory).
    bool ReadLine(LineStream& stream, std::string& out) const override
    {
        if (!stream.ReadWholeLine(out))
            return false;
        std::string next;
        for (;;) {
            std::string_view text = out;
            while (!text.empty() && IsBlank(static_cast<unsigned char>(text.back())))
                text.remove_suffix(1);
            if (text.empty() || text.back() != '\\' || out.size() >= LineStream::kMaxWholeLine ||
                !stream.ReadWholeLine(next))
                return true;
            out.resize(text.size() - 1);
            out += next;
        }
    }

    // The keyword begins the trimmed line as a whole word: the end of the line, a ';' or a ',' follows,
    // optionally after blanks. "*SECTION MANAGER-GROUP & PART" and "*SECTION-SCALE" open nothing.
    bool IsKeywordLine(std::string_view trimmed, std::string_view keyword, bool) const override
    {
        if (trimmed.substr(0, keyword.size()) != keyword)
            return false;
        std::string_view rest = TrimLeftView(trimmed.substr(keyword.size()));
        return rest.empty() || rest[0] == ';' || rest[0] == ',';
    }
    // Script-written files put blank and comment lines inside blocks (between groups of members), so
    // both are passed over; blocks end at keyword lines.
    bool PassesOver(std::string_view line) const override
    {
        line = TrimLeftView(line);
        return line.empty() || line[0] == ';';
    }
    // A keyword line, or the end marker of a load section, ends any block.
    bool EndsBlock(std::string_view line) const override
    {
        line = TrimLeftView(line);
        return !line.empty() && (line[0] == '*' || (line[0] == ';' && line.find("End of data") != std::string_view::npos));
    }
    bool AccumulatesRepeatedBlocks() const override { return true; }
    bool ReadsCurrentColumns() const override { return true; }
    bool IsLoadBlockLine(std::string_view line, std::string_view keyword) const override
    {
        return IsKeywordLine(TrimView(line), keyword, true);
    }
    bool ChainsLoadSections() const override { return true; }
    bool AddressesByNumber() const override { return true; }

    int ForceUnit(const std::string& word, std::string& message) const override
    {
        for (int i = 0; i < int(std::size(kForceWords)); ++i)
            if (word == kForceWords[i].word)
                return kFirstForceCode + i;
        message = "Unknown force unit \"" + word + "\": cannot convert to KN";
        return 0;
    }
    double ForceFactor(int code) const override
    {
        const int i = code - kFirstForceCode;
        return i >= 0 && i < int(std::size(kForceWords)) ? kForceWords[i].toKilonewton : 0.0;
    }

    // Steel codes carry "(S)" (GB12(S), JTG3362-18(S)), concrete codes "(RC)" (GB50917-13(RC)).
    int FindGrade(const std::string& code, const std::string& grade) const override
    {
        if (code.find("(S)") != std::string::npos)
            return MaterialGradeTable::FindSteel(grade);
        if (code.find("(RC)") != std::string::npos)
            return MaterialGradeTable::FindConcrete(grade);
        return -1;
    }
    bool GradeTableInHostUnits() const override { return true; }
    bool ScalesSectionDimensions() const override { return true; }
    bool MatchesLoadCaseExactlyFirst() const override { return true; }
};

} // namespace

const LayoutProfile& LayoutProfile::For(MidasReadingProfile profile)
{
    static const ClassicProfile classic;
    static const CurrentProfile current;
    return profile == MidasReadingProfile::Current ? static_cast<const LayoutProfile&>(current) : classic;
}
