// Field splitting, number conversion, ID ranges and the growth of ValueArray.
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "TestSupport.h"
#include "reader/CompactFields.h"
#include "reader/TextUtils.h"

namespace {

std::vector<std::string> Tokens(const std::string& text, const std::string& delimiters)
{
    FieldTokenizer tokenizer(text, delimiters);
    std::vector<std::string> out;
    std::string token;
    while (tokenizer.NextToken(token))
        out.push_back(token);
    EXPECT_TRUE(token.empty());
    return out;
}

std::vector<int> Range(const std::string& item, bool expectedResult = true)
{
    ValueArray<int> list;
    EXPECT_EQ(AddIdRange(item, list), expectedResult) << item;
    return std::vector<int>(list.begin(), list.end());
}

} // namespace

TEST(FieldTokenizer, SplitsOnRunsOfDelimiters)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(Tokens("KN,MM,KJ,C", ","), (V{"KN", "MM", "KJ", "C"}));
    EXPECT_EQ(Tokens(",,a,,b,", ","), (V{"a", "b"}));
    EXPECT_EQ(Tokens("1 2  5to9", " "), (V{"1", "2", "5to9"}));
    EXPECT_EQ(Tokens("", ","), V{});
    EXPECT_EQ(Tokens(",,,", ","), V{});
    EXPECT_EQ(Tokens(" a ,b", ","), (V{" a ", "b"}));  // tokens are not trimmed
    EXPECT_EQ(Tokens("a;b,c", ",;"), (V{"a", "b", "c"}));
}

TEST(TakeCommaField, SplitsAtTheFirstComma)
{
    std::string work = "12,0.5,1";
    std::string field;
    EXPECT_TRUE(TakeCommaField(work, field));
    EXPECT_EQ(field, "12");
    EXPECT_EQ(work, "0.5,1");

    work = "12,";
    EXPECT_EQ(TakeCommaField(work), "12");
    EXPECT_EQ(work, "");

    work = ",,x";
    EXPECT_EQ(TakeCommaField(work), "");  // two commas give an empty field
    EXPECT_EQ(work, ",x");

    work = "no comma";
    EXPECT_FALSE(TakeCommaField(work, field));
    EXPECT_EQ(field, "no comma");
    EXPECT_EQ(work, "");
}

TEST(TextUtils, TrimAndRemoveBlanks)
{
    EXPECT_EQ(Trim(" \t\r\n\v\f x y \t"), "x y");
    EXPECT_EQ(Trim(" \t "), "");
    EXPECT_EQ(RemoveBlanks(" 1, 2.5 ,3"), "1,2.5,3");
    EXPECT_EQ(RemoveBlanks("a\tb c"), "a\tbc");  // tabs stay
    EXPECT_EQ(Trim("\xB0\xA1 "), "\xB0\xA1");      // double-byte text is kept whole
}

// Record text fields: an empty view with no data behind it (a token asked for past the last one) and
// text taken from the field itself, inline and on the heap.
TEST(ShortText, AssignsEmptyViewsAndItsOwnText)
{
    for (const char* start : {"GZ", "a group name longer than fourteen bytes"}) {
        ShortText text(start);
        text = std::string_view();
        EXPECT_TRUE(text.empty()) << start;
        EXPECT_STREQ(text.c_str(), "") << start;
        text = start;
        text = text.View().substr(1);
        EXPECT_EQ(text, std::string_view(start).substr(1));
        EXPECT_EQ(text.c_str()[text.size()], '\0');
    }
}

