// Text and field operations shared by the reading driver and every record parser.
#include "TextUtils.h"

#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#endif

std::string_view TrimLeftView(std::string_view text)
{
    std::size_t begin = 0;
    while (begin < text.size() && IsBlank(static_cast<unsigned char>(text[begin])))
        ++begin;
    return text.substr(begin);
}

std::string_view TrimView(std::string_view text)
{
    text = TrimLeftView(text);
    std::size_t end = text.size();
    while (end > 0 && IsBlank(static_cast<unsigned char>(text[end - 1])))
        --end;
    return text.substr(0, end);
}

std::string Trim(std::string_view text) { return std::string(TrimView(text)); }

namespace {

// Copies text without its spaces to out (room for all of text); returns the end of what was written.
// Every byte is written and the write position advances past those that are not spaces: no branch per
// byte, so a line of short fields and single spaces costs about a cycle a byte.
char* CopyWithoutSpaces(std::string_view text, char* out)
{
    for (char c : text) {
        *out = c;
        out += c != ' ';
    }
    return out;
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define MIDAS2ORVO_PACKED_COPY 1
// For each set of spaces among 8 bytes (bit k: byte k), the positions of the other bytes in order and
// how many there are (a table, as a processor with SSSE3 may lack the population count).
struct PackOrder {
    unsigned char order[256][8];
    unsigned char kept[256];
    constexpr PackOrder() : order(), kept()
    {
        for (int spaces = 0; spaces < 256; ++spaces) {
            int n = 0;
            for (int k = 0; k < 8; ++k)
                if (!(spaces >> k & 1))
                    order[spaces][n++] = static_cast<unsigned char>(k);
            kept[spaces] = static_cast<unsigned char>(n);
            while (n < 8)
                order[spaces][n++] = 0x80;  // a zero byte, past the end of what is kept
        }
    }
};
constexpr PackOrder kPackOrder;

// As CopyWithoutSpaces, 16 bytes at a time with SSSE3 byte shuffles. Each shuffle writes 8 bytes, some
// past what it keeps; none beyond the size of text from out, as the bytes kept never outrun those read.
__attribute__((target("ssse3"))) char* PackWithoutSpaces(std::string_view text, char* out)
{
    std::size_t i = 0;
    const __m128i space = _mm_set1_epi8(' ');
    for (; i + 16 <= text.size(); i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
        const unsigned spaces = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, space)));
        const unsigned low = spaces & 0xFF, high = spaces >> 8;
        const __m128i lowOrder = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(kPackOrder.order[low]));
        const __m128i highOrder = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(kPackOrder.order[high]));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(bytes, lowOrder));
        out += kPackOrder.kept[low];
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(_mm_srli_si128(bytes, 8), highOrder));
        out += kPackOrder.kept[high];
    }
    return CopyWithoutSpaces(text.substr(i), out);
}

bool CanPack()
{
    static const bool can = __builtin_cpu_supports("ssse3");
    return can;
}
#endif

} // namespace

void RemoveBlanks(std::string_view text, std::string& out)
{
    out.resize(text.size());
    out.resize(std::size_t(CopyWithoutSpaces(text, out.data()) - out.data()));
}

BlankFreeLine::BlankFreeLine(std::string_view text)
{
    char* begin = m_Small;
    if (text.size() > sizeof m_Small) {
        m_Large.resize(text.size());
        begin = m_Large.data();
    }
#if defined(MIDAS2ORVO_PACKED_COPY)
    if (CanPack()) {
        m_View = std::string_view(begin, std::size_t(PackWithoutSpaces(text, begin) - begin));
        return;
    }
#endif
    m_View = std::string_view(begin, std::size_t(CopyWithoutSpaces(text, begin) - begin));
}

std::string RemoveBlanks(std::string_view text)
{
    std::string out;
    RemoveBlanks(text, out);
    return out;
}

bool TakeCommaField(std::string_view& work, std::string_view& field)
{
    std::size_t comma = work.find(',');
    if (comma == std::string_view::npos) {
        field = work;
        work = std::string_view();
        return false;
    }
    field = work.substr(0, comma);
    work.remove_prefix(comma + 1);
    return true;
}

bool TakeCommaField(std::string& work, std::string& field)
{
    std::size_t comma = work.find(',');
    if (comma == std::string::npos) {
        field.swap(work);
        work.clear();
        return false;
    }
    field.assign(work, 0, comma);
    work.erase(0, comma + 1);
    return true;
}

std::string TakeCommaField(std::string& work)
{
    std::string field;
    TakeCommaField(work, field);
    return field;
}

FieldTokenizer::FieldTokenizer(std::string_view text, std::string_view delimiters) : m_Text(text)
{
    std::memset(m_Delimiters, 0, sizeof m_Delimiters);
    if (delimiters.size() == 1)
        m_nSingle = static_cast<unsigned char>(delimiters[0]);
    for (char c : delimiters) {
        auto b = static_cast<unsigned char>(c);
        m_Delimiters[b >> 3] = static_cast<unsigned char>(m_Delimiters[b >> 3] | (1u << (b & 7)));
    }
}

FieldTokenizer::FieldTokenizer(const std::string& text, const std::string& delimiters)
    : FieldTokenizer(std::string_view(), std::string_view(delimiters))
{
    m_Owned = text;
    m_Text = m_Owned;
}

bool FieldTokenizer::NextToken(std::string& out)
{
    std::string_view token;
    bool found = NextToken(token);
    out.assign(token);
    return found;
}

