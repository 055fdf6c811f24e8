// Converting names written in a legacy code page to UTF-8 with iconv.
#include "Encoding.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

iconv_t Handle(void* cd) { return static_cast<iconv_t>(cd); }

} // namespace

TextEncoder::TextEncoder() = default;

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

bool TextEncoder::IsValid() const { return m_valid; }

const std::string& TextEncoder::Error() const { return m_error; }

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
