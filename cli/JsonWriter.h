// Streaming JSON writer used by the command-line tool to dump the host model.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Appends compact JSON to a caller-owned string: one space after ':' and ',', commas inserted
// automatically between array elements and between object members.
class JsonWriter {
public:
    explicit JsonWriter(std::string& out);

    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();

    void Key(std::string_view key);     // member name inside an object
    void String(std::string_view bytes);  // valid UTF-8 copied, anything else escaped as \u00XX
    void Int(long long v);
    void Bool(bool v);
    void Null();
    void Double(double v);              // writes FormatJsonDouble(v)
    void Raw(std::string_view json);    // already-formatted JSON value, written verbatim

private:
    void BeforeValue();  // comma before a second or later element; nothing right after a key
    void Open(char bracket);
    void Close(char bracket);

    std::string& m_out;
    std::vector<bool> m_empty;  // one entry per open container: nothing written in it yet
    bool m_afterKey = false;
};

// Shortest round-tripping decimal, always with '.', 'e' or 'E' so readers see a double;
// non-finite values become the JSON strings "inf", "-inf" and "nan".
std::string FormatJsonDouble(double v);
