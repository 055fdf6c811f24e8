// Recognising well-formed UTF-8, for the writers that must show stray bytes of a legacy code page.
#pragma once

#include <cstddef>
#include <string_view>

// Length of the well-formed UTF-8 sequence starting at s[i], or 0 if there is none. The
// second-byte ranges exclude overlong forms, UTF-16 surrogates and code points past U+10FFFF.
inline std::size_t Utf8SequenceLength(std::string_view s, std::size_t i)
{
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const auto in = [](unsigned char b, unsigned char lo, unsigned char hi) { return b >= lo && b <= hi; };
    const unsigned char lead = at(i);
    std::size_t len = 0;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (in(lead, 0xC2, 0xDF)) len = 2;
    else if (lead == 0xE0) { len = 3; lo = 0xA0; }
    else if (lead == 0xED) { len = 3; hi = 0x9F; }
    else if (in(lead, 0xE1, 0xEF)) len = 3;
    else if (lead == 0xF0) { len = 4; lo = 0x90; }
    else if (lead == 0xF4) { len = 4; hi = 0x8F; }
    else if (in(lead, 0xF1, 0xF3)) len = 4;
    else return 0;
    if (s.size() - i < len || !in(at(i + 1), lo, hi))
        return 0;
    for (std::size_t k = 2; k < len; ++k)
        if (!in(at(i + k), 0x80, 0xBF))
            return 0;
    return len;
}
