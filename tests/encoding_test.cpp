// Tests for converting names from legacy code pages to UTF-8.
#include "Encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Row {
    const char* encoding;
    std::string in;
    std::string out;
};

TEST(TextEncoder, ConvertsLegacyCodePagesAndKeepsStrayBytes) {
    const std::vector<Row> rows = {
        {"GBK", "\xD6\xF7\xC1\xBA", "\xE4\xB8\xBB\xE6\xA2\x81"},                   // main girder
        {"CP936", "B1-\xD6\xF7\xC1\xBA", "B1-\xE4\xB8\xBB\xE6\xA2\x81"},
        {"CP949", "\xC7\xD1\xB1\xDB", "\xED\x95\x9C\xEA\xB8\x80"},
        {"CP1251", "\xCF\xF0\xE8\xE2\xE5\xF2", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"},
        {"GBK", "\xD6\xF7\xC1", "\xE4\xB8\xBB\xC1"},                                // cut off at the end
        {"GBK", "\xD6 x", "\xD6 x"},                                                // lead byte before ASCII
        {"GBK", "a\xFF\xD6\xF7", "a\xFF\xE4\xB8\xBB"},                              // conversion restarts
        {"CP1251", "\xCF\x98\xF0", "\xD0\x9F\x98\xD1\x80"},                         // unassigned byte
        {"GBK", "", ""},
        {"GBK", std::string("a\0\xD6\xF7", 4), std::string("a\0\xE4\xB8\xBB", 5)},  // a zero byte inside
        {"GBK", "COLUMN 1-2_x", "COLUMN 1-2_x"},
    };
    for (const Row& row : rows) {
        TextEncoder encoder(row.encoding);
        ASSERT_TRUE(encoder.IsValid()) << row.encoding << ": " << encoder.Error();
        EXPECT_EQ(encoder.ToUtf8(row.in), row.out) << row.encoding << " " << row.in;
        EXPECT_EQ(encoder.ToUtf8(row.in), row.out) << "a second call gives the same";
    }
}

TEST(TextEncoder, GrowsTheOutputForLongAndWideText) {
    TextEncoder encoder("CP1251");
    const std::string euros(5000, '\x88');  // one byte each, three bytes of UTF-8 each
    std::string expected;
    for (int i = 0; i < 5000; ++i) expected += "\xE2\x82\xAC";
    EXPECT_EQ(encoder.ToUtf8(euros), expected);
}

TEST(TextEncoder, StartsEachTextInTheInitialShiftState) {
    TextEncoder encoder("ISO-2022-JP");
    ASSERT_TRUE(encoder.IsValid());
    EXPECT_EQ(encoder.ToUtf8("\x1B$B\x24\x22"), "\xE3\x81\x82");  // left in the two-byte set
    EXPECT_EQ(encoder.ToUtf8("$\""), "$\"");                     // read as ASCII again
}

TEST(TextEncoder, WithoutAnEncodingKeepsBytes) {
    const TextEncoder none;
    EXPECT_TRUE(none.IsValid());
    EXPECT_TRUE(none.Error().empty());
    EXPECT_EQ(none.ToUtf8(std::string("\xD6\x00\xF7", 3)), std::string("\xD6\x00\xF7", 3));
}

TEST(TextEncoder, RefusesUnknownAndEmptyNames) {
    for (const char* name : {"NO-SUCH-CODEPAGE", ""}) {
        const TextEncoder encoder(name);
        EXPECT_FALSE(encoder.IsValid()) << name;
        EXPECT_FALSE(encoder.Error().empty()) << name;
        EXPECT_EQ(encoder.ToUtf8("\xD6\xF7"), "\xD6\xF7") << "bytes kept when refused";
    }
    EXPECT_NE(TextEncoder("NO-SUCH-CODEPAGE").Error().find("NO-SUCH-CODEPAGE"), std::string::npos);
}

}  // namespace