int ToInt(std::string_view field)
{
    field = TrimLeftView(field);
    std::size_t i = 0;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-'))
        negative = field[i++] == '-';
    std::int64_t value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
        if (value <= std::int64_t(INT_MAX) + 1)
            value = value * 10 + (field[i] - '0');
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

namespace {

// strtod on a copy that ends in NUL; used for everything the fast path does not take.
double SlowReal(std::string_view field)
{
    char small[128];
    if (field.empty())
        return 0.0;
    if (field.size() < sizeof small) {
        std::memcpy(small, field.data(), field.size());
        small[field.size()] = '\0';
        return std::strtod(small, nullptr);
    }
    std::string copy(field);
    return std::strtod(copy.c_str(), nullptr);
}

} // namespace

double ToReal(std::string_view field)
{
    field = TrimLeftView(field);
    // Fast path: plain decimals such as "-1500.25" or "2.06e+008". from_chars rounds exactly as strtod
    // does; hexadecimal, infinity, nan, a leading '+' and out-of-range values take strtod itself.
    std::size_t digit = (!field.empty() && field[0] == '-') ? 1 : 0;
    // Whole numbers of up to 15 digits ("0", "-25", "6000") are exact as doubles: no conversion routine
    // is needed for the most common fields of a model.
    std::size_t end = digit;
    std::uint64_t whole = 0;
    while (end < field.size() && end - digit < 15 && field[end] >= '0' && field[end] <= '9')
        whole = whole * 10 + std::uint64_t(field[end++] - '0');
    if (end > digit && end - digit < 15) {
        const char next = end < field.size() ? field[end] : '\0';
        if (next != '.' && next != 'e' && next != 'E' && next != 'x' && next != 'X' && !(next >= '0' && next <= '9'))
            return digit ? -double(whole) : double(whole);
    }
    if (digit < field.size() && field[digit] >= '0' && field[digit] <= '9' &&
        !(field[digit] == '0' && digit + 1 < field.size() && (field[digit + 1] | 0x20) == 'x')) {
        double value = 0.0;
        auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
        (void)end;
        if (error == std::errc())
            return value;
    }
    return SlowReal(field);
}

namespace {
thread_local IdBudget* t_pBudget = nullptr;
}

IdBudget::IdBudget(long long ids) : m_nLeft(ids), m_pOuter(t_pBudget) { t_pBudget = this; }

IdBudget::~IdBudget() { t_pBudget = m_pOuter; }

long long IdBudget::Left() { return t_pBudget ? t_pBudget->m_nLeft : -1; }

bool IdBudget::Refused() { return t_pBudget && t_pBudget->m_bRefused; }

void IdBudget::Restore(long long left)
{
    if (t_pBudget)
        t_pBudget->m_nLeft = left;
}

bool IdBudget::Take(long long n)
{
    if (!t_pBudget)
        return true;
    if (n > t_pBudget->m_nLeft) {
        t_pBudget->m_bRefused = true;
        return false;
    }
    t_pBudget->m_nLeft -= n;
    return true;
}

namespace {

// The numbers of one ID-list item "A", "AtoB" or "AtoBbyC" as a first number, a step and how many;
// false for an empty item. A step of 0 or a "to" without numbers gives no number (count 0).
bool ParseIdItem(std::string_view item, IdRange& range)
{
    range = {0, 1, 0};
    if (item.empty())
        return false;
    const std::size_t to = item.find("to");
    if (to == std::string_view::npos) {
        range = {ToInt(item), 1, 1};
        return true;
    }
    const std::size_t t = item.find('t');
    const std::string_view afterTo = item.substr(t + 2);
    std::int64_t first = 0;
    std::int64_t last = 0;
    std::int64_t step = 1;
    if (item.find("by") == std::string_view::npos) {
        first = ToInt(item.substr(0, t));
        last = ToInt(afterTo);
    } else {
        first = ToInt(TrimView(item.substr(0, t)));
        const std::size_t b = afterTo.find('b');
        last = ToInt(TrimView(afterTo.substr(0, b)));
        step = b == std::string_view::npos ? 0 : ToInt(afterTo.substr(b + 2 <= afterTo.size() ? b + 2 : afterTo.size()));
    }
    if (step == 0)
        return true;
    const std::int64_t n = (last - first) / step;
    range = {int(first), int(step), n < 0 ? 0 : n + 1};
    return true;
}

} // namespace

bool AddIdRange(std::string_view item, ValueArray<int>& list)
{
    constexpr std::int64_t kMaxIds = 16777216;
    IdRange range;
    if (!ParseIdItem(item, range))
        return false;
    if (item.find("to") == std::string_view::npos)
        return list.Add(range.first), true;  // a single ID takes nothing from the budget
    if (range.count == 0 || range.count > kMaxIds || !IdBudget::Take(range.count))
        return true;
    for (std::int64_t k = 0; k < range.count; ++k)
        list.Add(static_cast<int>(range.first + k * range.step));
    return true;
}

bool IdList::AddItem(std::string_view item)
{
    IdRange range;
    if (!ParseIdItem(item, range))
        return false;
    if (range.count > 0)
        m_Items.Add(range);
    return true;
}

std::string IdRange::Text() const
{
    if (count == 1)
        return std::to_string(first);
    std::string text = std::to_string(first) + "to" + std::to_string(Last());
    return step == 1 ? text : text + "by" + std::to_string(step);
}

bool AddIdRange(const std::string& item, ValueArray<int>& list)
{
    return AddIdRange(std::string_view(item), list);
}