// Lists keep every number in order across the move from inside the record to the heap and each
// regrowth there (at 2, 4, 8, 16 for two inside; at 4, 8, 16 for four), and copies are independent.
TEST(SmallIntList, KeepsNumbersAcrossEveryGrowth)
{
    auto check = [](auto list, const char* name) {
        for (int n = 0; n < 40; ++n) {
            ASSERT_TRUE(list.Add(n * 7 - 3)) << name << n;
            ASSERT_EQ(list.Count, n + 1) << name;
            for (int k = 0; k <= n; ++k)
                ASSERT_EQ(list[k], k * 7 - 3) << name << " after " << n + 1 << " at " << k;
            auto copy = list;
            copy.Add(-1);
            EXPECT_EQ(std::vector<int>(list.begin(), list.end()),
                      std::vector<int>(copy.begin(), copy.end() - 1)) << name;
        }
        list.RemoveAll();
        EXPECT_EQ(list.begin(), list.end()) << name;
        EXPECT_TRUE(list.Add(5));
        EXPECT_EQ(list[0], 5) << name;
    };
    check(SmallIntList<2>(), "two inside: ");
    check(SmallIntList<4>(), "four inside: ");
}

// A name of any length is shared, not copied: equal names give the same copy, an unset name is empty.
TEST(TextPool, HandsOutOneCopyPerName)
{
    TextPool pool;
    const std::string longName(300, 'G');
    const PooledText a = pool.Intern(longName);
    const PooledText b = pool.Intern(std::string(longName));
    EXPECT_EQ(a.View().data(), b.View().data());
    EXPECT_EQ(a, std::string_view(longName));
    EXPECT_NE(pool.Intern("Storey1").View().data(), pool.Intern("Storey2").View().data());
    EXPECT_TRUE(PooledText().empty());
    EXPECT_EQ(PooledText(), "");
}

TEST(TextUtils, IntegerConversionIsAtoiSaturated)
{
    const struct {
        const char* text;
        int value;
    } rows[] = {
        {"12", 12},     {"  -7xyz", -7}, {"+3", 3},      {"", 0},         {"x", 0},
        {"1.9", 1},     {"\t42", 42},    {"- 1", 0},     {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},  // one past the largest int saturates
        {"-2147483648", INT_MIN}, {"-99999999999999999999", INT_MIN}, {"00012", 12},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ToInt(row.text), row.value) << row.text;
}

TEST(TextUtils, RealConversionMatchesStrtodBitForBit)
{
    const char* rows[] = {"0",       "1500.25", "-3.0e-8",  "2.06e+008", "7.85E-09", "1e",   "1e+",
                          "-.5",     ".5",      "+2.5",     "0x1p3",     "inf",      "-nan", "1e400",
                          "1e-400",  "4.9e-324", "abc",     "",          "  12,3",   "1.5.3", "-0",
                          "0.1",     "123456789012345678901234567890", "2.2250738585072011e-308",
                          // whole numbers, which take their own short path, and what must leave it
                          "-25", "6000", "12x", "0x1A", "0X10", "7e", "7E2", "5.", "007", "-00",
                          "123456789012345", "1234567890123456", "99999999999999999", "25\t"};
    for (const char* text : rows) {
        const double expected = std::strtod(text, nullptr);
        const double actual = ToReal(text);
        if (std::isnan(expected))
            EXPECT_TRUE(std::isnan(actual)) << text;
        else
            EXPECT_EQ(std::memcmp(&expected, &actual, sizeof expected), 0) << text << " " << actual;
    }
}

TEST(AddIdRange, ExpandsItemsAndRanges)
{
    using V = std::vector<int>;
    EXPECT_EQ(Range("5to9"), (V{5, 6, 7, 8, 9}));
    EXPECT_EQ(Range("9to5"), V{});
    EXPECT_EQ(Range("1to10by3"), (V{1, 4, 7, 10}));
    EXPECT_EQ(Range("1to9by3"), (V{1, 4, 7}));
    EXPECT_EQ(Range("10to1by-3"), (V{10, 7, 4, 1}));
    EXPECT_EQ(Range("1to10by-1"), V{});
    EXPECT_EQ(Range("7"), V{7});
    EXPECT_EQ(Range("x"), V{0});
    EXPECT_EQ(Range("5TO9"), V{5});  // capitalised words are not range words
    EXPECT_EQ(Range("", false), V{});
}

