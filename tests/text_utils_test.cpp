// Trimming, number conversion, and ID ranges with their budget.
#include <climits>
#include <cmath>
#include <cstring>
#include <random>

#include "TestSupport.h"
#include "reader/TextUtils.h"

using Ints = std::vector<int>;

TEST(TextUtils, TrimsAndReadsNumbersLikeAtoiAndStrtod)
{
    EXPECT_EQ(Trim(" \t\r\n\v\f x y \t") + Trim(" \t ") + "|" + Trim("\xB0\xA1 "), "x y|\xB0\xA1");  // double-byte text whole
    EXPECT_EQ(RemoveBlanks(" 1, 2.5 ,3") + "|" + RemoveBlanks("a\tb c"), "1,2.5,3|a\tbc");               // tabs stay
    const std::pair<const char*, int> ints[] = {
        {"12", 12}, {"  -7xyz", -7}, {"+3", 3}, {"", 0}, {"x", 0}, {"1.9", 1}, {"\t42", 42}, {"- 1", 0}, {"00012", 12},
        {"2147483647", INT_MAX}, {"2147483648", INT_MAX}, {"-2147483648", INT_MIN}, {"-99999999999999999999", INT_MIN}};  // saturated
    for (const auto& [text, value] : ints) EXPECT_EQ(ToInt(text), value) << text;
    for (const char* text : {"0", "1500.25", "-3.0e-8", "2.06e+008", "7.85E-09", "1e", "1e+", "-.5", ".5", "+2.5", "0x1p3", "inf",
                             "-nan", "1e400", "1e-400", "4.9e-324", "abc", "", "  12,3", "1.5.3", "-0", "0.1",
                             "123456789012345678901234567890", "2.2250738585072011e-308",
                             // whole numbers take a short path of their own; these must leave it or stay on it
                             "-25", "6000", "12x", "0x1A", "0X10", "7e", "7E2", "5.", "007", "-00", "123456789012345",
                             "1234567890123456", "99999999999999999", "25\t"}) {
        const double expected = std::strtod(text, nullptr), actual = ToReal(text);
        EXPECT_TRUE(std::isnan(expected) ? std::isnan(actual) : !std::memcmp(&expected, &actual, sizeof expected)) << text << " " << actual;
    }
}

// The line without its spaces, copied 16 bytes at a time where the processor can: the same as byte by byte.
TEST(TextUtils, BlankFreeLineIsTheLineWithoutItsSpaces)
{
    std::mt19937 random(5);
    for (int round = 0; round < 4000; ++round) {
        std::string line(random() % 600, ' ');
        for (char& c : line)
            c = " ,1\t\xA0" "a"[random() % (round % 3 ? 6 : 2)];
        EXPECT_EQ(BlankFreeLine(line).View(), RemoveBlanks(line)) << line;
    }
}

TEST(AddIdRange, ExpandsItemsWithinTheirBoundsAndTheReadingsBudget)
{
    const std::pair<const char*, Ints> rows[] = {
        {"5to9", {5, 6, 7, 8, 9}}, {"9to5", {}}, {"1to10by3", {1, 4, 7, 10}}, {"1to9by3", {1, 4, 7}}, {"10to1by-3", {10, 7, 4, 1}},
        {"1to10by-1", {}}, {"7", {7}}, {"x", {0}}, {"", {}}, {"5TO9", {5}} /* capitalised words are not range words */,
        {"1to10by0", {}}, {"1to10by", {}},  // a step of 0, or none, appends nothing and does not loop
        {"-2147483648to2147483647", {}},  // far more than 16,777,216 IDs
        {"0to16777216", {}},              // one ID more than the largest range taken
        {"2147483640to2147483647by5", {2147483640, 2147483645}},  // no overflow near the ends
        {"-2147483648to2147483647by2147483647", {-2147483648, -1, 2147483646}}};
    for (const auto& [item, ids] : rows) {
        ValueArray<int> list;
        EXPECT_EQ(AddIdRange(std::string(item), list), *item != 0) << item;  // false only for an empty item
        EXPECT_EQ(Ints(list.begin(), list.end()), ids) << item;
    }
    ValueArray<int> list;
    EXPECT_TRUE(AddIdRange(std::string("1to16777216"), list) && list.Count == 16777216);
    list.RemoveAll();
    {
        const IdBudget budget(10);  // the ranges of one reading share it; single numbers take nothing
        for (const char* item : {"1to6", "1to5" /* 6 + 5 > 10: nothing */, "1to3", "99", "1to2" /* over */, "98"})
            EXPECT_TRUE(AddIdRange(std::string(item), list));
    }
    EXPECT_EQ(Ints(list.begin(), list.end()), (Ints{1, 2, 3, 4, 5, 6, 1, 2, 3, 99, 98}));
    EXPECT_TRUE(AddIdRange(std::string("1to100"), list) && list.Count == 111);  // no budget alive: only the per-range cap
}
