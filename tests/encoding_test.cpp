// Names in legacy code pages shown as UTF-8; a byte that is no character of the code page is kept.
#include "Encoding.h"

#include <gtest/gtest.h>

TEST(TextEncoder, ConvertsCodePagesAndKeepsStrayBytes) {
    std::string euros;
    for (int i = 0; i < 5000; ++i) euros += "\xE2\x82\xAC";  // three times the input: the output must grow
    const struct { const char* encoding; std::string in, out; } rows[] = {
        {"CP936", "B1-\xD6\xF7\xC1\xBA", "B1-\xE4\xB8\xBB\xE6\xA2\x81"},
        {"CP949", "\xC7\xD1\xB1\xDB", "\xED\x95\x9C\xEA\xB8\x80"},
        {"GBK", "a\xFF\xD6\xF7\xD6 x\xD6", "a\xFF\xE4\xB8\xBB\xD6 x\xD6"},         // invalid, cut short, at the end
        {"CP1251", "\xCF\x98\xF0", "\xD0\x9F\x98\xD1\x80"},                         // unassigned byte
        {"GBK", std::string("a\0\xD6\xF7", 4), std::string("a\0\xE4\xB8\xBB", 5)},  // a zero byte inside
        {"CP1251", std::string(5000, '\x88'), euros},
        {"Shift_JIS", "\x82\xA0\x93\xFA", "\xE3\x81\x82\xE6\x97\xA5"},
    };
    for (const auto& row : rows) {
        const TextEncoder encoder(row.encoding);
        ASSERT_TRUE(encoder.IsValid()) << row.encoding << ": " << encoder.Error();
        EXPECT_EQ(encoder.ToUtf8(row.in), row.out) << row.encoding << " " << row.in;
    }
#ifndef _WIN32  // iconv's stateful encodings; Windows converts through its code pages
    const TextEncoder jis("ISO-2022-JP");  // each text starts in the initial shift state
    EXPECT_EQ(jis.ToUtf8("\x1B$B\x24\x22") + jis.ToUtf8("$\""), "\xE3\x81\x82$\"");
#endif

    const std::string bytes("\xD6\x00\xF7", 3);  // no encoding, or one that iconv does not know: bytes kept
    EXPECT_TRUE(TextEncoder().IsValid() && TextEncoder().ToUtf8(bytes) == bytes);
    for (const char* name : {"NO-SUCH-CODEPAGE", ""}) {
        const TextEncoder refused(name);
        EXPECT_TRUE(!refused.IsValid() && !refused.Error().empty() && refused.ToUtf8(bytes) == bytes) << name;
    }
}
