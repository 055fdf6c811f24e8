// Tests for the command-line JSON writer: number formatting, string escaping and separators.
#include "JsonWriter.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string Quoted(std::string_view bytes) {
    std::string out;
    JsonWriter(out).String(bytes);
    return out;
}

TEST(JsonDouble, ShortestRoundTripAlwaysLooksLikeADouble) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<std::pair<double, std::string>> rows = {
        {206, "206.0"}, {0.0, "0.0"}, {-0.0, "-0.0"}, {-3, "-3.0"}, {0.1, "0.1"}, {2.5, "2.5"},
        {1e-05, "1e-05"}, {7.85e-06, "7.85e-06"}, {1e15, "1e+15"}, {123456789012.0, "123456789012.0"},
        {5e-324, "5e-324"}, {2.2250738585072014e-308, "2.2250738585072014e-308"},
        {std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
        {inf, "\"inf\""}, {-inf, "\"-inf\""}, {std::numeric_limits<double>::quiet_NaN(), "\"nan\""},
    };
    for (const auto& [v, text] : rows) {
        EXPECT_EQ(FormatJsonDouble(v), text);
        std::string out;
        JsonWriter(out).Double(v);
        EXPECT_EQ(out, text);
        if (std::isfinite(v)) {
            double back = 1.0;
            std::from_chars(text.data(), text.data() + text.size(), back);
            EXPECT_EQ(std::signbit(back), std::signbit(v)) << text;
            EXPECT_EQ(back, v) << text;
        }
    }
}

TEST(JsonString, EscapesQuotesBackslashesAndControlBytes) {
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"", R"("")"}, {"a\"b\\c/", R"("a\"b\\c/")"}, {"\n\r\t\b\f", R"("\n\r\t\b\f")"},
        {std::string("\0\x01\x1f", 3), R"("\u0000\u0001\u001f")"}, {"\x7f ~", "\"\x7f ~\""},
    };
    for (const auto& [in, out] : rows) EXPECT_EQ(Quoted(in), out);
}

TEST(JsonString, CopiesValidUtf8AndEscapesEveryStrayByte) {
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"\xc3\xa9", "\"\xc3\xa9\""},                      // U+00E9, 2 bytes
        {"\xe2\x82\xac\xef\xbf\xbf", "\"\xe2\x82\xac\xef\xbf\xbf\""},  // U+20AC, U+FFFF
        {"\xed\x9f\xbf\xee\x80\x80", "\"\xed\x9f\xbf\xee\x80\x80\""},  // both sides of the surrogates
        {"\xf0\x9f\x98\x80\xf4\x8f\xbf\xbf", "\"\xf0\x9f\x98\x80\xf4\x8f\xbf\xbf\""},  // U+1F600, U+10FFFF
        {"\xc4", R"("\u00c4")"},                            // lone GBK lead byte
        {"\xc4\xe3\xba\xc3", R"("\u00c4\u00e3\u00ba\u00c3")"},  // GBK text
        {"\x80\xbf\xfe\xff", R"("\u0080\u00bf\u00fe\u00ff")"},  // continuation and never-valid bytes
        {"a\xe2\x82", R"("a\u00e2\u0082")"},                // truncated at end of string
        {"\xf0\x9f\x98", R"("\u00f0\u009f\u0098")"},
        {"\xe2\x82x", R"("\u00e2\u0082x")"},                // truncated before an ASCII byte
        {"\xc0\xaf\xc1\xbf", R"("\u00c0\u00af\u00c1\u00bf")"},  // overlong 2-byte
        {"\xe0\x80\xaf", R"("\u00e0\u0080\u00af")"},        // overlong 3-byte
        {"\xf0\x8f\xbf\xbf", R"("\u00f0\u008f\u00bf\u00bf")"},  // overlong 4-byte
        {"\xed\xa0\x80\xed\xbf\xbf", R"("\u00ed\u00a0\u0080\u00ed\u00bf\u00bf")"},  // surrogates
        {"\xf4\x90\x80\x80\xf5\x80", R"("\u00f4\u0090\u0080\u0080\u00f5\u0080")"},  // past U+10FFFF
        {"\xc4\xc3\xa9", "\"\\u00c4\xc3\xa9\""},            // stray byte then a valid sequence
    };
    for (const auto& [in, out] : rows) EXPECT_EQ(Quoted(in), out);
    EXPECT_EQ(Quoted(std::string_view("\xe2\x82\xac", 2)), R"("\u00e2\u0082")");  // view ends mid-sequence
}

TEST(JsonWriter, PlacesCommasInNestedContainers) {
    std::string out = "prefix:";
    JsonWriter w(out);
    w.BeginObject();
    w.Key("read"); w.Bool(true);
    w.Key("empty"); w.BeginArray(); w.EndArray();
    w.Key("obj"); w.BeginObject(); w.EndObject();
    w.Key("nodes");
    w.BeginArray();
    w.BeginObject(); w.Key("id"); w.Int(-9223372036854775807LL - 1); w.Key("x"); w.Double(1); w.EndObject();
    w.BeginArray(); w.Null(); w.BeginArray(); w.EndArray(); w.Raw("{\"k\": 1}"); w.EndArray();
    w.String("\xc4");
    w.EndArray();
    w.Key("k\"ey"); w.Bool(false);
    w.EndObject();
    EXPECT_EQ(out, "prefix:{\"read\": true, \"empty\": [], \"obj\": {}, \"nodes\": [{\"id\": -9223372036854775808, "
                   "\"x\": 1.0}, [null, [], {\"k\": 1}], \"\\u00c4\"], \"k\\\"ey\": false}");
}

}  // namespace
