// The command line's JSON: numbers that read back as doubles, strings that stay valid UTF-8, separators.
#include "JsonWriter.h"

#include <gtest/gtest.h>

#include <limits>

TEST(JsonWriter, WritesShortestDoublesAndSeparators) {
    using limits = std::numeric_limits<double>;
    std::string out = "x:";
    JsonWriter w(out);
    w.BeginObject(), w.Key("k\"ey"), w.BeginArray();
    for (double v : {206.0, -0.0, 0.1, 7.85e-06, 1e15, 123456789012.0, limits::denorm_min(), limits::max(),
                     limits::infinity(), -limits::infinity(), limits::quiet_NaN()})
        w.Double(v);
    w.BeginObject(), w.EndObject(), w.BeginArray(), w.EndArray(), w.Int(std::numeric_limits<long long>::min());
    w.Null(), w.Raw("{\"k\": 1}"), w.Bool(true), w.EndArray(), w.Key("b"), w.Bool(false), w.EndObject();
    EXPECT_EQ(out, R"(x:{"k\"ey": [206.0, -0.0, 0.1, 7.85e-06, 1e+15, 123456789012.0, 5e-324, )"
                   R"(1.7976931348623157e+308, "inf", "-inf", "nan", {}, [], -9223372036854775808, null, {"k": 1}, )"
                   R"(true], "b": false})");
}

// Valid UTF-8 is copied; every byte of a broken, overlong, surrogate or too large sequence is escaped,
// also where the view ends inside a sequence.
TEST(JsonWriter, StringsEscapeControlsAndEveryStrayByte) {
    using Row = std::pair<std::string_view, std::string_view>;
    for (const auto& [in, expected] : {
             Row{"a\"b\\c/\n\r\t\b\f\x7f", R"("a\"b\\c/\n\r\t\b\f)" "\x7f\""},
             Row{std::string_view("\0\x01\x1f", 3), R"("\u0000\u0001\u001f")"},
             Row{"\xc3\xa9\xe2\x82\xac\xef\xbf\xbf\xed\x9f\xbf\xee\x80\x80\xf0\x9f\x98\x80\xf4\x8f\xbf\xbf",
                 "\"\xc3\xa9\xe2\x82\xac\xef\xbf\xbf\xed\x9f\xbf\xee\x80\x80\xf0\x9f\x98\x80\xf4\x8f\xbf\xbf\""},
             // GBK, continuation, never valid, cut short twice; overlong; surrogate, past U+10FFFF
             Row{"\xc4\xe3\x80\xff\xe2\x82x\xf0\x9f\x98",
                 R"("\u00c4\u00e3\u0080\u00ff\u00e2\u0082x\u00f0\u009f\u0098")"},
             Row{"\xc0\xaf\xe0\x80\xaf\xf0\x8f\xbf\xbf", R"("\u00c0\u00af\u00e0\u0080\u00af\u00f0\u008f\u00bf\u00bf")"},
             Row{"\xed\xa0\x80\xf4\x90\x80\x80", R"("\u00ed\u00a0\u0080\u00f4\u0090\u0080\u0080")"},
             Row{"\xc4\xc3\xa9", "\"\\u00c4\xc3\xa9\""},
             Row{std::string_view("\xe2\x82\xac", 2), R"("\u00e2\u0082")"}}) {
        std::string out;
        JsonWriter(out).String(in);
        EXPECT_EQ(out, expected);
    }
}
