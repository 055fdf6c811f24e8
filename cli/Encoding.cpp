// Converting names written in a legacy code page to UTF-8: iconv, or the Win32 code-page calls.
#include "Encoding.h"

TextEncoder::TextEncoder() = default;

bool TextEncoder::IsValid() const { return m_valid; }

const std::string& TextEncoder::Error() const { return m_error; }

#if defined(_WIN32)

#include <algorithm>
#include <cctype>
#include <cstdlib>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

// The code page of an encoding name, as iconv spells them (any case), or 0 when there is none.
unsigned CodePage(std::string name)
{
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    static const struct { const char* name; unsigned codePage; } kNames[] = {
        {"GBK", 936}, {"GB2312", 936}, {"EUC-CN", 936}, {"UHC", 949}, {"EUC-KR", 949}, {"SHIFT_JIS", 932},
        {"SHIFT-JIS", 932}, {"SJIS", 932}, {"MS_KANJI", 932}, {"UTF-8", CP_UTF8}, {"UTF8", CP_UTF8},
    };
    for (const auto& known : kNames)
        if (name == known.name)
            return known.codePage;
    for (const char* prefix : {"CP", "WINDOWS-", "MS"}) {
        const std::size_t length = std::char_traits<char>::length(prefix);
        if (name.size() > length && name.compare(0, length, prefix) == 0 &&
            name.find_first_not_of("0123456789", length) == std::string::npos && name.size() - length <= 5) {
            const unsigned codePage = unsigned(std::strtoul(name.c_str() + length, nullptr, 10));
            return IsValidCodePage(codePage) ? codePage : 0;
        }
    }
    return 0;
}

} // namespace

TextEncoder::TextEncoder(const std::string& encoding)
{
    m_codePage = CodePage(encoding);
    if (m_codePage == 0) {
        m_valid = false;
        m_error = encoding.empty() ? "empty encoding name" : "unknown encoding " + encoding;
    }
}

TextEncoder::~TextEncoder() = default;

std::string TextEncoder::ToUtf8(std::string_view bytes) const
{
    // UTF-8 to UTF-8 keeping every stray byte leaves the text as it is.
    if (m_codePage == 0 || m_codePage == CP_UTF8)
        return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() * 2);
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {  // ASCII is itself in every code page offered here
            out += char(lead);
            ++i;
            continue;
        }
        // One character at a time, so that a byte that starts none is kept and the next one read afresh.
        const std::size_t length = IsDBCSLeadByteEx(m_codePage, lead) ? 2 : 1;
        wchar_t wide[2];
        const int units = i + length <= bytes.size()
            ? MultiByteToWideChar(m_codePage, MB_ERR_INVALID_CHARS, bytes.data() + i, int(length), wide, 2) : 0;
        // An unassigned byte comes back as a C1 control character: no character of the code page.
        if (units <= 0 || (units == 1 && wide[0] >= 0x80 && wide[0] <= 0x9F)) {
            out += char(lead);
            ++i;
            continue;
        }
        char utf8[8];
        const int written = WideCharToMultiByte(CP_UTF8, 0, wide, units, utf8, int(sizeof utf8), nullptr, nullptr);
        out.append(utf8, std::size_t(std::max(written, 0)));
        i += length;
    }
    return out;
}

#else

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

iconv_t Handle(void* cd) { return static_cast<iconv_t>(cd); }

} // namespace

TextEncoder::TextEncoder(const std::string& encoding)
{
    if (encoding.empty()) {
        // iconv would take an empty name as the locale's code page; a caller means a real name.
        m_valid = false;
        m_error = "empty encoding name";
        return;
    }
    const iconv_t cd = iconv_open("UTF-8", encoding.c_str());
    if (cd == kNoConverter) {
        const int err = errno;
        m_valid = false;
        m_error = err == EINVAL ? "unknown encoding " + encoding
                                : "cannot convert from " + encoding + ": " + std::strerror(err);
        return;
    }
    m_cd = cd;
}

TextEncoder::~TextEncoder()
{
    if (m_cd)
        iconv_close(Handle(m_cd));
}

std::string TextEncoder::ToUtf8(std::string_view bytes) const
{
    if (!m_cd || bytes.empty())
        return std::string(bytes);
    const iconv_t cd = Handle(m_cd);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // initial shift state

    // Every byte of a double-byte code page becomes at most 3 bytes of UTF-8, a single byte at most 3.
    std::string out(bytes.size() * 2 + 16, '\0');
    std::size_t used = 0;
    char* in = const_cast<char*>(bytes.data());  // iconv's signature; the input is not written
    std::size_t inLeft = bytes.size();

    const auto convert = [&](char** inPtr, std::size_t* inLeftPtr) {
        for (;;) {
            char* outPtr = out.data() + used;
            std::size_t outLeft = out.size() - used;
            const std::size_t rc = iconv(cd, inPtr, inLeftPtr, &outPtr, &outLeft);
            used = out.size() - outLeft;
            if (rc != static_cast<std::size_t>(-1))
                return 0;
            if (errno != E2BIG)
                return errno;
            out.resize(out.size() * 2);
        }
    };

    while (inLeft > 0) {
        if (convert(&in, &inLeft) == 0)
            break;
        // EILSEQ (an invalid sequence) or EINVAL (a character cut off at the end): keep the first
        // byte as it is and start afresh after it, so one stray byte loses no following text.
        if (out.size() == used)
            out.resize(out.size() * 2);
        out[used++] = *in++;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    convert(nullptr, nullptr);  // closing shift sequence of stateful encodings
    out.resize(used);
    return out;
}

#endif
