// Converting names written in a legacy code page (GBK/CP936, CP949, CP1251, ...) to UTF-8.
#pragma once

#include <string>
#include <string_view>

// Converts byte strings from one named encoding to UTF-8: with the C library's iconv, or on Windows with
// the system's code pages (GBK/CP936, CP949/EUC-KR, CP1251, Shift_JIS/CP932, UTF-8, CPnnn).
// One converter is not for use from several threads at once.
class TextEncoder {
public:
    TextEncoder();                                      // no conversion: bytes are kept as they are
    explicit TextEncoder(const std::string& encoding);  // e.g. "GBK", "CP949", "CP1251"
    ~TextEncoder();
    TextEncoder(const TextEncoder&) = delete;
    TextEncoder& operator=(const TextEncoder&) = delete;

    // False when the system does not know the encoding (or the name is empty); ToUtf8 then copies.
    bool IsValid() const;
    // Why the encoding was refused; empty when valid.
    const std::string& Error() const;

    // The text converted to UTF-8. A byte that starts no valid character of the encoding (or a
    // character cut off at the end) is kept as it is and conversion restarts after it, so the JSON
    // writer can still show it as \u00XX. Without an encoding the bytes come back unchanged.
    std::string ToUtf8(std::string_view bytes) const;

private:
#ifdef _WIN32
    unsigned m_codePage = 0;  // the Windows code page, 0 when there is no conversion
#else
    void* m_cd = nullptr;  // iconv_t, null when there is no conversion
#endif
    bool m_valid = true;
    std::string m_error;
};
