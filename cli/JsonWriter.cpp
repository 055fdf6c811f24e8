// Streaming JSON writer used by the command-line tool to dump the host model.
#include "JsonWriter.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <system_error>

#include "Utf8.h"

namespace {

constexpr char kHex[] = "0123456789abcdef";

void AppendByteEscape(std::string& out, unsigned char b) {
    out += "\\u00";
    out += kHex[b >> 4];
    out += kHex[b & 0xF];
}

// Appends `bytes` as a quoted JSON string literal.
void AppendJsonString(std::string& out, std::string_view bytes) {
    out += '"';
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b >= 0x80) {
            // Names in MIDAS files are often in a legacy code page; stray bytes stay recoverable.
            if (const std::size_t len = Utf8SequenceLength(bytes, i)) {
                out.append(bytes.substr(i, len));
                i += len;
            } else {
                AppendByteEscape(out, b);
                ++i;
            }
            continue;
        }
        switch (b) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (b < 0x20) AppendByteEscape(out, b);
            else out += static_cast<char>(b);
        }
        ++i;
    }
    out += '"';
}

}  // namespace

std::string FormatJsonDouble(double v) {
    if (std::isnan(v)) return "\"nan\"";
    if (std::isinf(v)) return v < 0 ? "\"-inf\"" : "\"inf\"";
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    std::string text(buf, ec == std::errc() ? end : buf);
    if (text.find_first_of(".eE") == std::string::npos) text += ".0";
    return text;
}

JsonWriter::JsonWriter(std::string& out) : m_out(out) {}

void JsonWriter::BeforeValue() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_empty.empty()) return;  // top level: values are written back to back
    if (!m_empty.back()) m_out += ", ";
    m_empty.back() = false;
}

void JsonWriter::Open(char bracket) {
    BeforeValue();
    m_out += bracket;
    m_empty.push_back(true);
}

void JsonWriter::Close(char bracket) {
    m_out += bracket;
    if (!m_empty.empty()) m_empty.pop_back();
    m_afterKey = false;
}

void JsonWriter::BeginObject() { Open('{'); }
void JsonWriter::EndObject() { Close('}'); }
void JsonWriter::BeginArray() { Open('['); }
void JsonWriter::EndArray() { Close(']'); }

void JsonWriter::Key(std::string_view key) {
    BeforeValue();
    AppendJsonString(m_out, key);
    m_out += ": ";
    m_afterKey = true;
}

void JsonWriter::String(std::string_view bytes) {
    BeforeValue();
    AppendJsonString(m_out, bytes);
}

void JsonWriter::Int(long long v) {
    BeforeValue();
    m_out += std::to_string(v);
}

void JsonWriter::Bool(bool v) {
    BeforeValue();
    m_out += v ? "true" : "false";
}

void JsonWriter::Null() {
    BeforeValue();
    m_out += "null";
}

void JsonWriter::Double(double v) {
    BeforeValue();
    m_out += FormatJsonDouble(v);
}

void JsonWriter::Raw(std::string_view json) {
    BeforeValue();
    m_out.append(json);
}