TEST(AddIdRange, RefusesDegenerateRangesWithoutLooping)
{
    using V = std::vector<int>;
    EXPECT_EQ(Range("1to10by0"), V{});                       // a step of 0 appends nothing
    EXPECT_EQ(Range("1to10by"), V{});                        // a missing step reads as 0
    EXPECT_EQ(Range("-2147483648to2147483647"), V{});        // far more than 16,777,216 IDs
    EXPECT_EQ(Range("2147483640to2147483647by5").size(), 2u);  // no overflow near the top
    EXPECT_EQ(Range("0to16777216"), V{});                    // one ID more than the largest range taken
}

TEST(ValueArray, GrowsByTheClassicRule)
{
    ValueArray<int> values;
    std::vector<int> capacities;
    for (int i = 0; i < 17; ++i) {
        values.Add(i);
        capacities.push_back(values.Capacity);
    }
    EXPECT_EQ(capacities[0], 8);
    EXPECT_EQ(capacities[8], 16);   // the 9th value
    EXPECT_EQ(capacities[16], 32);  // the 17th value
    for (int i = 0; i < 17; ++i)
        EXPECT_EQ(values[i], i);

    // Past 64 KiB the step is 64 KiB worth of elements.
    ValueArray<int> big;
    while (big.Count < 16384)
        big.Add(big.Count);
    EXPECT_EQ(big.Capacity, 16384);
    big.Add(1);
    EXPECT_EQ(big.Capacity, 32768);
    ValueArray<double> doubles;
    while (doubles.Count < 8193)
        doubles.Add(0.5);
    EXPECT_EQ(doubles.Capacity, 8192 + 8192);

    ValueArray<double> sized;
    ASSERT_TRUE(sized.SetSize(13));
    EXPECT_EQ(sized.Capacity, 13);
    EXPECT_FALSE(sized.SetSize(-1));
}

TEST(ValueArray, InsertAtMovesLaterElements)
{
    ValueArray<int> values(4, 8);
    EXPECT_EQ(values.Capacity, 4);
    values.Add(1);
    values.Add(3);
    EXPECT_TRUE(values.InsertAt(1, 2));
    EXPECT_TRUE(values.InsertAt(0, 0));
    EXPECT_FALSE(values.InsertAt(9, 9));
    EXPECT_EQ(std::vector<int>(values.begin(), values.end()), (std::vector<int>{0, 1, 2, 3}));
    ValueArray<int> copy = values;
    EXPECT_EQ(copy.Count, 4);
    EXPECT_EQ(copy[3], 3);
}

TEST(OwnedArray, GivesNullOutsideTheRange)
{
    OwnedArray<Node_Orvo> nodes;
    EXPECT_EQ(nodes.Add(new Node_Orvo), 0);
    EXPECT_EQ(nodes.Add(new Node_Orvo), 1);
    EXPECT_EQ(nodes.GetCount(), 2);
    EXPECT_NE(nodes.GetAt(1), nullptr);
    EXPECT_EQ(nodes.GetAt(2), nullptr);
    EXPECT_EQ(nodes[-1], nullptr);
}

TEST(AddIdRange, RangesShareTheReadingsBudget)
{
    ValueArray<int> list;
    {
        const IdBudget budget(10);
        EXPECT_TRUE(AddIdRange(std::string("1to6"), list));
        EXPECT_TRUE(AddIdRange(std::string("1to5"), list));  // 6 + 5 > 10: appends nothing
        EXPECT_TRUE(AddIdRange(std::string("1to4"), list));
        EXPECT_TRUE(AddIdRange(std::string("99"), list));    // a single ID is never refused
    }
    EXPECT_EQ(list.Count, 11);
    EXPECT_TRUE(AddIdRange(std::string("1to100"), list));  // no budget alive: only the per-range cap holds
    EXPECT_EQ(list.Count, 111);
}
