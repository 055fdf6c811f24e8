// UTF-16 text for the Windows calls that take it (file names, the message box). Windows only.
#pragma once

#include <string>
#include <string_view>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace midas2orvo {

// Bytes in a code page as UTF-16; with MB_ERR_INVALID_CHARS, empty when they are not valid in it.
inline std::wstring WideText(std::string_view bytes, UINT codePage, DWORD flags = 0)
{
    if (bytes.empty())
        return {};
    const int size = int(bytes.size());
    const int length = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
    std::wstring wide(std::size_t(length > 0 ? length : 0), L'\0');
    if (length > 0 && MultiByteToWideChar(codePage, flags, bytes.data(), size, wide.data(), length) != length)
        wide.clear();
    return wide;
}

// A path given as UTF-8, or in the ANSI code page where its bytes are not UTF-8.
inline std::wstring WidePath(const char* path)
{
    if (!path)
        return {};
    std::wstring wide = WideText(path, CP_UTF8, MB_ERR_INVALID_CHARS);
    return wide.empty() ? WideText(path, CP_ACP) : wide;
}

} // namespace midas2orvo
