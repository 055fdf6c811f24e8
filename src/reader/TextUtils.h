// Text and field operations shared by the reading driver and every record parser.
//
// Leniency is decided here, once:
//  - whitespace is the space and the control bytes 0x09 to 0x0D;
//  - "remove blanks" drops spaces (0x20) only; tabs stay;
//  - a field without a numeric prefix converts to 0 or 0.0, never an error;
//  - integers saturate at the int32 range; reals are exactly strtod in the "C" locale.
// Text is handled byte by byte: the legacy double-byte code pages of MIDAS files (GBK, CP949) never use
// a space or a comma as a trail byte, so byte operations do not split their characters.
#pragma once

#include <string>
#include <string_view>

#include "midas2orvo/ValueArray.h"

inline bool IsBlank(unsigned char c) { return c == ' ' || (c >= 0x09 && c <= 0x0D); }

std::string_view TrimView(std::string_view text);
std::string Trim(std::string_view text);
std::string_view TrimLeftView(std::string_view text);

// Copies text without its spaces into out (reusing out's storage).
void RemoveBlanks(std::string_view text, std::string& out);
std::string RemoveBlanks(std::string_view text);

// A data line without its spaces, held on the stack when the line has an ordinary length: the parsers
// of millions of lines make no heap copy of each.
class BlankFreeLine {
public:
    explicit BlankFreeLine(std::string_view text);
    BlankFreeLine(const BlankFreeLine&) = delete;
    BlankFreeLine& operator=(const BlankFreeLine&) = delete;
    std::string_view View() const { return m_View; }

private:
    char m_Small[512];
    std::string m_Large;
    std::string_view m_View;
};

// Splits off the text before the first comma of work; work keeps the text after that comma.
// Without a comma the field is all of work, work becomes empty and the result is false.
bool TakeCommaField(std::string& work, std::string& field);
std::string TakeCommaField(std::string& work);
bool TakeCommaField(std::string_view& work, std::string_view& field);

// Splits a text into tokens separated by runs of delimiter bytes; empty fields are passed over.
class FieldTokenizer {
public:
    // Keeps a private copy of text.
    FieldTokenizer(const std::string& text, const std::string& delimiters);
    // Reads text where it stands, without a copy: the text must outlive the tokenizer (a parser's
    // line or field).
    FieldTokenizer(std::string_view text, std::string_view delimiters);
    FieldTokenizer(const FieldTokenizer&) = delete;
    FieldTokenizer& operator=(const FieldTokenizer&) = delete;
    // Next token into out (untrimmed); false with out empty when no token is left.
    bool NextToken(std::string& out);
    bool NextToken(std::string_view& out)
    {
        const std::size_t size = m_Text.size();
        out = std::string_view();
        while (m_nPosition < size && IsDelimiter(static_cast<unsigned char>(m_Text[m_nPosition])))
            ++m_nPosition;
        if (m_nPosition >= size)
            return false;
        const std::size_t start = m_nPosition;
        if (m_nSingle >= 0) {
            // One delimiter byte, the usual comma or space: a plain compare per byte.
            const char delimiter = char(m_nSingle);
            while (m_nPosition < size && m_Text[m_nPosition] != delimiter)
                ++m_nPosition;
        } else {
            while (m_nPosition < size && !IsDelimiter(static_cast<unsigned char>(m_Text[m_nPosition])))
                ++m_nPosition;
        }
        out = m_Text.substr(start, m_nPosition - start);
        return true;
    }
    // Next token trimmed of whitespace; empty when no token is left.
    std::string_view NextTrimmed()
    {
        std::string_view token;
        NextToken(token);
        // Tokens of a blank-free line rarely have whitespace at either end: look before trimming.
        if (!token.empty() && (IsBlank(static_cast<unsigned char>(token.front())) ||
                               IsBlank(static_cast<unsigned char>(token.back()))))
            return TrimView(token);
        return token;
    }

private:
    std::string m_Owned;
    std::string_view m_Text;
    unsigned char m_Delimiters[32];
    int m_nSingle = -1;  // the delimiter byte when there is only one
    std::size_t m_nPosition = 0;
    bool IsDelimiter(unsigned char c) const { return (m_Delimiters[c >> 3] >> (c & 7)) & 1; }
};

// atoi: leading whitespace, optional sign, longest digit prefix; 0 without digits; saturates at int32.
int ToInt(std::string_view field);
// atof: strtod in the "C" locale on the field (leading whitespace skipped, trailing text ignored).
double ToReal(std::string_view field);

// Appends the IDs of one ID-list item "A", "AtoB" or "AtoBbyC". False only for an empty item.
// A step of 0, a range of more than 16,777,216 IDs, or one beyond the reading's IdBudget appends
// nothing and still returns true.
bool AddIdRange(const std::string& item, ValueArray<int>& list);

// One item of an ID list: count numbers from first on, step apart (a single number: step 1, count 1).
struct IdRange {
    int first;
    int step;
    long long count;
    long long Last() const { return first + (count - 1) * static_cast<long long>(step); }
    std::string Text() const;  // "A", "AtoB" or "AtoBbyC"
};

// The items of an ID list as written, ranges unexpanded, so that "1to2147483647" costs one item: the
// translation walks only the numbers that name a record (today's layout).
class IdList {
public:
    // Adds one item "A", "AtoB" or "AtoBbyC"; false only for an empty item. An item that lists no
    // number (a step of 0, a range running the wrong way) adds nothing.
    bool AddItem(std::string_view item);
    const IdRange* begin() const { return m_Items.begin(); }
    const IdRange* end() const { return m_Items.end(); }
    bool Empty() const { return m_Items.Count == 0; }
    // The first number listed, or 0 for an empty list.
    int First() const { return Empty() ? 0 : m_Items[0].first; }

private:
    ValueArray<IdRange> m_Items;
};

// Caps the IDs that ranges expand to while a file is read on this thread, so that a few bytes such as
// "1to16777216 1to16777216 ..." cannot take gigabytes. Without a budget alive, only the per-range cap holds.
class IdBudget {
public:
    explicit IdBudget(long long ids);
    ~IdBudget();
    IdBudget(const IdBudget&) = delete;
    IdBudget& operator=(const IdBudget&) = delete;
    // Takes n IDs from the budget alive on this thread; false (nothing taken) when they do not fit.
    static bool Take(long long n);
    // The IDs left in the budget alive on this thread (-1: none alive), and whether a Take was refused.
    static long long Left();
    static bool Refused();
    // Gives the budget alive on this thread back its state of an earlier Left() (a line read again).
    static void Restore(long long left);

private:
    long long m_nLeft;
    bool m_bRefused = false;
    IdBudget* m_pOuter;
};
bool AddIdRange(std::string_view item, ValueArray<int>& list);
